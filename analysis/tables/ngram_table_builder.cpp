// Builds the German letter statistics the key search scores with, from a
// folder of fortune files (one saying after another, separated by lines of
// "%"), and writes the sayings it held out for the benchmarks.
//
//   ngram-table-builder CORPUS_DIR OUTPUT.cpp HELD_OUT.txt
//
// Every tenth saying is held out; the rest is cleaned as the workbench cleans
// a message (umlauts and digits spelled out, everything else dropped) and
// counted. Files are read in name order, so the output depends on the corpus
// alone.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/german_ngrams.h"
#include "engine/text_cleaning.h"
#include "engine/windows1252.h"

namespace {

namespace fs = std::filesystem;

constexpr int Letters = 26;
constexpr int Quadgrams = Letters * Letters * Letters * Letters;
constexpr int HeldOutEvery = 10;

// Files that are not running German prose: pictures made of characters,
// English phrase lists, chat logs.
const std::array<std::string, 3> SkippedFiles = {"asciiart", "channel-debian.fortunes", "translations"};

std::vector<std::string> ReadSayings(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> sayings(1);
    std::string line;
    while (std::getline(in, line)) {
        if (line == "%")
            sayings.emplace_back();
        else
            sayings.back() += line + '\n';
    }
    return sayings;
}

int QuadgramIndex(const char *letters)
{
    int index = 0;
    for (int i = 0; i < 4; ++i)
        index = index * Letters + (letters[i] - 'A');
    return index;
}

// The fortune files of the folder, in name order; empty when there are none.
std::vector<fs::path> CorpusFiles(const fs::path &corpus)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(corpus, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || entry.is_symlink() || name.find('.') != std::string::npos)
            continue;
        if (std::find(SkippedFiles.begin(), SkippedFiles.end(), name) == SkippedFiles.end())
            files.push_back(entry.path());
    }
    if (error)
        return {};
    std::sort(files.begin(), files.end());
    return files;
}

// The cleaned sayings counted from; every tenth goes to heldOut instead.
std::vector<std::string> TrainingSayings(const std::vector<fs::path> &files, std::ostream &heldOut)
{
    std::vector<std::string> training;
    long sayingNumber = 0;
    for (const fs::path &file : files) {
        for (const std::string &saying : ReadSayings(file)) {
            std::string clean = abc::CleanInputText(abc::Utf8ToWindows1252(saying));
            if (clean.empty())
                continue;
            if (++sayingNumber % HeldOutEvery == 0)
                heldOut << clean << '\n';
            else
                training.push_back(std::move(clean));
        }
    }
    return training;
}

struct Counts {
    std::vector<std::uint32_t> quadgrams = std::vector<std::uint32_t>(Quadgrams);
    std::array<double, Letters> letters{};
    double quadgramTotal = 0;
    double letterTotal = 0;
};

Counts CountNgrams(const std::vector<std::string> &training)
{
    Counts counts;
    for (const std::string &text : training) {
        for (const char letter : text)
            counts.letters[letter - 'A'] += 1;
        counts.letterTotal += static_cast<double>(text.size());
        for (std::size_t i = 0; i + 4 <= text.size(); ++i) {
            ++counts.quadgrams[QuadgramIndex(text.data() + i)];
            counts.quadgramTotal += 1;
        }
    }
    return counts;
}

std::vector<std::uint8_t> QuadgramCosts(const Counts &counts)
{
    // An unseen quadgram counts as a tenth of one, so that rare but
    // possible junctions of words are not ruled out.
    std::vector<std::uint8_t> table(Quadgrams);
    for (int i = 0; i < Quadgrams; ++i) {
        const double count = counts.quadgrams[i] > 0 ? counts.quadgrams[i] : 0.1;
        const long cost = std::lround(-abc::search::QuadgramUnit * std::log10(count / counts.quadgramTotal));
        table[i] = static_cast<std::uint8_t>(std::clamp(cost, 0L, 255L));
    }
    return table;
}

struct MeanAndDeviation {
    double mean = 0;
    double standardDeviation = 0;
};

// How German text of 100 letters scores, so that a candidate's score can be
// judged against German of its length.
MeanAndDeviation HundredLetterScores(const std::vector<std::string> &training, const std::vector<std::uint8_t> &table)
{
    constexpr std::size_t Chunk = 100;
    std::vector<double> chunkMeans;
    for (const std::string &text : training) {
        for (std::size_t start = 0; start + Chunk <= text.size(); start += Chunk) {
            long sum = 0;
            for (std::size_t i = start; i + 4 <= start + Chunk; ++i)
                sum -= table[QuadgramIndex(text.data() + i)];
            chunkMeans.push_back(static_cast<double>(sum) / (abc::search::QuadgramUnit * (Chunk - 3.0)));
        }
    }
    MeanAndDeviation result;
    for (const double value : chunkMeans)
        result.mean += value;
    result.mean /= static_cast<double>(chunkMeans.size());
    double variance = 0;
    for (const double value : chunkMeans)
        variance += (value - result.mean) * (value - result.mean);
    result.standardDeviation = std::sqrt(variance / static_cast<double>(chunkMeans.size() - 1));
    return result;
}

void WriteTableSource(std::ostream &out, std::size_t fileCount, const Counts &counts,
                      const std::vector<std::uint8_t> &table, const MeanAndDeviation &scores)
{
    out << "// Generated by ngram-table-builder from " << fileCount << " files of German fortunes\n"
        << "// (" << static_cast<long>(counts.letterTotal) << " letters; every " << HeldOutEvery
        << "th saying held out). Do not edit.\n"
        << "#include \"analysis/german_ngrams.h\"\n\nnamespace abc::search {\n\n";
    out << "const std::array<double, 26> GermanLetterShares = {";
    for (int i = 0; i < Letters; ++i)
        out << (i % 6 == 0 ? "\n    " : " ") << counts.letters[i] / counts.letterTotal << ',';
    out << "\n};\n\n";
    char line[32];
    std::snprintf(line, sizeof line, "%.6f", scores.mean);
    out << "const double GermanQuadgramMean = " << line << ";\n";
    std::snprintf(line, sizeof line, "%.6f", scores.standardDeviation);
    out << "const double GermanQuadgramSpread100 = " << line << ";\n\n";
    out << "const std::array<std::uint8_t, " << Quadgrams << "> QuadgramCost = {";
    for (int i = 0; i < Quadgrams; ++i)
        out << (i % Letters == 0 ? "\n    " : "") << static_cast<int>(table[i]) << ',';
    out << "\n};\n\n} // namespace abc::search\n";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::cerr << "usage: ngram-table-builder CORPUS_DIR OUTPUT.cpp HELD_OUT.txt\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    const std::vector<fs::path> files = CorpusFiles(corpus);
    if (files.empty()) {
        std::cerr << "ngram-table-builder: no fortune files in " << corpus << '\n';
        return 1;
    }
    std::ofstream heldOut(argv[3], std::ios::binary);
    const std::vector<std::string> training = TrainingSayings(files, heldOut);
    const Counts counts = CountNgrams(training);
    const std::vector<std::uint8_t> table = QuadgramCosts(counts);
    const MeanAndDeviation scores = HundredLetterScores(training, table);

    std::ofstream out(argv[2], std::ios::binary);
    WriteTableSource(out, files.size(), counts, table, scores);
    if (!out || !heldOut) {
        std::cerr << "ngram-table-builder: cannot write the output\n";
        return 1;
    }
    std::cout << "German n-grams: " << static_cast<long>(counts.letterTotal) << " letters counted, mean " << scores.mean
              << " +- " << scores.standardDeviation << " per quadgram in 100 letters\n";
    return 0;
}
