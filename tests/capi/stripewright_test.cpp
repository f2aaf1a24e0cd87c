// The C interface of libstripewright, as built: its results against the core's, the caller's
// buffer, bad arguments, and many threads at once.
#include "stripewright.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "barcode/catalogue.h"
#include "barcode/make.h"
#include "barcode/text.h"

namespace {

struct Item {
    const char* type;
    const char* data;
    bool checksum;
};

// Good and bad data of every type, ASCII and not, and the checksum where it counts.
const Item kItems[] = {
    {"25", "123", false},
    {"25", "12a", false},
    {"25i", "1234567890", false},
    {"25i", "123", true},
    {"25i", "1234", true},
    {"39", "CODE 39", true},
    {"39", "caf\xC3\xA9", false},
    {"Post", "123456789", false},
    {"post", "1234", false},
    {"UPC", "03600029145", false},
    {"128", "ab\tcd 1234567", false},
    {"128", "\xE2\x82\xAC 5", false},
    {"gs1-128", "(01)09501101530003(17)140704(10)AB-123", false},
    {"gs1-128", "(01)09501101530004", false},
    {"EAN13", "590123412345", false},
    {"imb", "01234567094987654321-01234567891", false},
    {"imb", "0123", false},
    {"39", "", false},
};

// What the window and stripewright-encode make of an item: the font string or the message.
std::string Expected(const Item& item, stripewright_status& status) {
    const auto type = sw::TypeFromName(item.type);
    const sw::EncodeResult r = sw::MakeFontString(*type, sw::DecodeUtf8(item.data), item.checksum);
    status = r.ok() ? STRIPEWRIGHT_OK : STRIPEWRIGHT_BAD_DATA;
    return r.ok() ? sw::EncodeUtf8(r.fontString()) : r.message();
}

std::string Encode(const Item& item, stripewright_status& status) {
    char out[512];
    size_t length = 0;
    status = stripewright_encode(item.type, item.data, item.checksum, out, sizeof out, &length);
    EXPECT_EQ(length, std::string(out).size());
    return out;
}

TEST(LibraryTest, EncodesAsTheCoreDoes) {
    for (const Item& item : kItems) {
        SCOPED_TRACE(std::string(item.type) + " " + item.data);
        stripewright_status expectedStatus, status, allocStatus;
        const std::string expected = Expected(item, expectedStatus);
        EXPECT_EQ(Encode(item, status), expected);
        EXPECT_EQ(status, expectedStatus);

        char* result = nullptr;
        allocStatus = stripewright_encode_alloc(item.type, item.data, item.checksum, &result);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result, expected);
        EXPECT_EQ(allocStatus, expectedStatus);
        stripewright_free(result);
    }
}

TEST(LibraryTest, LongItemsAreWhole) {
    // Past any buffer the library keeps on its stack.
    const std::string data(3000, '7');
    stripewright_status status;
    const std::string expected = Expected({"25i", data.c_str(), false}, status);
    char* result = nullptr;
    ASSERT_EQ(stripewright_encode_alloc("25i", data.c_str(), 0, &result), STRIPEWRIGHT_OK);
    EXPECT_EQ(result, expected);
    stripewright_free(result);
}

TEST(LibraryTest, BufferSizes) {
    // "{-CYo\xC2\xA1}" is 8 bytes: the last pair character takes two.
    const char* data = "1234567890";
    size_t needed = 0;
    ASSERT_EQ(stripewright_encode("25i", data, 0, nullptr, 0, &needed),
              STRIPEWRIGHT_BUFFER_TOO_SMALL);
    ASSERT_EQ(needed, 8u);

    struct Case {
        size_t size;
        stripewright_status status;
        const char* out;
    };
    const Case cases[] = {
        {needed + 1, STRIPEWRIGHT_OK, "{-CYo\xC2\xA1}"},
        {needed, STRIPEWRIGHT_BUFFER_TOO_SMALL, ""},  // no room for the NUL
        {1, STRIPEWRIGHT_BUFFER_TOO_SMALL, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<char> out(c.size + 4, 'x');
        size_t length = 0;
        EXPECT_EQ(stripewright_encode("25i", data, 0, out.data(), c.size, &length), c.status);
        EXPECT_EQ(length, needed);
        EXPECT_STREQ(out.data(), c.out);
        EXPECT_EQ(out[c.size], 'x') << "written past the buffer";
    }

    // A message that does not fit: ask again with the size it needs.
    char small[8];
    size_t length = 0;
    ASSERT_EQ(stripewright_encode("25", "12a", 0, small, sizeof small, &length),
              STRIPEWRIGHT_BUFFER_TOO_SMALL);
    std::vector<char> big(length + 1);
    EXPECT_EQ(stripewright_encode("25", "12a", 0, big.data(), big.size(), nullptr),
              STRIPEWRIGHT_BAD_DATA);
    EXPECT_EQ(std::string(big.data()).size(), length);
}

TEST(LibraryTest, BadArguments) {
    struct Case {
        const char* type;
        const char* data;
        stripewright_status status;
    };
    const Case cases[] = {
        {nullptr, "1", STRIPEWRIGHT_INVALID_ARGUMENT},
        {"39", nullptr, STRIPEWRIGHT_INVALID_ARGUMENT},
        {"39", "A\xC0\xAF", STRIPEWRIGHT_INVALID_ARGUMENT},      // overlong "/"
        {"128", "\xED\xA0\x80", STRIPEWRIGHT_INVALID_ARGUMENT},  // a surrogate
        {"128", "ab\xE2\x82", STRIPEWRIGHT_INVALID_ARGUMENT},    // cut short
        {"3of9", "1", STRIPEWRIGHT_UNKNOWN_TYPE},
        {"", "1", STRIPEWRIGHT_UNKNOWN_TYPE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type == nullptr ? "(null)" : c.type);
        char out[128];
        size_t length = 0;
        EXPECT_EQ(stripewright_encode(c.type, c.data, 0, out, sizeof out, &length), c.status);
        EXPECT_GT(length, 0u) << "a message says what was wrong";
        EXPECT_EQ(length, std::string(out).size());
        char* result = nullptr;
        EXPECT_EQ(stripewright_encode_alloc(c.type, c.data, 0, &result), c.status);
        EXPECT_STREQ(result, out);
        stripewright_free(result);
    }
    EXPECT_EQ(stripewright_encode("39", "1", 0, nullptr, 4, nullptr),
              STRIPEWRIGHT_INVALID_ARGUMENT);
    EXPECT_EQ(stripewright_encode_alloc("39", "1", 0, nullptr), STRIPEWRIGHT_INVALID_ARGUMENT);
}

TEST(LibraryTest, Catalogue) {
    ASSERT_EQ(stripewright_type_count(), sw::kBarCodeTypes.size());
    for (const sw::BarCodeTypeInfo& info : sw::kBarCodeTypes) {
        const char* name = stripewright_type_name(static_cast<size_t>(info.type));
        EXPECT_EQ(name, info.storedText);
        EXPECT_EQ(stripewright_type_takes_checksum(name), info.takesChecksum ? 1 : 0);
        EXPECT_STREQ(stripewright_face_name(name, "TALL"),
                     sw::FaceName(info.type, sw::BarHeight::Tall).data());
    }
    EXPECT_EQ(stripewright_type_name(stripewright_type_count()), nullptr);
    EXPECT_EQ(stripewright_type_caption(stripewright_type_count()), nullptr);
    EXPECT_EQ(stripewright_type_takes_checksum("3of9"), -1);
    EXPECT_EQ(stripewright_face_name("39", "medium"), nullptr);
    EXPECT_EQ(stripewright_face_name("3of9", "tall"), nullptr);
    EXPECT_EQ(stripewright_version(), sw::kProgramVersion);
}

TEST(LibraryTest, ManyThreadsAtOnce) {
    std::vector<std::string> expected;
    for (const Item& item : kItems) {
        stripewright_status status;
        expected.push_back(Expected(item, status));
    }
    constexpr int kThreads = 8;
    constexpr int kRounds = 300;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                for (size_t i = 0; i < std::size(kItems); ++i) {
                    // Each thread starts at another item, so that different types run together.
                    const size_t k = (i + static_cast<size_t>(t)) % std::size(kItems);
                    const Item& item = kItems[k];
                    char out[256];
                    stripewright_encode(item.type, item.data, item.checksum, out, sizeof out,
                                        nullptr);
                    char* result = nullptr;
                    stripewright_encode_alloc(item.type, item.data, item.checksum, &result);
                    if (expected[k] != out || result == nullptr || expected[k] != result)
                        ++wrong[static_cast<size_t>(t)];
                    stripewright_free(result);
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[static_cast<size_t>(t)], 0) << t;
}

}  // namespace
