#include "documents/comm_settings.h"

#include "documents/document_error.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/int_text_range.h"
#include "documents/xml_document.h"

namespace tessara::documents {

namespace {

using namespace pargen_xml;

std::string RequiredText(pugi::xml_node root, const char* name) {
    return ElementText(RequireChild(root, name));
}

// A list index that names no item reads as the list would show it. The PROFIBUS list cannot be changed by
// the user, so an unknown code falls back to "Auto Baudrate" rather than to no selection, which would be
// written back as "-1", a code the device does not know.
int ProfiBaudIndex(int code) {
    return code >= 0 && code < kProfiBaudCount ? code : kProfiAutoBaud;
}
int DNetBaudIndex(int code) {
    return code >= 0 && code < kDNetBaudCount ? code : -1;
}

// Optional flags never stop the reading: anything but the text "1" unchecks the box.
bool FlagIsSet(pugi::xml_node root, const char* name) {
    pugi::xml_node element = FindChild(root, name);
    if (!element) return false;
    try {
        return ElementText(element) == "1";
    } catch (const DocumentError&) {
        return false;
    }
}

void ReadElements(pugi::xml_node root, CommSettings& s) {
    s.ProfiId = RequiredText(root, kProfiId);
    s.ProfiBaud = ProfiBaudIndex(IntOrError(RequiredText(root, kProfiBaud)));
    s.ProfiNbIn = RequiredText(root, kProfiNbIn);
    s.ProfiNbOut = RequiredText(root, kProfiNbOut);
    s.ProfiCancelData = FlagIsSet(root, kProfiCancelData);
    s.DNetDevId = RequiredText(root, kDNetDevId);
    s.DNetBaud = DNetBaudIndex(IntOrError(RequiredText(root, kDNetBaud)));
    s.DNetCancelData = FlagIsSet(root, kDNetCancelData);
}

void AppendText(pugi::xml_node root, const char* name, const std::string& text) {
    SetElementText(AppendChild(root, name), text);
}

}  // namespace

void LoadCommSettings(DocumentFile& pargen, CommSettings& settings) {
    if (!pargen.Exists()) return;
    const pugi::xml_node root = pargen.Root();
    ReadingDocument(pargen.Path(), [&] { ReadElements(root, settings); });
}

void LoadCommSettings(const std::string& path, CommSettings& settings) {
    DocumentFile pargen(path);
    LoadCommSettings(pargen, settings);
}

std::optional<std::string> CheckSettings(const CommSettings& s) {
    if (!IntTextInRange(s.ProfiId, 1, 125)) return "Error!! The PROFIBUS Device ID must be between 1 and 125. ";
    if (!IntTextInRange(s.ProfiNbIn, 0, 128)) return "Error!! The PROFIBUS Byte IN must be between 0 and 128. ";
    if (!IntTextInRange(s.ProfiNbOut, 0, 128)) return "Error!! The PROFIBUS Byte OUT must be between 0 and 128. ";
    if (!IntTextInRange(s.DNetDevId, 0, 63)) return "Error!! The DeviceNet Device ID must be between 0 and 63. ";
    // A typed rate that names no item would be stored as -1, a code the device does not know.
    if (s.DNetBaud < 0 || s.DNetBaud >= kDNetBaudCount) return "Error!! Select a DeviceNet baud rate. ";
    return std::nullopt;
}

void SaveCommSettings(XmlDocument& doc, const std::string& path, const CommSettings& s) {
    doc.RemoveAllTopLevelNodes();
    pugi::xml_node root = doc.AddRoot(kRoot);
    AppendText(root, kProfiId, s.ProfiId);
    AppendText(root, kProfiBaud, std::to_string(s.ProfiBaud));
    AppendText(root, kProfiNbIn, s.ProfiNbIn);
    AppendText(root, kProfiNbOut, s.ProfiNbOut);
    AppendText(root, kProfiCancelData, s.ProfiCancelData ? "1" : "0");
    AppendText(root, kDNetDevId, s.DNetDevId);
    AppendText(root, kDNetBaud, std::to_string(s.DNetBaud));
    AppendText(root, kDNetCancelData, s.DNetCancelData ? "1" : "0");
    doc.SaveFile(path);
}

}  // namespace tessara::documents
