#pragma once

#include <string>
#include <vector>

#include "analysis/key_search.h"

namespace abc::search {

// Reads every message under the candidate's order and method, and finds the
// probable words in the plaintexts: fills candidate.messages and
// candidate.cribs.
void ReadMessages(Candidate &candidate, const std::vector<std::string> &cipherTexts,
                  const std::vector<std::string> &cribs);

} // namespace abc::search
