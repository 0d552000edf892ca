#include "documents/profibus_slots.h"

#include <algorithm>

#include "base/project_files.h"

namespace tessara::documents {

namespace {

size_t NonNegative(int32_t count) {
    return count > 0 ? static_cast<size_t>(count) : 0;
}

const char* DirectionName(AreaDirection direction) {
    return direction == AreaDirection::Input ? "input" : "output";
}

std::optional<size_t> GivenStart(const std::vector<SlotStart>& starts, AreaDirection direction, size_t position) {
    for (const SlotStart& s : starts) {
        if (s.direction == direction && s.position == position) return s.start;
    }
    return std::nullopt;
}

// The modules of one direction as the GSD file lists them, numbered on from `number`.
void AddSlots(std::vector<ProfibusSlot>& slots, AreaDirection direction, int32_t areaSize, int number,
              const std::vector<SlotStart>& starts) {
    const size_t bytes = NonNegative(areaSize);
    size_t next = 0;
    for (size_t first = 0, position = 1; first < bytes; first += kModuleBytes, ++position, ++number) {
        const std::optional<size_t> given = GivenStart(starts, direction, position);
        ProfibusSlot slot{
            number,           direction, position, first, std::min(kModuleBytes, bytes - first), given.value_or(next),
            given.has_value()};
        next = slot.start + slot.size;
        slots.push_back(slot);
    }
}

std::string SlotText(const ProfibusSlot& slot) {
    return "slot " + std::to_string(slot.number) + " (" + PlcByteAddress(slot.direction, slot.start) + " to " +
           std::to_string(slot.start + slot.size - 1) + ")";
}

std::optional<std::string> OverlapProblem(const std::vector<ProfibusSlot>& slots) {
    for (size_t i = 0; i < slots.size(); ++i) {
        for (size_t j = i + 1; j < slots.size(); ++j) {
            const ProfibusSlot& a = slots[i];
            const ProfibusSlot& b = slots[j];
            if (a.direction != b.direction) continue;
            if (a.start < b.start + b.size && b.start < a.start + a.size)
                return "The " + std::string(DirectionName(a.direction)) + " slots overlap: " + SlotText(a) + " and " +
                       SlotText(b);
        }
    }
    return std::nullopt;
}

std::optional<std::string> PastLastByteProblem(const ProfibusLayout& layout, size_t selectedIn, size_t selectedOut) {
    for (const ProfibusSlot& slot : layout.Slots()) {
        const size_t selected = slot.direction == AreaDirection::Input ? selectedIn : selectedOut;
        const size_t fitting = std::min(selected, UsableAreaBytes(layout.AreaSize(slot.direction)));
        if (fitting <= slot.first) continue;
        const size_t last = std::min(slot.first + slot.size, fitting) - 1;
        const size_t address = slot.start + (last - slot.first);
        if (address > kLastPlcByte)
            return "Slot " + std::to_string(slot.number) + " starting at " + std::to_string(slot.start) +
                   " puts byte " + std::to_string(last) + " of the " + DirectionName(slot.direction) + " area at " +
                   std::to_string(address) + ", past the last PLC byte address " + std::to_string(kLastPlcByte);
    }
    return std::nullopt;
}

}  // namespace

int32_t ModuleCount(int32_t byteCount) {
    return byteCount / 64 + (byteCount % 64 != 0 ? 1 : 0);
}

size_t UsableAreaBytes(int32_t areaSize) {
    return std::min(NonNegative(areaSize), kDeviceAreaBytes);
}

ProfibusLayout::ProfibusLayout(ProfibusAreas areas, const std::vector<SlotStart>& starts) : areas_(areas) {
    AddSlots(slots_, AreaDirection::Input, areas.NbIn, 1, starts);
    // The output slots are numbered on after every input module the GSD file lists.
    AddSlots(slots_, AreaDirection::Output, areas.NbOut, std::max(ModuleCount(areas.NbIn), 0) + 1, starts);
}

const ProfibusSlot* ProfibusLayout::SlotNumbered(int number) const {
    const auto slot = std::ranges::find(slots_, number, &ProfibusSlot::number);
    return slot == slots_.end() ? nullptr : &*slot;
}

int32_t ProfibusLayout::AreaSize(AreaDirection direction) const {
    return direction == AreaDirection::Input ? areas_.NbIn : areas_.NbOut;
}

ProfibusAddress ProfibusLayout::Address(AreaDirection direction, size_t offset) const {
    const int32_t areaSize = AreaSize(direction);
    if (offset >= NonNegative(areaSize)) return {0, 0, 0, false, FitProblem::PastArea};
    if (offset >= kDeviceAreaBytes) return {0, 0, 0, false, FitProblem::PastDevice};
    const auto slot = std::ranges::find_if(slots_, [&](const ProfibusSlot& s) {
        return s.direction == direction && offset >= s.first && offset < s.first + s.size;
    });
    const size_t slotOffset = offset - slot->first;
    const size_t address = slot->start + slotOffset;
    if (address > kLastPlcByte) return {slot->number, slotOffset, 0, false, FitProblem::PastLastPlcByte};
    return {slot->number, slotOffset, address, true, FitProblem::None};
}

std::optional<std::string> SlotStartProblem(const ProfibusLayout& layout, size_t selectedIn, size_t selectedOut) {
    if (auto overlap = OverlapProblem(layout.Slots())) return overlap;
    return PastLastByteProblem(layout, selectedIn, selectedOut);
}

std::string PlcByteAddress(AreaDirection direction, size_t address) {
    return PlcAddressText(direction, address, 1);
}

std::string PlcAddressText(AreaDirection direction, size_t address, size_t size) {
    const char width = size == 8 ? 'L' : size == 4 ? 'D' : size == 2 ? 'W' : 'B';
    return std::string(1, direction == AreaDirection::Input ? 'I' : 'Q') + width + " " + std::to_string(address);
}

std::string FitProblemText(FitProblem problem, int32_t areaSize) {
    switch (problem) {
        case FitProblem::PastArea:
            return "past the " + std::to_string(NonNegative(areaSize)) +
                   (NonNegative(areaSize) == 1 ? " byte of " : " bytes of ") + base::kPargenFileName;
        case FitProblem::PastDevice:
            return "past the device's " + std::to_string(kDeviceAreaBytes) + " bytes";
        case FitProblem::PastLastPlcByte:
            return "past the last PLC byte address " + std::to_string(kLastPlcByte);
        case FitProblem::None:
            break;
    }
    return {};
}

}  // namespace tessara::documents
