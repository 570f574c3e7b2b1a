// The main window driven through real clicks and key strokes: start-up look,
// the enabled flags along the decoding workflow, method choice, keyword
// synchronisation, key filter and completion, and the key step on the grid.

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include "form_driver.h"
#include "gridview.h"

namespace {

const QStringList StepControls = {"BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7",
                                  "BitBtn8", "BitBtn9", "Button1", "Button2", "ComboBox1"};
const QString DisplaysOff = QStringLiteral(" | Edit1 Edit2 Edit3 Edit4 Edit5 Edit6");
const QStringList Path = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};
const QStringList Panels = [] {
    QStringList names;
    for (int i = 0; i < 13; ++i)
        names << QStringLiteral("StatusPanel%1").arg(i);
    return names;
}();
const QStringList GroupCaptions = {"Fünfer-Gruppen schalten", "Fünfer-Gruppen Transposition",
                                   "Fünfer-Gruppen Substitution"};

// Hides the window before destroying it, so that what losing the focus sets
// off (the combo box settles its text) runs while the window is whole.
struct Window : FormDriver {
    ~Window() { form->hide(); }

    QList<QWidget *> named() const
    {
        QList<QWidget *> all = form->findChildren<QWidget *>();
        all.removeIf([](QWidget *w) { return w->objectName().isEmpty() || w->objectName().startsWith("qt_"); });
        return all;
    }
    QString text(const QString &name) const
    {
        QWidget *w = control(qPrintable(name));
        return w->property(qobject_cast<QComboBox *>(w) ? "currentText" : "text").toString();
    }
    QString texts(const QStringList &names) const
    {
        QStringList all;
        for (const QString &name : names)
            all << text(name);
        return all.join('|');
    }
    QString panels() const { return texts(Panels); }
    // The step controls that are enabled, then every other named control that is not.
    QString picture() const
    {
        QStringList on, off;
        for (QWidget *w : named()) {
            const bool step = StepControls.contains(w->objectName());
            if (step == w->isEnabled())
                (step ? on : off) << w->objectName();
        }
        on.sort();
        off.sort();
        return on.join(' ') + " | " + off.join(' ');
    }
    // Every enabled flag, the captions the workflow owns and the 13 panels.
    QMap<QString, QString> workflow() const
    {
        QMap<QString, QString> s;
        for (QWidget *w : named())
            s[w->objectName()] = w->isEnabled() ? "on" : "off";
        for (const QString &name : QStringList{"Label1", "BitBtn4", "BitBtn8", "BitBtn9"} + Panels)
            s[name + ".text"] = text(name);
        return s;
    }
    // What changed in the workflow state while action ran.
    template <typename Action>
    QString changes(Action action) const
    {
        const auto before = workflow(), after = (action(), workflow());
        QStringList diff;
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value())
                diff << it.key() + '=' + it.value();
        return diff.join("; ");
    }
    void run(const QStringList &clicks) const
    {
        for (const QString &name : clicks)
            clickAndAnswer(qPrintable(name));
    }
    // Keys reach the focus widget of the active window; the combo box completes only then.
    QWidget *focus(const char *name) const
    {
        form->activateWindow();
        QWidget *w = control(name);
        if (!QTest::qWaitForWindowActive(form.get()))
            return nullptr;
        w->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }) ? w : nullptr;
    }
    // Empties the field by keys and types into it.
    QWidget *type(const char *name, const QString &keys) const
    {
        QWidget *w = focus(name);
        if (w) {
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_Backspace);
            QTest::keyClicks(w, keys);
        }
        return w;
    }
    const abc::WorkbenchState &state() const { return form->state(); }
};

// One character per grid column: the key letter of a key column (cells enabled
// and shown, both labels shown), "." for a column cut off (cells ".", hidden
// and disabled, both labels hidden), "#" for anything else.
QString columns(const abc::WorkbenchState &s)
{
    QString picture;
    for (int c = 0; c < abc::GridSide; ++c) {
        bool key = s.KeyLetterLabels[c].visible && s.ColumnNumberLabels[c].visible;
        bool cut = !s.KeyLetterLabels[c].visible && !s.ColumnNumberLabels[c].visible;
        for (int r = 0; r < abc::GridSide; ++r) {
            const abc::GridCell &cell = s.GridCells[abc::CellIndex(r, c)];
            key = key && cell.enabled && cell.visible;
            cut = cut && !cell.enabled && !cell.visible && cell.caption == '.';
        }
        picture += key ? QString::fromStdString(s.KeyLetterLabels[c].caption) : cut ? "." : "#";
    }
    return picture;
}

QString grid(const abc::WorkbenchState &s) { return QString::fromStdString(abc::DumpGrid(s)); }

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void startState()
    {
        Window d;
        QCOMPARE(d.form->windowTitle() + ' ' + QString::number(d.form->width()) + 'x' + QString::number(d.form->height()),
                 "ABC- und ABCD-Chiffre 1450x881");
        // 13 lines, 99 groups of five letters
        QVERIFY(QRegularExpression("^(([A-Z]{5} ){8}\n){12}([A-Z]{5} ){2}[A-Z]{5}$")
                    .match(d.control<QPlainTextEdit>("Memo1")->toPlainText())
                    .hasMatch());
        QCOMPARE(d.texts({"ComboBox1", "Edit7", "Edit1", "Edit2", "Edit5", "Edit6", "Label1"}),
                 "KIRSCHBLUETENAST|KIRSCHBLUETENAST|?????|???|???|???|Decoding ABC(D)-Chiffre");
        QCOMPARE(d.panels(), "Aktueller Status:|unbekannt|Anzahl Plaitextzeichen:||Keyword:|KIRSCHBLUETENAST|"
                             "Verfahren:|ABC-Chiffre|||||");
        QCOMPARE(d.control<QGroupBox>("GroupBox5")->title(), "Sustiutionstext");
        QCOMPARE(d.picture(), "BitBtn3 BitBtn6 ComboBox1" + DisplaysOff);

        auto *combo = d.control<QComboBox>("ComboBox1");
        QCOMPARE(combo->count(), 163);
        QCOMPARE(combo->itemText(0), "KIRSCHBLUETENAST");
        for (int i = 0; i < combo->count(); ++i)
            QVERIFY2(QRegularExpression("^[A-Z]{1,45}$").match(combo->itemText(i)).hasMatch(), qPrintable(combo->itemText(i)));

        const std::pair<const char *, QRect> places[] = {{"Memo1", {8, 16, 537, 281}},   {"BitBtn6", {184, 56, 161, 25}},
                                                         {"Edit3", {584, 776, 857, 22}}, {"StatusBar1", {0, 862, 1450, 19}},
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
        QStringList titles;
        for (const char *edit : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
            titles << QAccessible::queryAccessibleInterface(d.control(edit))->text(QAccessible::Name);
        QCOMPARE(titles.join('|'), "Plaintextzeichen|Substitutionszeichen|numerische Einschreibefolge|"
                                   "alphabetische Folge|Spaltenanzahl:|Zeilenanzahl:");

        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(QSize(table->tableInterface()->columnCount(), table->tableInterface()->rowCount()), QSize(45, 45));
        QString row0;
        for (int c = 0; c < 45; ++c)
            row0 += table->tableInterface()->cellAt(0, c)->text(QAccessible::Name);
        QCOMPARE(row0, "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP");
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
        const QString cleaned = "BitBtn2=off; BitBtn3=off; BitBtn4=on; BitBtn5=on; StatusPanel1.text=Eingabetext bereinigt";
        const auto row = [](const char *name, const QStringList &before, const char *action, const QString &expected,
                            const char *message = "") { QTest::newRow(name) << before << action << expected << message; };
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
        row("reset after key", Path.mid(0, 1), "BitBtn7", "BitBtn6=on; BitBtn7=off; ComboBox1=on");
        row("reset after run", Path, "BitBtn7", "BitBtn4=off; BitBtn6=on; BitBtn7=off; BitBtn8=off; BitBtn9=off; ComboBox1=on");
        row("method ABCD", {}, "RadioGroup1Item1", "Label1.text=Decoding ABCD-Chiffre; StatusPanel7.text=ABCD-Chiffre");
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
            QCOMPARE(d.text("Edit1"), d.text("StatusPanel3"));
    }

    void stages()
    {
        const std::pair<const char *, const char *> table[] = {
            {nullptr, "BitBtn3 BitBtn6 ComboBox1"},                 {"BitBtn6", "BitBtn2 BitBtn3 BitBtn7"},
            {"BitBtn2", "BitBtn4 BitBtn5 BitBtn7"},                 {"BitBtn5", "BitBtn4 BitBtn7 Button2"},
            {"Button2", "BitBtn4 BitBtn7 BitBtn8 BitBtn9 Button1"}, {"Button1", "BitBtn4 BitBtn7 BitBtn8 BitBtn9"}};
        Window d;
        for (const auto &[click, enabled] : table) {
            if (click)
                d.clickAndAnswer(click);
            QCOMPARE(d.picture(), enabled + DisplaysOff);
        }
    }

    void reset_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("key set") << Path.mid(0, 1) << "BitBtn2 BitBtn3 BitBtn6 ComboBox1";
        QTest::newRow("key set after a cleaning") << QStringList{"BitBtn6", "BitBtn2", "BitBtn7", "BitBtn6"}
                                                  << "BitBtn2 BitBtn5 BitBtn6 ComboBox1";
        QTest::newRow("cleaned") << Path.mid(0, 2) << "BitBtn5 BitBtn6 ComboBox1";
        QTest::newRow("matrix cut") << Path.mid(0, 3) << "BitBtn6 Button2 ComboBox1";
        QTest::newRow("transposed") << Path.mid(0, 4) << "BitBtn6 Button1 ComboBox1";
        QTest::newRow("substituted") << Path << "BitBtn6 ComboBox1";
        QTest::newRow("substituted, toggles switched") << (QStringList(Path) << "BitBtn4" << "BitBtn8" << "BitBtn9")
                                                       << "BitBtn6 ComboBox1";
    }
    void reset()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, enabled);
        Window d;
        d.run(clicks);
        const QString status = d.panels();
        d.click("BitBtn7");
        QCOMPARE(d.picture(), enabled + DisplaysOff);
        QCOMPARE(d.panels(), status);
        QCOMPARE(d.texts({"BitBtn4", "BitBtn8", "BitBtn9"}), GroupCaptions.join('|'));
        QCOMPARE(d.texts({"Edit1", "Edit2", "Edit5", "Edit6"}), "???|???|???|???");
        for (const char *memo : {"Memo1", "Memo2", "Memo3"})
            QVERIFY(d.control<QPlainTextEdit>(memo)->toPlainText().isEmpty());
    }

    void toggleCaptions()
    {
        Window d;
        d.run(Path);
        QStringList seen;
        for (const char *toggle : {"BitBtn4", "BitBtn8", "BitBtn9"}) {
            for (int i = 0; i < 3; ++i) {
                d.click(toggle);
                seen << d.text(toggle);
            }
        }
        QCOMPARE(seen.join('|'), "Blocktext schalten|Fünfer-Gruppen schalten|Blocktext schalten|Blocktext Transposition|"
                                 "Fünfer-Gruppen Transposition|Blocktext Transposition|Blocktext schalten|"
                                 "Fünfer-Gruppen Substitution|Blocktext schalten");
        d.click("BitBtn7");
        QCOMPARE(d.texts({"BitBtn4", "BitBtn8", "BitBtn9"}), GroupCaptions.join('|'));
    }

    void methodChoice()
    {
        Window d;
        const auto choose = [&d](const char *item) { return d.changes([&] { d.click(item); }); };
        const QString abc = "Label1.text=Decoding ABC-Chiffre; StatusPanel7.text=ABC-Chiffre";
        const QString abcd = "Label1.text=Decoding ABCD-Chiffre; StatusPanel7.text=ABCD-Chiffre";
        QCOMPARE(choose("RadioGroup1Item0"), "");
        QCOMPARE(d.text("Label1"), "Decoding ABC(D)-Chiffre");
        QCOMPARE(choose("RadioGroup1Item1"), abcd);
        QCOMPARE(choose("RadioGroup1Item0"), abc);

        d.run(Path);
        const QString plain = d.control<QPlainTextEdit>("Memo3")->toPlainText();
        QVERIFY(!plain.isEmpty());
        QCOMPARE(choose("RadioGroup1Item1"), abcd);
        QCOMPARE(choose("RadioGroup1Item0"), abc);
        QCOMPARE(d.control<QPlainTextEdit>("Memo3")->toPlainText(), plain);

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
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        const QModelIndex third = view->model()->index(2, 0);
        view->scrollTo(third);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(third).center());
        QTRY_COMPARE(d.texts(mirrors), "ARTILLERIEBEOBACHTUNG|ARTILLERIEBEOBACHTUNG|ARTILLERIEBEOBACHTUNG");

        d.run({"BitBtn6"});
        const QString keyed = columns(d.state());
        QWidget *edit7 = d.focus("Edit7");
        QTest::keyClick(edit7, Qt::Key_End);
        QTest::keyClicks(edit7, "xy");
        QCOMPARE(d.texts(mirrors), "ARTILLERIEBEOBACHTUNGxy|ARTILLERIEBEOBACHTUNGxy|ARTILLERIEBEOBACHTUNGxy");
        QCOMPARE(columns(d.state()), keyed);

        // A keyword from Edit7 stays as typed, also when the combo box had the focus.
        d.click("BitBtn7");
        QVERIFY(d.type("Edit7", "funkerkompanie"));
        QVERIFY(d.focus("ComboBox1"));
        d.click("BitBtn6"); // the click takes the focus from the combo box
        QCOMPARE(d.texts(mirrors), "funkerkompanie|funkerkompanie|funkerkompanie");
        QCOMPARE(columns(d.state()).left(15), "funkerkompanie.");
    }

    // Typed into "Q9", which no list item begins with; code -1 commits the
    // text through the input method. Result: text|cursor|selection[|focus left].
    void keyFilter_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("expected");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("small letter") << 0 << int(Qt::Key_A) << "a" << 0 << "Q9A|3|";
        QTest::newRow("capital") << 0 << int(Qt::Key_B) << "B" << shift << "Q9B|3|";
        QTest::newRow("digit") << 0 << int(Qt::Key_7) << "7" << 0 << "Q97|3|";
        QTest::newRow("small letter inside") << 1 << int(Qt::Key_C) << "c" << 0 << "QC9|2|";
        QTest::newRow("space") << 0 << int(Qt::Key_Space) << " " << 0 << "Q9|2|";
        QTest::newRow("ä") << 0 << int(Qt::Key_Adiaeresis) << "ä" << 0 << "Q9|2|";
        QTest::newRow("Ö") << 0 << int(Qt::Key_Odiaeresis) << "Ö" << shift << "Q9|2|";
        QTest::newRow("ß") << 0 << int(Qt::Key_ssharp) << "ß" << 0 << "Q9|2|";
        QTest::newRow("hyphen") << 0 << int(Qt::Key_Minus) << "-" << 0 << "Q9|2|";
        QTest::newRow("full stop") << 0 << int(Qt::Key_Period) << "." << 0 << "Q9|2|";
        QTest::newRow("exclamation") << 0 << int(Qt::Key_Exclam) << "!" << shift << "Q9|2|";
        QTest::newRow("at") << 0 << int(Qt::Key_At) << "@" << int(Qt::AltModifier) << "Q9|2|";
        QTest::newRow("backspace") << 0 << int(Qt::Key_Backspace) << "\b" << 0 << "Q|1|";
        QTest::newRow("backspace inside") << 1 << int(Qt::Key_Backspace) << "\b" << 0 << "9|0|";
        // The window system gives the Delete key the text DEL (0x7F).
        QTest::newRow("delete") << 1 << int(Qt::Key_Delete) << "\x7f" << 0 << "Q|1|";
        QTest::newRow("left") << 0 << int(Qt::Key_Left) << "" << 0 << "Q9|1|";
        QTest::newRow("home") << 0 << int(Qt::Key_Home) << "" << 0 << "Q9|0|";
        QTest::newRow("ctrl+a") << 0 << int(Qt::Key_A) << "\x01" << ctrl << "Q9|2|Q9";
        QTest::newRow("ctrl+v") << 0 << int(Qt::Key_V) << "\x16" << ctrl << "Q9ab|4|";
        QTest::newRow("tab") << 0 << int(Qt::Key_Tab) << "\t" << 0 << "Q9|2||left";
        QTest::newRow("input method") << 0 << -1 << "x-ä 7" << 0 << "Q9X7|4|";
    }
    void keyFilter()
    {
        QFETCH(int, left);
        QFETCH(int, code);
        QFETCH(QString, typed);
        QFETCH(int, modifiers);
        QFETCH(QString, expected);
        Window d;
        QGuiApplication::clipboard()->setText("ab");
        auto *combo = d.control<QComboBox>("ComboBox1");
        QCOMPARE(d.type("ComboBox1", "Q9"), combo);
        QCOMPARE(combo->currentText(), "Q9");
        for (int i = 0; i < left; ++i)
            QTest::keyClick(combo, Qt::Key_Left);
        if (code < 0) {
            QInputMethodEvent composed;
            composed.setCommitString(typed);
            QApplication::sendEvent(combo, &composed);
        } else {
            QTest::sendKeyEvent(QTest::Click, combo, Qt::Key(code), typed, Qt::KeyboardModifiers(modifiers));
        }
        QLineEdit *field = combo->lineEdit();
        QCOMPARE(QStringList({field->text(), QString::number(field->cursorPosition()), field->selectedText()}).join('|')
                     + (combo->hasFocus() ? "" : "|left"),
                 expected);
        QCOMPARE(d.text("Edit7"), field->text());
    }

    void completion_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("K") << "" << "K" << "K|IRSCHBLUETENAST";
        QTest::newRow("k") << "" << "k" << "K|IRSCHBLUETENAST";
        QTest::newRow("KI") << "" << "KI" << "KI|RSCHBLUETENAST";
        QTest::newRow("ki") << "" << "ki" << "KI|RSCHBLUETENAST";
        QTest::newRow("KIQ breaks the match") << "" << "KIQ" << "KIQ|";
        QTest::newRow("KA skips K items") << "" << "KA" << "KA|RTENSTELLEDERARMEE";
        QTest::newRow("s") << "" << "s" << "S|CHUETZENGRABENLINIE";
        QTest::newRow("st") << "" << "st" << "ST|ACHELDRAHTVERHAU";
        QTest::newRow("G") << "" << "G" << "G|ENERALKOMMANDO";
        // Small letters reach the field only from Edit7; the item is shown as it stands.
        QTest::newRow("kir from Edit7, then s") << "kir" << "s" << "KIRS|CHBLUETENAST";
    }
    void completion()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        Window d;
        QVERIFY(d.type("Edit7", keyword));
        auto *combo = d.control<QComboBox>("ComboBox1");
        QCOMPARE(d.focus("ComboBox1"), combo);
        QTest::keyClick(combo, Qt::Key_End);
        QTest::keyClicks(combo, typed);
        QLineEdit *field = combo->lineEdit();
        const int start = field->hasSelectedText() ? field->selectionStart() : field->text().size();
        QCOMPARE(field->text().left(start) + '|' + field->selectedText(), expected);
        QCOMPARE(field->text().mid(start), field->selectedText());
    }

    void keyStep_data()
    {
        QTest::addColumn<QString>("firstKey");
        QTest::addColumn<QString>("key");
        QTest::newRow("default") << "" << "";
        QTest::newRow("1") << "" << "Z";
        QTest::newRow("45") << "" << "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHI";
        QTest::newRow("repeated") << "" << "ANANAS";
        QTest::newRow("digit") << "" << "KEY2WORD";
        QTest::newRow("20 after 10") << "ABCDEFGHIJ" << "KLMNOPQRSTUVWXYZ0123";
        QTest::newRow("10 after 20") << "KLMNOPQRSTUVWXYZ0123" << "ABCDEFGHIJ";
    }
    void keyStep()
    {
        QFETCH(QString, firstKey);
        QFETCH(QString, key);
        Window d;
        if (!firstKey.isEmpty()) {
            QVERIFY(d.type("Edit7", firstKey));
            d.run({"BitBtn6", "BitBtn7"});
        }
        if (!key.isEmpty())
            QVERIFY(d.type("Edit7", key));
        key = d.text("ComboBox1");
        const qsizetype n = key.size();
        QStringList rows = grid(d.state()).split('\n');
        for (QString &row : rows)
            row = row.left(n).leftJustified(row.isEmpty() ? 0 : 45, ' ');
        d.click("BitBtn6");
        QCOMPARE(d.text("Edit5"), QString::number(n));
        QCOMPARE(columns(d.state()), key + QString(45 - n, '.'));
        QCOMPARE(grid(d.state()), rows.join('\n'));
    }

    void emptyKey()
    {
        Window d;
        QVERIFY(d.type("ComboBox1", ""));
        const QString before = grid(d.state());
        SeenMessage seen;
        QCOMPARE(d.changes([&] { seen = d.clickAndAnswer("BitBtn6"); }), "");
        QCOMPARE(QStringList({seen.title, seen.text, QString::number(seen.buttonCount)}).join('|'),
                 "Achtung|Das Schlüsselwort darf nicht leer sein!|1");
        QCOMPARE(d.text("Edit5"), "???");
        QCOMPARE(grid(d.state()), before);
        QCOMPARE(columns(d.state()), QString(45, '#'));
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
            QCOMPARE(d.text("Edit5"), "45");
            QCOMPARE(columns(d.state()), sixty.left(45));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
