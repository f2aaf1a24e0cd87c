// Picture output of the command-line encoder: the one item encoded and handed to the writer.
#pragma once

#include <cstdio>

#include "encode/encoder_options.h"

namespace sw {

// Encodes the one item of `options` (which carry picture options) and hands its font string to
// `pictures` for each file; reports failures on `err`. Returns the exit status.
int RunPicture(const EncoderOptions& options, std::FILE* err, const PictureWriter& pictures);

}  // namespace sw
