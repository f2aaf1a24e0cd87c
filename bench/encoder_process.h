// For the benchmarks that run the command-line encoder as a whole process on a list of items.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

extern "C" char** environ;

namespace sw::bench {

// Writes `count` lines to `name` in the temporary folder, line(i) for each i in turn (with its
// line end), and returns its path. Line by line, so that this process stays small: a child's
// peak resident size starts from the peak of the process that spawned it. Exits when the file
// cannot be written.
template <class Line>
std::filesystem::path WriteLines(const char* name, int count, Line line) {
    auto p = std::filesystem::temp_directory_path() / name;
    std::FILE* f = std::fopen(p.c_str(), "wb");
    bool written = f != nullptr;
    for (int i = 0; written && i < count; ++i) {
        const std::string text = line(i);
        written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    }
    if (f != nullptr && std::fclose(f) != 0)
        written = false;
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", p.c_str());
        std::exit(1);
    }
    return p;
}

// Writes `items` lines to `name` in the temporary folder, the same every time: 6 to 14 Code 3
// of 9 characters a line, or 11 digits when `digits`.
inline std::filesystem::path WriteItemList(const char* name, int items, bool digits = false) {
    std::mt19937 rng(1);
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    std::uniform_int_distribution<std::size_t> pick(0, digits ? 9 : alphabet.size() - 1);
    std::uniform_int_distribution<int> length(6, 14);
    return WriteLines(name, items, [&](int) {
        std::string text;
        for (int k = digits ? 11 : length(rng); k > 0; --k) text += alphabet[pick(rng)];
        return text + '\n';
    });
}

// Runs `line` through the shell and returns the peak resident size in kilobytes of it and what
// it waited for, or -1 when it failed.
inline long RunOnce(const std::string& line) {
    const char* argv[] = {"sh", "-c", line.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// Runs `command` through the shell once an iteration, with `list` on its standard input, or
// piped to it by `cat` when `piped`. Counts `items` a run, and `peak_MB`, the largest resident
// size of one run (the program's own when the command starts with "exec").
inline void RunCommand(benchmark::State& state, const std::string& command,
                       const std::filesystem::path& list, int items, bool piped = false) {
    // Built by appending, which GCC 12 at -O3 does not misread.
    std::string file = "'";
    file += list.string();
    file += "'";
    std::string line = piped ? "cat " : command;
    line += piped ? file + " | " + command : " < " + file;
    long peak = 0;
    for (auto _ : state) {
        const long kb = RunOnce(line);
        if (kb < 0) {
            state.SkipWithError("command failed");
            break;
        }
        peak = std::max(peak, kb);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
    state.SetItemsProcessed(state.iterations() * items);
}

}  // namespace sw::bench
