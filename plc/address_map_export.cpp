#include "plc/address_map_export.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>
#include <vector>

#include "base/json_text.h"
#include "base/utf8_text.h"
#include "plc/plcopen_xml.h"

namespace tessara::plc {

namespace {

constexpr size_t kTextColumns = 10;
using TextRow = std::array<std::string, kTextColumns>;
const TextRow kTextHeader = {"Address",       "Slot", "Offset",   "Node",   "ID",
                             "Node mnemonic", "Byte", "Mnemonic", "Symbol", "Fits"};
constexpr std::array<bool, kTextColumns> kRightAligned = {false, true, true,  true,  true,
                                                          false, true, false, false, false};

// No column is wider than this: a longer cell is cut and ends in the mark, so one long mnemonic does not pad
// every line of the table. The other formats carry the whole text.
constexpr size_t kTextColumnWidth = 40;
constexpr const char* kCutMark = "\xE2\x80\xA6";  // the ellipsis, one character wide

std::string FittedCell(std::string cell) {
    if (base::DisplayWidth(cell) <= kTextColumnWidth) return cell;
    size_t end = 0;
    for (size_t characters = 0; end < cell.size(); ++end) {
        const bool starts = (static_cast<unsigned char>(cell[end]) & 0xC0) != 0x80;
        if (starts && characters++ == kTextColumnWidth - 1) break;
    }
    cell.resize(end);
    return cell + kCutMark;
}

TextRow TextCells(const AddressMap& map, const AddressMapRow& row) {
    return {row.fits ? PlcByteAddress(row.area, row.address) : "-",
            row.fits ? std::to_string(row.slot) : "-",
            std::to_string(row.offset),
            std::to_string(row.node),
            std::to_string(row.id),
            FittedCell(base::ShownAsText(row.nodeMnemonic)),
            std::to_string(row.byte),
            FittedCell(base::ShownAsText(row.mnemonic)),
            row.symbol,
            row.fits ? "yes" : "no: " + NotFittingText(map, row)};
}

void WriteTextRow(std::ostream& out, const TextRow& cells, const std::array<size_t, kTextColumns>& widths) {
    std::string line;
    for (size_t c = 0; c < kTextColumns; ++c) {
        const std::string padding(widths[c] - base::DisplayWidth(cells[c]), ' ');
        if (c) line += "  ";
        line += kRightAligned[c] ? padding + cells[c] : cells[c] + padding;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
}

// The widths come from a first walk over the rows, so the table goes out line by line and is never held whole.
void WriteTextArea(std::ostream& out, const AddressMap& map, const char* title,
                   const std::vector<AddressMapRow>& rows) {
    out << '\n' << title << '\n';
    if (rows.empty()) {
        out << "No selected bytes.\n";
        return;
    }
    std::array<size_t, kTextColumns> widths{};
    for (size_t c = 0; c < kTextColumns; ++c) widths[c] = base::DisplayWidth(kTextHeader[c]);
    for (const AddressMapRow& row : rows) {
        const TextRow cells = TextCells(map, row);
        for (size_t c = 0; c < kTextColumns; ++c) widths[c] = std::max(widths[c], base::DisplayWidth(cells[c]));
    }
    WriteTextRow(out, kTextHeader, widths);
    for (const AddressMapRow& row : rows) WriteTextRow(out, TextCells(map, row), widths);
}

// The slots with their sizes and starts, before the rows that refer to them.
void WriteSlots(std::ostream& out, const AddressMap& map) {
    out << "\nSlots\n";
    if (map.layout.Slots().empty()) out << "None: pargen.xml gives both areas 0 bytes.\n";
    for (const documents::ProfibusSlot& slot : map.layout.Slots()) {
        out << "Slot " + std::to_string(slot.number) + "  " + MapAreaName(slot.direction) + "  " +
                   std::to_string(slot.size) + (slot.size == 1 ? " byte" : " bytes") + "  from " +
                   PlcByteAddress(slot.direction, slot.start) + (slot.startSet ? "" : " (default)") + "\n";
    }
}

void WriteMapText(std::ostream& out, const AddressMap& map) {
    out << kAddressMapRule << '\n';
    WriteSlots(out, map);
    WriteTextArea(out, map, "PROFIBUS input area", map.input);
    WriteTextArea(out, map, "PROFIBUS output area", map.output);
}

// A piece of JSON goes out once it holds this much.
constexpr size_t kJsonPiece = 64 * 1024;

// The reasons a byte of the area does not fit, each written once as JSON: a large project has a quarter of a
// million such rows.
std::array<std::string, 4> JsonReasons(const AddressMap& map, MapArea area) {
    std::array<std::string, 4> reasons;
    for (const documents::FitProblem problem :
         {documents::FitProblem::PastArea, documents::FitProblem::PastDevice, documents::FitProblem::PastLastPlcByte}) {
        base::JsonText text(64);
        text.String(documents::FitProblemText(problem, map.layout.AreaSize(area)));
        reasons[static_cast<size_t>(problem)] = text.Take();
    }
    return reasons;
}

void JsonRows(base::JsonText& json, std::ostream& out, const AddressMap& map, const std::vector<AddressMapRow>& rows) {
    json.Raw("[");
    if (rows.empty()) {
        json.Raw("]");
        return;
    }
    const std::array<std::string, 4> reasons = JsonReasons(map, rows.front().area);
    for (size_t i = 0; i < rows.size(); ++i) {
        const AddressMapRow& row = rows[i];
        json.Raw(i ? ",{\"offset\":" : "{\"offset\":").Number(row.offset);
        if (row.fits) {
            json.Raw(",\"slot\":").Number(row.slot).Raw(",\"slotOffset\":").Number(row.slotOffset);
            json.Raw(",\"address\":").Number(row.address);
        } else {
            json.Raw(",\"slot\":null,\"slotOffset\":null,\"address\":null");
        }
        json.Raw(",\"node\":").Number(row.node).Raw(",\"id\":").Number(row.id).Raw(",\"nodeMnemonic\":");
        json.String(row.nodeMnemonic).Raw(",\"byte\":").Number(row.byte).Raw(",\"mnemonic\":").String(row.mnemonic);
        json.Raw(",\"symbol\":").String(row.symbol).Raw(",\"fits\":").Raw(row.fits ? "true" : "false");
        if (row.fits) {
            json.Raw(",\"reason\":null}");
        } else {
            json.Raw(",\"reason\":").Raw(reasons[static_cast<size_t>(row.problem)]).Raw("}");
        }
        if (json.Size() >= kJsonPiece) json.MoveTo(out);
    }
    json.Raw("]");
}

void JsonSlots(base::JsonText& json, const AddressMap& map) {
    json.Raw("[");
    for (const documents::ProfibusSlot& slot : map.layout.Slots()) {
        json.Raw(slot.number == 1 ? "{\"slot\":" : ",{\"slot\":").Number(slot.number).Raw(",\"area\":\"");
        json.Raw(MapAreaName(slot.direction)).Raw("\",\"size\":").Number(slot.size).Raw(",\"start\":");
        json.Number(slot.start).Raw("}");
    }
    json.Raw("]");
}

void WriteMapJson(std::ostream& out, const AddressMap& map) {
    base::JsonText json(kJsonPiece + 4096);
    json.Raw("{\"rule\":").String(kAddressMapRule).Raw(",\"slots\":");
    JsonSlots(json, map);
    json.Raw(",\"input\":");
    JsonRows(json, out, map, map.input);
    json.Raw(",\"output\":");
    JsonRows(json, out, map, map.output);
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
    const std::string utf8 = (StartsLikeAFormula(text) ? "'" : "") + base::WellFormedUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string field = "\"";
    for (const char c : utf8) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

// Spreadsheet programs that take a file without a byte-order mark for their own code page need one.
constexpr const char* kUtf8ByteOrderMark = "\xEF\xBB\xBF";

void WriteMapCsv(std::ostream& out, const AddressMap& map, bool byteOrderMark) {
    if (byteOrderMark) out << kUtf8ByteOrderMark;
    out << "area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,fits,reason\r\n";
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            const auto placed = [&row](size_t value) { return row.fits ? std::to_string(value) : std::string(); };
            out << std::string(MapAreaName(row.area)) + "," + std::to_string(row.offset) + "," +
                       placed(static_cast<size_t>(row.slot)) + "," + placed(row.slotOffset) + "," +
                       placed(row.address) + "," + std::to_string(row.node) + "," + std::to_string(row.id) + "," +
                       CsvField(row.nodeMnemonic) + "," + std::to_string(row.byte) + "," + CsvField(row.mnemonic) +
                       "," + row.symbol + "," + (row.fits ? "true" : "false") + "," + NotFittingText(map, row) + "\r\n";
        }
    }
}

// A comment longer than its field would shift every field after it: it is cut at a whole UTF-8 character.
std::string FirstCharacters(const std::string& text, size_t count) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == count) return text.substr(0, i);
    }
    return text;
}

// STEP 7 reads its symbol table in fields of fixed width: the text in quotes, padded with blanks to the width.
std::string SdfField(const std::string& text, size_t width) {
    return "\"" + text + std::string(width > text.size() ? width - text.size() : 0, ' ') + "\"";
}

void WriteMapSdf(std::ostream& out, const AddressMap& map) {
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (!row.fits) continue;
            out << SdfField(row.symbol, 24) + "," + SdfField(PlcByteAddress(row.area, row.address), 12) + "," +
                       SdfField("BYTE", 10) + "," + SdfField(FirstCharacters(MapRowComment(row), 80), 80) + "\r\n";
        }
    }
}

}  // namespace

std::string PrintableText(const std::string& text) {
    const std::string utf8 = base::WellFormedUtf8(text);
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

std::string MapRowComment(const AddressMapRow& row) {
    const std::string node = PrintableText(row.nodeMnemonic);
    return node.empty() ? MapRowPlace(row) : node + ", " + MapRowPlace(row);
}

void WriteAddressMap(std::ostream& out, const AddressMap& map, MapFormat format, const ExportOptions& options) {
    switch (format) {
        case MapFormat::Json:
            WriteMapJson(out, map);
            return;
        case MapFormat::Csv:
            WriteMapCsv(out, map, options.byteOrderMark);
            return;
        case MapFormat::Sdf:
            WriteMapSdf(out, map);
            return;
        case MapFormat::PlcOpen:
            WritePlcOpenXml(out, map, UtcDateTimeNow());
            return;
        case MapFormat::Text:
            WriteMapText(out, map);
            return;
    }
}

std::string FormatAddressMap(const AddressMap& map, MapFormat format, const ExportOptions& options) {
    std::ostringstream out;
    WriteAddressMap(out, map, format, options);
    return out.str();
}

}  // namespace tessara::plc
