#pragma once

// Messages for the key search's benchmarks: stretches of German that the
// n-gram table was not counted from (every tenth saying of the corpus),
// enciphered under random keys.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "engine/cipher.h"

namespace bench {

inline int EnvInt(const char *name, int fallback)
{
    const char *value = std::getenv(name);
    return value ? std::max(1, std::atoi(value)) : fallback;
}

inline const std::string &HeldOut()
{
    static const std::string text = [] {
        std::ifstream in(HELD_OUT_TEXT);
        std::string all;
        std::string line;
        while (std::getline(in, line))
            all += line;
        return all;
    }();
    return text;
}

inline std::string RandomKey(std::mt19937_64 &random, int columns)
{
    std::string key;
    for (int i = 0; i < columns; ++i)
        key += static_cast<char>('A' + random() % 26);
    return key;
}

// How many letters of a plaintext came out right.
inline int RightLetters(const std::string &found, const std::string &plain)
{
    int right = 0;
    for (std::size_t i = 0; i < plain.size() && i < found.size(); ++i)
        right += found[i] == plain[i];
    return right;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
