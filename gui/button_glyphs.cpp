#include "gui/button_glyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <map>
#include <utility>

namespace {

const QColor Green(0x00, 0x80, 0x00);
const QColor Red(0xC0, 0x00, 0x00);
const QColor Wood(0x80, 0x50, 0x20);
const QColor Disabled(0x80, 0x80, 0x80);

QPainterPath CheckMark(QPointF offset)
{
    QPainterPath path;
    path.moveTo(offset + QPointF(2.5, 8.5));
    path.lineTo(offset + QPointF(6, 12));
    path.lineTo(offset + QPointF(13.5, 3.5));
    return path;
}

// Draws in a 16 x 16 design square.
void Draw(ButtonGlyph glyph, QPainter &painter, bool enabled)
{
    const auto colour = [enabled](const QColor &c) { return enabled ? c : Disabled; };
    const auto stroke = [&](const QPainterPath &path, const QColor &c, qreal width) {
        painter.strokePath(path, QPen(colour(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    switch (glyph) {
    case ButtonGlyph::Ok:
        stroke(CheckMark({0, 0}), Green, 2.4);
        break;
    case ButtonGlyph::Yes: {
        QPainterPath ring;
        ring.addEllipse(QPointF(8, 8), 6.8, 6.8);
        stroke(ring, Green, 1.2);
        QPainterPath check;
        check.moveTo(4.5, 8.5);
        check.lineTo(7, 11);
        check.lineTo(11.5, 5);
        stroke(check, Green, 2);
        break;
    }
    case ButtonGlyph::All:
        painter.scale(0.8, 0.8);
        stroke(CheckMark({-1, 0}), Green, 2.4);
        stroke(CheckMark({5, 5}), Green, 2.4);
        break;
    case ButtonGlyph::Abort: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour(Red));
        painter.drawEllipse(QPointF(8, 8), 7, 7);
        QPainterPath cross;
        cross.moveTo(5, 5);
        cross.lineTo(11, 11);
        cross.moveTo(11, 5);
        cross.lineTo(5, 11);
        stroke(cross, Qt::white, 2);
        break;
    }
    case ButtonGlyph::Retry: {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(2.5, 2.5, 11, 11), 90);
        arc.arcTo(QRectF(2.5, 2.5, 11, 11), 90, 270);
        stroke(arc, Green, 2);
        QPainterPath head;
        head.moveTo(8, 0.5);
        head.lineTo(11.5, 3);
        head.lineTo(8, 5.5);
        head.closeSubpath();
        painter.fillPath(head, colour(Green));
        break;
    }
    case ButtonGlyph::Close: {
        // An open door in its frame.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour(Wood), 1.2));
        painter.drawRect(QRectF(3.5, 1.5, 9, 13));
        QPainterPath leaf;
        leaf.moveTo(3.5, 1.5);
        leaf.lineTo(8.5, 3.5);
        leaf.lineTo(8.5, 16);
        leaf.lineTo(3.5, 14.5);
        leaf.closeSubpath();
        painter.fillPath(leaf, colour(Wood));
        painter.fillRect(QRectF(6.5, 8, 1.2, 1.5), enabled ? QColor(Qt::yellow) : QColor(Qt::lightGray));
        break;
    }
    }
}

class GlyphEngine : public QIconEngine
{
public:
    explicit GlyphEngine(ButtonGlyph glyph) : m_glyph(glyph) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const int side = std::min(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / 16.0, side / 16.0);
        Draw(m_glyph, *painter, mode != QIcon::Disabled);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        // Buttons ask again at every repaint.
        const bool enabled = mode != QIcon::Disabled;
        QPixmap &pixmap = m_pixmaps[enabled][{size.width(), size.height()}];
        if (pixmap.size() != size) {
            pixmap = QPixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(), size), mode, state);
        }
        return pixmap;
    }

    QIconEngine *clone() const override { return new GlyphEngine(m_glyph); }
    QString key() const override { return QStringLiteral("ButtonGlyph"); }

private:
    ButtonGlyph m_glyph;
    std::map<std::pair<int, int>, QPixmap> m_pixmaps[2];
};

} // namespace

QIcon ButtonGlyphIcon(ButtonGlyph glyph)
{
    return QIcon(new GlyphEngine(glyph));
}
