#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <mutex>

#include "analysis/key_search.h"

// Where a search stands, on one line of standard error rewritten in place;
// nothing unless a person watches the terminal. Searches side by side may
// share one line: each callback and clear() take turns.
class TerminalProgress
{
public:
    // subject, when given, leads the line: the file or files searched.
    explicit TerminalProgress(std::ostream &err, QString subject = {});
    // The callback holds on to this object.
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    // For SearchOptions::onProgress; empty when standard error is no terminal.
    std::function<void(const abc::search::Progress &)> callback();
    // The same for one of several searches, its line led by subject.
    std::function<void(const abc::search::Progress &)> callback(QString subject);
    // Erases the line, before a result is printed.
    void clear();

private:
    std::ostream &err_;
    QString subject_;
    std::mutex mutex_;
    bool shown_ = false;
    std::size_t widest_ = 0;
};
