// For the benchmarks that run the command-line encoder as a whole process on a list of items.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace sw::bench {

// Writes `items` lines to `name` in the temporary folder, the same every time: 6 to 14 Code 3
// of 9 characters a line, or 11 digits when `digits`. Exits when the file cannot be written.
std::filesystem::path WriteItemList(const char* name, int items, bool digits = false);

// Runs `command` through the shell once an iteration, with `list` on its standard input, or
// piped to it by `cat` when `piped`. Counts `items` a run, and `peak_MB`, the largest resident
// size of one run (the program's own when the command starts with "exec").
void RunCommand(benchmark::State& state, const std::string& command,
                const std::filesystem::path& list, int items, bool piped = false);

}  // namespace sw::bench
