// The list behind a sheet: CSV reading and write-back, bad items, and what reaches the writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encode/encoder_cli.h"
#include "encode/sheet_items.h"
#include "encoder_run.h"

namespace sw {
namespace {

struct Outcome : test::EncoderRun {
    std::vector<SheetJob> jobs;  // what the writer was handed
};

Outcome RunJob(const std::vector<std::string>& args, const std::string& input) {
    std::vector<SheetJob> jobs;
    const SheetWriter writer = [&](const SheetJob& job, const std::string&) {
        jobs.push_back(job);
        return WriteOutcome{};
    };
    test::EncoderRun run = test::Encode(args, input, {}, writer);
    return {std::move(run), std::move(jobs)};
}

// A spreadsheet's export: a byte-order mark, CRLF, quoted commas, doubled quotes and a line
// break inside a field; line numbers count the file's lines.
constexpr const char* kCsv =
    "\xEF\xBB\xBFname,sku\r\n"
    "\"Bolt, hex\",AB12\r\n"
    "\"Nut \"\"M6\"\"\r\nwide\",CD-34\r\n"
    "Washer,ef\r\n";

TEST(SheetItems, CsvColumnWrittenBackWithFontStrings) {
    const Outcome r = RunJob(
        {"--type", "39", "--csv", "--column", "2", "--header", "--append", "--skip-bad"}, kCsv);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "\xEF\xBB\xBFname,sku,Bar code\r\n"
              "\"Bolt, hex\",AB12,*AB12*\r\n"
              "\"Nut \"\"M6\"\"\r\nwide\",CD-34,*CD-34*\r\n"
              "Washer,ef,\r\n");
    EXPECT_EQ(r.err.rfind("line 5: Error: input character \"e\" not legal", 0), 0u) << r.err;
    EXPECT_TRUE(r.jobs.empty());

    // A file of its header alone goes back with the new column's name.
    const Outcome header =
        RunJob({"--type", "39", "--csv", "--column", "2", "--header", "--append"}, "name,sku\r\n");
    EXPECT_EQ(header.status, 0) << header.err;
    EXPECT_EQ(header.out, "name,sku,Bar code\r\n");
}

TEST(SheetItems, BadItemStopsTheJobUnlessSkipped) {
    const std::vector<std::string> sheet = {"--type", "39",    "--sheet",  "5160", "--output",
                                            "x.pdf",  "--csv", "--column", "2",    "--header"};
    const Outcome stopped = RunJob(sheet, kCsv);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.jobs.empty()) << "nothing may be written";
    EXPECT_EQ(stopped.err.rfind("line 5: ", 0), 0u) << stopped.err;

    std::vector<std::string> skipping = sheet;
    skipping.push_back("--skip-bad");
    const Outcome skipped = RunJob(skipping, kCsv);
    EXPECT_EQ(skipped.status, 1);
    ASSERT_EQ(skipped.jobs.size(), 1u);
    const std::vector<SheetItem>& items = skipped.jobs[0].items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].data, "CD-34");
    EXPECT_EQ(items[1].line, 3u);
    EXPECT_EQ(items[2].line, 5u);
    EXPECT_TRUE(items[2].fontString.empty()) << "a skipped item leaves its label empty";
    EXPECT_NE(skipped.err.find("line 5: "), std::string::npos);
}

TEST(SheetItems, CsvThatCannotBeRead) {
    struct Row {
        const char* input;
        const char* column;
        const char* err;
    };
    const Row rows[] = {
        {"a,\"b\nc\n", "1", "line 1: a quoted field is not closed\n"},
        {"A1,B1\nA2\n", "2", "line 2: there is no column 2\n"},
    };
    for (const Row& row : rows) {
        const Outcome r =
            RunJob({"--type", "39", "--csv", "--column", row.column, "--append"}, row.input);
        EXPECT_EQ(r.status, 1) << row.input;
        EXPECT_EQ(r.out, "") << row.input;
        EXPECT_EQ(r.err, row.err) << row.input;
    }
}

TEST(SheetItems, OptionsThatDoNotGoTogether) {
    const std::vector<std::string> rows[] = {
        {"--type", "39", "--sheet", "5160"},                       // no output
        {"--type", "39", "--sheet", "9999", "--output", "a.pdf"},  // unknown sheet
        {"--type", "39", "--sheet", "5160", "--output", "a.png"},  // unknown format
        {"--type", "39", "--sheet", "5160", "--output", "a.pdf", "--first-label", "31"},
        {"--type", "39", "--sheet", "custom:2,2,5,1,0,0,5,1", "--output", "a.pdf"},  // too wide
        {"--type", "39", "--sheet", "custom:2,2,4,1,0,0,3,1", "--output", "a.pdf"},  // overlap
        {"--type", "39", "--csv", "--append"},                                       // no column
        {"--type", "39", "--sheet", "5160", "--output", "a.pdf", "--png", "b.png", "X"},
    };
    for (const auto& args : rows) {
        const Outcome r = RunJob(args, "X\n");
        EXPECT_EQ(r.status, kExitUsage) << args[3];
        EXPECT_TRUE(r.jobs.empty());
    }
}

TEST(SheetItems, CustomSheetAndCopiesReachTheWriter) {
    const Outcome r =
        RunJob({"--type", "25", "--sheet", "custom:3,4,2.5,1.5,0.5,0.75,2.6,2.5", "--paper", "A4",
                "--output", "a.rtf", "--copies", "3", "--first-label", "5", "--text"},
               "123\n456\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.jobs.size(), 1u);
    const SheetOptions& o = r.jobs[0].options;
    EXPECT_EQ(o.format, SheetFormat::Rtf);
    EXPECT_EQ(o.paper.name, kA4Paper.name);
    EXPECT_EQ(o.sheet.columns, 3);
    EXPECT_DOUBLE_EQ(o.sheet.dy, 2.5);
    EXPECT_EQ(o.copies, 3);
    EXPECT_EQ(o.firstLabel, 5);
    EXPECT_TRUE(o.text);
}

}  // namespace
}  // namespace sw
