// GS1 application identifiers (AIs): the table of every AI, with the format of its data and the
// checks that apply, generated at build time from gs1/ais.txt (gs1/make_ai_table.py), and the
// checking of element strings against it: each element string on its own, then the
// associations between the element strings of one symbol.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sw::gs1 {

// At most 48 data characters in a symbol: AI digits, data and separators.
inline constexpr std::size_t kMaxData = 48;

// The longest data any AI takes.
inline constexpr std::size_t kMaxElementData = 90;

enum class Charset : std::uint8_t {
    Digits,
    Cset82,  // printable ASCII but the space and # $ @ [ \ ] ^ ` { | } ~
    Cset39,  // capitals, digits, # - /
    Cset64,  // letters, digits, - _ (base64url), "=" as padding at the end
};

// What the data of a component must mean beyond its characters and length.
enum class Check : std::uint8_t {
    None,
    CheckDigit,          // the last digit is the GS1 modulo 10 check digit
    CheckPair,           // the last two characters are the GS1 alphanumeric check pair
    Date,                // YYMMDD
    DateOrMonth,         // YYMMDD, DD 00 for a whole month
    FullDate,            // YYYYMMDD
    Time,                // HHMM
    Hour,                // HH
    Minute,              // MM
    Second,              // SS
    Country,             // ISO 3166-1 numeric
    CountryOrUnknown,    // the same, or 999
    CountryAlpha2,       // ISO 3166-1 alpha-2
    Currency,            // ISO 4217 numeric
    PieceOfTotal,        // PPTT: piece PP of TT, 1 <= PP <= TT
    YesNo,               // 0 or 1
    Zero,                // 0
    NonZero,             // not all zeros
    Winding,             // 0, 1 or 9
    Hyphen,              // "-"
    Latitude,            // 10 digits, at most 1800000000
    Longitude,           // 10 digits, at most 3600000000
    PercentEncoded,      // every "%" starts a %XX escape
    Sex,                 // ISO 5218: 0, 1, 2 or 9
    PositionInSequence,  // N/M, 1 <= N <= M
    NoLeadingZero,       // "0" alone, or no leading zero
    NotAllDigits,        // at least one character other than a digit
    Iban,                // ISO 13616, modulo 97
    ImporterIndex,       // a letter, a digit, "-" or "_"
};

struct Component {
    Charset charset;
    std::uint8_t minLength;  // equal to maxLength for a component of fixed length
    std::uint8_t maxLength;
    bool optional;  // only components at the end are optional
    std::array<Check, 2> checks;
};

// A run of entries in one of the pools below.
struct Run {
    std::uint16_t first;
    std::uint16_t count;
};

struct Ai {
    std::string_view code;  // "01", "3103"
    bool separator;         // an FNC1 follows it when another element string comes after it
    Run components;         // in kComponents
    Run needs;              // alternatives in kAlternatives, one of which must be present
    Run excludes;           // patterns in kPatterns, none of which may be present
};

// AIs of the same first two digits have the same number of digits.
struct Prefix {
    std::uint8_t digits;  // 0: no AI begins with these two digits
    Run ais;              // in kAis
};

// Generated from gs1/ais.txt.
extern const std::span<const Ai> kAis;           // in order of their codes
extern const std::span<const Prefix> kPrefixes;  // by the value of the first two digits
extern const std::span<const Component> kComponents;
extern const std::span<const Run> kAlternatives;  // AIs that must all be present, in kPatterns
extern const std::span<const std::string_view> kPatterns;     // an AI, "n" standing for any digit
extern const std::array<std::uint64_t, 16> kCountries;        // bit n: numeric code n
extern const std::array<std::uint64_t, 11> kCountriesAlpha2;  // bit 26 * (A - 'A') + (B - 'A')
extern const std::array<std::uint64_t, 16> kCurrencies;       // bit n: numeric code n

// The number of digits of the AIs that begin with `prefix` (00-99), 0 when none does.
inline int AiDigits(int prefix) {
    return prefix >= 0 && prefix < 100 ? kPrefixes[static_cast<std::size_t>(prefix)].digits : 0;
}

// The AI of these digits; null when there is none.
const Ai* FindAi(std::string_view code);

std::span<const Component> ComponentsOf(const Ai& ai);

// The character sets each ASCII character belongs to, a bit for each Charset.
constexpr std::array<std::uint8_t, 128> MakeCharsets() {
    std::array<std::uint8_t, 128> t{};
    auto add = [&](Charset set, std::string_view chars) {
        for (char c : chars) {
            auto& bits = t[static_cast<std::size_t>(c)];
            bits = static_cast<std::uint8_t>(bits | (1u << static_cast<unsigned>(set)));
        }
    };
    constexpr std::string_view kDigits = "0123456789";
    constexpr std::string_view kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr std::string_view kSmall = "abcdefghijklmnopqrstuvwxyz";
    add(Charset::Digits, kDigits);
    for (char c = 33; c < 127; ++c) {
        if (std::string_view("#$@[\\]^`{|}~").find(c) == std::string_view::npos)
            add(Charset::Cset82, std::string_view(&c, 1));
    }
    add(Charset::Cset39, kDigits);
    add(Charset::Cset39, kCapitals);
    add(Charset::Cset39, "#-/");
    add(Charset::Cset64, kDigits);
    add(Charset::Cset64, kCapitals);
    add(Charset::Cset64, kSmall);
    add(Charset::Cset64, "-_=");
    return t;
}
inline constexpr std::array<std::uint8_t, 128> kCharsets = MakeCharsets();
constexpr int CharsetSize(Charset set) {
    int n = 0;
    for (std::uint8_t bits : kCharsets) n += bits >> static_cast<int>(set) & 1;
    return n;
}
static_assert(kCharsets.size() == 128 && CharsetSize(Charset::Digits) == 10);
static_assert(CharsetSize(Charset::Cset82) == 82 && CharsetSize(Charset::Cset39) == 39);
static_assert(CharsetSize(Charset::Cset64) == 64 + 1);  // and "=" as padding

// True when `c` may stand in a component of this character set.
constexpr bool InCharset(Charset set, char32_t c) {
    return c < 128 && (kCharsets[c] >> static_cast<int>(set) & 1) != 0;
}

// Checks the data of one element string: characters, length and the checks of each component.
// `data` holds the first characters of data `length` long (all of them up to kMaxElementData).
bool CheckElement(const Ai& ai, std::string_view data, std::size_t length, std::string& message);

struct Element {
    const Ai* ai;
    std::string_view data;
};

// Checks the element strings of one symbol together: no AI twice with different data, none
// with an AI it excludes, each with the AIs it requires.
bool CheckAssociations(std::span<const Element> elements, std::string& message);

}  // namespace sw::gs1
