#include "fonts.h"

#include <QApplication>
#include <QFont>

void InstallWorkbenchFonts()
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
}
