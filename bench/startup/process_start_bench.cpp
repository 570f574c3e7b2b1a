// Whole-process start-up: the wall time from starting a program to the end
// of its first frame, and its peak resident memory, for the workbench (its
// own main() with a hook that ends it after the first frame) against an
// empty Qt window. The platform is the caller's: QT_QPA_PLATFORM=offscreen,
// or a display such as xvfb-run's. An X server started for the run needs
// -noreset: otherwise it resets whenever its one client has ended, and the
// next start either waits for the reset or cannot connect at all.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    bool ok = false;
    int status = 0; // as wait4() gives it
    double seconds = 0;
    double peakMiB = 0;
};

// Runs the program with `args`; with killAfterMs >= 0 it is ended by SIGTERM
// after that long instead of ending by itself.
Run RunProgram(const char *path, const std::vector<std::string> &args, int killAfterMs = -1)
{
    std::vector<char *> argv{const_cast<char *>(path)};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(60); // survives exec: a program that never paints is ended
        // Qt's warnings about the environment would mix with the results;
        // BENCH_CHILD_OUTPUT=1 keeps them for finding why a run failed.
        if (!getenv("BENCH_CHILD_OUTPUT")) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execv(path, argv.data());
        _exit(127);
    }
    if (pid < 0)
        return {};
    if (killAfterMs >= 0) {
        usleep(static_cast<useconds_t>(killAfterMs) * 1000);
        kill(pid, SIGTERM);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return {};
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    const bool ended = killAfterMs >= 0 ? WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM
                                        : WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {ended, status, elapsed.count(), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// How a run ended, for the error message.
std::string Describe(const Run &run)
{
    if (WIFSIGNALED(run.status))
        return "ended by signal " + std::to_string(WTERMSIG(run.status));
    return "exit status " + std::to_string(WEXITSTATUS(run.status));
}

struct Program {
    const char *path;
    std::vector<std::string> args;
};

// The main window's size (its layout fixes it), so that the empty window's
// frame is as large.
const Program Empty{EMPTY_WINDOW_PATH, {"1450x881"}};
const Program EmptyDefaultSize{EMPTY_WINDOW_PATH, {}};
const Program EmptyWithText{EMPTY_WINDOW_PATH, {"1450x881", "--text"}};
const Program EmptyWithFaces{EMPTY_WINDOW_PATH, {"1450x881", "--faces"}};
const Program Workbench{FIRST_FRAME_PROBE_PATH, {}};

void RunAndRecord(benchmark::State &state, const Program &program)
{
    double peak = 0;
    for (auto _ : state) {
        const Run run = RunProgram(program.path, program.args);
        if (!run.ok) {
            state.SkipWithError(("the program did not end after its first frame: " + Describe(run)).c_str());
            break;
        }
        peak = std::max(peak, run.peakMiB);
        state.SetIterationTime(run.seconds);
    }
    state.counters["peak_rss_MiB"] = peak;
}

// 1: the main window's size, 0: Qt's default size, 2: the main window's size
// with one line of text, 3: with one line in each of the layout's faces.
void BM_ProcessFirstFrame_EmptyWindow(benchmark::State &state)
{
    static const char *const labels[] = {"default size", "main window's size", "main window's size, one text",
                                         "main window's size, the layout's faces"};
    const Program *programs[] = {&EmptyDefaultSize, &Empty, &EmptyWithText, &EmptyWithFaces};
    RunAndRecord(state, *programs[state.range(0)]);
    state.SetLabel(labels[state.range(0)]);
}
BENCHMARK(BM_ProcessFirstFrame_EmptyWindow)
    ->Arg(1)
    ->Arg(0)
    ->Arg(2)
    ->Arg(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

void BM_ProcessFirstFrame_Workbench(benchmark::State &state)
{
    RunAndRecord(state, Workbench);
}
BENCHMARK(BM_ProcessFirstFrame_Workbench)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// All in turn, so that a busy moment of the machine weighs on all alike; the
// iteration time is the workbench's. The ratio to the window with the
// layout's faces leaves out what the type costs any window that shows it.
void BM_ProcessFirstFrame_Ratio(benchmark::State &state)
{
    double emptyTotal = 0;
    double facesTotal = 0;
    double workbenchTotal = 0;
    double emptyPeak = 0;
    double workbenchPeak = 0;
    for (auto _ : state) {
        const Run empty = RunProgram(Empty.path, Empty.args);
        const Run faces = RunProgram(EmptyWithFaces.path, EmptyWithFaces.args);
        const Run workbench = RunProgram(Workbench.path, Workbench.args);
        if (!empty.ok || !faces.ok || !workbench.ok) {
            const Run &failed = !empty.ok ? empty : !faces.ok ? faces : workbench;
            state.SkipWithError(("a program did not end after its first frame: " + Describe(failed)).c_str());
            break;
        }
        emptyTotal += empty.seconds;
        facesTotal += faces.seconds;
        workbenchTotal += workbench.seconds;
        emptyPeak = std::max(emptyPeak, empty.peakMiB);
        workbenchPeak = std::max(workbenchPeak, workbench.peakMiB);
        state.SetIterationTime(workbench.seconds);
    }
    const auto n = static_cast<double>(state.iterations());
    if (n > 0 && emptyTotal > 0) {
        state.counters["empty_ms"] = 1e3 * emptyTotal / n;
        state.counters["workbench_ms"] = 1e3 * workbenchTotal / n;
        state.counters["time_ratio"] = workbenchTotal / emptyTotal;
        state.counters["faces_ms"] = 1e3 * facesTotal / n;
        state.counters["ratio_to_faces"] = workbenchTotal / facesTotal;
        state.counters["empty_rss_MiB"] = emptyPeak;
        state.counters["workbench_rss_MiB"] = workbenchPeak;
        state.counters["rss_delta_MiB"] = workbenchPeak - emptyPeak;
    }
}
BENCHMARK(BM_ProcessFirstFrame_Ratio)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The real program, ended after two seconds: its peak memory should match the
// hooked copy's, which shows that the hook measures the real start.
void BM_RealProgramPeakMemory(benchmark::State &state)
{
    double peak = 0;
    for (auto _ : state) {
        const Run run = RunProgram(WORKBENCH_PATH, {}, 2000);
        if (!run.ok) {
            state.SkipWithError(("the program ended before it was stopped: " + Describe(run)).c_str());
            break;
        }
        peak = std::max(peak, run.peakMiB);
        state.SetIterationTime(run.seconds);
    }
    state.counters["peak_rss_MiB"] = peak;
}
BENCHMARK(BM_RealProgramPeakMemory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
