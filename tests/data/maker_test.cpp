// One maker everywhere: the package, its copyright file, the AppStream metadata and the fonts
// name the maker the program names.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "output/vendor.h"

namespace {

TEST(Maker, EveryFileNamesTheProgramsMaker) {
    struct Row {
        const char* file;  // in the source tree
        const char* pattern;
    };
    const Row rows[] = {
        {"debian/control", R"re(\nMaintainer: ([^<\n]+) <)re"},
        {"debian/copyright", R"re(\nUpstream-Contact: ([^<\n]+) <)re"},
        {"debian/copyright", R"re(\nFiles: \*\nCopyright: 2026 ([^\n]+)\n)re"},
        {"data/example.stripewright.Stripewright.metainfo.xml",
         R"re(<developer_name>([^<]+)</developer_name>)re"},
        {"fonts/make_fonts.py", R"re(\nVENDOR = "([^"]+)")re"},
        {"fonts/make_fonts.py", R"re(\nCOPYRIGHT = "Copyright \(c\) 2026 ([^"]+)")re"},
    };
    for (const Row& r : rows) {
        QFile file(QStringLiteral(SW_SOURCE_DIR_PATH "/") + QString::fromLatin1(r.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << r.file;
        const QRegularExpressionMatch found = QRegularExpression(QString::fromLatin1(r.pattern))
                                                  .match(QString::fromUtf8(file.readAll()));
        ASSERT_TRUE(found.hasMatch()) << r.file << ": " << r.pattern;
        EXPECT_EQ(found.captured(1).trimmed(), sw::vendor::kName) << r.file;
    }
}

}  // namespace
