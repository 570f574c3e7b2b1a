#pragma once

#include <QString>

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/key_search.h"
#include "cli/options.h"

// What a --find-key request asks of the key search, and what the search's
// result says, for one file, a batch and a pile under one key alike.

abc::search::SearchOptions SearchOptionsFor(const Request &request);

// Why the result gives no key under which the text reads as German; empty
// when it does.
QString SearchError(const abc::search::SearchResult &result);

// Whether every probable word fits into the longest message (none when no
// message has letters); says which does not.
bool CribsFit(const std::vector<std::string> &cribs, std::size_t longestMessage, bool severalMessages,
              std::ostream &err);

// Names the files that gave no key, at the end of a batch.
void ReportUnsolved(const std::vector<std::string> &quotedFiles, std::size_t fileCount, std::ostream &err);
