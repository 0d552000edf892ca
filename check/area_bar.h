#pragma once

#include <string>

#include "check/project_check.h"

namespace tessara::check {

// How a bar draws one PROFIBUS area against the DeviceNet bytes selected for it, in thousandths of the bar's
// length. The scale is the larger of the two, so bytes beyond the area show past its end. All parts are 0 when
// both are 0.
struct AreaBar {
    int used = 0;      // selected bytes that fit the area
    int unused = 0;    // bytes of the area nothing fills
    int overflow = 0;  // selected bytes beyond the area
};

AreaBar AreaBarFor(const AreaFit& fit);

// How many selected bytes do not fit the area; 0 when they all do.
size_t BytesBeyondArea(const AreaFit& fit);

// "5 of 16 bytes used" or "20 bytes selected for 16: 4 too many".
std::string AreaFitText(const AreaFit& fit);

}  // namespace tessara::check
