// The command-line encoder: turns data items into font strings, one output line per item.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "barcode/catalogue.h"

namespace sw {

enum class OutputEncoding { Utf8, Cp1252 };

struct EncoderOptions {
    BarCodeType type = BarCodeType::Type39;
    bool checksum = false;
    OutputEncoding encoding = OutputEncoding::Utf8;
    bool haveItems = false;          // data came as arguments rather than on standard input
    std::vector<std::string> items;  // the data arguments, as given (UTF-8)
};

enum ExitStatus { kExitOk = 0, kExitItemFailed = 1, kExitUsage = 2, kExitIoError = 3 };

struct ParseOutcome {
    std::optional<EncoderOptions> options;  // set when the encoder should run
    int status = kExitOk;                   // exit status when it should not
    std::string out;                        // text for standard output (help, version)
    std::string err;                        // text for standard error (usage errors)
};

ParseOutcome ParseEncoderArguments(const std::vector<std::string>& args);

// Encodes every item and writes one line per item to `out`; failures go to `err` as
// "line N: message". Reads `in` line by line when the options carry no items.
int RunEncoder(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

// The whole program: parse, then run. `args` excludes the program name.
int EncoderMain(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
                std::FILE* err);

std::string EncoderUsage();

}  // namespace sw
