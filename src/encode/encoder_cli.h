// The command-line encoder: turns data items into font strings, one output line per item.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "encode/encoder_options.h"

namespace sw {

struct ParseOutcome {
    std::optional<EncoderOptions> options;  // set when the encoder should run
    int status = kExitOk;                   // exit status when it should not
    std::string out;                        // text for standard output (help, version)
    std::string err;                        // text for standard error (usage errors)
};

ParseOutcome ParseEncoderArguments(const std::vector<std::string>& args);

// Encodes every item and writes one line per item to `out`; failures go to `err` as
// "line N: message". Reads `in` line by line when the options carry no items.
// With pictures asked for, encodes the one item and hands it to `pictures` instead, once for
// each file.
// With a sheet asked for, encodes every item first and hands the job to `sheets`.
int RunEncoder(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err,
               const PictureWriter& pictures = {}, const SheetWriter& sheets = {});

// The whole program: parse, then run. `args` excludes the program name.
int EncoderMain(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err,
                const PictureWriter& pictures = {}, const SheetWriter& sheets = {});

std::string EncoderUsage();

}  // namespace sw
