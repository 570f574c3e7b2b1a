#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/workbench_state.h"

// What the arguments ask the command line to do. Reading them opens no file
// and prints nothing, so that any argument list can be tried.

enum class Command { Window, FindKey, Encipher, Decipher, Help, Version };

inline constexpr int MaxTimeLimitSeconds = 86400;
inline constexpr unsigned MaxThreads = 1024;

struct Request {
    // Window: none of the command line's options is given, so the window starts.
    Command command = Command::Window;
    bool json = false;
    double timeLimit = 30.0;
    unsigned threads = 0; // every core
    // As the keyword box takes it when typed; set for --encipher and --decipher.
    std::string key;
    abc::CipherMethod method = abc::CipherMethod::ABC;
    // Files as given, or "-" alone for standard input; several only for
    // --find-key: a batch of unrelated messages, or with sameKey messages
    // under one key.
    std::vector<std::string> files{"-"};
    bool sameKey = false;
    // Probable words of --find-key, cleaned as the text is: never empty.
    std::vector<std::string> cribs;
};

struct UsageError {
    std::string message; // without the program's name
};

// The arguments after the program name, as the system passed them.
std::variant<Request, UsageError> ParseArguments(const std::vector<std::string> &arguments);

std::string_view HelpText();
