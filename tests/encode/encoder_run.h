// Runs the command-line encoder in process, with temporary files for its streams, and commands
// through the shell, for the tests of the encoder.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "encode/encoder_cli.h"

namespace sw::test {

struct EncoderRun {
    int status;
    std::string out;
    std::string err;
};

// `input` as the standard input; the writers are handed the pictures and sheets.
EncoderRun Encode(const std::vector<std::string>& args, const std::string& input = "",
                  const PictureWriter& pictures = {}, const SheetWriter& sheets = {});

// All that `f` holds, from its start.
std::string ReadAll(std::FILE* f);

// What `command`, run by the shell, writes to its standard output.
std::string Shell(const std::string& command);

}  // namespace sw::test
