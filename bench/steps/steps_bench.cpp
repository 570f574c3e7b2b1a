// Every decoding step on the largest case, a 45-letter key and 2025 letters
// that fill the whole grid, on the shown main window: the click on the
// step's button and the repaint it causes, until the window has painted and
// flushed everything the step changed. The steps before it are clicked
// through untimed in each iteration.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/cipher.h"
#include "gui/tform1.h"
#include "gui/workbench_style.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// Counts the paint passes of the window and the widgets painted in them.
class PaintCounter : public QObject
{
public:
    int passes = 0;
    int widgets = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::UpdateRequest)
            ++passes;
        else if (event->type() == QEvent::Paint)
            ++widgets;
        return false;
    }
};

// 45 key letters, every one a letter so that every column is transposed.
const QString Key = QStringLiteral("DERSCHLUESSELFUERDIEGROESSTEMATRIXMITFUENFUND");

// A message as it arrives: 2025 letters in five-letter groups, ten to a line.
QString Message()
{
    std::string plain;
    const std::string_view words = "ANGRIFFBEIMORGENGRAUENXSTELLUNGHALTENX";
    while (plain.size() < abc::CellCount)
        plain += words;
    plain.resize(abc::CellCount);
    const std::string cipher = abc::EncipherText(plain, Key.toStdString(), abc::CipherMethod::ABC);
    QString text;
    for (std::size_t i = 0; i < cipher.size(); ++i) {
        if (i > 0)
            text += (i % 50 == 0) ? QStringLiteral("\n") : (i % 5 == 0 ? QStringLiteral(" ") : QString());
        text += QLatin1Char(cipher[i]);
    }
    return text;
}

class Workbench
{
public:
    Workbench()
    {
        form = std::make_unique<TForm1>();
        for (QWidget *widget : form->findChildren<QWidget *>())
            widget->installEventFilter(&counter);
        form->installEventFilter(&counter);
        form->show();
        (void)QTest::qWaitForWindowExposed(form.get());
        settle();
    }

    QPushButton *button(const char *name) const { return form->findChild<QPushButton *>(QLatin1String(name)); }

    // Processes events until a round brings no further paint pass.
    void settle()
    {
        int passes = 0;
        do {
            passes = counter.passes;
            QCoreApplication::processEvents();
        } while (counter.passes != passes);
    }

    void click(const char *name)
    {
        QTest::mouseClick(button(name), Qt::LeftButton);
        settle();
    }

    // Back to a fresh message: reset if the reset button is open, the key
    // and the message entered.
    void startMessage(const QString &message)
    {
        if (button("BitBtn7")->isEnabled())
            click("BitBtn7");
        // The transposition appends its column order to these fields; a fresh
        // session starts with them empty.
        form->findChild<QLineEdit *>(QLatin1String("Edit3"))->clear();
        form->findChild<QLineEdit *>(QLatin1String("Edit4"))->clear();
        form->findChild<QComboBox *>(QLatin1String("ComboBox1"))->setEditText(Key);
        form->findChild<QPlainTextEdit *>(QLatin1String("Memo1"))->setPlainText(message);
        settle();
    }

    std::unique_ptr<TForm1> form;
    PaintCounter counter;
};

// Built on first use and destroyed before the application object.
std::unique_ptr<Workbench> SharedWorkbench;

Workbench &TheWorkbench()
{
    if (!SharedWorkbench)
        SharedWorkbench = std::make_unique<Workbench>();
    return *SharedWorkbench;
}

const std::vector<const char *> MainPath = {"BitBtn6", "BitBtn2", "BitBtn5", "Button2", "Button1"};

// Clicks `before` untimed, then times the click on `step` with its repaint.
void RunStep(benchmark::State &state, std::vector<const char *> before, const char *step)
{
    Workbench &bench = TheWorkbench();
    const QString message = Message();
    double handler = 0;
    double repaint = 0;
    int widgets = 0;
    for (auto _ : state) {
        bench.startMessage(message);
        for (const char *name : before)
            bench.click(name);
        if (!bench.button(step)->isEnabled()) {
            state.SkipWithError("step button is disabled");
            break;
        }
        const int widgetsBefore = bench.counter.widgets;

        const auto start = Clock::now();
        QTest::mouseClick(bench.button(step), Qt::LeftButton);
        const auto clicked = Clock::now();
        bench.settle();
        const auto painted = Clock::now();

        handler += Seconds(clicked - start).count();
        repaint += Seconds(painted - clicked).count();
        widgets += bench.counter.widgets - widgetsBefore;
        state.SetIterationTime(Seconds(painted - start).count());
    }
    const auto n = static_cast<double>(state.iterations());
    if (n > 0) {
        state.counters["click_ms"] = 1e3 * handler / n;
        state.counters["repaint_ms"] = 1e3 * repaint / n;
        state.counters["widgets_painted"] = widgets / n;
    }
}

std::vector<const char *> Path(std::size_t steps)
{
    return {MainPath.begin(), MainPath.begin() + static_cast<std::ptrdiff_t>(steps)};
}

std::vector<const char *> Then(std::vector<const char *> path, const char *name)
{
    path.push_back(name);
    return path;
}

#define STEP_BENCHMARK(name, before, step)                                                                             \
    void BM_Step_##name(benchmark::State &state)                                                                       \
    {                                                                                                                  \
        RunStep(state, before, step);                                                                                  \
    }                                                                                                                  \
    BENCHMARK(BM_Step_##name)->UseManualTime()->Unit(benchmark::kMillisecond)

STEP_BENCHMARK(SetKey, Path(0), "BitBtn6");
STEP_BENCHMARK(Clean, Path(1), "BitBtn2");
STEP_BENCHMARK(Cut, Path(2), "BitBtn5");
STEP_BENCHMARK(Transposition, Path(3), "Button2");
STEP_BENCHMARK(Substitution, Path(4), "Button1");
STEP_BENCHMARK(InputToGroups, Path(2), "BitBtn4");
STEP_BENCHMARK(InputToBlock, Then(Path(2), "BitBtn4"), "BitBtn4");
STEP_BENCHMARK(TranspositionToGroups, Path(4), "BitBtn8");
STEP_BENCHMARK(TranspositionToBlock, Then(Path(4), "BitBtn8"), "BitBtn8");
STEP_BENCHMARK(SubstitutionToGroups, Path(5), "BitBtn9");
STEP_BENCHMARK(SubstitutionToBlock, Then(Path(5), "BitBtn9"), "BitBtn9");
STEP_BENCHMARK(Reset, Path(5), "BitBtn7");

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InstallWorkbenchLook();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    SharedWorkbench.reset();
    benchmark::Shutdown();
    return 0;
}
