// GS1 element strings against the table of application identifiers: the faults of the old
// checking, each in a row, and every AI of the table accepted with a valid value built here from
// the table's text, not from the checking code.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "barcode/gs1_ai.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace sw {
namespace {

struct Row {
    const char* data;
    const char* message;  // empty: accepted
};

TEST(Gs1Ai, ChecksEachElementStringAndTheirAssociations) {
    const Row rows[] = {
        // AIs that do not exist.
        {"(04)1234567890123456", "Error: unknown AI (04)"},
        {"(14)240101", "Error: unknown AI (14)"},
        {"(230)1", "Error: unknown AI (230)"},
        {"(409)1", "Error: unknown AI (409)"},
        {"(418)1234567890128", "Error: unknown AI (418)"},
        {"(3106)000189", "Error: unknown AI (3106)"},
        {"(3944)1234", "Error: unknown AI (3944)"},
        // Lengths: each message says which way the data is wrong.
        {"(415)5412345678908(8020)ABCDEFGHIJKLMNOPQRSTUVWXYZ",
         "Error: AI (8020) takes at most 25 characters, not 26"},
        {"(421)84",
         "Error: AI (421) takes at least 4 characters, not 2 (country code: 3 digits; part 2: up "
         "to 9 characters)"},
        {"(3932)12",
         "Error: AI (3932) takes at least 4 digits, not 2 (currency code: 3 digits; part 2: up to "
         "15 digits)"},
        {"(7007)240101240", "Error: AI (7007) takes 6 or 12 digits, not 9"},
        // Characters.
        {"(8005)ABCDEF", "Error: only digits may follow AI (8005)"},
        {"(253)ABC", "Error: only digits allowed in part 1 of AI (253)"},
        {"(8010)AB-c",
         "Error: character \"c\" not allowed in the data of AI (8010) (capitals, "
         "digits, \"#\", \"-\" and \"/\" only)"},
        {"(10)ab(c", "Error: AI (c is not closed with \")\""},
        // Dates and times: real calendar days, day 00 only where a whole month may stand.
        {"(11)241301", "Error: no such date in AI (11): 241301 (YYMMDD, DD 00 for a whole month)"},
        {"(17)000000", "Error: no such date in AI (17): 000000 (YYMMDD, DD 00 for a whole month)"},
        {"(11)230229", "Error: no such date in AI (11): 230229 (YYMMDD, DD 00 for a whole month)"},
        {"(7006)240100", "Error: no such date in AI (7006): 240100 (YYMMDD)"},
        {"(7003)2401011260", "Error: no such time in AI (7003) time: 1260 (HHMM)"},
        {"(7250)19000229", "Error: no such date in AI (7250): 19000229 (YYYYMMDD)"},
        // Check digits and characters.
        {"(8006)095011015300040102",
         "Error: wrong check digit in AI (8006) part 1: it should be 3"},
        {"(8017)123456789012345678", "Error: wrong check digit in AI (8017): it should be 5"},
        {"(8018)123456789012345678", "Error: wrong check digit in AI (8018): it should be 5"},
        {"(253)1234567890123", "Error: wrong check digit in AI (253) part 1: it should be 8"},
        {"(8013)1987654Ad4X4bL5ttr2310c2L",
         "Error: wrong check characters in AI (8013): they should be 2K"},
        // Code lists and other meanings.
        {"(422)999", "Error: unknown country code in AI (422): 999"},
        {"(3912)000123", "Error: unknown currency code in AI (3912) currency code: 000"},
        {"(8006)095011015300030302",
         "Error: no such piece of a total in AI (8006) piece of total: 0302 (PPTT, piece PP from "
         "01 to the total TT)"},
        // Associations over the whole symbol.
        {"(10)AB", "Error: AI (10) needs (01), (02), (03), (8006) or (8026) in the same symbol"},
        {"(01)09501101530003(250)A",
         "Error: AI (250) needs (01) with (21), (03) with (21) or (8006) with (21) in the same "
         "symbol"},
        {"(01)09501101530003(02)09501101530003",
         "Error: AI (02) may not stand with AI (01) in one symbol"},
        {"(01)09501101530003(3100)000100(3101)000100",
         "Error: AI (3100) may not stand with AI (3101) in one symbol"},
        {"(01)09501101530003(10)A(10)B", "Error: AI (10) appears twice with different data"},
        // Accepted: the AIs the old rules refused or garbled.
        {"(01)09501101530003(710)A(711)B(712)C(713)D(714)E(715)F", ""},
        {"(01)09501101530003(11)240229(17)240200", ""},
        {"(01)09501101530003(10)A(10)A", ""},
        {"(01)09501101530003(21)1(250)A", ""},
    };
    for (const Row& row : rows) {
        const EncodeResult r =
            MakeFontString(BarCodeType::TypeGS1_128, DecodeUtf8(row.data), false);
        EXPECT_EQ(r.message(), row.message) << row.data;
        EXPECT_EQ(r.ok(), *row.message == '\0') << row.data;
    }
}

// One AI of the table's text: its components and its associations.
struct TableAi {
    bool separator;
    std::vector<std::string> components;          // "N6,yymmd0", "[N3],iso3166"
    std::vector<std::vector<std::string>> needs;  // alternatives of patterns
    std::vector<std::string> excludes;
};

std::map<std::string, TableAi> ReadTable() {
    std::map<std::string, TableAi> table;
    std::ifstream in(SW_GS1_AI_TABLE);
    std::string line;
    auto split = [](const std::string& s, char sep) {
        std::vector<std::string> parts;
        std::stringstream ss(s);
        for (std::string p; std::getline(ss, p, sep);) parts.push_back(p);
        return parts;
    };
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string ais, fnc1, word;
        if (!(words >> ais >> fnc1) || ais == "list")
            continue;
        TableAi ai{fnc1 == "yes", {}, {}, {}};
        while (words >> word) {
            if (word.starts_with("req=")) {
                for (const std::string& alt : split(word.substr(4), ','))
                    ai.needs.push_back(split(alt, '+'));
            } else if (word.starts_with("ex=")) {
                ai.excludes = split(word.substr(3), ',');
            } else {
                ai.components.push_back(word);
            }
        }
        const std::size_t dash = ais.find('-');
        const std::string first = ais.substr(0, dash);
        const std::string last = dash == std::string::npos ? first : ais.substr(dash + 1);
        for (int v = std::stoi(first); v <= std::stoi(last); ++v) {
            std::string code = std::to_string(v);
            code.insert(0, first.size() - code.size(), '0');
            table[code] = ai;
        }
    }
    return table;
}

char GS1CheckDigit(const std::string& digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// A valid value of the longest length for a component such as "N14,csum" or "[N6],yymmdd".
std::string ValidValue(std::string component) {
    if (component.front() == '[')
        component.erase(component.find(']'), 1).erase(0, 1);
    const std::size_t comma = component.find(',');
    const std::string type = component.substr(0, comma);
    const std::set<std::string> checks = [&] {
        std::set<std::string> s;
        std::stringstream ss(comma == std::string::npos ? "" : component.substr(comma + 1));
        for (std::string c; std::getline(ss, c, ',');) s.insert(c);
        return s;
    }();
    const std::size_t length = std::stoul(type.substr(type.find_first_of("0123456789")));
    static const std::map<char, std::string> kFill = {
        {'N', "1234567890"},
        {'X', "!\"%&')*+,-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"},
        {'Y', "#-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {'Z', "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"},
    };
    static const std::map<std::string, std::string> kFixed = {
        {"yymmdd", "240229"},
        {"yymmd0", "240200"},
        {"yyyymmdd", "20000229"},
        {"hhmi", "2359"},
        {"hh", "23"},
        {"mi", "59"},
        {"ss", "59"},
        {"iso3166", "250"},
        {"iso3166999", "999"},
        {"iso3166alpha2", "FR"},
        {"iso4217", "978"},
        {"pieceoftotal", "0202"},
        {"yesno", "1"},
        {"zero", "0"},
        {"winding", "9"},
        {"hyphen", "-"},
        {"latitude", "1800000000"},
        {"longitude", "3600000000"},
        {"iso5218", "9"},
        {"posinseqslash", "2/2"},
        {"importeridx", "_"},
        {"iban", "GB82WEST12345698765432"},
        {"csumalpha", "1987654Ad4X4bL5ttr2310c2K"},  // GS1's example of a model number
    };
    for (const std::string& c : checks) {
        if (kFixed.count(c))
            return kFixed.at(c);
    }
    const std::string& fill = kFill.at(type[0]);
    std::string v;
    while (v.size() < length) v += fill[v.size() % fill.size()];
    if (checks.count("csum"))
        v.back() = GS1CheckDigit(v.substr(0, v.size() - 1));
    if (checks.count("pcenc")) {
        std::replace(v.begin(), v.end(), '%', 'P');
        v.replace(0, 3, "%2F");
    }
    return v;
}

bool Matches(const std::string& pattern, const std::string& code) {
    if (pattern.size() != code.size())
        return false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (pattern[i] != 'n' && pattern[i] != code[i])
            return false;
    }
    return true;
}

TEST(Gs1Ai, EveryAiOfTheTableTakesAValidValue) {
    const std::map<std::string, TableAi> table = ReadTable();
    ASSERT_GT(table.size(), 500u);
    EXPECT_EQ(table.size(), gs1::kAis.size());
    std::map<std::string, std::string> values;
    for (const auto& [code, ai] : table) {
        for (const std::string& c : ai.components) values[code] += ValidValue(c);
    }
    auto conflict = [&](const std::string& a, const std::string& b) {
        auto excludes = [&](const std::string& x, const std::string& y) {
            for (const std::string& p : table.at(x).excludes) {
                if (x != y && Matches(p, y))
                    return true;
            }
            return false;
        };
        return excludes(a, b) || excludes(b, a);
    };
    for (const auto& [code, ai] : table) {
        const gs1::Ai* entry = gs1::FindAi(code);
        ASSERT_NE(entry, nullptr) << code;
        EXPECT_EQ(entry->separator, ai.separator) << code;
        std::string message;
        const std::string& value = values[code];
        EXPECT_TRUE(gs1::CheckElement(*entry, value, value.size(), message))
            << code << " " << value << ": " << message;
        EXPECT_FALSE(gs1::CheckElement(*entry, value + "1", value.size() + 1, message)) << code;
        // The AIs it needs, and those they need, chosen so that none excludes another.
        std::vector<std::string> symbol{code};
        for (std::size_t i = 0; i < symbol.size(); ++i) {
            const auto& needs = table.at(symbol[i]).needs;
            for (const auto& alternative : needs) {
                std::vector<std::string> add;
                for (const std::string& p : alternative) {
                    auto it = std::find_if(table.begin(), table.end(),
                                           [&](const auto& a) { return Matches(p, a.first); });
                    ASSERT_NE(it, table.end()) << p;
                    if (std::find(symbol.begin(), symbol.end(), it->first) == symbol.end())
                        add.push_back(it->first);
                }
                const bool fits = std::none_of(add.begin(), add.end(), [&](const std::string& a) {
                    return std::any_of(symbol.begin(), symbol.end(),
                                       [&](const std::string& s) { return conflict(a, s); });
                });
                if (fits) {
                    symbol.insert(symbol.end(), add.begin(), add.end());
                    break;
                }
            }
        }
        std::vector<gs1::Element> elements;
        std::string text;
        for (const std::string& a : symbol) {
            elements.push_back({gs1::FindAi(a), values[a]});
            text += "(" + a + ")" + values[a];
        }
        EXPECT_TRUE(gs1::CheckAssociations(elements, message)) << text << ": " << message;
        // Without the parentheses, with a separator after each: when it surely fits.
        if (text.size() - symbol.size() <= gs1::kMaxData) {
            const EncodeResult r =
                MakeFontString(BarCodeType::TypeGS1_128, DecodeUtf8(text), false);
            EXPECT_TRUE(r.ok()) << text << ": " << r.message();
        }
    }
}

}  // namespace
}  // namespace sw
