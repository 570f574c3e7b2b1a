#include <QAccessible>
#include <QFont>
#include <QImage>
#include <QScreen>
#include <QtMath>
#include <QtTest>

#include <functional>
#include <memory>

#include "grid_accessible.h"
#include "gridview.h"
#include "workbench_state.h"

using Family = GridView::LabelFamily;

Q_DECLARE_METATYPE(Family)

namespace {

const QRgb Yellow = qRgb(0xFF, 0xFF, 0x00);
const QRgb Light = qRgb(0xFF, 0xFF, 0xFF);
const QRgb Shadow = qRgb(0x80, 0x80, 0x80);

bool isDarkInk(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }
bool isRedInk(QRgb p) { return qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90; }

// A rendering sampled in the view's logical pixels, whatever the scale factor.
struct Shot {
    QImage image;
    qreal ratio = 1.0;

    QRgb at(int x, int y) const
    {
        return image.pixel(int((x + 0.5) * ratio), int((y + 0.5) * ratio)) | 0xFF000000u;
    }
    int count(const QRect &area, const std::function<bool(QRgb)> &test) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }
    // Leftmost and topmost inked pixel in area, (-1,-1) for none.
    QPoint firstInk(const QRect &area, const std::function<bool(QRgb)> &test) const
    {
        QPoint first(-1, -1);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (!test(at(x, y)))
                    continue;
                if (first.x() < 0 || x < first.x())
                    first.setX(x);
                if (first.y() < 0 || y < first.y())
                    first.setY(y);
            }
        }
        return first;
    }
    QImage device(const QRect &logical) const
    {
        return image.copy(qFloor(logical.x() * ratio), qFloor(logical.y() * ratio),
                          qCeil(logical.width() * ratio) + 1, qCeil(logical.height() * ratio) + 1);
    }
};

QRect inner(QRect cell) { return cell.adjusted(2, 2, -2, -2); }

QString rowThroughAccessibility(QAccessibleTableInterface *table, int row)
{
    QString text;
    for (int column = 0; column < table->columnCount(); ++column) {
        QAccessibleInterface *cell = table->cellAt(row, column);
        text += cell->state().invisible ? QStringLiteral(" ") : cell->text(QAccessible::Name);
    }
    return text;
}

} // namespace

class TestGridView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geometry_data();
    void geometry();
    void hitTestingMatchesCellRects();

    void visibleCellIsARaisedYellowPanel_data();
    void visibleCellIsARaisedYellowPanel();
    void captionsAreDrawnPerCharacter();
    void labelsAreColouredAndStartAtTheirLeftEdge_data();
    void labelsAreColouredAndStartAtTheirLeftEdge();
    void hiddenCellsAndLabelsAreNotPainted();
    void refreshRepaintsTheScreen();

    void tableShapeAndStableChildren();
    void cellInterfaces_data();
    void cellInterfaces();
    void captionsAreDecodedFromWindows1252_data();
    void captionsAreDecodedFromWindows1252();
    void hiddenItemsAreInvisible();
    void headerCells_data();
    void headerCells();
    void keyLetterHeaderFollowsTheModel();
    void rowReadThroughAccessibilityMatchesDump();
    void childAtFindsVisibleItems();
    void refreshAnnouncesChangedData();

private:
    Shot shoot() const;
    QAccessibleTableInterface *table() const;

    abc::WorkbenchState m_state;
    std::unique_ptr<QWidget> m_box;
    GridView *m_view = nullptr;
};

void TestGridView::initTestCase()
{
    QFont::insertSubstitution(QStringLiteral("CourierNew"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

void TestGridView::init()
{
    m_state = abc::WorkbenchState{};
    abc::BuildGrid(m_state);
    // Stands in for the group box that holds the grid in the window.
    m_box = std::make_unique<QWidget>();
    m_box->resize(857, 737);
    m_view = new GridView(m_state, m_box.get());
    m_view->setGeometry(0, 0, 857, 737);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
}

void TestGridView::cleanup()
{
    m_box.reset();
    m_view = nullptr;
}

Shot TestGridView::shoot() const
{
    const QPixmap pixmap = m_view->grab();
    return {pixmap.toImage(), pixmap.devicePixelRatio()};
}

QAccessibleTableInterface *TestGridView::table() const
{
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_view);
    return grid ? grid->tableInterface() : nullptr;
}

void TestGridView::geometry_data()
{
    QTest::addColumn<QRect>("actual");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("cell 0") << GridView::cellRect(0) << QRect(55, 60, 12, 12);
    QTest::newRow("cell row 0 column 1") << GridView::cellRect(1) << QRect(70, 60, 12, 12);
    QTest::newRow("cell row 1 column 0") << GridView::cellRect(45) << QRect(55, 75, 12, 12);
    QTest::newRow("cell row 3 column 7")
        << GridView::cellRect(abc::CellIndex(3, 7)) << QRect(160, 105, 12, 12);
    QTest::newRow("cell row 44 column 44") << GridView::cellRect(2024) << QRect(715, 720, 12, 12);
    QTest::newRow("column number 0") << GridView::labelRect(Family::ColumnNumber, 0) << QRect(55, 20, 15, 15);
    QTest::newRow("column number 44") << GridView::labelRect(Family::ColumnNumber, 44) << QRect(715, 20, 15, 15);
    QTest::newRow("key letter 0") << GridView::labelRect(Family::KeyLetter, 0) << QRect(55, 40, 15, 15);
    QTest::newRow("key letter 44") << GridView::labelRect(Family::KeyLetter, 44) << QRect(715, 40, 15, 15);
    QTest::newRow("row number 0") << GridView::labelRect(Family::RowNumber, 0) << QRect(10, 60, 15, 15);
    QTest::newRow("row number 44") << GridView::labelRect(Family::RowNumber, 44) << QRect(10, 720, 15, 15);
    QTest::newRow("red row number 0") << GridView::labelRect(Family::RedRowNumber, 0) << QRect(30, 60, 15, 15);
    QTest::newRow("red row number 44") << GridView::labelRect(Family::RedRowNumber, 44) << QRect(30, 720, 15, 15);
}

void TestGridView::geometry()
{
    QFETCH(QRect, actual);
    QFETCH(QRect, expected);
    QCOMPARE(actual, expected);
}

void TestGridView::hitTestingMatchesCellRects()
{
    for (int index = 0; index < abc::CellCount; ++index) {
        const QRect cell = GridView::cellRect(index);
        QCOMPARE(GridView::cellAt(cell.topLeft()), index);
        QCOMPARE(GridView::cellAt(cell.bottomRight()), index);
        // The 3-px gaps right of and below a cell belong to nobody.
        QCOMPARE(GridView::cellAt(cell.topRight() + QPoint(1, 0)), -1);
        QCOMPARE(GridView::cellAt(cell.bottomLeft() + QPoint(0, 1)), -1);
    }
    QCOMPARE(GridView::cellAt(QPoint(54, 60)), -1);
    QCOMPARE(GridView::cellAt(QPoint(727, 732)), -1);
}

void TestGridView::visibleCellIsARaisedYellowPanel_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("first") << 0;
    QTest::newRow("last of row 0") << 44;
    QTest::newRow("middle") << abc::CellIndex(22, 23);
    QTest::newRow("last") << 2024;
}

void TestGridView::visibleCellIsARaisedYellowPanel()
{
    QFETCH(int, index);
    // A blank caption leaves the whole face to check; the enabled flag must
    // not change the look.
    m_state.GridCells[index].caption = ' ';
    const int twin = index == 0 ? 2 : index - 2;
    m_state.GridCells[twin].caption = ' ';
    m_state.GridCells[twin].enabled = !m_state.GridCells[index].enabled;
    m_view->refresh();
    const Shot shot = shoot();
    const QRect cell = GridView::cellRect(index);
    const QRect face = inner(cell);

    QCOMPARE(shot.count(face, [](QRgb p) { return p == Yellow; }), face.width() * face.height());
    for (int i = 2; i < 10; ++i) {
        QCOMPARE(shot.at(cell.left() + i, cell.top()), Light);
        QCOMPARE(shot.at(cell.left(), cell.top() + i), Light);
        QCOMPARE(shot.at(cell.left() + i, cell.bottom()), Shadow);
        QCOMPARE(shot.at(cell.right(), cell.top() + i), Shadow);
    }
    QCOMPARE(shot.device(GridView::cellRect(twin)), shot.device(cell));
}

void TestGridView::captionsAreDrawnPerCharacter()
{
    // Columns two apart lie on the same sub-pixel phase at a 1.5 scale.
    const int w1 = abc::CellIndex(5, 4), w2 = abc::CellIndex(9, 10), other = abc::CellIndex(5, 6);
    m_state.GridCells[w1].caption = 'W';
    m_state.GridCells[w2].caption = 'W';
    m_state.GridCells[other].caption = 'I';
    m_view->refresh();
    const Shot shot = shoot();

    const QRect cell = GridView::cellRect(w1);
    QVERIFY(shot.count(cell.adjusted(1, 1, -1, -1), isDarkInk) > 8);
    // The letter stays inside the bevel.
    for (int i = 1; i < 11; ++i) {
        QCOMPARE(shot.at(cell.left() + i, cell.top()), Light);
        QCOMPARE(shot.at(cell.left() + i, cell.bottom()), Shadow);
    }
    QCOMPARE(shot.device(GridView::cellRect(w2)), shot.device(cell));
    QVERIFY(shot.device(GridView::cellRect(other)) != shot.device(cell));

    m_state.GridCells[w1].caption = 'I';
    m_view->refresh();
    QCOMPARE(shoot().device(cell), shot.device(GridView::cellRect(other)));
}

void TestGridView::labelsAreColouredAndStartAtTheirLeftEdge_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("red");

    QTest::newRow("column number 0") << Family::ColumnNumber << 0 << false;
    QTest::newRow("column number 44") << Family::ColumnNumber << 44 << false;
    QTest::newRow("key letter 0") << Family::KeyLetter << 0 << true;
    QTest::newRow("key letter 44") << Family::KeyLetter << 44 << true;
    QTest::newRow("row number 0") << Family::RowNumber << 0 << false;
    QTest::newRow("row number 44") << Family::RowNumber << 44 << false;
    QTest::newRow("red row number 0") << Family::RedRowNumber << 0 << true;
    QTest::newRow("red row number 44") << Family::RedRowNumber << 44 << true;
}

void TestGridView::labelsAreColouredAndStartAtTheirLeftEdge()
{
    QFETCH(Family, family);
    QFETCH(int, index);
    QFETCH(bool, red);
    const Shot shot = shoot();
    const QRect box = GridView::labelRect(family, index);
    const auto ink = red ? isRedInk : isDarkInk;
    const auto wrongInk = red ? isDarkInk : isRedInk;

    QVERIFY(shot.count(box, ink) > 4);
    QCOMPARE(shot.count(box, wrongInk), 0);
    const QPoint first = shot.firstInk(box, ink);
    QVERIFY2(first.x() <= box.left() + 3, qPrintable(QString::number(first.x())));
    QVERIFY2(first.y() <= box.top() + 4, qPrintable(QString::number(first.y())));
}

void TestGridView::hiddenCellsAndLabelsAreNotPainted()
{
    // Hide column 3 as the key step does, and row 44 as the residual cut does.
    for (int row = 0; row < abc::GridSide; ++row)
        m_state.GridCells[abc::CellIndex(row, 3)].visible = false;
    for (int column = 0; column < abc::GridSide; ++column)
        m_state.GridCells[abc::CellIndex(44, column)].visible = false;
    m_state.ColumnNumberLabels[3].visible = false;
    m_state.KeyLetterLabels[3].visible = false;
    m_state.RowNumberLabels[44].visible = false;
    m_state.RedRowNumberLabels[44].visible = false;
    m_view->refresh();

    Shot shot = shoot();
    const QRgb background = shot.at(2, 2);
    const auto isBackground = [background](QRgb p) { return p == background; };
    const auto area = [](const QRect &r) { return r.width() * r.height(); };
    for (const int index : {abc::CellIndex(0, 3), abc::CellIndex(20, 3), abc::CellIndex(44, 0),
                            abc::CellIndex(44, 44)}) {
        const QRect cell = GridView::cellRect(index);
        QCOMPARE(shot.count(cell, isBackground), area(cell));
    }
    for (const QRect &box : {GridView::labelRect(Family::ColumnNumber, 3),
                             GridView::labelRect(Family::KeyLetter, 3),
                             GridView::labelRect(Family::RowNumber, 44),
                             GridView::labelRect(Family::RedRowNumber, 44)})
        QCOMPARE(shot.count(box, isBackground), area(box));
    QCOMPARE(shot.at(GridView::cellRect(abc::CellIndex(0, 4)).center().x(),
                     GridView::cellRect(abc::CellIndex(0, 4)).top() + 3),
             Yellow);

    // A reset shows everything again.
    abc::ResetGrid(m_state);
    m_view->refresh();
    shot = shoot();
    QVERIFY(shot.count(inner(GridView::cellRect(abc::CellIndex(20, 3))),
                       [](QRgb p) { return p == Yellow; })
            > 20);
    QVERIFY(shot.count(GridView::labelRect(Family::KeyLetter, 3), isRedInk) > 4);
}

void TestGridView::refreshRepaintsTheScreen()
{
    // What is on screen, not a fresh rendering: a missed update would show.
    const auto onScreen = [this] {
        const QPixmap pixmap = m_box->screen()->grabWindow(m_box->winId());
        return Shot{pixmap.toImage(), pixmap.devicePixelRatio()};
    };
    const QRect cell = GridView::cellRect(abc::CellIndex(10, 10));
    QTRY_VERIFY(onScreen().count(inner(cell), [](QRgb p) { return p == Yellow; }) > 0);

    m_state.GridCells[abc::CellIndex(10, 10)].visible = false;
    m_view->refresh();
    QTRY_COMPARE(onScreen().count(inner(cell), [](QRgb p) { return p == Yellow; }), 0);
}

void TestGridView::tableShapeAndStableChildren()
{
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_view);
    QVERIFY(grid);
    QCOMPARE(grid->role(), QAccessible::Table);
    QAccessibleTableInterface *t = grid->tableInterface();
    QVERIFY(t);
    QCOMPARE(t->rowCount(), 45);
    QCOMPARE(t->columnCount(), 45);
    QCOMPARE(grid->childCount(), abc::CellCount + GridAccessible::HeaderCount);
    QVERIFY(!grid->child(-1));
    QVERIFY(!grid->child(grid->childCount()));
    QVERIFY(!t->cellAt(45, 0));

    for (const int index : {0, 1, 44, 45, 2024, 2025, 2069, 2070, 2204}) {
        QAccessibleInterface *child = grid->child(index);
        QVERIFY(child);
        QCOMPARE(grid->indexOfChild(child), index);
        QCOMPARE(child->parent(), grid);
        QCOMPARE(grid->child(index), child);
    }
    const QAccessible::Id id = QAccessible::uniqueId(t->cellAt(3, 4));
    QVERIFY(id);
    m_view->refresh();
    QCOMPARE(QAccessible::uniqueId(t->cellAt(3, 4)), id);
    QCOMPARE(t->cellAt(3, 4), grid->child(abc::CellIndex(3, 4)));
}

void TestGridView::cellInterfaces_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("description");

    QTest::newRow("first") << 0 << 0 << QStringLiteral("Zeile 1, Spalte 1");
    QTest::newRow("row 3 column 7") << 3 << 7 << QStringLiteral("Zeile 4, Spalte 8");
    QTest::newRow("last") << 44 << 44 << QStringLiteral("Zeile 45, Spalte 45");
}

void TestGridView::cellInterfaces()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, description);
    QAccessibleInterface *cell = table()->cellAt(row, column);
    QVERIFY(cell);
    const int index = abc::CellIndex(row, column);

    QCOMPARE(cell->role(), QAccessible::Cell);
    QCOMPARE(cell->text(QAccessible::Name), QString(QChar(m_state.GridCells[index].caption)));
    QCOMPARE(cell->text(QAccessible::Description), description);
    QVERIFY(!cell->state().invisible);
    const QRect local = GridView::cellRect(index);
    QCOMPARE(cell->rect(), QRect(m_view->mapToGlobal(local.topLeft()), local.size()));

    QAccessibleTableCellInterface *tableCell = cell->tableCellInterface();
    QVERIFY(tableCell);
    QCOMPARE(tableCell->rowIndex(), row);
    QCOMPARE(tableCell->columnIndex(), column);
    QCOMPARE(tableCell->table(), QAccessible::queryAccessibleInterface(m_view));
}

void TestGridView::captionsAreDecodedFromWindows1252_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ASCII") << 0x41 << QStringLiteral("A");
    QTest::newRow("euro") << 0x80 << QStringLiteral("\u20AC");
    QTest::newRow("S caron") << 0x8A << QStringLiteral("\u0160");
    QTest::newRow("Y diaeresis") << 0x9F << QStringLiteral("\u0178");
    QTest::newRow("Latin-1 A umlaut") << 0xC4 << QStringLiteral("\u00C4");
    QTest::newRow("sharp s") << 0xDF << QStringLiteral("\u00DF");
    for (const int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        QTest::addRow("undefined %x", undefined) << undefined << QStringLiteral("\uFFFD");
}

void TestGridView::captionsAreDecodedFromWindows1252()
{
    QFETCH(int, byte);
    QFETCH(QString, shown);
    m_state.GridCells[7].caption = static_cast<char>(byte);
    m_state.KeyLetterLabels[7].caption = std::string(2, static_cast<char>(byte));
    m_view->refresh();

    QCOMPARE(table()->cellAt(0, 7)->text(QAccessible::Name), shown);
    const auto headers = table()->cellAt(0, 7)->tableCellInterface()->columnHeaderCells();
    QCOMPARE(headers.value(1)->text(QAccessible::Name), shown + shown);
    // Every byte gets a face of its own without disturbing the others.
    QVERIFY(shoot().count(GridView::cellRect(8), [](QRgb p) { return p == Light; }) > 0);
}

void TestGridView::hiddenItemsAreInvisible()
{
    m_state.GridCells[abc::CellIndex(2, 5)].visible = false;
    m_state.KeyLetterLabels[5].visible = false;
    m_state.RedRowNumberLabels[2].visible = false;
    m_view->refresh();

    QAccessibleInterface *hidden = table()->cellAt(2, 5);
    QVERIFY(hidden->state().invisible);
    QVERIFY(!table()->cellAt(2, 6)->state().invisible);
    const auto columnHeaders = hidden->tableCellInterface()->columnHeaderCells();
    QVERIFY(!columnHeaders.value(0)->state().invisible);
    QVERIFY(columnHeaders.value(1)->state().invisible);
    const auto rowHeaders = hidden->tableCellInterface()->rowHeaderCells();
    QVERIFY(!rowHeaders.value(0)->state().invisible);
    QVERIFY(rowHeaders.value(1)->state().invisible);

    m_box->hide();
    QVERIFY(table()->cellAt(2, 6)->state().invisible);
}

void TestGridView::headerCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("row 7 column 30") << 7 << 30;
    QTest::newRow("last") << 44 << 44;
}

void TestGridView::headerCells()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QAccessibleTableCellInterface *cell = table()->cellAt(row, column)->tableCellInterface();

    const auto columnHeaders = cell->columnHeaderCells();
    QCOMPARE(columnHeaders.size(), 2);
    const auto rowHeaders = cell->rowHeaderCells();
    QCOMPARE(rowHeaders.size(), 2);
    const QList<std::pair<QAccessibleInterface *, Family>> expected = {
        {columnHeaders[0], Family::ColumnNumber},
        {columnHeaders[1], Family::KeyLetter},
        {rowHeaders[0], Family::RowNumber},
        {rowHeaders[1], Family::RedRowNumber},
    };
    for (const auto &[header, family] : expected) {
        const bool ofColumn = family == Family::ColumnNumber || family == Family::KeyLetter;
        const int i = ofColumn ? column : row;
        QCOMPARE(header->role(), ofColumn ? QAccessible::ColumnHeader : QAccessible::RowHeader);
        QCOMPARE(header->text(QAccessible::Name), QString::number(i + 1));
        const QRect local = GridView::labelRect(family, i);
        QCOMPARE(header->rect(), QRect(m_view->mapToGlobal(local.topLeft()), local.size()));
    }
}

void TestGridView::keyLetterHeaderFollowsTheModel()
{
    m_state.KeyLetterLabels[0].caption = "K";
    m_view->refresh();
    const auto headers = table()->cellAt(12, 0)->tableCellInterface()->columnHeaderCells();
    QCOMPARE(headers.value(0)->text(QAccessible::Name), QStringLiteral("1"));
    QCOMPARE(headers.value(1)->text(QAccessible::Name), QStringLiteral("K"));
    QCOMPARE(table()->cellAt(12, 1)->tableCellInterface()->columnHeaderCells().value(1)->text(
                 QAccessible::Name),
             QStringLiteral("2"));
}

void TestGridView::rowReadThroughAccessibilityMatchesDump()
{
    QCOMPARE(rowThroughAccessibility(table(), 0),
             QString::fromLatin1(abc::DumpGrid(m_state).substr(0, 45)));
    QCOMPARE(rowThroughAccessibility(table(), 0),
             QStringLiteral("AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP"));

    for (const int column : {0, 9, 44})
        m_state.GridCells[abc::CellIndex(0, column)].visible = false;
    m_state.GridCells[abc::CellIndex(0, 20)].caption = '?';
    m_view->refresh();
    const std::string dump = abc::DumpGrid(m_state);
    QCOMPARE(rowThroughAccessibility(table(), 0), QString::fromLatin1(dump.substr(0, 45)));
    QCOMPARE(rowThroughAccessibility(table(), 44), QString::fromLatin1(dump.substr(44 * 46, 45)));
}

void TestGridView::childAtFindsVisibleItems()
{
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_view);
    const auto at = [&](QPoint local) {
        const QPoint global = m_view->mapToGlobal(local);
        return grid->childAt(global.x(), global.y());
    };
    QCOMPARE(at(GridView::cellRect(abc::CellIndex(6, 9)).center()), table()->cellAt(6, 9));
    QCOMPARE(at(GridView::cellRect(2024).bottomRight()), table()->cellAt(44, 44));
    QVERIFY(!at(GridView::cellRect(0).topRight() + QPoint(2, 0)));

    QAccessibleInterface *keyLetter = at(GridView::labelRect(Family::KeyLetter, 4).center());
    QVERIFY(keyLetter);
    QCOMPARE(keyLetter->role(), QAccessible::ColumnHeader);
    QCOMPARE(keyLetter, table()->cellAt(0, 4)->tableCellInterface()->columnHeaderCells().value(1));

    m_state.GridCells[abc::CellIndex(6, 9)].visible = false;
    m_state.KeyLetterLabels[4].visible = false;
    QVERIFY(!at(GridView::cellRect(abc::CellIndex(6, 9)).center()));
    QVERIFY(!at(GridView::labelRect(Family::KeyLetter, 4).center()));
}

namespace {
QList<QAccessible::Event> seenEvents;
void recordEvent(QAccessibleEvent *event) { seenEvents.append(event->type()); }
} // namespace

void TestGridView::refreshAnnouncesChangedData()
{
    QAccessible::setActive(true);
    if (!QAccessible::isActive())
        QSKIP("no accessibility backend on this platform");
    seenEvents.clear();
    const auto previous = QAccessible::installUpdateHandler(recordEvent);
    m_view->refresh();
    QAccessible::installUpdateHandler(previous);
    QVERIFY(seenEvents.contains(QAccessible::TableModelChanged));
}

QTEST_MAIN(TestGridView)
#include "tst_gridview.moc"
