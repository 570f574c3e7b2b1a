#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QWidget>

#include <array>
#include <string>

#include "engine/workbench_state.h"

// The transposition matrix with its label rows and columns, painted as one
// widget: 2025 cells and 180 labels as child widgets would make every refresh
// and every repaint far too slow. Read-only view of the model.
class GridView : public QWidget
{
    Q_OBJECT

public:
    enum class LabelFamily { ColumnNumber, KeyLetter, RowNumber, RedRowNumber };
    static constexpr int LabelFamilyCount = 4;

    explicit GridView(const abc::WorkbenchState &state, QWidget *parent = nullptr);

    // Geometry in the coordinates of the group box that holds the view.
    static QRect cellRect(int index);
    static QRect labelRect(LabelFamily family, int i);

    // Cell under pos, or -1 (gaps between cells belong to no cell).
    static int cellAt(QPoint pos);

    const abc::WorkbenchState &state() const { return m_state; }
    const abc::GridLabel &label(LabelFamily family, int i) const;

    // Captions as shown on screen.
    QString cellCaption(int index) const;
    QString labelCaption(LabelFamily family, int i) const;

    // Call after every change to the model; repaints what changed since the
    // last call.
    void refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct LabelCache {
        std::string caption; // what the glyphs were looked up for
        QGlyphRun glyphs;
        QSizeF size;
    };

    const QImage &cellImage(unsigned char caption);
    LabelCache &labelCache(LabelFamily family, int i);
    void paintCells(QPainter &painter, const QRect &exposed, bool upright);
    void paintLabels(QPainter &painter, const QRect &exposed);

    const abc::WorkbenchState &m_state;
    QFont m_cellFont;
    QFont m_labelFont;
    QRawFont m_labelRawFont; // a caption is a few glyphs side by side: no shaping needed
    qreal m_cacheRatio = 0.0;
    // The model as last refreshed, to repaint only what changed.
    bool m_shownValid = false;
    abc::CellArray m_shownCells;
    std::array<abc::LabelArray, LabelFamilyCount> m_shownLabels;
    std::array<QImage, 256> m_cellImages; // in device pixels
    std::array<std::array<LabelCache, abc::GridSide>, LabelFamilyCount> m_labels;
};
