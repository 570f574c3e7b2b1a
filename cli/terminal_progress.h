#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <iosfwd>

#include "analysis/key_search.h"

// Where a search stands, on one line of standard error rewritten in place;
// nothing unless a person watches the terminal.
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
    // Erases the line, before a result is printed.
    void clear();

private:
    std::ostream &err_;
    QString subject_;
    bool shown_ = false;
    std::size_t widest_ = 0;
};
