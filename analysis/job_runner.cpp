#include "analysis/job_runner.h"

#include <algorithm>
#include <thread>

namespace abc::search {

namespace {

// Longer limits would overflow the clock; a year is as good as no limit.
constexpr double MaxSeconds = 365.0 * 24 * 3600;

std::chrono::steady_clock::duration TimeLimit(double seconds)
{
    // Also a limit that is not a number ends the search at once.
    const double bounded = seconds > 0 ? std::min(seconds, MaxSeconds) : 0.0;
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(bounded));
}

} // namespace

JobRunner::JobRunner(unsigned threads, double timeLimitSeconds, std::stop_token stop)
    : m_threads(threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency()))
    , m_stop(std::move(stop))
    , m_start(Clock::now())
    , m_deadline(m_start + TimeLimit(timeLimitSeconds))
{
}

double JobRunner::seconds() const
{
    return std::chrono::duration<double>(Clock::now() - m_start).count();
}

bool JobRunner::halted()
{
    if (m_halted.load(std::memory_order_relaxed))
        return true;
    if (m_stop.stop_requested()) {
        m_halted = true;
    } else if (Clock::now() > m_deadline) {
        m_timedOut = true;
        m_halted = true;
    }
    return m_halted.load(std::memory_order_relaxed);
}

void JobRunner::runEach(std::size_t count, const std::function<void(std::size_t)> &job)
{
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t index; (index = next++) < count;) {
            if (halted())
                return;
            job(index);
        }
    };
    std::vector<std::jthread> workers;
    const std::size_t threads = std::min<std::size_t>(m_threads, count);
    for (std::size_t i = 1; i < threads; ++i)
        workers.emplace_back(work);
    work();
}

} // namespace abc::search
