// Code 128: any ASCII text, in code sets A (capitals, digits, punctuation, control codes),
// B (capitals, digits, punctuation, small letters) and C (digit pairs). The encoder picks the
// start set, the set changes and the shifts so that the symbol is as short as possible, then
// adds the modulo 103 check character and the stop.
//
// The font string uses the character map that Code 128 fonts commonly share: symbol value v is
// the character v + 32 for values 1 to 94 ("!" to "~"), and v + 100 for values 95 to 106 ("Ã"
// to "Î", so that starts A, B and C are "Ë", "Ì" and "Í" and the stop is "Î"). Value 0 is
// written "Â", never a space, which word processors and mail merges may drop or stretch; the
// faces draw a space as value 0 all the same. In set B every data character is itself, but the
// space. The start glyphs carry the left quiet zone and the stop glyph the right one.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The character written for value 0.
inline constexpr char32_t kZeroChar = 0xC2;

constexpr char32_t FontChar(int value) {
    if (value == 0)
        return kZeroChar;
    return static_cast<char32_t>(value <= 94 ? value + 32 : value + 100);
}
// The symbol value a font character draws, -1 for any other character.
constexpr int ValueOf(char32_t c) {
    if (c == kZeroChar || c == U' ')
        return 0;
    if (c >= 33 && c <= 126)
        return static_cast<int>(c) - 32;
    if (c >= 195 && c <= 206)
        return static_cast<int>(c) - 100;
    return -1;
}
static_assert(FontChar(1) == U'!' && FontChar(94) == U'~' && FontChar(95) == 0xC3);
static_assert(FontChar(kStartA) == 0xCB && FontChar(kStop) == 0xCE);
static_assert(ValueOf(FontChar(0)) == 0 && ValueOf(FontChar(kStartB)) == kStartB);

// FontChar of every value, for the writer.
inline constexpr std::array<char32_t, kValues> kFontChars = [] {
    std::array<char32_t, kValues> t{};
    for (int v = 0; v < kValues; ++v) t[static_cast<std::size_t>(v)] = FontChar(v);
    return t;
}();
static_assert(kFontChars.size() == kValues);

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
//
// The usual rules choose each step: a run of four or more digits goes to set C (an odd run
// leaves its first digit in the set before), a character of the other set is shifted when no
// other of that set comes before the next one of this set, else the set changes. For data
// without FNC1 they give a shortest symbol. An FNC1 between element strings splits the digit
// pairs around it, so for such data a plan made first, the fewest symbol characters that can
// follow each position in each set, checks every step the rules propose: where one would
// lengthen the symbol, the writer takes the first step that keeps it shortest instead.
template <class Data, class Sink>
class Writer {
  public:
    Writer(const Data& data, Sink& out) : d_(data), n_(data.size()), out_(out) {}

    void Write(bool leadingFnc1) {
        out_.Reserve(2 * n_ + 4);
        bool planned = false;
        for (std::size_t i = 0; i < n_ && !planned; ++i) planned = d_[i] == kFnc1Code;
        if (planned)
            Plan();
        Set set = StartSet(planned);
        Start(set == Set::A ? kStartA : set == Set::B ? kStartB : kStartC);
        if (leadingFnc1)
            Emit(kFnc1);
        std::size_t i = 0;
        while (i < n_) {
            Step step = Proposed(i, set);
            if (planned && Cost(i, set, step) != Fewest(i, set))
                step = Shortest(i, set);
            Take(step, i, set);
        }
        Emit(static_cast<int>(sum_ % 103), false);
        Put(kFontChars[kStop]);
        Flush();
    }

  private:
    enum class Kind { Fnc1, Char, Shift, Pair, Latch };
    struct Step {
        Kind kind;
        Set to = Set::A;  // of a latch
    };
    static constexpr std::uint32_t kFar = 1u << 30;  // no such step
    static constexpr std::size_t kLocalPositions = 64;

    static std::size_t Index(Set set) { return static_cast<std::size_t>(set); }
    static Set Other(Set set) { return set == Set::A ? Set::B : Set::A; }
    static bool InSetAB(Set set, unsigned c) { return set == Set::A ? c < 96 : c >= 32 && c < 128; }
    static int InSet(Set set, unsigned c) {
        if (set == Set::A && c < 32)
            return static_cast<int>(c) + 64;
        return static_cast<int>(c) - 32;
    }

    bool Pairs(std::size_t i) const {
        return i + 1 < n_ && IsDigitCode(d_[i]) && IsDigitCode(d_[i + 1]);
    }

    // The fewest symbol characters that carry the data from position i on, in `set`.
    std::uint32_t Fewest(std::size_t i, Set set) const { return fewest_[3 * i + Index(set)]; }

    void Plan() {
        if (n_ < kLocalPositions) {
            fewest_ = local_.data();
        } else {
            heap_.resize(3 * (n_ + 1));
            fewest_ = heap_.data();
        }
        std::fill_n(fewest_ + 3 * n_, 3, 0u);
        for (std::size_t i = n_; i-- > 0;) {
            const unsigned x = d_[i];
            std::uint32_t* here = fewest_ + 3 * i;
            const std::uint32_t* next = here + 3;
            std::uint32_t a, b, c;
            if (x == kFnc1Code) {
                a = 1 + next[0];
                b = 1 + next[1];
                c = 1 + next[2];
            } else {
                a = (x < 96 ? 1 : 2) + next[0];   // a small letter shifted
                b = (x >= 32 ? 1 : 2) + next[1];  // a control code shifted
                c = Pairs(i) ? 1 + fewest_[3 * (i + 2) + 2] : kFar;
            }
            const std::uint32_t latch = std::min({a, b, c}) + 1;
            here[0] = std::min(a, latch);
            here[1] = std::min(b, latch);
            here[2] = std::min(c, latch);
        }
    }

    // Symbol characters from position i in `set` on when `step` comes first (kFar when it
    // cannot).
    std::uint32_t Cost(std::size_t i, Set set, Step step) const {
        const unsigned x = d_[i];
        const bool data = x != kFnc1Code;
        switch (step.kind) {
            case Kind::Fnc1:
                return data ? kFar : 1 + Fewest(i + 1, set);
            case Kind::Char:
                return data && set != Set::C && InSetAB(set, x) ? 1 + Fewest(i + 1, set) : kFar;
            case Kind::Shift:
                return data && set != Set::C && InSetAB(Other(set), x) ? 2 + Fewest(i + 1, set)
                                                                       : kFar;
            case Kind::Pair:
                return set == Set::C && Pairs(i) ? 1 + Fewest(i + 2, Set::C) : kFar;
            case Kind::Latch:
                return step.to != set ? 1 + Fewest(i, step.to) : kFar;
        }
        return kFar;
    }

    Set StartSet(bool planned) {
        Set proposed;
        if ((n_ == 2 && Pairs(0)) || DigitRun(0) >= 4) {
            proposed = Set::C;
        } else {
            proposed = ControlFirst(0) ? Set::A : Set::B;
        }
        if (!planned)
            return proposed;
        const std::uint32_t fewest =
            std::min({Fewest(0, Set::A), Fewest(0, Set::B), Fewest(0, Set::C)});
        if (Fewest(0, proposed) == fewest)
            return proposed;
        const Set ab = ControlFirst(0) ? Set::A : Set::B;
        for (Set s : {ab, Set::C, Other(ab)}) {
            if (Fewest(0, s) == fewest)
                return s;
        }
        return proposed;
    }

    Step Proposed(std::size_t i, Set set) {
        const unsigned x = d_[i];
        if (x == kFnc1Code)
            return {Kind::Fnc1};
        if (set == Set::C) {
            if (Pairs(i))
                return {Kind::Pair};
            return {Kind::Latch, ControlFirst(i) ? Set::A : Set::B};
        }
        if (IsDigitCode(x)) {
            const std::size_t run = DigitRun(i);
            if (run >= 4)
                return run % 2 == 1 ? Step{Kind::Char} : Step{Kind::Latch, Set::C};
        }
        // One character of the other set is shifted; before another one of that set, and
        // none of this set between, the set changes.
        if (set == Set::B && IsControl(x))
            return ControlFirst(i + 1) ? Step{Kind::Latch, Set::A} : Step{Kind::Shift};
        if (set == Set::A && IsLower(x))
            return NextIsLower(i + 1) ? Step{Kind::Latch, Set::B} : Step{Kind::Shift};
        return {Kind::Char};
    }

    // The first step, in an order of preference, that keeps the symbol shortest.
    Step Shortest(std::size_t i, Set set) {
        const Set ab = ControlFirst(i) ? Set::A : Set::B;
        const Step steps[] = {{Kind::Fnc1},
                              {Kind::Pair},
                              {Kind::Char},
                              {Kind::Shift},
                              {Kind::Latch, Set::C},
                              {Kind::Latch, ab},
                              {Kind::Latch, Other(ab)}};
        const std::uint32_t fewest = Fewest(i, set);
        for (const Step& step : steps) {
            if (Cost(i, set, step) == fewest)
                return step;
        }
        return steps[0];  // not reached: the plan's figure is one of these steps'
    }

    void Take(Step step, std::size_t& i, Set& set) {
        const unsigned x = d_[i];
        switch (step.kind) {
            case Kind::Fnc1:
                Emit(kFnc1);
                ++i;
                break;
            case Kind::Char:
                Emit(InSet(set, x));
                ++i;
                break;
            case Kind::Shift:
                Emit(kShift);
                Emit(InSet(Other(set), x));
                ++i;
                break;
            case Kind::Pair:
                Emit(static_cast<int>((x - '0') * 10 + (d_[i + 1] - '0')));
                i += 2;
                break;
            case Kind::Latch:
                Emit(step.to == Set::A ? kCodeA : step.to == Set::B ? kCodeB : kCodeC);
                set = step.to;
                break;
        }
    }

    void Start(int value) {
        sum_ = static_cast<std::uint64_t>(value);
        Put(kFontChars[static_cast<std::size_t>(value)]);
    }
    void Emit(int value, bool weighted = true) {
        if (weighted)
            sum_ = (sum_ + ++position_ * static_cast<std::uint64_t>(value)) % 103;
        Put(kFontChars[static_cast<std::size_t>(value)]);
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
    // last scan is kept: no such character lies between where it began and what it found, so
    // questions in between need no scan.
    std::size_t Special(std::size_t i) {
        if (!specialKnown_ || i < scanFrom_ || i > special_) {
            std::size_t j = i;
            while (j < n_ && !(IsControl(d_[j]) || IsLower(d_[j]))) ++j;
            scanFrom_ = i;
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
    std::uint32_t* fewest_ = nullptr;
    std::array<std::uint32_t, 3 * kLocalPositions> local_;
    std::vector<std::uint32_t> heap_;
    std::size_t scanFrom_ = 0;
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
