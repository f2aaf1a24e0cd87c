#include "encode/picture_dispatch.h"

#include "barcode/make.h"
#include "barcode/text.h"
#include "encode/line_encoding.h"

namespace sw {

int RunPicture(const EncoderOptions& options, std::FILE* err, const PictureWriter& pictures) {
    const PictureOptions& p = *options.picture;
    const EncodeResult r =
        MakeFontString(options.type, DecodeUtf8(options.items.front()), options.checksum);
    std::string message;
    int status = kExitOk;
    if (!r.ok()) {
        message = "line 1: " + ShowControlBytes(r.message()) + "\n";
        status = kExitItemFailed;
    } else if (!pictures) {
        message = "stripewright-encode: this build cannot write pictures\n";
        status = kExitUsage;
    } else {
        // Every file is attempted: one that cannot be written does not keep the others back.
        for (const PictureFile& f : p.files) {
            const WriteOutcome outcome = pictures(
                PictureRequest{options.type, p.height, p.points, p.dpi,
                               AloneWithQuietZones(options.type, r.fontString()), f.format},
                f.file);
            if (!outcome.ok()) {
                message += "stripewright-encode: " + outcome.message + "\n";
                status = outcome.status;
            }
        }
    }
    if (!message.empty())
        std::fputs(message.c_str(), err);
    std::fflush(err);
    return status;
}

}  // namespace sw
