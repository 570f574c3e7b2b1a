// The decoding steps as the user walks them in the main window: real clicks
// on the step buttons, then what the text areas, the display fields, the
// status line and the grid show.

#include "form_driver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>

#include "cipher.h"

namespace {

const abc::WorkbenchState &state(const FormDriver &d) { return d.form->state(); }

// The text a control shows, whatever kind of control it is.
QString shown(const FormDriver &d, const char *name)
{
    QWidget *widget = d.control(name);
    return widget->property(qobject_cast<QPlainTextEdit *>(widget) ? "plainText" : "text").toString();
}

QPlainTextEdit *area(const FormDriver &d, const char *name) { return d.control<QPlainTextEdit>(name); }

SeenMessage setKey(const FormDriver &d, const QString &key)
{
    d.control<QLineEdit>("Edit7")->setText(key);
    return d.clickAndAnswer("BitBtn6");
}

SeenMessage clean(const FormDriver &d, const QString &input)
{
    area(d, "Memo1")->setPlainText(input);
    return d.clickAndAnswer("BitBtn2");
}

// Set key, clean, cut, transposition.
void transpose(const FormDriver &d, const QString &key, const QString &input)
{
    setKey(d, key);
    clean(d, input);
    d.click("BitBtn5");
    d.click("Button2");
}

void chooseMethod(const FormDriver &d, bool abcd)
{
    QTest::mouseClick(d.control<QRadioButton>(abcd ? "RadioGroup1Item1" : "RadioGroup1Item0"), Qt::LeftButton);
}

// The grid as the user sees it, a line per row, hidden cells blank: the
// first `count` lines, or the whole grid.
QString grid(const FormDriver &d, int count = abc::GridSide)
{
    return QString::fromLatin1(abc::DumpGrid(state(d))).left(count * (abc::GridSide + 1));
}

QString picture(std::initializer_list<const char *> top, int count = abc::GridSide)
{
    QString lines;
    for (int r = 0; r < count; ++r)
        lines += QString::fromLatin1(r < int(top.size()) ? top.begin()[r] : "").leftJustified(abc::GridSide) + '\n';
    return lines;
}

// Every cell's caption in index order, hidden cells included; or only those
// of the key columns.
QString captions(const FormDriver &d, bool keyColumnsOnly = false)
{
    QString text;
    for (const abc::GridCell &cell : state(d).GridCells) {
        if (cell.enabled || !keyColumnsOnly)
            text += QLatin1Char(cell.caption);
    }
    return text;
}

// The text as the fill placed it.
QString placedText(const FormDriver &d) { return captions(d, true).remove(QLatin1Char('?')); }

// '1' for every visible row label (black and red alike), '0' for every hidden one.
QString rowLabels(const FormDriver &d)
{
    QString flags;
    for (int r = 0; r < abc::GridSide; ++r)
        flags += QLatin1Char("0xx1"[state(d).RowNumberLabels[r].visible * 2 + state(d).RedRowNumberLabels[r].visible]);
    return flags;
}

QString ones(int count, int total) { return QString(count, QLatin1Char('1')) + QString(total - count, QLatin1Char('0')); }

QString sorted(QString text)
{
    std::sort(text.begin(), text.end());
    return text;
}

QString encipher(const QString &plain, const QString &key, abc::CipherMethod method)
{
    return QString::fromLatin1(abc::EncipherText(plain.toStdString(), key.toStdString(), method));
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
    void cleaning_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("space") << "Ab c" << "ABC";
        QTest::newRow("two lines") << "AB\nCD" << "ABCD";
        QTest::newRow("digit inside") << "x1y" << "XEINSY";
        QTest::newRow("year") << "1980" << "EINSNEUNACHTNULL";
        QTest::newRow("two, letter") << "2a" << "ZWOA";
        QTest::newRow("two twice") << "22" << "ZWOZWO";
        QTest::newRow("two, space, letter") << "2 b" << "ZWOB";
        QTest::newRow("umlauts, sharp s") << QStringLiteral("Öl für Straße") << "OELFUERSTRASZE";
        QTest::newRow("accented letter") << QStringLiteral("Café") << "CAF";
        QTest::newRow("combining accent") << QStringLiteral("Cafe\u0301") << "CAF";
        QTest::newRow("capital accent") << QStringLiteral("ÉCOLE") << "COLE";
        QTest::newRow("space before digit") << " 7" << "SIEBEN";
        QTest::newRow("small umlauts") << QStringLiteral("äöü") << "AEOEUE";
        QTest::newRow("code page signs") << QStringLiteral("Preis: 5 € – „gut“") << "PREISFUENFGUT";
        QTest::newRow("emoji and CJK") << QStringLiteral("A😀B中C") << "ABC";
        QTest::newRow("only blanks and breaks") << " \n\t  \n " << "";
    }

    void cleaning()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const QString length = QString::number(expected.size());

        FormDriver d;
        QVERIFY(!setKey(d, "KIRSCHBLUETENAST").shown);
        QVERIFY(!clean(d, input).shown);
        QCOMPARE(shown(d, "Memo1"), expected);
        QCOMPARE(QString::fromLatin1(state(d).CleanText), expected);
        QCOMPARE(shown(d, "Edit1"), length);
        QCOMPARE(shown(d, "StatusPanel3"), length);
        QCOMPARE(shown(d, "StatusPanel1"), "Eingabetext bereinigt");
        QCOMPARE(shown(d, "Edit2"), length);
        QCOMPARE(placedText(d), expected);
        QCOMPARE(captions(d).count(QLatin1Char('?')), abc::CellCount - state(d).FillEnd); // all when nothing is left

        // A second cleaning after a reset counts on from the first.
        d.click("BitBtn7");
        setKey(d, "KIRSCHBLUETENAST");
        QVERIFY(!clean(d, input).shown);
        QCOMPARE(shown(d, "Memo1"), expected);
        QCOMPARE(shown(d, "Edit2"), QString::number(2 * expected.size()));
    }

    void clearInputThenEmptyInputWarning()
    {
        FormDriver d;
        area(d, "Memo2")->setPlainText("Notizen");
        area(d, "Memo3")->setPlainText("bleibt");
        setKey(d, "KIRSCHBLUETENAST");
        const QString gridBefore = grid(d);
        d.click("BitBtn3"); // empties the input and the transposition text, nothing else
        QCOMPARE(shown(d, "Memo1") + shown(d, "Memo2") + shown(d, "Memo3"), "bleibt");
        QVERIFY(state(d).CleanText.empty());
        QCOMPARE(grid(d), gridBefore);
        QCOMPARE(shown(d, "Edit1") + shown(d, "Edit2") + shown(d, "Edit5") + shown(d, "Edit6"), "????????16???");
        QVERIFY(d.enabled("BitBtn2") && d.enabled("BitBtn3") && d.enabled("BitBtn7"));

        const SeenMessage seen = d.clickAndAnswer("BitBtn2");
        QVERIFY(seen.shown && seen.buttonCount == 1 && seen.icon == QMessageBox::NoIcon);
        QCOMPARE(seen.title + ": " + seen.text, "Achtung: Die Eingabeseite darf nicht leer sein!");
        // Cleaned stage all the same; the fields keep what they showed.
        QVERIFY(!d.enabled("BitBtn2") && !d.enabled("BitBtn3") && d.enabled("BitBtn4") && d.enabled("BitBtn5"));
        QCOMPARE(shown(d, "StatusPanel1"), "Eingabetext bereinigt");
        QCOMPARE(shown(d, "StatusPanel3") + shown(d, "Edit1") + shown(d, "Edit2"), "????????");
        QCOMPARE(captions(d), QString(abc::CellCount, QLatin1Char('?')));

        // With a text cleaned before, the grid gets it back under the new key.
        d.click("BitBtn7");
        setKey(d, "CAB");
        QVERIFY(!clean(d, "ABCDEFG").shown);
        d.click("BitBtn7");
        setKey(d, "AB");
        QVERIFY(clean(d, QString()).shown);
        QCOMPARE(state(d).TextCount, 0);
        QCOMPARE(grid(d, 5), picture({"AB", "CD", "EF", "G?", "??"}, 5));
        QCOMPARE(shown(d, "Memo1") + shown(d, "Edit1") + shown(d, "StatusPanel3"), "???7");
    }

    void fillCutTransposeSubstitute()
    {
        FormDriver d;
        setKey(d, "CAB");
        QVERIFY(!clean(d, "ABCDEFG").shown);
        const QString outside(42, QLatin1Char('.'));
        QCOMPARE(captions(d).left(3 * 45), "ABC" + outside + "DEF" + outside + "G" + QString(44, QLatin1Char('?')));
        QCOMPARE(grid(d, 4), picture({"ABC", "DEF", "G??", "???"}, 4));
        QCOMPARE(state(d).FillEnd, 91);

        d.click("BitBtn5");
        QCOMPARE(shown(d, "Edit6"), "3");
        QCOMPARE(grid(d), picture({"ABC", "DEF", "G"}));
        QCOMPARE(rowLabels(d), ones(3, 45));

        d.click("Button2");
        QCOMPARE(shown(d, "Edit3"), "2 3 1 ");
        QCOMPARE(shown(d, "Edit4"), "A B C ");
        QCOMPARE(shown(d, "Memo2"), "EACFBDG");
        QCOMPARE(shown(d, "StatusPanel10"), "Transposition");
        QCOMPARE(grid(d), picture({"EAC", "FBD", "G"}));
        QVERIFY(d.enabled("Button1") && d.enabled("BitBtn8") && d.enabled("BitBtn9") && !d.enabled("Button2"));
        d.click("BitBtn4");
        d.click("BitBtn8");
        QCOMPARE(shown(d, "Memo1") + "/" + shown(d, "Memo2"), "ABCDE FG/EACFB DG"); // each area its own text

        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), "EZAFABG"); // shifted back by 0 1 2 0 1 2 0
        QCOMPARE(shown(d, "Edit2"), "7");

        // The next message's write order is appended to this one's.
        d.click("BitBtn7");
        transpose(d, "BA", "ABCD");
        QCOMPARE(shown(d, "Edit3") + "/" + shown(d, "Edit4"), "2 3 1 2 1 /A B C A B ");
        QCOMPARE(shown(d, "Memo2"), "CADB");
    }

    void fullGridRoundTrip()
    {
        const QString key = "QWERTYUIOPASDFGHJKLZXCVBNMQWERTYUIOPASDFGHJKL";
        QString plain;
        for (int i = 0; i < abc::CellCount; ++i)
            plain += QLatin1Char(static_cast<char>('A' + (i * 7 + i / 26) % 26));
        const QString cipher = encipher(plain, key, abc::CipherMethod::ABC);

        FormDriver d;
        setKey(d, key);
        QVERIFY(!clean(d, cipher).shown);
        QCOMPARE(shown(d, "Edit1"), "2025");
        QCOMPARE(state(d).FillEnd, abc::CellCount);
        QVERIFY(!captions(d).contains(QLatin1Char('?')));
        d.click("BitBtn5");
        QCOMPARE(shown(d, "Edit6"), "45");
        QVERIFY(!grid(d).contains(QLatin1Char(' ')));
        QCOMPARE(rowLabels(d), ones(45, 45));
        d.click("Button2");
        const QStringList numbers = shown(d, "Edit3").split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(numbers.size(), 45);
        for (int column = 1; column <= 45; ++column)
            QVERIFY(numbers.contains(QString::number(column)));
        QCOMPARE(shown(d, "Edit4").remove(QLatin1Char(' ')), sorted(key));
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), plain);
    }

    void transposition_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("read");
        QTest::newRow("letters out of order") << "ZEBRA" << "ABCDEFGHIJKL" << "5 3 2 4 1 " << "A B E R Z "
                                              << "JECHAKFDIBLG";
        QTest::newRow("repeated letter") << "ABA" << "ABCDEF" << "1 3 2 " << "A A B " << "AECBFD";
        QTest::newRow("digit in key") << "A1" << "ABCDE" << "1 " << "A " << "ABBDC";
        QTest::newRow("small letters in key") << "cAb" << "ABCDEF" << "2 " << "A " << "AACDBF";
        QTest::newRow("text within row 0") << "EDCBA" << "XY" << "5 4 3 2 1 " << "A B C D E " << "YX";
        QTest::newRow("text cleans to nothing") << "CA7B" << "?!" << "2 4 1 " << "A B C " << "";
    }

    void transposition()
    {
        QFETCH(QString, key);
        QFETCH(QString, input);
        QFETCH(QString, numbers);
        QFETCH(QString, letters);
        QFETCH(QString, read);

        FormDriver d;
        transpose(d, key, input);
        // The cut counts the rows holding text; a text within row 0 leaves the count alone.
        const int rows = static_cast<int>((read.size() + key.size() - 1) / key.size());
        QCOMPARE(shown(d, "Edit6"), rows > 1 ? QString::number(rows) : QStringLiteral("???"));
        QCOMPARE(rowLabels(d), ones(std::max(rows, 1), 45));
        QCOMPARE(shown(d, "Edit3"), numbers);
        QCOMPARE(shown(d, "Edit4"), letters);
        QCOMPARE(shown(d, "Memo2"), read);
        d.click("Button1");
        QCOMPARE(shown(d, "Edit2"), QString::number(read.size()));
        QCOMPARE(shown(d, "Memo3").size(), read.size());
    }

    void substitution_data()
    {
        QTest::addColumn<bool>("abcd");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ABC wraps") << false << "AAAAAA" << "AZYAZY";
        QTest::newRow("ABCD wraps") << true << "AAAAAAAA" << "AZYXAZYX";
        QTest::newRow("ABC cycle") << false << "ABCABC" << "AAAAAA";
        QTest::newRow("ABCD cycle") << true << "DDDD" << "DCBA";
        QTest::newRow("ABC no wrap") << false << "ZZZZ" << "ZYXZ";
    }

    void substitution()
    {
        QFETCH(bool, abcd);
        QFETCH(QString, input);
        QFETCH(QString, expected);

        FormDriver d;
        chooseMethod(d, !abcd);
        transpose(d, "A", input); // one key column: the transposition changes nothing
        QCOMPARE(shown(d, "Memo2"), input);
        chooseMethod(d, abcd); // the method counts when the substitution runs
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), expected);
        QCOMPARE(shown(d, "Edit2"), QString::number(expected.size()));
    }

    void groupToggles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("plainGroups");
        QTest::newRow("12") << "ABCDEFGHIJKL" << "ABCDE FGHIJ KL" << "AAADDDGGGJJJ" << "AAADD DGGGJ JJ";
        QTest::newRow("10") << "ABCDEFGHIJ" << "ABCDE FGHIJ" << "AAADDDGGGJ" << "AAADD DGGGJ";
        QTest::newRow("6") << "ABCDEF" << "ABCDE F" << "AAADDD" << "AAADD D";
        QTest::newRow("5") << "ABCDE" << "ABCDE" << "AAADD" << "AAADD";
        QTest::newRow("empty") << "" << "" << "" << "";
    }

    void groupToggles()
    {
        QFETCH(QString, text);
        QFETCH(QString, groups);
        QFETCH(QString, plain);
        QFETCH(QString, plainGroups);

        FormDriver d;
        setKey(d, "A");
        clean(d, text.isEmpty() ? QStringLiteral("...") : text);
        // Whatever the user typed into the area, the toggle shows the kept text.
        const auto toggle = [&](const char *button, const char *memo, const QString &expected, const char *caption) {
            area(d, memo)->setPlainText("vom Benutzer geändert");
            d.click(button);
            QCOMPARE(shown(d, memo), expected);
            QCOMPARE(shown(d, button), QString::fromUtf8(caption));
        };
        toggle("BitBtn4", "Memo1", groups, "Blocktext schalten");
        toggle("BitBtn4", "Memo1", text, "Fünfer-Gruppen schalten");
        toggle("BitBtn4", "Memo1", groups, "Blocktext schalten");
        d.click("BitBtn5");
        d.click("Button2");
        QCOMPARE(shown(d, "Memo2"), text);
        toggle("BitBtn8", "Memo2", groups, "Blocktext Transposition");
        toggle("BitBtn8", "Memo2", text, "Fünfer-Gruppen Transposition");
        // Before the substitution the toggle groups the text there is: none yet.
        toggle("BitBtn9", "Memo3", "", "Blocktext schalten");
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), plain);
        QCOMPARE(shown(d, "BitBtn9"), "Blocktext schalten");
        toggle("BitBtn9", "Memo3", plain, "Fünfer-Gruppen Substitution");
        toggle("BitBtn9", "Memo3", plainGroups, "Blocktext schalten");

        // The next run, before its substitution, groups the last run's text.
        d.click("BitBtn7");
        QCOMPARE(shown(d, "BitBtn9"), "Fünfer-Gruppen Substitution");
        transpose(d, "B", "ZZZ");
        QCOMPARE(shown(d, "Edit2"), QString::number(text.size() + 1 + 3)); // the substitution left the cursor behind its text
        toggle("BitBtn9", "Memo3", plainGroups, "Blocktext schalten");
    }

    void resetInCleanedStageLosesNothing_data()
    {
        QTest::addColumn<QString>("firstKey");
        QTest::addColumn<QString>("secondKey");
        QTest::addColumn<QString>("plain");
        QTest::newRow("long key, then short") << "KOMPANIE" << "ZUG" << "WIRGREIFENUMACHTUHRANSTOP";
        QTest::newRow("short key, then long") << "ZUG" << "FELDWEBEL" << "NACHSCHUBTRIFFTMORGENEINSTOPWARTEN";
    }

    void resetInCleanedStageLosesNothing()
    {
        QFETCH(QString, firstKey);
        QFETCH(QString, secondKey);
        QFETCH(QString, plain);
        const QString cipher = encipher(plain, secondKey, abc::CipherMethod::ABC);

        FormDriver d;
        setKey(d, firstKey);
        clean(d, "ABCDEFGHIJ");
        d.click("BitBtn7");
        QVERIFY(d.enabled("BitBtn5"));
        d.click("BitBtn5"); // cut on the reset grid
        setKey(d, secondKey);
        QCOMPARE(grid(d).count(QLatin1Char(' ')), (abc::GridSide - secondKey.size()) * abc::GridSide); // the key columns are whole again
        QVERIFY(!clean(d, cipher).shown);
        d.click("BitBtn5");
        d.click("Button2");

        const int rows = static_cast<int>((cipher.size() + secondKey.size() - 1) / secondKey.size());
        QCOMPARE(shown(d, "Edit1"), QString::number(cipher.size()));
        QCOMPARE(shown(d, "Edit6"), QString::number(rows));
        QCOMPARE(rowLabels(d), ones(rows, 45));
        QCOMPARE(shown(d, "Memo2").size(), cipher.size());
        QCOMPARE(sorted(shown(d, "Memo2")), sorted(cipher));
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), plain);
    }

    void overCapacityWarns()
    {
        const QString input = QString("ABCDEFGHIJ").repeated(10);
        FormDriver d;
        setKey(d, "AB");
        const SeenMessage seen = clean(d, input);
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, "Achtung");
        QCOMPARE(seen.buttonCount, 1);
        QVERIFY2(seen.text.contains(QRegularExpression("\\b90\\b.*\\b10\\b")), qPrintable(seen.text));
        QCOMPARE(shown(d, "Memo1"), input);
        QCOMPARE(shown(d, "Edit1"), "100");
        QCOMPARE(placedText(d), input.left(90));
    }

    void decodesSampleMessage()
    {
        FormDriver d;
        d.click("BitBtn6");
        QVERIFY(!d.clickAndAnswer("BitBtn2").shown);
        d.click("BitBtn5");
        d.click("Button2");
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), SamplePlaintext);
        QCOMPARE(shown(d, "Edit1") + " " + shown(d, "Edit6") + " " + shown(d, "Edit5"), "495 31 16");
    }

    void decodesTypedGroups()
    {
        const QString plain = "FEINDLICHEPATROUILLEAMWALDRANDGESICHTETSTOPERBITTEVERSTAERKUNG";
        const QString key = "FELDWEBEL";
        const QString cipher = encipher(plain, key, abc::CipherMethod::ABCD);

        FormDriver d;
        auto *keyEdit = d.control<QLineEdit>("Edit7");
        keyEdit->clear();
        QTest::keyClicks(keyEdit, key);
        QCOMPARE(d.control<QComboBox>("ComboBox1")->currentText(), key);
        chooseMethod(d, true);
        QPlainTextEdit *input = area(d, "Memo1");
        input->clear();
        for (int i = 0; i < cipher.size(); i += 5) { // four groups a line
            QTest::keyClicks(input, cipher.mid(i, 5) + " ");
            if (i % 20 == 15)
                QTest::keyClick(input, Qt::Key_Return);
        }
        QCOMPARE(input->toPlainText().count(QLatin1Char('\n')), cipher.size() / 20);
        d.click("BitBtn6");
        QVERIFY(!d.clickAndAnswer("BitBtn2").shown);
        QCOMPARE(shown(d, "Memo1"), cipher);
        d.click("BitBtn5");
        d.click("Button2");
        d.click("Button1");
        QCOMPARE(shown(d, "Memo3"), plain);
    }
};

QTEST_MAIN(Test)
#include "tst_decoding.moc"
