// Code 128: any ASCII text, in code sets A (capitals, digits, punctuation, control codes),
// B (capitals, digits, punctuation, small letters) and C (digit pairs). The encoder picks the
// start set and the set changes so that the symbol is as short as possible, then adds the
// modulo 103 check character and the stop.
//
// The font draws every symbol value with one character, none of them a space or a control
// code: values 0-93 are "!" to "~" (value + 33), values 94-106 are "À" to "Ì" (value + 98),
// so that starts A, B and C are "É", "Ê" and "Ë" and the stop is "Ì". The start glyphs carry
// the left quiet zone and the stop glyph the right one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "barcode/font_sink.h"
#include "barcode/text.h"
#include "barcode/type_encoder.h"

namespace sw {

namespace code128 {

// Symbol values with a meaning of their own.
inline constexpr int kShift = 98;
inline constexpr int kCodeC = 99;
inline constexpr int kCodeB = 100;  // in sets A and C
inline constexpr int kCodeA = 101;  // in sets B and C
inline constexpr int kFnc1 = 102;
inline constexpr int kStartA = 103;
inline constexpr int kStartB = 104;
inline constexpr int kStartC = 105;
inline constexpr int kStop = 106;
inline constexpr int kValues = 107;

// In the data the encoder works on, FNC1 is the one code above ASCII.
inline constexpr unsigned kFnc1Code = 128;

constexpr char32_t FontChar(int value) {
    return static_cast<char32_t>(value < 94 ? value + 33 : value + 98);
}
// The symbol value a font character draws, -1 for any other character.
constexpr int ValueOf(char32_t c) {
    if (c >= 33 && c <= 126)
        return static_cast<int>(c) - 33;
    if (c >= 192 && c <= 204)
        return static_cast<int>(c) - 98;
    return -1;
}
static_assert(FontChar(0) == U'!' && FontChar(93) == U'~' && FontChar(94) == 192);
static_assert(FontChar(kStop) == 204 && ValueOf(FontChar(kStartB)) == kStartB);

constexpr bool IsDigitCode(unsigned c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsControl(unsigned c) {
    return c < 32;
}
constexpr bool IsLower(unsigned c) {
    return c >= 96 && c < 128;
}

enum class Set { A, B, C };

// Writes the values of `data` (codes 0-127 and kFnc1Code; `data[i]` gives a code) from the start
// character to the stop. `leadingFnc1` puts FNC1 right after the start (GS1-128).
template <class Data, class Sink>
class Writer {
  public:
    Writer(const Data& data, Sink& out) : d_(data), n_(data.size()), out_(out) {}

    void Write(bool leadingFnc1) {
        out_.Reserve(2 * n_ + 4);
        Set set;
        if ((n_ == 2 && IsDigitCode(d_[0]) && IsDigitCode(d_[1])) || DigitRun(0) >= 4) {
            set = Set::C;
        } else {
            set = ControlFirst(0) ? Set::A : Set::B;
        }
        Start(set == Set::A ? kStartA : set == Set::B ? kStartB : kStartC);
        if (leadingFnc1)
            Emit(kFnc1);
        std::size_t i = 0;
        while (i < n_) {
            const unsigned x = d_[i];
            if (x == kFnc1Code) {
                Emit(kFnc1);
                ++i;
            } else if (set == Set::C) {
                if (IsDigitCode(x) && i + 1 < n_ && IsDigitCode(d_[i + 1])) {
                    Emit(static_cast<int>((x - '0') * 10 + (d_[i + 1] - '0')));
                    i += 2;
                } else {
                    // A non-digit, or a digit without a partner: back to A or B. A lone digit
                    // goes out at once in the new set: before an FNC1 it still counts into a
                    // digit run, which would send the encoder straight back to set C.
                    set = ControlFirst(i) ? Set::A : Set::B;
                    Emit(set == Set::A ? kCodeA : kCodeB);
                    if (IsDigitCode(x)) {
                        Emit(InSet(set, x));
                        ++i;
                    }
                }
            } else if (IsDigitCode(x) && DigitRun(i) >= 4) {
                if (DigitRun(i) % 2 == 1) {
                    Emit(InSet(set, x));
                    ++i;
                }
                Emit(kCodeC);
                set = Set::C;
            } else if (set == Set::B && IsControl(x)) {
                if (NextIsLower(i + 1)) {
                    Emit(kShift);
                } else {
                    Emit(kCodeA);
                    set = Set::A;
                }
                Emit(InSet(Set::A, x));
                ++i;
            } else if (set == Set::A && IsLower(x)) {
                if (ControlFirst(i + 1)) {
                    Emit(kShift);
                } else {
                    Emit(kCodeB);
                    set = Set::B;
                }
                Emit(InSet(Set::B, x));
                ++i;
            } else {
                Emit(InSet(set, x));
                ++i;
            }
        }
        Emit(static_cast<int>(sum_ % 103), false);
        Put(FontChar(kStop));
        Flush();
    }

  private:
    static int InSet(Set set, unsigned c) {
        if (set == Set::A && c < 32)
            return static_cast<int>(c) + 64;
        return static_cast<int>(c) - 32;
    }

    void Start(int value) {
        sum_ = static_cast<std::uint64_t>(value);
        Put(FontChar(value));
    }
    void Emit(int value, bool weighted = true) {
        if (weighted)
            sum_ = (sum_ + ++position_ * static_cast<std::uint64_t>(value)) % 103;
        Put(FontChar(value));
    }
    // Characters go to the sink in blocks.
    void Put(char32_t c) {
        buffer_[held_++] = c;
        if (held_ == buffer_.size())
            Flush();
    }
    void Flush() {
        out_.PutAll(std::u32string_view(buffer_.data(), held_));
        held_ = 0;
    }

    // Digits from i on; an FNC1 between two digits belongs to the run but is not counted.
    std::size_t DigitRun(std::size_t i) const {
        std::size_t k = 0;
        while (i < n_) {
            if (IsDigitCode(d_[i])) {
                ++k;
                ++i;
            } else if (d_[i] == kFnc1Code && k > 0 && i + 1 < n_ && IsDigitCode(d_[i + 1])) {
                ++i;
            } else {
                break;
            }
        }
        return k;
    }

    // Position of the first control code or small letter from i on (n when there is none). The
    // last answer is kept: no such character lies between the position asked and the answer,
    // so later questions up to the answer need no scan.
    std::size_t Special(std::size_t i) {
        if (i > special_ || !specialKnown_) {
            std::size_t j = i;
            while (j < n_ && !(IsControl(d_[j]) || IsLower(d_[j]))) ++j;
            special_ = j;
            specialKnown_ = true;
        }
        return special_;
    }
    bool ControlFirst(std::size_t i) {
        const std::size_t j = Special(i);
        return j < n_ && IsControl(d_[j]);
    }
    bool NextIsLower(std::size_t i) {
        const std::size_t j = Special(i);
        return j < n_ && IsLower(d_[j]);
    }

    const Data& d_;
    std::size_t n_;
    Sink& out_;
    std::uint64_t sum_ = 0;
    std::uint64_t position_ = 0;
    std::size_t special_ = 0;
    bool specialKnown_ = false;
    std::array<char32_t, 32> buffer_;
    std::size_t held_ = 0;
};

// A text view read as codes.
template <class View>
struct Codes {
    View v;
    std::size_t size() const { return v.size(); }
    unsigned operator[](std::size_t i) const { return static_cast<unsigned>(CodePoint(v[i])); }
};

template <class Data, class Sink>
void WriteSymbol(const Data& data, bool leadingFnc1, Sink& out) {
    Writer<Data, Sink>(data, out).Write(leadingFnc1);
}

}  // namespace code128

template <class View, class Sink>
bool Encode128Into(View text, Sink& out, std::string& message) {
    for (auto ch : text) {
        const char32_t c = CodePoint(ch);
        if (c > 127) {
            message = "Error: input character \"";
            AppendUtf8(c, message);
            message += "\" not legal in bar code 128 (ASCII only)";
            return false;
        }
    }
    code128::WriteSymbol(code128::Codes<View>{text}, false, out);
    return true;
}

template <>
struct TypeEncoder<BarCodeType::Type128> {
    template <class View, class Sink>
    static bool Into(View text, bool /*checksum*/, Sink& out, std::string& message) {
        return Encode128Into(text, out, message);
    }
};

}  // namespace sw
