#include "gui/key_search/search_runner.h"

#include <utility>

namespace search = abc::search;

SearchRunner::SearchRunner(QObject *parent)
    : QObject(parent)
{
}

SearchRunner::~SearchRunner()
{
    // The search's threads post to this object; none may outlive it.
    stopAndWait();
}

void SearchRunner::stopAndWait()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void SearchRunner::abandon()
{
    stopAndWait();
    const std::lock_guard lock(m_mailMutex);
    m_mail = {};
    m_mailPending = false;
    m_running = false;
}

void SearchRunner::finishNow()
{
    stopAndWait();
    deliver();
}

void SearchRunner::cancel()
{
    m_worker.request_stop();
}

void SearchRunner::start(std::string cipherText, search::SearchOptions options)
{
    start(std::vector{std::move(cipherText)}, std::move(options));
}

void SearchRunner::start(std::vector<std::string> cipherTexts, search::SearchOptions options)
{
    abandon();
    options.onProgress = [this](const search::Progress &progress) { post(&progress, nullptr); };
    m_running = true;
    m_worker = std::jthread([this, texts = std::move(cipherTexts), options = std::move(options)](std::stop_token stop) {
        search::SearchResult result = texts.size() == 1 ? search::FindKey(texts.front(), options, stop)
                                                        : search::FindSharedKey(texts, options, stop);
        post(nullptr, &result);
    });
}

// Runs on the search's threads, one call at a time, and on the worker at the end.
void SearchRunner::post(const search::Progress *progress, search::SearchResult *result)
{
    bool wake = false;
    {
        const std::lock_guard lock(m_mailMutex);
        if (progress) {
            m_mail.progress = *progress;
            if (progress->best)
                m_mail.best = progress->best;
            m_mail.progress->best.reset();
        }
        if (result)
            m_mail.result = std::move(*result);
        wake = !m_mailPending;
        m_mailPending = true;
    }
    // One wake-up until the owner has read the mail.
    if (wake)
        QMetaObject::invokeMethod(this, &SearchRunner::deliver, Qt::QueuedConnection);
}

void SearchRunner::deliver()
{
    Mail mail;
    {
        const std::lock_guard lock(m_mailMutex);
        mail = std::move(m_mail);
        m_mail = {};
        m_mailPending = false;
    }
    if (mail.progress)
        emit progress(*mail.progress);
    if (mail.best)
        emit bestChanged(*mail.best);
    if (mail.result) {
        m_running = false;
        emit finished(*mail.result);
    }
}
