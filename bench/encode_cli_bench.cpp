// The command-line encoder on a 1,000,000-line Code 3 of 9 file, side by side with `cat` of the
// same file as the floor. Both write to /dev/null and to a file. Also the largest PNG pictures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "encoder_process.h"

namespace {

constexpr int kLines = 1'000'000;

// Runs `command` with the file on its standard input, or piped to it by `cat` when `piped`.
void RunCommand(benchmark::State& state, const std::string& command, bool piped = false) {
    static const auto input = sw::bench::WriteItemList("sw_bench_code39_1m.txt", kLines);
    sw::bench::RunCommand(state, command, input, kLines, piped);
}

const std::string kOut = (std::filesystem::temp_directory_path() / "sw_bench_out.txt").string();

void Cat_DevNull(benchmark::State& s) {
    RunCommand(s, "exec cat > /dev/null");
}
void Encoder_DevNull(benchmark::State& s) {
    RunCommand(s, std::string("exec ") + SW_ENCODE_EXE + " --type 39 > /dev/null");
}
void Cat_File(benchmark::State& s) {
    RunCommand(s, "exec cat > '" + kOut + "'");
}
void Encoder_File(benchmark::State& s) {
    RunCommand(s, std::string("exec ") + SW_ENCODE_EXE + " --type 39 > '" + kOut + "'");
}

// Through a pipe, where reads may return less than a block and the encoder then hands over
// what it has done.
void Cat_Pipe(benchmark::State& s) {
    RunCommand(s, "cat > /dev/null", true);
}
void Encoder_Pipe(benchmark::State& s) {
    RunCommand(s, std::string(SW_ENCODE_EXE) + " --type 39 > /dev/null", true);
}

// The picture of "A" with tall bars at 400 points and the resolution in the argument, drawn by
// `exe` as a whole process; `peak_MB` is its largest resident size.
void RunLargestPng(benchmark::State& state, const std::string& exe) {
    std::string line = "exec ";
    line += exe;
    line += " --type 39 --height tall --size 400 --dpi " + std::to_string(state.range(0));
    line += " --png '" + (std::filesystem::temp_directory_path() / "sw_bench_large.png").string();
    line += "' A";
    long peak = 0;
    for (auto _ : state) {
        const long kb = sw::bench::RunOnce(line);
        if (kb < 0) {
            state.SkipWithError("command failed");
            break;
        }
        peak = std::max(peak, kb);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
}

void Encoder_LargestPng(benchmark::State& s) {
    RunLargestPng(s, SW_ENCODE_EXE);
}

BENCHMARK(Cat_DevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Encoder_DevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Cat_File)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Encoder_File)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Cat_Pipe)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Encoder_Pipe)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Encoder_LargestPng)
    ->Arg(1200)
    ->Arg(1980)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// SW_BASELINE_ENCODE_EXE names another build of the encoder (an earlier version, say) to be
// measured side by side with this one in the same run.
[[maybe_unused]] const bool kBaseline = [] {
    const char* exe = std::getenv("SW_BASELINE_ENCODE_EXE");
    if (exe == nullptr || *exe == '\0')
        return false;
    const std::string base = exe;
    benchmark::RegisterBenchmark(
        "Baseline_DevNull",
        [base](benchmark::State& s) { RunCommand(s, "exec " + base + " --type 39 > /dev/null"); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Baseline_File",
                                 [base](benchmark::State& s) {
                                     RunCommand(s, "exec " + base + " --type 39 > '" + kOut + "'");
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "Baseline_Pipe",
        [base](benchmark::State& s) { RunCommand(s, base + " --type 39 > /dev/null", true); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Baseline_LargestPng",
                                 [base](benchmark::State& s) { RunLargestPng(s, base); })
        ->Arg(1200)
        ->Arg(1980)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
