#pragma once

#include <QObject>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/key_search.h"

// Runs one key search at a time on a worker thread and reports it on the
// thread that owns the runner: progress(), bestChanged() when the best
// candidate changed, and finished() once at the end. However often the
// search reports, the owner's event queue holds at most one wake-up; what
// arrives meanwhile is merged, the newest progress winning.
//
// Starting again, and destroying the runner, stop the running search and
// wait for it (the search stops within a tenth of a second).
class SearchRunner : public QObject
{
    Q_OBJECT

public:
    explicit SearchRunner(QObject *parent = nullptr);
    ~SearchRunner() override;

    // Searches cleaned ciphertexts (capitals only): one message alone, or
    // several for one key they share. The old search's reports not yet
    // delivered are dropped; the runner sets options.onProgress.
    void start(std::vector<std::string> cipherTexts, abc::search::SearchOptions options);
    void start(std::string cipherText, abc::search::SearchOptions options);
    // Asks the search to stop; finished() follows with what it found so far.
    void cancel();
    // Stops the search and waits for it; what it reported is dropped.
    void abandon();
    // Stops the search, waits for it and delivers what it reported, so that
    // finished() has come when this returns.
    void finishNow();
    // From start() until finished() is delivered.
    bool running() const { return m_running; }

signals:
    // The search's progress; its best is reported through bestChanged().
    void progress(const abc::search::Progress &progress);
    void bestChanged(const abc::search::Candidate &best);
    void finished(const abc::search::SearchResult &result);

private:
    // What the search's threads hand over. Only the mutex orders it: the
    // queued wake-up carries no data.
    struct Mail {
        std::optional<abc::search::Progress> progress;
        std::optional<abc::search::Candidate> best;
        std::optional<abc::search::SearchResult> result;
    };

    void post(const abc::search::Progress *progress, abc::search::SearchResult *result);
    void deliver();
    void stopAndWait();

    std::mutex m_mailMutex;
    Mail m_mail;
    bool m_mailPending = false;

    bool m_running = false;
    std::jthread m_worker;
};
