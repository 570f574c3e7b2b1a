#pragma once

#include <string>
#include <vector>

namespace abc {

// The keywords the keyword box lists, in its order; the key search tries
// them first. Built from keywords.txt.
const std::vector<std::string> &BuiltInKeywords();

} // namespace abc
