#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace tessara::documents {

// What the network editor takes from a device's EDS file: the byte counts of its default polled I/O
// connection and its product name.
struct EdsDevice {
    uint16_t InputBytes = 0;
    uint16_t OutputBytes = 0;
    std::optional<std::string> ProdName;  // UTF-8; absent when [Device] has no ProdName
};

// An EDS file that cannot give the polled connection. The message names the file, the line and what is wrong.
class EdsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the EDS text; `name` stands for the file in messages. [IO_Info] PollInfo names the default input and
// output entries (its second and third fields; 0 means the connection has no data in that direction), and
// the first field of that InputN / OutputN entry is its size in bytes. Throws EdsError.
EdsDevice ParseEds(const std::string& text, const std::string& name);
// ParseEds on the file's content; a file that cannot be read throws std::runtime_error with the reason.
EdsDevice ReadEdsFile(const std::string& path);

}  // namespace tessara::documents
