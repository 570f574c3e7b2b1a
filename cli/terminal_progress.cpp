#include "cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <utility>

#include "base/messages.h"

namespace search = abc::search;

TerminalProgress::TerminalProgress(std::ostream &err, QString subject)
    : err_(err)
    , subject_(std::move(subject))
{
}

std::function<void(const search::Progress &)> TerminalProgress::callback()
{
    return callback(subject_);
}

std::function<void(const search::Progress &)> TerminalProgress::callback(QString subject)
{
    if (isatty(STDERR_FILENO) != 1)
        return {};
    return [this, subject = std::move(subject),
            shownAt = std::chrono::steady_clock::time_point()](const search::Progress &progress) mutable {
        const auto now = std::chrono::steady_clock::now();
        if (now - shownAt < std::chrono::milliseconds(200))
            return;
        shownAt = now;
        QString line = QStringLiteral("%1, %2 s   ")
                           .arg(SearchPhaseText(progress.keyLength))
                           .arg(static_cast<int>(progress.seconds));
        if (!subject.isEmpty())
            line.prepend(subject + QStringLiteral(": "));
        const std::lock_guard lock(mutex_);
        shown_ = true;
        widest_ = std::max(widest_, static_cast<std::size_t>(line.size()));
        err_ << '\r' << line.toStdString() << std::flush;
    };
}

void TerminalProgress::clear()
{
    const std::lock_guard lock(mutex_);
    if (std::exchange(shown_, false))
        err_ << '\r' << std::string(std::max<std::size_t>(widest_, 40), ' ') << '\r' << std::flush;
}
