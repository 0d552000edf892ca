#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace tessara::cli {

// The options of `tessara tag add`, as given.
struct TagOptions {
    std::optional<std::string> node;
    bool input = false;
    bool output = false;
    std::optional<std::string> byte;
    std::optional<std::string> type;
    std::optional<std::string> name;
    std::optional<std::string> byteOrder;

    // Whether any option of tag add's own is given.
    bool Any() const;
};

// Takes `arg` (and its value from argv[i + 1], advancing `i`) when it is one of tag add's options.
bool TakeTagOption(TagOptions& options, int argc, char** argv, int& i);

// A usage error of tag add's options alone (one missing, a value that is no number, type or byte order), or empty.
std::string TagOptionsProblem(const TagOptions& options);

// Adds the typed tag the options describe to PlcMap.xml and says where the PLC reads it. 1 when the project cannot
// be read or the tag cannot be made (the reason on err), and nothing is written.
int RunTagAdd(const std::string& projectDir, const TagOptions& options, std::ostream& out, std::ostream& err);

// Lists the typed tags of PlcMap.xml with their addresses and faults, as a table or as JSON.
int RunTagList(const std::string& projectDir, bool json, std::ostream& out, std::ostream& err);

// Removes the typed tag of that name, in any case, from PlcMap.xml. 1 when there is none.
int RunTagRemove(const std::string& projectDir, const std::string& name, std::ostream& out, std::ostream& err);

}  // namespace tessara::cli
