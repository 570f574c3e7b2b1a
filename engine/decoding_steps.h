#pragma once

#include <optional>
#include <string_view>

#include "engine/transposition.h"
#include "engine/workbench_state.h"

namespace abc {

// The steps that do more than one grid operation, as the window runs them:
// each keeps the counters and texts of the work state. The key, the cut and
// the reset are single grid operations (ApplyColumnKey, CutResidualMatrix,
// ResetGrid).

struct CleaningResult {
    bool inputWasEmpty = false;
    int placed = 0;   // characters of CleanText that found a cell
    int capacity = 0; // enabled cells
};

// Cleans a non-empty input into CleanText (an empty one leaves CleanText as
// it was) and fills the grid with CleanText.
CleaningResult CleanInput(WorkbenchState &state, std::string_view input);

// Empties CleanText.
void ClearInput(WorkbenchState &state);

// Writes CleanText into the key columns and reads the grid into
// TranspositionText; returns the order the columns were written in.
WriteOrder Transpose(WorkbenchState &state);

// Shifts TranspositionText back into SubstitutionText.
void Substitute(WorkbenchState &state, CipherMethod method);

struct DecodingResult {
    CleaningResult cleaning;
    std::optional<int> rows; // as CutResidualMatrix gives them
    WriteOrder order;
};

// The five steps in a row, as a user clicks them on a grid that was just
// built or reset: the key, the cleaning, the cut, the transposition and the
// substitution. The plaintext is then SubstitutionText.
DecodingResult DecipherAllSteps(WorkbenchState &state, std::string_view key, std::string_view input,
                                CipherMethod method);

} // namespace abc
