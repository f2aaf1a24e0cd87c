// A CSV file of 1,000,000 rows written back with a column of font strings (--csv --append), to
// standard output, through a pipe and to a file. Each run is a whole process; `peak_MB` is its
// largest resident size. SW_BASELINE_ENCODE_EXE names another build of the encoder (an earlier
// version, say) measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "encoder_process.h"

namespace {

constexpr int kRows = 1'000'000;

// id, a quoted name with a comma, a Code 3 of 9 SKU and a price, CRLF line endings: 41 MB.
const std::filesystem::path& CsvFile() {
    static const auto path = sw::bench::WriteLines("sw_bench_rows.csv", kRows + 1, [](int i) {
        if (i == 0)
            return std::string("id,name,sku,price\r\n");
        char row[96];
        --i;
        std::snprintf(row, sizeof row, "%d,\"Bolt, hex M%d\",SKU-%07d,%d.%02d\r\n", i, i % 20, i,
                      i % 100, i % 97);
        return std::string(row);
    });
    return path;
}

const std::string kDir = std::filesystem::temp_directory_path().string();
const std::string kAppend = " --type 39 --csv --column 3 --header --append";

void Register(const std::string& name, const std::string& exe) {
    const std::string toFile = " --output '" + kDir + "/sw_bench_rows_" + name + ".csv'";
    struct Run {
        const char* what;
        std::string options;
        bool piped;
    };
    const Run runs[] = {
        {"Append_Rows_Stdout", " > /dev/null", false},
        {"Append_Rows_Piped", " > /dev/null", true},
        {"Append_Rows_ToFile", toFile, false},
    };
    for (const Run& run : runs) {
        const std::string command = "exec " + exe + kAppend + run.options;
        const bool piped = run.piped;
        benchmark::RegisterBenchmark((name + "_" + run.what).c_str(),
                                     [command, piped](benchmark::State& s) {
                                         sw::bench::RunCommand(s, command, CsvFile(), kRows, piped);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    Register("After", SW_ENCODE_EXE);
    const char* base = std::getenv("SW_BASELINE_ENCODE_EXE");
    if (base != nullptr && *base != '\0')
        Register("Before", base);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
