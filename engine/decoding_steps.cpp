#include "engine/decoding_steps.h"

#include "engine/column_key.h"
#include "engine/grid_fill.h"
#include "engine/substitution.h"
#include "engine/text_cleaning.h"

namespace abc {

CleaningResult CleanInput(WorkbenchState &state, std::string_view input)
{
    CleaningResult result;
    state.TextCount = static_cast<std::int32_t>(input.size());
    result.inputWasEmpty = input.empty();
    if (!result.inputWasEmpty) {
        state.CleanText = CleanInputText(input);
        state.TextCount = static_cast<std::int32_t>(state.CleanText.size());
        state.TextCursor += state.TextCount;
    }
    result.placed = FillGrid(state, state.CleanText);
    result.capacity = EnabledCellCount(state);
    return result;
}

void ClearInput(WorkbenchState &state)
{
    state.CleanText.clear();
}

WriteOrder Transpose(WorkbenchState &state)
{
    WriteOrder order = WriteKeyColumns(state, state.CleanText);
    state.TranspositionText = ReadGridRows(state);
    return order;
}

void Substitute(WorkbenchState &state, CipherMethod method)
{
    state.SubstitutionText.clear();
    state.SubstitutionText = ShiftTextBack(state, state.TranspositionText, method);
}

DecodingResult DecipherAllSteps(WorkbenchState &state, std::string_view key, std::string_view input,
                                CipherMethod method)
{
    DecodingResult result;
    ApplyColumnKey(state, key);
    result.cleaning = CleanInput(state, input);
    result.rows = CutResidualMatrix(state);
    result.order = Transpose(state);
    Substitute(state, method);
    return result;
}

} // namespace abc
