#include "output/rtf_reader.h"

#include <cctype>

namespace sw::testing {
namespace {

enum class Destination { Text, FontTable, Skip };

struct State {
    Destination destination = Destination::Text;
    int font = 0;
    int halfPoints = 24;
    int skipAfterUnicode = 1;
};

char32_t FromCp1252(int byte) {
    if (byte == 0x80)
        return U'\u20AC';
    return static_cast<char32_t>(byte);  // the rest of what the tests use is Latin-1
}

}  // namespace

RtfText ReadRtf(const QByteArray& rtf) {
    RtfText out;
    std::vector<State> stack;
    State state;
    int fontEntry = -1;
    QString fontName;
    char16_t highSurrogate = 0;
    int toSkip = 0;
    int depth = 0;

    // `literal`: the character stood as itself in the file; only such a semicolon ends a name
    // in the font table.
    const auto put = [&](char32_t c, bool literal = false) {
        if (toSkip > 0) {
            --toSkip;
            return;
        }
        if (state.destination == Destination::Skip)
            return;
        if (state.destination == Destination::FontTable) {
            if (c == U';' && literal) {
                out.fonts[fontEntry] = fontName;
                fontName.clear();
            } else {
                fontName += QString::fromUcs4(&c, 1);
            }
            return;
        }
        out.chars.push_back(
            {c, out.fonts.value(state.font, QStringLiteral("?")), state.halfPoints});
    };

    qsizetype i = 0;
    const qsizetype n = rtf.size();
    while (i < n) {
        const char ch = rtf[i];
        if (ch == '{') {
            stack.push_back(state);
            ++depth;
            ++i;
        } else if (ch == '}') {
            if (stack.empty()) {
                out.error = QStringLiteral("unbalanced }");
                return out;
            }
            state = stack.back();
            stack.pop_back();
            --depth;
            ++i;
        } else if (ch == '\r' || ch == '\n') {
            ++i;
        } else if (ch != '\\') {
            put(static_cast<unsigned char>(ch), true);
            ++i;
        } else {
            ++i;
            if (i >= n)
                break;
            const char next = rtf[i];
            if (next == '\\' || next == '{' || next == '}') {
                put(static_cast<unsigned char>(next));
                ++i;
            } else if (next == '\'') {
                const int byte = rtf.mid(i + 1, 2).toInt(nullptr, 16);
                put(FromCp1252(byte));
                i += 3;
            } else if (next == '*') {
                state.destination = Destination::Skip;
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(next))) {
                QByteArray word;
                while (i < n && std::isalpha(static_cast<unsigned char>(rtf[i]))) word += rtf[i++];
                QByteArray number;
                if (i < n && (rtf[i] == '-' || std::isdigit(static_cast<unsigned char>(rtf[i])))) {
                    number += rtf[i++];
                    while (i < n && std::isdigit(static_cast<unsigned char>(rtf[i])))
                        number += rtf[i++];
                }
                if (i < n && rtf[i] == ' ')
                    ++i;
                const int value = number.toInt();
                if (word == "fonttbl") {
                    state.destination = Destination::FontTable;
                } else if (word == "f") {
                    if (state.destination == Destination::FontTable) {
                        fontEntry = value;
                    } else {
                        state.font = value;
                    }
                } else if (word == "fs") {
                    state.halfPoints = value;
                } else if (word == "plain") {
                    state.font = 0;
                    state.halfPoints = 24;
                } else if (word == "ansicpg") {
                    out.codePage = value;
                } else if (word == "uc") {
                    state.skipAfterUnicode = value;
                } else if (word == "par" || word == "line") {
                    put(U'\n');
                } else if (word == "tab") {
                    put(U'\t');
                } else if (word == "u") {
                    const auto unit = static_cast<char16_t>(value < 0 ? value + 65536 : value);
                    if (unit >= 0xD800 && unit < 0xDC00) {
                        highSurrogate = unit;
                    } else if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate) {
                        put(0x10000 + ((char32_t(highSurrogate) - 0xD800) << 10) + (unit - 0xDC00));
                        highSurrogate = 0;
                    } else {
                        put(unit);
                    }
                    toSkip = state.skipAfterUnicode;
                    continue;
                } else if (state.destination == Destination::Text && depth > 1 &&
                           (word == "stylesheet" || word == "colortbl" || word == "info")) {
                    state.destination = Destination::Skip;
                }
            } else {
                ++i;  // a control symbol the tests do not need
            }
        }
    }
    if (depth != 0)
        out.error = QStringLiteral("unbalanced {");
    return out;
}

}  // namespace sw::testing
