#pragma once

// How soon a search must have stopped: the engine checks its stop token
// within a tenth of a second (but not while it reads the word list at the
// first search of a process); the rest is a loaded machine, and the
// sanitizers slow the search five to ten times.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int StopMilliseconds = 3000;
#else
constexpr int StopMilliseconds = 500;
#endif
