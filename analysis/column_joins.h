#pragma once

#include <cstdint>
#include <vector>

namespace abc::search {

// Which columns of a ragged matrix are long, told by how well the columns'
// stretches of ciphertext join side by side, row by row. Over tall columns
// a stretch's letter shares hardly depend on where it starts, but its join
// with its true neighbour does: moved by one letter against it, every row
// pairs the wrong letters. Each guess at the long columns puts every
// stretch at one start; the best guesses are those under which the most
// stretches find a neighbour they join well with on either side.
//
// Returns up to count guesses, best first, each the start of every column
// read by reading rank; none for a matrix that is not ragged.
std::vector<std::vector<int>> GuessStartsFromJoins(const std::vector<std::uint8_t> &letters, int columns, int period,
                                                   int count);

} // namespace abc::search
