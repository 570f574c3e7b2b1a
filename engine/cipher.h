#pragma once

#include <string>
#include <string_view>

#include "engine/workbench_state.h"

namespace abc {

// The cipher the workbench undoes: letter i (1-based) is shifted forward by
// (i - 1) mod P, then the result is written row by row under the key and the
// columns are read in the alphabetical order of the key letters, equal
// letters left to right. Expects capitals only and a non-empty key.
std::string EncipherText(std::string_view plainText, std::string_view key, CipherMethod method);

} // namespace abc
