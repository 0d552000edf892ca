#include "stand_in_updater/updater_request.h"

#include "base/file_system.h"
#include "image/bank_image_report.h"

namespace tessara::stand_in_updater {

namespace {

constexpr const char* kSimFileName = "sim48210.sim";

bool ReadCode(const std::string& arg, const char* code, int position) {
    if (arg == code) return true;
    if (arg == "NO") return false;
    throw UpdaterArgumentError("Argument " + std::to_string(position) + " is \"" + arg + "\": it must be \"" + code +
                               "\" or \"NO\"");
}

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

}  // namespace

std::vector<std::string> SplitParameterString(const std::string& commandLine) {
    std::vector<std::string> pieces;
    std::string piece;
    bool inPiece = false;
    bool quoted = false;
    for (const char c : commandLine) {
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inPiece) pieces.push_back(piece);
            piece.clear();
            inPiece = false;
        } else if (c == '"') {
            quoted = !quoted;
            inPiece = true;  // "" is an empty piece
        } else {
            piece += c;
            inPiece = true;
        }
    }
    if (inPiece) pieces.push_back(piece);
    return pieces;
}

UpdaterRequest ParseUpdaterArguments(const std::vector<std::string>& args) {
    if (args.size() != 7) throw UpdaterArgumentError("Expected 7 arguments, got " + std::to_string(args.size()));
    UpdaterRequest request;
    request.port = args[0];
    if (request.port.empty()) throw UpdaterArgumentError("Argument 1, the port, is empty");
    request.writeFirmware = ReadCode(args[1], "FW", 2);
    request.readFirmware = ReadCode(args[2], "FR", 3);
    request.writeProject = ReadCode(args[3], "PW", 4);
    request.readProject = ReadCode(args[4], "PR", 5);
    request.simFile = args[5];
    if (!request.simFile.ends_with(std::string(1, base::kPathSeparator) + kSimFileName))
        throw UpdaterArgumentError("Argument 6 is \"" + request.simFile + "\": it must name the file " + kSimFileName);
    request.binDir = args[6];
    if (request.binDir.size() < 2 || request.binDir.back() != base::kPathSeparator)
        throw UpdaterArgumentError("Argument 7 is \"" + request.binDir +
                                   "\": it must be the project's bin folder ending in a separator");
    return request;
}

std::optional<image::DecodedImage> ImageToDownload(const UpdaterRequest& request) {
    if (!request.writeProject) return std::nullopt;
    return image::DecodeBankFile(request.binDir + "bank.bin");
}

std::string DownloadPlan(const UpdaterRequest& request, bool simFilePresent,
                         const std::optional<image::DecodedImage>& image) {
    std::string plan =
        "Ser_48210_Update stand-in: it speaks no device protocol and sends nothing to the device.\n"
        "Port " +
        request.port +
        " opened and closed again: it is free.\n"
        "Firmware: write " +
        YesNo(request.writeFirmware) + ", read back when finished " + YesNo(request.readFirmware) + " (" +
        request.simFile + (simFilePresent ? ", present" : ", not found") + ")\n" + "Project: write " +
        YesNo(request.writeProject) + ", read back when finished " + YesNo(request.readProject) + " (" +
        request.binDir + "bank.bin)\n";
    if (image) plan += "\n" + image::ImageTable(*image);
    return plan;
}

}  // namespace tessara::stand_in_updater
