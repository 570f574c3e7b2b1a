#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <vector>

namespace abc::search {

// Runs a search's jobs on its threads until the time limit passes or a
// stop is requested.
class JobRunner
{
public:
    // threads 0: every core.
    JobRunner(unsigned threads, double timeLimitSeconds, std::stop_token stop);

    unsigned threads() const { return m_threads; }
    const std::stop_token &stopToken() const { return m_stop; }
    double seconds() const;
    // Whether the search must end; once true it stays so. Any thread may ask.
    bool halted();
    bool timedOut() const { return m_timedOut.load(); }
    bool cancelled() const { return m_stop.stop_requested(); }

    // Runs the jobs and returns their results in the jobs' order; a job not
    // begun before the halt leaves its result empty. Jobs are handed out in
    // order and the results kept in order, so that what the caller makes of
    // them does not depend on the threads' timing.
    template<typename Result>
    std::vector<Result> run(const std::vector<std::function<Result()>> &jobs)
    {
        std::vector<Result> results(jobs.size());
        runEach(jobs.size(), [&](std::size_t index) { results[index] = jobs[index](); });
        return results;
    }

private:
    using Clock = std::chrono::steady_clock;

    void runEach(std::size_t count, const std::function<void(std::size_t)> &job);

    unsigned m_threads;
    std::stop_token m_stop;
    Clock::time_point m_start;
    Clock::time_point m_deadline;
    std::atomic<bool> m_halted = false;
    std::atomic<bool> m_timedOut = false;
};

} // namespace abc::search
