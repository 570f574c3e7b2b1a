#include "engine/substitution.h"

namespace abc {

std::string ShiftTextBack(WorkbenchState &state, std::string_view text, CipherMethod method)
{
    const int period = ShiftPeriod(method);
    const auto end = static_cast<std::int64_t>(text.size()) + 1;
    std::string result;
    result.reserve(text.size());
    state.TextCursor = 1;
    state.ShiftCounter = 0;
    while (state.TextCursor != end) {
        if (state.ShiftCounter == period) {
            state.ShiftCounter = 0;
            continue;
        }
        int code = static_cast<unsigned char>(text[state.TextCursor - 1]) - state.ShiftCounter;
        if (code < 'A')
            code += 26;
        result += static_cast<char>(code);
        ++state.ShiftCounter;
        ++state.TextCursor;
    }
    return result;
}

} // namespace abc
