#include "check/device_value_findings.h"

#include <exception>
#include <optional>
#include <string_view>

#include "base/project_files.h"
#include "check/io_map_findings.h"
#include "documents/document_file.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/xml_document.h"
#include "image/node_table.h"

namespace tessara::check {

namespace {

struct ValueRange {
    const char* element;
    const char* meaning;
    int32_t low;
    int32_t high;
};

// The eight values of the image's parameter block, with what the device takes.
constexpr ValueRange kSettingRanges[] = {
    {documents::pargen_xml::kProfiId, "the PROFIBUS ID", 1, 125},
    {documents::pargen_xml::kProfiBaud, "the PROFIBUS baud rate code", 0, 10},
    {documents::pargen_xml::kProfiNbIn, "the PROFIBUS input byte count", 0, 128},
    {documents::pargen_xml::kProfiNbOut, "the PROFIBUS output byte count", 0, 128},
    {documents::pargen_xml::kProfiCancelData, "the flag \"Cancel Data on DeviceNet Error\"", 0, 1},
    {documents::pargen_xml::kDNetDevId, "the gateway's DeviceNet ID", 0, 63},
    {documents::pargen_xml::kDNetBaud, "the DeviceNet baud rate code", 0, 2},
    {documents::pargen_xml::kDNetCancelData, "the flag \"Cancel Data on PROFIBUS Error\"", 0, 1},
};

constexpr ValueRange kRowRanges[] = {
    {documents::dnet_net_xml::kId, "a DeviceNet address", 0, 63},
    {documents::dnet_net_xml::kNbIn, "a node's input byte count", 0, 65535},
    {documents::dnet_net_xml::kNbOut, "a node's output byte count", 0, 65535},
};

bool InRange(int32_t value, const ValueRange& range) {
    return value >= range.low && value <= range.high;
}

std::string RangeText(const ValueRange& range) {
    if (range.high == range.low + 1) {
        return std::to_string(range.low) + " or " + std::to_string(range.high);
    }
    return "between " + std::to_string(range.low) + " and " + std::to_string(range.high);
}

// "PROFI_BAUD 99: the PROFIBUS baud rate code must be between 0 and 10".
std::string OutOfRangeText(const ValueRange& range, int32_t value) {
    return std::string(range.element) + " " + std::to_string(value) + ": " + range.meaning + " must be " +
           RangeText(range);
}

// The value as the image build reads it; nullopt for a missing element or a text that is no integer.
std::optional<int32_t> ElementValue(pugi::xml_node root, const char* name) {
    const pugi::xml_node element = documents::FindChild(root, name);
    if (!element) return std::nullopt;
    try {
        return documents::ParseIntText(documents::ElementText(element));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Documents confirmed after a load, and documents written before, may hold "-1" for the PROFIBUS rate: the
// device has always taken the 255 it becomes, and the settings editor mends it on its next OK.
bool IsStoredNoSelection(const ValueRange& range, int32_t value) {
    return value == -1 && std::string_view(range.element) == documents::pargen_xml::kProfiBaud;
}

std::string StoredNoSelectionText(const ValueRange& range) {
    return std::string(range.element) + " -1: the device receives 255 as " + range.meaning +
           "; OK in Set Communication writes 10 (\"Auto Baudrate\")";
}

void AddRowFindings(const std::vector<image::NodeNumbers>& rows, std::vector<Finding>& findings) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const int32_t values[] = {rows[i].ID, rows[i].NB_IN, rows[i].NB_OUT};
        for (int c = 0; c < 3; ++c) {
            if (InRange(values[c], kRowRanges[c])) continue;
            findings.push_back({Severity::Error, NodePlace(i, rows[i].ID), OutOfRangeText(kRowRanges[c], values[c]),
                                FindingTarget::NetworkCell(i, c + 1)});
        }
    }
}

}  // namespace

size_t AddSettingsValueFindings(documents::DocumentFile& pargen, std::vector<Finding>& findings) {
    if (!pargen.Exists()) return 0;
    pugi::xml_node root;
    try {
        root = pargen.Root();
    } catch (const std::exception&) {
        return 0;  // listed by the settings reader
    }
    const size_t before = findings.size();
    for (const ValueRange& range : kSettingRanges) {
        const std::optional<int32_t> value = ElementValue(root, range.element);
        if (!value || InRange(*value, range)) continue;
        if (IsStoredNoSelection(range, *value)) {
            findings.push_back({Severity::Warning, base::kPargenFileName, StoredNoSelectionText(range),
                                FindingTarget::Setting(range.element)});
            continue;
        }
        findings.push_back({Severity::Error, base::kPargenFileName, OutOfRangeText(range, *value),
                            FindingTarget::Setting(range.element)});
    }
    return findings.size() - before;
}

size_t AddNetworkValueFindings(documents::DocumentFile& network, std::vector<Finding>& findings) {
    std::vector<image::NodeNumbers> rows;
    try {
        rows = image::LoadNodeNumbersAsWritten(network);
    } catch (const std::exception&) {
        return 0;
    }
    const size_t before = findings.size();
    AddRowFindings(rows, findings);
    return findings.size() - before;
}

}  // namespace tessara::check
