// The main window at a desktop scale factor (QT_SCALE_FACTOR, read when the
// application starts; CTest runs this once per factor): nothing clipped,
// nothing overlapping, and a grab of the size the factor asks for. The grab
// is saved as window-<percent>.png for a look by eye.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QtTest>

#include <memory>

#include "gui/grid/grid_view.h"
#include "gui/tform1.h"
#include "gui/workbench_style.h"

namespace {

// Siblings that the layout itself lays over one another, lower one first:
// the two dates of the window lie on the panel; the group box of the
// transposition text shares one pixel row with the two buttons above it.
const QSet<QString> LayoutOverlaps = {"Panel1/StaticText3", "Panel1/StaticText4", "BitBtn1/GroupBox4",
                                      "GroupBox4/BitBtn8"};

qreal RequestedFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

QString Rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestScaling : public QObject
{
    Q_OBJECT

    std::unique_ptr<TForm1> form;

    // The controls of the layout, in layout order, as far as they are shown.
    QList<QWidget *> controls() const
    {
        QList<QWidget *> all = form->findChildren<QWidget *>();
        all.removeIf([this](QWidget *w) {
            return w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))
                || !w->isVisibleTo(form.get());
        });
        return all;
    }

    // Width that a text plus what stands beside it needs, against the width
    // the style leaves for it.
    static void fits(QStringList &clipped, QWidget *w, const QString &text, qreal beside, int room)
    {
        const qreal needed = QFontMetricsF(w->font(), w).horizontalAdvance(text) + beside;
        if (needed > room)
            clipped << QStringLiteral("%1 \"%2\" needs %3 of %4").arg(w->objectName(), text).arg(needed).arg(room);
    }

private slots:
    void initTestCase()
    {
        InstallWorkbenchLook();
        form = std::make_unique<TForm1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanupTestCase()
    {
        form->hide(); // what losing the focus sets off runs while the window is whole
        form.reset();
    }

    void factorApplies()
    {
        QCOMPARE(form->devicePixelRatioF(), RequestedFactor());
        QCOMPARE(form->size(), QSize(1450, 881));
    }

    void grabHasScaledSize()
    {
        const qreal factor = RequestedFactor();
        const QPixmap grab = form->grab();
        const QString file = QStringLiteral(GRAB_DIR "/window-%1.png").arg(qRound(factor * 100));
        QVERIFY2(grab.save(file), qPrintable(file));
        QCOMPARE(grab.size(), QSize(1450, 881) * factor);
        QCOMPARE(grab.devicePixelRatio(), factor);
    }

    void controlsInsideParents()
    {
        QStringList outside;
        for (QWidget *w : controls()) {
            if (!w->parentWidget()->rect().contains(w->geometry()))
                outside << w->objectName() + ' ' + Rect(w->geometry()) + " in " + Rect(w->parentWidget()->rect());
        }
        QCOMPARE(outside.join('\n'), QString());
    }

    void siblingsDoNotOverlap()
    {
        const QList<QWidget *> all = controls();
        QStringList overlaps;
        for (qsizetype i = 0; i < all.size(); ++i) {
            for (qsizetype j = 0; j < all.size(); ++j) {
                QWidget *below = all[i], *above = all[j];
                if (below->parentWidget() != above->parentWidget()
                    || below->parentWidget()->children().indexOf(below)
                        >= above->parentWidget()->children().indexOf(above)
                    || !below->geometry().intersects(above->geometry()))
                    continue;
                const QString pair = below->objectName() + '/' + above->objectName();
                if (!LayoutOverlaps.contains(pair))
                    overlaps << pair;
                // Where the layout lays one control over another, it covers
                // none of what the lower one holds.
                for (QWidget *inner : below->findChildren<QWidget *>()) {
                    if (all.contains(inner)
                        && QRect(inner->mapTo(below->parentWidget(), QPoint()), inner->size())
                               .intersects(above->geometry()))
                        overlaps << inner->objectName() + '/' + above->objectName();
                }
            }
        }
        QCOMPARE(overlaps.join(' '), QString());
    }

    void textsFitTheirWidths()
    {
        QStringList clipped;
        for (QWidget *w : controls()) {
            if (auto *button = qobject_cast<QPushButton *>(w)) {
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                option.icon = button->icon();
                option.iconSize = button->iconSize();
                const int room =
                    button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
                // The label puts 4 pixels between icon and text.
                fits(clipped, button, QString(button->text()).remove('&'),
                     button->icon().isNull() ? 0 : button->iconSize().width() + 4, room);
            } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
                QStyleOptionButton option;
                option.initFrom(radio);
                const QRect contents = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
                fits(clipped, radio, radio->text(), contents.left(), radio->width());
            } else if (auto *label = qobject_cast<QLabel *>(w)) {
                fits(clipped, label, label->text(), 0, label->contentsRect().width());
            } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                QStyleOptionFrame option;
                option.initFrom(edit);
                option.lineWidth =
                    edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
                const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
                // QLineEdit keeps 2 pixels of margin on either side of its text.
                fits(clipped, edit, edit->text(), 4, contents.width());
            } else if (auto *box = qobject_cast<QGroupBox *>(w)) {
                QStyleOptionGroupBox option;
                option.initFrom(box);
                option.text = box->title();
                option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                const QRect title =
                    box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
                if (!box->rect().contains(title))
                    clipped << box->objectName() + " title " + Rect(title);
            }
        }
        QCOMPARE(clipped.join('\n'), QString());
    }

    void lastGridCellInsideItsGroupBox()
    {
        auto *box = form->findChild<QGroupBox *>(QStringLiteral("GroupBox3"));
        auto *grid = form->findChild<GridView *>(QStringLiteral("TranspositionGrid"));
        QVERIFY(box && grid && grid->isVisible());
        const QRect cell = GridView::cellRect(abc::CellIndex(44, 44));
        QVERIFY2(box->rect().contains(cell) && grid->geometry().contains(cell), qPrintable(Rect(cell)));

        // In device pixels the cell is painted where it is laid out, and
        // nothing of it spills into the place of a next column or row.
        const QImage grab = form->grab().toImage();
        const qreal factor = RequestedFactor();
        const int pitch =
            GridView::cellRect(abc::CellIndex(44, 44)).x() - GridView::cellRect(abc::CellIndex(44, 43)).x();
        const auto yellowShare = [&](QRect r) {
            r.moveTopLeft(box->mapTo(form.get(), r.topLeft()));
            const QRect device = QRectF(r.x() * factor, r.y() * factor, r.width() * factor, r.height() * factor)
                                     .toRect()
                                     .adjusted(1, 1, -1, -1);
            int yellow = 0;
            for (int y = device.top(); y <= device.bottom(); ++y)
                for (int x = device.left(); x <= device.right(); ++x)
                    yellow += grab.pixel(x, y) == qRgb(0xFF, 0xFF, 0x00);
            return 100 * yellow / (device.width() * device.height());
        };
        QVERIFY2(yellowShare(cell) >= 25, qPrintable(QString::number(yellowShare(cell))));
        QCOMPARE(yellowShare(cell.translated(pitch, 0)), 0);
        QCOMPARE(yellowShare(cell.translated(0, pitch)), 0);
    }
};

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
