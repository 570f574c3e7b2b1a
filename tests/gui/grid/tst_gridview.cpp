#include <QAccessible>
#include <QScreen>
#include <QtMath>
#include <QtTest>

#include <functional>
#include <memory>
#include <tuple>

#include "gui/grid/grid_accessible.h"
#include "gui/grid/grid_view.h"
#include "tests/engine/engine_test_support.h"

using Family = GridView::LabelFamily;

namespace {

const QRgb Yellow = qRgb(0xFF, 0xFF, 0x00);
const QRgb Light = qRgb(0xFF, 0xFF, 0xFF);
const QRgb Shadow = qRgb(0x80, 0x80, 0x80);

bool isYellow(QRgb p)
{
    return p == Yellow;
}
bool isDarkInk(QRgb p)
{
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool isRedInk(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90;
}

// A rendering read in the view's logical pixels, whatever the scale factor.
struct Shot {
    QImage image;
    qreal ratio = 1.0;

    QRgb at(int x, int y) const { return image.pixel(int((x + 0.5) * ratio), int((y + 0.5) * ratio)) | 0xFF000000u; }
    // At a fractional scale a 1-px line need not cover its whole logical pixel.
    bool touches(int x, int y, QRgb colour) const
    {
        for (int dy = qFloor(y * ratio); dy < qCeil((y + 1) * ratio); ++dy)
            for (int dx = qFloor(x * ratio); dx < qCeil((x + 1) * ratio); ++dx)
                if ((image.pixel(dx, dy) | 0xFF000000u) == colour)
                    return true;
        return false;
    }
    int count(const QRect &area, const std::function<bool(QRgb)> &test) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }
    QImage device(const QRect &r) const
    {
        return image.copy(qFloor(r.x() * ratio), qFloor(r.y() * ratio), qCeil(r.width() * ratio) + 1,
                          qCeil(r.height() * ratio) + 1);
    }
    bool isRaisedPanel(const QRect &cell) const
    {
        for (int i = 1; i < 11; ++i) {
            if (!touches(cell.left() + i, cell.top(), Light) || !touches(cell.left(), cell.top() + i, Light)
                || !touches(cell.left() + i, cell.bottom(), Shadow) || !touches(cell.right(), cell.top() + i, Shadow))
                return false;
        }
        return true;
    }
};

QRect face(int cell)
{
    return GridView::cellRect(cell).adjusted(2, 2, -2, -2);
}
int area(const QRect &r)
{
    return r.width() * r.height();
}

} // namespace

class TestGridView : public QObject
{
    Q_OBJECT

    abc::WorkbenchState m_state;
    std::unique_ptr<QWidget> m_box; // stands in for the window's group box
    GridView *m_view = nullptr;

    Shot shoot() const
    {
        const QPixmap pixmap = m_view->grab();
        return {pixmap.toImage(), pixmap.devicePixelRatio()};
    }
    QAccessibleTableInterface *table() const { return QAccessible::queryAccessibleInterface(m_view)->tableInterface(); }
    QList<QAccessibleInterface *> headersOf(int row, int column) const
    {
        QAccessibleTableCellInterface *cell = table()->cellAt(row, column)->tableCellInterface();
        return cell->columnHeaderCells() + cell->rowHeaderCells();
    }
    QRect localRect(const QAccessibleInterface *item) const
    {
        return {m_view->mapFromGlobal(item->rect().topLeft()), item->rect().size()};
    }
    // The cells read through the table, in DumpGrid's form: invisible ones blank.
    QString accessibleDump() const
    {
        QString dump;
        for (int row = 0; row < abc::GridSide; ++row) {
            for (int column = 0; column < abc::GridSide; ++column) {
                QAccessibleInterface *cell = table()->cellAt(row, column);
                dump += cell->state().invisible ? QString(u' ') : cell->text(QAccessible::Name);
            }
            dump += u'\n';
        }
        return dump;
    }
    // One header family read through the table, in LabelRow's form: the
    // families in the order column number, key letter, row number, red row number.
    std::string headerRow(int family) const
    {
        std::string row;
        for (int i = 0; i < abc::GridSide; ++i) {
            QAccessibleInterface *header = headersOf(family < 2 ? 0 : i, family < 2 ? i : 0).value(family);
            row +=
                (header->state().invisible ? QStringLiteral("-") : header->text(QAccessible::Name)).toStdString() + ' ';
        }
        return row;
    }

private slots:
    void initTestCase()
    {
        QFont::insertSubstitution(QStringLiteral("CourierNew"), QStringLiteral("Liberation Mono"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    }
    void init()
    {
        m_state = abc::WorkbenchState{};
        abc::BuildGrid(m_state);
        m_box = std::make_unique<QWidget>();
        m_box->resize(857, 737);
        m_view = new GridView(m_state, m_box.get());
        m_view->setGeometry(0, 0, 857, 737);
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    }
    void cleanup() { m_box.reset(); }

    void geometry()
    {
        QCOMPARE(GridView::cellRect(0), QRect(55, 60, 12, 12));
        QCOMPARE(GridView::cellRect(abc::CellIndex(3, 7)), QRect(160, 105, 12, 12));
        QCOMPARE(GridView::cellRect(2024), QRect(715, 720, 12, 12));
        QCOMPARE(GridView::labelRect(Family::ColumnNumber, 44), QRect(715, 20, 15, 15));
        QCOMPARE(GridView::labelRect(Family::KeyLetter, 44), QRect(715, 40, 15, 15));
        QCOMPARE(GridView::labelRect(Family::RowNumber, 44), QRect(10, 720, 15, 15));
        QCOMPARE(GridView::labelRect(Family::RedRowNumber, 44), QRect(30, 720, 15, 15));
    }

    void cellsAreRaisedYellowPanelsLabelsColouredText()
    {
        // Cells four rows and columns apart share the sub-pixel phase at any scale.
        const int blank = 0, w1 = abc::CellIndex(5, 4), w2 = abc::CellIndex(9, 8);
        const int other = abc::CellIndex(5, 8);
        m_state.GridCells[blank].caption = m_state.GridCells[4].caption = ' ';
        m_state.GridCells[4].enabled = true; // must not change the look
        m_state.GridCells[w1].caption = m_state.GridCells[w2].caption = 'W';
        m_state.GridCells[other].caption = 'I';
        m_view->refresh();
        const Shot shot = shoot();

        for (const int cell : {blank, w1, abc::CellIndex(22, 23), 2024})
            QVERIFY2(shot.isRaisedPanel(GridView::cellRect(cell)), QByteArray::number(cell));
        QCOMPARE(shot.count(face(blank), isYellow), area(face(blank)));
        QCOMPARE(shot.device(GridView::cellRect(4)), shot.device(GridView::cellRect(blank)));
        QVERIFY(shot.count(face(w1), isDarkInk) > 8);
        QCOMPARE(shot.device(GridView::cellRect(w2)), shot.device(GridView::cellRect(w1)));
        QVERIFY(shot.device(GridView::cellRect(other)) != shot.device(GridView::cellRect(w1)));

        for (const auto &[family, index, red] :
             {std::tuple(Family::ColumnNumber, 0, false), std::tuple(Family::KeyLetter, 44, true),
              std::tuple(Family::RowNumber, 44, false), std::tuple(Family::RedRowNumber, 0, true)}) {
            const QRect box = GridView::labelRect(family, index);
            const auto ink = red ? isRedInk : isDarkInk;
            QVERIFY(shot.count(box, ink) > 4);
            QCOMPARE(shot.count(box, red ? isDarkInk : isRedInk), 0);
            // The text starts at the top left, as in an autosizing label.
            QVERIFY(shot.count(QRect(box.left(), box.top(), 3, box.height()), ink) > 0);
            QVERIFY(shot.count(QRect(box.left(), box.top(), box.width(), 4), ink) > 0);
        }

        m_state.GridCells[w1].caption = 'I';
        m_view->refresh();
        QCOMPARE(shoot().device(GridView::cellRect(w1)), shot.device(GridView::cellRect(other)));
    }

    void refreshShowsModelChanges()
    {
        // Column 3 hidden as by the key step, row 44 as by the residual cut.
        for (int i = 0; i < abc::GridSide; ++i) {
            m_state.GridCells[abc::CellIndex(i, 3)].visible = false;
            m_state.GridCells[abc::CellIndex(44, i)].visible = false;
        }
        m_state.KeyLetterLabels[3].visible = m_state.RedRowNumberLabels[44].visible = false;
        // Nothing stands right of the last key label: any ink there is its own.
        m_state.KeyLetterLabels[44].caption = "LANGERTEXT";
        const QRect beyond(GridView::labelRect(Family::KeyLetter, 44).right() + 1, 40, 100, 15);
        m_view->refresh();

        Shot shot = shoot();
        const QRgb background = shot.at(2, 2);
        const auto isBackground = [background](QRgb p) { return p == background; };
        for (const QRect &r :
             {GridView::cellRect(3), GridView::cellRect(abc::CellIndex(44, 0)), GridView::cellRect(2024),
              GridView::labelRect(Family::KeyLetter, 3), GridView::labelRect(Family::RedRowNumber, 44)})
            QCOMPARE(shot.count(r, isBackground), area(r));
        QVERIFY(shot.count(face(4), isYellow) > 0);
        QVERIFY(shot.count(beyond, isRedInk) > 20);

        abc::ResetGrid(m_state);
        m_view->refresh();
        shot = shoot();
        QVERIFY(shot.isRaisedPanel(GridView::cellRect(3)));
        QVERIFY(shot.count(GridView::labelRect(Family::KeyLetter, 3), isRedInk) > 4);
        QCOMPARE(shot.count(beyond, isRedInk), 0);

        // What reaches the window, not a fresh rendering.
        const auto yellowOnScreen = [this] {
            const QPixmap pixmap = m_box->screen()->grabWindow(m_box->winId());
            return Shot{pixmap.toImage(), pixmap.devicePixelRatio()}.count(face(10), isYellow);
        };
        QTRY_VERIFY(yellowOnScreen() > 0);
        m_state.GridCells[10].visible = false;
        m_view->refresh();
        QTRY_COMPARE(yellowOnScreen(), 0);
    }

    void refreshRepaintsJustWhatChanged()
    {
        struct PaintSpy : QObject {
            QRegion painted;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent *>(event)->region();
                return false;
            }
        } spy;
        m_view->refresh();
        QCoreApplication::processEvents();
        m_view->installEventFilter(&spy);
        const auto paintedAfterRefresh = [&] {
            spy.painted = {};
            m_view->refresh();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            return spy.painted;
        };

        QVERIFY(paintedAfterRefresh().isEmpty());
        m_state.GridCells[100].caption = m_state.GridCells[100].caption == 'Q' ? 'R' : 'Q';
        QCOMPARE(paintedAfterRefresh().boundingRect(), GridView::cellRect(100));
        m_state.GridCells[2024].visible = false;
        QCOMPARE(paintedAfterRefresh().boundingRect(), GridView::cellRect(2024));
        m_state.KeyLetterLabels[5].caption = "W";
        const QRegion label = paintedAfterRefresh();
        QVERIFY(label.contains(GridView::labelRect(Family::KeyLetter, 5)));
        QVERIFY(!label.intersects(GridView::cellRect(0)));
    }

    void renderingAtAnyPixelRatioAndInParts()
    {
        // Not only the screen's ratio: the window may be grabbed for another
        // screen. Parts: inside one cell, across cells and gaps, labels and a
        // corner cell, the end of a long caption; even coordinates stay whole
        // device pixels at 1.5.
        m_state.KeyLetterLabels[44].caption = "LANGERTEXT";
        const QRgb paper = qRgb(0x20, 0x40, 0x60);
        const auto render = [&](qreal ratio, const QRect &source) {
            QImage image(qCeil(source.width() * ratio), qCeil(source.height() * ratio), QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(paper);
            m_view->render(&image, QPoint(), QRegion(source), QWidget::DrawChildren);
            return Shot{image, ratio};
        };
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            const Shot full = render(ratio, m_view->rect());
            const QRect cell = GridView::cellRect(2024);
            QVERIFY2(full.isRaisedPanel(cell), QByteArray::number(ratio));
            QCOMPARE(full.at(cell.left() - 2, cell.top() + 5), paper);
            QCOMPARE(full.at(cell.right() + 2, cell.top() + 5), paper);
            for (const QRect &part :
                 {QRect(360, 364, 4, 4), QRect(300, 400, 48, 38), QRect(0, 0, 70, 70), QRect(740, 38, 40, 16)}) {
                const QImage image = render(ratio, part).image;
                QCOMPARE(image, full.device(part).copy(0, 0, image.width(), image.height()));
            }
        }
    }

    void tableShapeCellsAndHeaders()
    {
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_view);
        QVERIFY(grid && grid->tableInterface());
        QCOMPARE(grid->role(), QAccessible::Table);
        QCOMPARE(QSize(table()->columnCount(), table()->rowCount()), QSize(45, 45));
        QCOMPARE(grid->childCount(), abc::CellCount + GridAccessible::HeaderCount);
        QVERIFY(!grid->child(grid->childCount()) && !table()->cellAt(45, 0));
        for (const int index : {0, 44, 45, 2024, 2025, 2069, 2070, 2204}) {
            QAccessibleInterface *child = grid->child(index);
            QCOMPARE(grid->indexOfChild(child), index);
            QCOMPARE(child->parent(), grid);
        }
        const Family families[] = {Family::ColumnNumber, Family::KeyLetter, Family::RowNumber, Family::RedRowNumber};
        for (const auto &[row, column] : {std::pair(0, 0), std::pair(3, 7), std::pair(44, 44)}) {
            QAccessibleInterface *cell = table()->cellAt(row, column);
            QCOMPARE(cell->role(), QAccessible::Cell);
            QCOMPARE(cell->text(QAccessible::Description),
                     QStringLiteral("Zeile %1, Spalte %2").arg(row + 1).arg(column + 1));
            QCOMPARE(localRect(cell), GridView::cellRect(abc::CellIndex(row, column)));
            QCOMPARE(QPoint(cell->tableCellInterface()->columnIndex(), cell->tableCellInterface()->rowIndex()),
                     QPoint(column, row));
            const QList<QAccessibleInterface *> headers = headersOf(row, column);
            QCOMPARE(headers.size(), 4);
            for (int h = 0; h < 4; ++h) {
                QCOMPARE(headers[h]->role(), h < 2 ? QAccessible::ColumnHeader : QAccessible::RowHeader);
                QCOMPARE(localRect(headers[h]), GridView::labelRect(families[h], h < 2 ? column : row));
            }
        }
        // The items outlive a refresh: a screen reader keeps its place.
        const QAccessible::Id id = QAccessible::uniqueId(table()->cellAt(3, 4));
        m_view->refresh();
        QCOMPARE(QAccessible::uniqueId(table()->cellAt(3, 4)), id);
    }

    void accessibleItemsFollowTheModel()
    {
        QCOMPARE(accessibleDump().left(45), QStringLiteral("AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP"));
        for (const int column : {0, 9, 44})
            m_state.GridCells[abc::CellIndex(0, column)].visible = false;
        m_state.GridCells[abc::CellIndex(2, 5)].visible = false;
        m_state.GridCells[abc::CellIndex(44, 20)].caption = '?';
        m_state.KeyLetterLabels[5].visible = m_state.RedRowNumberLabels[2].visible = false;
        m_state.KeyLetterLabels[0].caption = "K";
        m_view->refresh();
        QCOMPARE(accessibleDump(), QString::fromLatin1(abc::DumpGrid(m_state)));
        const abc::LabelArray *families[] = {&m_state.ColumnNumberLabels, &m_state.KeyLetterLabels,
                                             &m_state.RowNumberLabels, &m_state.RedRowNumberLabels};
        for (int family = 0; family < 4; ++family)
            QCOMPARE(headerRow(family), abc::test::LabelRow(*families[family]));

        // Windows-1252: euro sign, A umlaut, S caron, an undefined byte, Y and y diaeresis.
        m_state.GridCells[7].caption = '\x80';
        m_state.KeyLetterLabels[7].caption = "\xC4\x8A\x9D\x9F\xFF";
        QCOMPARE(table()->cellAt(0, 7)->text(QAccessible::Name), QStringLiteral("\u20AC"));
        QCOMPARE(headersOf(0, 7).value(1)->text(QAccessible::Name), QStringLiteral("\u00C4\u0160\uFFFD\u0178\u00FF"));

        m_box->hide();
        QVERIFY(table()->cellAt(2, 6)->state().invisible);
    }

    void childAtFindsVisibleItems()
    {
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_view);
        const auto at = [&](QPoint local) {
            const QPoint global = m_view->mapToGlobal(local);
            return grid->childAt(global.x(), global.y());
        };
        const QRect cell = GridView::cellRect(abc::CellIndex(6, 9));
        const QRect keyLetter = GridView::labelRect(Family::KeyLetter, 4);
        QCOMPARE(at(cell.topLeft()), table()->cellAt(6, 9));
        QCOMPARE(at(cell.bottomRight()), table()->cellAt(6, 9));
        QVERIFY(!at(cell.topRight() + QPoint(1, 0))); // gaps belong to no cell
        QVERIFY(!at(cell.bottomLeft() + QPoint(0, 1)));
        QCOMPARE(at(keyLetter.center()), headersOf(0, 4).value(1));

        m_state.GridCells[abc::CellIndex(6, 9)].visible = false;
        m_state.KeyLetterLabels[4].visible = false;
        QVERIFY(!at(cell.center()));
        QVERIFY(!at(keyLetter.center()));
    }
};

QTEST_MAIN(TestGridView)
#include "tst_gridview.moc"
