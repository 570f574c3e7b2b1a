#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <numeric>
#include <random>
#include <thread>

#include "analysis/arm_jobs.h"
#include "analysis/candidates.h"
#include "analysis/climb.h"
#include "analysis/column_joins.h"
#include "analysis/crib_seeds.h"
#include "analysis/effort_sharing.h"
#include "analysis/joint_scorer.h"
#include "analysis/key_search.h"
#include "analysis/long_columns.h"
#include "analysis/method_detection.h"
#include "analysis/order_scorer.h"
#include "analysis/shared_starts.h"
#include "engine/builtin_keywords.h"
#include "engine/cipher.h"

namespace {

using namespace abc;
using namespace abc::search;

// German text the n-gram table was not counted from.
std::string HeldOutGerman(std::size_t letters, std::size_t offset = 0)
{
    std::ifstream in(HELD_OUT_TEXT);
    std::string text;
    std::string line;
    while (text.size() < offset + letters && std::getline(in, line))
        text += line;
    return text.substr(offset, letters);
}

std::string RandomLetters(std::mt19937 &random, std::size_t count)
{
    std::string letters;
    for (std::size_t i = 0; i < count; ++i)
        letters += static_cast<char>('A' + random() % 26);
    return letters;
}

// The same seed and thread count must give the same candidates.
void ExpectSameCandidates(const SearchResult &again, const SearchResult &first)
{
    ASSERT_EQ(again.candidates.size(), first.candidates.size());
    for (std::size_t i = 0; i < first.candidates.size(); ++i) {
        EXPECT_EQ(again.candidates[i].order, first.candidates[i].order);
        EXPECT_EQ(again.candidates[i].score, first.candidates[i].score);
    }
}

SearchOptions Quick(double seconds = 30)
{
    SearchOptions options;
    options.timeLimitSeconds = seconds;
    options.threads = 2;
    options.keywords = BuiltInKeywords();
    options.wordListPath.clear(); // the built-in keywords only: the test must not depend on the machine
    return options;
}

TEST(LongColumns, TheStartsAnOrderGivesReadAsTheExactReadingAndEvidenceFindsThem)
{
    std::mt19937 random(11);
    std::mt19937_64 draws(11);
    for (int trial = 0; trial < 40; ++trial) {
        const int columns = 8 + static_cast<int>(random() % 38);
        const int period = trial % 2 ? 3 : 4;
        std::string text;
        do
            text = RandomLetters(random, 3 * columns + random() % 400);
        while (!LongColumnModel::Needed(static_cast<int>(text.size()), columns));
        const std::vector<std::uint8_t> letters = LetterCodes(text);
        const OrderScorer scorer(letters, columns, period);
        const LongColumnModel model(letters, columns, period);
        const std::vector<int> rankOf = InversePermutation(KeyColumnOrder(RandomLetters(random, columns)));
        const std::vector<int> starts = model.startsOf(rankOf);
        EXPECT_EQ(scorer.score(rankOf.data(), starts.data()), scorer.score(rankOf.data())) << text;

        // Evidence for every column's true start outweighs the letters.
        std::vector<double> positions(columns);
        std::iota(positions.begin(), positions.end(), 0.0);
        std::vector<double> evidence(model.slotCount(), 0.0);
        for (const auto &[slot, value] : model.evidenceFrom(positions, rankOf, starts))
            evidence[slot] = 100;
        EXPECT_EQ(model.drawStarts(evidence, draws), starts) << text;
    }
}

// Over tall columns the letter shares do not tell which columns are long;
// how a column joins its true neighbour row by row does.
TEST(LongColumns, TheJoinsOfTallColumnsTellWhichAreLong)
{
    std::mt19937 random(5);
    int told = 0;
    constexpr int Messages = 8;
    for (int trial = 0; trial < Messages; ++trial) {
        const int columns = 26 + static_cast<int>(random() % 20);
        const int rows = 20 + static_cast<int>(random() % 10);
        const std::string plain = HeldOutGerman(columns * rows + 1 + random() % (columns - 1), 1500 * trial);
        const CipherMethod method = trial % 2 ? CipherMethod::ABC : CipherMethod::ABCD;
        const int period = trial % 2 ? 3 : 4;
        const std::string key = RandomLetters(random, columns);
        const std::vector<std::uint8_t> letters = LetterCodes(EncipherText(plain, key, method));
        const std::vector<int> starts =
            LongColumnModel(letters, columns, period).startsOf(InversePermutation(KeyColumnOrder(key)));
        const std::vector<std::vector<int>> guesses = GuessStartsFromJoins(letters, columns, period, 4);
        told += std::find(guesses.begin(), guesses.end(), starts) != guesses.end();
    }
    EXPECT_GE(told, Messages / 2);
}

TEST(MethodDetection, TellsTheShiftFromTheLetterCountsOfLongTexts)
{
    const std::string plain = HeldOutGerman(1500);
    EXPECT_FALSE(DetectMethod(plain).shifted);
    for (const CipherMethod method : {CipherMethod::ABC, CipherMethod::ABCD}) {
        const MethodEvidence evidence = DetectMethod(EncipherText(plain, "QUERSCHNITT", method));
        EXPECT_TRUE(evidence.shifted);
        EXPECT_EQ(evidence.likeliest, method);
        EXPECT_GT(evidence.margin, 10);
    }
}

// Every residue under both periods.
TEST(MethodDetection, TellsTheKeyLengthModThePeriodFromNeighbouringLetters)
{
    std::mt19937 random(7);
    for (const CipherMethod method : {CipherMethod::ABC, CipherMethod::ABCD}) {
        const int period = method == CipherMethod::ABC ? 3 : 4;
        for (const int columns : {16, 17, 18, 19}) {
            const std::string plain = HeldOutGerman(600, 300 * columns);
            const std::vector<std::uint8_t> cipher =
                LetterCodes(EncipherText(plain, RandomLetters(random, columns), method));
            const std::vector<double> evidence = KeyLengthResidueLogLikelihoods(cipher, period, columns);
            EXPECT_EQ(std::max_element(evidence.begin(), evidence.end()) - evidence.begin(), columns % period)
                << columns << " columns";
        }
    }
}

// A column read under the wrong shift reads as noise, so a kick of a walk
// must leave every column where its shift stays, and still move most
// orders (five moves can undo each other now and then).
TEST(Walks, AKickKeepsEveryColumnsShift)
{
    std::mt19937_64 random(5);
    int kicks = 0;
    int changed = 0;
    for (const int period : {3, 4}) {
        for (int columns = 3 * period; columns <= 45; ++columns) {
            std::vector<int> identity(columns);
            std::iota(identity.begin(), identity.end(), 0);
            std::vector<int> rankOf = identity;
            Kick(rankOf, random, 5, period);
            ASSERT_TRUE(std::is_permutation(rankOf.begin(), rankOf.end(), identity.begin())) << columns << " columns";
            for (int position = 0; position < columns; ++position)
                EXPECT_EQ((rankOf[position] - position) % period, 0) << columns << " columns";
            ++kicks;
            changed += rankOf != identity;
        }
    }
    EXPECT_GT(changed, kicks * 9 / 10);
}

// Four ragged messages of two to four rows: a kicked key, read from where
// the key starts every column, mends more of its joins than read from where
// the kicked order starts them, where most columns after a moved long one
// are off by a letter.
TEST(Walks, AKickedKeyReadFromTheWalksStartsMendsItsJoins)
{
    std::mt19937 random(11);
    const std::string key = RandomLetters(random, 24);
    std::vector<std::string> ciphers;
    for (const std::size_t length : {61, 75, 88, 97})
        ciphers.push_back(EncipherText(HeldOutGerman(length, ciphers.size() * 400), key, CipherMethod::ABC));
    const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
    const JointScorer scorer(messages, 24, 3);
    const std::vector<int> keyRankOf = InversePermutation(KeyColumnOrder(key));
    const auto rightJoins = [&keyRankOf](const std::vector<int> &rankOf) {
        int joins = 0;
        for (std::size_t position = 0; position + 1 < rankOf.size(); ++position) {
            const auto left = std::find(rankOf.begin(), rankOf.end(), keyRankOf[position]);
            joins += left + 1 != rankOf.end() && left[1] == keyRankOf[position + 1];
        }
        return joins;
    };
    const std::function<bool()> never = [] { return false; };
    std::mt19937_64 kicks(3);
    int fromWalk = 0;
    int fromKick = 0;
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<int> rankOf = keyRankOf;
        Kick(rankOf, kicks, 3, 3);
        std::vector<int> kicked = rankOf;
        const std::vector<int> kickedStarts = kicked;
        long evaluations = 0;
        ASSERT_TRUE(ClimbUnderStartsOf(scorer, keyRankOf, rankOf, kicks, evaluations, never, 0.3));
        fromWalk += rightJoins(rankOf);
        ASSERT_TRUE(ClimbUnderStartsOf(scorer, kickedStarts, kicked, kicks, evaluations, never, 0.3));
        fromKick += rightJoins(kicked);
    }
    EXPECT_GT(fromWalk, fromKick);
}

// Eight messages of two rows under 45 columns: the key with a column that
// is long in every message read in the place of two that are short in
// every one, and they in its, reads every column between as the key does.
// No move of the key's columns mends that; a trade in the reading order
// does.
TEST(Walks, ALongColumnReadInTheTwoShortOnesPlaceIsMendedInTheReadingOrder)
{
    std::mt19937 random(19);
    const std::string key = RandomLetters(random, 45);
    std::vector<std::string> ciphers;
    for (const std::size_t length : {60, 64, 67, 70, 72, 75, 77, 80})
        ciphers.push_back(EncipherText(HeldOutGerman(length, ciphers.size() * 300), key, CipherMethod::ABC));
    const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
    const JointScorer scorer(messages, 45, 3);
    const std::vector<int> keyRankOf = InversePermutation(KeyColumnOrder(key));
    // Long in every message: the first 15 columns; short in every one: the
    // last ten.
    std::vector<int> columnAt = KeyColumnOrder(key);
    const auto longRank = std::find_if(columnAt.begin(), columnAt.end(), [](int column) { return column < 15; });
    const auto shortRanks =
        std::adjacent_find(longRank + 2, columnAt.end(), [](int a, int b) { return a >= 35 && b >= 35; });
    ASSERT_NE(shortRanks, columnAt.end());
    // The long column to the second short one's place, then the two short
    // ones to its.
    std::rotate(longRank, longRank + 1, shortRanks + 2);
    std::rotate(longRank, shortRanks - 1, shortRanks + 1);
    const std::vector<int> trapped = InversePermutation(columnAt);
    ASSERT_LT(scorer.score(trapped.data()), scorer.score(keyRankOf.data()));

    const OrderScore exact = [&scorer](const int *order) { return scorer.score(order); };
    const std::function<bool()> never = [] { return false; };
    for (const int readingBlocks : {0, 2}) {
        std::vector<int> rankOf = trapped;
        std::mt19937_64 climb(7);
        long evaluations = 0;
        ASSERT_TRUE(Climb(rankOf, climb, exact, evaluations, never, 3, 0.3, readingBlocks));
        EXPECT_EQ(rankOf == keyRankOf, readingBlocks > 0) << readingBlocks;
    }
}

// Eight messages of two rows under 36 columns, read under 39 with every
// column three places on from the key's and its first three columns split
// in two: the text reads in the right sequence but for three letters, as
// German. Carried back three places, the order is the key.
TEST(Walks, AnOrderAPeriodTooLongIsCarriedBackToTheKey)
{
    std::mt19937 random(23);
    const std::string key = RandomLetters(random, 36);
    std::vector<std::string> ciphers;
    for (const std::size_t length : {40, 45, 50, 55, 60, 64, 68, 72})
        ciphers.push_back(EncipherText(HeldOutGerman(length, ciphers.size() * 300), key, CipherMethod::ABC));
    const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
    const std::vector<int> keyRankOf = InversePermutation(KeyColumnOrder(key));
    // Read by rank, each of the key's first three columns becomes two
    // columns of a letter each: the second letter at 33 + j, the first at
    // 36 + j.
    std::vector<std::pair<int, int>> pieces; // (key rank, half), reading order
    for (int column = 0; column < 36; ++column) {
        pieces.emplace_back(keyRankOf[column], 0);
        if (column < 3)
            pieces.emplace_back(keyRankOf[column], 1);
    }
    std::sort(pieces.begin(), pieces.end());
    const auto rankOfPiece = [&pieces](int keyRank, int half) {
        return static_cast<int>(std::find(pieces.begin(), pieces.end(), std::pair{keyRank, half}) - pieces.begin());
    };
    std::vector<int> longer(39);
    for (int column = 0; column < 33; ++column)
        longer[column] = rankOfPiece(keyRankOf[column + 3], 0);
    for (int column = 0; column < 3; ++column) {
        longer[33 + column] = rankOfPiece(keyRankOf[column], 1);
        longer[36 + column] = rankOfPiece(keyRankOf[column], 0);
    }
    const JointScorer under39(messages, 39, 3);
    const JointScorer under36(messages, 36, 3);
    const double keyZ = FindingZScore({3, keyRankOf}, under36.score(keyRankOf.data()), under36);
    const double longerZ = FindingZScore({3, longer}, under39.score(longer.data()), under39);
    EXPECT_GT(longerZ, GermanThreshold) << keyZ;

    EXPECT_EQ(CarriedOrder(longer, 3, under36), keyRankOf);
}

// Over several messages an arm whose climbs read far better than its
// neighbours' lifts the key lengths up to three periods from it as much as
// itself; over one message it lifts itself alone.
TEST(EffortSharing, ALeadOfSeveralMessagesCarriesToTheKeyLengthsAFewPeriodsAway)
{
    std::mt19937 random(13);
    const std::string key = RandomLetters(random, 36);
    for (const std::size_t count : {1, 4}) {
        std::vector<std::string> ciphers;
        for (std::size_t message = 0; message < count; ++message)
            ciphers.push_back(EncipherText(HeldOutGerman(360 / count, message * 400), key, CipherMethod::ABC));
        const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
        KeyLengthArms arms(messages, DetectMethod(std::accumulate(ciphers.begin(), ciphers.end(), std::string())));
        for (KeyLengthArm &arm : arms) {
            arm.climbs = 1;
            arm.bestZScore = arm.period == 3 && arm.columns == 39 ? -5.0 : -14.0;
        }
        arms.planRound(1, 1);
        for (const int columns : {27, 30, 33, 36, 39, 42, 45}) {
            const bool lifted = columns == 39 || (count > 1 && columns != 27);
            EXPECT_EQ(arms.at(3, columns).lead, lifted ? 8.0 : 1.0) << count << " messages, " << columns << " columns";
        }
        // Once it reads as German it must not fall behind those it lifts:
        // a second walk there confirms it.
        for (KeyLengthArm &arm : arms) {
            if (arm.period == 3 && arm.columns == 39)
                arm.germanOrder.assign(39, 0);
        }
        if (count > 1) {
            EXPECT_GE(arms.at(3, 39).weight(), arms.at(3, 42).weight());
        }
    }
}

// A walk at a wrong key length keeps gaining a little now and then, so it
// never begins anew; its climbs must still count against that key length,
// or one the letters speak against is never climbed.
TEST(EffortSharing, AWalkThatFindsNothingGermanGivesWayToAnUnlikelierKeyLength)
{
    std::mt19937 random(17);
    const std::string key = RandomLetters(random, 28);
    std::vector<std::string> ciphers;
    for (std::size_t message = 0; message < 6; ++message)
        ciphers.push_back(EncipherText(HeldOutGerman(90, message * 300), key, CipherMethod::ABC));
    KeyLengthArms arms(MessageLetters(ciphers),
                       DetectMethod(std::accumulate(ciphers.begin(), ciphers.end(), std::string())));
    const auto arm = [&arms](int columns) -> KeyLengthArm & {
        return *std::find_if(arms.begin(), arms.end(),
                             [columns](const KeyLengthArm &a) { return a.period == 3 && a.columns == columns; });
    };
    KeyLengthArm &walked = arm(24);
    KeyLengthArm &unlikely = arm(28);
    walked.logPrior = 0;
    unlikely.logPrior = -5.5;
    std::vector<int> order(24);
    std::iota(order.begin(), order.end(), 0);
    walked.recordEnd(order, 100, -15, false, -1);
    for (int climb = 0; climb < 300; ++climb)
        walked.recordEnd(order, 100 + climb, -15, false, walked.walkNumber);
    EXPECT_LT(walked.weight(), unlikely.weight());
}

// Over a day's traffic the letter counts rule the other method out, and
// its long keys must not take a first climb from the key's: a 30 s
// search's worth of climbs, each as dear as a first climb over 40
// columns, gives them none, while an arm as unlikely as the key's own has
// ever stood still gets its share.
TEST(EffortSharing, AMethodTheLetterCountsRuleOutTakesNoClimb)
{
    std::mt19937 random(23);
    const std::string key = RandomLetters(random, 40);
    std::vector<std::string> ciphers;
    for (std::size_t message = 0; message < 8; ++message)
        ciphers.push_back(EncipherText(HeldOutGerman(40 + 5 * message, message * 100), key, CipherMethod::ABC));
    KeyLengthArms arms(MessageLetters(ciphers),
                       DetectMethod(std::accumulate(ciphers.begin(), ciphers.end(), std::string())));
    KeyLengthArm *doubted = nullptr;
    for (KeyLengthArm &arm : arms) {
        if (arm.period == 4) {
            ASSERT_LT(arm.logPrior, -20) << arm.columns;
        } else if (arm.columns == 41) {
            doubted = &arm;
        }
    }
    ASSERT_NE(doubted, nullptr);
    doubted->logPrior = -14;
    std::map<const KeyLengthArm *, int> climbs;
    for (long effort = 0; effort < 60'000'000;) {
        const std::vector<DueClimb> round = arms.planRound(4, 8);
        ASSERT_FALSE(round.empty());
        for (const DueClimb &due : round) {
            due.arm->recordClimb(100'000, {});
            due.arm->recordEnd(std::vector<int>(due.arm->columns), 0, -12, false, -1);
            ++climbs[due.arm];
            effort += 100'000;
        }
    }
    for (const auto &[arm, count] : climbs) {
        if (arm->columns >= 30) {
            EXPECT_EQ(arm->period, 3) << arm->columns << " columns: " << count << " climbs";
        }
    }
    EXPECT_GT(climbs[doubted], 0);
}

// A phrase of two keywords over 130 letters: three or four letters a
// column, where climbing alone does not find a key of 40 columns.
TEST(KeySearch, FindsAListKeywordOrAPhraseOfThemAndNamesIt)
{
    const std::vector<std::string> &keywords = BuiltInKeywords();
    const std::pair<std::string, std::size_t> cases[] = {{keywords.at(1), 250},
                                                         {"ARTILLERIEBEOBACHTUNGVERBINDUNGSOFFIZIER", 130}};
    for (const auto &[keyword, letters] : cases) {
        const std::string plain = HeldOutGerman(letters, 1000);
        const SearchResult result = FindKey(EncipherText(plain, keyword, CipherMethod::ABCD), Quick());
        ASSERT_EQ(result.status, SearchStatus::Found) << keyword;
        const Candidate &best = result.candidates.front();
        EXPECT_EQ(best.keyword, keyword);
        EXPECT_EQ(best.dictionaryWord, keyword);
        EXPECT_EQ(best.method, CipherMethod::ABCD);
        EXPECT_EQ(best.plainText, plain);
    }
}

TEST(KeySearch, RecoversARandomEightColumnKeyFromThreeHundredLettersAlike)
{
    const std::string plain = HeldOutGerman(300, 5000);
    const std::string key = "QXBMEWAT";
    const SearchResult result = FindKey(EncipherText(plain, key, CipherMethod::ABC), Quick());
    ASSERT_EQ(result.status, SearchStatus::Found);
    const Candidate &best = result.candidates.front();
    EXPECT_EQ(best.order, KeyColumnOrder(key));
    EXPECT_EQ(best.method, CipherMethod::ABC);
    EXPECT_EQ(best.plainText, plain);
    EXPECT_EQ(KeyColumnOrder(best.keyword), best.order);
    EXPECT_TRUE(best.readsAsGerman);

    // The same seed and thread count give the same candidates.
    ExpectSameCandidates(FindKey(EncipherText(plain, key, CipherMethod::ABC), Quick()), result);
}

TEST(KeySearch, RecoversALongKeyWhoseLastRowIsIncomplete)
{
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "a search, not a race: ten times slower here and no other threads than the tests above";
#endif
    // 28 columns over 300 letters: twenty long ones, and every wrong guess
    // at them moves the columns read after.
    const std::string plain = HeldOutGerman(300, 9000);
    const std::string key = "QWERTZUIOPASDFGHJKLYXCVBNMQE";
    const SearchResult result = FindKey(EncipherText(plain, key, CipherMethod::ABCD), Quick(60));
    ASSERT_EQ(result.status, SearchStatus::Found);
    EXPECT_EQ(result.candidates.front().order, KeyColumnOrder(key));
    EXPECT_EQ(result.candidates.front().method, CipherMethod::ABCD);
}

TEST(KeySearch, RefusesShortTextsAndFindsNoGermanInRandomLetters)
{
    EXPECT_EQ(FindKey("", Quick()).status, SearchStatus::TooShort);
    EXPECT_EQ(FindKey("ABCDEFGHIJKLMNOPQRS", Quick()).status, SearchStatus::TooShort);

    std::mt19937 random(3);
    const SearchResult result = FindKey(RandomLetters(random, 200), Quick(2));
    EXPECT_EQ(result.status, SearchStatus::NoCandidate);
    // Too short for a key it could not read in every order: nothing to wait for.
    std::mt19937 fewRandom(1);
    const SearchResult few = FindKey(RandomLetters(fewRandom, 21), Quick());
    EXPECT_EQ(few.status, SearchStatus::NoCandidate);
    EXPECT_FALSE(few.timedOut);
}

TEST(KeySearch, StopsWhenCancelledAndKeepsItsProgress)
{
    std::mt19937 random(5);
    const std::string noise = RandomLetters(random, 1000);
    std::stop_source stop;
    std::atomic<int> reports = 0;
    SearchOptions options = Quick(600);
    options.onProgress = [&](const Progress &progress) {
        EXPECT_GE(progress.fraction, 0.0);
        EXPECT_LE(progress.fraction, 1.0);
        ++reports;
    };
    auto search = std::async(std::launch::async, [&] { return FindKey(noise, options, stop.get_token()); });
    while (reports == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stop.request_stop();
    // Far more than the search needs to notice; a hung search fails here
    // instead of hanging the test run.
    ASSERT_EQ(search.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const SearchResult result = search.get();
    EXPECT_EQ(result.status, SearchStatus::Cancelled);
    EXPECT_FALSE(result.timedOut);
}

// Under one key, every column join shows in every message: three messages
// too short to give the key alone give it together, each of its own length.
TEST(SharedKeySearch, ShortMessagesGiveTogetherTheKeyThatNoneGivesAlone)
{
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "a search, not a race: ten times slower here and no other threads than the tests above";
#endif
    const std::string key = "KXQMBWTRAZLCVPNHEGOJ";
    const std::vector<std::string> plains = {HeldOutGerman(58, 20000), HeldOutGerman(42, 21000),
                                             HeldOutGerman(50, 22000)};
    std::vector<std::string> ciphers;
    for (const std::string &plain : plains) {
        ciphers.push_back(EncipherText(plain, key, CipherMethod::ABC));
        const SearchResult alone = FindKey(ciphers.back(), Quick(5));
        EXPECT_TRUE(alone.candidates.empty() || alone.candidates.front().order != KeyColumnOrder(key));
    }
    const SearchResult together = FindSharedKey(ciphers, Quick(60));
    ASSERT_EQ(together.status, SearchStatus::Found);
    const Candidate &best = together.candidates.front();
    EXPECT_EQ(best.order, KeyColumnOrder(key));
    EXPECT_EQ(best.method, CipherMethod::ABC);
    ASSERT_EQ(best.messages.size(), plains.size());
    for (std::size_t m = 0; m < plains.size(); ++m) {
        EXPECT_EQ(best.messages[m].plainText, plains[m]);
        EXPECT_TRUE(best.messages[m].readsAsGerman);
    }

    ExpectSameCandidates(FindSharedKey(ciphers, Quick(60)), together);
}

// A message of the day's pile that was enciphered under another key reads
// as random letters under every order: flagged, and the others solved.
TEST(SharedKeySearch, FlagsAStrayMessageAndSolvesTheOthers)
{
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "a search, not a race: ten times slower here and no other threads than the tests above";
#endif
    const std::string key = "ZUGFOLGEWEITERN";
    std::vector<std::string> plains;
    std::vector<std::string> ciphers;
    for (std::size_t m = 0; m < 5; ++m) {
        plains.push_back(HeldOutGerman(70, 30000 + 1000 * m));
        ciphers.push_back(EncipherText(plains.back(), m == 2 ? "MNBVCXYLKJHGFDS" : key, CipherMethod::ABCD));
    }
    const SearchResult result = FindSharedKey(ciphers, Quick(60));
    ASSERT_EQ(result.status, SearchStatus::Found);
    const Candidate &best = result.candidates.front();
    EXPECT_EQ(best.order, KeyColumnOrder(key));
    EXPECT_EQ(best.method, CipherMethod::ABCD);
    ASSERT_EQ(best.messages.size(), plains.size());
    for (std::size_t m = 0; m < plains.size(); ++m) {
        EXPECT_EQ(best.messages[m].readsAsGerman, m != 2) << m;
        if (m != 2) {
            EXPECT_EQ(best.messages[m].plainText, plains[m]);
        }
    }
}

// Growing a seed must never paint itself into a corner: whatever it keeps,
// the free stretches left must still take the columns left.
TEST(CribSeeds, EverySeedGrowsIntoAWholeOrderKeepingOneChoiceOrMany)
{
    std::mt19937 random(3);
    for (int trial = 0; trial < 12; ++trial) {
        const int columns = 25 + static_cast<int>(random() % 16);
        const std::string plain = HeldOutGerman(100 + random() % 50, 2000 * trial);
        const int period = trial % 2 ? 3 : 4;
        const std::vector<std::vector<std::uint8_t>> messages{LetterCodes(
            EncipherText(plain, RandomLetters(random, columns), period == 3 ? CipherMethod::ABC : CipherMethod::ABCD))};
        const std::string word = plain.substr(random() % (plain.size() - 9), 9);
        const std::vector<CribSeed> seeds = FindCribSeeds(messages, {word}, columns, period, 8, [] { return false; });
        ASSERT_FALSE(seeds.empty()) << plain;
        for (const CribSeed &seed : seeds) {
            for (const std::size_t width : {1, 256}) {
                std::vector<int> rankOf = CompleteCribSeed(messages, columns, seed, width);
                std::sort(rankOf.begin(), rankOf.end());
                std::vector<int> every(columns);
                std::iota(every.begin(), every.end(), 0);
                EXPECT_EQ(rankOf, every) << plain << " " << width;
            }
        }
    }
}

// The key of these messages reads as German only at z -2.5 to -2.9 over
// 70 to 300 letters a message, as near misses three quarters right do in
// other piles: one climb ending on such an order does not prove it.
TEST(SharedKeySearch, TrustsAnOrderOfSeveralMessagesOnlyWhenItComesBack)
{
    for (const int letters : {32, 70, 300}) {
        std::vector<std::string> ciphers;
        std::string all;
        for (int m = 0; m < 5; ++m) {
            ciphers.push_back(
                EncipherText(HeldOutGerman(letters, 3000 * m), "NORDWESTLICHERGRENZE", CipherMethod::ABC));
            all += ciphers.back();
        }
        const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
        const KeyLengthArms arms(messages, DetectMethod(all));
        Findings findings(1, arms);
        const FindingKey key{3, InversePermutation(KeyColumnOrder("NORDWESTLICHERGRENZE"))};
        const long sum = arms.at(3, 20).scorer.score(key.second.data());
        ASSERT_GE(FindingZScore(key, sum, arms.at(3, 20).scorer), ConfidentThreshold) << letters;
        findings.add(key, Finding{sum, 0, 1, false});
        EXPECT_FALSE(findings.confident()) << letters;
        findings.add(key, Finding{sum, 0, 1, false});
        EXPECT_TRUE(findings.confident()) << letters;
    }
}

// Where only the tallest of several messages has three rows, a wrong key
// length a period off the key has read at z -1.8: an order reading so must
// come back before it ends the search.
TEST(SharedKeySearch, OneTallMessageDoesNotVouchForAnOrderOfShortOnes)
{
    const std::string key = "NORDWESTLICHERGRENZEDERSTELLUNG";
    std::vector<std::string> ciphers;
    std::string all;
    for (int m = 0; m < 8; ++m) {
        ciphers.push_back(EncipherText(HeldOutGerman(m == 0 ? 70 : 50, 3000 * m + 1000), key, CipherMethod::ABC));
        all += ciphers.back();
    }
    const std::vector<std::vector<std::uint8_t>> messages = MessageLetters(ciphers);
    const KeyLengthArms arms(messages, DetectMethod(all));
    const JointScorer &scorer = arms.at(3, static_cast<int>(key.size())).scorer;
    ASSERT_EQ(scorer.rows(), 3);
    Findings findings(1, arms);
    const FindingKey found{3, InversePermutation(KeyColumnOrder(key))};
    const long sum = scorer.score(found.second.data());
    const double zScore = FindingZScore(found, sum, scorer);
    ASSERT_GT(zScore, -2);
    ASSERT_LT(zScore, -1.5);
    findings.add(found, Finding{sum, 0, 1, false});
    EXPECT_FALSE(findings.confident());
    findings.add(found, Finding{sum, 0, 1, false});
    EXPECT_TRUE(findings.confident());
}

// A probable word fixes which columns stand side by side, and where it
// stands is part of every candidate.
TEST(SharedKeySearch, AProbableWordGivesAKeyThatTheMessageAloneDoesNot)
{
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "a search, not a race: ten times slower here and no other threads than the tests above";
#endif
    const std::string plain = HeldOutGerman(110, 42000);
    const std::string key = "PLMOKNIJBUHVYGCTRFXEDZWSAQPLMOKNIJ";
    const std::string cipher = EncipherText(plain, key, CipherMethod::ABC);
    const std::string word = plain.substr(60, 10);
    const SearchResult without = FindKey(cipher, Quick(10));
    EXPECT_TRUE(without.candidates.empty() || without.candidates.front().order != KeyColumnOrder(key));

    SearchOptions options = Quick(240); // the address sanitizer runs it fifteen to twenty times slower
    options.cribs = {word, "QUERFELDEINRITT"};
    const SearchResult with = FindKey(cipher, options);
    ASSERT_EQ(with.status, SearchStatus::Found);
    const Candidate &best = with.candidates.front();
    EXPECT_EQ(best.plainText, plain);
    ASSERT_EQ(best.cribs.size(), 2U);
    EXPECT_TRUE(best.cribs[0].found);
    EXPECT_EQ(best.cribs[0].position, static_cast<int>(plain.find(word)));
    EXPECT_FALSE(best.cribs[1].found);
}

// Alone a message needs three rows to a key; around a probable word a
// little less will do.
TEST(SharedKeySearch, AProbableWordCarriesAKeyOfUnderThreeRows)
{
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "a search, not a race";
#endif
    std::mt19937 random(5);
    const std::string key = RandomLetters(random, 40);
    const std::string plain = HeldOutGerman(116, 43000);
    SearchOptions options = Quick(240); // the address sanitizer runs it fifteen to twenty times slower
    options.cribs = {plain.substr(50, 10)};
    const SearchResult result = FindKey(EncipherText(plain, key, CipherMethod::ABCD), options);
    ASSERT_FALSE(result.candidates.empty());
    EXPECT_EQ(result.candidates.front().plainText, plain);
}

} // namespace
