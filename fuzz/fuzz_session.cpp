// A whole session: the operations run in any order the window's enabled
// buttons allow, on random keys and input texts; the state must stay sound
// after each of them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/column_key.h"
#include "engine/decoding_steps.h"
#include "engine/grid_fill.h"
#include "fuzz/fuzz_check.h"

using namespace abc;

namespace {

// One per step button; setting the key and the reset alternate.
enum Op { SetKey, Clean, Clear, Cut, Transposition, Substitution, Reset };
constexpr int OpCount = Reset + 1;

bool IsCapital(char ch)
{
    return ch >= 'A' && ch <= 'Z';
}

std::string MakeKey(FuzzedDataProvider &in)
{
    const int kind = in.ConsumeIntegralInRange(0, 7);
    if (kind == 0) // the window refuses empty and overlong keys; the engine must survive them
        return {};
    if (kind == 1)
        return in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(MaxKeyLength + 1, 120));
    std::string key = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(1, MaxKeyLength));
    if (kind >= 4) { // capitals from a few letters, so that repeated letters are common
        const int letters = in.ConsumeIntegralInRange(1, 26);
        for (char &ch : key)
            ch = static_cast<char>('A' + static_cast<unsigned char>(ch) % letters);
    }
    return key;
}

std::string MakeInput(FuzzedDataProvider &in)
{
    if (in.ConsumeBool())
        return in.ConsumeRandomLengthString(4096);
    // Capitals of any length up to beyond the grid, from a few bytes.
    std::string text(in.ConsumeIntegralInRange(0, CellCount + 100), 'A');
    const int step = in.ConsumeIntegralInRange(1, 25);
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('A' + i * step % 26);
    return text;
}

void CheckState(const WorkbenchState &state)
{
    FUZZ_REQUIRE(state.FillEnd >= 0 && state.FillEnd <= CellCount && state.TextCount >= 0);
    std::size_t visible = 0;
    for (const GridCell &cell : state.GridCells) { // placeholders and text are capitals
        FUZZ_REQUIRE(IsCapital(cell.caption) || cell.caption == '.' || cell.caption == '?');
        visible += cell.visible;
    }
    FUZZ_REQUIRE(ReadGridRows(state).size() == visible);
    for (const GridLabel &label : state.KeyLetterLabels)
        FUZZ_REQUIRE(!label.caption.empty() && label.caption.size() <= 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    WorkbenchState state;
    BuildGrid(state);
    bool on[OpCount] = {true, false, true, false, false, false, false}; // set key, clear input
    int chain = 0; // 1 capital key, 2 then cleaned, 3 then cut, with nothing in between
    std::size_t placed = 0;

    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        std::vector<Op> ops;
        for (int op = 0; op < OpCount; ++op)
            if (on[op])
                ops.push_back(static_cast<Op>(op));
        int next = 0;
        switch (ops[in.ConsumeIntegralInRange<std::size_t>(0, ops.size() - 1)]) {
        case SetKey: {
            const std::string key = MakeKey(in);
            const auto columns = std::min<std::size_t>(key.size(), MaxKeyLength);
            FUZZ_REQUIRE(ApplyColumnKey(state, key) == static_cast<int>(columns));
            FUZZ_REQUIRE(EnabledCellCount(state) == static_cast<int>(columns) * GridSide);
            next = std::all_of(key.begin(), key.begin() + columns, IsCapital) ? 1 : 0;
            on[SetKey] = false, on[Reset] = on[Clean] = true;
            break;
        }
        case Clean: {
            const std::string input = MakeInput(in);
            const CleaningResult result = CleanInput(state, input);
            placed = static_cast<std::size_t>(result.placed);
            FUZZ_REQUIRE(placed == std::min<std::size_t>(state.CleanText.size(), result.capacity));
            FUZZ_REQUIRE(state.TextCount == (input.empty() ? 0 : static_cast<int>(state.CleanText.size())));
            for (int index = state.FillEnd; index < CellCount; ++index)
                FUZZ_REQUIRE(state.GridCells[index].caption == AfterTextCaption);
            next = chain == 1 ? 2 : 0;
            on[Clean] = on[Clear] = false, on[Cut] = true;
            break;
        }
        case Clear:
            ClearInput(state);
            FUZZ_REQUIRE(state.CleanText.empty());
            break;
        case Cut:
            CutResidualMatrix(state);
            for (int index = state.FillEnd; index < CellCount; ++index)
                FUZZ_REQUIRE(!state.GridCells[index].visible);
            next = chain == 2 ? 3 : 0;
            on[Cut] = false, on[Transposition] = true;
            break;
        case Transposition: {
            // What Transpose does, on a copy of CleanText without spare capacity,
            // so that a read past its end lands outside the allocation.
            const std::vector<char> exact(state.CleanText.begin(), state.CleanText.end());
            const WriteOrder order = WriteKeyColumns(state, {exact.data(), exact.size()});
            state.TranspositionText = ReadGridRows(state);
            char letter = 'A';
            for (const ColumnEntry &entry : order) { // key columns the grid shows, by letter
                FUZZ_REQUIRE(entry.column >= 1 && entry.column <= GridSide && entry.letter >= letter);
                const GridLabel &label = state.KeyLetterLabels[entry.column - 1];
                FUZZ_REQUIRE(label.visible && label.caption == std::string(1, entry.letter));
                letter = entry.letter;
            }
            if (chain == 3) { // the columns take exactly the letters the fill placed
                std::string placedText = state.CleanText.substr(0, placed);
                std::string read = state.TranspositionText;
                std::sort(placedText.begin(), placedText.end());
                std::sort(read.begin(), read.end());
                FUZZ_REQUIRE(read == placedText);
            }
            on[Transposition] = false, on[Substitution] = true;
            break;
        }
        case Substitution: {
            const CipherMethod method = in.ConsumeBool() ? CipherMethod::ABCD : CipherMethod::ABC;
            Substitute(state, method);
            const std::string &from = state.TranspositionText, &to = state.SubstitutionText;
            const int period = ShiftPeriod(method);
            FUZZ_REQUIRE(to.size() == from.size() && state.TextCursor == static_cast<int>(from.size()) + 1);
            FUZZ_REQUIRE(state.ShiftCounter >= 0 && state.ShiftCounter <= period);
            for (std::size_t i = 0; i < from.size(); ++i)
                if (IsCapital(from[i]))
                    FUZZ_REQUIRE(IsCapital(to[i]) && (from[i] - to[i] + 26) % 26 == static_cast<int>(i % period));
            on[Substitution] = false;
            break;
        }
        case Reset: {
            const CellArray before = state.GridCells;
            ResetGrid(state);
            for (int index = 0; index < CellCount; ++index) // the last key's columns stay enabled
                FUZZ_REQUIRE(state.GridCells[index].visible && state.GridCells[index].enabled == before[index].enabled);
            for (int column = 0; column < GridSide; ++column)
                FUZZ_REQUIRE(state.KeyLetterLabels[column].caption == std::to_string(column + 1));
            on[SetKey] = true, on[Reset] = false; // the step buttons stay as they are
            break;
        }
        }
        chain = next;
        CheckState(state);
    }
    return 0;
}
