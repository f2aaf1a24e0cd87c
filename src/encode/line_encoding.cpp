#include "encode/line_encoding.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// Collects output and hands it to the stream in large pieces; remembers the first failure.
class Output {
  public:
    explicit Output(std::FILE* f) : f_(f), buffer_(2 * kChunk, '\0') {}

    // Room for at least `n` more bytes, written through the pointer and then committed.
    char* Acquire(std::size_t n) {
        if (used_ + n > buffer_.size()) {
            Flush();
            if (n > buffer_.size())
                buffer_.resize(n);
        }
        return buffer_.data() + used_;
    }
    void Commit(std::size_t n) {
        used_ += n;
        if (used_ >= kChunk)
            Flush();
    }
    void Append(std::string_view text) {
        std::memcpy(Acquire(text.size()), text.data(), text.size());
        Commit(text.size());
    }
    void Flush() {
        if (used_ != 0 && ok_)
            ok_ = std::fwrite(buffer_.data(), 1, used_, f_) == used_;
        used_ = 0;
    }
    bool Finish() {
        Flush();
        return ok_ && std::fflush(f_) == 0 && !std::ferror(f_);
    }
    // Hands over everything collected so far, to the reader at the other end.
    void Deliver() {
        Flush();
        if (ok_)
            ok_ = std::fflush(f_) == 0;
    }

  private:
    std::FILE* f_;
    std::string buffer_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

// Writes font characters straight into a buffer that has room for them, as UTF-8 or as
// Windows-1252 bytes. A font string never needs more than four bytes per input character (Code
// 128: a shift and a character drawn above "~") plus its start, stop and check characters; the
// Intelligent Mail barcode's 65 bars come from at least 20 characters.
template <bool kCp1252>
struct RawSink {
    char* start;
    char* p;
    std::size_t size() const { return static_cast<std::size_t>(p - start); }
    void Reserve(std::size_t) {}
    void Put(char32_t c) {
        if (kCp1252 || c < 0x80) {
            *p++ = static_cast<char>(static_cast<unsigned char>(c));
        } else {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    template <class View, class Map = Identity>
    void PutAll(View v, Map map = {}) {
        char* q = p;  // a local pointer: stores through it cannot alias the member
        for (auto ch : v) {
            const char32_t c = map(CodePoint(ch));
            if (kCp1252 || c < 0x80) {
                *q++ = static_cast<char>(static_cast<unsigned char>(c));
            } else {
                *q++ = static_cast<char>(0xC0 | (c >> 6));
                *q++ = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        p = q;
    }
    void Truncate(std::size_t n) { p = start + n; }
    char* Room() { return p; }
    void Advance(std::size_t n) { p += n; }
};

std::size_t RoomFor(std::size_t characters) {
    return 4 * characters + 16;
}

class ItemEncoder {
  public:
    ItemEncoder(const EncoderOptions& options, Output& out, Output& err)
        : options_(options), out_(out), err_(err) {}

    void Encode(std::string_view utf8) {
        ++line_;
        if (TooLong(options_, utf8, message_)) {
            Fail();
            return;
        }
        // Items are encoded from their bytes first. Every font character is ASCII-typed data,
        // so that succeeds only for ASCII text, where bytes and characters are the same; an
        // item that fails and holds other bytes is encoded again as decoded characters, so
        // that lengths count characters and the message names a whole character.
        bool ok = EncodeText(utf8);
        if (!ok && !IsAscii(utf8))
            ok = EncodeText(DecodeInto(utf8));
        if (!ok)
            Fail();
    }

    bool failed() const { return failed_; }
    void Deliver() {
        out_.Deliver();
        err_.Deliver();
    }

    // Encodes the whole lines of `data` (ending removed) and returns where the unfinished last
    // line starts. `data` must be followed by a newline and fifteen more readable bytes. Output
    // room is taken in large pieces; each line goes first to `fast`, which encodes it straight from
    // its bytes or returns null, and the line then takes the general path.
    template <class Fast>
    std::size_t EncodeWholeLines(std::string_view data, Fast fast) {
        const char* p = data.data();
        const char* const end = p + data.size();
        char* room = nullptr;
        char* o = nullptr;
        char* roomEnd = nullptr;
        while (p != end) {
            // Room for any line of what is left, so that `fast` need not check.
            const std::size_t need = RoomFor(static_cast<std::size_t>(end - p));
            if (static_cast<std::size_t>(roomEnd - o) < need) {
                out_.Commit(static_cast<std::size_t>(o - room));
                const std::size_t size = need + kChunk;
                o = room = out_.Acquire(size);
                roomEnd = room + size;
            }
            ++line_;
            if (char* next = fast(p, end, o, message_)) {
                o = next;
                continue;
            }
            --line_;
            const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (nl == nullptr)
                break;
            const char* lineEnd = static_cast<const char*>(nl);
            const std::string_view line =
                StripCr(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
            p = lineEnd + 1;
            out_.Commit(static_cast<std::size_t>(o - room));
            Encode(line);
            room = o = roomEnd = nullptr;
        }
        out_.Commit(static_cast<std::size_t>(o - room));
        return static_cast<std::size_t>(p - data.data());
    }

  private:
    void Fail() {
        failed_ = true;
        err_.Append("line " + std::to_string(line_) + ": " + ShowControlBytes(message_) + "\n");
        // Errors are rare; hand each one over at once so that it shows up while a long input
        // is still being read.
        err_.Flush();
        out_.Append("\n");
    }

    static bool IsAscii(std::string_view bytes) {
        unsigned char high = 0;
        for (char c : bytes) high |= static_cast<unsigned char>(c);
        return high < 0x80;
    }

    std::u32string_view DecodeInto(std::string_view utf8) {
        DecodeUtf8(utf8, text_);
        return text_;
    }

    template <class View>
    bool EncodeText(View text) {
        return options_.encoding == OutputEncoding::Cp1252 ? EncodeWith<true>(text)
                                                           : EncodeWith<false>(text);
    }

    template <bool kCp1252, class View>
    bool EncodeWith(View text) {
        char* room = out_.Acquire(RoomFor(text.size()));
        RawSink<kCp1252> sink{room, room};
        const bool ok = MakeInto(options_.type, text, options_.checksum, sink, message_);
        if (!ok)
            return false;
        *sink.p++ = '\n';
        out_.Commit(sink.size());
        return true;
    }

    const EncoderOptions& options_;
    Output& out_;
    Output& err_;
    std::u32string text_;
    std::string message_;
    unsigned long long line_ = 0;
    bool failed_ = false;
};

// Encodes the line at `p`, if it ends before `end`, from its bytes into `room`, which has space
// for its font string and newline, and moves `p` past it; returns the end of what it wrote, or
// null when the line needs the general path: a failure (where the bytes may be other than
// ASCII, to be encoded again as characters) or a line that does not end before `end`.
template <BarCodeType kType, bool kCp1252>
struct FastLine {
    bool checksum;
    [[gnu::flatten]] char* operator()(const char*& p, const char* end, char* room,
                                      std::string& message) const {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (nl == nullptr)
            return nullptr;
        const char* lineEnd = static_cast<const char*>(nl);
        const std::string_view line =
            StripCr(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        if (line.size() > Info(kType).longestData)
            return nullptr;  // refused on the general path
        RawSink<kCp1252> sink{room, room};
        if (!MakeInto<kType>(line, checksum, sink, message))
            return nullptr;
        *sink.p++ = '\n';
        p = lineEnd + 1;
        return sink.p;
    }
};

// Code 3 of 9 in one pass over the bytes: the line's end (a newline, or a carriage return and
// a newline) is found where the first byte that is not a legal character stops the copy. The
// output is ASCII in either encoding.
#if defined(__SSE2__)
// Copies the font bytes of the legal characters at `p` to `w`, sixteen at a time, up to the first
// byte that is not one, and returns their number. Reads and writes whole blocks of sixteen: up
// to fifteen bytes past that byte must be readable, and as many past the copy writable.
inline std::size_t LegalPrefix39(const char* p, char* w) {
    const auto in = [](__m128i v, char lo, char hi) {
        return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(lo - 1))),
                             _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(hi + 1))));
    };
    for (std::size_t n = 0;; n += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        // " ", "$%", "+", "-./0-9", "A-Z"; bytes above 0x7F compare as negative.
        const __m128i space = _mm_cmpeq_epi8(v, _mm_set1_epi8(' '));
        const __m128i legal =
            _mm_or_si128(_mm_or_si128(space, in(v, '$', '%')),
                         _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('+')),
                                      _mm_or_si128(in(v, '-', '9'), in(v, 'A', 'Z'))));
        // The space is drawn at "~".
        const __m128i font = _mm_add_epi8(v, _mm_and_si128(space, _mm_set1_epi8('~' - ' ')));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + n), font);
        const unsigned stop = ~static_cast<unsigned>(_mm_movemask_epi8(legal)) & 0xFFFFu;
        if (stop != 0)
            return n + static_cast<std::size_t>(__builtin_ctz(stop));
    }
}
#endif

template <bool kChecksum>
struct FastLine39 {
    char* operator()(const char*& p, const char* end, char* room, std::string&) const {
        char* const w = room + 1;
        std::uint64_t sum = 0;
        std::size_t n = 0;
#if defined(__SSE2__)
        if constexpr (!kChecksum)
            n = LegalPrefix39(p, w);
        else
#endif
            for (;; ++n) {  // the newline after `end` stops this
                const unsigned e = kCode39Entries[static_cast<unsigned char>(p[n])];
                if ((e & 0x8000u) != 0)
                    break;
                w[n] = static_cast<char>(e);
                if constexpr (kChecksum)
                    sum += e >> 8;
            }
        if (n == 0 || n > Info(BarCodeType::Type39).longestData)
            return nullptr;  // no data, an illegal first character, or too long
        const char* q = p + n;
        if (*q == '\r')
            ++q;
        if (q == end || *q != '\n')
            return nullptr;
        *room = '*';
        char* o = w + n;
        if constexpr (kChecksum)
            *o++ = static_cast<char>(Code39FontChar(kCode39Chars[sum % 43]));
        *o++ = '*';
        *o++ = '\n';
        p = q + 1;
        return o;
    }
};

// Reads up to `size` bytes of `in`: from its descriptor where it has one, so that a read returns
// what has arrived instead of waiting for a whole block. Sets `failed` on a read error.
std::size_t ReadSome(std::FILE* in, char* data, std::size_t size, bool& failed) {
    const int fd = ::fileno(in);
    if (fd < 0) {
        const std::size_t got = std::fread(data, 1, size, in);
        failed = std::ferror(in) != 0;
        return got;
    }
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR) {
            failed = true;
            return 0;
        }
    }
}

// Reads `in` and hands each line (ending removed) to the encoder. Returns false on a read error.
// Whenever a read returns less than a whole block, the writer may be waiting for the answers to
// what it sent (a program that runs the encoder beside it, line by line): they are handed over.
template <class Fast>
bool EncodeLines(std::FILE* in, ItemEncoder& encoder, Fast fast, std::size_t keep) {
    // A line that runs across chunk boundaries, of which no more than `keep` bytes are held:
    // a longer line is refused all the same, and memory stays bounded whatever the input.
    std::string pending;
    const auto hold = [&](std::string_view more) {
        pending.append(more.substr(0, keep - std::min(keep, pending.size())));
    };
    std::string chunk(kChunk + 1 + 16, '\0');  // a newline and some slack after the data
    bool failed = false;
    for (;;) {
        const std::size_t got = ReadSome(in, chunk.data(), kChunk, failed);
        if (got == 0)
            break;
        chunk[got] = '\n';
        std::string_view data(chunk.data(), got);
        if (!pending.empty()) {
            const void* nl = std::memchr(data.data(), '\n', data.size());
            if (nl == nullptr) {
                hold(data);
                continue;
            }
            const std::size_t end =
                static_cast<std::size_t>(static_cast<const char*>(nl) - data.data());
            hold(data.substr(0, end));
            encoder.Encode(StripCr(pending));
            pending.clear();
            data.remove_prefix(end + 1);
        }
        data.remove_prefix(encoder.EncodeWholeLines(data, fast));
        hold(data);
        if (got < kChunk)
            encoder.Deliver();
    }
    if (failed)
        return false;
    if (!pending.empty())
        encoder.Encode(StripCr(pending));
    return true;
}

template <BarCodeType kType>
bool EncodeLinesOf(std::FILE* in, ItemEncoder& encoder, const EncoderOptions& options) {
    const std::size_t keep = LongestLineKept(kType);
    if constexpr (kType == BarCodeType::Type39) {
        if (options.checksum)
            return EncodeLines(in, encoder, FastLine39<true>{}, keep);
        return EncodeLines(in, encoder, FastLine39<false>{}, keep);
    }
    if (options.encoding == OutputEncoding::Cp1252)
        return EncodeLines(in, encoder, FastLine<kType, true>{options.checksum}, keep);
    return EncodeLines(in, encoder, FastLine<kType, false>{options.checksum}, keep);
}

bool EncodeLines(std::FILE* in, ItemEncoder& encoder, const EncoderOptions& options) {
    return WithType(options.type, [&](auto tag) {
        return EncodeLinesOf<decltype(tag)::value>(in, encoder, options);
    });
}

}  // namespace

// Slack past the longest data within which the type's own rules still say what is wrong.
constexpr std::size_t kOwnMessageSlack = 16;

std::size_t LongestLineKept(BarCodeType type) {
    return 4 * (Info(type).longestData + kOwnMessageSlack) + 4;
}

bool TooLong(const EncoderOptions& options, std::string_view utf8, std::string& message) {
    const std::size_t longest = Info(options.type).longestData;
    if (utf8.size() <= longest)
        return false;  // never more characters than bytes
    // A character takes at most four bytes, so a longer item has too many characters anyway.
    if (utf8.size() <= LongestLineKept(options.type)) {
        const std::u32string text = DecodeUtf8(utf8);
        if (text.size() <= longest)
            return false;
        if (text.size() <= longest + kOwnMessageSlack) {
            const EncodeResult r = MakeFontString(options.type, text, options.checksum);
            if (!r.ok()) {
                message = r.message();
                return true;
            }
        }
    }
    message = "the item is longer than the " + std::to_string(longest) +
              " characters a bar code of type " + std::string(Info(options.type).storedText) +
              " can hold";
    return true;
}

std::string ShowControlBytes(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            shown += c;
            continue;
        }
        switch (b) {
            case '\0':
                shown += "\\0";
                break;
            case '\t':
                shown += "\\t";
                break;
            case '\n':
                shown += "\\n";
                break;
            case '\r':
                shown += "\\r";
                break;
            default: {
                static constexpr char kHex[] = "0123456789ABCDEF";
                shown += "\\x";
                shown += kHex[b >> 4];
                shown += kHex[b & 0xF];
            }
        }
    }
    return shown;
}

int EncodeText(const EncoderOptions& options, std::FILE* in, std::FILE* out, std::FILE* err) {
    Output outSink(out);
    Output errSink(err);
    ItemEncoder encoder(options, outSink, errSink);
    bool readOk = true;
    if (options.haveItems) {
        for (const std::string& item : options.items) encoder.Encode(item);
    } else {
        readOk = EncodeLines(in, encoder, options);
    }
    const bool writeOk = outSink.Finish();
    if (!readOk || !writeOk) {
        const int e = errno;
        errSink.Append(std::string("stripewright-encode: ") +
                       (readOk ? "cannot write the output" : "cannot read the input") +
                       (e != 0 ? std::string(": ") + std::strerror(e) : std::string()) + "\n");
        errSink.Finish();
        return kExitIoError;
    }
    errSink.Finish();
    return encoder.failed() ? kExitItemFailed : kExitOk;
}

}  // namespace sw
