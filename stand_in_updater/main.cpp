#include <QCoreApplication>
#include <QSerialPort>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "stand_in_updater/updater_request.h"

using namespace tessara::base;
using namespace tessara::image;
using namespace tessara::stand_in_updater;

namespace {

// Opening and closing the port proves that the tool released it and that nothing else holds it.
std::optional<std::string> PortProblem(const std::string& location) {
    QSerialPort port;
    port.setPortName(QString::fromStdString(location));
    if (!port.open(QIODevice::ReadWrite))
        return "Cannot open port " + location + ": " + port.errorString().toStdString();
    port.close();
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    UpdaterRequest request;
    try {
        request = ParseUpdaterArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UpdaterArgumentError& e) {
        std::cerr << e.what() << "\n" << kUpdaterUsage;
        return 2;
    }
    if (const std::optional<std::string> problem = PortProblem(request.port)) {
        std::cerr << *problem << "\n";
        return 1;
    }
    try {
        const std::optional<DecodedImage> image = ImageToDownload(request);
        std::cout << DownloadPlan(request, FileExists(request.simFile), image);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
