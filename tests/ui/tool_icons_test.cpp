#include "ui/tool_icons.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPixmap>

using tessara::ui::Glyph;
using tessara::ui::ToolIcon;

namespace {

const Glyph kAll[] = {Glyph::NewFile, Glyph::OpenFolder, Glyph::Step,   Glyph::SendToDevice,
                      Glyph::About,   Glyph::Ok,         Glyph::Cancel, Glyph::Reload};

QImage Picture(Glyph glyph, qreal ratio, QIcon::Mode mode = QIcon::Normal) {
    return ToolIcon(glyph).pixmap(QSize(16, 16), ratio, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

int MostSaturated(const QImage& image) {
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) most = std::max(most, QColor(image.pixel(x, y)).hsvSaturation());
    return most;
}

}  // namespace

// Drawn at the screen's density, not scaled up from a small picture, on a transparent ground around the glyph.
TEST(ToolIcons, EveryGlyphIsDrawnAtTheAskedDensityOnATransparentGround) {
    for (Glyph glyph : kAll) {
        SCOPED_TRACE(static_cast<int>(glyph));
        for (qreal ratio : {1.0, 2.0}) {
            const QImage image = Picture(glyph, ratio);
            ASSERT_EQ(image.size(), QSize(16, 16) * ratio);
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
            EXPECT_GT(OpaquePixels(image), image.width() * image.height() / 10);
        }
    }
}

TEST(ToolIcons, DisabledGlyphsLoseTheirColour) {
    for (Glyph glyph : kAll) {
        if (glyph == Glyph::NewFile) continue;  // white and grey already
        SCOPED_TRACE(static_cast<int>(glyph));
        EXPECT_GT(MostSaturated(Picture(glyph, 1.0)), 150);
        EXPECT_LT(MostSaturated(Picture(glyph, 1.0, QIcon::Disabled)), 40);
    }
}
