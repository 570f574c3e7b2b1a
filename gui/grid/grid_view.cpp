#include "gui/grid/grid_view.h"

#include "base/windows1252_text.h"
#include "gui/grid/grid_accessible.h"

#include <QAccessible>
#include <QPainter>
#include <QPaintEvent>
#include <QtMath>

#include <algorithm>
#include <string_view>

namespace {

constexpr int CellSide = 12;
constexpr int CellPitch = 15;
constexpr int GridLeft = 55;
constexpr int GridTop = 60;
constexpr int LabelSide = 15;

const QColor CellBackground(0xFF, 0xFF, 0x00);
const QColor BevelLight(0xFF, 0xFF, 0xFF);
const QColor BevelShadow(0x80, 0x80, 0x80);
const QColor RedText(0xFF, 0x00, 0x00);

const abc::LabelArray &labelArray(const abc::WorkbenchState &state, GridView::LabelFamily family)
{
    switch (family) {
    case GridView::LabelFamily::ColumnNumber:
        return state.ColumnNumberLabels;
    case GridView::LabelFamily::KeyLetter:
        return state.KeyLetterLabels;
    case GridView::LabelFamily::RowNumber:
        return state.RowNumberLabels;
    case GridView::LabelFamily::RedRowNumber:
        break;
    }
    return state.RedRowNumberLabels;
}

} // namespace

GridView::GridView(const abc::WorkbenchState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    installGridAccessibility();

    // The style hints pick a fitting face where no substitution is set up.
    m_cellFont = QFont(QStringLiteral("CourierNew"));
    m_cellFont.setStyleHint(QFont::TypeWriter);
    m_cellFont.setPixelSize(11);
    m_cellFont.setBold(true);

    m_labelFont = QFont(QStringLiteral("Times New Roman"));
    m_labelFont.setStyleHint(QFont::Serif);
    m_labelFont.setPixelSize(11);
    m_labelFont.setBold(true);
    m_labelRawFont = QRawFont::fromFont(m_labelFont.resolve(font()));

    resize(sizeHint());
}

QRect GridView::cellRect(int index)
{
    const int row = index / abc::GridSide;
    const int column = index % abc::GridSide;
    return {GridLeft + CellPitch * column, GridTop + CellPitch * row, CellSide, CellSide};
}

QRect GridView::labelRect(LabelFamily family, int i)
{
    switch (family) {
    case LabelFamily::ColumnNumber:
        return {GridLeft + CellPitch * i, 20, LabelSide, LabelSide};
    case LabelFamily::KeyLetter:
        return {GridLeft + CellPitch * i, 40, LabelSide, LabelSide};
    case LabelFamily::RowNumber:
        return {10, GridTop + CellPitch * i, LabelSide, LabelSide};
    case LabelFamily::RedRowNumber:
        break;
    }
    return {30, GridTop + CellPitch * i, LabelSide, LabelSide};
}

int GridView::cellAt(QPoint pos)
{
    if (pos.x() < GridLeft || pos.y() < GridTop)
        return -1;
    const int column = (pos.x() - GridLeft) / CellPitch;
    const int row = (pos.y() - GridTop) / CellPitch;
    if (column >= abc::GridSide || row >= abc::GridSide)
        return -1;
    const int index = abc::CellIndex(row, column);
    return cellRect(index).contains(pos) ? index : -1;
}

const abc::GridLabel &GridView::label(LabelFamily family, int i) const
{
    return labelArray(m_state, family)[i];
}

QString GridView::cellCaption(int index) const
{
    return FromWindows1252(std::string_view(&m_state.GridCells[index].caption, 1));
}

QString GridView::labelCaption(LabelFamily family, int i) const
{
    return FromWindows1252(label(family, i).caption);
}

void GridView::refresh()
{
    // A step often changes a part of the grid, or nothing of it (the cut of
    // a full matrix, say); repainting all of it would cost the most of any
    // control.
    QRect dirty;
    for (int k = 0; k < abc::CellCount; ++k) {
        if (!m_shownValid || m_state.GridCells[k] != m_shownCells[k])
            dirty |= cellRect(k);
    }
    for (int f = 0; f < LabelFamilyCount; ++f) {
        const auto family = static_cast<LabelFamily>(f);
        const abc::LabelArray &labels = labelArray(m_state, family);
        for (int i = 0; i < abc::GridSide; ++i) {
            if (m_shownValid && labels[i] == m_shownLabels[f][i])
                continue;
            // A caption may run past its box, to the right.
            const QRect box = labelRect(family, i);
            dirty |= QRect(box.left(), box.top(), width() - box.left(), box.height());
        }
        m_shownLabels[f] = labels;
    }
    m_shownCells = m_state.GridCells;
    m_shownValid = true;
    if (dirty.isEmpty())
        return;

    update(dirty);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(0);
        event.setLastRow(abc::GridSide - 1);
        event.setFirstColumn(0);
        event.setLastColumn(abc::GridSide - 1);
        QAccessible::updateAccessibility(&event);
    }
}

QSize GridView::sizeHint() const
{
    return {857, 737};
}

void GridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // The painter's scale, not the widget's: render() may paint into a
    // device of another pixel ratio.
    const QTransform toDevice = painter.deviceTransform();
    const bool upright = toDevice.type() <= QTransform::TxScale && toDevice.m11() > 0;
    const qreal ratio = upright ? toDevice.m11() : devicePixelRatioF();
    if (ratio != m_cacheRatio) {
        m_cellImages.fill(QImage());
        m_cacheRatio = ratio;
    }
    const QRect exposed = event->rect();
    paintCells(painter, exposed, upright);
    paintLabels(painter, exposed);
}

void GridView::paintCells(QPainter &painter, const QRect &exposed, bool upright)
{
    const QRect grid(cellRect(0).topLeft(), cellRect(abc::CellCount - 1).bottomRight());
    const QRect area = exposed.intersected(grid);
    if (area.isEmpty())
        return;
    const int firstColumn = (area.left() - GridLeft) / CellPitch;
    const int lastColumn = std::min((area.right() - GridLeft) / CellPitch, abc::GridSide - 1);
    const int firstRow = (area.top() - GridTop) / CellPitch;
    const int lastRow = std::min((area.bottom() - GridTop) / CellPitch, abc::GridSide - 1);

    // Cells go to whole device pixels unscaled: Qt blits those, while a
    // scaled image takes a much slower path at fractional ratios.
    const QTransform toDevice = painter.deviceTransform();
    painter.save();
    if (upright)
        painter.setWorldTransform(toDevice.inverted(), true);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int index = abc::CellIndex(row, column);
            const abc::GridCell &cell = m_state.GridCells[index];
            if (!cell.visible)
                continue;
            const QRect box = cellRect(index);
            const QImage &image = cellImage(static_cast<unsigned char>(cell.caption));
            if (upright) {
                // Round halves the same way wherever the origin lies.
                const QPointF at = toDevice.map(QPointF(box.topLeft()));
                painter.drawImage(QPoint(qFloor(at.x() + 0.5), qFloor(at.y() + 0.5)), image);
            } else {
                painter.drawImage(QRectF(box), image);
            }
        }
    }
    painter.restore();
}

void GridView::paintLabels(QPainter &painter, const QRect &exposed)
{
    for (const LabelFamily family :
         {LabelFamily::ColumnNumber, LabelFamily::RowNumber, LabelFamily::KeyLetter, LabelFamily::RedRowNumber}) {
        const bool red = family == LabelFamily::KeyLetter || family == LabelFamily::RedRowNumber;
        painter.setPen(red ? RedText : QColor(Qt::black));
        const abc::LabelArray &labels = labelArray(m_state, family);
        for (int i = 0; i < abc::GridSide; ++i) {
            if (!labels[i].visible)
                continue;
            const LabelCache &cache = labelCache(family, i);
            const QRect box = labelRect(family, i);
            // Like an autosizing label the caption may run past its box.
            const QRect inked = QRect(box.topLeft(), cache.size.toSize() + QSize(1, 1));
            if (box.united(inked).intersects(exposed))
                painter.drawGlyphRun(box.topLeft(), cache.glyphs);
        }
    }
}

const QImage &GridView::cellImage(unsigned char caption)
{
    QImage &image = m_cellImages[caption];
    if (!image.isNull())
        return image;

    // Drawn in device pixels so that the bevel stays crisp at any scale.
    const qreal ratio = m_cacheRatio;
    const int side = qRound(CellSide * ratio);
    const int bevel = std::max(1, qRound(ratio));
    image = QImage(side, side, QImage::Format_RGB32);
    image.fill(CellBackground);
    QPainter painter(&image);
    painter.fillRect(0, 0, side, bevel, BevelLight);
    painter.fillRect(0, 0, bevel, side, BevelLight);
    painter.fillRect(0, side - bevel, side, bevel, BevelShadow);
    painter.fillRect(side - bevel, 0, bevel, side, BevelShadow);
    if (caption != ' ') {
        painter.setClipRect(bevel, bevel, side - 2 * bevel, side - 2 * bevel);
        painter.scale(ratio, ratio);
        painter.setFont(m_cellFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(1, 1, CellSide - 2, CellSide - 2), Qt::AlignCenter,
                         FromWindows1252(std::string(1, static_cast<char>(caption))));
    }
    return image;
}

GridView::LabelCache &GridView::labelCache(LabelFamily family, int i)
{
    LabelCache &cache = m_labels[static_cast<int>(family)][i];
    const std::string &caption = labelArray(m_state, family)[i].caption;
    if (cache.caption != caption) {
        cache.caption = caption;
        const QList<quint32> indexes = m_labelRawFont.glyphIndexesForString(FromWindows1252(caption));
        const QList<QPointF> advances = m_labelRawFont.advancesForGlyphIndexes(indexes);
        QList<QPointF> positions;
        positions.reserve(indexes.size());
        QPointF pen(0, m_labelRawFont.ascent());
        for (const QPointF &advance : advances) {
            positions.append(pen);
            pen += advance;
        }
        cache.glyphs.setRawFont(m_labelRawFont);
        cache.glyphs.setGlyphIndexes(indexes);
        cache.glyphs.setPositions(positions);
        cache.size = QSizeF(pen.x(), m_labelRawFont.ascent() + m_labelRawFont.descent());
    }
    return cache;
}
