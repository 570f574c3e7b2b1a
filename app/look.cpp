#include "look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace {

// The group boxes get the classic etched frame. Fusion's own frame is a
// stretched picture, and repainting those behind every changed control made
// each decoding step cost several milliseconds.
class WorkbenchStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_FrameGroupBox) {
            qDrawShadeRect(painter, option->rect, option->palette, true, 1, 0);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

struct ControlLook {
    const char *name;
    const char *family;
    int pixelSize;
    bool bold = false;
    bool italic = false;
    QColor text = {};       // text on its background, or the default
    QColor background = {}; // text areas only
};

const QColor Maroon(0x80, 0x00, 0x00);
const QColor DarkGreen(0x00, 0x80, 0x00);
const QColor Yellow(0xFF, 0xFF, 0x00);

const ControlLook ControlLooks[] = {
    {.name = "Label1", .family = "Times New Roman", .pixelSize = 21, .bold = true, .italic = true, .text = Maroon},
    {.name = "Memo1", .family = "Courier New", .pixelSize = 16, .bold = true, .text = Yellow,
     .background = QColor(0x00, 0x00, 0x80)},
    {.name = "Memo2", .family = "Courier New", .pixelSize = 16, .bold = true, .text = Qt::black,
     .background = QColor(0xC8, 0xC8, 0xC8)},
    {.name = "Memo3", .family = "Courier New", .pixelSize = 16, .bold = true, .text = Yellow,
     .background = Qt::black},
    {.name = "RadioGroup1", .family = "MS Sans Serif", .pixelSize = 13},
    {.name = "ComboBox1", .family = "Courier New", .pixelSize = 17, .bold = true},
    {.name = "Edit1", .family = "Courier New", .pixelSize = 16, .bold = true},
    {.name = "Edit2", .family = "Courier New", .pixelSize = 16, .bold = true},
    {.name = "Edit3", .family = "Courier New", .pixelSize = 11, .bold = true},
    {.name = "Edit4", .family = "Courier New", .pixelSize = 13, .bold = true},
    {.name = "StaticText1", .family = "MS Sans Serif", .pixelSize = 11, .text = DarkGreen},
    {.name = "StaticText2", .family = "MS Sans Serif", .pixelSize = 11, .text = Maroon},
    {.name = "StaticText3", .family = "MS Sans Serif", .pixelSize = 11, .text = DarkGreen},
    {.name = "StaticText4", .family = "MS Sans Serif", .pixelSize = 11, .text = QColor(0xFF, 0x00, 0x00)},
};

} // namespace

void InstallWorkbenchLook()
{
    // The Liberation faces share the metrics of the Windows faces, so texts
    // take the room the layout gives them.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("CourierNew"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    // The bitmap face of the layout is a little narrower than its stand-in;
    // 97 % width keeps the longest static texts within their boxes.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStretch(97);
    QApplication::setFont(font);

    QApplication::setStyle(new WorkbenchStyle);
}

void DressControls(QWidget *window)
{
    for (const ControlLook &look : ControlLooks) {
        auto *control = window->findChild<QWidget *>(QLatin1String(look.name));
        if (!control)
            continue;
        // Only what is named here is set; the rest, such as the width, comes
        // from the application font.
        QFont font(QString::fromLatin1(look.family));
        font.setPixelSize(look.pixelSize);
        font.setBold(look.bold);
        font.setItalic(look.italic);
        control->setFont(font);
        if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->view()->setFont(font);

        if (look.text.isValid() || look.background.isValid()) {
            QPalette palette = control->palette();
            if (look.background.isValid()) {
                palette.setColor(QPalette::Text, look.text);
                palette.setColor(QPalette::Base, look.background);
            } else {
                palette.setColor(QPalette::WindowText, look.text);
            }
            control->setPalette(palette);
        }
    }
}
