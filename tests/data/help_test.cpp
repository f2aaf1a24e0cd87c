// The help pages and the compiled help file: every page is compiled in and reachable, no link
// is broken, and the command-line page keeps up with the encoder's options.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "encode/encoder_cli.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHelp = fs::path(SW_SOURCE_DIR_PATH) / "data" / "help";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::set<std::string> Pages() {
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(kHelp)) {
        if (entry.path().extension() == ".htm")
            pages.insert(entry.path().filename().string());
    }
    return pages;
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1]);
    }
    return found;
}

TEST(Help, ProjectCompilesEveryPageAndNothingMissing) {
    const std::string project = Read(kHelp / "stripewright.hhp");
    const std::string files = project.substr(project.find("[FILES]"));
    const std::set<std::string> listed = Matches(files, std::regex(R"(\n([\w.]+\.htm)\r?)"));
    EXPECT_EQ(listed, Pages());
    for (const std::string& name : Matches(files, std::regex(R"(\n([\w.]+\.\w+)\r?)"))) {
        EXPECT_TRUE(fs::exists(kHelp / name)) << name;
    }
    for (const char* key : {"Compiled file=stripewright.chm", "Contents file=toc.hhc",
                            "Index file=index.hhk", "Default topic=index.htm"}) {
        EXPECT_NE(project.find(key), std::string::npos) << key;
    }
}

TEST(Help, EveryPageIsInTheContentsAndEveryLinkLeadsToAFile) {
    const std::regex local(R"((?:href|src|value)="([\w.]+\.(?:htm|css|png))(?:#[\w-]*)?")",
                           std::regex::icase);
    const std::set<std::string> inContents = Matches(Read(kHelp / "toc.hhc"), local);
    EXPECT_EQ(inContents, Pages());

    std::set<std::string> sources = Pages();
    sources.insert({"toc.hhc", "index.hhk"});
    std::set<std::string> linkedTo;
    for (const std::string& source : sources) {
        const std::string text = Read(kHelp / source);
        EXPECT_EQ(text.find("://"), std::string::npos) << source << " links outside the help";
        for (const std::string& target : Matches(text, local)) {
            EXPECT_TRUE(fs::exists(kHelp / target)) << source << " -> " << target;
            if (source != "toc.hhc" && source != target)
                linkedTo.insert(target);
        }
    }
    // Each page can also be reached from another page, not only from the contents.
    for (const std::string& page : Pages()) {
        if (page != "index.htm") {
            EXPECT_TRUE(linkedTo.contains(page)) << page;
        }
    }
}

TEST(Help, CommandLinePageCoversEveryOptionAndExitStatus) {
    const std::string page = Read(kHelp / "command_line.htm");
    for (const std::string& option : Matches(sw::EncoderUsage(), std::regex(R"((--[a-z]+))"))) {
        EXPECT_NE(page.find(option), std::string::npos) << option;
    }
    for (const int status : {sw::kExitOk, sw::kExitItemFailed, sw::kExitUsage, sw::kExitIoError}) {
        EXPECT_NE(page.find("<td>" + std::to_string(status) + "</td>"), std::string::npos)
            << status;
    }
}

TEST(Help, LibreOfficePageCoversEveryCalcFunction) {
    const std::string page = Read(kHelp / "libreoffice.htm");
    const std::string functions =
        Read(fs::path(SW_SOURCE_DIR_PATH) / "src" / "libreoffice" / "CalcAddIn.xcu");
    const std::set<std::string> names =
        Matches(functions, std::regex(R"re(<node oor:name="([A-Z0-9_]+)" oor:op="replace">)re"));
    EXPECT_GT(names.size(), 9u);
    for (const std::string& name : names) {
        EXPECT_NE(page.find("<td>" + name + "("), std::string::npos) << name;
    }
}

TEST(Help, CompiledFileHoldsEveryPage) {
    const std::string chm = Read(SW_CHM_PATH);
    ASSERT_TRUE(chm.starts_with("ITSF")) << "not a compiled help file";
    for (const std::string& page : Pages()) {
        EXPECT_NE(chm.find("/" + page), std::string::npos) << page;
    }
}

}  // namespace
