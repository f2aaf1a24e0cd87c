// Sheets of labels from a 10,000-line list, side by side with the plain text encoder on the same
// list. Each run is a whole process; `peak_MB` is the largest resident size of one run of that
// benchmark. SW_BASELINE_ENCODE_EXE names another build of the encoder (an earlier version, say)
// whose UPC-A sheet is measured in the same run (`Baseline_Pdf_UpcA_5163`).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "encoder_process.h"

namespace {

constexpr int kItems = 10'000;

const std::filesystem::path& Code39List() {
    static const auto path = sw::bench::WriteItemList("sw_bench_labels_39.txt", kItems);
    return path;
}
const std::filesystem::path& UpcList() {
    static const auto path = sw::bench::WriteItemList("sw_bench_labels_upc.txt", kItems, true);
    return path;
}

const std::string kDir = std::filesystem::temp_directory_path().string();

void RunCommand(benchmark::State& state, const std::string& command,
                const std::filesystem::path& list) {
    sw::bench::RunCommand(state, command, list, kItems);
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
