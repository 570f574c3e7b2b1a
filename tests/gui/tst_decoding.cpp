// The decoding steps as the user walks them in the main window: real clicks
// on the step buttons, then what the text areas, the display fields and the
// group toggles show, held against what the engine computes for the same key
// and text. The rules of each step are the engine tests' business.

#include "tests/gui/form_driver.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>

#include "engine/cipher.h"
#include "engine/decoding_steps.h"
#include "engine/grouping.h"
#include "engine/substitution.h"
#include "tests/engine/engine_test_support.h"

namespace {

const QStringList Path = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};

// Puts key and input into the window and clicks the steps; returns the last
// message shown.
SeenMessage walk(const FormDriver &d, const QString &key, const QString &input, const QStringList &steps = Path)
{
    d.control<QLineEdit>("Edit7")->setText(key);
    d.control<QPlainTextEdit>("Memo1")->setPlainText(input);
    SeenMessage last;
    for (const QString &step : steps) {
        if (const SeenMessage seen = d.clickAndAnswer(qPrintable(step)); seen.shown)
            last = seen;
    }
    return last;
}

// Whether the screen shows the grid as the model has it now: a step that
// changes the model without a refresh leaves the old picture there.
bool gridOnScreenIsCurrent(const FormDriver &d)
{
    QWidget *view = d.control("TranspositionGrid");
    const QPoint at = view->mapTo(d.form.get(), QPoint());
    const auto shot = [&] {
        return view->screen()->grabWindow(d.form->winId(), at.x(), at.y(), view->width(), view->height()).toImage();
    };
    const QImage shown = shot();
    view->repaint();
    return shot() == shown;
}

QString groups(const QString &text)
{
    return QString::fromStdString(abc::GroupInFives(text.toStdString()));
}

const QString SamplePlaintext = QStringLiteral(
    "ANOBERKOMMANDODERZWOTENARMEESTOPFEINDLICHEKAVALLERIEINSTAERKEVONZWOSCHWADRONENSEITSECHSUHRFRUEHBEIDEMGEHOEF"
    "TNORDOESTLICHDERHOEHEEINSNULLACHTGEMELDETSTOPEIGENEVORPOSTENHALTENDIEBRUECKEUEBERDENBACHSTOPMUNITIONUNDVER"
    "PFLEGUNGREICHENNURNOCHFUERZWOTAGESTOPERBITTENDRINGENDNACHSCHUBSOWIEVERSTAERKUNGDURCHEINBATAILLONINFANTERIE"
    "STOPFERNSPRECHLEITUNGZUMREGIMENTSEITGESTERNABENDUNTERBROCHENSTOPMELDUNGENKUENFTIGNURDURCHMELDEREITERODERBR"
    "IEFTAUBESTOPNAECHSTEMELDUNGUMACHTUHRABENDSSTOPGEZEICHNETHAUPTMANNVOGEL");

} // namespace

class Test : public QObject
{
    Q_OBJECT
private slots:
    // "clean" is the input as the engine gets it through the code page.
    void results_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("clean");
        QTest::addColumn<bool>("abcd");
        QTest::newRow("key letters ranked 3 1 2") << "CAB"
                                                  << "ABCDEFG"
                                                  << "ABCDEFG" << false;
        QTest::newRow("repeated key letter") << "ABA"
                                             << "abcdef"
                                             << "ABCDEF" << true;
        QTest::newRow("digit in key") << "A1"
                                      << "ABCDE"
                                      << "ABCDE" << false;
        QTest::newRow("small letters from Edit7") << "cAb"
                                                  << "ABCDEF"
                                                  << "ABCDEF" << true;
        QTest::newRow("text within row 0") << "EDCBA"
                                           << "XY"
                                           << "XY" << false;
        QTest::newRow("cleaned to nothing") << "CA7B"
                                            << " \n\t  \n "
                                            << "" << false;
        QTest::newRow("umlauts, two lines") << "KEY" << QStringLiteral("Öl für\nStraße") << "OELFUERSTRASZE" << true;
        QTest::newRow("accents") << "KEY" << QStringLiteral("Café Cafe\u0301 ÉCOLE") << "CAFCAFCOLE" << false;
        QTest::newRow("code page signs") << "KEY" << QStringLiteral("Preis: 5 € – „gut“") << "PREISFUENFGUT" << false;
        QTest::newRow("outside the code page") << "KEY" << QStringLiteral("A😀B中C") << "ABC" << false;
        const std::string key45 = "QWERTYUIOPASDFGHJKLZXCVBNMQWERTYUIOPASDFGHJKL";
        const QString cipher = QString::fromStdString(
            abc::EncipherText(abc::test::Alphabet(abc::CellCount), key45, abc::CipherMethod::ABC));
        QTest::newRow("every cell") << QString::fromStdString(key45) << cipher << cipher << false;
    }
    void results()
    {
        QFETCH(QString, key);
        QFETCH(QString, input);
        QFETCH(QString, clean);
        QFETCH(bool, abcd);
        FormDriver d;
        d.click(abcd ? "RadioGroup1Item0" : "RadioGroup1Item1"); // the method counts when the substitution runs
        walk(d, key, input, {});
        for (const QString &step : Path.mid(0, 4)) {
            QVERIFY2(!d.clickAndAnswer(qPrintable(step)).shown, qPrintable(step));
            QVERIFY2(gridOnScreenIsCurrent(d), qPrintable(step));
        }
        d.click(abcd ? "RadioGroup1Item1" : "RadioGroup1Item0");
        d.click("Button1");

        const std::string text = clean.toStdString();
        abc::WorkbenchState s;
        abc::BuildGrid(s);
        const abc::DecodingResult decoded =
            abc::DecipherAllSteps(s, key.toStdString(), text, abcd ? abc::CipherMethod::ABCD : abc::CipherMethod::ABC);
        const std::optional<int> rows = decoded.rows;
        const auto [numbers, letters] = abc::test::Shown(decoded.order);
        const std::string &read = s.TranspositionText;
        const std::string &plain = s.SubstitutionText;
        const QString count = QString::number(clean.size());
        QCOMPARE(
            d.texts({"Memo1", "Edit1", "StatusPanel3", "Edit5", "Edit6", "Edit3", "Edit4", "Memo2", "Memo3", "Edit2"}),
            QStringList({clean, count, count, QString::number(key.size()), rows ? QString::number(*rows) : "???",
                         QString::fromStdString(numbers), QString::fromStdString(letters), QString::fromStdString(read),
                         QString::fromStdString(plain), QString::number(plain.size())})
                .join('|'));
    }

    void clearThenEmptyInput()
    {
        FormDriver d;
        d.control<QPlainTextEdit>("Memo2")->setPlainText("Notizen");
        d.control<QPlainTextEdit>("Memo3")->setPlainText("bleibt");
        d.click("BitBtn6");
        const std::string grid = abc::DumpGrid(d.state());
        d.click("BitBtn3"); // empties the input and the transposition text, nothing else
        QCOMPARE(d.texts({"Memo1", "Memo2", "Memo3", "Edit1", "Edit2", "Edit5", "Edit6"}), "||bleibt|?????|???|16|???");
        QVERIFY(d.state().CleanText.empty() && abc::DumpGrid(d.state()) == grid);

        const SeenMessage seen = d.clickAndAnswer("BitBtn2");
        QCOMPARE(seen.title + '|' + seen.text + '|' + QString::number(seen.buttonCount) + '|'
                     + QString::number(seen.icon),
                 "Achtung|Die Eingabeseite darf nicht leer sein!|1|0");
        // The fields keep what they showed, and there is no text for the grid.
        QCOMPARE(d.texts({"Memo1", "Edit1", "Edit2", "StatusPanel3"}), "|?????|???|");
        QCOMPARE(abc::test::Captions(d.state()), abc::test::Rows(std::string(abc::CellCount, '?')));
    }

    // Two messages with a reset between them, the second reset once more
    // after its cleaning and keyed again before the cut: the write orders add
    // up, Edit2 counts on from where the substitution left the cursor, and no
    // letter is lost.
    void twoMessages()
    {
        FormDriver d;
        walk(d, "CAB", "ABCDEFG", QStringList(Path) << "BitBtn7");
        walk(d, "BA", "ABCD", Path.mid(0, 2));
        const QString cleaned = d.shown("Edit2");
        d.run({"BitBtn7", "BitBtn6", "BitBtn5", "Button2"});
        QCOMPARE(cleaned + '|' + d.texts({"Edit2", "Edit3", "Edit4", "Memo2"}), "12|12|2 3 1 2 1 |A B C A B |CADB");
    }

    void groupToggles()
    {
        FormDriver d;
        QStringList seen;
        // Whatever the user typed into the area, a click shows the kept text.
        const auto toggle = [&](const char *button, const char *memo) {
            d.control<QPlainTextEdit>(memo)->setPlainText("vom Benutzer geändert");
            d.click(button);
            seen << d.texts({button, memo});
        };
        walk(d, "BA", "ABCDEFGHIJKL", Path.mid(0, 2));
        for (int i = 0; i < 3; ++i)
            toggle("BitBtn4", "Memo1");
        d.run({"BitBtn5", "Button2"});
        toggle("BitBtn8", "Memo2");
        toggle("BitBtn8", "Memo2");
        toggle("BitBtn9", "Memo3"); // before the first substitution: no text yet
        d.click("Button1");
        seen << d.texts({"BitBtn9", "Memo3"});
        toggle("BitBtn9", "Memo3");
        toggle("BitBtn9", "Memo3");
        d.control<QPushButton>("BitBtn9")->setText("anders");
        toggle("BitBtn9", "Memo3");
        d.click("BitBtn7");
        walk(d, "B", "ZZZ", Path.mid(0, 4));
        toggle("BitBtn9", "Memo3"); // before its substitution: the last message's text

        const QString text = "ABCDEFGHIJKL", block = "Blocktext schalten|",
                      substitution = "Fünfer-Gruppen Substitution|";
        abc::WorkbenchState s = abc::test::CutGrid("BA", text.toStdString());
        abc::WriteKeyColumns(s, text.toStdString());
        const QString read = QString::fromStdString(abc::ReadGridRows(s));
        const QString plain = QString::fromStdString(abc::ShiftTextBack(s, read.toStdString(), abc::CipherMethod::ABC));
        QCOMPARE(seen,
                 QStringList({block + groups(text), "Fünfer-Gruppen schalten|" + text, block + groups(text),
                              "Blocktext Transposition|" + groups(read), "Fünfer-Gruppen Transposition|" + read, block,
                              block + plain, substitution + plain, block + groups(plain), substitution + plain,
                              block + groups(plain)}));
    }

    void overCapacityWarns()
    {
        const QString input = QString("ABCDEFGHIJ").repeated(9) + 'K'; // one letter over
        FormDriver d;
        const SeenMessage seen = walk(d, "AB", input, Path.mid(0, 2));
        QCOMPARE(seen.title + '|' + QString::number(seen.buttonCount), "Achtung|1");
        QVERIFY2(seen.text.contains(QRegularExpression("\\b90\\b.*\\b1\\b")), qPrintable(seen.text));
        QCOMPARE(d.texts({"Memo1", "Edit1"}), input + "|91");
    }

    void decodesSampleMessage()
    {
        FormDriver d;
        QVERIFY(!walk(d, "KIRSCHBLUETENAST", d.shown("Memo1")).shown);
        QCOMPARE(d.shown("Memo3"), SamplePlaintext);
        QCOMPARE(d.texts({"Edit1", "Edit6", "Edit5"}), "495|31|16");
    }
};

QTEST_MAIN(Test)
#include "tst_decoding.moc"
