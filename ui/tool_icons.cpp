#include "ui/tool_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>
#include <algorithm>

namespace tessara::ui {

namespace {

// Glyphs are drawn on a grid of 16 x 16 units; lines of one unit lie on half units so that they fill whole pixels
// at 16 and 32 pixels.
const QColor kOutline(110, 110, 110);
const QColor kGreen(78, 154, 6);
const QColor kDarkGreen(56, 115, 4);
const QColor kBlue(52, 101, 164);
const QColor kDarkBlue(32, 74, 135);
const QColor kLightBlue(114, 159, 207);
const QColor kRed(204, 0, 0);

void Fill(QPainter& painter, const QPolygonF& shape, const QColor& fill, const QColor& outline) {
    painter.setPen(QPen(outline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(fill);
    painter.drawPolygon(shape);
}

void Stroke(QPainter& painter, const QPolygonF& line, const QColor& colour) {
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
}

void Disc(QPainter& painter, const QColor& fill, const QColor& outline) {
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(8, 8), 7, 7);
}

void NewFile(QPainter& painter) {
    Fill(painter, QPolygonF({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}), Qt::white, kOutline);
    Fill(painter, QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}), QColor(220, 220, 220), kOutline);
}

void OpenFolder(QPainter& painter) {
    Fill(painter, QPolygonF({{1.5, 2.5}, {6.5, 2.5}, {7.5, 3.5}, {13.5, 3.5}, {13.5, 13.5}, {1.5, 13.5}}), kBlue,
         kDarkBlue);
    Fill(painter, QPolygonF({{3.5, 6.5}, {15.5, 6.5}, {13.5, 13.5}, {1.5, 13.5}}), kLightBlue, kDarkBlue);
}

// A white arrow in a green disc, pointing right, or turned by the given angle (clockwise, in degrees).
void ArrowInDisc(QPainter& painter, qreal turn) {
    Disc(painter, kGreen, kDarkGreen);
    painter.translate(8, 8);
    painter.rotate(turn);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({{-4.5, -1.25}, {0, -1.25}, {0, -4}, {4.5, 0}, {0, 4}, {0, 1.25}, {-4.5, 1.25}}));
}

void About(QPainter& painter) {
    Disc(painter, kBlue, kDarkBlue);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(8, 4.75), 1.25, 1.25);
    painter.drawRect(QRectF(6.75, 7, 2.5, 5.5));
}

// Most of a circle, open on the right, with the arrow head at its lower end pointing on upwards.
void Reload(QPainter& painter) {
    const QRectF circle(3, 3, 10, 10);
    QPainterPath arc;
    arc.arcMoveTo(circle, 60);
    arc.arcTo(circle, 60, 240);
    painter.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);

    const qreal end = qDegreesToRadians(300.0);
    const QPointF tip = circle.center() + QPointF(5 * qCos(end), -5 * qSin(end));
    const QPointF along(-qSin(end), -qCos(end));  // the way the arc runs at its end
    const QPointF outward(qCos(end), -qSin(end));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlue);
    painter.drawPolygon(QPolygonF({tip + along * 4, tip + outward * 3.25, tip - outward * 3.25}));
}

void Draw(Glyph glyph, QPainter& painter) {
    switch (glyph) {
        case Glyph::NewFile:
            return NewFile(painter);
        case Glyph::OpenFolder:
            return OpenFolder(painter);
        case Glyph::Step:
            return ArrowInDisc(painter, 0);
        case Glyph::SendToDevice:
            return ArrowInDisc(painter, -90);
        case Glyph::About:
            return About(painter);
        case Glyph::Ok:
            return Stroke(painter, QPolygonF({{3, 8.5}, {6.5, 12}, {13, 4.5}}), kGreen);
        case Glyph::Cancel:
            Stroke(painter, QPolygonF({{4, 4}, {12, 12}}), kRed);
            return Stroke(painter, QPolygonF({{12, 4}, {4, 12}}), kRed);
        case Glyph::Reload:
            return Reload(painter);
    }
}

class GlyphIconEngine final : public QIconEngine {
public:
    explicit GlyphIconEngine(Glyph glyph) : glyph_(glyph) {}

    QIconEngine* clone() const override { return new GlyphIconEngine(glyph_); }

    // `size` is in device pixels: the icon asks for the size it is shown at times the screen's pixel ratio.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal side = std::min(size.width(), size.height());
            painter.translate((size.width() - side) / 2, (size.height() - side) / 2);
            painter.scale(side / 16, side / 16);
            Draw(glyph_, painter);
        }
        if (mode != QIcon::Disabled) return picture;
        // Greyed as the style greys every other icon.
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, picture, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

private:
    Glyph glyph_;
};

}  // namespace

QIcon ToolIcon(Glyph glyph) {
    return QIcon(new GlyphIconEngine(glyph));
}

}  // namespace tessara::ui
