// Saves a picture of the main window, optionally in the middle of a decoding
// of the sample message: window-picture OUT.png [STEPS], STEPS being how many
// of the five steps to click (0 to 5).
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "look.h"
#include "tform1.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: window-picture OUT.png [STEPS]\n", stderr);
        return 2;
    }
    InstallWorkbenchLook();
    TForm1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;

    const int steps = argc > 2 ? std::atoi(argv[2]) : 0;
    const char *buttons[] = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};
    for (int i = 0; i < steps && i < 5; ++i)
        QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(buttons[i])), Qt::LeftButton);
    QApplication::processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
