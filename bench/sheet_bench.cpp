// Sheets of labels from a 10,000-line list, side by side with the plain text encoder on the same
// list. Each run is a whole process; `peak_MB` is the largest resident size of one run of that
// benchmark. SW_BASELINE_ENCODE_EXE names another build of the encoder (an earlier version, say)
// whose UPC-A sheet is measured in the same run (`Baseline_Pdf_UpcA_5163`).
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

namespace {

constexpr int kItems = 10'000;

std::filesystem::path WriteList(const char* name, bool digits) {
    auto p = std::filesystem::temp_directory_path() / name;
    std::mt19937 rng(1);
    const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    std::uniform_int_distribution<std::size_t> pick(0, digits ? 9 : alphabet.size() - 1);
    std::uniform_int_distribution<int> length(6, 14);
    std::string text;
    for (int line = 0; line < kItems; ++line) {
        for (int k = digits ? 11 : length(rng); k > 0; --k) text += alphabet[pick(rng)];
        text += '\n';
    }
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size() ||
        std::fclose(f) != 0) {
        std::fprintf(stderr, "cannot write %s\n", p.c_str());
        std::exit(1);
    }
    return p;
}

const std::filesystem::path& Code39List() {
    static const auto path = WriteList("sw_bench_labels_39.txt", false);
    return path;
}
const std::filesystem::path& UpcList() {
    static const auto path = WriteList("sw_bench_labels_upc.txt", true);
    return path;
}

const std::string kDir = std::filesystem::temp_directory_path().string();

extern "C" char** environ;

// Runs `line` through the shell, which execs the program (the commands start with "exec"), so
// that the resources of the process waited for are the program's. Returns its peak resident
// size in kilobytes, or -1 when it failed.
long RunOnce(const std::string& line) {
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

void RunCommand(benchmark::State& state, const std::string& command,
                const std::filesystem::path& list) {
    const std::string line = command + " < '" + list.string() + "'";
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
    state.SetItemsProcessed(state.iterations() * kItems);
}

void Text_Code39(benchmark::State& s) {
    RunCommand(s, std::string("exec ") + SW_ENCODE_EXE + " --type 39 > /dev/null", Code39List());
}
void Rtf_Code39_5160(benchmark::State& s) {
    RunCommand(s,
               std::string("exec ") + SW_ENCODE_EXE + " --type 39 --sheet 5160 --output '" + kDir +
                   "/sw_bench_labels.rtf'",
               Code39List());
}
void Pdf_Code39_5160(benchmark::State& s) {
    RunCommand(s,
               std::string("exec ") + SW_ENCODE_EXE + " --type 39 --sheet 5160 --output '" + kDir +
                   "/sw_bench_labels.pdf'",
               Code39List());
}
void Pdf_Code39_5160_Text(benchmark::State& s) {
    RunCommand(s,
               std::string("exec ") + SW_ENCODE_EXE + " --type 39 --sheet 5160 --text --output '" +
                   kDir + "/sw_bench_labels.pdf'",
               Code39List());
}
void Text_UpcA(benchmark::State& s) {
    RunCommand(s, std::string("exec ") + SW_ENCODE_EXE + " --type upc > /dev/null", UpcList());
}
void Pdf_UpcA_5163(benchmark::State& s) {
    RunCommand(s,
               std::string("exec ") + SW_ENCODE_EXE + " --type upc --sheet 5163 --output '" + kDir +
                   "/sw_bench_labels.pdf'",
               UpcList());
}

BENCHMARK(Text_Code39)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Rtf_Code39_5160)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Pdf_Code39_5160)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Pdf_Code39_5160_Text)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Text_UpcA)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Pdf_UpcA_5163)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

[[maybe_unused]] const bool kBaseline = [] {
    const char* exe = std::getenv("SW_BASELINE_ENCODE_EXE");
    if (exe == nullptr || *exe == '\0')
        return false;
    const std::string base = exe;
    benchmark::RegisterBenchmark("Baseline_Pdf_UpcA_5163",
                                 [base](benchmark::State& s) {
                                     RunCommand(s,
                                                "exec " + base +
                                                    " --type upc --sheet 5163 --output '" + kDir +
                                                    "/sw_bench_labels_baseline.pdf'",
                                                UpcList());
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
