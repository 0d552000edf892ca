#include <QCoreApplication>
#include <QSerialPort>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "stand_in_updater/updater_request.h"

#ifdef _WIN32
#include <windows.h>
#endif

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

// The arguments after the program's name. Windows hands the updater the tool's parameter string as it stands,
// which is split as the device's updater splits it, not by the C runtime's rules.
std::vector<std::string> UpdaterArguments(int argc, char* argv[]) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    const std::vector<std::string> pieces =
        SplitParameterString(QString::fromWCharArray(GetCommandLineW()).toStdString());
    if (pieces.empty()) return {};
    return std::vector<std::string>(pieces.begin() + 1, pieces.end());
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    UpdaterRequest request;
    try {
        request = ParseUpdaterArguments(UpdaterArguments(argc, argv));
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
