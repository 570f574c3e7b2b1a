#pragma once

#include <iosfwd>

#include "cli/options.h"

// --find-key: one file, a batch of unrelated files searched one after another
// (each read when its turn comes and dropped once its result is printed), or
// with --same-key files that hold messages under one key.
int FindKeys(const Request &request, std::istream &in, std::ostream &out, std::ostream &err);
