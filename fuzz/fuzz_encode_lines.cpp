// Fuzzes the command-line encoder's reading: the input as one stream, arriving through a pipe in
// pieces of fuzzed sizes, must give exactly what the same lines give one by one as items: the
// same output, the same messages, the same exit status.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "barcode/catalogue.h"
#include "encode/line_encoding.h"
#include "fuzz_check.h"

using sw::fuzz::Check;

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

// Runs the encoder with `in` (may be null), collecting what it writes.
Run Encode(const sw::EncoderOptions& options, std::FILE* in) {
    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outSize = 0;
    std::size_t errSize = 0;
    std::FILE* out = ::open_memstream(&outText, &outSize);
    std::FILE* err = ::open_memstream(&errText, &errSize);
    Check(out != nullptr && err != nullptr);
    Run run{sw::EncodeText(options, in, out, err), {}, {}};
    std::fclose(out);
    std::fclose(err);
    run.out.assign(outText, outSize);
    run.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first byte picks the type and options, the second the sizes of the pieces.
    sw::EncoderOptions options;
    options.type = sw::kBarCodeTypes[data[0] % std::size(sw::kBarCodeTypes)].type;
    options.checksum = (data[0] & 0x10) != 0;
    options.encoding =
        (data[0] & 0x20) != 0 ? sw::OutputEncoding::Cp1252 : sw::OutputEncoding::Utf8;
    const std::size_t piece = 1 + data[1];
    const std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);

    int fds[2];
    Check(::pipe(fds) == 0);
    std::thread writer([&] {
        for (std::size_t at = 0; at < input.size(); at += piece) {
            const std::size_t n = std::min(piece, input.size() - at);
            Check(::write(fds[1], input.data() + at, n) == static_cast<ssize_t>(n));
        }
        ::close(fds[1]);
    });
    std::FILE* in = ::fdopen(fds[0], "r");
    Check(in != nullptr);
    const Run whole = Encode(options, in);
    writer.join();
    std::fclose(in);

    // The same lines as items: split at newlines, one carriage return at the end of each dropped,
    // a last line without a newline counted when it holds anything.
    sw::EncoderOptions items = options;
    items.haveItems = true;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = input.size();
        std::string line = input.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        items.items.push_back(line);
        start = end + 1;
    }
    if (items.items.empty())
        return 0;
    const Run oneByOne = Encode(items, nullptr);
    Check(whole.status == oneByOne.status);
    Check(whole.out == oneByOne.out);
    Check(whole.err == oneByOne.err);
    return 0;
}
