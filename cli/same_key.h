#pragma once

#include <iosfwd>

#include "cli/options.h"

// --find-key --same-key: the files hold messages under one key, searched
// together; the key once, then every file's plaintext.
int FindSharedKeyOfFiles(const Request &request, std::istream &in, std::ostream &out, std::ostream &err);
