#include "encode/encoder_cli.h"

#include <new>

#include "encode/line_encoding.h"
#include "encode/picture_dispatch.h"
#include "encode/sheet_items.h"

namespace sw {
namespace {

int EncoderMainOrThrow(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
                       std::FILE* err, const PictureWriter& pictures, const SheetWriter& sheets) {
    ParseOutcome parsed = ParseEncoderArguments(args);
    if (!parsed.out.empty())
        std::fputs(parsed.out.c_str(), out);
    if (!parsed.err.empty())
        std::fputs(parsed.err.c_str(), err);
    if (!parsed.options) {
        return std::fflush(out) == 0 ? parsed.status : kExitIoError;
    }
    return RunEncoder(*parsed.options, in, out, err, pictures, sheets);
}

}  // namespace

int RunEncoder(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err,
               const PictureWriter& pictures, const SheetWriter& sheets) {
    if (options.sheet)
        return RunSheets(options, in, out, err, sheets);
    if (options.picture)
        return RunPicture(options, err, pictures);
    return EncodeText(options, in, out, err);
}

int EncoderMain(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err,
                const PictureWriter& pictures, const SheetWriter& sheets) {
    // Memory that cannot be had ends the run with a message and the input/output status, never
    // with an abort.
    try {
        return EncoderMainOrThrow(args, in, out, err, pictures, sheets);
    } catch (const std::bad_alloc&) {
        std::fflush(out);
        std::fputs("stripewright-encode: not enough memory\n", err);
        std::fflush(err);
        return kExitIoError;
    }
}

}  // namespace sw
