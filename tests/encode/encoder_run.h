// Runs the command-line encoder in process, with temporary files for its streams, and commands
// through the shell, for the tests of the encoder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "encode/encoder_cli.h"

// Tests that limit the encoder's address space (ulimit -v) skip themselves with this in the
// AddressSanitizer build, whose shadow memory takes more than any such limit.
#if defined(__SANITIZE_ADDRESS__)
#define SW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SW_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef SW_ADDRESS_SANITIZER
#define SW_SKIP_UNDER_A_MEMORY_LIMIT() \
    GTEST_SKIP() << "the address sanitizer cannot run in a limited address space"
#else
#define SW_SKIP_UNDER_A_MEMORY_LIMIT() (void)0
#endif

namespace sw::test {

struct EncoderRun {
    int status;
    std::string out;
    std::string err;
};

// All that `f` holds, from its start.
inline std::string ReadAll(std::FILE* f) {
    std::rewind(f);
    std::string s;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

// `input` as the standard input; the writers are handed the pictures and sheets.
inline EncoderRun Encode(const std::vector<std::string>& args, const std::string& input = "",
                         const PictureWriter& pictures = {}, const SheetWriter& sheets = {}) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    EncoderRun r{};
    r.status = EncoderMain(args, in, out, err, pictures, sheets);
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return r;
}

// What `command`, run by the shell, writes to its standard output.
inline std::string Shell(const std::string& command) {
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
}

}  // namespace sw::test
