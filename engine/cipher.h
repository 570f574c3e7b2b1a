#pragma once

#include <string>
#include <string_view>

#include "engine/column_key.h"
#include "engine/workbench_state.h"

namespace abc {

// The cipher the workbench undoes: letter i (1-based) is shifted forward by
// (i - 1) mod P, then the result is written row by row under the key and the
// columns are read in the key's column order (KeyColumnOrder). Expects
// capitals only and a key of capitals: a column under another character
// would never be read, and its letters would be lost.
std::string EncipherText(std::string_view plainText, std::string_view key, CipherMethod method);

// Undoes the cipher for a column order, without a grid: what the window's
// five steps give for a key with that order.
std::string DecipherWithOrder(std::string_view cipherText, const ColumnOrder &order, CipherMethod method);

} // namespace abc
