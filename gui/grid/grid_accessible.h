#pragma once

#include <QAccessibleWidget>

#include <vector>

#include "gui/grid/grid_view.h"

// Installs the accessibility factory for GridView; safe to call repeatedly.
void installGridAccessibility();

// GridView as a 45 x 45 table. Children are the 2025 cells in index order,
// then the header labels family by family (column numbers, key letters, row
// numbers, red row numbers), 45 each.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    static constexpr int HeaderCount = GridView::LabelFamilyCount * abc::GridSide;

    explicit GridAccessible(GridView *view);
    ~GridAccessible() override;

    GridView *view() const;

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return abc::GridSide; }
    int rowCount() const override { return abc::GridSide; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells read the model live, and the table never changes its shape.
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

    QAccessibleInterface *headerCell(GridView::LabelFamily family, int i) const;

private:
    // Ids of the children, registered on first use and kept so that they
    // stay stable; 0 until then.
    mutable std::vector<QAccessible::Id> m_children;
};
