#pragma once

#include <string>
#include <string_view>

#include "engine/workbench_state.h"

namespace abc {

// Shifts the character at 1-based position i back by (i - 1) mod P places,
// P being the method's period; codes that would fall below 'A' wrap by 26.
// Leaves TextCursor at the text's length + 1 and ShiftCounter within the cycle.
std::string ShiftTextBack(WorkbenchState &state, std::string_view text, CipherMethod method);

} // namespace abc
