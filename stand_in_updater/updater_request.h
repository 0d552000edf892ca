#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/bank_image_decoder.h"

namespace tessara::stand_in_updater {

// What the update dialog asks of the updater: the port's system location, the four action codes (each its own
// word in its own position, or "NO"), the sim file of the MASTER folder and the project's bin folder with its
// trailing separator.
struct UpdaterRequest {
    std::string port;
    bool writeFirmware = false;
    bool readFirmware = false;
    bool writeProject = false;
    bool readProject = false;
    std::string simFile;
    std::string binDir;
};

class UpdaterArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kUpdaterUsage =
    "Usage: Ser_48210_Update PORT FW|NO FR|NO PW|NO PR|NO MASTER_DIR/sim48210.sim PROJECT_DIR/bin/\n";

// The pieces of a Windows command line as the device's updater reads them: blanks and tabs separate them,
// double quotes enclose blanks and are dropped, and a backslash is an ordinary character, so the closing
// ...\bin\" of the tool's parameter string ends the bin folder with its separator. (The C runtime's own
// splitting would take that backslash as escaping the quote.)
std::vector<std::string> SplitParameterString(const std::string& commandLine);

// The arguments after the program's name, exactly seven. Throws UpdaterArgumentError saying which is wrong.
UpdaterRequest ParseUpdaterArguments(const std::vector<std::string>& args);

// The image in the bin folder when the project is to be written; throws when it is missing or not valid.
std::optional<image::DecodedImage> ImageToDownload(const UpdaterRequest& request);

// What a real updater would do with the request; says plainly that nothing reaches the device.
std::string DownloadPlan(const UpdaterRequest& request, bool simFilePresent,
                         const std::optional<image::DecodedImage>& image);

}  // namespace tessara::stand_in_updater
