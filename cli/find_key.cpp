#include "cli/find_key.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <istream>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "base/messages.h"
#include "cli/exit_status.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/same_key.h"
#include "cli/search_request.h"
#include "cli/terminal_progress.h"
#include "engine/text_cleaning.h"

namespace {

namespace search = abc::search;

// One file as today's scripts call it: its output has no file name.
int FindKeyInFile(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    const std::string &file = request.files.front();
    const auto text = ReadText(file, in, Utf8::Required);
    if (const auto *failure = std::get_if<ReadFailure>(&text)) {
        err << "abc-workbench: " << failure->message << '\n';
        return BadUsage;
    }
    const std::string letters = abc::CleanInputText(std::get<std::string>(text));
    if (!CribsFit(request.cribs, letters.size(), false, err))
        return BadUsage;

    search::SearchOptions options = SearchOptionsFor(request);
    TerminalProgress progress(err);
    options.onProgress = progress.callback();
    const search::SearchResult result = search::FindKey(letters, options);
    progress.clear();

    const QString error = SearchError(result);
    if (!error.isEmpty())
        PrintLine(error, err);
    if (request.json) {
        QJsonObject object = ResultJson(result, error);
        if (error.isEmpty() && !request.cribs.empty())
            object.insert("crib", CribsJson(result.candidates.front()));
        PrintJson(object, out);
    } else if (error.isEmpty()) {
        PrintCandidate(result.candidates.front(), out);
        PrintCribs(result.candidates.front(), {}, out);
    }
    return error.isEmpty() ? Success : NoResult;
}

// The letters of the longest message among the files, each read and dropped.
std::size_t LongestMessage(const std::vector<std::string> &files, std::istream &in)
{
    std::size_t longest = 0;
    for (const std::string &file : files) {
        const auto text = ReadText(file, in, Utf8::Required);
        if (const auto *bytes = std::get_if<std::string>(&text))
            longest = std::max(longest, abc::CleanInputText(*bytes).size());
    }
    return longest;
}

void ReportFailure(const std::string &file, const QString &message, bool json, std::ostream &out, std::ostream &err)
{
    PrintLine(QStringLiteral("abc-workbench: ") + message, err);
    if (json)
        PrintJson(QJsonObject{{"file", FileNameJson(file)}, {"error", message}, {"candidates", QJsonArray()}}, out);
}

// What the search of one file of a batch gave: why it could not be read,
// or the search's result.
using BatchOutcome = std::variant<ReadFailure, search::SearchResult>;

BatchOutcome SearchBatchFile(const Request &request, std::size_t index, unsigned threads,
                             std::variant<std::string, ReadFailure> letters, TerminalProgress &progress)
{
    const std::string &file = request.files[index];
    if (auto *failure = std::get_if<ReadFailure>(&letters))
        return std::move(*failure);
    search::SearchOptions options = SearchOptionsFor(request);
    options.threads = threads;
    options.onProgress = progress.callback(
        QStringLiteral("%1 (%2/%3)").arg(FileNameJson(file)).arg(index + 1).arg(request.files.size()));
    return search::FindKey(std::get<std::string>(letters), options);
}

// One file's result named by the file; whether it gave a key under which it
// reads as German.
bool PrintBatchOutcome(const Request &request, std::size_t index, const BatchOutcome &outcome, std::ostream &out,
                       std::ostream &err)
{
    const std::string &file = request.files[index];
    if (const auto *failure = std::get_if<ReadFailure>(&outcome)) {
        ReportFailure(file, QString::fromStdString(failure->message), request.json, out, err);
        return false;
    }
    const auto &result = std::get<search::SearchResult>(outcome);
    const QString error = SearchError(result);
    if (!error.isEmpty())
        PrintLine(QStringLiteral("abc-workbench: %1: %2").arg(QString::fromStdString(Quoted(file)), error), err);
    if (request.json) {
        QJsonObject object = ResultJson(result, error);
        object.insert("file", FileNameJson(file));
        if (error.isEmpty() && !request.cribs.empty())
            object.insert("crib", CribsJson(result.candidates.front()));
        PrintJson(object, out);
    } else if (error.isEmpty()) {
        PrintFileName(file, out);
        PrintCandidate(result.candidates.front(), out);
        PrintCribs(result.candidates.front(), {}, out);
        out << '\n';
    }
    return error.isEmpty();
}

// Searches of a few seconds leave cores idle between their rounds; whole
// searches side by side, one thread each, keep every core busy. Results are
// printed in the files' order, and no more than a few wait for their turn,
// so that memory stays flat over any number of files.
class SideBySide
{
public:
    SideBySide(const Request &request, unsigned workers, std::istream &in, TerminalProgress &progress)
        : m_request(request)
        , m_workers(workers)
        , m_in(in)
        , m_progress(progress)
    {
    }

    // Calls print with each file's index and outcome, in the files' order.
    void run(const std::function<void(std::size_t, const BatchOutcome &)> &print)
    {
        std::vector<std::jthread> threads;
        for (unsigned worker = 0; worker < m_workers; ++worker)
            threads.emplace_back([this] { work(); });
        for (std::size_t index = 0; index < m_request.files.size(); ++index) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this, index] { return m_done.contains(index); });
            const BatchOutcome outcome = std::move(m_done.at(index));
            m_done.erase(index);
            lock.unlock();
            print(index, outcome);
            lock.lock();
            m_printed = index + 1;
            m_changed.notify_all();
        }
    }

private:
    void work()
    {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock,
                           [this] { return m_next >= m_request.files.size() || m_next < m_printed + 2 * m_workers; });
            if (m_next >= m_request.files.size())
                return;
            const std::size_t index = m_next++;
            // One file read at a time: standard input ("-") may be named twice.
            auto letters = ReadLetters(m_request.files[index], m_in);
            lock.unlock();
            BatchOutcome outcome = SearchBatchFile(m_request, index, 1, std::move(letters), m_progress);
            lock.lock();
            m_done.emplace(index, std::move(outcome));
            m_changed.notify_all();
        }
    }

    const Request &m_request;
    const unsigned m_workers;
    std::istream &m_in;
    TerminalProgress &m_progress;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::size_t, BatchOutcome> m_done;
    std::size_t m_next = 0;
    std::size_t m_printed = 0;
};

int FindKeysInBatch(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (!request.cribs.empty() && !CribsFit(request.cribs, LongestMessage(request.files, in), true, err))
        return BadUsage;
    const unsigned threads = request.threads > 0 ? request.threads : std::max(1u, std::thread::hardware_concurrency());
    const unsigned workers = static_cast<unsigned>(std::min<std::size_t>(threads, request.files.size()));
    TerminalProgress progress(err);
    std::vector<std::string> unsolved;
    const auto print = [&](std::size_t index, const BatchOutcome &outcome) {
        progress.clear();
        if (!PrintBatchOutcome(request, index, outcome, out, err))
            unsolved.push_back(Quoted(request.files[index]));
    };
    if (workers > 1) {
        SideBySide(request, workers, in, progress).run(print);
    } else {
        for (std::size_t index = 0; index < request.files.size(); ++index)
            print(index, SearchBatchFile(request, index, threads, ReadLetters(request.files[index], in), progress));
    }
    ReportUnsolved(unsolved, request.files.size(), err);
    return unsolved.empty() ? Success : NoResult;
}

} // namespace

int FindKeys(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (request.sameKey)
        return FindSharedKeyOfFiles(request, in, out, err);
    if (request.files.size() == 1)
        return FindKeyInFile(request, in, out, err);
    return FindKeysInBatch(request, in, out, err);
}
