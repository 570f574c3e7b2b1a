#pragma once

#include <functional>
#include <random>
#include <vector>

#include "analysis/joint_scorer.h"

namespace abc::search {

// Climbs several messages under one key whose last rows are ragged. Their
// long columns are the key's first positions, as many as each message's
// length mod the key length, so one order fixes where every column of
// every message starts; a wrong order moves those starts with every move
// and the climb finds nothing to hold on to. Here the order is climbed
// under the starts of a guessed order held fixed, where a wrong guess costs
// a letter here and there, and the climbed order is the next guess, until
// the two agree. Leaves rankOf to the exact climb; false when halted.
bool ClimbUnderSharedStarts(const JointScorer &scorer, std::vector<int> &rankOf, std::mt19937_64 &random,
                            long &evaluations, const std::function<bool()> &halted);

// Climbs by random moves with every message's columns read from where the
// order startsFrom starts them, held fixed. A walk's kick moves long
// columns and with them the start of every column read after them; read
// from where the walk read, the kicked order mends its joins first. False
// when halted.
bool ClimbUnderStartsOf(const JointScorer &scorer, const std::vector<int> &startsFrom, std::vector<int> &rankOf,
                        std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted,
                        double patienceShare);

} // namespace abc::search
