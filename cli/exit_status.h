#pragma once

// The command line's exit statuses, as --help and the manual page list them.
inline constexpr int Success = 0;
inline constexpr int NoResult = 1;
inline constexpr int BadUsage = 2;
