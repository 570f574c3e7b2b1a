#include "gui/tform2.h"

TForm2::TForm2(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setGeometry(192, 122, 1126, 618); // client area of a 1142 x 656 window
}
