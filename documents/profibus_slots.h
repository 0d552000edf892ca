#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "documents/profibus_areas.h"

namespace tessara::documents {

enum class AreaDirection { Input, Output };

// The device takes 0 to 128 bytes each way, whatever pargen.xml asks for.
inline constexpr size_t kDeviceAreaBytes = 128;
// The GSD file cuts each area into modules of at most this many bytes, one module per slot.
inline constexpr size_t kModuleBytes = 64;
// A PLC addresses bytes up to 65535, so no tag may be placed past it.
inline constexpr size_t kLastPlcByte = 65535;

// The number of modules of at most 64 bytes; a negative count still gives one module for its remainder,
// so that "Max_Module" and the slot list come out as the master's tool has always read them.
int32_t ModuleCount(int32_t byteCount);

// How many bytes of an area of `areaSize` (pargen.xml's count) the device fills: 0 to 128.
size_t UsableAreaBytes(int32_t areaSize);

// A start the user gave one slot; `position` counts the slots of its direction from 1, so a change of the
// other direction's size, which renumbers the GSD's slots, leaves the start with the same module.
struct SlotStart {
    AreaDirection direction = AreaDirection::Input;
    size_t position = 1;
    size_t start = 0;
    bool operator==(const SlotStart&) const = default;
};

// One slot of the GSD file and where the master places its module in the PLC.
struct ProfibusSlot {
    int number = 0;  // the GSD's slot number: input slots 1..ModIn, then the output slots
    AreaDirection direction = AreaDirection::Input;
    size_t position = 1;    // among the slots of its direction, from 1
    size_t first = 0;       // the area's byte carried first by the module
    size_t size = 0;        // the module's bytes, 1 to 64
    size_t start = 0;       // the PLC address of the module's first byte
    bool startSet = false;  // given by the user; otherwise it follows the slot before it
    bool operator==(const ProfibusSlot&) const = default;
};

// Why a selected byte has no PLC address.
enum class FitProblem { None, PastArea, PastDevice, PastLastPlcByte };

// Where one byte of a PROFIBUS area lands in the PLC.
struct ProfibusAddress {
    int slot = 0;           // the GSD's slot number; 0 when the byte does not fit
    size_t slotOffset = 0;  // the byte within the slot's module
    size_t address = 0;     // the slot's start + slotOffset
    bool fits = false;
    FitProblem problem = FitProblem::None;
    bool operator==(const ProfibusAddress&) const = default;
};

// The slots of a project's two areas with their starts: the one place a byte's PLC address is worked out, for
// the byte editor, the check, the map, the report and every export alike. Each slot starts where the user
// put it, or right after the slot before it of its direction; the first slot of a direction at 0 unless given.
class ProfibusLayout {
public:
    ProfibusLayout() = default;
    ProfibusLayout(ProfibusAreas areas, const std::vector<SlotStart>& starts);

    const std::vector<ProfibusSlot>& Slots() const { return slots_; }
    // The slot of that GSD number, or none.
    const ProfibusSlot* SlotNumbered(int number) const;
    int32_t AreaSize(AreaDirection direction) const;
    // `offset` is the byte's 0-based place in its area, as the gateway packs the selected bytes.
    ProfibusAddress Address(AreaDirection direction, size_t offset) const;

private:
    ProfibusAreas areas_;
    std::vector<ProfibusSlot> slots_;
};

// Why a start cannot be used, naming the slots: two slots of one direction that overlap, or a slot that puts a
// fitting byte past kLastPlcByte when `selectedIn`/`selectedOut` bytes are selected. Nullopt when none.
std::optional<std::string> SlotStartProblem(const ProfibusLayout& layout, size_t selectedIn, size_t selectedOut);

// STEP 7's spelling of a byte address: "IB 12", "QB 3".
std::string PlcByteAddress(AreaDirection direction, size_t address);
// The spelling of the address of a value of `size` bytes (1, 2, 4 or 8): "IB 12", "IW 12", "QD 4", and "IL 8" as
// IEC 61131-3 writes a long word.
std::string PlcAddressText(AreaDirection direction, size_t address, size_t size);

// "past the 100 bytes of pargen.xml", "past the device's 128 bytes": why a byte of an area of `areaSize` has
// no address.
std::string FitProblemText(FitProblem problem, int32_t areaSize);

}  // namespace tessara::documents
