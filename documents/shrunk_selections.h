#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "documents/network_reorder.h"

namespace tessara::documents {

class DocumentFile;

// A node of the network editor's list whose lowered byte count leaves selected bytes of DefByte.xml behind.
struct ShrunkSelection {
    size_t row = 0;  // from 0, where the node stands now
    std::string ID;
    size_t inputs = 0;  // selected bytes beyond the new counts
    size_t outputs = 0;
    bool operator==(const ShrunkSelection&) const = default;
};

// The nodes of `grid`'s list whose "N BYTE IN" or "N BYTE OUT" is now below what it was when `loaded` was read,
// with the selected bytes of DefByte.xml between the two counts, which the next Define Byte OK drops. A byte
// document that is missing or cannot be read gives none: the save reports a fault in it.
std::vector<ShrunkSelection> SelectionsLostByShrinking(DocumentFile& bytes, const DNetRows& loaded,
                                                       const NetworkGrid& grid);

// "Node 3 (ID 12) loses 2 selected input bytes. Continue?", one line per node when there are several.
std::string ShrunkSelectionsQuestion(const std::vector<ShrunkSelection>& lost);

}  // namespace tessara::documents
