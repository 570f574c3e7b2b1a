#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "gui/screen/screen_fit.h"
#include "gui/tform1.h"
#include "gui/tform2.h"
#include "gui/workbench_style.h"

namespace {

// Without a display Qt aborts with a core dump; say instead how to start.
// A platform named on the command line (-platform offscreen) needs none.
bool DisplayReachable(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Decided before Qt starts, so that the command line needs no display.
    if (const std::optional<int> status = RunCommandLine(std::vector<std::string>(argv + 1, argv + argc)))
        return *status;

    if (!DisplayReachable(argc, argv)) {
        std::fputs("No display found: start the workbench from a desktop session, "
                   "or without one as 'xvfb-run ./workbench.sh run'.\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(WORKBENCH_APP_ID));
    InstallWorkbenchLook();

    TForm1 form1;
    TForm2 form2;
    form1.move(157, 79);
    KeepWithinScreen(&form1);
    form1.show();
    return app.exec();
}
