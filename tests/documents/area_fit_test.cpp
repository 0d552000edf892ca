#include "documents/area_fit.h"

#include <gtest/gtest.h>

using namespace tessara::documents;

namespace {

TEST(AreaFit, BarsShowUseGapAndOverflowOnOneScale) {
    struct Case {
        AreaFit fit;
        int used, unused, overflow;
        const char* text;
    };
    const Case cases[] = {
        {{5, 16}, 312, 688, 0, "5 of 16 bytes used"},
        {{20, 16}, 800, 0, 200, "20 bytes selected for 16: 4 too many"},
        {{3, 3}, 1000, 0, 0, "3 of 3 bytes used"},
        {{0, 1}, 0, 1000, 0, "0 of 1 byte used"},
        {{0, 0}, 0, 0, 0, "0 of 0 bytes used"},
        {{2, -1}, 0, 0, 1000, "2 bytes selected for 0: 2 too many"},
        // The device fills 128 bytes of an area however large pargen.xml makes it.
        {{150, 200}, 853, 0, 147, "150 bytes selected for 128: 22 too many (the device takes 128 of the 200)"},
        {{100, 200}, 781, 219, 0, "100 of 128 bytes used (the device takes 128 of the 200)"},
    };
    for (const Case& c : cases) {
        const AreaBar bar = AreaBarFor(c.fit);
        EXPECT_EQ(bar.used, c.used) << c.text;
        EXPECT_EQ(bar.unused, c.unused) << c.text;
        EXPECT_EQ(bar.overflow, c.overflow) << c.text;
        EXPECT_EQ(AreaFitText(c.fit), c.text);
    }
}

}  // namespace
