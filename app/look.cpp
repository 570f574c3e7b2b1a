#include "look.h"

#include <QApplication>
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
