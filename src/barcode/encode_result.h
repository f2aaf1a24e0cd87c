// What an encoder returns: a font string, or exactly one error message.
#pragma once

#include <string>
#include <utility>

namespace sw {

class EncodeResult {
  public:
    static EncodeResult Success(std::u32string fontString) {
        return EncodeResult(true, std::move(fontString), {});
    }
    static EncodeResult Failure(std::string message) {
        return EncodeResult(false, {}, std::move(message));
    }

    bool ok() const { return ok_; }
    // The font string; empty on failure.
    const std::u32string& fontString() const { return fontString_; }
    // The error message in UTF-8; empty on success.
    const std::string& message() const { return message_; }

  private:
    EncodeResult(bool ok, std::u32string fontString, std::string message)
        : ok_(ok), fontString_(std::move(fontString)), message_(std::move(message)) {}

    bool ok_;
    std::u32string fontString_;
    std::string message_;
};

}  // namespace sw
