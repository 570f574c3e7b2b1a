#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/method_detection.h"
#include "engine/column_key.h"
#include "engine/workbench_state.h"

namespace abc::search {

// The shortest text the search takes: below it no key can be told apart
// from chance.
inline constexpr int MinTextLength = 20;
inline constexpr int MinKeyLength = 2;

// One message under a candidate's key.
struct MessageReading {
    std::string plainText;
    // The z-score of its quadgrams against German text of its length; a
    // message that does not read as German was enciphered under another
    // key, or is too short to tell.
    double germanness = 0.0;
    bool readsAsGerman = false;
};

// Where a probable word stands under a candidate's key: the first place, in
// the messages' order.
struct CribPlace {
    std::string word; // cleaned as the text is
    bool found = false;
    int message = 0;  // index into the messages searched
    int position = 0; // 0-based letter index in that message's plaintext
};

struct Candidate {
    ColumnOrder order;
    CipherMethod method = CipherMethod::ABC;
    // A keyword the workbench accepts; empty when the order needs more than
    // 26 letters (see writable).
    std::string keyword;
    bool writable = true;
    // The word of the word list or of the built-in keywords that gives the
    // same order, as the list spells it (UTF-8, unlike the other texts);
    // empty when none does.
    std::string dictionaryWord;
    // Mean log10 probability of the plaintext's quadgrams (German prose is
    // near -4.4, random letters near -6.4).
    double score = 0.0;
    // The score as a z-score against German text of this length (standard
    // deviations from its mean): 0 is typical German, below -4 is not German.
    double germanness = 0.0;
    bool readsAsGerman = false;
    // The first message's plaintext.
    std::string plainText;
    // Every message searched, in the order given, and every probable word.
    std::vector<MessageReading> messages;
    std::vector<CribPlace> cribs;
};

struct Progress {
    double fraction = 0.0; // 0..1, of the time limit
    int keyLength = 0;     // the key length being searched, 0 in the dictionary phase
    CipherMethod method = CipherMethod::ABC;
    double seconds = 0.0;
    std::optional<Candidate> best; // set when the best candidate changed
};

struct SearchOptions {
    double timeLimitSeconds = 30.0;
    unsigned threads = 0; // 0: every core
    std::uint64_t seed = 1;
    // Keywords tried first, as the workbench lists them.
    std::vector<std::string> keywords;
    // A word list, one word per line in UTF-8; read when present.
    std::string wordListPath = "/usr/share/dict/ngerman";
    int candidateCount = 5;
    // Probable words, cleaned as the text is (capitals A-Z only), each
    // expected somewhere in the plaintext.
    std::vector<std::string> cribs;
    // Called from the search's threads, one call at a time.
    std::function<void(const Progress &)> onProgress;
};

enum class SearchStatus {
    Found,       // the best candidate reads as German
    NoCandidate, // nothing read as German
    TooShort,    // fewer than MinTextLength letters
    Cancelled,   // stopped through the stop token; candidates so far are kept
};

struct SearchResult {
    SearchStatus status = SearchStatus::NoCandidate;
    MethodEvidence evidence;
    std::vector<Candidate> candidates; // best first
    double seconds = 0.0;
    bool timedOut = false;
};

// Searches keyword and method of a cleaned ciphertext (capitals A-Z only).
SearchResult FindKey(std::string_view cipherText, const SearchOptions &options, std::stop_token stop = {});

// Searches one keyword and method for several cleaned ciphertexts enciphered
// under the same key, a day's traffic; each candidate reads every message.
SearchResult FindSharedKey(const std::vector<std::string> &cipherTexts, const SearchOptions &options,
                           std::stop_token stop = {});

} // namespace abc::search
