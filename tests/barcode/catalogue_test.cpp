#include <gtest/gtest.h>

#include <set>
#include <string>

#include "barcode/catalogue.h"

namespace sw {
namespace {

TEST(Catalogue, StoredTypeTextIsReadExactly) {
    struct Row {
        const char* text;
        BarCodeType type;
    };
    const Row rows[] = {{"25", BarCodeType::Type25},   {"25i", BarCodeType::Type25i},
                        {"39", BarCodeType::Type39},   {"Post", BarCodeType::TypePost},
                        {"UPC", BarCodeType::TypeUPC}, {"post", BarCodeType::TypeUPC},
                        {"", BarCodeType::TypeUPC},    {"25I", BarCodeType::TypeUPC},
                        {" 39", BarCodeType::TypeUPC}, {"128", BarCodeType::TypeUPC},
                        {"imb", BarCodeType::TypeUPC}};
    for (const Row& r : rows) EXPECT_EQ(TypeFromSetting(r.text), r.type) << r.text;
}

TEST(Catalogue, CommandLineNamesIgnoreCase) {
    EXPECT_EQ(TypeFromName("post"), BarCodeType::TypePost);
    EXPECT_EQ(TypeFromName("25I"), BarCodeType::Type25i);
    EXPECT_EQ(TypeFromName("upc"), BarCodeType::TypeUPC);
    EXPECT_EQ(TypeFromName("GS1-128"), BarCodeType::TypeGS1_128);
    EXPECT_EQ(TypeFromName("EAN13"), BarCodeType::TypeEAN13);
    EXPECT_FALSE(TypeFromName("93").has_value());
    EXPECT_FALSE(TypeFromName("").has_value());
}

TEST(Catalogue, FaceTable) {
    struct Row {
        BarCodeType type;
        const char* s;
        const char* n;
        const char* t;
    };
    const Row rows[] = {
        {BarCodeType::Type25, "Sample 25 Short", "Sample 25", "Sample 25 Tall"},
        {BarCodeType::Type25i, "Sample 25 Interleaved Short", "Sample 25 Interleaved",
         "Sample 25 Interleaved Tall"},
        {BarCodeType::Type39, "Sample 39 Short", "Sample 39", "Sample 39 Tall"},
        {BarCodeType::TypeUPC, "Sample UPCA Short", "Sample UPCA", "Sample UPCA"},
        {BarCodeType::TypePost, "Sample Postal", "Sample Postal", "Sample Postal"},
        {BarCodeType::Type128, "Sample 128 Short", "Sample 128", "Sample 128 Tall"},
        {BarCodeType::TypeGS1_128, "Sample 128 Short", "Sample 128", "Sample 128 Tall"},
        {BarCodeType::TypeEAN13, "Sample EAN13 Short", "Sample EAN13", "Sample EAN13"},
        {BarCodeType::TypeIMb, "Sample IMb", "Sample IMb", "Sample IMb"},
    };
    std::set<std::string> seen;
    for (const Row& r : rows) {
        EXPECT_EQ(FaceName(r.type, BarHeight::Short), r.s);
        EXPECT_EQ(FaceName(r.type, BarHeight::Normal), r.n);
        EXPECT_EQ(FaceName(r.type, BarHeight::Tall), r.t);
        for (auto h : {BarHeight::Short, BarHeight::Normal, BarHeight::Tall}) {
            seen.insert(std::string(FaceName(r.type, h)));
        }
    }
    const std::set<std::string> listed(kFaceNames.begin(), kFaceNames.end());
    EXPECT_EQ(seen, listed);
}

TEST(Catalogue, HeightsAndTypeSettings) {
    EXPECT_EQ(HeightFromSetting("S"), BarHeight::Short);
    EXPECT_EQ(HeightFromSetting("N"), BarHeight::Normal);
    EXPECT_EQ(HeightFromSetting("T"), BarHeight::Tall);
    EXPECT_EQ(HeightFromSetting("X"), BarHeight::Tall);
    EXPECT_EQ(HeightFromSetting("n"), BarHeight::Tall);
    for (auto h : {BarHeight::Short, BarHeight::Normal, BarHeight::Tall}) {
        EXPECT_EQ(HeightFromSetting(HeightSetting(h)), h);
    }
    for (const auto& info : kBarCodeTypes) {
        EXPECT_EQ(&Info(info.type), &info);
        // The window's stored setting knows its own five types only.
        const bool window = static_cast<std::size_t>(info.type) < kWindowTypes;
        EXPECT_EQ(TypeFromSetting(info.storedText), window ? info.type : BarCodeType::TypeUPC);
    }
    for (const auto& info : kBarCodeTypes) {
        // The dispatch reaches the code compiled for the type asked for.
        EXPECT_EQ(WithType(info.type, [](auto tag) { return decltype(tag)::value; }), info.type);
    }
    EXPECT_EQ(Info(BarCodeType::TypePost).pointSize, 18);
    EXPECT_EQ(Info(BarCodeType::TypeUPC).pointSize, 50);
    EXPECT_TRUE(Info(BarCodeType::Type25i).takesChecksum);
    EXPECT_TRUE(Info(BarCodeType::Type39).takesChecksum);
    EXPECT_FALSE(Info(BarCodeType::Type25).takesChecksum);
}

}  // namespace
}  // namespace sw
