#pragma once

#include <cstdint>
#include <string>

namespace tessara::documents {

class DocumentFile;

// The largest PROFIBUS area the device takes, in bytes, on either side.
inline constexpr int32_t kProfibusAreaMax = 128;

// The byte counts of the gateway's PROFIBUS input and output areas, as pargen.xml holds them.
struct ProfibusAreas {
    int32_t NbIn = 0;
    int32_t NbOut = 0;
    // Why a count is 0 without pargen.xml saying so: the reader's error for a missing element or a text that is
    // no integer. Empty when the count was read, and when there is no pargen.xml.
    std::string NbInUnread{};
    std::string NbOutUnread{};
};

// The PROFIBUS areas of the project's own pargen.xml. A missing document, or a count that is missing or not an
// integer, gives 0, as at program start: never the sizes of another project. A pargen.xml that is not XML
// throws ParseError.
ProfibusAreas ReadProfibusAreas(DocumentFile& pargen);
ProfibusAreas ReadProfibusAreas(const std::string& projectDir);

}  // namespace tessara::documents
