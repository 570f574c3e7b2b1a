// Where the start-up goes: runs the steps of the program's main() one by one
// in a fresh process and prints, for each, the wall time and the resident
// and peak memory after it. With --empty it does the same for an empty
// window of the main window's size; --mappings adds the resident memory per
// mapped file at the end. Run it a few times: the first run after
// a build also pays for a cold disk cache.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/paint_wait.h"
#include "gui/tform1.h"
#include "gui/tform2.h"
#include "gui/workbench_style.h"

namespace {

struct Memory {
    double rss = 0;  // MiB
    double peak = 0; // MiB
    double anon = 0; // MiB of rss: heap, stacks, images
    double file = 0; // MiB of rss: mapped libraries, fonts and caches
};

Memory ReadMemory()
{
    Memory memory;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    const auto value = [](const QByteArray &line) {
        return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    };
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            memory.rss = value(line);
        else if (line.startsWith("VmHWM:"))
            memory.peak = value(line);
        else if (line.startsWith("RssAnon:"))
            memory.anon = value(line);
        else if (line.startsWith("RssFile:"))
            memory.file = value(line);
    }
    return memory;
}

// The resident memory per mapped file (anonymous memory as "[anon]"), largest
// first.
void PrintMappings()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return;
    QMap<QByteArray, double> perFile;
    QByteArray current;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':'))
            current = fields.size() >= 6 ? fields[5] : QByteArray("[anon]");
        else if (line.startsWith("Rss:"))
            perFile[current] += fields.value(1).toDouble() / 1024.0;
    }
    QList<std::pair<double, QByteArray>> sorted;
    for (auto it = perFile.cbegin(); it != perFile.cend(); ++it)
        sorted.append({it.value(), it.key()});
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (qsizetype i = 0; i < std::min<qsizetype>(sorted.size(), 25); ++i)
        std::printf("  %6.2f MiB  %s\n", sorted[i].first, sorted[i].second.constData());
}

class Stages
{
public:
    Stages() { m_timer.start(); }

    void mark(const char *stage)
    {
        const double ms = static_cast<double>(m_timer.nsecsElapsed()) / 1e6;
        const Memory memory = ReadMemory();
        std::printf("%-24s %8.2f %8.2f   %6.1f %6.1f %6.1f %6.1f\n", stage, ms - m_last, ms, memory.rss, memory.peak,
                    memory.anon, memory.file);
        m_last = ms;
    }

private:
    QElapsedTimer m_timer;
    double m_last = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    bool empty = false;
    bool mappings = false;
    for (int i = 1; i < argc; ++i) {
        empty = empty || std::strcmp(argv[i], "--empty") == 0;
        mappings = mappings || std::strcmp(argv[i], "--mappings") == 0;
    }
    std::printf("%-24s %8s %8s   %6s %6s %6s %6s\n", empty ? "empty window" : "workbench", "step ms", "total ms", "rss",
                "peak", "anon", "file");
    Stages stages;
    stages.mark("main entered");
    QApplication app(argc, argv);
    stages.mark("QApplication");

    // Shows the window and waits for the paint pass that paints `awaited`.
    const auto showAndAwaitPaint = [&](QWidget &window, QWidget *awaited) {
        PaintWaiter waiter(awaited);
        window.show();
        stages.mark("show");
        if (!waiter.wait())
            return false;
        stages.mark("first paint pass ended");
        if (mappings)
            PrintMappings();
        return true;
    };

    if (empty) {
        QWidget window;
        window.resize(1450, 881); // the main window's size
        stages.mark("QWidget");
        return showAndAwaitPaint(window, &window) ? 0 : 1;
    }

    QGuiApplication::setDesktopFileName(QStringLiteral(WORKBENCH_APP_ID));
    InstallWorkbenchLook();
    stages.mark("InstallWorkbenchLook");
    TForm1 form1;
    stages.mark("TForm1");
    TForm2 form2;
    stages.mark("TForm2");
    form1.move(157, 79);
    return showAndAwaitPaint(form1, form1.findChild<QWidget *>(QStringLiteral("TranspositionGrid"))) ? 0 : 1;
}
