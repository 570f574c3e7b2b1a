// Random use of the main window: seeded sequences of clicks on any step
// button, method switches, typing, pasting and list picks. After every action
// the enabled flags must match a model of the workflow, and the displays and
// the grid must agree with the work state.
//
// WORKBENCH_GUI_SEQUENCES (200), WORKBENCH_GUI_ACTIONS (40) and
// WORKBENCH_GUI_SEED set the run; a failure prints the seed that replays it.

#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

#include "engine/grid_fill.h"
#include "engine/transposition.h"
#include "gui/grid/grid_view.h"
#include "tests/gui/form_driver.h"

namespace {

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

const QStringList Buttons = {"BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6",
                             "BitBtn7", "BitBtn8", "BitBtn9", "Button1", "Button2"};
const QStringList MainPath = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};

// What a click on an enabled button enables and disables.
const std::map<QString, std::pair<QStringList, QStringList>> ActionTable = {
    {"BitBtn6", {{"BitBtn7", "BitBtn2"}, {"ComboBox1", "BitBtn6"}}},
    {"BitBtn2", {{"BitBtn4", "BitBtn5"}, {"BitBtn2", "BitBtn3"}}},
    {"BitBtn5", {{"Button2"}, {"BitBtn5"}}},
    {"Button2", {{"BitBtn8", "BitBtn9", "Button1"}, {"Button2"}}},
    {"Button1", {{"BitBtn8"}, {"Button1"}}},
    {"BitBtn7", {{"ComboBox1", "BitBtn6"}, {"BitBtn4", "BitBtn7", "BitBtn8", "BitBtn9"}}},
    {"BitBtn3", {}},
    {"BitBtn4", {}},
    {"BitBtn8", {}},
    {"BitBtn9", {}}};

struct Model {
    std::map<QString, bool> on = {{"ComboBox1", true}, {"BitBtn6", true},  {"BitBtn3", true},  {"BitBtn2", false},
                                  {"BitBtn4", false},  {"BitBtn5", false}, {"BitBtn7", false}, {"BitBtn8", false},
                                  {"BitBtn9", false},  {"Button1", false}, {"Button2", false}};
    void click(const QString &button)
    {
        for (const QString &name : ActionTable.at(button).first)
            on[name] = true;
        for (const QString &name : ActionTable.at(button).second)
            on[name] = false;
    }
    // The display fields Edit1 to Edit6 are never enabled, every other control always.
    bool expected(const QString &name) const
    {
        const auto it = on.find(name);
        return it != on.end() ? it->second
                              : !(name.size() == 5 && name.startsWith("Edit") && name[4] >= '1' && name[4] <= '6');
    }
};

// Keystrokes: small letters, digits, umlauts, punctuation, characters outside
// Windows-1252, right-to-left letters, a combining accent, line break, backspace.
const QStringList Keys = {"a", "e", "k", "q", "z",  "S", "T", "0", "2", "7", "ä",      "Ö",      "ß",  " ",  ".",
                          "-", "!", "€", "😀", "漢", "ł", "ש", "ם", "م", "ر", "\u0301", "\u200F", "\n", "\b", "\b"};

QString randomText(QRandomGenerator &rng, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += rng.bounded(3) ? QString(QChar(u'a' + rng.bounded(26))) : Keys[rng.bounded(int(Keys.size()) - 2)];
    return text;
}

// A megabyte of lines of ciphertext with the odd digit, umlaut and sign.
const QString &bigText()
{
    static const QString text = [] {
        QString t;
        QRandomGenerator rng(1);
        while (t.size() < (1 << 20))
            t += t.size() % 48 == 47 ? QStringLiteral("\n") : randomText(rng, 1);
        return t;
    }();
    return text;
}

void press(QWidget *w, const QString &key)
{
    if (key == "\b" || key == "\n")
        QTest::keyClick(w, key == "\b" ? Qt::Key_Backspace : Qt::Key_Return);
    else
        QTest::sendKeyEvent(QTest::Click, w,
                            key[0].unicode() < 128 ? Qt::Key(key[0].toUpper().unicode()) : Qt::Key_unknown, key,
                            Qt::NoModifier);
}

QString text(const FormDriver &d, const char *name)
{
    QWidget *w = d.control(name);
    return w
        ->property(qobject_cast<QPlainTextEdit *>(w)  ? "plainText"
                       : qobject_cast<QComboBox *>(w) ? "currentText"
                                                      : "text")
        .toString();
}

// Everything a click that does nothing must leave alone.
QStringList snapshot(const FormDriver &d)
{
    const abc::WorkbenchState &s = d.form->state();
    QStringList all = {QString::fromLatin1(abc::DumpGrid(s)),
                       QString::fromLatin1(s.CleanText + '|' + s.TranspositionText + '|' + s.SubstitutionText),
                       QString("counters %1 %2 %3").arg(s.TextCount).arg(s.FillEnd).arg(s.TextCursor)};
    for (QWidget *w : d.form->findChildren<QWidget *>())
        all << w->objectName() + (w->isEnabled() ? " on " : " off ")
                + w->property(qobject_cast<QPlainTextEdit *>(w) ? "plainText" : "text").toString();
    return all;
}

QString changed(const QStringList &before, const QStringList &after)
{
    QStringList changes;
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i)
        if (before.value(i) != after.value(i))
            changes << after.value(i).left(80);
    return changes.join("; ");
}

QString sorted(QString text)
{
    std::sort(text.begin(), text.end());
    return text;
}

// Printed if the process dies: the seed and the actions so far.
std::string g_replay;
struct sigaction g_previous[32];
extern "C" void onFatalSignal(int sig)
{
    (void)!write(STDERR_FILENO, g_replay.data(), g_replay.size());
    sigaction(sig, &g_previous[sig], nullptr); // the test library's handler reports the rest
    raise(sig);
}

class Sequence
{
public:
    Sequence(quint32 seed, int actions)
        : rng(seed)
        , replay(QString("WORKBENCH_GUI_SEED=%1 WORKBENCH_GUI_SEQUENCES=1 WORKBENCH_GUI_ACTIONS=%2 replays: ")
                     .arg(seed)
                     .arg(actions))
    {
        named = d.form->findChildren<QWidget *>();
        named.removeIf([](QWidget *w) { return w->objectName().isEmpty() || w->objectName().startsWith("qt_"); });
        for (int i = 0; i < actions && !QTest::currentTestFailed(); ++i) {
            act();
            if (!QTest::currentTestFailed())
                check();
        }
        if (QTest::currentTestFailed()) // past the test library's limit on messages
            std::fputs(g_replay.c_str(), stderr);
        d.form->hide();
    }

private:
    QWidget *focus(const char *name) const
    {
        QWidget *w = d.control(name);
        if (!w->isEnabled() || (d.form->activateWindow(), !QTest::qWaitForWindowActive(d.form.get())))
            return nullptr;
        w->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }) ? w : nullptr;
    }
    void note(const QString &action)
    {
        log << action;
        g_replay = (replay + log.join("; ") + '\n').toStdString();
    }

    void act()
    {
        const int roll = int(rng.bounded(100));
        if (roll >= 45)
            chain = 0;
        if (roll < 45) {
            QString button = Buttons[rng.bounded(int(Buttons.size()))];
            if (roll < 20) { // the next step of the decoding, so that whole runs happen
                const auto next =
                    std::find_if(MainPath.begin(), MainPath.end(), [this](const QString &b) { return model.on[b]; });
                button = next == MainPath.end() ? QStringLiteral("BitBtn7") : *next;
            }
            click(button);
        } else if (roll < 52) {
            const char *item = rng.bounded(2) ? "RadioGroup1Item1" : "RadioGroup1Item0";
            note(QString("choose %1").arg(item));
            d.clickAndAnswer(item);
        } else if (roll < 80) {
            const char *target = roll < 64 ? "ComboBox1" : roll < 74 ? "Edit7" : "Memo1";
            QStringList keys = rng.bounded(4) ? QStringList() : QStringList{"clear"};
            for (int n = int(rng.bounded(1, 8)); n > 0; --n)
                keys << Keys[rng.bounded(int(Keys.size()))];
            QStringList shown; // keys that print as nothing, by name
            for (const QString &key : keys)
                shown << (key == "\b"       ? "BS"
                              : key == "\n" ? "RET"
                              : key[0].isMark() || key[0].category() == QChar::Other_Format
                              ? QString("U+%1").arg(key[0].unicode(), 4, 16, QChar('0'))
                              : key);
            note(QString("type into %1: %2").arg(target, shown.join(' ')));
            QWidget *w = focus(target);
            QCOMPARE(bool(w), model.expected(target)); // a disabled field takes no focus
            for (const QString &key : keys) {
                if (w && key == "clear")
                    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
                if (w)
                    press(w, key == "clear" ? QStringLiteral("\b") : key);
            }
        } else if (roll < 88) {
            const QString input =
                rng.bounded(5) ? randomText(rng, int(rng.bounded(rng.bounded(4) ? 300 : 4000))) : QString();
            note(QString("set Memo1 to %1 characters").arg(input.size()));
            d.control<QPlainTextEdit>("Memo1")->setPlainText(input);
        } else if (roll < 99 || rng.bounded(8)) {
            const int steps = int(rng.bounded(-3, 4));
            note(QString("pick %1 in the keyword list").arg(steps));
            if (QWidget *w = focus("ComboBox1"))
                for (int i = 0; i < std::abs(steps); ++i)
                    QTest::keyClick(w, steps < 0 ? Qt::Key_Up : Qt::Key_Down);
        } else {
            note("paste 1 MB into Memo1");
            QGuiApplication::clipboard()->setText(bigText());
            QWidget *w = focus("Memo1");
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(text(d, "Memo1").size(), bigText().size());
        }
    }

    void click(const QString &button)
    {
        note("click " + button);
        const abc::WorkbenchState &s = d.form->state();
        const QString key = text(d, "ComboBox1");
        const bool on = model.on[button], idle = !on || (button == "BitBtn6" && key.isEmpty());
        const bool inputEmpty = d.control<QPlainTextEdit>("Memo1")->document()->isEmpty();
        const QStringList before = idle ? snapshot(d) : QStringList();
        const SeenMessage seen = d.clickAndAnswer(qPrintable(button));
        if (idle) { // a disabled button, or the empty key's warning
            QCOMPARE(seen.title, on ? QStringLiteral("Achtung") : QString());
            QCOMPARE(changed(before, snapshot(d)), QString());
            chain = 0;
            return;
        }
        model.click(button);
        const int cells = abc::EnabledCellCount(s);
        chain = button == MainPath.value(chain) ? chain + 1 : button == "BitBtn6";
        if (button == "BitBtn6")
            capitalsKey = QRegularExpression("^[A-Z]+$").match(key).hasMatch();
        if (button == "BitBtn2") {
            QCOMPARE(seen.shown, inputEmpty || s.CleanText.size() > size_t(cells)); // empty input or over capacity
            const QString count = QString::number(s.CleanText.size());
            if (!inputEmpty) {
                QCOMPARE(text(d, "Edit1") + ' ' + text(d, "StatusPanel3"), count + ' ' + count);
                QCOMPARE(text(d, "Memo1").remove('\n'), QString::fromLatin1(s.CleanText));
            }
        } else if (button == "Button2") {
            QCOMPARE(text(d, "Memo2"), QString::fromLatin1(s.TranspositionText));
            if (chain == 4 && capitalsKey) // set key, clean, cut, transposition: the placed letters rearranged
                QCOMPARE(sorted(QString::fromLatin1(s.TranspositionText)),
                         sorted(QString::fromLatin1(s.CleanText).left(cells)));
        } else if (button == "Button1") {
            QCOMPARE(text(d, "Memo3"), QString::fromLatin1(s.SubstitutionText));
            QCOMPARE(text(d, "Edit2"), QString::number(s.SubstitutionText.size()));
        }
    }

    void check()
    {
        QStringList wrong;
        for (QWidget *w : named)
            if (w->isEnabled() != model.expected(w->objectName()))
                wrong << w->objectName() + (w->isEnabled() ? " on" : " off");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        QCOMPARE(text(d, "Edit7"), text(d, "ComboBox1"));
        QCOMPARE(text(d, "StatusPanel5"), text(d, "ComboBox1"));
        QCOMPARE(text(d, "StatusPanel7"),
                 d.control<QRadioButton>("RadioGroup1Item0")->isChecked() ? "ABC-Chiffre" : "ABCD-Chiffre");

        const abc::WorkbenchState &s = d.form->state();
        QVERIFY2(s.FillEnd >= 0 && s.FillEnd <= abc::CellCount, qPrintable(QString::number(s.FillEnd)));
        const auto *grid = d.control<GridView>("TranspositionGrid");
        int visible = 0;
        for (int i = 0; i < abc::CellCount; ++i) {
            const char caption = s.GridCells[i].caption;
            QVERIFY2(((caption >= 'A' && caption <= 'Z') || caption == '?' || caption == '.')
                         && grid->cellCaption(i).size() == 1,
                     qPrintable(QString("cell %1: %2").arg(i).arg(int(caption))));
            visible += s.GridCells[i].visible;
        }
        QCOMPARE(abc::ReadGridRows(s).size(), size_t(visible));
    }

    FormDriver d;
    QList<QWidget *> named;
    QRandomGenerator rng;
    const QString replay;
    QStringList log;
    Model model;
    int chain = 0; // how many steps of set key, clean, cut, transposition ran in a row
    bool capitalsKey = false;
};

} // namespace

class TestRandomUse : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        struct sigaction action = {};
        action.sa_handler = onFatalSignal;
        for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
            sigaction(sig, &action, &g_previous[sig]);
    }

    // Rows of at most 100 sequences, so that no test function runs into the watchdog on a long run.
    void randomUse_data()
    {
        QTest::addColumn<quint32>("firstSeed");
        QTest::addColumn<int>("count");
        const int sequences = setting("WORKBENCH_GUI_SEQUENCES", 200);
        const auto seed = quint32(setting("WORKBENCH_GUI_SEED", 1917));
        for (int first = 0; first < sequences; first += 100)
            QTest::addRow("seeds from %u", seed + quint32(first))
                << seed + quint32(first) << std::min(100, sequences - first);
    }
    void randomUse()
    {
        QFETCH(quint32, firstSeed);
        QFETCH(int, count);
        for (int i = 0; i < count && !QTest::currentTestFailed(); ++i)
            Sequence(firstSeed + quint32(i), setting("WORKBENCH_GUI_ACTIONS", 40));
        g_replay.clear();
    }
};

QTEST_MAIN(TestRandomUse)
#include "tst_random_use.moc"
