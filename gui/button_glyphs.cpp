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

// Paints in a 16 x 16 design square, in grey when disabled.
struct GlyphPainter {
    QPainter &painter;
    bool enabled;

    QColor colour(const QColor &c) const { return enabled ? c : Disabled; }
    void stroke(const QPainterPath &path, const QColor &c, qreal width) const
    {
        painter.strokePath(path, QPen(colour(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
};

void DrawYes(const GlyphPainter &glyph)
{
    QPainterPath ring;
    ring.addEllipse(QPointF(8, 8), 6.8, 6.8);
    glyph.stroke(ring, Green, 1.2);
    QPainterPath check;
    check.moveTo(4.5, 8.5);
    check.lineTo(7, 11);
    check.lineTo(11.5, 5);
    glyph.stroke(check, Green, 2);
}

void DrawAll(const GlyphPainter &glyph)
{
    glyph.painter.scale(0.8, 0.8);
    glyph.stroke(CheckMark({-1, 0}), Green, 2.4);
    glyph.stroke(CheckMark({5, 5}), Green, 2.4);
}

void DrawAbort(const GlyphPainter &glyph)
{
    glyph.painter.setPen(Qt::NoPen);
    glyph.painter.setBrush(glyph.colour(Red));
    glyph.painter.drawEllipse(QPointF(8, 8), 7, 7);
    QPainterPath cross;
    cross.moveTo(5, 5);
    cross.lineTo(11, 11);
    cross.moveTo(11, 5);
    cross.lineTo(5, 11);
    glyph.stroke(cross, Qt::white, 2);
}

void DrawRetry(const GlyphPainter &glyph)
{
    QPainterPath arc;
    arc.arcMoveTo(QRectF(2.5, 2.5, 11, 11), 90);
    arc.arcTo(QRectF(2.5, 2.5, 11, 11), 90, 270);
    glyph.stroke(arc, Green, 2);
    QPainterPath head;
    head.moveTo(8, 0.5);
    head.lineTo(11.5, 3);
    head.lineTo(8, 5.5);
    head.closeSubpath();
    glyph.painter.fillPath(head, glyph.colour(Green));
}

// An open door in its frame.
void DrawClose(const GlyphPainter &glyph)
{
    QPainter &painter = glyph.painter;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(glyph.colour(Wood), 1.2));
    painter.drawRect(QRectF(3.5, 1.5, 9, 13));
    QPainterPath leaf;
    leaf.moveTo(3.5, 1.5);
    leaf.lineTo(8.5, 3.5);
    leaf.lineTo(8.5, 16);
    leaf.lineTo(3.5, 14.5);
    leaf.closeSubpath();
    painter.fillPath(leaf, glyph.colour(Wood));
    painter.fillRect(QRectF(6.5, 8, 1.2, 1.5), glyph.enabled ? QColor(Qt::yellow) : QColor(Qt::lightGray));
}

void Draw(ButtonGlyph glyph, QPainter &painter, bool enabled)
{
    const GlyphPainter glyphPainter{painter, enabled};
    switch (glyph) {
    case ButtonGlyph::Ok:
        glyphPainter.stroke(CheckMark({0, 0}), Green, 2.4);
        break;
    case ButtonGlyph::Yes:
        DrawYes(glyphPainter);
        break;
    case ButtonGlyph::All:
        DrawAll(glyphPainter);
        break;
    case ButtonGlyph::Abort:
        DrawAbort(glyphPainter);
        break;
    case ButtonGlyph::Retry:
        DrawRetry(glyphPainter);
        break;
    case ButtonGlyph::Close:
        DrawClose(glyphPainter);
        break;
    }
}

class GlyphEngine : public QIconEngine
{
public:
    explicit GlyphEngine(ButtonGlyph glyph)
        : m_glyph(glyph)
    {
    }

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
