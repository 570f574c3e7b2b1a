// Enciphers plaintexts and decodes them as the window does: key, clean, cut,
// transposition, substitution; the result must be the plaintext again.
//
// The input is one message per line, "<flags><key> <plaintext>": flags is a
// digit whose bit 0 picks ABCD, bit 1 sends the ciphertext in groups of five
// and bit 2 in small letters. Other bytes of key and plaintext are mapped to
// capitals. The messages share one grid with a reset between them, as in
// the window.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "engine/cipher.h"
#include "engine/column_key.h"
#include "engine/decoding_steps.h"
#include "engine/grouping.h"
#include "fuzz/fuzz_check.h"

using namespace abc;

namespace {

std::string Capitals(std::string_view text, std::size_t maxLength)
{
    std::string capitals(text.substr(0, maxLength));
    for (char &ch : capitals) {
        if (ch < 'A' || ch > 'Z')
            ch = static_cast<char>('A' + static_cast<unsigned char>(ch) % 26);
    }
    return capitals;
}

void Decode(WorkbenchState &state, bool &keyed, unsigned flags, std::string_view keyText, std::string_view plainText)
{
    const std::string key = Capitals(keyText, MaxKeyLength);
    const std::string plain = Capitals(plainText, key.size() * GridSide);
    if (key.empty() || plain.empty()) // the window allows neither
        return;
    const CipherMethod method = (flags & 1) ? CipherMethod::ABCD : CipherMethod::ABC;
    const std::string cipher = EncipherText(plain, key, method);
    FUZZ_REQUIRE(cipher.size() == plain.size());

    std::string input = (flags & 2) ? GroupInFives(cipher) : cipher;
    if (flags & 4) {
        for (char &ch : input)
            ch = static_cast<char>(ch == ' ' ? ch : ch + 32);
    }

    if (keyed) // the key can be set again only after a reset
        ResetGrid(state);
    keyed = true;
    const DecodingResult decoded = DecipherAllSteps(state, key, input, method);
    FUZZ_REQUIRE(state.CleanText == cipher);
    FUZZ_REQUIRE(decoded.cleaning.placed == static_cast<int>(cipher.size()));
    const auto fullRows = static_cast<int>((plain.size() + key.size() - 1) / key.size());
    FUZZ_REQUIRE(decoded.rows ? *decoded.rows == fullRows : fullRows == 1);
    // Every key column once, by key letter and then from left to right.
    const WriteOrder &order = decoded.order;
    FUZZ_REQUIRE(order.size() == key.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        FUZZ_REQUIRE(order[i].column >= 1 && order[i].column <= static_cast<int>(key.size()));
        FUZZ_REQUIRE(key[order[i].column - 1] == order[i].letter);
        if (i > 0) {
            const ColumnEntry &before = order[i - 1];
            FUZZ_REQUIRE(before.letter < order[i].letter
                         || (before.letter == order[i].letter && before.column < order[i].column));
        }
    }
    if (state.SubstitutionText != plain) {
        std::fprintf(stderr, "key %s, %s\nplain   %s\ncipher  %s\ndecoded %s\n", key.c_str(),
                     (flags & 1) ? "ABCD" : "ABC", plain.c_str(), cipher.c_str(), state.SubstitutionText.c_str());
        FUZZ_REQUIRE(state.SubstitutionText == plain);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    WorkbenchState state;
    BuildGrid(state);
    bool keyed = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.empty())
            continue;
        const auto flags = static_cast<unsigned>(static_cast<unsigned char>(line[0]));
        line.remove_prefix(1);
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos)
            continue;
        Decode(state, keyed, flags, line.substr(0, space), line.substr(space + 1));
    }
    return 0;
}
