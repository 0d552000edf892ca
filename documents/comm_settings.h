#pragma once

#include <optional>
#include <string>

namespace tessara::documents {

class DocumentFile;
class XmlDocument;

inline constexpr int kProfiBaudCount = 11;
inline constexpr int kProfiAutoBaud = 10;  // "Auto Baudrate", the last item of the PROFIBUS list
inline constexpr int kDNetBaudCount = 3;

// The gateway's own parameters on its two networks, as the settings dialog holds them: the edit texts
// verbatim, the baud-rate lists as item indexes (-1 for no selected item) and the two cancel flags.
// Default-constructed it holds what the dialog shows for a project without pargen.xml.
struct CommSettings {
    std::string ProfiId = "20";
    int ProfiBaud = kProfiAutoBaud;
    std::string ProfiNbIn = "20";
    std::string ProfiNbOut = "20";
    bool ProfiCancelData = false;
    std::string DNetDevId = "10";
    int DNetBaud = 2;  // "500K"
    bool DNetCancelData = false;

    bool operator==(const CommSettings&) const = default;
};

// Reads pargen.xml into `settings`, element by element. A missing file changes nothing. The first failure
// (parse error, missing required element, a baud rate that is not an integer text) throws and leaves the
// values read before it in place and the rest as they were. The two cancel flags are optional: a missing or
// unreadable one reads as unchecked.
void LoadCommSettings(const std::string& path, CommSettings& settings);
void LoadCommSettings(DocumentFile& pargen, CommSettings& settings);

// The exact message of the first field out of range, in the order the user sees the fields, or nullopt.
std::optional<std::string> CheckSettings(const CommSettings& settings);

// Rebuilds `doc` from scratch as pargen.xml and saves it to `path`; throws std::runtime_error when the file
// cannot be written, leaving the previous file intact.
void SaveCommSettings(XmlDocument& doc, const std::string& path, const CommSettings& settings);

}  // namespace tessara::documents
