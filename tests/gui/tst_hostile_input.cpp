// Input a careless or hostile user can give the window: megabytes pasted
// into the input area, characters the code page has no place for, keys too
// short, too long or with spaces, a text one letter over the grid, and
// clicks that come too fast or while a message box is open.

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <tuple>

#include "engine/text_cleaning.h"
#include "gui/grid/grid_view.h"
#include "tests/gui/form_driver.h"

namespace {

const abc::WorkbenchState &state(const FormDriver &d)
{
    return d.form->state();
}

QString shown(const QWidget *w)
{
    return w
        ->property(qobject_cast<const QPlainTextEdit *>(w)  ? "plainText"
                       : qobject_cast<const QComboBox *>(w) ? "currentText"
                                                            : "text")
        .toString();
}
QString shown(const FormDriver &d, const char *name)
{
    return shown(d.control(name));
}

QWidget *focus(const FormDriver &d, const char *name)
{
    QWidget *w = d.control(name);
    d.form->activateWindow();
    if (!QTest::qWaitForWindowActive(d.form.get()))
        return nullptr;
    w->setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }) ? w : nullptr;
}

// Selects all in the field and types each string as one keystroke, or pastes the text.
void enter(const FormDriver &d, const char *name, const QStringList &keys, const QString &pasted = {})
{
    QWidget *w = focus(d, name);
    QVERIFY(w);
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, pasted.isEmpty() ? Qt::Key_Backspace : Qt::Key_V,
                    pasted.isEmpty() ? Qt::NoModifier : Qt::ControlModifier);
    for (const QString &key : keys)
        QTest::sendKeyEvent(QTest::Click, w,
                            key[0].unicode() < 128 ? Qt::Key(key[0].toUpper().unicode()) : Qt::Key_unknown, key,
                            Qt::NoModifier);
}

// A click as the window system delivers it: to the window, where a modal box blocks it.
void userClick(const FormDriver &d, const char *name, int clicks = 1)
{
    QWidget *button = d.control(name);
    const QPoint at = button->mapTo(d.form.get(), button->rect().center());
    QWindow *window = d.form->windowHandle();
    if (clicks >= 2)
        QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    for (int i = clicks >= 2 ? 2 : 0; i < clicks; ++i)
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

// The enabled flags, captions, displays, panels and the grid.
QMap<QString, QString> look(const FormDriver &d)
{
    QMap<QString, QString> all{{"grid", QString::fromLatin1(abc::DumpGrid(state(d)))}};
    for (QWidget *w : d.form->findChildren<QWidget *>())
        if (!w->objectName().isEmpty())
            all[w->objectName()] = (w->isEnabled() ? "on " : "off ") + shown(w);
    return all;
}

QString changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList changed;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (before.value(it.key()) != it.value())
            changed << it.key() + ": " + it.value().left(40);
    return changed.join("; ");
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void outsideCodePage()
    {
        const QStringList foreign = {"😀", "漢", "字", "ש", "ל", "م", "ر", "\u0301", "\u200F"};
        FormDriver d;
        enter(d, "ComboBox1", QStringList{"Q", "9"} + foreign); // swallowed by the key filter
        QCOMPARE(shown(d, "ComboBox1") + shown(d, "Edit7") + shown(d, "StatusPanel5"), "Q9Q9Q9");

        // In Edit7 each is one key character, "e" with the accent composes to "é".
        const QStringList key = {"K", "😀", "漢", "e", "\u0301", "ש", "A"};
        enter(d, "Edit7", key);
        QCOMPARE(shown(d, "Edit7"), key.join(""));
        QCOMPARE(shown(d, "ComboBox1"), key.join(""));
        QCOMPARE(shown(d, "StatusPanel5"), key.join(""));
        d.click("BitBtn6");
        QCOMPARE(shown(d, "Edit5"), "6");
        const auto *grid = d.control<GridView>("TranspositionGrid");
        QStringList labels;
        for (int c = 0; c < 7; ++c)
            labels << (state(d).KeyLetterLabels[c].visible ? grid->labelCaption(GridView::LabelFamily::KeyLetter, c)
                                                           : "-");
        QCOMPARE(labels.join(' '), QString("K \uFFFD \uFFFD é \uFFFD A -"));

        const QStringList input = {"A", "😀", "B", "漢", "字", "C", "ש", "ל", "م", "ر", "e", "\u0301", "D", "\u200F"};
        enter(d, "Memo1", input);
        QCOMPARE(shown(d, "Memo1"), input.join(""));
        d.click("BitBtn2");
        QCOMPARE(QString::fromLatin1(state(d).CleanText), "ABCD");
        QCOMPARE(shown(d, "Memo1") + ' ' + shown(d, "Edit1"), "ABCD 4");
        d.click("BitBtn5");
        d.click("Button2"); // only the capitals' columns are written: A (no cell) and K
        QCOMPARE(shown(d, "Edit3") + '/' + shown(d, "Edit4") + '/' + shown(d, "Memo2"), "6 1 /A K /ABCD");
        const QString everything = QStringList(look(d).values()).join('|');
        QVERIFY2(!everything.contains(QChar(0xC3)), qPrintable(everything)); // no UTF-8 read as Latin-1
    }

    void keys()
    {
        FormDriver d;
        enter(d, "ComboBox1", {});
        const auto before = look(d);
        const SeenMessage seen = d.clickAndAnswer("BitBtn6");
        QCOMPARE(seen.title + ": " + seen.text, "Achtung: Das Schlüsselwort darf nicht leer sein!");
        QCOMPARE(changes(before, look(d)), "");

        const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRST";
        enter(d, "ComboBox1", {}, letters); // 46 letters
        QCOMPARE(shown(d, "ComboBox1") + '|' + shown(d, "Edit7"), letters.left(45) + '|' + letters.left(45));
        d.click("BitBtn6");
        QCOMPARE(shown(d, "Edit5"), "45");
        QVERIFY(!QString::fromLatin1(abc::DumpGrid(state(d))).contains(' ')); // no column hidden

        // Spaces pasted into the key are key characters whose columns are never written.
        d.click("BitBtn7");
        enter(d, "ComboBox1", {}, "AB CD");
        QCOMPARE(shown(d, "ComboBox1") + '|' + shown(d, "Edit7") + '|' + shown(d, "StatusPanel5"), "AB CD|AB CD|AB CD");
        d.click("BitBtn6");
        QCOMPARE(shown(d, "Edit5"), "5");
        d.control<QPlainTextEdit>("Memo1")->setPlainText("ABCDEFGHIJ");
        d.click("BitBtn2");
        d.click("BitBtn5");
        d.click("Button2");
        QCOMPARE(shown(d, "Edit3") + '/' + shown(d, "Edit4"), "1 2 4 5 /A B C D ");
        QCOMPARE(QString::fromLatin1(state(d).TranspositionText), "ACCEGBDHFH"); // column 3 keeps C and H from the fill
    }

    void capacity()
    {
        for (const int letters : {2025, 2026}) { // the full grid under 45 columns, and one letter over
            QString input;
            for (int i = 0; i < letters; ++i)
                input += QChar(u'A' + (i * 7 + i / 26) % 26);
            FormDriver d;
            d.control<QLineEdit>("Edit7")->setText("QWERTYUIOPASDFGHJKLZXCVBNMQWERTYUIOPASDFGHJKL");
            d.click("BitBtn6");
            d.control<QPlainTextEdit>("Memo1")->setPlainText(input);
            const SeenMessage seen = d.clickAndAnswer("BitBtn2");
            QCOMPARE(seen.shown, letters > 2025);
            QVERIFY2(!seen.shown || seen.text.contains(QRegularExpression("\\b2025\\b.*\\b1\\b")),
                     qPrintable(seen.text));
            QCOMPARE(shown(d, "Edit1"), QString::number(letters));
            d.click("BitBtn5");
            QCOMPARE(shown(d, "Edit6") + ' ' + QString::number(state(d).FillEnd), "45 2025");
            const QString grid = QString::fromLatin1(abc::DumpGrid(state(d)));
            QVERIFY(!grid.contains('?') && !grid.contains(' ')); // nothing padded, nothing hidden
        }
    }

    void rapidClicks()
    {
        FormDriver d;
        const auto clicks = [&d](const char *name, int times) {
            QSignalSpy clicked(d.control<QAbstractButton>(name), &QAbstractButton::clicked);
            userClick(d, name, times);
            return clicked.size();
        };
        QCOMPARE(clicks("BitBtn4", 3), 0); // disabled from the start
        QCOMPARE(clicks("BitBtn6", 2), 1);
        QCOMPARE(clicks("BitBtn2", 3), 1);
        QCOMPARE(shown(d, "Edit1") + ' ' + shown(d, "Edit2"), "495 495"); // counted once
        QCOMPARE(clicks("BitBtn4", 3), 3);                                // a toggle takes every click
        QCOMPARE(shown(d, "BitBtn4"), "Blocktext schalten");
        QCOMPARE(clicks("BitBtn5", 2), 1);
        QCOMPARE(clicks("Button2", 3), 1);
        QCOMPARE(shown(d, "Edit3").split(' ', Qt::SkipEmptyParts).size(), 16); // one write order
        QCOMPARE(clicks("Button1", 2), 1);
        QCOMPARE(shown(d, "Memo3"), QString::fromLatin1(state(d).SubstitutionText));
        QCOMPARE(clicks("BitBtn7", 3), 1);
        QVERIFY(d.enabled("BitBtn6") && d.enabled("ComboBox1"));
    }

    void clicksBehindModalBox()
    {
        FormDriver d;
        d.click("BitBtn6");
        d.control<QPlainTextEdit>("Memo1")->clear();
        const auto expected = [] {
            FormDriver plain;
            plain.click("BitBtn6");
            plain.control<QPlainTextEdit>("Memo1")->clear();
            plain.clickAndAnswer("BitBtn2");
            return look(plain);
        }();

        // While the empty-input warning is open, the user clicks everything on the window.
        int boxes = 0;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            ++boxes;
            for (const char *name : {"BitBtn5", "BitBtn4", "BitBtn7", "BitBtn3", "BitBtn2", "Button2", "BitBtn1"})
                userClick(d, name);
            box->button(QMessageBox::Ok)->click();
        });
        d.click("BitBtn2");
        QCOMPARE(boxes, 1);
        QVERIFY(d.form->isVisible());
        QCOMPARE(changes(expected, look(d)), "");

        userClick(d, "BitBtn5"); // with the box gone the same click runs the cut
        QVERIFY(d.enabled("Button2"));
    }

    void largePaste_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("1 MB") << (1 << 20);
        QTest::newRow("10 MB") << (10 << 20);
    }
    void largePaste()
    {
        QFETCH(int, size);
        // Lines of ciphertext mixed with digits, umlauts, signs and characters outside the
        // code page: as typed, as Windows-1252 bytes, cleaned.
        const std::tuple<QString, std::string, QString> pieces[] = {
            {"Abcde fghij ", "Abcde fghij ", "ABCDEFGHIJ"},
            {"x1y", "x1y", "XEINSY"},
            {"2a ", "2a ", "ZWOA"},
            {"Öl für Straße",
             "\xD6l f\xFCr Stra\xDF"
             "e",
             "OELFUERSTRASZE"},
            {"Café", "Caf\xE9", "CAF"},
            {"e\u0301", "\xE9", ""},
            {"😀漢字", "\x81\x81\x81", ""},
            {"שלום مرحبا", "\x81\x81\x81\x81 \x81\x81\x81\x81\x81", ""},
            {"€ – „!“", "\x80 \x96 \x84!\x93", ""},
            {"\n", "\r\n", ""},
            {"KLMNO PQRST ", "KLMNO PQRST ", "KLMNOPQRST"}};
        QString input, expected;
        std::string bytes;
        QRandomGenerator rng(size);
        while (input.size() < size) {
            const auto &[text, code, clean] = pieces[rng.bounded(int(std::size(pieces)))];
            input += text;
            bytes += code;
            expected += clean;
        }
        QCOMPARE(QString::fromLatin1(abc::CleanInputText(bytes)), expected);
        FormDriver d;
        d.click("BitBtn6"); // 16 columns hold 720 letters
        QElapsedTimer timer;
        timer.start();
        enter(d, "Memo1", {}, input);
        qInfo("pasting %d characters took %lld ms", size, timer.restart());
        QCOMPARE(shown(d, "Memo1"), input);

        timer.restart();
        const SeenMessage seen = d.clickAndAnswer("BitBtn2");
        qInfo("cleaning %d characters took %lld ms", size, timer.elapsed());
        const QString cleaned = QString::fromLatin1(state(d).CleanText);
        QCOMPARE(cleaned, expected);
        QCOMPARE(shown(d, "Memo1").remove('\n'), cleaned);
        QCOMPARE(shown(d, "Edit1"), QString::number(cleaned.size()));
        QVERIFY2(
            seen.shown
                && seen.text.contains(QRegularExpression(QString("\\b720\\b.*\\b%1\\b").arg(cleaned.size() - 720))),
            qPrintable(seen.text));

        // Paragraphs of whole lines: 100 lines each, every line full but the very last.
        QTextDocument *document = d.control<QPlainTextEdit>("Memo1")->document();
        auto *layout = qobject_cast<QPlainTextDocumentLayout *>(document->documentLayout());
        QVERIFY(layout);
        int perLine = -1;
        qsizetype lines = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            layout->ensureBlockLayout(block);
            const QTextLayout *text = block.layout();
            const bool last = !block.next().isValid();
            QVERIFY2(last ? text->lineCount() <= 100 : text->lineCount() == 100,
                     qPrintable(QString("block %1: %2 lines").arg(block.blockNumber()).arg(text->lineCount())));
            for (int i = 0; i < text->lineCount(); ++i, ++lines) {
                const int length = text->lineAt(i).textLength();
                perLine = perLine < 0 ? length : perLine;
                QVERIFY2(length == perLine || (last && i == text->lineCount() - 1 && length > 0 && length < perLine),
                         qPrintable(QString("block %1 line %2: %3 of %4")
                                        .arg(block.blockNumber())
                                        .arg(i)
                                        .arg(length)
                                        .arg(perLine)));
            }
        }
        QVERIFY(perLine > 10);
        QCOMPARE(lines, (cleaned.size() + perLine - 1) / perLine);
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
