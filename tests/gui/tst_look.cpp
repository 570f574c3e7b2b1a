// The application's look: captions drawn from kept text lines must come out
// exactly as the base style draws them, the bitmap-button glyphs must be
// there and tell the kinds apart, and the controls must show the faces and
// colours of the layout.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>

#include "tests/gui/form_driver.h"

namespace {

QImage DrawItemText(const QStyle *style, qreal scale, const QRect &rect, int flags, bool enabled, const QString &text)
{
    QImage image(QSize(240, 48) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QApplication::palette().window().color()); // where the light etching shows
    QPainter painter(&image);
    painter.setFont(QApplication::font());
    QPalette palette = QApplication::palette();
    palette.setCurrentColorGroup(enabled ? QPalette::Active : QPalette::Disabled);
    style->drawItemText(&painter, rect, flags, palette, enabled, text, QPalette::ButtonText);
    return image;
}

int Saturation(const QImage &image)
{
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 128)
                most = std::max(most, c.hsvSaturation());
        }
    }
    return most;
}

} // namespace

class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FormDriver(); } // installs the look

    void keptTextLinesDrawLikeTheBaseStyle_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("text");
        const QString caption = QStringLiteral("Fünfer-Gruppen schalten");
        const QRect box(7, 5, 201, 25);
        for (const qreal scale : {1.0, 1.5, 2.0}) {
            const QByteArray at = "@" + QByteArray::number(scale);
            QTest::newRow("centred" + at) << scale << box << int(Qt::AlignCenter) << true << caption;
            QTest::newRow("disabled, etched" + at) << scale << box << int(Qt::AlignCenter) << false << caption;
            QTest::newRow("left, top" + at) << scale << box << int(Qt::AlignLeft | Qt::AlignTop) << true << caption;
            QTest::newRow("right, bottom" + at)
                << scale << box << int(Qt::AlignRight | Qt::AlignBottom) << true << caption;
            QTest::newRow("clipped" + at) << scale << QRect(3, 4, 50, 9) << int(Qt::AlignCenter) << true << caption;
            QTest::newRow("clipped, disabled" + at)
                << scale << QRect(3, 4, 50, 9) << int(Qt::AlignLeft | Qt::AlignVCenter) << false << caption;
            QTest::newRow("mnemonic" + at)
                << scale << box << int(Qt::AlignCenter | Qt::TextShowMnemonic) << true << QStringLiteral("S&chließen");
        }
    }
    void keptTextLinesDrawLikeTheBaseStyle()
    {
        QFETCH(qreal, scale);
        QFETCH(QRect, rect);
        QFETCH(int, flags);
        QFETCH(bool, enabled);
        QFETCH(QString, text);
        auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
        QVERIFY(style && style->baseStyle());
        // Twice: the second drawing comes from the kept line.
        for (int round = 0; round < 2; ++round) {
            const QImage kept = DrawItemText(style, scale, rect, flags, enabled, text);
            QCOMPARE(kept, DrawItemText(style->baseStyle(), scale, rect, flags, enabled, text));
        }
    }

    void bitmapButtonsShowTheirKindsGlyph()
    {
        FormDriver d;
        const char *kinds[][2] = {{"BitBtn1", "close"}, {"BitBtn2", "ok"},  {"BitBtn3", "abort"},
                                  {"BitBtn4", "yes"},   {"BitBtn5", "all"}, {"BitBtn6", "ok"},
                                  {"BitBtn7", "retry"}, {"BitBtn8", "ok"},  {"BitBtn9", "ok"}};
        QHash<QString, QImage> byKind;
        for (const auto &[name, kind] : kinds) {
            const QIcon icon = d.control<QPushButton>(name)->icon();
            QVERIFY2(!icon.isNull(), name);
            const QImage image = icon.pixmap(QSize(16, 16), 2.0).toImage();
            QCOMPARE(image.size(), QSize(32, 32)); // drawn for the pixel ratio, not scaled up
            QVERIFY2(Saturation(image) > 100, name);
            QVERIFY2(Saturation(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage()) < 30, name);
            if (byKind.contains(kind))
                QCOMPARE(image, byKind.value(kind));
            byKind.insert(kind, image);
        }
        const QList<QImage> distinct = byKind.values();
        for (int i = 0; i < distinct.size(); ++i) {
            for (int j = i + 1; j < distinct.size(); ++j)
                QVERIFY(distinct[i] != distinct[j]);
        }
    }

    void controlsShowTheLayoutsFacesAndColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background"); // of text areas, else invalid
        const QColor none;
        QTest::newRow("title") << "Label1"
                               << "Liberation Serif" << 21 << true << true << QColor(0x800000) << none;
        QTest::newRow("input") << "Memo1"
                               << "Liberation Mono" << 16 << true << false << QColor(0xFFFF00) << QColor(0x000080);
        QTest::newRow("transposition") << "Memo2"
                                       << "Liberation Mono" << 16 << true << false << QColor(Qt::black)
                                       << QColor(0xC8C8C8);
        QTest::newRow("substitution") << "Memo3"
                                      << "Liberation Mono" << 16 << true << false << QColor(0xFFFF00)
                                      << QColor(Qt::black);
        QTest::newRow("method") << "RadioGroup1Item1"
                                << "Liberation Sans" << 13 << false << false << none << none;
        QTest::newRow("keyword") << "ComboBox1"
                                 << "Liberation Mono" << 17 << true << false << none << none;
        QTest::newRow("column order") << "Edit3"
                                      << "Liberation Mono" << 11 << true << false << none << none;
        QTest::newRow("alphabetic order") << "Edit4"
                                          << "Liberation Mono" << 13 << true << false << none << none;
        QTest::newRow("started on") << "StaticText1"
                                    << "Liberation Sans" << 11 << false << false << QColor(0x008000) << none;
        QTest::newRow("date of state") << "StaticText4"
                                       << "Liberation Sans" << 11 << false << false << QColor(0xFF0000) << none;
        QTest::newRow("default") << "StaticText5"
                                 << "Liberation Sans" << 11 << false << false << none << none;
    }
    void controlsShowTheLayoutsFacesAndColours()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        FormDriver d;
        QWidget *control = d.control(qPrintable(name));
        const QFontInfo face(control->font());
        QCOMPARE(face.family(), family);
        QCOMPARE(face.pixelSize(), pixelSize);
        QCOMPARE(face.bold(), bold);
        QCOMPARE(face.italic(), italic);
        if (auto *combo = qobject_cast<QComboBox *>(control)) // its drop-down list too
            QCOMPARE(QFontInfo(combo->view()->font()).family(), family);
        if (!background.isValid()) {
            if (text.isValid())
                QCOMPARE(control->palette().color(QPalette::WindowText), text);
            return;
        }
        // Text areas: what is on screen, the area's text in its colour on
        // its background.
        auto *area = qobject_cast<QPlainTextEdit *>(control);
        QVERIFY(area);
        area->setPlainText(QStringLiteral("WWWWW WWWWW"));
        const QImage shot = area->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 5, shot.height() - 5), background);
        bool inked = false;
        for (int y = 0; y < 30 && !inked; ++y) {
            for (int x = 0; x < 120 && !inked; ++x)
                inked = shot.pixelColor(x, y) == text;
        }
        QVERIFY(inked);
    }
};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
