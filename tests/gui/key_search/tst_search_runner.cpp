// The search runner without any window: a search reports on the owner's
// thread and ends with its key, a cancelled or destroyed runner stops
// promptly, and a new start replaces the running search.

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <memory>
#include <random>
#include <vector>

#include "engine/cipher.h"
#include "engine/column_key.h"
#include "gui/key_search/search_runner.h"
#include "tests/engine/engine_test_support.h"
#include "tests/gui/key_search/stop_time.h"

namespace search = abc::search;

namespace {

const std::string Key = "WAGNER";
const std::string CipherText = abc::EncipherText(
    "DERFEINDZIEHTSICHNACHOSTENZURUECKUNDHAELTDIEHOEHENSUEDLICHDESFLUSSESSTOPERBITTEWEITEREBEFEHLEUNDMUNITION"
    "FUERDIEARTILLERIESTOPDIEBRUECKEISTUNBESCHAEDIGT",
    Key, abc::CipherMethod::ABCD);

search::SearchOptions Options(double timeLimitSeconds)
{
    search::SearchOptions options;
    options.timeLimitSeconds = timeLimitSeconds;
    options.wordListPath.clear();
    return options;
}

// Letters without language: the search runs to its time limit.
std::string RandomLetters()
{
    std::mt19937 random(7);
    return abc::test::RandomText(random, 400);
}

// What the runner delivered, and whether all of it came on the owner's thread.
struct Reports {
    explicit Reports(SearchRunner &runner)
    {
        const auto onOwnerThread = [this] {
            elsewhere = elsewhere || QThread::currentThread() != QCoreApplication::instance()->thread();
        };
        QObject::connect(&runner, &SearchRunner::progress, [this, onOwnerThread] {
            onOwnerThread();
            ++progress;
        });
        QObject::connect(&runner, &SearchRunner::bestChanged, [this, onOwnerThread] {
            onOwnerThread();
            ++bestChanges;
        });
        QObject::connect(&runner, &SearchRunner::finished, [this, onOwnerThread](const search::SearchResult &result) {
            onOwnerThread();
            results.push_back(result);
        });
    }
    int progress = 0;
    int bestChanges = 0;
    std::vector<search::SearchResult> results;
    bool elsewhere = false;
};

} // namespace

class TestSearchRunner : public QObject
{
    Q_OBJECT
private slots:
    void findsKey()
    {
        SearchRunner runner;
        Reports reports(runner);
        runner.start(CipherText, Options(5));
        QVERIFY(runner.running());
        QTRY_COMPARE_WITH_TIMEOUT(reports.results.size(), std::size_t(1), 60000);
        QVERIFY(!runner.running());
        QVERIFY(reports.progress > 0 && reports.bestChanges > 0 && !reports.elsewhere);
        const search::SearchResult &result = reports.results.front();
        QCOMPARE(result.status, search::SearchStatus::Found);
        QCOMPARE(result.candidates.front().method, abc::CipherMethod::ABCD);
        QCOMPARE(abc::KeyColumnOrder(result.candidates.front().keyword), abc::KeyColumnOrder(Key));
    }

    void endsRunningSearch_data()
    {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("cancel") << false;
        QTest::newRow("destroy") << true;
    }
    void endsRunningSearch()
    {
        QFETCH(bool, destroy);
        auto runner = std::make_unique<SearchRunner>();
        Reports reports(*runner);
        runner->start(RandomLetters(), Options(600));
        QTRY_VERIFY(reports.progress > 0);
        QElapsedTimer clock;
        clock.start();
        if (destroy) {
            runner.reset();
        } else {
            runner->cancel();
            QTRY_COMPARE_WITH_TIMEOUT(reports.results.size(), std::size_t(1), StopMilliseconds);
            QCOMPARE(reports.results.front().status, search::SearchStatus::Cancelled);
            QVERIFY(!runner->running());
        }
        QVERIFY2(clock.elapsed() < StopMilliseconds, qPrintable(QString::number(clock.elapsed())));
    }

    // The old search's end is never reported: only the new one finishes.
    void startAgainReplacesSearch()
    {
        SearchRunner runner;
        Reports reports(runner);
        runner.start(RandomLetters(), Options(600));
        QTRY_VERIFY(reports.progress > 0);
        runner.start(CipherText, Options(5));
        QTRY_COMPARE_WITH_TIMEOUT(reports.results.size(), std::size_t(1), 60000);
        QTest::qWait(100);
        QCOMPARE(reports.results.size(), std::size_t(1));
        QCOMPARE(reports.results.front().status, search::SearchStatus::Found);
    }
};

QTEST_GUILESS_MAIN(TestSearchRunner)
#include "tst_search_runner.moc"
