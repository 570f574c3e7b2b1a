// The main window on screens smaller than its layout, as main() opens it:
// within the screen's available area, its content scrolled by the bars, the
// wheel, the keys and the focus; every control reachable; and on a screen
// with room the whole layout again, drawn as a window that never scrolled.
//
// CTest runs this once per screen set (the offscreen platform's configfile)
// and scale factor. Each set has the screen under test, "small", and beside
// it "large" with room for the layout and "dense" at twice the scale. Grabs
// are saved as reach-<GRAB_NAME>-*.png for a look by eye.

#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <QWindow>

#include <memory>

#include "gui/screen/screen_fit.h"
#include "gui/tform1.h"
#include "gui/workbench_style.h"

namespace {

const QSize LayoutSize(1450, 881);

QString Rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QScreen *ScreenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    qFatal("no screen %s", qPrintable(name));
}

// Active with the focus in Memo1, so that grabs of two windows compare.
bool ShowActive(TForm1 &form)
{
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return false;
    QWidget *memo = form.findChild<QWidget *>(QStringLiteral("Memo1"));
    memo->setFocus(Qt::OtherFocusReason);
    return memo->hasFocus();
}

} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

    std::unique_ptr<TForm1> form;
    QImage fullSize; // a window that was never fitted nor scrolled

    QScrollBar *bar(const char *name) const { return form->findChild<QScrollBar *>(QLatin1String(name)); }
    bool scrolls() const { return bar("HorzScrollBar")->isVisible() || bar("VertScrollBar")->isVisible(); }

    // The part of the window the scroll bars leave to the content.
    QRect view() const
    {
        QRect r = form->rect();
        if (bar("VertScrollBar")->isVisible())
            r.setRight(bar("VertScrollBar")->x() - 1);
        if (bar("HorzScrollBar")->isVisible())
            r.setBottom(bar("HorzScrollBar")->y() - 1);
        return r;
    }
    QRect placeOf(const QWidget *w) const { return {w->mapTo(form.get(), QPoint()), w->size()}; }

    // Shown whole if it fits into the view (or the part of it above the
    // status line), else filling it.
    QString shownBadly(const QWidget *w, bool aboveStatusLine = false) const
    {
        QRect v = view();
        if (aboveStatusLine)
            v.setBottom(placeOf(form->findChild<QWidget *>(QStringLiteral("StatusBar1"))).top() - 1);
        const QRect place = placeOf(w);
        const auto fine = [](int start, int end, int viewStart, int viewEnd) {
            return end - start <= viewEnd - viewStart ? start >= viewStart && end <= viewEnd
                                                      : start <= viewStart && end >= viewEnd;
        };
        if (fine(place.left(), place.right(), v.left(), v.right())
            && fine(place.top(), place.bottom(), v.top(), v.bottom()))
            return {};
        return w->objectName() + ' ' + Rect(place) + " in " + Rect(v);
    }

    // Drags the bars to each control of the layout in turn.
    QString unreachable() const
    {
        QScrollBar *horizontal = bar("HorzScrollBar");
        QScrollBar *vertical = bar("VertScrollBar");
        QStringList badly;
        for (QWidget *w : form->findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))
                || !w->isVisibleTo(form.get()) || qobject_cast<QScrollBar *>(w))
                continue;
            const QPoint atLayout = placeOf(w).topLeft() + QPoint(horizontal->value(), vertical->value());
            horizontal->setValue(atLayout.x());
            vertical->setValue(atLayout.y());
            badly << shownBadly(w);
        }
        badly.removeAll(QString());
        return badly.join('\n');
    }

    // Grabs of the window scrolled to the start and to the end.
    void saveGrabs(const QString &where) const
    {
        const QString name = qEnvironmentVariable("GRAB_NAME", QStringLiteral("screen"));
        for (const bool end : {false, true}) {
            for (QScrollBar *b : {bar("HorzScrollBar"), bar("VertScrollBar")})
                b->setValue(end ? b->maximum() : 0);
            const QString file = QStringLiteral(GRAB_DIR "/reach-%1-%2-%3.png").arg(name, where, end ? "end" : "start");
            QVERIFY2(form->grab().save(file), qPrintable(file));
        }
    }

    // The size the window takes on a screen: the layout's, or the room the
    // screen's available area leaves beside the frame.
    QSize fittingSize(const QScreen *screen) const
    {
        return LayoutSize.boundedTo(screen->availableGeometry().size().shrunkBy(form->windowHandle()->frameMargins()));
    }

    bool moveTo(QScreen *screen) const
    {
        form->windowHandle()->setScreen(screen);
        return QTest::qWaitFor([&] { return form->size() == fittingSize(screen); });
    }

private slots:
    void initTestCase()
    {
        InstallWorkbenchLook();
        QApplication::setCursorFlashTime(0); // a text cursor that is always drawn
        {
            TForm1 plain;
            QVERIFY(ShowActive(plain));
            fullSize = plain.grab().toImage();
            plain.hide();
        }
        form = std::make_unique<TForm1>();
        form->move(157, 79);
        KeepWithinScreen(form.get());
        QVERIFY(ShowActive(*form));
    }

    void cleanupTestCase()
    {
        form->hide(); // what losing the focus sets off runs while the window is whole
        form.reset();
    }

    void opensWithinTheScreenAndReachesEverything()
    {
        QScreen *screen = form->screen();
        QCOMPARE(screen->name(), "small");
        const QRect area = screen->availableGeometry();
        QVERIFY2(area.contains(form->frameGeometry()), qPrintable(Rect(form->frameGeometry()) + " in " + Rect(area)));
        QCOMPARE(form->size(), fittingSize(screen));
        QCOMPARE(bar("HorzScrollBar")->isVisible(), view().width() < LayoutSize.width());
        QCOMPARE(bar("VertScrollBar")->isVisible(), view().height() < LayoutSize.height());
        QVERIFY(scrolls()); // every screen set starts with a screen too small
        qInfo("screen %s at scale %g: window %dx%d, view %dx%d", qPrintable(Rect(area)), form->devicePixelRatioF(),
              form->width(), form->height(), view().width(), view().height());
        QCOMPARE(unreachable(), QString());
        saveGrabs(QStringLiteral("small"));
    }

    // Tab and Shift+Tab twice round the window from the far end of the
    // layout: the view follows the focus.
    void focusScrollsIntoView()
    {
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            for (QScrollBar *b : {bar("HorzScrollBar"), bar("VertScrollBar")})
                b->setValue(key == Qt::Key_Tab ? b->maximum() : 0);
            QStringList badly;
            for (int i = 0; i < 20; ++i) {
                QTest::keyClick(form->windowHandle(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                badly << shownBadly(QApplication::focusWidget());
            }
            badly.removeAll(QString());
            QCOMPARE(badly.join('\n'), QString());
        }
    }

    // The wheel over a control that does not take it, and keys that no
    // control takes, scroll the window.
    void wheelAndKeysScroll()
    {
        QScrollBar *horizontal = bar("HorzScrollBar");
        QScrollBar *vertical = bar("VertScrollBar");
        horizontal->setValue(0);
        vertical->setValue(0);
        const auto turn = [this](QPoint angle) {
            QWidget *label = form->findChild<QWidget *>(QStringLiteral("Label1"));
            const QPointF at = label->rect().center();
            QWheelEvent wheel(at, label->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            // As from the window system (as QTest sends keys): only then does
            // a wheel turn that a control ignores reach the window.
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            qApp->notify(label, &wheel);
        };
        turn(QPoint(0, -120));
        QCOMPARE(vertical->value(), std::min(vertical->maximum(), 3 * vertical->singleStep()));
        turn(QPoint(-120, 0));
        QCOMPARE(horizontal->value(), std::min(horizontal->maximum(), 3 * horizontal->singleStep()));

        // The radio item at the end of its group passes Down and Page Down on.
        QWidget *radio = form->findChild<QRadioButton *>(QStringLiteral("RadioGroup1Item1"));
        radio->setFocus(Qt::OtherFocusReason);
        horizontal->setValue(0);
        vertical->setValue(0);
        QTest::keyClick(form->windowHandle(), Qt::Key_PageDown);
        QCOMPARE(vertical->value(), std::min(vertical->maximum(), vertical->pageStep()));
        QTest::keyClick(form->windowHandle(), Qt::Key_PageUp);
        QCOMPARE(vertical->value(), 0);
        QVERIFY(radio->hasFocus());
    }

    // Moving to another screen fits the window to it: at twice the scale
    // everything stays reachable; with room for the layout it shows whole,
    // also maximised after the user shrank it, drawn exactly as a window that
    // never scrolled.
    void otherScreens()
    {
        const qreal scale = form->devicePixelRatioF();
        QVERIFY(moveTo(ScreenNamed("dense")));
        QCOMPARE(form->devicePixelRatioF(), 2 * scale);
        QVERIFY(scrolls());
        QCOMPARE(unreachable(), QString());
        saveGrabs(QStringLiteral("dense"));

        QVERIFY(moveTo(ScreenNamed("large")));
        QCOMPARE(form->size(), LayoutSize);
        QVERIFY(!scrolls());
        form->findChild<QWidget *>(QStringLiteral("Memo1"))->setFocus(Qt::OtherFocusReason);
        QCOMPARE(form->grab().toImage(), fullSize);

        form->resize(700, 500);
        QVERIFY(scrolls());
        bar("VertScrollBar")->setValue(bar("VertScrollBar")->maximum());
        form->showMaximized();
        QVERIFY(QTest::qWaitFor([&] { return form->width() >= LayoutSize.width(); }));
        QVERIFY(!scrolls());
        QCOMPARE(form->grab(QRect(QPoint(), LayoutSize)).toImage(), fullSize);
        form->showNormal();

        QVERIFY(moveTo(ScreenNamed("small")));
        QVERIFY(scrolls());
        QCOMPARE(unreachable(), QString());
    }

    // Each step brings the area it wrote into into view, from wherever the
    // user had scrolled, and the status line stays in sight below it.
    void stepsShowTheirResults()
    {
        QWidget *status = form->findChild<QWidget *>(QStringLiteral("StatusBar1"));
        const QRect statusAtStart = placeOf(status);
        const std::pair<const char *, const char *> steps[] = {
            {"BitBtn6", "GroupBox3"}, {"BitBtn2", "Memo1"}, {"BitBtn4", "Memo1"}, {"BitBtn5", "GroupBox3"},
            {"Button2", "Memo2"},     {"BitBtn8", "Memo2"}, {"Button1", "Memo3"}, {"BitBtn9", "Memo3"},
        };
        QStringList badly;
        bool toEnd = true;
        for (const auto &[button, result] : steps) {
            for (QScrollBar *b : {bar("HorzScrollBar"), bar("VertScrollBar")})
                b->setValue(toEnd ? b->maximum() : 0);
            toEnd = !toEnd;
            form->findChild<QPushButton *>(QLatin1String(button))->click();
            badly << shownBadly(form->findChild<QWidget *>(QLatin1String(result)), true);
            const QRect line = placeOf(status);
            if (line.top() < view().top() || line.bottom() > view().bottom())
                badly << QStringLiteral("StatusBar1 %1 in %2 after %3").arg(Rect(line), Rect(view()), button);
        }
        badly.removeAll(QString());
        QCOMPARE(badly.join('\n'), QString());
        QCOMPARE(placeOf(status).top(), statusAtStart.top());
    }
};

QTEST_MAIN(TestScreenFit)
#include "tst_screen_fit.moc"
