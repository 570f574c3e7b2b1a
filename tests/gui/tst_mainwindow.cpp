// The main window driven through real clicks and key strokes: start-up look,
// the enabled flags along the decoding workflow, method choice, keyword
// synchronisation, key filter and completion, what stops a key before the
// grid, and the keyboard's way through the controls.

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <QWindow>

#include "gui/grid/grid_view.h"
#include "tests/engine/engine_test_support.h"
#include "tests/gui/form_driver.h"

namespace {

const QStringList Path = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};
const QStringList Panels = [] {
    QStringList names;
    for (int i = 0; i < 13; ++i)
        names << QStringLiteral("StatusPanel%1").arg(i);
    return names;
}();

// Hides the window before destroying it, so that what losing the focus sets
// off (the combo box settles its text) runs while the window is whole.
struct Window : FormDriver {
    ~Window() { form->hide(); }

    // Every enabled flag, the captions the workflow owns and the 13 panels.
    QMap<QString, QString> workflow() const
    {
        QMap<QString, QString> s;
        for (QWidget *w : named())
            s[w->objectName()] = w->isEnabled() ? "on" : "off";
        for (const QString &name : QStringList{"Label1", "BitBtn4", "BitBtn8", "BitBtn9"} + Panels)
            s[name + ".text"] = shown(qPrintable(name));
        return s;
    }
    // What changed in the workflow state while action ran.
    template<typename Action>
    QString changes(Action action) const
    {
        const auto before = workflow(), after = (action(), workflow());
        QStringList diff;
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value())
                diff << it.key() + '=' + it.value();
        return diff.join("; ");
    }
    // The grid's columns: key letters, "." for the columns cut off.
    QString columns() const { return QString::fromStdString(abc::test::KeyColumns(state())); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void startState()
    {
        Window d;
        QCOMPARE(d.form->windowTitle() + ' ' + QString::number(d.form->width()) + 'x'
                     + QString::number(d.form->height()),
                 "ABC- und ABCD-Chiffre 1450x881");
        // 13 lines, 99 groups of five letters
        QVERIFY(QRegularExpression("^(([A-Z]{5} ){8}\n){12}([A-Z]{5} ){2}[A-Z]{5}$")
                    .match(d.control<QPlainTextEdit>("Memo1")->toPlainText())
                    .hasMatch());
        QCOMPARE(d.texts({"ComboBox1", "Edit7", "Edit1", "Edit2", "Edit5", "Edit6", "Label1"}),
                 "KIRSCHBLUETENAST|KIRSCHBLUETENAST|?????|???|???|???|Decoding ABC(D)-Chiffre");
        QCOMPARE(d.texts(Panels),
                 "Aktueller Status:|unbekannt|Anzahl Plaitextzeichen:||Keyword:|KIRSCHBLUETENAST|"
                 "Verfahren:|ABC-Chiffre|||||");
        QCOMPARE(d.control<QGroupBox>("GroupBox5")->title(), "Sustiutionstext");
        QCOMPARE(d.enabledFlags(), "BitBtn3 BitBtn6 ComboBox1 | Edit1 Edit2 Edit3 Edit4 Edit5 Edit6");

        auto *combo = d.control<QComboBox>("ComboBox1");
        for (int i = 0; i < combo->count(); ++i) // keywords of capitals that fit the grid
            QVERIFY2(QRegularExpression("^[A-Z]{1,45}$").match(combo->itemText(i)).hasMatch(),
                     qPrintable(combo->itemText(i)));

        const std::pair<const char *, QRect> places[] = {{"Memo1", {8, 16, 537, 281}},
                                                         {"BitBtn6", {184, 56, 161, 25}},
                                                         {"Edit3", {584, 776, 857, 22}},
                                                         {"StatusBar1", {0, 862, 1450, 19}},
                                                         {"GroupBox3", {584, 8, 857, 737}}};
        for (const auto &[name, rect] : places)
            QCOMPARE(d.control(name)->geometry(), rect);
        QString widths;
        for (const QString &panel : Panels)
            widths += QString::number(d.control(qPrintable(panel))->width()) + ' ';
        QCOMPARE(widths, "100 130 130 50 65 350 65 150 50 50 50 50 50 ");
        QWidget *view = d.control("TranspositionGrid");
        const QRect last = GridView::cellRect(abc::CellIndex(44, 44));
        QCOMPARE(QRect(view->mapTo(d.control("GroupBox3"), last.topLeft()), last.size()), QRect(715, 720, 12, 12));

        for (QWidget *w : d.named())
            QCOMPARE(w->accessibleDescription(), w->objectName());
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(d.form.get());
        QCOMPARE(window->role(), QAccessible::Window); // a frame, not a filler, to screen readers
        QCOMPARE(window->text(QAccessible::Name), "ABC- und ABCD-Chiffre");
        QStringList titles;
        for (const char *edit : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
            titles << QAccessible::queryAccessibleInterface(d.control(edit))->text(QAccessible::Name);
        QCOMPARE(titles.join('|'),
                 "Plaintextzeichen|Substitutionszeichen|numerische Einschreibefolge|"
                 "alphabetische Folge|Spaltenanzahl:|Zeilenanzahl:");

        QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(view)->tableInterface();
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name) + table->cellAt(0, 44)->text(QAccessible::Name), "AP");
    }

    void closeButton()
    {
        for (const QStringList &clicks : {QStringList(), Path.mid(0, 4)}) {
            Window d;
            d.run(clicks);
            d.click("BitBtn1");
            QVERIFY(!d.form->isVisible());
        }
    }

    void actionRows_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        const QString cleaned =
            "BitBtn2=off; BitBtn3=off; BitBtn4=on; BitBtn5=on; StatusPanel1.text=Eingabetext bereinigt";
        const auto row = [](const char *name, const QStringList &before, const char *action, const QString &expected,
                            const char *message = "") {
            QTest::newRow(name) << before << action << expected << message;
        };
        row("set key", {}, "BitBtn6", "BitBtn2=on; BitBtn6=off; BitBtn7=on; ComboBox1=off");
        row("clean", Path.mid(0, 1), "BitBtn2", cleaned + "; StatusPanel3.text=495");
        row("clean empty", {"BitBtn6", "BitBtn3"}, "BitBtn2", cleaned, "Die Eingabeseite darf nicht leer sein!");
        row("clear at start", {}, "BitBtn3", "");
        row("clear after key", Path.mid(0, 1), "BitBtn3", "");
        row("cut", Path.mid(0, 2), "BitBtn5", "BitBtn5=off; Button2=on");
        row("transposition", Path.mid(0, 3), "Button2",
            "BitBtn8=on; BitBtn9=on; Button1=on; Button2=off; StatusPanel10.text=Transposition");
        row("substitution", Path.mid(0, 4), "Button1", "Button1=off");
        row("substitution after reset", Path.mid(0, 4) << "BitBtn7", "Button1", "BitBtn8=on; Button1=off");
        row("input groups", Path.mid(0, 2), "BitBtn4", "BitBtn4.text=Blocktext schalten");
        row("transposition groups", Path.mid(0, 4), "BitBtn8", "BitBtn8.text=Blocktext Transposition");
        row("substitution groups", Path, "BitBtn9", "BitBtn9.text=Blocktext schalten");
        // A reset opens the key step again and disables no other step button.
        const QString reset = "BitBtn6=on; BitBtn7=off; ComboBox1=on", off = "BitBtn4=off; BitBtn6=on; BitBtn7=off; ";
        row("reset, key set", Path.mid(0, 1), "BitBtn7", reset);
        row("reset, key set after a cleaning", {"BitBtn6", "BitBtn2", "BitBtn7", "BitBtn6"}, "BitBtn7", reset);
        row("reset, cleaned", Path.mid(0, 2), "BitBtn7", off + "ComboBox1=on");
        row("reset, matrix cut", Path.mid(0, 3), "BitBtn7", off + "ComboBox1=on");
        row("reset, transposed", Path.mid(0, 4), "BitBtn7", off + "BitBtn8=off; BitBtn9=off; ComboBox1=on");
        row("reset, substituted", Path, "BitBtn7", off + "BitBtn8=off; BitBtn9=off; ComboBox1=on");
        row("reset, toggles switched",
            QStringList(Path) << "BitBtn4"
                              << "BitBtn8"
                              << "BitBtn9",
            "BitBtn7",
            "BitBtn4=off; BitBtn4.text=Fünfer-Gruppen schalten; BitBtn6=on; BitBtn7=off; BitBtn8=off; BitBtn8.text="
            "Fünfer-Gruppen Transposition; BitBtn9=off; BitBtn9.text=Fünfer-Gruppen Substitution; ComboBox1=on");
    }
    void actionRows()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        Window d;
        d.run(before);
        QString shown;
        QCOMPARE(d.changes([&] { shown = d.clickAndAnswer(qPrintable(action)).text; }), expected);
        QCOMPARE(shown, message);
        if (expected.contains("StatusPanel3"))
            QCOMPARE(d.shown("Edit1"), d.shown("StatusPanel3"));
        if (action == "BitBtn7") {
            QCOMPARE(d.texts({"Edit1", "Edit2", "Edit5", "Edit6", "Memo1", "Memo2", "Memo3"}), "???|???|???|???|||");
            // The disabled button hands the focus on to where the new key goes.
            QCOMPARE(QApplication::focusWidget(), d.control("ComboBox1"));
        }
    }

    void methodChoice()
    {
        Window d;
        const auto choose = [&d](const char *item) { return d.changes([&] { d.click(item); }); };
        const QString abc = "Label1.text=Decoding ABC-Chiffre; StatusPanel7.text=ABC-Chiffre";
        const QString abcd = "Label1.text=Decoding ABCD-Chiffre; StatusPanel7.text=ABCD-Chiffre";
        QCOMPARE(choose("RadioGroup1Item0"), ""); // the item already selected
        QCOMPARE(choose("RadioGroup1Item1"), abcd);
        QCOMPARE(choose("RadioGroup1Item0"), abc);

        d.run(Path);
        const QString plain = d.shown("Memo3");
        QVERIFY(!plain.isEmpty());
        QCOMPARE(choose("RadioGroup1Item1"), abcd);
        QCOMPARE(choose("RadioGroup1Item0"), abc);
        QCOMPARE(d.shown("Memo3"), plain);

        QWidget *radio = d.focus("RadioGroup1Item0");
        QVERIFY(radio);
        QCOMPARE(d.changes([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); }), abcd);
        QVERIFY(d.control<QRadioButton>("RadioGroup1Item1")->hasFocus());
        QCOMPARE(d.changes([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); }), abc);
    }

    void keywordSync()
    {
        Window d;
        const QStringList mirrors = {"ComboBox1", "Edit7", "StatusPanel5"};
        QVERIFY(d.type("ComboBox1", ""));
        QCOMPARE(d.texts(mirrors), "||");
        QTest::keyClicks(d.control("ComboBox1"), "qxz");
        QCOMPARE(d.texts(mirrors), "QXZ|QXZ|QXZ");
        d.type("Edit7", "qxz");
        QCOMPARE(d.texts(mirrors), "qxz|qxz|qxz");
        d.type("Edit7", "");
        QCOMPARE(d.texts(mirrors), "||");

        auto *combo = d.control<QComboBox>("ComboBox1");
        QCOMPARE(d.focus("ComboBox1"), combo);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(d.texts(mirrors), "FUNKERKOMPANIE|FUNKERKOMPANIE|FUNKERKOMPANIE");
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(d.texts(mirrors), "KIRSCHBLUETENAST|KIRSCHBLUETENAST|KIRSCHBLUETENAST");

        d.run({"BitBtn6"});
        const QString keyed = d.columns();
        QWidget *edit7 = d.focus("Edit7");
        QTest::keyClick(edit7, Qt::Key_End);
        QTest::keyClicks(edit7, "xy");
        QCOMPARE(d.texts(mirrors), "KIRSCHBLUETENASTxy|KIRSCHBLUETENASTxy|KIRSCHBLUETENASTxy");
        QCOMPARE(d.columns(), keyed);

        // A keyword from Edit7 stays as typed, also when the combo box had the focus.
        d.click("BitBtn7");
        QVERIFY(d.type("Edit7", "funkerkompanie"));
        QVERIFY(d.focus("ComboBox1"));
        d.click("BitBtn6"); // the click takes the focus from the combo box
        QCOMPARE(d.texts(mirrors), "funkerkompanie|funkerkompanie|funkerkompanie");
        QCOMPARE(d.columns().left(15), "funkerkompanie.");
    }

    // Keys typed at the end of ComboBox1 after Edit7 gave it `start`, the
    // cursor moved `left` first: a key event, text typed key by key (code 0)
    // or text committed through the input method (code -1). Result:
    // text|cursor|selection, and "|left" when the focus left the field.
    void typing_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *start, int left, int code, const QString &typed,
                            int modifiers, const char *expected) {
            QTest::newRow(name) << start << left << code << typed << modifiers << expected;
        };
        // No list item begins with "Q9": the filter alone decides.
        row("small letter", "Q9", 0, Qt::Key_A, "a", 0, "Q9A|3|");
        row("small letter inside", "Q9", 1, Qt::Key_C, "c", 0, "QC9|2|");
        row("ä", "Q9", 0, Qt::Key_Adiaeresis, "ä", 0, "Q9|2|");
        row("at", "Q9", 0, Qt::Key_At, "@", Qt::AltModifier, "Q9|2|");
        row("backspace", "Q9", 0, Qt::Key_Backspace, "\b", 0, "Q|1|");
        // The window system gives the Delete key the text DEL (0x7F).
        row("delete", "Q9", 1, Qt::Key_Delete, "\x7f", 0, "Q|1|");
        row("home", "Q9", 0, Qt::Key_Home, "", 0, "Q9|0|");
        row("ctrl+a", "Q9", 0, Qt::Key_A, "\x01", Qt::ControlModifier, "Q9|2|Q9");
        row("ctrl+v", "Q9", 0, Qt::Key_V, "\x16", Qt::ControlModifier, "Q9ab|4|");
        row("tab", "Q9", 0, Qt::Key_Tab, "\t", 0, "Q9|2||left");
        row("input method", "Q9", 0, -1, "x-ä 7", 0, "Q9X7|4|");
        // Completion: the first item that begins with the text, the rest selected.
        row("k", "", 0, 0, "k", 0, "KIRSCHBLUETENAST|16|IRSCHBLUETENAST");
        row("KI", "", 0, 0, "KI", 0, "KIRSCHBLUETENAST|16|RSCHBLUETENAST");
        row("KIQ breaks the match", "", 0, 0, "KIQ", 0, "KIQ|3|");
        row("KA skips K items", "", 0, 0, "KA", 0, "KARTENSTELLEDERARMEE|20|RTENSTELLEDERARMEE");
        // Small letters reach the field only from Edit7; the item is shown as it stands.
        row("kir from Edit7, then s", "kir", 0, 0, "s", 0, "KIRSCHBLUETENAST|16|CHBLUETENAST");
    }
    void typing()
    {
        QFETCH(QString, start);
        QFETCH(int, left);
        QFETCH(int, code);
        QFETCH(QString, typed);
        QFETCH(int, modifiers);
        QFETCH(QString, expected);
        Window d;
        QGuiApplication::clipboard()->setText("ab");
        QVERIFY(d.type("Edit7", start));
        auto *combo = d.control<QComboBox>("ComboBox1");
        QCOMPARE(d.focus("ComboBox1"), combo);
        QTest::keyClick(combo, Qt::Key_End);
        for (int i = 0; i < left; ++i)
            QTest::keyClick(combo, Qt::Key_Left);
        if (code < 0) {
            QInputMethodEvent composed;
            composed.setCommitString(typed);
            QApplication::sendEvent(combo, &composed);
        } else if (code == 0) {
            QTest::keyClicks(combo, typed);
        } else {
            QTest::sendKeyEvent(QTest::Click, combo, Qt::Key(code), typed, Qt::KeyboardModifiers(modifiers));
        }
        QLineEdit *field = combo->lineEdit();
        QCOMPARE(QStringList({field->text(), QString::number(field->cursorPosition()), field->selectedText()}).join('|')
                     + (combo->hasFocus() ? "" : "|left"),
                 expected);
        QCOMPARE(d.shown("Edit7"), field->text());
    }

    void emptyKey()
    {
        Window d;
        QVERIFY(d.type("ComboBox1", ""));
        const std::string before = abc::DumpGrid(d.state());
        SeenMessage seen;
        QCOMPARE(d.changes([&] { seen = d.clickAndAnswer("BitBtn6"); }), "");
        QCOMPARE(QStringList({seen.title, seen.text, QString::number(seen.buttonCount)}).join('|'),
                 "Achtung|Das Schlüsselwort darf nicht leer sein!|1");
        QCOMPARE(d.shown("Edit5"), "???");
        QVERIFY(abc::DumpGrid(d.state()) == before);
        QCOMPARE(d.columns(), QString(45, '#'));
    }

    // Tab and Shift+Tab from the input area, through the window as a person
    // presses them: the enabled controls in the layout's order, once round.
    // The text areas pass the focus on and keep their texts.
    void tabCycle_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("cycle");
        QTest::newRow("start") << QStringList()
                               << QStringList{"Memo1", "BitBtn1", "RadioGroup1", "BitBtn3", "ComboBox1",
                                              "Memo2", "BitBtn6", "Memo3",       "Edit7",   "Memo1"};
        QTest::newRow("key set") << Path.mid(0, 1)
                                 << QStringList{"Memo1", "BitBtn1", "RadioGroup1", "BitBtn2", "BitBtn3",
                                                "Memo2", "BitBtn7", "Memo3",       "Edit7",   "Memo1"};
    }
    void tabCycle()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, cycle);
        Window d;
        const auto focused = [] {
            QWidget *w = QApplication::focusWidget();
            return !w ? QString() : qobject_cast<QRadioButton *>(w) ? w->parentWidget()->objectName() : w->objectName();
        };
        QVERIFY(QTest::qWaitForWindowActive(d.form.get()));
        if (before.isEmpty())
            QCOMPARE(focused(), "Memo1"); // where the window starts
        d.run(before);
        QVERIFY(d.focus("Memo1"));
        const QStringList areas = {"Memo1", "Memo2", "Memo3"};
        const QString texts = d.texts(areas);

        QWindow *window = d.form->windowHandle();
        QStringList forward = {focused()}, backward = {focused()};
        for (qsizetype i = 1; i < cycle.size(); ++i) {
            QTest::keyClick(window, Qt::Key_Tab);
            forward << focused();
        }
        for (qsizetype i = 1; i < cycle.size(); ++i) {
            QTest::keyClick(window, Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(focused());
        }
        QCOMPARE(forward, cycle);
        QCOMPARE(backward, cycle);
        QCOMPARE(d.texts(areas), texts);
    }

    // Return and Enter press the focused button as Space does; in a text area
    // Return still breaks the line.
    void keysPressButtons()
    {
        Window d;
        QWindow *window = d.form->windowHandle();
        const auto press = [&](const char *button, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            return d.changes([&] {
                if (d.focus(button))
                    QTest::keyClick(window, key, modifiers);
            });
        };
        QCOMPARE(press("BitBtn6", Qt::Key_Return), "BitBtn2=on; BitBtn6=off; BitBtn7=on; ComboBox1=off");
        QCOMPARE(press("BitBtn2", Qt::Key_Enter, Qt::KeypadModifier),
                 "BitBtn2=off; BitBtn3=off; BitBtn4=on; BitBtn5=on; StatusPanel1.text=Eingabetext bereinigt; "
                 "StatusPanel3.text=495");
        QCOMPARE(press("BitBtn5", Qt::Key_Space), "BitBtn5=off; Button2=on");
        QCOMPARE(press("Button2", Qt::Key_Return, Qt::ControlModifier), ""); // a shortcut, not a press
        QCOMPARE(d.shown("Edit5"), "16");

        QVERIFY(d.focus("Memo2"));
        const QString before = d.shown("Memo2");
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(d.shown("Memo2"), before + '\n');
    }

    void pasteIsCut()
    {
        const QString sixty = QStringLiteral("0123456789").repeated(6);
        for (const char *target : {"ComboBox1", "Edit7"}) {
            Window d;
            QGuiApplication::clipboard()->setText(sixty);
            QWidget *field = d.type(target, "");
            QVERIFY(field);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(d.texts({"ComboBox1", "Edit7", "StatusPanel5"}), QStringList(3, sixty.left(45)).join('|'));
            d.click("BitBtn6");
            QCOMPARE(d.shown("Edit5"), "45");
            QCOMPARE(d.columns(), sixty.left(45));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
