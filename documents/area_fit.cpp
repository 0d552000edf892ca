#include "documents/area_fit.h"

#include <algorithm>

#include "documents/profibus_slots.h"

namespace tessara::documents {

namespace {

constexpr int kWhole = 1000;

// An area that pargen.xml makes larger than the device's is counted at the device's size, and said so.
std::string DeviceShare(const AreaFit& fit) {
    if (static_cast<size_t>(std::max(fit.area, 0)) <= kDeviceAreaBytes) return {};
    return " (the device takes " + std::to_string(kDeviceAreaBytes) + " of the " + std::to_string(fit.area) + ")";
}

}  // namespace

AreaBar AreaBarFor(const AreaFit& fit) {
    const size_t area = UsableAreaBytes(fit.area);
    const size_t scale = std::max(area, fit.selected);
    if (scale == 0) return {};
    AreaBar bar;
    bar.used = static_cast<int>(std::min(area, fit.selected) * kWhole / scale);
    // The larger remainder takes the rounding, so the parts always fill the bar.
    if (fit.selected > area) {
        bar.overflow = kWhole - bar.used;
    } else {
        bar.unused = kWhole - bar.used;
    }
    return bar;
}

size_t BytesBeyondArea(const AreaFit& fit) {
    const size_t area = UsableAreaBytes(fit.area);
    return fit.selected > area ? fit.selected - area : 0;
}

std::string AreaFitText(const AreaFit& fit) {
    const size_t area = UsableAreaBytes(fit.area);
    if (const size_t beyond = BytesBeyondArea(fit)) {
        return std::to_string(fit.selected) + " bytes selected for " + std::to_string(area) + ": " +
               std::to_string(beyond) + " too many" + DeviceShare(fit);
    }
    return std::to_string(fit.selected) + " of " + std::to_string(area) + (area == 1 ? " byte" : " bytes") + " used" +
           DeviceShare(fit);
}

}  // namespace tessara::documents
