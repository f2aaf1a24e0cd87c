#include "barcode/gs1_ai.h"

#include <algorithm>

#include "barcode/check_digits.h"
#include "barcode/text.h"

namespace sw::gs1 {

namespace {

// The parts one after the other (messages are built so, rather than with +).
template <class... Parts>
std::string Cat(const Parts&... parts) {
    std::string s;
    (s.append(std::string_view(parts)), ...);
    return s;
}

constexpr bool IsCapital(char32_t c) {
    return c >= U'A' && c <= U'Z';
}
constexpr bool IsLetterOrDigit(char32_t c) {
    return IsDigit(c) || IsCapital(c) || (c >= U'a' && c <= U'z');
}

// Value of a run of digits (at most 18).
std::uint64_t Number(std::string_view digits) {
    std::uint64_t v = 0;
    for (char c : digits) v = v * 10 + static_cast<std::uint64_t>(c - '0');
    return v;
}

template <std::size_t N>
bool HasBit(const std::array<std::uint64_t, N>& words, std::size_t n) {
    return n / 64 < N && (words[n / 64] >> (n % 64) & 1) != 0;
}

std::span<const std::string_view> PatternsOf(Run r) {
    return kPatterns.subspan(r.first, r.count);
}

// "31nn" matches every AI of four digits beginning 31.
bool Matches(std::string_view pattern, std::string_view code) {
    if (pattern.size() != code.size())
        return false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (pattern[i] != 'n' && pattern[i] != code[i])
            return false;
    }
    return true;
}

// The GS1 modulo 10 check digit of `digits` (at most 17): weights 3, 1, 3, ... from the right.
int CheckDigitOf(std::string_view digits) {
    int sums[2] = {0, 0};
    for (std::size_t i = 0; i < digits.size(); ++i) sums[i % 2] += digits[i] - '0';
    // The last digit weighs 3.
    const int sum = digits.size() % 2 == 1 ? 3 * sums[0] + sums[1] : sums[0] + 3 * sums[1];
    return (10 - sum % 10) % 10;
}

// The two check characters of an alphanumeric key: the characters' places in set 82 weighted
// by the primes 2, 3, 5, ... from the right, modulo 1021, written in base 32 with the
// characters of set 32.
std::string CheckPairOf(std::string_view text) {
    static constexpr std::string_view kCset82 =
        "!\"%&'()*+,-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    static constexpr std::string_view kCset32 = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    static constexpr int kPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37,
                                      41, 43, 47, 53, 59, 61, 67, 71, 73, 79, 83};
    static_assert(kCset82.size() == 82 && kCset32.size() == 32 && std::size(kPrimes) == 23);
    int sum = 0;
    std::size_t weight = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it, ++weight) {
        const std::size_t place = kCset82.find(*it);
        if (weight >= std::size(kPrimes) || place == std::string_view::npos)
            return {};
        sum += kPrimes[weight] * static_cast<int>(place);
    }
    sum %= 1021;
    return {kCset32[static_cast<std::size_t>(sum / 32)],
            kCset32[static_cast<std::size_t>(sum % 32)]};
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Day 0 stands for the whole month where `dayZero` allows it.
bool IsDate(int year, int month, int day, bool dayZero) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return false;
    const int days = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return (day >= 1 && day <= days) || (day == 0 && dayZero);
}

// Two-digit years are read as 2000-2099: the leap years agree with the GS1 reading of such
// years around today until 2100.
bool IsTwoDigitYearDate(std::string_view d, bool dayZero) {
    return IsDate(2000 + static_cast<int>(Number(d.substr(0, 2))),
                  static_cast<int>(Number(d.substr(2, 2))),
                  static_cast<int>(Number(d.substr(4, 2))), dayZero);
}

bool IsHexDigit(char c) {
    return IsDigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F') ||
           (c >= 'a' && c <= 'f');
}

bool IsIban(std::string_view v) {
    if (v.size() < 5 || !IsCapital(static_cast<unsigned char>(v[0])) ||
        !IsCapital(static_cast<unsigned char>(v[1])) ||
        !HasBit(kCountriesAlpha2, static_cast<std::size_t>(26 * (v[0] - 'A') + (v[1] - 'A'))) ||
        !IsDigit(static_cast<unsigned char>(v[2])) || !IsDigit(static_cast<unsigned char>(v[3])))
        return false;
    // The first four characters moved to the end, letters as 10-35, modulo 97 is 1.
    int rest = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[(i + 4) % v.size()];
        if (IsDigit(static_cast<unsigned char>(c))) {
            rest = (rest * 10 + (c - '0')) % 97;
        } else if (IsCapital(static_cast<unsigned char>(c))) {
            rest = (rest * 100 + (c - 'A' + 10)) % 97;
        } else {
            return false;
        }
    }
    return rest == 1;
}

struct Outcome {
    bool ok;
    const char* problem;  // what is wrong, for the message
    const char* format;   // the form expected, when it helps
};

Outcome Apply(Check check, std::string_view v) {
    auto digitAt = [&](std::size_t i) { return v[i] - '0'; };
    switch (check) {
        case Check::None:
        case Check::CheckDigit:  // with its own message
        case Check::CheckPair:
            return {true, "", ""};
        case Check::Date:
            return {IsTwoDigitYearDate(v, false), "no such date", "YYMMDD"};
        case Check::DateOrMonth:
            return {IsTwoDigitYearDate(v, true), "no such date", "YYMMDD, DD 00 for a whole month"};
        case Check::FullDate:
            return {IsDate(static_cast<int>(Number(v.substr(0, 4))),
                           static_cast<int>(Number(v.substr(4, 2))),
                           static_cast<int>(Number(v.substr(6, 2))), false),
                    "no such date", "YYYYMMDD"};
        case Check::Time:
            return {Number(v.substr(0, 2)) < 24 && Number(v.substr(2, 2)) < 60, "no such time",
                    "HHMM"};
        case Check::Hour:
            return {Number(v) < 24, "no such hour", "HH"};
        case Check::Minute:
            return {Number(v) < 60, "no such minute", "MM"};
        case Check::Second:
            return {Number(v) < 60, "no such second", "SS"};
        case Check::Country:
            return {HasBit(kCountries, Number(v)), "unknown country code", ""};
        case Check::CountryOrUnknown:
            return {v == "999" || HasBit(kCountries, Number(v)), "unknown country code", "or 999"};
        case Check::CountryAlpha2:
            return {IsCapital(static_cast<unsigned char>(v[0])) &&
                        IsCapital(static_cast<unsigned char>(v[1])) &&
                        HasBit(kCountriesAlpha2,
                               static_cast<std::size_t>(26 * (v[0] - 'A') + (v[1] - 'A'))),
                    "unknown country code", "two capitals"};
        case Check::Currency:
            return {HasBit(kCurrencies, Number(v)), "unknown currency code", ""};
        case Check::PieceOfTotal: {
            const std::uint64_t piece = Number(v.substr(0, 2)), total = Number(v.substr(2, 2));
            return {piece >= 1 && piece <= total, "no such piece of a total",
                    "PPTT, piece PP from 01 to the total TT"};
        }
        case Check::YesNo:
            return {v == "0" || v == "1", "only 0 or 1 allowed", ""};
        case Check::Zero:
            return {v == "0", "only 0 allowed", ""};
        case Check::NonZero:
            return {Number(v) != 0, "zero not allowed", ""};
        case Check::Winding:
            return {v == "0" || v == "1" || v == "9", "only 0, 1 or 9 allowed", ""};
        case Check::Hyphen:
            return {v == "-", "only \"-\" allowed", ""};
        case Check::Latitude:
            return {Number(v) <= 1800000000, "no such latitude", "at most 1800000000"};
        case Check::Longitude:
            return {Number(v) <= 3600000000, "no such longitude", "at most 3600000000"};
        case Check::PercentEncoded: {
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (v[i] == '%' &&
                    !(i + 2 < v.size() && IsHexDigit(v[i + 1]) && IsHexDigit(v[i + 2])))
                    return {false, "\"%\" not followed by two hexadecimal digits", ""};
            }
            return {true, "", ""};
        }
        case Check::Sex:
            return {v == "0" || v == "1" || v == "2" || v == "9", "only 0, 1, 2 or 9 allowed", ""};
        case Check::PositionInSequence:
            return {v.size() == 3 && IsDigit(static_cast<unsigned char>(v[0])) && v[1] == '/' &&
                        IsDigit(static_cast<unsigned char>(v[2])) && digitAt(0) >= 1 &&
                        digitAt(0) <= digitAt(2),
                    "no such position in a sequence", "N/M, N from 1 to M"};
        case Check::NoLeadingZero:
            return {v.size() == 1 || v[0] != '0', "leading zero not allowed", ""};
        case Check::NotAllDigits:
            return {!std::all_of(v.begin(), v.end(),
                                 [](char c) { return IsDigit(static_cast<unsigned char>(c)); }),
                    "digits alone not allowed", ""};
        case Check::Iban:
            return {IsIban(v), "not an IBAN", ""};
        case Check::ImporterIndex:
            return {v.size() == 1 && (IsLetterOrDigit(static_cast<unsigned char>(v[0])) ||
                                      v[0] == '-' || v[0] == '_'),
                    "only a letter, a digit, \"-\" or \"_\" allowed", ""};
    }
    return {true, "", ""};
}

// What a component is called in messages: after what its check makes of it, or its place.
std::string PartName(const Ai& ai, std::size_t k) {
    auto base = [](const Component& c) -> const char* {
        switch (c.checks[0]) {
            case Check::Date:
            case Check::DateOrMonth:
            case Check::FullDate:
                return "date";
            case Check::Time:
                return "time";
            case Check::Hour:
                return "hour";
            case Check::Minute:
                return "minutes";
            case Check::Second:
                return "seconds";
            case Check::Country:
            case Check::CountryOrUnknown:
            case Check::CountryAlpha2:
                return "country code";
            case Check::Currency:
                return "currency code";
            case Check::PieceOfTotal:
                return "piece of total";
            case Check::Latitude:
                return "latitude";
            case Check::Longitude:
                return "longitude";
            default:
                return nullptr;
        }
    };
    const std::span<const Component> comps = ComponentsOf(ai);
    const char* name = base(comps[k]);
    if (name == nullptr)
        return Cat("part ", std::to_string(k + 1));
    std::size_t same = 1;
    for (std::size_t j = 0; j < k; ++j) {
        const char* other = base(comps[j]);
        same += other != nullptr && std::string_view(other) == name ? 1 : 0;
    }
    return same == 1 ? std::string(name) : Cat(name, " ", std::to_string(same));
}

std::string AiName(std::string_view code) {
    return Cat("AI (", code, ")");
}

// "AI (01)", or "AI (7003) time" when the AI's data has several components.
std::string Where(const Ai& ai, std::size_t k) {
    std::string s = AiName(ai.code);
    if (ai.components.count > 1)
        s += Cat(" ", PartName(ai, k));
    return s;
}

// "the data of AI (10)", "the country code of AI (421)" or "part 1 of AI (253)".
std::string Subject(const Ai& ai, std::size_t k) {
    if (ai.components.count == 1)
        return Cat("the data of ", AiName(ai.code));
    const std::string part = PartName(ai, k);
    return Cat(part.starts_with("part ") ? "" : "the ", part, " of ", AiName(ai.code));
}

bool Fail(std::string& message, std::string_view text) {
    message = Cat("Error: ", text);
    return false;
}

// The lengths the data may have: one range for each number of components present.
struct Lengths {
    std::array<std::pair<std::size_t, std::size_t>, 8> ranges{};
    std::size_t count = 0;
};

Lengths LengthsOf(std::span<const Component> comps) {
    Lengths l;
    std::size_t fixed = 0;
    for (std::size_t k = 0; k < comps.size(); ++k) {
        if (k + 1 == comps.size() || comps[k + 1].optional) {
            const std::pair<std::size_t, std::size_t> r{fixed + comps[k].minLength,
                                                        fixed + comps[k].maxLength};
            if (l.count > 0 && l.ranges[l.count - 1].second + 1 >= r.first) {
                l.ranges[l.count - 1].second = r.second;
            } else {
                l.ranges[l.count++] = r;
            }
        }
        fixed += comps[k].maxLength;
    }
    return l;
}

// The same as asking LengthsOf, without building the list.
bool LengthFits(std::span<const Component> comps, std::size_t length) {
    std::size_t fixed = 0;
    for (std::size_t k = 0; k < comps.size(); ++k) {
        if ((k + 1 == comps.size() || comps[k + 1].optional) &&
            length >= fixed + comps[k].minLength && length <= fixed + comps[k].maxLength)
            return true;
        fixed += comps[k].maxLength;
    }
    return false;
}

std::string LengthMessage(const Ai& ai, const Lengths& l, std::size_t length) {
    const std::span<const Component> comps = ComponentsOf(ai);
    const bool digits = std::all_of(comps.begin(), comps.end(), [](const Component& c) {
        return c.charset == Charset::Digits;
    });
    const char* unit = digits ? " digits" : " characters";
    std::string text = Cat(AiName(ai.code), " takes ");
    if (l.count == 1 && l.ranges[0].first == l.ranges[0].second) {
        text += std::to_string(l.ranges[0].first);
    } else if (l.count == 1) {
        text += length < l.ranges[0].first ? Cat("at least ", std::to_string(l.ranges[0].first))
                                           : Cat("at most ", std::to_string(l.ranges[0].second));
    } else {
        for (std::size_t i = 0; i < l.count; ++i) {
            if (i > 0)
                text += i + 1 == l.count ? " or " : ", ";
            text += std::to_string(l.ranges[i].first);
            if (l.ranges[i].second != l.ranges[i].first)
                text += Cat(" to ", std::to_string(l.ranges[i].second));
        }
    }
    text += unit;
    text += Cat(", not ", std::to_string(length));
    if (comps.size() > 1 && l.count == 1) {
        // How the data is made up (where the lengths alone do not show it).
        text += " (";
        for (std::size_t k = 0; k < comps.size(); ++k) {
            if (k > 0)
                text += "; ";
            text += Cat(PartName(ai, k), ": ");
            if (comps[k].minLength != comps[k].maxLength)
                text += "up to ";
            text += std::to_string(comps[k].maxLength);
            text += comps[k].charset == Charset::Digits ? " digits" : " characters";
            if (comps[k].optional)
                text += ", optional";
        }
        text += ")";
    }
    return text;
}

std::string Quoted(char32_t c) {
    std::string s = "\"";
    AppendUtf8(c, s);
    s += "\"";
    return s;
}

}  // namespace

const Ai* FindAi(std::string_view code) {
    if (code.size() < 2 || !IsDigit(static_cast<unsigned char>(code[0])) ||
        !IsDigit(static_cast<unsigned char>(code[1])))
        return nullptr;
    const Prefix& p = kPrefixes[static_cast<std::size_t>((code[0] - '0') * 10 + (code[1] - '0'))];
    if (code.size() != p.digits)
        return nullptr;
    // AIs of one prefix differ in their last digits only.
    auto rest = [](std::string_view c) {
        int v = 0;
        for (std::size_t i = 2; i < c.size(); ++i) v = v * 10 + (c[i] - '0');
        return v;
    };
    const int key = rest(code);
    const auto ais = kAis.subspan(p.ais.first, p.ais.count);
    const auto it = std::lower_bound(ais.begin(), ais.end(), key,
                                     [&](const Ai& a, int k) { return rest(a.code) < k; });
    return it != ais.end() && rest(it->code) == key ? &*it : nullptr;
}

std::span<const Component> ComponentsOf(const Ai& ai) {
    return kComponents.subspan(ai.components.first, ai.components.count);
}

bool CheckElement(const Ai& ai, std::string_view data, std::size_t length, std::string& message) {
    if (length == 0)
        return Fail(message, Cat("no data after ", AiName(ai.code)));
    const std::span<const Component> comps = ComponentsOf(ai);
    // The characters of each component, as far as the data goes.
    std::size_t pos = 0;
    for (std::size_t k = 0; k < comps.size() && pos < data.size(); ++k) {
        const std::size_t end = std::min(data.size(), pos + comps[k].maxLength);
        const unsigned set = 1u << static_cast<unsigned>(comps[k].charset);
        for (; pos < end; ++pos) {
            const char32_t c = static_cast<unsigned char>(data[pos]);
            if (c < 128 && (kCharsets[c] & set) != 0)
                continue;
            if (comps[k].charset == Charset::Digits && InCharset(Charset::Cset82, c)) {
                if (comps.size() == 1)
                    return Fail(message, Cat("only digits may follow ", AiName(ai.code)));
                return Fail(message, Cat("only digits allowed in ", Subject(ai, k)));
            }
            std::string text = Cat("character ", Quoted(c), " not allowed in ", Subject(ai, k));
            if (comps[k].charset == Charset::Cset39)
                text += " (capitals, digits, \"#\", \"-\" and \"/\" only)";
            if (comps[k].charset == Charset::Cset64)
                text += " (letters, digits, \"-\" and \"_\" only, \"=\" at the end)";
            return Fail(message, text);
        }
    }
    if (!LengthFits(comps, length))
        return Fail(message, LengthMessage(ai, LengthsOf(comps), length));
    // What each component means.
    pos = 0;
    for (std::size_t k = 0; k < comps.size() && pos < data.size(); ++k) {
        const std::string_view v = data.substr(pos, comps[k].maxLength);
        pos += v.size();
        for (Check check : comps[k].checks) {
            if (check == Check::None) {
                break;  // the checks come first
            } else if (check == Check::CheckDigit) {
                const int expected = CheckDigitOf(v.substr(0, v.size() - 1));
                if (v.back() - '0' != expected) {
                    return Fail(message, Cat("wrong check digit in ", Where(ai, k),
                                             ": it should be ", std::to_string(expected)));
                }
            } else if (check == Check::CheckPair) {
                // At least one character before the pair.
                const std::string expected =
                    v.size() < 3 ? std::string() : CheckPairOf(v.substr(0, v.size() - 2));
                if (expected.empty() || v.substr(v.size() - 2) != expected) {
                    std::string text = Cat("wrong check characters in ", Where(ai, k));
                    if (!expected.empty())
                        text += Cat(": they should be ", expected);
                    return Fail(message, text);
                }
            } else if (const Outcome o = Apply(check, v); !o.ok) {
                std::string text = Cat(o.problem, " in ", Where(ai, k), ": ");
                text += v;
                if (*o.format != '\0')
                    text += Cat(" (", o.format, ")");
                return Fail(message, text);
            }
        }
    }
    return true;
}

bool CheckAssociations(std::span<const Element> elements, std::string& message) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Ai& ai = *elements[i].ai;
        for (std::size_t j = 0; j < i; ++j) {
            if (elements[j].ai == &ai && elements[j].data != elements[i].data)
                return Fail(message, Cat(AiName(ai.code), " appears twice with different data"));
        }
    }
    // Whether an AI of the symbol other than `self` matches `pattern`.
    auto present = [&](std::string_view pattern, const Ai* self) {
        for (const Element& e : elements) {
            if (e.ai != self && Matches(pattern, e.ai->code))
                return true;
        }
        return false;
    };
    for (const Element& e : elements) {
        const Ai& ai = *e.ai;
        for (std::string_view pattern : PatternsOf(ai.excludes)) {
            for (const Element& other : elements) {
                if (other.ai != &ai && Matches(pattern, other.ai->code)) {
                    return Fail(message, Cat(AiName(ai.code), " may not stand with ",
                                             AiName(other.ai->code), " in one symbol"));
                }
            }
        }
        const auto alternatives = kAlternatives.subspan(ai.needs.first, ai.needs.count);
        bool met = alternatives.empty();
        for (std::size_t i = 0; i < alternatives.size() && !met; ++i) {
            met = true;
            for (std::string_view p : PatternsOf(alternatives[i])) met = met && present(p, &ai);
        }
        if (met)
            continue;
        std::string text = Cat(AiName(ai.code), " needs ");
        for (std::size_t i = 0; i < alternatives.size(); ++i) {
            if (i > 0)
                text += i + 1 == alternatives.size() ? " or " : ", ";
            const auto group = PatternsOf(alternatives[i]);
            for (std::size_t j = 0; j < group.size(); ++j) {
                if (j > 0)
                    text += j == 1 ? " with " : " and ";
                text += Cat("(", group[j], ")");
            }
        }
        return Fail(message, Cat(text, " in the same symbol"));
    }
    return true;
}

}  // namespace sw::gs1
