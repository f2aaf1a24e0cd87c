// Encode calls through libstripewright's C interface, into the caller's buffer and into a new
// one, side by side with the core's own entry on the same UTF-8 item: decoding it, encoding it
// and writing the font string back as UTF-8, which is what any caller of the core has to do.
#include <benchmark/benchmark.h>

#include <string>

#include "barcode/make.h"
#include "barcode/text.h"
#include "stripewright.h"

namespace {

void Core(benchmark::State& state, const char* type, const char* data, bool checksum) {
    const sw::BarCodeType t = *sw::TypeFromName(type);
    for (auto _ : state) {
        const sw::EncodeResult r = sw::MakeFontString(t, sw::DecodeUtf8(data), checksum);
        std::string out = sw::EncodeUtf8(r.fontString());
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void Buffer(benchmark::State& state, const char* type, const char* data, bool checksum) {
    char out[512];
    for (auto _ : state) {
        size_t length;
        benchmark::DoNotOptimize(
            stripewright_encode(type, data, checksum, out, sizeof out, &length));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void Alloc(benchmark::State& state, const char* type, const char* data, bool checksum) {
    for (auto _ : state) {
        char* result;
        benchmark::DoNotOptimize(stripewright_encode_alloc(type, data, checksum, &result));
        stripewright_free(result);
    }
    state.SetItemsProcessed(state.iterations());
}

#define SW_LIBRARY_BENCH(name, type, data, checksum)       \
    BENCHMARK_CAPTURE(Core, name, type, data, checksum);   \
    BENCHMARK_CAPTURE(Buffer, name, type, data, checksum); \
    BENCHMARK_CAPTURE(Alloc, name, type, data, checksum)

SW_LIBRARY_BENCH(Code39_CODE_39_check, "39", "CODE 39", true);
SW_LIBRARY_BENCH(UpcA_03600029145, "UPC", "03600029145", false);
SW_LIBRARY_BENCH(Code128_AB123456cd, "128", "AB123456cd", false);
SW_LIBRARY_BENCH(GS1_128_GTIN_expiry_lot, "gs1-128", "(01)09501101530003(17)261231(10)AB12", false);
SW_LIBRARY_BENCH(IMb_tracking_routing11, "imb", "01234567094987654321-01234567891", false);
SW_LIBRARY_BENCH(Code39_refused_cafe, "39", "caf\xC3\xA9", false);

}  // namespace

BENCHMARK_MAIN();
