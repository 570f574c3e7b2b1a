// Saves a picture of the main window, optionally in the middle of a decoding
// of the sample message: window-picture OUT.png [STEPS [SEARCH.png]], STEPS
// being how many of the five steps to click (0 to 5); SEARCH.png gets the key
// search dialog after a search of the sample message.
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "gui/key_search/key_search_dialog.h"
#include "gui/tform1.h"
#include "gui/workbench_style.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: window-picture OUT.png [STEPS [SEARCH.png]]\n", stderr);
        return 2;
    }
    InstallWorkbenchLook();
    TForm1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;

    if (argc > 3) {
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        auto *dialog = form.findChild<KeySearchDialog *>();
        if (!dialog || !QTest::qWaitForWindowExposed(dialog))
            return 1;
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("SearchButton")), Qt::LeftButton);
        if (!QTest::qWaitFor([dialog] { return !dialog->searching(); }, 120000))
            return 1;
        if (!dialog->grab().save(QString::fromLocal8Bit(argv[3])))
            return 1;
        dialog->close();
    }

    const int steps = argc > 2 ? std::atoi(argv[2]) : 0;
    const char *buttons[] = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};
    for (int i = 0; i < steps && i < 5; ++i)
        QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(buttons[i])), Qt::LeftButton);
    QApplication::processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
