// Where an encoder writes its font string. Encoders are templates over the text they read (a
// view of code points, or of bytes when the caller knows the text is ASCII) and over the sink
// they write to, so the command-line encoder can write UTF-8 straight into its output buffer
// without building a string per item.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace sw {

// Reads a character of either kind of text as a code point.
template <class Char>
constexpr char32_t CodePoint(Char c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// Writes each character as it is.
struct Identity {
    constexpr char32_t operator()(char32_t c) const { return c; }
};

// Every sink offers size(), Reserve(n), Put(c), PutAll(text[, map]) and Truncate(size).

// Appends code points to a std::u32string.
struct U32Sink {
    std::u32string& s;
    std::size_t size() const { return s.size(); }
    void Reserve(std::size_t n) { s.reserve(s.size() + n); }
    void Put(char32_t c) { s.push_back(c); }
    template <class View, class Map = Identity>
    void PutAll(View v, Map map = {}) {
        if constexpr (std::is_same_v<View, std::u32string_view> && std::is_same_v<Map, Identity>) {
            s.append(v);
        } else {
            for (auto c : v) s.push_back(map(CodePoint(c)));
        }
    }
    void Truncate(std::size_t n) { s.resize(n); }
};

}  // namespace sw
