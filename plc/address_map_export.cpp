#include "plc/address_map_export.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "base/json_text.h"
#include "base/utf8_text.h"
#include "plc/plcopen_xml.h"
#include "plc/typed_tags.h"

namespace tessara::plc {

namespace {

constexpr size_t kTextColumns = 14;
using TextRow = std::array<std::string, kTextColumns>;
const TextRow kTextHeader = {"Address",  "Slot",   "Offset", "Node", "ID",    "Node mnemonic", "Byte",
                             "Mnemonic", "Symbol", "Type",   "Size", "Order", "Swap",          "Fits"};
constexpr std::array<bool, kTextColumns> kRightAligned = {false, true,  true,  true, true,  false, true,
                                                          false, false, false, true, false, false, false};

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

// A tag's bytes of its node, "3-4"; a byte's own number.
std::string NodeBytesText(const AddressMapRow& row) {
    const std::string first = std::to_string(row.byte);
    return row.size > 1 ? first + "-" + std::to_string(row.byte + row.size - 1) : first;
}

// A byte of no tag has no order, and nothing to swap: those cells stay blank.
TextRow TextCells(const AddressMap& map, const AddressMapRow& row) {
    return {row.fits ? MapRowAddress(row) : "-",
            row.fits ? std::to_string(row.slot) : "-",
            std::to_string(row.offset),
            std::to_string(row.node),
            std::to_string(row.id),
            FittedCell(base::ShownAsText(row.nodeMnemonic)),
            NodeBytesText(row),
            FittedCell(base::ShownAsText(row.mnemonic)),
            row.symbol,
            documents::TagTypeName(row.type),
            std::to_string(row.size),
            row.tagged ? documents::ByteOrderName(row.byteOrder) : "",
            row.tagged ? (row.swap ? "yes" : "no") : "",
            row.fits ? "yes" : "no: " + NotFittingText(map, row)};
}

void WriteTextRow(std::ostream& out, const TextRow& cells, const std::array<size_t, kTextColumns>& widths) {
    out << base::AlignedLine(cells, widths, kRightAligned) << '\n';
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

// Tags that are not one value must not pass in silence: their bytes are listed one by one above.
void WriteUnmadeTags(std::ostream& out, const AddressMap& map) {
    if (map.unmadeTags.empty()) return;
    out << "\nTyped tags (their bytes are listed one by one)\n";
    for (const UnmadeTag& unmade : map.unmadeTags) out << base::ShownAsText(UnmadeTagText(unmade)) << '\n';
}

void WriteMapText(std::ostream& out, const AddressMap& map) {
    out << kAddressMapRule << '\n';
    out << "\nPLC byte order: " << documents::ByteOrderName(map.plcByteOrder) << '\n';
    WriteSlots(out, map);
    WriteTextArea(out, map, "PROFIBUS input area", map.input);
    WriteTextArea(out, map, "PROFIBUS output area", map.output);
    WriteUnmadeTags(out, map);
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
        json.Raw(",\"symbol\":").String(row.symbol);
        if (row.tagged) {
            json.Raw(",\"type\":\"").Raw(documents::TagTypeName(row.type)).Raw("\",\"size\":").Number(row.size);
            json.Raw(",\"byteOrder\":\"").Raw(documents::ByteOrderName(row.byteOrder));
            json.Raw(row.swap ? "\",\"swap\":true" : "\",\"swap\":false");
        } else {
            json.Raw(",\"type\":\"BYTE\",\"size\":1,\"byteOrder\":null,\"swap\":false");
        }
        json.Raw(",\"fits\":").Raw(row.fits ? "true" : "false");
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

void JsonUnmadeTags(base::JsonText& json, const AddressMap& map) {
    json.Raw("[");
    for (size_t i = 0; i < map.unmadeTags.size(); ++i) {
        const documents::TypedTag& tag = map.unmadeTags[i].tag;
        json.Raw(i ? ",{\"name\":" : "{\"name\":").String(tag.name).Raw(",\"area\":\"");
        json.Raw(MapAreaName(tag.direction)).Raw("\",\"node\":").Number(tag.node).Raw(",\"byte\":").Number(tag.byte);
        json.Raw(",\"type\":\"").Raw(documents::TagTypeName(tag.type)).Raw("\",\"byteOrder\":\"");
        json.Raw(documents::ByteOrderName(tag.byteOrder)).Raw("\",\"reason\":").String(map.unmadeTags[i].reason);
        json.Raw("}");
    }
    json.Raw("]");
}

void WriteMapJson(std::ostream& out, const AddressMap& map) {
    base::JsonText json(kJsonPiece + 4096);
    json.Raw("{\"rule\":").String(kAddressMapRule);
    json.Raw(",\"plcByteOrder\":\"").Raw(documents::ByteOrderName(map.plcByteOrder)).Raw("\",\"slots\":");
    JsonSlots(json, map);
    json.Raw(",\"input\":");
    JsonRows(json, out, map, map.input);
    json.Raw(",\"output\":");
    JsonRows(json, out, map, map.output);
    json.Raw(",\"unmadeTags\":");
    JsonUnmadeTags(json, map);
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
    out << "area,offset,slot,slotOffset,address,node,id,nodeMnemonic,byte,mnemonic,symbol,type,size,byteOrder,swap,"
           "fits,reason\r\n";
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            const auto placed = [&row](size_t value) { return row.fits ? std::to_string(value) : std::string(); };
            out << std::string(MapAreaName(row.area)) + "," + std::to_string(row.offset) + "," +
                       placed(static_cast<size_t>(row.slot)) + "," + placed(row.slotOffset) + "," +
                       placed(row.address) + "," + std::to_string(row.node) + "," + std::to_string(row.id) + "," +
                       CsvField(row.nodeMnemonic) + "," + std::to_string(row.byte) + "," + CsvField(row.mnemonic) +
                       "," + row.symbol + "," + documents::TagTypeName(row.type) + "," + std::to_string(row.size) +
                       "," + (row.tagged ? documents::ByteOrderName(row.byteOrder) : "") + "," +
                       (row.swap ? "true" : "false") + "," + (row.fits ? "true" : "false") + "," +
                       NotFittingText(map, row) + "\r\n";
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

// The type STEP 7's symbol table reads the value as: it has no unsigned integers, which are read as the bit
// string of their width, and no 8-byte type at all (nullopt).
std::optional<documents::TagType> SdfType(documents::TagType type) {
    using documents::TagType;
    if (documents::TagTypeSize(type) == 8) return std::nullopt;
    if (type == TagType::Uint) return TagType::Word;
    if (type == TagType::Udint) return TagType::Dword;
    return type;
}

// What the PLC programmer must know beyond the table's type comes first, where the cut at 80 characters cannot
// take it: the real type of an unsigned value, and that the bytes must be swapped.
std::string SdfComment(const AddressMapRow& row, documents::TagType written) {
    std::string notes;
    if (written != row.type) notes = documents::TagTypeName(row.type);
    if (row.swap) notes += notes.empty() ? "swap bytes" : ", swap bytes";
    const std::string comment = MapRowComment(row);
    return FirstCharacters(notes.empty() ? comment : notes + ": " + comment, 80);
}

void WriteMapSdf(std::ostream& out, const AddressMap& map) {
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            const std::optional<documents::TagType> type = SdfType(row.type);
            if (!row.fits || !type) continue;
            out << SdfField(row.symbol, 24) + "," + SdfField(MapRowAddress(row), 12) + "," +
                       SdfField(documents::TagTypeName(*type), 10) + "," + SdfField(SdfComment(row, *type), 80) +
                       "\r\n";
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
    return "node " + std::to_string(row.node) + " (ID " + std::to_string(row.id) + ") " +
           (row.size > 1 ? "bytes " : "byte ") + NodeBytesText(row);
}

std::string MapRowAddress(const AddressMapRow& row) {
    return documents::PlcAddressText(row.area, row.address, row.size);
}

std::string UnmadeTagText(const UnmadeTag& unmade) {
    return TypedTagPlace(unmade.tag) + " is not used: " + unmade.reason;
}

std::vector<const AddressMapRow*> RowsLeftOutOfSdf(const AddressMap& map) {
    std::vector<const AddressMapRow*> left;
    for (const std::vector<AddressMapRow>* rows : {&map.input, &map.output}) {
        for (const AddressMapRow& row : *rows) {
            if (row.fits && !SdfType(row.type)) left.push_back(&row);
        }
    }
    return left;
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
            WritePlcOpenXml(out, map, UtcDateTimeNow(), options.swapProgram);
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
