#pragma once

#include <functional>
#include <random>
#include <vector>

#include "analysis/joint_scorer.h"

namespace abc::search {

// Several messages under one key whose last rows are ragged: their long
// columns are the key's first positions, as many as each message's length
// mod the key length, so one order fixes where every column of every
// message starts. A walk's kick moves long columns and with them the start
// of every column read after them. This climbs by random moves with every
// message's columns read from where the order startsFrom starts them, held
// fixed, so that the kicked order mends its joins first. False when halted.
bool ClimbUnderStartsOf(const JointScorer &scorer, const std::vector<int> &startsFrom, std::vector<int> &rankOf,
                        std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted,
                        double patienceShare);

} // namespace abc::search
