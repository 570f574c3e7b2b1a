#pragma once

#include <string>
#include <string_view>

namespace abc {

// The text in groups of five characters, separated by single spaces.
std::string GroupInFives(std::string_view text);

} // namespace abc
