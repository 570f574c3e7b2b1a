#include "gui/grid/grid_accessible.h"

#include <QPointer>
#include <QWindow>

#include <algorithm>

namespace {

using Family = GridView::LabelFamily;

// What cells and header labels have in common: no children, no object of
// their own, the table as parent.
class GridItemAccessible : public QAccessibleInterface
{
public:
    GridItemAccessible(GridView *view, int index)
        : m_view(view)
        , m_index(index)
    {
    }

    bool isValid() const override { return !m_view.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override { }

protected:
    QRect globalRect(const QRect &local) const
    {
        return m_view ? QRect(m_view->mapToGlobal(local.topLeft()), local.size()) : QRect();
    }
    QAccessible::State itemState(bool visible) const
    {
        QAccessible::State state;
        state.invisible = !visible || !m_view || !m_view->isVisible();
        return state;
    }

    QPointer<GridView> m_view;
    int m_index;
};

class HeaderAccessible : public GridItemAccessible
{
public:
    HeaderAccessible(GridView *view, Family family, int index)
        : GridItemAccessible(view, index)
        , m_family(family)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        return m_view && type == QAccessible::Name ? m_view->labelCaption(m_family, m_index) : QString();
    }
    QRect rect() const override { return globalRect(GridView::labelRect(m_family, m_index)); }
    QAccessible::Role role() const override
    {
        return m_family == Family::ColumnNumber || m_family == Family::KeyLetter ? QAccessible::ColumnHeader
                                                                                 : QAccessible::RowHeader;
    }
    QAccessible::State state() const override { return itemState(m_view && m_view->label(m_family, m_index).visible); }

private:
    Family m_family;
};

class CellAccessible : public GridItemAccessible, public QAccessibleTableCellInterface
{
public:
    using GridItemAccessible::GridItemAccessible;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
    }
    QString text(QAccessible::Text type) const override
    {
        if (!m_view)
            return {};
        switch (type) {
        case QAccessible::Name:
            return m_view->cellCaption(m_index);
        case QAccessible::Description:
            return QStringLiteral("Zeile %1, Spalte %2").arg(rowIndex() + 1).arg(columnIndex() + 1);
        default:
            return {};
        }
    }
    QRect rect() const override { return globalRect(GridView::cellRect(m_index)); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        return itemState(m_view && m_view->state().GridCells[m_index].visible);
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return headers(Family::ColumnNumber, Family::KeyLetter, columnIndex());
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        return headers(Family::RowNumber, Family::RedRowNumber, rowIndex());
    }
    int columnIndex() const override { return m_index % abc::GridSide; }
    int rowIndex() const override { return m_index / abc::GridSide; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QList<QAccessibleInterface *> headers(Family first, Family second, int i) const
    {
        auto *grid = dynamic_cast<GridAccessible *>(parent());
        if (!grid)
            return {};
        return {grid->headerCell(first, i), grid->headerCell(second, i)};
    }
};

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("GridView") && object && object->isWidgetType())
        return new GridAccessible(static_cast<GridView *>(object));
    return nullptr;
}

} // namespace

void installGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

GridAccessible::GridAccessible(GridView *view)
    : QAccessibleWidget(view, QAccessible::Table)
    , m_children(abc::CellCount + HeaderCount, 0)
{
}

GridAccessible::~GridAccessible()
{
    // An id the cache has already dropped is ignored there.
    for (const QAccessible::Id id : m_children)
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

GridView *GridAccessible::view() const
{
    return static_cast<GridView *>(widget());
}

void *GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString GridAccessible::text(QAccessible::Text type) const
{
    // Qt would name the grid after the group box around it.
    if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
        return QStringLiteral("Transpositionsmatrix");
    return QAccessibleWidget::text(type);
}

int GridAccessible::childCount() const
{
    return static_cast<int>(m_children.size());
}

QAccessibleInterface *GridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    QAccessible::Id &id = m_children[index];
    if (!id) {
        QAccessibleInterface *item;
        if (index < abc::CellCount) {
            item = new CellAccessible(view(), index);
        } else {
            const int header = index - abc::CellCount;
            item = new HeaderAccessible(view(), Family(header / abc::GridSide), header % abc::GridSide);
        }
        id = QAccessible::registerAccessibleInterface(item);
    }
    return QAccessible::accessibleInterface(id);
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
    if (!id)
        return -1;
    const auto found = std::find(m_children.begin(), m_children.end(), id);
    return found == m_children.end() ? -1 : static_cast<int>(found - m_children.begin());
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const
{
    const QPoint pos = view()->mapFromGlobal(QPoint(x, y));
    // Only what is on screen can be hit.
    const int cell = GridView::cellAt(pos);
    if (cell >= 0)
        return view()->state().GridCells[cell].visible ? child(cell) : nullptr;
    for (int family = 0; family < GridView::LabelFamilyCount; ++family) {
        for (int i = 0; i < abc::GridSide; ++i) {
            if (view()->label(Family(family), i).visible && GridView::labelRect(Family(family), i).contains(pos))
                return headerCell(Family(family), i);
        }
    }
    return nullptr;
}

QAccessibleInterface *GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= abc::GridSide || column < 0 || column >= abc::GridSide)
        return nullptr;
    return child(abc::CellIndex(row, column));
}

QString GridAccessible::columnDescription(int column) const
{
    return QStringLiteral("Spalte %1").arg(column + 1);
}

QString GridAccessible::rowDescription(int row) const
{
    return QStringLiteral("Zeile %1").arg(row + 1);
}

QAccessibleInterface *GridAccessible::headerCell(GridView::LabelFamily family, int i) const
{
    return child(abc::CellCount + static_cast<int>(family) * abc::GridSide + i);
}
