#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessara::documents {

// How the selected DeviceNet bytes of one direction fill the PROFIBUS area of the same direction.
struct AreaFit {
    size_t selected = 0;
    int32_t area = 0;  // the count of pargen.xml
};

// How a bar draws one PROFIBUS area (the device's part of it) against the DeviceNet bytes selected for it, in
// thousandths of the bar's length. The scale is the larger of the two, so bytes beyond the area show past its end. All
// parts are 0 when both are 0.
struct AreaBar {
    int used = 0;      // selected bytes that fit the area
    int unused = 0;    // bytes of the area nothing fills
    int overflow = 0;  // selected bytes beyond the area
};

AreaBar AreaBarFor(const AreaFit& fit);

// How many selected bytes do not fit the area, or the device's part of it; 0 when they all do.
size_t BytesBeyondArea(const AreaFit& fit);

// "5 of 16 bytes used" or "20 bytes selected for 16: 4 too many"; an area past the device's 128 bytes counts as 128.
std::string AreaFitText(const AreaFit& fit);

}  // namespace tessara::documents
