// The list behind a sheet: CSV reading and write-back, bad items, and what reaches the writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "barcode/text.h"
#include "encode/encoder_cli.h"
#include "encode/sheet_items.h"
#include "encoder_run.h"

namespace sw {
namespace {

struct Outcome : test::EncoderRun {
    std::vector<SheetJob> jobs;  // what the writer was handed
};

// The job with its items held, one for each label of its own, as one pass of the writer reads
// them (during its call only); `read` turns false when they cannot be read.
SheetJob Held(const SheetJob& job, bool& read) {
    SheetJob held{job.type, job.options, {}, {}};
    SheetItems items(job);
    SheetItem item;
    int copies = 0;
    bool done = false;
    while ((read = items.Next(item, copies, done)) && !done)
        held.items.insert(held.items.end(), static_cast<std::size_t>(copies), item);
    return held;
}

// The labels of a job, in order: data, line and font string.
std::string Labels(const SheetJob& job) {
    std::string labels;
    for (const SheetItem& item : job.items) {
        labels +=
            item.data + "@" + std::to_string(item.line) + "=" + EncodeUtf8(item.fontString) + ";";
    }
    return labels;
}

Outcome RunJob(const std::vector<std::string>& args, const std::string& input) {
    std::vector<SheetJob> jobs;
    const SheetWriter writer = [&](const SheetJob& job, const std::string&) {
        bool read = true;
        jobs.push_back(Held(job, read));
        EXPECT_TRUE(read);
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

// UTF-16 bytes of ASCII and Latin-1 text, with a byte-order mark.
std::string Utf16(std::string_view latin1, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : latin1) {
        const char units[2] = {c, '\0'};
        bytes += bigEndian ? units[1] : units[0];
        bytes += bigEndian ? units[0] : units[1];
    }
    return bytes;
}

// The file goes back in its own separator, encoding and line endings, its other bytes as they
// were.
TEST(SheetItems, CsvDialectsAndEncodings) {
    struct Row {
        const char* what;
        std::string input;
        std::vector<std::string> options;
        std::string out;
    };
    const Row rows[] = {
        {"semicolons, commas in the data",
         "\xEF\xBB\xBFsku;name\r\nAB;Bolt, hex\r\n",
         {},
         "\xEF\xBB\xBFsku;name;Bar code\r\nAB;Bolt, hex;*AB*\r\n"},
        {"tabs", "sku\tname\nAB\tx;y\n", {}, "sku\tname\tBar code\nAB\tx;y\t*AB*\n"},
        {"lines ending in CR alone",
         "sku,n\rAB,x\r\rCD,y",
         {},
         "sku,n,Bar code\rAB,x,*AB*\r\rCD,y,*CD*\r"},
        {"--separator over the first line",
         "sku;a,b\nAB;c,d\n",
         {"--separator", "semicolon"},
         "sku;a,b;Bar code\nAB;c,d;*AB*\n"},
        {"UTF-16LE",
         Utf16("sku;name\r\nAB;\xE9\r\n", false),
         {},
         Utf16("sku;name;Bar code\r\nAB;\xE9;*AB*\r\n", false)},
        {"UTF-16BE",
         Utf16("sku,name\nAB,\xE9\n", true),
         {},
         Utf16("sku,name,Bar code\nAB,\xE9,*AB*\n", true)},
        {"UTF-16 without its mark",
         Utf16("sku,n\nAB,x\n", false).substr(2),
         {"--input-encoding", "utf-16le"},
         Utf16("sku,n,Bar code\nAB,x,*AB*\n", false).substr(2)},
        {"Windows-1252",
         "sku,name\nAB,\x80\x81\xE9\n",
         {},
         "sku,name,Bar code\nAB,\x80\x81\xE9,*AB*\n"},
        {"UTF-8 read as Windows-1252",
         "sku,n\nAB,\xC3\xA9\n",
         {"--input-encoding", "cp1252"},
         "sku,n,Bar code\nAB,\xC3\xA9,*AB*\n"},
        {"a short row", "sku,n,m\nAB\nCD,x\n", {}, "sku,n,m,Bar code\nAB,,,*AB*\nCD,x,,*CD*\n"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"--type", "39",       "--csv",   "--column",
                                         "1",      "--header", "--append"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const Outcome r = RunJob(args, row.input);
        EXPECT_EQ(r.status, 0) << row.what << ": " << r.err;
        EXPECT_EQ(r.out, row.out) << row.what;
    }
}

// Run again on its own output, --append replaces the column it added; blank lines and lines of
// spaces stay where they were and are no items.
TEST(SheetItems, AppendAgainReplacesItsColumn) {
    const std::vector<std::string> args = {"--type", "39",       "--csv",   "--column",
                                           "sku",    "--header", "--append"};
    const Outcome first = RunJob(args, "name,sku\r\nbolt,AB\r\n\r\n  \r\nnut,CD");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "name,sku,Bar code\r\nbolt,AB,*AB*\r\n\r\n  \r\nnut,CD,*CD*\r\n");
    const Outcome again = RunJob(args, first.out);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, first.out);
}

TEST(SheetItems, ColumnByItsName) {
    const Outcome r =
        RunJob({"--type", "39", "--csv", "--column", "SKU", "--header"}, "name, sku \nbolt,AB\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "*AB*\n");
    const Outcome missing =
        RunJob({"--type", "39", "--csv", "--column", "code", "--header"}, "name,sku\nbolt,AB\n");
    EXPECT_EQ(missing.status, kExitUsage);
    EXPECT_EQ(missing.err,
              "stripewright-encode: the header has no column \"code\" (its columns: "
              "name, sku)\n");
}

// --csv alone: the column's font strings one a line, an empty line for an item that fails.
TEST(SheetItems, CsvAloneWritesFontStrings) {
    const Outcome r = RunJob({"--type", "39", "--csv", "--column", "2"}, "1,AB\n\n2,cd\n3,EF\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "*AB*\n\n*EF*\n");
    EXPECT_EQ(r.err, "line 3: Error: input character \"c\" not legal in bar code 3 of 9\n");
    EXPECT_TRUE(r.jobs.empty());
    // The sheet's layout options are refused there, never silently dropped.
    EXPECT_EQ(RunJob({"--type", "39", "--csv", "--column", "1", "--outline"}, "AB\n").status,
              kExitUsage);
}

// The bar code bytes are written in the file's encoding; a file of ASCII takes --encoding.
TEST(SheetItems, AppendedColumnInTheFilesEncoding) {
    const std::string cp1252 = test::Encode({"--type", "128", "--encoding", "cp1252", "AB"}).out;
    const std::vector<std::string> args = {"--type", "128",      "--csv",      "--column",
                                           "1",      "--append", "--encoding", "cp1252"};
    const Outcome ascii = RunJob(args, "AB\n");
    EXPECT_EQ(ascii.status, 0) << ascii.err;
    EXPECT_EQ(ascii.out, "AB," + cp1252);
    const Outcome latin1 =
        RunJob({"--type", "128", "--csv", "--column", "1", "--append"}, "AB,\xE9\n");
    EXPECT_EQ(latin1.out, "AB,\xE9," + cp1252);
    const Outcome utf8 = RunJob(args, "AB,\xC3\xA9\n");
    EXPECT_EQ(utf8.status, kExitUsage);
    EXPECT_EQ(utf8.out, "");
}

// A row longer than the first would put its bar code in another column: nothing is written.
TEST(SheetItems, AppendRefusesARowLongerThanTheFirst) {
    const Outcome r = RunJob({"--type", "39", "--csv", "--column", "1", "--header", "--append"},
                             "sku,n\nAB,x\nCD,y,z\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("line 3: the row has 3 fields where the first has 2"), std::string::npos)
        << r.err;
}

// Messages say what was probably meant and never print the input's control bytes raw.
TEST(SheetItems, MessagesAboutTheInput) {
    struct Row {
        std::vector<std::string> args;
        std::string input;
        const char* err;  // a part of standard error
    };
    const std::vector<std::string> csv = {"--type", "39", "--csv", "--column", "1"};
    std::vector<std::string> sheet = {"--type", "39", "--sheet", "5160", "--output", "x.pdf"};
    const Row rows[] = {
        {csv, "sku,name\nAB,x\n", "(line 1 looks like a header row: --header skips it)"},
        {{"--type", "128", "--csv", "--column", "1", "--separator", ","},
         "sku;name\nAB;x\n",
         "line 1: the item holds \";\", as does the first line: the file is probably separated "
         "by semicolons (--separator semicolon)"},
        {csv, std::string("A\0B\n", 4), "the file is probably UTF-16"},
        {sheet, "AB\x1B[J\n", "line 1: Error: input character \"\\x1B\" not legal"},
        {sheet, std::string(10'000, 'A') + "\n",
         "line 1: the item is longer than the 230 characters a bar code of type 39 can hold"},
    };
    for (const Row& row : rows) {
        const Outcome r = RunJob(row.args, row.input);
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << r.err;
    }
}

// Input that is not the list: a spreadsheet's own file is refused before anything is written;
// stray control bytes, and a DATA item that names a file, are noted.
TEST(SheetItems, InputThatIsNotTheList) {
    const std::string named = testing::TempDir() + "parts.txt";
    std::FILE* file = std::fopen(named.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    struct Row {
        std::vector<std::string> args;
        std::string input;
        int status;
        const char* err;  // a part of standard error
    };
    const std::vector<std::string> sheet = {"--type", "128",      "--sheet",
                                            "5160",   "--output", "x.pdf"};
    std::vector<std::string> withData = sheet;
    withData.push_back(named);
    const Row rows[] = {
        {{"--type", "128", "--csv", "--column", "1"},
         std::string("PK\x03\x04\x14\0\x06\0", 8) + "sku\tname\n",
         kExitIoError,
         "it is a ZIP archive, such as a spreadsheet's own .xlsx or .ods file"},
        {sheet, "AB\x1B[0mC\n", 0, "line 1: the item holds the control byte \\x1B"},
        {withData, "", 0, "is taken as data, not read"},
        {{"--type", "upc", "--sheet", "5160", "--output", "x.pdf"},
         "036000291452\n",
         1,
         "line 1: Error, UPC-A codes must be 11 digits long"},
    };
    for (const Row& row : rows) {
        const Outcome r = RunJob(row.args, row.input);
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    std::remove(named.c_str());
}

// Blank lines of a list are no labels; the line numbers count them.
TEST(SheetItems, BlankLinesOfAListAreSkipped) {
    const Outcome r =
        RunJob({"--type", "39", "--sheet", "5160", "--output", "x.pdf"}, "AB\n\n  \r\nCD\nef\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("line 5: ", 0), 0u) << r.err;
}

TEST(SheetItems, CopiesFromAColumn) {
    const std::vector<std::string> args = {"--type",   "39",    "--sheet",         "5160",
                                           "--output", "x.pdf", "--csv",           "--header",
                                           "--column", "sku",   "--copies-column", "Qty"};
    const Outcome r = RunJob(args, "sku;qty\nAB;2\nCD;0\nEF; 1\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.jobs.size(), 1u);
    std::string labels;
    for (const SheetItem& item : r.jobs[0].items) labels += item.data + std::to_string(item.line);
    EXPECT_EQ(labels, "AB2AB2EF4");
    const Outcome bad = RunJob(args, "sku;qty\nAB;2\nCD;-1\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err.rfind("line 3: the number of copies \"-1\" is not", 0), 0u) << bad.err;
}

// The writer reads the items once for each of its passes: from a pipe the same as from a file,
// and a file that changes in between fails the job rather than making another sheet.
TEST(SheetItems, ItemsReadAgainForEachPass) {
    const std::vector<std::string> args = {
        "--type",   "39",  "--sheet",         "5160", "--output",  "x.pdf", "--csv", "--header",
        "--column", "sku", "--copies-column", "qty",  "--skip-bad"};
    const std::string csv = "sku;qty\nAB;2\nCD;0\n\nef;1\nGH;3\n";
    const Outcome file = RunJob(args, csv);
    ASSERT_EQ(file.jobs.size(), 1u) << file.err;

    const std::string path = testing::TempDir() + "sw_items_again.csv";
    std::FILE* saved = std::fopen(path.c_str(), "wb");
    ASSERT_NE(saved, nullptr);
    std::fputs(csv.c_str(), saved);
    std::fclose(saved);
    std::vector<std::string> passes;
    const SheetWriter twice = [&](const SheetJob& job, const std::string&) {
        for (int pass = 0; pass < 2; ++pass) {
            bool read = true;
            passes.push_back(Labels(Held(job, read)));
            EXPECT_TRUE(read);
        }
        return WriteOutcome{};
    };
    std::FILE* pipe = ::popen(("cat " + path).c_str(), "r");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(EncoderMain(args, pipe, out, err, {}, twice), kExitItemFailed);
    ::pclose(pipe);
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0], Labels(file.jobs[0]));
    EXPECT_EQ(passes[1], passes[0]);

    // The first pass sees one file, the writer's another.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    const SheetWriter changing = [&](const SheetJob& job, const std::string&) {
        std::FILE* over = std::fopen(path.c_str(), "r+b");
        std::fputs("sku;qty\nAB;1", over);
        std::fclose(over);
        bool read = true;
        Held(job, read);
        EXPECT_FALSE(read);
        return WriteOutcome{kExitIoError, "cannot make the PDF document"};
    };
    EXPECT_EQ(EncoderMain(args, in, out, err, {}, changing), kExitIoError);
    std::fclose(in);
    EXPECT_NE(
        test::ReadAll(err).find(
            "stripewright-encode: the input changed while it was read; nothing was written\n"),
        std::string::npos);
    std::fclose(out);
    std::fclose(err);
    std::remove(path.c_str());
}

TEST(SheetItems, SerialNumbers) {
    const std::string checked = test::Encode({"--type", "39", "--checksum", "7", "12"}).out;
    const Outcome text = RunJob({"--type", "39", "--checksum", "--serial", "7:5:2"}, "");
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, checked);
    const Outcome widening = RunJob({"--type", "128", "--serial", "a:{98}-x:1:3"}, "");
    EXPECT_EQ(widening.out, test::Encode({"--type", "128", "a:98-x", "a:99-x", "a:100-x"}).out);

    // On a sheet, a page's worth by default: the labels from --first-label on.
    const Outcome sheet = RunJob({"--type", "39", "--sheet", "5160", "--output", "x.pdf",
                                  "--first-label", "29", "--serial", "INV-{0009}"},
                                 "");
    ASSERT_EQ(sheet.jobs.size(), 1u) << sheet.err;
    ASSERT_EQ(sheet.jobs[0].items.size(), 2u);
    EXPECT_EQ(sheet.jobs[0].items[1].data, "INV-0010");

    for (const char* refused : {"INV-0001:1:3", "{1}", "{1}:0:3", "{1}:1:3:4", "{}:1:3"}) {
        EXPECT_EQ(RunJob({"--type", "39", "--serial", refused}, "").status, kExitUsage) << refused;
    }
}

}  // namespace
}  // namespace sw
