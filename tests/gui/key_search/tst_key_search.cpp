// The key search dialog driven from the main window: how it opens, a found
// key taken into the keyword box and the method selection and then decoded
// by the five steps, a key that is set already left alone, bad input,
// closing either window while the search runs, and a day's traffic: more
// messages under the key, probable words, message files.

#include <QAccessible>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

#include "analysis/key_search.h"
#include "engine/cipher.h"
#include "engine/grouping.h"
#include "gui/key_search/key_search_dialog.h"
#include "gui/key_search/message_input_dialog.h"
#include "tests/engine/engine_test_support.h"
#include "tests/gui/form_driver.h"
#include "tests/gui/key_search/stop_time.h"

namespace {

const QStringList Path = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};

const std::string Plaintext =
    "ANDASGENERALKOMMANDODESDRITTENARMEEKORPSSTOPUNSEREVORHUTHATDASDORFAMWALDRANDUMSECHSUHRMORGENSBESETZTSTOP"
    "DERFEINDZIEHTSICHNACHOSTENZURUECKUNDHAELTDIEHOEHENSUEDLICHDESFLUSSESSTOPERBITTEWEITEREBEFEHLEUNDMUNITION"
    "FUERDIEARTILLERIESTOPDIEBRUECKEISTUNBESCHAEDIGTSTOPGEZEICHNETOBERSTLEUTNANTWAGNER";
// The report as two messages of a day, each of which gives the key on its
// own too: what is tested is the dialog, not how far the search reaches.
const std::string FirstMessage = Plaintext.substr(0, 109);
const std::string SecondMessage = Plaintext.substr(FirstMessage.size());

// Letters without language: no key makes German of them.
std::string RandomLetters(std::size_t n)
{
    std::mt19937 random(7);
    return abc::test::RandomText(random, n);
}

struct Window : FormDriver {
    ~Window() { form->hide(); }

    KeySearchDialog *dialog() const { return form->findChild<KeySearchDialog *>(); }
    template<typename T = QWidget>
    T *inDialog(const char *name) const
    {
        T *widget = dialog()->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no dialog control %s", name);
        return widget;
    }
    QString message() const { return inDialog<QLabel>("MessageLabel")->text(); }

    KeySearchDialog *openByShortcut(const char *from = "Memo1") const
    {
        QWidget *w = focus(from);
        if (!w)
            return nullptr;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        return dialog() && dialog()->isVisible() ? dialog() : nullptr;
    }
    // Opens the dialog and searches the input area's text; true when the
    // search ended within the time.
    bool search(const std::string &input, int timeLimit = 10) const
    {
        control<QPlainTextEdit>("Memo1")->setPlainText(QString::fromStdString(input));
        return openByShortcut() && clickSearch(timeLimit);
    }
    bool clickSearch(int timeLimit) const
    {
        inDialog<QSpinBox>("TimeLimitBox")->setValue(timeLimit);
        QTest::mouseClick(inDialog<QPushButton>("SearchButton"), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !dialog()->searching(); }, (timeLimit + 30) * 1000);
    }
    // Adds a message as pasted text; the input dialog it opens.
    MessageInputDialog *addPasted(const std::string &cipherText) const
    {
        QTest::mouseClick(inDialog<QPushButton>("AddMessageButton"), Qt::LeftButton);
        auto *input = dialog()->findChild<MessageInputDialog *>();
        if (!input || !input->isVisible())
            return nullptr;
        input->findChild<QPlainTextEdit *>("MessageInputText")->setPlainText(QString::fromStdString(cipherText));
        QTest::mouseClick(input->findChild<QPushButton *>("MessageInputAddButton"), Qt::LeftButton);
        return input;
    }
    QStringList listedMessages() const
    {
        QStringList rows;
        for (int row = 0; row < inDialog<QListWidget>("MessageList")->count(); ++row)
            rows << inDialog<QListWidget>("MessageList")->item(row)->text();
        return rows;
    }
    // Starts a search that runs until it is ended and lets it get going.
    bool startLongSearch() const
    {
        control<QPlainTextEdit>("Memo1")->setPlainText(QString::fromStdString(RandomLetters(400)));
        if (!openByShortcut())
            return false;
        inDialog<QSpinBox>("TimeLimitBox")->setValue(600);
        QTest::mouseClick(inDialog<QPushButton>("SearchButton"), Qt::LeftButton);
        QTest::qWait(300);
        return dialog()->searching();
    }
};

} // namespace

class TestKeySearch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void opensFromShortcutAndContextMenu()
    {
        Window d;
        // Also from the fields that take typed keys themselves.
        for (const char *from : {"Memo1", "ComboBox1", "Edit7", "BitBtn6"}) {
            KeySearchDialog *dialog = d.openByShortcut(from);
            QVERIFY2(dialog, from);
            QVERIFY(!dialog->isModal());
            dialog->close();
        }
        KeySearchDialog *dialog = d.dialog();

        QWidget *viewport = d.control<QPlainTextEdit>("Memo1")->viewport();
        QStringList entries;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *action : menu->actions())
                entries << action->text();
            menu->actions().last()->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(viewport, &event);
        // The standard entries stay, ours comes after them.
        QVERIFY2(entries.join('|').contains("|&Copy\tCtrl+C|&Paste\tCtrl+V|"), qPrintable(entries.join('|')));
        QCOMPARE(entries.last(), "Schlüssel suchen …");
        QTRY_VERIFY(dialog->isVisible());
    }

    void accessible()
    {
        Window d;
        KeySearchDialog *dialog = d.openByShortcut();
        QVERIFY(dialog);
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog)->role(), QAccessible::Dialog);
        const auto describedAndNamed = [](QWidget *root, qsizetype atLeast) {
            QList<QWidget *> controls = root->findChildren<QWidget *>();
            controls.removeIf(
                [](QWidget *w) { return w->objectName().isEmpty() || w->objectName().startsWith("qt_"); });
            for (QWidget *w : controls) {
                QAccessibleInterface *item = QAccessible::queryAccessibleInterface(w);
                if (item->text(QAccessible::Description) != w->objectName())
                    return w->objectName() + " undescribed";
                if (!qobject_cast<QLabel *>(w)
                    && item->text(QAccessible::Name).isEmpty()) // a label without text is no control
                    return w->objectName() + " unnamed";
            }
            return controls.size() >= atLeast ? QString() : QStringLiteral("too few controls");
        };
        QCOMPARE(describedAndNamed(dialog, 12), QString());
        QCOMPARE(QAccessible::queryAccessibleInterface(d.inDialog("TimeLimitBox"))->text(QAccessible::Name),
                 "Suchzeit höchstens");
        QTest::mouseClick(d.inDialog<QPushButton>("AddMessageButton"), Qt::LeftButton);
        auto *input = dialog->findChild<MessageInputDialog *>();
        QVERIFY(input);
        QCOMPARE(describedAndNamed(input, 4), QString());
        input->reject();

        QVERIFY(d.search(RandomLetters(60), 1));
        auto *bar = d.inDialog<QProgressBar>("ProgressBar");
        QAccessibleValueInterface *value = QAccessible::queryAccessibleInterface(bar)->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), bar->value());
        QCOMPARE(value->maximumValue().toInt(), bar->maximum());
    }

    // A list keyword and a key of eight random letters; the key taken need
    // not be the one enciphered with, only give the same column order.
    void foundKeyDecodes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("abcd");
        QTest::newRow("list keyword, ABCD") << "FUNKERKOMPANIE" << true;
        QTest::newRow("random key, ABC") << "QHWMBZEX" << false;
    }
    void foundKeyDecodes()
    {
        QFETCH(QString, key);
        QFETCH(bool, abcd);
        const auto method = abcd ? abc::CipherMethod::ABCD : abc::CipherMethod::ABC;
        Window d;
        d.click(abcd ? "RadioGroup1Item0" : "RadioGroup1Item1"); // the other method first
        const std::string before = abc::DumpGrid(d.state());
        // Room for a slow run (sanitizers, a busy machine): the search ends as
        // soon as it is sure, and only a run out of time stops on a near miss.
        QVERIFY(d.search(abc::EncipherText(Plaintext, key.toStdString(), method), 60));
        QVERIFY2(d.message().contains("wie deutscher Text"), qPrintable(d.message()));
        QVERIFY(abc::DumpGrid(d.state()) == before); // the search leaves the work state alone

        QTest::mouseClick(d.inDialog<QPushButton>("TakeKeyButton"), Qt::LeftButton);
        const QString taken = d.shown("ComboBox1");
        QCOMPARE(d.texts({"Edit7", "StatusPanel5"}), taken + '|' + taken);
        QCOMPARE(abc::KeyColumnOrder(taken.toStdString()), abc::KeyColumnOrder(key.toStdString()));
        QVERIFY(d.control<QRadioButton>(abcd ? "RadioGroup1Item1" : "RadioGroup1Item0")->isChecked());
        const QString name = abcd ? "ABCD-Chiffre" : "ABC-Chiffre";
        QCOMPARE(d.texts({"StatusPanel7", "Label1"}), name + "|Decoding " + name);
        QCOMPARE(d.message(), "Schlüssel „" + taken + "“ und " + name + " übernommen.");

        d.run(Path);
        QCOMPARE(d.shown("Memo3"), QString::fromStdString(Plaintext));
    }

    void setKeyIsLeftAlone()
    {
        Window d;
        d.control<QLineEdit>("Edit7")->setText("ABC");
        d.run({"BitBtn6"});
        QVERIFY(d.search(abc::EncipherText(Plaintext, "FUNKERKOMPANIE", abc::CipherMethod::ABCD)));
        QTest::mouseClick(d.inDialog<QPushButton>("TakeKeyButton"), Qt::LeftButton);
        QVERIFY2(d.message().contains("Erst „Wiederholen“ drücken"), qPrintable(d.message()));
        QCOMPARE(d.texts({"ComboBox1", "Edit7", "StatusPanel5", "StatusPanel7"}), "ABC|ABC|ABC|ABC-Chiffre");
        QVERIFY(d.control<QRadioButton>("RadioGroup1Item0")->isChecked());
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("message");
        const QString tooShort = "Der Text ist zu kurz für eine Schlüsselsuche (mindestens 20 Buchstaben).";
        QTest::newRow("empty") << "" << tooShort;
        QTest::newRow("19 letters") << "Abcdefghij, klmnopqrs." << tooShort;
        QTest::newRow("no language") << QString::fromStdString(RandomLetters(300))
                                     << "Kein Kandidat liest sich wie deutscher Text.";
    }
    void badInput()
    {
        QFETCH(QString, input);
        QFETCH(QString, message);
        Window d;
        QVERIFY(d.search(input.toStdString(), 2));
        QCOMPARE(d.message(), message);
    }

    // Two messages under one key, the second pasted: each comes back in
    // groups of five, and the probable words are placed or reported missing.
    void jointSearchReadsEveryMessage()
    {
        Window d;
        const auto encipher = [](const std::string &plain) {
            return abc::EncipherText(plain, "WAGNER", abc::CipherMethod::ABCD);
        };
        d.control<QPlainTextEdit>("Memo1")->setPlainText(QString::fromStdString(encipher(FirstMessage)));
        KeySearchDialog *dialog = d.openByShortcut();
        QVERIFY(dialog);
        QVERIFY(d.addPasted(encipher(SecondMessage)));
        QCOMPARE(d.listedMessages(),
                 QStringList({"1. Eingabe-Bereich – wird beim Suchen übernommen",
                              QStringLiteral("2. eingefügt – %1 Buchstaben").arg(SecondMessage.size())}));
        d.inDialog<QLineEdit>("CribEdit")->setText("Munition, brücke Bataillon");
        QVERIFY(d.clickSearch(10));
        QVERIFY2(d.message().contains("wie deutscher Text"), qPrintable(d.message()));

        const QString expected = QStringLiteral("Nachricht 1 (Eingabe-Bereich):\n%1\n\nNachricht 2 (eingefügt):\n%2\n\n"
                                                "„MUNITION“ steht in Nachricht 2 (eingefügt) ab Buchstabe %3.\n"
                                                "„BRUECKE“ steht in Nachricht 2 (eingefügt) ab Buchstabe %4.\n"
                                                "„BATAILLON“ steht in keiner Nachricht.")
                                     .arg(QString::fromStdString(abc::GroupInFives(FirstMessage)),
                                          QString::fromStdString(abc::GroupInFives(SecondMessage)),
                                          QString::number(SecondMessage.find("MUNITION") + 1),
                                          QString::number(SecondMessage.find("BRUECKE") + 1));
        QCOMPARE(d.inDialog<QPlainTextEdit>("ReadingsText")->toPlainText(), expected);
        // Within a laptop's screen and 1080p at 150 %, title bar and panels aside.
        QVERIFY2(dialog->width() <= 1280 && dialog->height() <= 650,
                 qPrintable(QStringLiteral("%1x%2").arg(dialog->width()).arg(dialog->height())));

        auto *list = d.inDialog<QListWidget>("MessageList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(!d.inDialog("RemoveMessageButton")->isEnabled()); // the input area stays
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QTest::mouseClick(d.inDialog<QPushButton>("RemoveMessageButton"), Qt::LeftButton);
        QCOMPARE(d.listedMessages(),
                 QStringList({QStringLiteral("1. Eingabe-Bereich – %1 Buchstaben").arg(FirstMessage.size())}));
    }

    // Files that hold no message are named and left out, the others added.
    void messageFiles()
    {
        QTemporaryDir folder;
        const auto write = [&](const char *name, const QByteArray &bytes) {
            QFile file(folder.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(write("ölmühle.txt", "Ölmühle") && write("leer.txt", " ?!\n") && write("latin1.txt", "\xd6lm\xfchle"));
        QVERIFY(QDir(folder.path()).mkdir("ordner"));
        Window d;
        KeySearchDialog *dialog = d.openByShortcut();
        QVERIFY(dialog);
        dialog->addMessageFiles({folder.filePath("ölmühle.txt"), folder.filePath("leer.txt"),
                                 folder.filePath("latin1.txt"), folder.filePath("ordner"),
                                 folder.filePath("fehlt.txt")});
        QCOMPARE(d.listedMessages().last(), "2. ölmühle.txt – 9 Buchstaben");
        QCOMPARE(d.message(),
                 "Nicht hinzugefügt: „leer.txt“ enthält keine Buchstaben. „latin1.txt“ ist keine Textdatei "
                 "in UTF-8. „ordner“ ist ein Verzeichnis, keine Textdatei. … und 1 weitere.");
    }

    void refusedProbableWord_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("message");
        QTest::newRow("no letters") << "Munition, ?!"
                                    << "Das vermutete Wort „?!“ enthält keine Buchstaben.";
        QTest::newRow("longer than the text") << "Generalkommandodesdrittenarmeekorps"
                                              << "Das vermutete Wort „Generalkommandodesdrittenarmeekorps“ ist "
                                                 "länger als jede Nachricht.";
    }
    void refusedProbableWord()
    {
        QFETCH(QString, words);
        QFETCH(QString, message);
        Window d;
        d.control<QPlainTextEdit>("Memo1")->setPlainText(QString::fromStdString(Plaintext.substr(0, 30)));
        QVERIFY(d.openByShortcut());
        d.inDialog<QLineEdit>("CribEdit")->setText(words);
        QTest::mouseClick(d.inDialog<QPushButton>("SearchButton"), Qt::LeftButton);
        QVERIFY(!d.dialog()->searching());
        QCOMPARE(d.message(), message);
    }

    // Each way of ending a running search: the search must stop promptly and
    // nothing may be left running or freed too early.
    void endDuringSearch_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"cancel", "search again", "close dialog", "close window", "destroy window"})
            QTest::newRow(how) << how;
    }
    void endDuringSearch()
    {
        QFETCH(QString, how);
        Window d;
        QVERIFY(d.startLongSearch());
        KeySearchDialog *dialog = d.dialog();
        QElapsedTimer clock;
        clock.start();
        if (how == "cancel") {
            QTest::mouseClick(d.inDialog<QPushButton>("CancelButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->searching(), StopMilliseconds);
            QVERIFY2(d.message().contains("abgebrochen"), qPrintable(d.message()));
        } else if (how == "search again") {
            d.control<QPlainTextEdit>("Memo1")->setPlainText("zu kurz");
            QTest::mouseClick(d.inDialog<QPushButton>("SearchButton"), Qt::LeftButton);
            QVERIFY(!dialog->searching());
            QVERIFY2(d.message().contains("zu kurz"), qPrintable(d.message()));
        } else if (how == "close dialog") {
            QTest::mouseClick(d.inDialog<QPushButton>("CloseButton"), Qt::LeftButton);
            QVERIFY(!dialog->isVisible() && !dialog->searching());
        } else if (how == "close window") {
            d.click("BitBtn1");
            QVERIFY(!d.form->isVisible() && !dialog->isVisible() && !dialog->searching());
        } else {
            d.form.reset();
        }
        QVERIFY2(clock.elapsed() < StopMilliseconds, qPrintable(QString::number(clock.elapsed())));
        if (!d.form)
            d.form = std::make_unique<TForm1>(); // for the driver's own end
    }
};

QTEST_MAIN(TestKeySearch)
#include "tst_key_search.moc"
