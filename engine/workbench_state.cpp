#include "engine/workbench_state.h"

namespace abc {

char RandomLetter(WorkbenchState &state)
{
    state.RandomSeed = state.RandomSeed * 134775813u + 1u; // wraps mod 2^32
    const auto v = static_cast<std::uint32_t>((std::uint64_t{state.RandomSeed} * 26u) >> 32);
    return static_cast<char>('A' + v);
}

namespace {

void NumberLabels(LabelArray &labels)
{
    for (int i = 0; i < GridSide; ++i)
        labels[i] = GridLabel{std::to_string(i + 1), true};
}

void ShowLabels(LabelArray &labels)
{
    for (auto &label : labels)
        label.visible = true;
}

} // namespace

void BuildGrid(WorkbenchState &state)
{
    for (auto &cell : state.GridCells)
        cell = GridCell{RandomLetter(state), true, false};
    NumberLabels(state.RedRowNumberLabels);
    NumberLabels(state.ColumnNumberLabels);
    NumberLabels(state.RowNumberLabels);
    NumberLabels(state.KeyLetterLabels);
}

void ResetGrid(WorkbenchState &state)
{
    for (auto &cell : state.GridCells) {
        cell.visible = true;
        cell.caption = RandomLetter(state);
    }
    ShowLabels(state.ColumnNumberLabels);
    NumberLabels(state.KeyLetterLabels);
    ShowLabels(state.RowNumberLabels);
    ShowLabels(state.RedRowNumberLabels);
}

std::string DumpGrid(const WorkbenchState &state)
{
    std::string dump;
    dump.reserve(CellCount + GridSide);
    for (int row = 0; row < GridSide; ++row) {
        for (int column = 0; column < GridSide; ++column) {
            const GridCell &cell = state.GridCells[CellIndex(row, column)];
            dump += cell.visible ? cell.caption : ' ';
        }
        dump += '\n';
    }
    return dump;
}

} // namespace abc
