#pragma once

#include <optional>
#include <string>
#include <vector>

// The workbench without its window: key search, enciphering and deciphering
// of a text read from a file or standard input. It runs before any
// application object exists, so none of it needs a display.

// Runs what the arguments (those after the program name) ask for and returns
// the exit status, or nothing when they name none of the command line's
// options and the window should start. Qt's own options (-platform, -style,
// ...) are left to the window; any other option is refused.
// Reads standard input and writes standard output and error.
std::optional<int> RunCommandLine(const std::vector<std::string> &arguments);
