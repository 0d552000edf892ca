#include "cli/map_command.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "base/file_system.h"
#include "base/utf8_text.h"
#include "check/project_address_map.h"
#include "check/project_check.h"
#include "cli/decimal_option.h"
#include "cli/mapped_project.h"
#include "documents/plc_map_document.h"
#include "plc/address_map_export.h"
#include "plc/earlier_export.h"
#include "plc/plcopen_xml.h"
#include "plc/tag_moves.h"
#include "plc/typed_tags.h"

namespace tessara::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

constexpr const char* kInputStart = "--input-start";
constexpr const char* kOutputStart = "--output-start";
constexpr const char* kSlotStart = "--slot-start";
constexpr const char* kPlcByteOrder = "--plc-byte-order";
constexpr const char* kSwapPou = "--swap-pou";

std::optional<size_t> PlcStart(const std::string& text) {
    return DecimalUpTo(text, documents::kLastPlcByte);
}

struct SlotOption {
    int slot = 0;
    size_t start = 0;
};

std::optional<SlotOption> ParseSlotStart(const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::optional<size_t> slot = DecimalUpTo(std::string_view(text).substr(0, equals), 1000);
    const std::optional<size_t> start = PlcStart(text.substr(equals + 1));
    if (!slot || *slot == 0 || !start) return std::nullopt;
    return SlotOption{static_cast<int>(*slot), *start};
}

plc::MapFormat FormatOf(const MapOptions& options) {
    if (options.json) return plc::MapFormat::Json;
    if (options.formats.empty()) return plc::MapFormat::Text;
    const std::string& format = options.formats.front();
    if (format == "--csv") return plc::MapFormat::Csv;
    return format == "--sdf" ? plc::MapFormat::Sdf : plc::MapFormat::PlcOpen;
}

// The starts the options give: the first slot of a direction for --input-start/--output-start, any slot by its
// GSD number for --slot-start (which wins over the other two for the same slot).
std::vector<documents::SlotStart> GivenStarts(const check::ProjectCheck& check, const MapOptions& options) {
    std::vector<documents::SlotStart> starts;
    for (const std::string& text : options.slotStarts) {
        const SlotOption given = *ParseSlotStart(text);
        const documents::ProfibusLayout layout = check::ProjectLayout(check);
        const documents::ProfibusSlot* slot = layout.SlotNumbered(given.slot);
        if (slot == nullptr)
            throw std::runtime_error("tessara map: " + std::string(kSlotStart) + " " + text + ": the project has " +
                                     (layout.Slots().empty() ? std::string("no slots")
                                                             : "slots 1 to " + std::to_string(layout.Slots().size())));
        starts.push_back({slot->direction, slot->position, given.start});
    }
    for (const auto& [direction, text] : {std::pair{documents::AreaDirection::Input, options.inputStart},
                                          std::pair{documents::AreaDirection::Output, options.outputStart}}) {
        if (!text) continue;
        // A structured binding is copied for the lambda: clang cannot capture one.
        const bool bySlot = std::ranges::any_of(starts, [area = direction](const documents::SlotStart& s) {
            return s.direction == area && s.position == 1;
        });
        if (!bySlot) starts.push_back({direction, 1, *PlcStart(*text)});
    }
    return starts;
}

// What the map leaves out fails the command after the map is written, each said on standard error: tags that
// are not one value, 8-byte values STEP 7's symbol table has no type for, bytes without an address.
int ReportLeftOut(const plc::AddressMap& map, plc::MapFormat format, std::ostream& err) {
    // Standard error writes each insertion at once: the lines go out together, since a large project can leave
    // out tens of thousands of tags.
    std::string lines;
    for (const plc::UnmadeTag& unmade : map.unmadeTags)
        lines += "tessara map: typed tag " + base::ShownAsText(plc::UnmadeTagText(unmade)) + "\n";
    const std::vector<const plc::AddressMapRow*> sdfLeft =
        format == plc::MapFormat::Sdf ? plc::RowsLeftOutOfSdf(map) : std::vector<const plc::AddressMapRow*>();
    for (const plc::AddressMapRow* row : sdfLeft) {
        lines += "tessara map: " + row->symbol + " (" + documents::TagTypeName(row->type) + " at " +
                 plc::MapRowAddress(*row) + ") is left out of the symbol table: STEP 7's has no 8-byte type\n";
    }
    const size_t beyond = plc::RowsBeyondArea(map.input) + plc::RowsBeyondArea(map.output);
    if (beyond > 0) {
        lines += "tessara map: " + std::to_string(beyond) + " of " +
                 std::to_string(map.input.size() + map.output.size()) +
                 " selected bytes do not fit the PROFIBUS areas (of pargen.xml, or the device's 128 bytes) and have "
                 "no address\n";
    }
    err << lines;
    return map.unmadeTags.empty() && sdfLeft.empty() && beyond == 0 ? kDone : kFailed;
}

void WriteChanges(std::ostream& out, const char* kind, const std::vector<plc::TagChange>& changes) {
    // The symbols of an earlier export are the file's own text: shown as the check shows a document's text.
    for (const plc::TagChange& change : changes)
        out << kind << "  " << base::ShownAsText(plc::TagChangeText(change)) << "\n";
}

int CompareWithEarlier(const plc::AddressMap& map, const std::string& file, std::ostream& out) {
    const std::vector<documents::ExportedTag> earlier = plc::ReadEarlierExport(base::ReadWholeFile(file), file);
    const plc::TagComparison comparison = plc::CompareTags(earlier, plc::ExportedTags(map));
    out << "Compared with " << base::ShownAsText(file) << ": " << comparison.moved.size() << " moved, "
        << comparison.removed.size() << " removed, " << comparison.added.size() << " added\n";
    WriteChanges(out, "moved  ", comparison.moved);
    WriteChanges(out, "removed", comparison.removed);
    WriteChanges(out, "added  ", comparison.added);
    return comparison.Broken() ? kFailed : kDone;
}

}  // namespace

bool MapOptions::Any() const {
    return !formats.empty() || inputStart || outputStart || !slotStarts.empty() || symbols || bom || against ||
           record || plcByteOrder || swapProgram;
}

bool TakeMapOption(MapOptions& options, int argc, char** argv, int& i) {
    const std::string_view arg = argv[i];
    const auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (arg == "--csv" || arg == "--sdf" || arg == "--plcopen") {
        options.formats.emplace_back(arg);
    } else if (arg == kInputStart) {
        options.inputStart = value();
    } else if (arg == kOutputStart) {
        options.outputStart = value();
    } else if (arg == kSlotStart) {
        options.slotStarts.push_back(value());
    } else if (arg == "--symbols") {
        options.symbols = value();
    } else if (arg == "--against") {
        options.against = value();
    } else if (arg == "--bom") {
        options.bom = true;
    } else if (arg == "--record") {
        options.record = true;
    } else if (arg == kPlcByteOrder) {
        options.plcByteOrder = value();
    } else if (arg == kSwapPou) {
        options.swapProgram = true;
    } else {
        return false;
    }
    return true;
}

std::string MapOptionsProblem(const MapOptions& options) {
    if (options.formats.size() + (options.json ? 1 : 0) > 1) return "choose one of --json, --csv, --sdf and --plcopen";
    for (const auto& [name, value] :
         {std::pair{kInputStart, options.inputStart}, {kOutputStart, options.outputStart}}) {
        if (value && !PlcStart(*value))
            return std::string(name) + " takes a byte address from 0 to " + std::to_string(documents::kLastPlcByte) +
                   ", not \"" + *value + "\"";
    }
    for (const std::string& text : options.slotStarts) {
        if (!ParseSlotStart(text))
            return std::string(kSlotStart) + " takes SLOT=ADDRESS, a slot number from 1 and an address from 0 to " +
                   std::to_string(documents::kLastPlcByte) + ", not \"" + text + "\"";
    }
    if (options.symbols && !plc::SymbolStyleNamed(*options.symbols))
        return "--symbols takes node or byte, not \"" + *options.symbols + "\"";
    if (options.bom && FormatOf(options) != plc::MapFormat::Csv) return "--bom applies only to --csv";
    if (options.plcByteOrder && !documents::ByteOrderNamed(*options.plcByteOrder))
        return std::string(kPlcByteOrder) + " takes big or little, not \"" + *options.plcByteOrder + "\"";
    if (options.swapProgram && (FormatOf(options) != plc::MapFormat::PlcOpen || options.against))
        return std::string(kSwapPou) + " applies only to --plcopen";
    if (options.against && (options.against->empty() || !options.formats.empty() || options.json))
        return "--against takes the file of an earlier --json or --csv export and prints the moves as text";
    return {};
}

// Every selected byte is listed; one without an address makes the command fail after the map is written.
// Documents the check cannot read give no map at all: their findings say why.
int RunMap(const std::string& projectDir, const MapOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<check::ProjectCheck> read = ReadMappedProject(projectDir, err);
    if (!read) return kFailed;
    const check::ProjectCheck& check = *read;
    const std::vector<documents::SlotStart> given = GivenStarts(check, options);
    documents::ProfibusLayout layout = check::ProjectLayout(check, given);
    if (const auto problem = documents::SlotStartProblem(layout, check.input.selected, check.output.selected))
        throw std::runtime_error("tessara map: " + *problem);
    const plc::SymbolStyle symbols = plc::SymbolStyleNamed(options.symbols.value_or("byte")).value();
    const std::optional<documents::ByteOrder> plcOrder =
        options.plcByteOrder ? documents::ByteOrderNamed(*options.plcByteOrder) : std::nullopt;
    const plc::AddressMap map = check::ProjectAddressMap(check, std::move(layout), symbols, plcOrder);
    int status = kDone;
    if (options.against) {
        status = CompareWithEarlier(map, *options.against, out);
    } else {
        plc::WriteAddressMap(out, map, FormatOf(options), {options.bom, options.swapProgram});
    }
    if (options.record) {
        documents::PlcMapDocument document = check.plcMap;
        document.starts = check::ProjectStarts(check, given);
        document.lastExport = plc::RecordedExport(map, plc::UtcDateTimeNow());
        if (plcOrder) document.plcByteOrder = plcOrder;
        documents::SavePlcMap(projectDir, document);
    }
    const int leftOut = ReportLeftOut(map, options.against ? plc::MapFormat::Text : FormatOf(options), err);
    return leftOut == kDone ? status : leftOut;
}

}  // namespace tessara::cli
