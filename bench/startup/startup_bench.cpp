// Opening the main window inside a running application: from constructing
// TForm1 to the end of the paint pass that first painted its grid, against
// an empty window of the same size shown and painted the same way. Each
// iteration constructs, shows, waits for the paint, then hides and deletes
// (the teardown is not timed).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <chrono>
#include <memory>

#include "bench/paint_wait.h"
#include "gui/tform1.h"
#include "gui/workbench_style.h"

namespace {

using Clock = std::chrono::steady_clock;

QSize FormSize()
{
    static const QSize size = TForm1().size();
    return size;
}

void Close(std::unique_ptr<QWidget> window)
{
    window->hide();
    window.reset();
    // Lets the window system's answers to the teardown arrive now rather
    // than in the next timed iteration.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Seconds from construction to the end of the first paint pass; the window
// is left open in `window`.
template<typename Make>
double OpenAndPaint(Make make, const char *awaitedName, std::unique_ptr<QWidget> &window)
{
    const auto start = Clock::now();
    window = make();
    QObject *awaited = awaitedName ? window->findChild<QWidget *>(QLatin1String(awaitedName)) : window.get();
    PaintWaiter waiter(awaited);
    window->show();
    const bool painted = waiter.wait();
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return painted ? elapsed.count() : -1.0;
}

std::unique_ptr<QWidget> MakeEmpty(QSize size)
{
    auto widget = std::make_unique<QWidget>();
    if (size.isValid())
        widget->resize(size);
    return widget;
}

double OpenEmpty(QSize size)
{
    std::unique_ptr<QWidget> window;
    const double seconds = OpenAndPaint([size] { return MakeEmpty(size); }, nullptr, window);
    Close(std::move(window));
    return seconds;
}

double OpenForm()
{
    std::unique_ptr<QWidget> window;
    const double seconds = OpenAndPaint([] { return std::make_unique<TForm1>(); }, "TranspositionGrid", window);
    Close(std::move(window));
    return seconds;
}

bool Record(benchmark::State &state, double seconds)
{
    if (seconds < 0) {
        state.SkipWithError("no paint within 10 s");
        return false;
    }
    state.SetIterationTime(seconds);
    return true;
}

void BM_FirstPaint_EmptyWindow(benchmark::State &state)
{
    const QSize size = state.range(0) ? FormSize() : QSize();
    for (auto _ : state) {
        if (!Record(state, OpenEmpty(size)))
            break;
    }
    state.SetLabel(state.range(0) ? "main window's size" : "default size");
}
BENCHMARK(BM_FirstPaint_EmptyWindow)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirstPaint_TForm1(benchmark::State &state)
{
    for (auto _ : state) {
        if (!Record(state, OpenForm()))
            break;
    }
}
BENCHMARK(BM_FirstPaint_TForm1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both in turn, so that a busy moment of the machine weighs on both alike;
// the iteration time is the main window's.
void BM_FirstPaint_Ratio(benchmark::State &state)
{
    const QSize size = FormSize();
    double emptyTotal = 0;
    double formTotal = 0;
    for (auto _ : state) {
        const double empty = OpenEmpty(size);
        const double form = OpenForm();
        if (empty < 0 || form < 0) {
            state.SkipWithError("no paint within 10 s");
            break;
        }
        emptyTotal += empty;
        formTotal += form;
        state.SetIterationTime(form);
    }
    const auto n = static_cast<double>(state.iterations());
    if (n > 0 && emptyTotal > 0) {
        state.counters["empty_ms"] = 1e3 * emptyTotal / n;
        state.counters["tform1_ms"] = 1e3 * formTotal / n;
        state.counters["ratio"] = formTotal / emptyTotal;
    }
}
BENCHMARK(BM_FirstPaint_Ratio)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InstallWorkbenchLook();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
