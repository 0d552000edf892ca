#include "check/address_map_export.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>
#include <vector>

#include "check/json_text.h"
#include "check/plcopen_xml.h"
#include "check/utf8_text.h"

namespace tessara::check {

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

// No column is wider than this: a longer cell is cut and ends in the mark, so one long mnemonic does not pad
// every line of the table. The other formats carry the whole text.
constexpr size_t kTextColumnWidth = 40;
constexpr const char* kCutMark = "\xE2\x80\xA6";  // the ellipsis, one character wide

std::string FittedCell(std::string cell) {
    if (DisplayWidth(cell) <= kTextColumnWidth) return cell;
    size_t end = 0;
    for (size_t characters = 0; end < cell.size(); ++end) {
        const bool starts = (static_cast<unsigned char>(cell[end]) & 0xC0) != 0x80;
        if (starts && characters++ == kTextColumnWidth - 1) break;
    }
    cell.resize(end);
    return cell + kCutMark;
}

TextRow TextCells(const AddressMapRow& row, const Starts& starts) {
    return {row.fits ? PlcByteAddress(row.area, AddressOf(row, starts)) : "-",
            std::to_string(row.offset),
            std::to_string(row.node),
            std::to_string(row.id),
            FittedCell(ShownAsText(row.nodeMnemonic)),
            std::to_string(row.byte),
            FittedCell(ShownAsText(row.mnemonic)),
            row.symbol,
            row.fits ? "yes" : "no"};
}

void WriteTextRow(std::ostream& out, const TextRow& cells, const std::array<size_t, kTextColumns>& widths) {
    std::string line;
    for (size_t c = 0; c < kTextColumns; ++c) {
        const std::string padding(widths[c] - DisplayWidth(cells[c]), ' ');
        if (c) line += "  ";
        line += kRightAligned[c] ? padding + cells[c] : cells[c] + padding;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
}

// The widths come from a first walk over the rows, so the table goes out line by line and is never held whole.
void WriteTextArea(std::ostream& out, const char* title, const std::vector<AddressMapRow>& rows, const Starts& starts) {
    out << '\n' << title << '\n';
    if (rows.empty()) {
        out << "No selected bytes.\n";
        return;
    }
    std::array<size_t, kTextColumns> widths{};
    for (size_t c = 0; c < kTextColumns; ++c) widths[c] = DisplayWidth(kTextHeader[c]);
    for (const AddressMapRow& row : rows) {
        const TextRow cells = TextCells(row, starts);
        for (size_t c = 0; c < kTextColumns; ++c) widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
    }
    WriteTextRow(out, kTextHeader, widths);
    for (const AddressMapRow& row : rows) WriteTextRow(out, TextCells(row, starts), widths);
}

void WriteMapText(std::ostream& out, const AddressMap& map, const Starts& starts) {
    out << kAddressMapRule << '\n';
    WriteTextArea(out, "PROFIBUS input area", map.input, starts);
    WriteTextArea(out, "PROFIBUS output area", map.output, starts);
}

// A piece of JSON goes out once it holds this much.
constexpr size_t kJsonPiece = 64 * 1024;

void JsonRows(JsonText& json, std::ostream& out, const std::vector<AddressMapRow>& rows, const Starts& starts) {
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
    JsonText json(kJsonPiece + 4096);
    json.Raw("{\"rule\":").String(kAddressMapRule).Raw(",\"input\":");
    JsonRows(json, out, map.input, starts);
    json.Raw(",\"output\":");
    JsonRows(json, out, map.output, starts);
    json.Raw("}\n");
    json.MoveTo(out);
}

// Spreadsheet programs take a cell that starts with one of these as a formula, which a mnemonic must never
// become: such a cell gets an apostrophe in front, which they show as text.
bool StartsLikeAFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

// A field in quotes, with every quote doubled, as RFC 4180 wants when a field holds a comma, quote or line
// break.
std::string CsvField(const std::string& text) {
    const std::string utf8 = (StartsLikeAFormula(text) ? "'" : "") + WellFormedUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string field = "\"";
    for (const char c : utf8) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

void WriteMapCsv(std::ostream& out, const AddressMap& map, const Starts& starts) {
    out << "area,offset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,fits\r\n";
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            out << std::string(MapAreaName(row.area)) + "," + std::to_string(row.offset) + "," +
                       (row.fits ? std::to_string(AddressOf(row, starts)) : std::string()) + "," +
                       std::to_string(row.node) + "," + std::to_string(row.id) + "," + CsvField(row.nodeMnemonic) +
                       "," + std::to_string(row.byte) + "," + CsvField(row.mnemonic) + "," + row.symbol + "," +
                       (row.fits ? "true" : "false") + "\r\n";
        }
    }
}

// STEP 7 reads its symbol table in fields of fixed width: the text in quotes, padded with blanks to the width.
std::string SdfField(const std::string& text, size_t width) {
    return "\"" + text + std::string(width > text.size() ? width - text.size() : 0, ' ') + "\"";
}

void WriteMapSdf(std::ostream& out, const AddressMap& map, const Starts& starts) {
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (!row.fits) continue;
            out << SdfField(row.symbol, 24) + "," + SdfField(PlcByteAddress(row.area, AddressOf(row, starts)), 12) +
                       "," + SdfField("BYTE", 10) + "," + SdfField(MapRowPlace(row), 80) + "\r\n";
        }
    }
}

}  // namespace

std::string PrintableText(const std::string& text) {
    const std::string utf8 = WellFormedUtf8(text);
    std::string printable;
    printable.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const std::string_view sequence = std::string_view(utf8).substr(i, 3);
        if (sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF") {
            printable += ' ';
            i += 2;
        } else {
            printable += c < 0x20 || c == 0x7F ? ' ' : utf8[i];
        }
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
            WriteMapCsv(out, map, starts);
            return;
        case MapFormat::Sdf:
            WriteMapSdf(out, map, starts);
            return;
        case MapFormat::PlcOpen:
            WritePlcOpenXml(out, map, inputStart, outputStart, UtcDateTimeNow());
            return;
        case MapFormat::Text:
            WriteMapText(out, map, starts);
            return;
    }
}

std::string FormatAddressMap(const AddressMap& map, MapFormat format, size_t inputStart, size_t outputStart) {
    std::ostringstream out;
    WriteAddressMap(out, map, format, inputStart, outputStart);
    return out.str();
}

}  // namespace tessara::check
