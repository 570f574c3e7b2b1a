// The engine's grid operations on the full 45 x 45 grid: a 45-letter key and
// 2025 letters. Without the window, for telling the engine's share of a
// step from the window's.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/cipher.h"
#include "engine/column_key.h"
#include "engine/decoding_steps.h"
#include "engine/grid_fill.h"
#include "engine/grouping.h"
#include "engine/substitution.h"
#include "engine/transposition.h"
#include "engine/workbench_state.h"

namespace {

const std::string Key = "DERSCHLUESSELFUERDIEGROESSTEMATRIXMITFUENFUND";

std::string Plain()
{
    std::string plain;
    while (plain.size() < abc::CellCount)
        plain += "ANGRIFFBEIMORGENGRAUENXSTELLUNGHALTENX";
    plain.resize(abc::CellCount);
    return plain;
}

// The message as typed: five-letter groups, ten to a line, CR LF.
std::string Message()
{
    const std::string cipher = abc::EncipherText(Plain(), Key, abc::CipherMethod::ABC);
    std::string text;
    for (std::size_t i = 0; i < cipher.size(); ++i) {
        if (i > 0 && i % 50 == 0)
            text += "\r\n";
        else if (i > 0 && i % 5 == 0)
            text += ' ';
        text += cipher[i];
    }
    return text;
}

// The state after set key, clean and cut.
abc::WorkbenchState Prepared()
{
    abc::WorkbenchState state;
    abc::BuildGrid(state);
    abc::ApplyColumnKey(state, Key);
    abc::CleanInput(state, Message());
    abc::CutResidualMatrix(state);
    return state;
}

void BM_BuildGrid(benchmark::State &bench)
{
    abc::WorkbenchState state;
    for (auto _ : bench) {
        abc::BuildGrid(state);
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(BM_BuildGrid);

void BM_ResetGrid(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    for (auto _ : bench) {
        abc::ResetGrid(state);
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(BM_ResetGrid);

void BM_ApplyColumnKey(benchmark::State &bench)
{
    abc::WorkbenchState state;
    abc::BuildGrid(state);
    for (auto _ : bench) {
        abc::ApplyColumnKey(state, Key);
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(BM_ApplyColumnKey);

void BM_CleanInput(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    const std::string message = Message();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::CleanInput(state, message));
    }
    bench.SetBytesProcessed(bench.iterations() * static_cast<std::int64_t>(message.size()));
}
BENCHMARK(BM_CleanInput);

void BM_FillGrid(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::FillGrid(state, state.CleanText));
    }
}
BENCHMARK(BM_FillGrid);

void BM_CutResidualMatrix(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::CutResidualMatrix(state));
    }
}
BENCHMARK(BM_CutResidualMatrix);

void BM_WriteKeyColumns(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::WriteKeyColumns(state, state.CleanText));
    }
}
BENCHMARK(BM_WriteKeyColumns);

void BM_ReadGridRows(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    abc::WriteKeyColumns(state, state.CleanText);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::ReadGridRows(state));
    }
}
BENCHMARK(BM_ReadGridRows);

void BM_ShiftTextBack(benchmark::State &bench)
{
    abc::WorkbenchState state = Prepared();
    abc::Transpose(state);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::ShiftTextBack(state, state.TranspositionText, abc::CipherMethod::ABCD));
    }
}
BENCHMARK(BM_ShiftTextBack);

void BM_GroupInFives(benchmark::State &bench)
{
    const std::string text = Plain();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(abc::GroupInFives(text));
    }
}
BENCHMARK(BM_GroupInFives);

} // namespace

BENCHMARK_MAIN();
