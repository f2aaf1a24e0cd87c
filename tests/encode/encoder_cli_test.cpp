// The command-line encoder, driven in process through temporary files and once as a process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "encode/encoder_cli.h"
#include "encode/module_loader.h"
#include "encoder_run.h"

namespace sw {
namespace {

using Outcome = test::EncoderRun;
using test::Encode;
using test::ReadAll;

TEST(EncoderCli, StandardInputKeepsLinesAligned) {
    const Outcome r = Encode({"--type", "39"}, "1234ABCD\nabc\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "*1234ABCD*\n\n");
    EXPECT_EQ(r.err, "line 2: Error: input character \"a\" not legal in bar code 3 of 9\n");
}

TEST(EncoderCli, InputEndings) {
    struct Row {
        const char* input;
        const char* out;
        int status;
    };
    const Row rows[] = {
        {"12345\r\n123456789\r\n", "(123455)\n(1234567895)\n", 0},  // CRLF
        {"12345\n00000", "(123455)\n(000000)\n", 0},                // no final ending
        {"", "", 0},                                                // no items at all
        {"\n12345\n", "\n(123455)\n", 1},                           // empty line, empty item
        {"\r\n", "\n", 1},
    };
    for (const Row& row : rows) {
        const Outcome r = Encode({"--type", "post"}, row.input);
        EXPECT_EQ(r.out, row.out) << row.input;
        EXPECT_EQ(r.status, row.status) << row.input;
    }
    EXPECT_EQ(Encode({"--type", "post"}, "\n12345\n").err, "line 1: Error- no data to bar code\n");
}

// Lines that run across reads come out whole; a line longer than any bar code is refused
// without being held, and the lines after it are still read right.
TEST(EncoderCli, LongLinesAcrossReadChunks) {
    std::string input, expected;
    for (int i = 0; i < 20'000; ++i) {
        input += i % 2 ? "ABCDEFGHIJ\r\n" : "ABCDEFGHIJ\n";
        expected += "*ABCDEFGHIJ*\n";
    }
    const Outcome r = Encode({"--type", "39"}, input + std::string(200'000, 'A') + "\n" + input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expected + "\n" + expected);
    EXPECT_NE(r.err.find("line 20001: the item is longer than"), std::string::npos) << r.err;
}

// Standard input takes a faster path than arguments for lines that lie within one read; both
// must give the same lines, messages and status, whatever the type, options and line endings.
TEST(EncoderCli, StandardInputMatchesArguments) {
    const std::vector<std::string> samples = {
        "0",
        "12345",
        "123456789",
        "12345678901",
        "1234ABCD",
        "CODE 39",
        "-. $/+%",
        "Z",
        "",
        "abc",
        "12 34",
        "\xc3\x89T\xc3\x89",
        "1\xc2\xbd",
        "\xff",
        "*",
        "00",
        "99",
        "7",
        "03600029145",
        "123456789012",
        "a\tb~\x1f",
        "(01)09501101530003(10)A1",
        "01234567094987654321-01234567891",
    };
    std::vector<std::string> items;
    std::string input;
    // Enough lines to cross several read chunks at varying offsets.
    for (std::size_t i = 0; input.size() < 300'000; ++i) {
        std::string item = samples[i % samples.size()];
        for (std::size_t k = i % 7; k > 0; --k) item += samples[(i / 3 + k) % 5];
        items.push_back(item);
        input += item + (i % 3 == 0 ? "\r\n" : "\n");
    }
    const std::vector<std::vector<std::string>> optionSets = {
        {"--type", "25"},
        {"--type", "25i"},
        {"--type", "25i", "--checksum"},
        {"--type", "39"},
        {"--type", "39", "--checksum"},
        {"--type", "Post"},
        {"--type", "UPC"},
        {"--type", "128"},
        {"--type", "GS1-128"},
        {"--type", "ean13"},
        {"--type", "imb"},
    };
    for (const auto& options : optionSets) {
        for (const char* encoding : {"utf-8", "cp1252"}) {
            std::vector<std::string> args = options;
            args.insert(args.end(), {"--encoding", encoding});
            std::vector<std::string> withItems = args;
            withItems.push_back("--");
            withItems.insert(withItems.end(), items.begin(), items.end());
            const Outcome fromInput = Encode(args, input);
            const Outcome fromArgs = Encode(withItems);
            EXPECT_EQ(fromInput.status, fromArgs.status) << args[1] << " " << encoding;
            EXPECT_TRUE(fromInput.out == fromArgs.out) << args[1] << " " << encoding;
            EXPECT_TRUE(fromInput.err == fromArgs.err) << args[1] << " " << encoding;
        }
    }
}

TEST(EncoderCli, ArgumentsAreItems) {
    const Outcome r = Encode({"--type=25i", "--checksum", "--", "123", "--x", "7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "{-E}\n\n{p}\n");
    EXPECT_EQ(r.err,
              "line 2: Error- you can only encode digits with bar code 2 of 5 interleaved\n");
    EXPECT_EQ(Encode({"12345678901", "--type", "UPC"}).out, " Q23456|GHI@Ab\n");
}

TEST(EncoderCli, EveryWorkedExample) {
    struct Row {
        std::vector<std::string> args;
        const char* out;
    };
    const Row rows[] = {
        {{"--type", "25", "123", "0"}, "(123)\n(0)\n"},
        {{"--type", "25i", "1234", "1234567890", "99", "00", "89"},
         "{-C}\n{-CYo\u00a1}\n{\u00aa}\n{!}\n{z}\n"},
        {{"--type", "25i", "--checksum", "123", "7"}, "{-E}\n{p}\n"},
        {{"--type", "39", "1234ABCD", " "}, "*1234ABCD*\n*~*\n"},
        {{"--type", "39", "--checksum", "1234ABCD", "CODE 39", "Z3", "0"},
         "*1234ABCDD*\n*CODE~39R*\n*Z3~*\n*00*\n"},
        {{"--type", "Post", "12345", "123456789", "00000", "12345678901", "123456789012"},
         "(123455)\n(1234567895)\n(000000)\n(123456789014)\n(1234567890122)\n"},
        {{"--type", "UPC", "03600029145", "00000000000", "12345678901"},
         " P36000|BIADEb\n P00000|@@@@@`\n Q23456|GHI@Ab\n"},
        {{"--type", "128", "Code 128", "1234567890"},
         "\u00ccCode\u00c2128`\u00ce\n\u00cd,BXnzu\u00ce\n"},
        {{"--type", "gs1-128", "(01)09501101530003"}, "\u00cd\u00ca!)R+!U\u00c2#g\u00ce\n"},
        {{"--type", "ean13", "590123412345", "5901234123457"}, "U9pq23t|ABCDEg\nU9pq23t|ABCDEg\n"},
        {{"--type", "imb", "01234567094987654321"},
         "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT\n"},
    };
    for (const Row& row : rows) {
        const Outcome r = Encode(row.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.out);
    }
}

TEST(EncoderCli, Cp1252WritesSingleBytes) {
    const Outcome r = Encode({"--type", "25i", "--encoding", "cp1252", "1234567890", "99"});
    EXPECT_EQ(r.out, "{-CYo\xa1}\n{\xaa}\n");
    EXPECT_EQ(Encode({"--type", "128", "--encoding", "cp1252", "Code 128"}).out,
              "\xcc"
              "Code\xc2"
              "128`\xce\n");
}

TEST(EncoderCli, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"123"},
        {"--type"},
        {"--type", "93", "1"},
        {"--type", "25", "--checksum", "1"},
        {"--type", "128", "--checksum", "1"},
        {"--type", "post", "--checksum"},
        {"--type", "39", "--encoding", "latin9", "A"},
        {"--type", "39", "--frobnicate", "A"},
        {"--type", "39", "--checksum=yes", "A"},
    };
    for (const auto& args : bad) {
        const Outcome r = Encode(args, "A\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Usage: stripewright-encode"), std::string::npos);
    }
}

TEST(EncoderCli, HelpAndVersion) {
    EXPECT_EQ(Encode({"--version"}).out, "stripewright-encode 8.5\n");
    const Outcome help = Encode({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: stripewright-encode", 0), 0u);
}

TEST(EncoderCli, RunsAsAProgram) {
    EXPECT_EQ(test::Shell("printf '1234ABCD\\nabc\\n' | " SW_ENCODE_EXE
                          " --type 39 2>/dev/null; echo \"rc=$?\""),
              "*1234ABCD*\n\nrc=1\n");
}

TEST(EncoderCli, ReportsAFailedWrite) {
    std::FILE* full = std::fopen("/dev/full", "w");
    if (full == nullptr)
        GTEST_SKIP() << "no /dev/full";
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(EncoderMain({"--type", "39", "A"}, stdin, full, err), 3);
    EXPECT_NE(ReadAll(err).find("cannot write the output"), std::string::npos);
    std::fclose(full);
    std::fclose(err);
}

// --png: one item, drawn by the picture writer; the writer here only records what it gets.
struct PngRun {
    Outcome outcome;
    std::vector<PictureRequest> requests;
    std::vector<std::string> files;
};

PngRun EncodePng(const std::vector<std::string>& args, const std::string& failure = "") {
    PngRun run;
    const PictureWriter writer = [&](const PictureRequest& request, const std::string& file) {
        run.requests.push_back(request);
        run.files.push_back(file);
        return failure.empty() ? WriteOutcome{} : WriteOutcome{kExitIoError, failure};
    };
    run.outcome = Encode(args, "", writer);
    return run;
}

TEST(EncoderCliPng, OptionsAndDefaults) {
    struct Row {
        std::vector<std::string> args;
        std::u32string fontString;
        BarHeight height;
        double points;
        int dpi;
    };
    const Row rows[] = {
        {{"--type", "39", "--png", "a.png", "CODE 39"}, U"*CODE~39*", BarHeight::Normal, 24, 300},
        {{"--type", "39", "--checksum", "--png=a.png", "CODE 39"},
         U"*CODE~39R*",
         BarHeight::Normal,
         24,
         300},
        {{"--type", "post", "--png", "a.png", "12345"}, U"(123455)", BarHeight::Normal, 18, 300},
        {{"--type", "upc", "--png", "a.png", "--height", "SHORT", "--size", "44.5", "--dpi", "600",
          "--", "03600029145"},
         U" P36000|BIADEb",
         BarHeight::Short,
         44.5,
         600},
        {{"--png", "a.png", "--height=tall", "--type", "25i", "--size=16", "--dpi=72", "1234"},
         U"{-C}",
         BarHeight::Tall,
         16,
         72},
    };
    for (const Row& row : rows) {
        const PngRun run = EncodePng(row.args);
        EXPECT_EQ(run.outcome.status, 0) << run.outcome.err;
        EXPECT_EQ(run.outcome.out, "");
        EXPECT_EQ(run.outcome.err, "");
        ASSERT_EQ(run.requests.size(), 1u);
        EXPECT_EQ(run.files.front(), "a.png");
        const PictureRequest& r = run.requests.front();
        EXPECT_TRUE(r.fontString == row.fontString);
        EXPECT_EQ(r.height, row.height);
        EXPECT_EQ(r.points, row.points);
        EXPECT_EQ(r.dpi, row.dpi);
    }
    EXPECT_EQ(EncodePng({"--type", "post", "--png", "a.png", "12345"}).requests.front().type,
              BarCodeType::TypePost);
}

TEST(EncoderCliPng, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"--type", "39", "--png", "a.png"},            // no item
        {"--type", "39", "--png", "a.png", "A", "B"},  // two items
        {"--type", "39", "--png", "", "A"},            // no file name
        {"--type", "39", "--png"},                     // no value at all
        {"--type", "39", "--png", "a.png", "--dpi", "0", "A"},
        {"--type", "39", "--png", "a.png", "--dpi", "2401", "A"},
        {"--type", "39", "--png", "a.png", "--dpi", "300.5", "A"},
        {"--type", "39", "--png", "a.png", "--dpi", "abc", "A"},
        {"--type", "39", "--png", "a.png", "--dpi", "99999999999999999999", "A"},
        {"--type", "39", "--png", "a.png", "--size", "-4", "A"},
        {"--type", "39", "--png", "a.png", "--size", "1e2", "A"},
        {"--type", "39", "--png", "a.png", "--size", "401", "A"},
        {"--type", "39", "--png", "a.png", "--size", "3.9", "A"},
        {"--type", "39", "--png", "a.png", "--size", "2..4", "A"},
        {"--type", "39", "--png", "a.png", "--size", "", "A"},
        {"--type", "39", "--png", "a.png", "--height", "huge", "A"},
        {"--type", "39", "--png", "a.png", "--encoding", "cp1252", "A"},
        {"--type", "39", "--dpi", "300", "A"},  // picture options without --png
        {"--type", "39", "--height", "short", "A"},
        {"--type", "39", "--size", "24", "A"},
        {"--type", "39", "--svg", "-", "--pdf", "-", "A"},        // two pictures on standard output
        {"--type", "39", "--svg", "a.svg", "--dpi", "300", "A"},  // resolution of no picture
        {"--type", "39", "--png", "a.png", "--png", "b.png", "A"},  // a second file of one format
        {"--type", "39", "--png", "a", "--svg", "./a", "A"},        // one file for two pictures
    };
    for (const auto& args : bad) {
        const PngRun run = EncodePng(args);
        EXPECT_EQ(run.outcome.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(run.requests.empty());
        EXPECT_NE(run.outcome.err.find("Usage: stripewright-encode"), std::string::npos);
    }
}

TEST(EncoderCliPng, SeveralPicturesOfOneItem) {
    const PngRun run =
        EncodePng({"--type", "39", "--svg", "-", "--png", "a.png", "--pdf", "b.pdf", "A"});
    EXPECT_EQ(run.outcome.status, 0) << run.outcome.err;
    ASSERT_EQ(run.requests.size(), 3u);
    EXPECT_EQ(run.files, (std::vector<std::string>{"a.png", "-", "b.pdf"}));
    EXPECT_EQ(run.requests[1].format, PictureFormat::Svg);
    EXPECT_EQ(run.requests[2].format, PictureFormat::Pdf);
}

// The picture module is found beside the program, or where it is installed when the program
// cannot find itself: never from the working folder.
TEST(EncoderCliPng, PictureModuleNeverFromTheWorkingFolder) {
    const std::string installed = PictureModulePath("/no/such/link");
    EXPECT_EQ(installed.front(), '/');
    EXPECT_EQ(installed.find("/../"), std::string::npos) << installed;
}

TEST(EncoderCliPng, FailedItemAndFailedWrite) {
    const PngRun bad = EncodePng({"--type", "39", "--png", "a.png", "abc"});
    EXPECT_EQ(bad.outcome.status, 1);
    EXPECT_EQ(bad.outcome.err,
              "line 1: Error: input character \"a\" not legal in bar code 3 of 9\n");
    EXPECT_TRUE(bad.requests.empty());

    const PngRun empty = EncodePng({"--type", "upc", "--png", "a.png", ""});
    EXPECT_EQ(empty.outcome.status, 1);
    EXPECT_EQ(empty.outcome.err, "line 1: Error- no data to bar code\n");

    const PngRun unwritable =
        EncodePng({"--type", "39", "--png", "a.png", "A"}, "cannot write a.png: Permission denied");
    EXPECT_EQ(unwritable.outcome.status, 3);
    EXPECT_EQ(unwritable.outcome.err,
              "stripewright-encode: cannot write a.png: Permission denied\n");

    // A build without a picture writer says so rather than pretending.
    const Outcome none = Encode({"--type", "39", "--png", "a.png", "A"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("cannot write pictures"), std::string::npos);
}

// Under a memory limit, an item far longer than any bar code is refused as soon as it is read,
// and memory that runs out is a failure with a message, never an abort.
TEST(EncoderCli, SheetUnderAMemoryLimit) {
    SW_SKIP_UNDER_A_MEMORY_LIMIT();
    struct Row {
        const char* limitKb;
        const char* megabytes;  // of one item
        bool piped;             // or read from a file
        const char* options;
        const char* err;  // the start of standard error
        const char* status;
        bool quoted = false;  // the item follows a quoted field of as many line breaks
        char fill = 'A';      // the item's bytes
    };
    // A list is read piece by piece, from a file or a pipe: the long line is cut where it is
    // already too long. A CSV written back from a pipe is held, to be read twice; from a file,
    // its other fields pass through.
    const char* sheet = " --sheet 5160 --output /nonexistent/x.pdf";
    const Row rows[] = {
        {"60000", "100", false, sheet, "line 1: the item is longer than", "status 1"},
        {"60000", "100", true, sheet, "line 1: the item is longer than", "status 1"},
        {"150000", "300", true, " --csv --column 1 --append",
         "stripewright-encode: not enough memory", "status 3"},
        {"60000", "100", false, " --csv --column 2 --append --skip-bad",
         "line 1: the item is longer than", "status 1", true},
        {"60000", "100", true, " --csv --column 2 --sheet 5160 --output /nonexistent/x.pdf",
         "line 1: the item is longer than", "status 1", true},
        {"60000", "100", false, " --csv --column 2 --sheet 5160 --output /nonexistent/x.pdf",
         "line 1: Error- no data", "status 1", false, ','},
    };
    // Named for this process: other test runs on the machine use the same folder.
    const std::string file =
        testing::TempDir() + "sw_long_item_" + std::to_string(::getpid()) + ".txt";
    for (const Row& row : rows) {
        const std::string zeros = std::string("head -c ") + row.megabytes + "000000 /dev/zero";
        std::string item = zeros + " | tr '\\0' '" + row.fill + "'";
        if (row.quoted)
            item = "{ printf '\"'; " + zeros + " | tr '\\0' '\\n'; printf '\",'; " + item + "; }";
        const std::string input = row.piped ? item + " | " : item + " > " + file + "; ";
        const std::string out = test::Shell(
            "(" + input + "(ulimit -v " + row.limitKb + "; exec " SW_ENCODE_EXE " --type 39" +
            row.options + (row.piped ? "" : " < " + file) + " 2>&1 >/dev/null); echo status $?)");
        EXPECT_EQ(out.rfind(row.err, 0), 0u) << out;
        EXPECT_NE(out.find(std::string(row.status) + "\n"), std::string::npos) << out;
    }
    std::remove(file.c_str());
}

// A sheet of more labels than the memory limit would hold the items of: they are read from the
// file for each pass rather than held, and every label is written.
TEST(EncoderCli, LongSheetUnderAMemoryLimit) {
    SW_SKIP_UNDER_A_MEMORY_LIMIT();
    const std::string list = testing::TempDir() + "sw_long_sheet.txt";
    const std::string rtf = testing::TempDir() + "sw_long_sheet.rtf";
    const std::string out =
        test::Shell("(seq -f 'S%07g' 500000 > " + list +
                    "; (ulimit -v 120000; exec " SW_ENCODE_EXE " --type 39 --sheet 5160 --output " +
                    rtf + " < " + list + " 2>&1); echo status $?; grep -c '" +
                    "[*]S0000001[*]\\|[*]S0500000[*]' " + rtf + ")");
    EXPECT_EQ(out, "status 0\n2\n");
    std::remove(list.c_str());
    std::remove(rtf.c_str());
}

// --append to a file writes, piece by piece, what it writes to standard output; a row that fails
// leaves the file as it was.
TEST(EncoderCli, AppendToAFile) {
    const std::string dir = testing::TempDir();
    const std::string csv = dir + "sw_append_in.csv", merged = dir + "sw_append_out.csv";
    std::string rows = "sku;name\r\n";
    for (int i = 0; i < 20000; ++i) rows += "AB" + std::to_string(i) + ";\"x\r\ny\"\r\n";
    std::FILE* f = std::fopen(csv.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(rows.data(), 1, rows.size(), f);
    std::fclose(f);
    const std::string append = SW_ENCODE_EXE " --type 39 --csv --column 1 --header --append";
    const std::string expected = test::Shell(append + " < " + csv);
    ASSERT_GT(expected.size(), rows.size());
    EXPECT_EQ(test::Shell(append + " --output " + merged + " < " + csv + " && cat " + merged),
              expected);
    EXPECT_EQ(test::Shell("printf 'sku\\nab\\n' | " + append + " --output " + merged +
                          " 2>/dev/null; cat " + merged),
              expected);
    std::remove(csv.c_str());
    std::remove(merged.c_str());
}

}  // namespace
}  // namespace sw
