#include "encoder_run.h"

#include <gtest/gtest.h>

namespace sw::test {

EncoderRun Encode(const std::vector<std::string>& args, const std::string& input,
                  const PictureWriter& pictures, const SheetWriter& sheets) {
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

std::string ReadAll(std::FILE* f) {
    std::rewind(f);
    std::string s;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

std::string Shell(const std::string& command) {
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
