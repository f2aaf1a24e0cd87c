// Time per encode for each type, on the worked examples and on a 1,000-character input.
#include <benchmark/benchmark.h>

#include <string>

#include "barcode/make.h"

namespace {

using sw::BarCodeType;

void Encode(benchmark::State& state, BarCodeType type, std::u32string text, bool checksum) {
    for (auto _ : state) {
        sw::EncodeResult r = sw::MakeFontString(type, text, checksum);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}

std::u32string Repeat(std::u32string_view unit, std::size_t n) {
    std::u32string s;
    while (s.size() < n) s += unit;
    s.resize(n);
    return s;
}

BENCHMARK_CAPTURE(Encode, Code25_123, BarCodeType::Type25, U"123", false);
BENCHMARK_CAPTURE(Encode, Code25i_1234567890, BarCodeType::Type25i, U"1234567890", false);
BENCHMARK_CAPTURE(Encode, Code25i_123_check, BarCodeType::Type25i, U"123", true);
BENCHMARK_CAPTURE(Encode, Code39_1234ABCD, BarCodeType::Type39, U"1234ABCD", false);
BENCHMARK_CAPTURE(Encode, Code39_CODE_39_check, BarCodeType::Type39, U"CODE 39", true);
BENCHMARK_CAPTURE(Encode, PostNet_123456789, BarCodeType::TypePost, U"123456789", false);
BENCHMARK_CAPTURE(Encode, UpcA_03600029145, BarCodeType::TypeUPC, U"03600029145", false);
BENCHMARK_CAPTURE(Encode, Code128_Code_128, BarCodeType::Type128, U"Code 128", false);
BENCHMARK_CAPTURE(Encode, Code128_AB123456cd, BarCodeType::Type128, U"AB123456cd", false);
BENCHMARK_CAPTURE(Encode, GS1_128_GTIN_expiry_lot, BarCodeType::TypeGS1_128,
                  U"(01)09501101530003(17)261231(10)AB12", false);
BENCHMARK_CAPTURE(Encode, GS1_128_GTIN_lot_serial, BarCodeType::TypeGS1_128,
                  U"(01)09501101530003(10)AB12(21)1234", false);
BENCHMARK_CAPTURE(Encode, Ean13_590123412345, BarCodeType::TypeEAN13, U"590123412345", false);
BENCHMARK_CAPTURE(Encode, IMb_tracking_routing11, BarCodeType::TypeIMb,
                  U"01234567094987654321-01234567891", false);

BENCHMARK_CAPTURE(Encode, Code25_1000, BarCodeType::Type25, Repeat(U"0123456789", 1000), false);
BENCHMARK_CAPTURE(Encode, Code25i_1000, BarCodeType::Type25i, Repeat(U"0123456789", 1000), false);
BENCHMARK_CAPTURE(Encode, Code39_1000_check, BarCodeType::Type39,
                  Repeat(U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", 1000), true);
// PostNet and UPC-A take fixed lengths: a 1,000-character input is refused on its length.
BENCHMARK_CAPTURE(Encode, PostNet_1000, BarCodeType::TypePost, Repeat(U"0123456789", 1000), false);
BENCHMARK_CAPTURE(Encode, UpcA_1000, BarCodeType::TypeUPC, Repeat(U"0123456789", 1000), false);
BENCHMARK_CAPTURE(Encode, Code128_1000, BarCodeType::Type128,
                  Repeat(U"Lot 4711-0815/ab\t12345678", 1000), false);

}  // namespace

BENCHMARK_MAIN();
