#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/typed_tag.h"

namespace tessara::documents {

// A value of a polled assembly, as the device's [Assembly] and [Params] describe it.
struct EdsMember {
    std::string name;   // the parameter's name, UTF-8
    size_t offset = 0;  // the first byte it touches in the connection's data, from 0
    size_t size = 0;    // how many bytes it touches
    // The tag its bytes are read as; none when it is not whole bytes or its data type has no tag type here.
    std::optional<TagType> type;
    bool operator==(const EdsMember&) const = default;
};

// What the network editor takes from a device's EDS file: the byte counts of its default polled I/O
// connection, its product name and, where the file describes them, the values each direction carries.
struct EdsDevice {
    uint16_t InputBytes = 0;
    uint16_t OutputBytes = 0;
    std::optional<std::string> ProdName;  // UTF-8; absent when [Device] has no ProdName
    // The parameters of the polled assemblies, in assembly order; padding is left out.
    std::vector<EdsMember> inputMembers;
    std::vector<EdsMember> outputMembers;
    // Why a described assembly gives no members ("x.eds, line 12: ..."): the counts still stand.
    std::vector<std::string> memberProblems;
};

// An EDS file that cannot give the polled connection. The message names the file, the line and what is wrong.
class EdsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the EDS text; `name` stands for the file in messages. [IO_Info] PollInfo names the default input and
// output entries (its second and third fields; 0 means the connection has no data in that direction), and
// the first field of that InputN / OutputN entry is its size in bytes. Where that entry's path (its sixth field)
// names an assembly instance that [Assembly] describes member by member, each member that refers to a [Params]
// entry is read with that parameter's name and data type; a fault there gives no members for that direction
// and a memberProblems entry, never an EdsError. Throws EdsError.
EdsDevice ParseEds(const std::string& text, const std::string& name);
// ParseEds on the file's content; a file that cannot be read throws std::runtime_error with the reason.
EdsDevice ReadEdsFile(const std::string& path);

}  // namespace tessara::documents
