#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tessara::cli {

// The options of `tessara map`, as given.
struct MapOptions {
    std::vector<std::string> formats;  // --csv, --sdf, --plcopen
    bool json = false;
    std::optional<std::string> inputStart;
    std::optional<std::string> outputStart;
    std::vector<std::string> slotStarts;  // SLOT=ADDRESS, each --slot-start
    std::optional<std::string> symbols;
    bool bom = false;
    std::optional<std::string> against;
    bool record = false;
    std::optional<std::string> plcByteOrder;  // big or little, for this run (and kept with --record)
    bool swapProgram = false;                 // --swap-pou

    // Whether any option of map's own is given (--json is shared with check and inspect).
    bool Any() const;
};

// Takes `arg` (and its value from argv[i + 1], advancing `i`) when it is one of map's options.
bool TakeMapOption(MapOptions& options, int argc, char** argv, int& i);

// A usage error of the options alone, or empty.
std::string MapOptionsProblem(const MapOptions& options);

// Prints the address map of the project (or, with --against, how its tags moved since an earlier export) and
// records it in PlcMap.xml with --record. 1 when a selected byte has no address, or a tag moved or was removed.
int RunMap(const std::string& projectDir, const MapOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tessara::cli
