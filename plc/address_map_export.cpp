#include "plc/address_map_export.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <vector>

#include "base/json_text.h"
#include "base/utf8_text.h"
#include "plc/plcopen_xml.h"

namespace tessara::plc {

namespace {

// The start address of the module that carries an area, given once for both areas.
struct Starts {
    size_t input = 0;
    size_t output = 0;
    size_t Of(MapArea area) const { return area == MapArea::Input ? input : output; }
};

size_t AddressOf(const AddressMapRow& row, const Starts& starts) {
    return starts.Of(row.area) + row.offset;
}

// Characters on a terminal: a UTF-8 sequence is one.
size_t DisplayWidth(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

constexpr size_t kTextColumns = 9;
using TextRow = std::array<std::string, kTextColumns>;
const TextRow kTextHeader = {"Address", "Offset", "Node", "ID", "Node mnemonic", "Byte", "Mnemonic", "Symbol", "Fits"};
constexpr std::array<bool, kTextColumns> kRightAligned = {false, true, true, true, false, true, false, false, false};

TextRow TextCells(const AddressMapRow& row, const Starts& starts) {
    return {row.fits ? PlcByteAddress(row.area, AddressOf(row, starts)) : "-",
            std::to_string(row.offset),
            std::to_string(row.node),
            std::to_string(row.id),
            PrintableText(row.nodeMnemonic),
            std::to_string(row.byte),
            PrintableText(row.mnemonic),
            row.symbol,
            row.fits ? "yes" : "no"};
}

void AppendTextRow(std::string& text, const TextRow& cells, const std::array<size_t, kTextColumns>& widths) {
    std::string line;
    for (size_t c = 0; c < kTextColumns; ++c) {
        const std::string padding(widths[c] - DisplayWidth(cells[c]), ' ');
        if (c) line += "  ";
        line += kRightAligned[c] ? padding + cells[c] : cells[c] + padding;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
}

void AppendTextArea(std::string& text, const char* title, const std::vector<AddressMapRow>& rows,
                    const Starts& starts) {
    text += std::string("\n") + title + "\n";
    if (rows.empty()) {
        text += "No selected bytes.\n";
        return;
    }
    std::vector<TextRow> cells;
    cells.reserve(rows.size());
    std::array<size_t, kTextColumns> widths{};
    for (size_t c = 0; c < kTextColumns; ++c) widths[c] = DisplayWidth(kTextHeader[c]);
    for (const AddressMapRow& row : rows) {
        cells.push_back(TextCells(row, starts));
        for (size_t c = 0; c < kTextColumns; ++c) widths[c] = std::max(widths[c], DisplayWidth(cells.back()[c]));
    }
    AppendTextRow(text, kTextHeader, widths);
    for (const TextRow& row : cells) AppendTextRow(text, row, widths);
}

std::string MapText(const AddressMap& map, const Starts& starts) {
    std::string text = std::string(kAddressMapRule) + "\n";
    AppendTextArea(text, "PROFIBUS input area", map.input, starts);
    AppendTextArea(text, "PROFIBUS output area", map.output, starts);
    return text;
}

// A piece of JSON goes out once it holds this much.
constexpr size_t kJsonPiece = 64 * 1024;

void JsonRows(base::JsonText& json, std::ostream& out, const std::vector<AddressMapRow>& rows, const Starts& starts) {
    json.Raw("[");
    for (size_t i = 0; i < rows.size(); ++i) {
        const AddressMapRow& row = rows[i];
        json.Raw(i ? ",{\"offset\":" : "{\"offset\":").Number(row.offset).Raw(",\"address\":");
        if (row.fits) {
            json.Number(AddressOf(row, starts));
        } else {
            json.Raw("null");
        }
        json.Raw(",\"node\":").Number(row.node).Raw(",\"id\":").Number(row.id).Raw(",\"nodeMnemonic\":");
        json.String(row.nodeMnemonic).Raw(",\"byte\":").Number(row.byte).Raw(",\"mnemonic\":").String(row.mnemonic);
        json.Raw(",\"symbol\":").String(row.symbol).Raw(",\"fits\":").Raw(row.fits ? "true}" : "false}");
        if (json.Size() >= kJsonPiece) json.MoveTo(out);
    }
    json.Raw("]");
}

void WriteMapJson(std::ostream& out, const AddressMap& map, const Starts& starts) {
    base::JsonText json(kJsonPiece + 4096);
    json.Raw("{\"rule\":").String(kAddressMapRule).Raw(",\"input\":");
    JsonRows(json, out, map.input, starts);
    json.Raw(",\"output\":");
    JsonRows(json, out, map.output, starts);
    json.Raw("}\n");
    json.MoveTo(out);
}

// A field in quotes, with every quote doubled, as RFC 4180 wants when a field holds a comma, quote or line
// break.
std::string CsvField(const std::string& text) {
    const std::string utf8 = base::WellFormedUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string field = "\"";
    for (const char c : utf8) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

std::string MapCsv(const AddressMap& map, const Starts& starts) {
    std::string csv = "area,offset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,fits\r\n";
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            csv += std::string(MapAreaName(row.area)) + "," + std::to_string(row.offset) + "," +
                   (row.fits ? std::to_string(AddressOf(row, starts)) : std::string()) + "," +
                   std::to_string(row.node) + "," + std::to_string(row.id) + "," + CsvField(row.nodeMnemonic) + "," +
                   std::to_string(row.byte) + "," + CsvField(row.mnemonic) + "," + row.symbol + "," +
                   (row.fits ? "true" : "false") + "\r\n";
        }
    }
    return csv;
}

// STEP 7 reads its symbol table in fields of fixed width: the text in quotes, padded with blanks to the width.
std::string SdfField(const std::string& text, size_t width) {
    return "\"" + text + std::string(width > text.size() ? width - text.size() : 0, ' ') + "\"";
}

std::string MapSdf(const AddressMap& map, const Starts& starts) {
    std::string sdf;
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (!row.fits) continue;
            sdf += SdfField(row.symbol, 24) + "," + SdfField(PlcByteAddress(row.area, AddressOf(row, starts)), 12) +
                   "," + SdfField("BYTE", 10) + "," + SdfField(MapRowPlace(row), 80) + "\r\n";
        }
    }
    return sdf;
}

}  // namespace

std::string PrintableText(const std::string& text) {
    std::string printable = base::WellFormedUtf8(text);
    for (char& c : printable) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return printable;
}

std::string MapRowPlace(const AddressMapRow& row) {
    return "node " + std::to_string(row.node) + " (ID " + std::to_string(row.id) + ") byte " + std::to_string(row.byte);
}

void WriteAddressMap(std::ostream& out, const AddressMap& map, MapFormat format, size_t inputStart,
                     size_t outputStart) {
    const Starts starts{inputStart, outputStart};
    switch (format) {
        case MapFormat::Json:
            WriteMapJson(out, map, starts);
            return;
        case MapFormat::Csv:
            out << MapCsv(map, starts);
            return;
        case MapFormat::Sdf:
            out << MapSdf(map, starts);
            return;
        case MapFormat::PlcOpen:
            out << PlcOpenXml(map, inputStart, outputStart, UtcDateTimeNow());
            return;
        case MapFormat::Text:
            out << MapText(map, starts);
            return;
    }
}

std::string FormatAddressMap(const AddressMap& map, MapFormat format, size_t inputStart, size_t outputStart) {
    std::ostringstream out;
    WriteAddressMap(out, map, format, inputStart, outputStart);
    return out.str();
}

}  // namespace tessara::plc
