#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>

#include "platform/atomic_file.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace sw::platform {
namespace {

class IniFileTest : public ::testing::Test {
  protected:
    QString Path() const { return dir_.filePath(QStringLiteral("stripewrighttips.ini")); }
    void Write(const QByteArray& bytes) {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray Read() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

TEST_F(IniFileTest, ReadsTextIntegersAndBooleansByTheirRules) {
    Write(
        "[Settings]\n"
        "Count=abc\n"
        "Left=0x20\n"
        "Top=-15\n"
        "Checksum=2\n"
        "HintsOff=yes\n"
        "LabelExplain=yes\n"
        "Empty=\n"
        "Spaced =  24  \n"
        "Quoted=\" lead and trail \"\n"
        "Hex=0XfF\n"
        "BadHex=0x\n"
        "Trailing=12abc\n"
        "Huge=99999999999\n");
    IniFile ini(Path());
    struct IntRow {
        const char* key;
        int def;
        int expected;
    };
    const IntRow ints[] = {{"Count", 10, 10},      {"Left", 0, 32},    {"Top", 0, -15},
                           {"Empty", 7, 7},        {"Spaced", 0, 24},  {"Hex", 0, 255},
                           {"BadHex", 5, 5},       {"Trailing", 3, 3}, {"Huge", 4, 4},
                           {"Missing", 1001, 1001}};
    for (const IntRow& r : ints) {
        EXPECT_EQ(ini.ReadInteger("Settings", r.key, r.def), r.expected) << r.key;
    }
    struct BoolRow {
        const char* key;
        bool def;
        bool expected;
    };
    const BoolRow bools[] = {{"Checksum", false, true},    {"HintsOff", false, false},
                             {"LabelExplain", true, true}, {"Top", false, true},
                             {"Missing", true, true},      {"Missing", false, false}};
    for (const BoolRow& r : bools) {
        EXPECT_EQ(ini.ReadBool("Settings", r.key, r.def), r.expected) << r.key;
    }
    EXPECT_EQ(ini.ReadString("Settings", "Spaced", "x"), "24");
    EXPECT_EQ(ini.ReadString("Settings", "Quoted", "x"), " lead and trail ");
    EXPECT_EQ(ini.ReadString("Settings", "Empty", "x"), "");
    EXPECT_EQ(ini.ReadString("Settings", "Missing", "dflt"), "dflt");
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase) {
    Write("[settings]\nTYPE=25i\n");
    IniFile ini(Path());
    EXPECT_TRUE(ini.SectionExists("Settings"));
    EXPECT_EQ(ini.ReadString("SETTINGS", "type", "39"), "25i");
    ini.WriteString("Settings", "Type", "Post");
    EXPECT_EQ(Read(), "[settings]\nType=Post\n");
}

// Names that share a hash are still told apart, in reads and in writes: with the hash cut to
// one bit or none, every name meets others of the same hash.
TEST_F(IniFileTest, NamesThatShareAHashAreToldApart) {
    struct Lookup {
        const char *section, *key, *value;  // "-": not there
    };
    struct Row {
        const char* name;
        QByteArray content;
        std::vector<Lookup> reads;
        QStringList sections, notSections;
        std::vector<IniValue> writes;
        QByteArray after;
    };
    const Row rows[] = {
        {"sections of one name apart, one without a key, one not ASCII",
         "[One]\na=1\n[two]\nb=2\n[ONE]\nc=3\na=shadowed\n[Empty]\n[\xc3\x84rger]\n\xc3\xa4=4\n",
         {{"One", "a", "1"},
          {"one", "C", "3"},
          {"two", "a", "-"},
          {"two", "b", "2"},
          {"\xc3\xa4rger", "\xc3\x84", "4"},
          {"Four", "a", "-"}},
         {"One", "two", "\xc3\x84RGER"},
         {"Empty", "Four"},
         {{"two", "b", "20"},
          {"Empty", "e", "5"},
          {"Four", "f", "6"},
          {"ONE", "a", "10"},
          {"\xc3\xa4rger", "x", "7"}},
         "[One]\na=10\n[two]\nb=20\n[ONE]\nc=3\na=shadowed\n[Empty]\ne=5\n[\xc3\x84rger]\n"
         "\xc3\xa4=4\nx=7\n[Four]\nf=6\n"},
        {"the one name of its hash is not the one looked for",
         "[A]\nx=1\n",
         {{"B", "x", "-"}, {"A", "y", "-"}, {"A", "x", "1"}},
         {"A"},
         {"B"},
         {{"B", "x", "2"}},
         "[A]\nx=1\n[B]\nx=2\n"},
    };
    const auto restore = qScopeGuard([] { SetIniNameHashBitsForTesting(64); });
    for (const int bits : {0, 1, 64}) {
        SetIniNameHashBitsForTesting(bits);
        for (const Row& r : rows) {
            const std::string where = std::string(r.name) + ", bits " + std::to_string(bits);
            Write(r.content);
            IniFile ini(Path());
            const IniSnapshot file = ini.Read();
            for (const Lookup& l : r.reads) {
                EXPECT_EQ(
                    file.ReadString(QString::fromUtf8(l.section), QString::fromUtf8(l.key), "-"),
                    QString::fromUtf8(l.value))
                    << where << ": " << l.section << "/" << l.key;
            }
            for (const QString& s : r.sections) EXPECT_TRUE(file.SectionExists(s)) << where;
            for (const QString& s : r.notSections) EXPECT_FALSE(file.SectionExists(s)) << where;
            ini.WriteStrings(r.writes);
            EXPECT_EQ(Read(), r.after) << where;
        }
    }
}
TEST_F(IniFileTest, ASectionCountsOnlyWithAKey) {
    Write("[Settings]\n\n; a comment\n[TipoftheDay]\nEnabled=0\n[Tips]\n");
    IniFile ini(Path());
    EXPECT_FALSE(ini.SectionExists("Settings"));
    EXPECT_TRUE(ini.SectionExists("TipoftheDay"));
    EXPECT_FALSE(ini.SectionExists("Tips"));
    EXPECT_FALSE(IniFile(dir_.filePath("none.ini")).SectionExists("Settings"));
}

TEST_F(IniFileTest, LongTextsAreCutAt2047Characters) {
    const QString value(3000, QChar(u'A'));
    IniFile ini(Path());
    ini.WriteString("Settings", "Data", value);
    EXPECT_EQ(ini.ReadString("Settings", "Data", ""), value.left(2047));
    // The file itself keeps the whole value.
    EXPECT_TRUE(Read().contains(QByteArray(3000, 'A')));

    // A character outside the Basic Multilingual Plane is never cut in half.
    const QString astral = QString(2046, QChar(u'B')) + QString::fromUcs4(U"\U0001F600");
    ini.WriteString("Settings", "Data", astral);
    EXPECT_EQ(ini.ReadString("Settings", "Data", ""), QString(2046, QChar(u'B')));
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAndPlaceNewKeysInTheirSection) {
    Write(
        "; Stripewright settings\n"
        "[TipoftheDay]\n"
        "Enabled=1\n"
        "Position=3\n"
        "\n"
        "[Tips]\n"
        "0=First tip\n"
        "odd line without equals\n"
        "1=Second tip\n");
    IniFile ini(Path());
    ini.WriteInteger("TipoftheDay", "Position", 4);
    ini.WriteInteger("TipoftheDay", "Maximum", 1);
    ini.WriteString("Settings", "Type", "39");
    ini.WriteBool("Settings", "Checksum", true);
    EXPECT_EQ(Read(),
              "; Stripewright settings\n"
              "[TipoftheDay]\n"
              "Enabled=1\n"
              "Position=4\n"
              "Maximum=1\n"
              "\n"
              "[Tips]\n"
              "0=First tip\n"
              "odd line without equals\n"
              "1=Second tip\n"
              "[Settings]\n"
              "Type=39\n"
              "Checksum=1\n");
}

TEST_F(IniFileTest, SeveralValuesInOneWriteGiveWhatWritingThemOneByOneGives) {
    const QByteArray start =
        "\xEF\xBB\xBF; settings\r\n[TipoftheDay]\r\nEnabled=1\r\n[Tips]\r\n0=A tip\r\n";
    const std::vector<IniValue> values = {
        {"TipoftheDay", "Enabled", "0"},  {"Settings", "Left", "12"},
        {"settings", "Data", " padded "}, {"Settings", "Type", "39"},
        {"Settings", "Left", "-4"},       {"NewSection", "Key", "two\nlines"},
        {"tipoftheday", "Position", "3"},
    };
    Write(start);
    IniFile ini(Path());
    for (const IniValue& v : values) ini.WriteString(v.section, v.key, v.value);
    const QByteArray oneByOne = Read();

    Write(start);
    ini.WriteStrings(values);
    EXPECT_EQ(Read(), oneByOne);
    EXPECT_EQ(ini.ReadString("Settings", "Data", {}), " padded ");
    EXPECT_EQ(ini.ReadInteger("Settings", "Left", 0), -4);

    ini.WriteStrings({});
    EXPECT_EQ(Read(), oneByOne);
    IniFile missingFolder(dir_.filePath("gone/stripewrighttips.ini"));
    EXPECT_THROW(missingFolder.WriteStrings(values), IniWriteError);
}

TEST_F(IniFileTest, LineEndsAndByteOrderMarksReadAlikeAndKeepTheirForm) {
    struct Row {
        const char* name;
        QByteArray content;
        QByteArray expectedAfterWrite;
    };
    const Row rows[] = {
        {"CRLF", "[Settings]\r\nType=25\r\nData=12\r\n", "[Settings]\r\nType=25\r\nData=99\r\n"},
        {"BOM", "\xEF\xBB\xBF[Settings]\nType=25\nData=12\n",
         "\xEF\xBB\xBF[Settings]\nType=25\nData=99\n"},
        {"BOM+CRLF, no last line end", "\xEF\xBB\xBF[Settings]\r\nType=25\r\nData=12",
         "\xEF\xBB\xBF[Settings]\r\nType=25\r\nData=99"},
        {"CR", "[Settings]\rType=25\rData=12\r", "[Settings]\rType=25\rData=99\r"},
        {"CR, key added", "[Settings]\rType=25\r", "[Settings]\rType=25\rData=99\r"},
        {"mixed ends kept line by line", "[Settings]\rType=25\nData=12\r\n",
         "[Settings]\rType=25\nData=99\r\n"},
    };
    for (const Row& r : rows) {
        Write(r.content);
        IniFile ini(Path());
        EXPECT_TRUE(ini.SectionExists("Settings")) << r.name;
        EXPECT_EQ(ini.ReadString("Settings", "Type", ""), "25") << r.name;
        ini.WriteString("Settings", "Data", "99");
        EXPECT_EQ(Read(), r.expectedAfterWrite) << r.name;
    }
}

TEST_F(IniFileTest, Utf16FilesReadAndStayUtf16) {
    const QString text = QStringLiteral("[Settings]\r\nData=\u00c5ngstr\u00f6m\r\n");
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    Write(bytes);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Settings", "Data", ""), QStringLiteral("\u00c5ngstr\u00f6m"));
    ini.WriteString("Settings", "Type", "39");
    const QByteArray after = Read();
    ASSERT_TRUE(after.startsWith("\xFF\xFE"));
    EXPECT_EQ(IniFile(Path()).ReadString("Settings", "Type", ""), "39");
    EXPECT_EQ(IniFile(Path()).ReadString("Settings", "Data", ""),
              QStringLiteral("\u00c5ngstr\u00f6m"));
}

QByteArray Utf16Le(const QString& text) {
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// Whatever the other lines hold, a write changes only its own line.
TEST_F(IniFileTest, LinesNotWrittenKeepTheirBytesInEveryEncoding) {
    struct Row {
        const char* name;
        QByteArray before;
        QByteArray after;
    };
    const QByteArray bom = "\xFF\xFE";
    const QByteArray loneSurrogate("\x00\xD8", 2);
    const Row rows[] = {
        {"lone surrogate in another section",
         bom + Utf16Le("[Other]\r\nX=") + loneSurrogate + Utf16Le("\r\n[Settings]\r\nA=1\r\n"),
         bom + Utf16Le("[Other]\r\nX=") + loneSurrogate + Utf16Le("\r\n[Settings]\r\nA=2\r\n")},
        {"trailing odd byte", bom + Utf16Le("[Settings]\nA=1\n") + "Z",
         bom + Utf16Le("[Settings]\nA=2\n") + "Z"},
        {"Windows-1252 text that begins with the UTF-16 mark",
         "\xFF\xFE;\xE9t\xE9\n[Settings]\nA=1\n", "\xFF\xFE;\xE9t\xE9\n[Settings]\nA=2\n"},
    };
    for (const Row& r : rows) {
        Write(r.before);
        IniFile(Path()).WriteInteger("Settings", "A", 2);
        EXPECT_EQ(Read().toHex(' '), r.after.toHex(' ')) << r.name;
    }
}

TEST_F(IniFileTest, BytesThatAreNotUtf8ReadAsWindows1252AndSurviveRewrites) {
    // 0x80 is the euro sign in Windows-1252; 0xE9 is e acute; 0xFF alone is never UTF-8.
    const QByteArray foreign = "Note=caf\xE9 \x80 5 \xFF\n";
    Write("[Settings]\nData=\xE9t\xE9\n" + foreign);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Settings", "Data", ""), QStringLiteral("\u00e9t\u00e9"));
    ini.WriteString("Settings", "Type", "Post");
    const QByteArray after = Read();
    EXPECT_TRUE(after.contains(foreign)) << after.toStdString();
    EXPECT_TRUE(after.contains("Data=\xE9t\xE9\n"));
    // Replacing the line writes UTF-8.
    ini.WriteString("Settings", "Data", QStringLiteral("\u00e9"));
    EXPECT_TRUE(Read().contains("Data=\xC3\xA9\n"));
}

TEST_F(IniFileTest, ValuesRoundTripBlanksQuotesAndLineBreaks) {
    struct Row {
        QString written;
        QString readBack;
    };
    const Row rows[] = {{" 1234 ", " 1234 "},
                        {"\"quoted\"", "\"quoted\""},
                        {"\"", "\""},
                        {"a=b=c", "a=b=c"},
                        {"two\nlines", "two lines"},
                        {"x\r\n[Tips]\r\n0=injected", "x  [Tips]  0=injected"},
                        {"", ""}};
    IniFile ini(Path());
    for (const Row& r : rows) {
        ini.WriteString("Settings", "Data", r.written);
        EXPECT_EQ(ini.ReadString("Settings", "Data", "?"), r.readBack) << r.written.toStdString();
        EXPECT_FALSE(ini.SectionExists("Tips"));
    }
}

TEST_F(IniFileTest, WritingCreatesTheFileAndIntegersAndBooleansAsDecimal) {
    IniFile ini(Path());
    ini.WriteInteger("Settings", "Left", -20);
    ini.WriteBool("Settings", "HintsOff", false);
    ini.WriteBool("TipoftheDay", "Enabled", true);
    EXPECT_EQ(Read(), "[Settings]\nLeft=-20\nHintsOff=0\n[TipoftheDay]\nEnabled=1\n");
}

TEST_F(IniFileTest, AFailedWriteThrowsAndLeavesTheFileAsItWas) {
    Write("[Settings]\nCount=1\n");
    QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    IniFile ini(Path());
    try {
        ini.WriteInteger("Settings", "Count", 2);
        FAIL() << "no error for a read-only file";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + QDir::toNativeSeparators(Path()).toStdString());
    }
    EXPECT_EQ(Read(), "[Settings]\nCount=1\n");
    EXPECT_EQ(ini.ReadInteger("Settings", "Count", 10), 1);  // reading still works

    IniFile missingFolder(dir_.filePath("gone/stripewrighttips.ini"));
    EXPECT_THROW(missingFolder.WriteBool("Settings", "Checksum", true), IniWriteError);
}

TEST_F(IniFileTest, AWriteReplacesTheFileAndKeepsItsPermissions) {
    Write("[Settings]\nCount=1\n");
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadUser | QFileDevice::WriteUser |
                             QFileDevice::ReadGroup;
    QFile::setPermissions(Path(), permissions);
    IniFile(Path()).WriteInteger("Settings", "Count", 2);
    EXPECT_EQ(QFile::permissions(Path()) & ~(QFileDevice::ReadOther), permissions);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(IniFileTest, ANameAtTheFileSystemsLimitCanBeWritten) {
    const QString path = dir_.filePath(QString(251, QChar(u'n')) + ".ini");
    IniFile(path).WriteInteger("Settings", "Count", 2);
    EXPECT_EQ(IniFile(path).ReadInteger("Settings", "Count", 0), 2);
}

TEST(SettingsFileName, ReplacesEverythingFromTheLastDot) {
    struct Row {
        const char* exe;
        const char* expected;
    };
    const Row rows[] = {{"stripewright.exe", "stripewrighttips.ini"},
                        {"stripewright", "stripewrighttips.ini"},
                        {"strip.ewright.bin", "strip.ewrighttips.ini"},
                        {"stripewright.", "stripewrighttips.ini"}};
    for (const Row& r : rows) EXPECT_EQ(SettingsFileName(r.exe), r.expected) << r.exe;
}

TEST(MonthStamp, YearModHundredTimesHundredPlusMonth) {
    EXPECT_EQ(MonthStamp(QDate(2026, 12, 8)), 2612);
    EXPECT_EQ(MonthStamp(QDate(2027, 1, 31)), 2701);
    EXPECT_EQ(MonthStamp(QDate(2005, 5, 1)), 505);
    EXPECT_EQ(MonthStamp(QDate(2000, 1, 1)), 1);
    EXPECT_EQ(MonthStamp(QDate(2027, 1, 1)) - MonthStamp(QDate(2026, 12, 1)), 89);
}

#ifdef Q_OS_UNIX

// The settings file before any of the writes below: the tips a crash must never cost.
const QByteArray kWholeFile =
    "[TipoftheDay]\nEnabled=1\nPosition=0\nMaximum=1\n[Tips]\n0=First\n1=Second\n"
    "[Settings]\nCount=1\n";

ino_t Inode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// A write that would leave the file's bytes as they are neither replaces the file nor waits on
// the disk.
TEST_F(IniFileTest, AWriteThatChangesNothingLeavesTheFileInPlace) {
    const QByteArray bytes = "\xEF\xBB\xBF[Settings]\r\nCount=5\r\nData=\" padded \"\r\n";
    Write(bytes);
    const ino_t before = Inode(Path());
    IniFile ini(Path());
    ini.WriteInteger("Settings", "Count", 5);
    ini.WriteString("Settings", "Data", " padded ");
    ini.WriteStrings({{"Settings", "Count", "5"}, {"Settings", "Data", " padded "}});
    EXPECT_EQ(Inode(Path()), before);
    EXPECT_EQ(Read(), bytes);
    ini.WriteInteger("Settings", "Count", 6);
    EXPECT_NE(Inode(Path()), before);
    EXPECT_EQ(ini.ReadInteger("Settings", "Count", -1), 6);
}

QByteArray Attribute(const QString& path, const char* name) {
    QByteArray value(4096, '\0');
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value.data(),
                                    static_cast<std::size_t>(value.size()));
    return size < 0 ? QByteArray("(none)") : value.left(size);
}

// A replaced file keeps its ACL (another user may read it) and its extended attributes.
TEST_F(IniFileTest, AReplacedFileKeepsItsAclAndExtendedAttributes) {
    Write("[Settings]\nCount=1\n");
    // The kernel's form of an ACL: version 2, then (tag, permissions, id) in the order of the
    // tags: user::rw-, user:54321:r--, group::r--, mask::r--, other::---.
    QByteArray acl("\x02\x00\x00\x00", 4);
    const struct {
        quint16 tag, permissions;
        quint32 id;
    } entries[] = {
        {0x01, 6, ~0u}, {0x02, 4, 54321}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
    for (const auto& e : entries) {
        acl.append(reinterpret_cast<const char*>(&e.tag), 2);
        acl.append(reinterpret_cast<const char*>(&e.permissions), 2);
        acl.append(reinterpret_cast<const char*>(&e.id), 4);
    }
    const QByteArray path = QFile::encodeName(Path());
    if (::setxattr(path.constData(), "system.posix_acl_access", acl.constData(),
                   static_cast<std::size_t>(acl.size()), 0) != 0 ||
        ::setxattr(path.constData(), "user.origin", "mine", 4, 0) != 0) {
        GTEST_SKIP() << "this file system keeps no ACL or user attributes";
    }
    IniFile(Path()).WriteInteger("Settings", "Count", 2);
    EXPECT_EQ(Read(), "[Settings]\nCount=2\n");
    EXPECT_EQ(Attribute(Path(), "system.posix_acl_access").toHex(), acl.toHex());
    EXPECT_EQ(Attribute(Path(), "user.origin"), "mine");
}

AtomicWriteStage g_killAt = AtomicWriteStage::BeforeRename;
void KillSelf(AtomicWriteStage stage) {
    if (stage == g_killAt)
        ::raise(SIGKILL);
}

// A process killed half-way through writing the temporary file, or with the temporary file
// complete but not yet renamed, leaves the settings file exactly as it was.
// With a named temporary file (where the file system has no nameless ones), the one a killed
// writer leaves is removed by the next write.
TEST_F(IniFileTest, AProcessKilledWhileWritingLeavesTheFileWhole) {
    for (int run = 0; run < 4; ++run) {
        const bool named = run >= 2;
        const AtomicWriteStage stage =
            run % 2 == 0 ? AtomicWriteStage::TemporaryHalfWritten : AtomicWriteStage::BeforeRename;
        Write(kWholeFile);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_killAt = stage;
            SetAtomicWriteHook(&KillSelf);
            SetAtomicWriteNamedTemporaryOnly(named);
            IniFile(Path()).WriteString("Settings", "Data", QString(5000, QChar(u'Z')));
            ::_exit(0);  // not reached: the hook kills the process
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGKILL);
        EXPECT_EQ(Read(), kWholeFile);
        const auto files = [this] {
            return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size();
        };
        EXPECT_EQ(files(), named ? 2 : 1);
        // The next write works, and the tips are still there.
        IniFile ini(Path());
        ini.WriteInteger("Settings", "Count", 2);
        EXPECT_EQ(ini.ReadString("Tips", "1", "XXXX"), "Second");
        EXPECT_EQ(files(), 1);
    }
}

// A child that writes without pause is killed at whatever moment the kill lands; every time,
// the file is one of the complete versions.
TEST_F(IniFileTest, KillingAWriterAtAnyMomentNeverLeavesHalfAFile) {
    Write(kWholeFile);
    for (int round = 0; round < 12; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            IniFile ini(Path());
            for (int i = 0;; ++i) {
                ini.WriteString("Settings", "Data", QString(4000 + i % 7, QChar(u'0' + i % 10)));
                const char done = 1;
                if (::write(pipeFds[1], &done, 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(pipeFds[1]);
        // Let a few writes complete (a different number each round), then kill mid-stream.
        char done = 0;
        for (int i = 0; i < 1 + round % 4; ++i) ASSERT_EQ(::read(pipeFds[0], &done, 1), 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(pipeFds[0]);

        IniFile ini(Path());
        EXPECT_EQ(ini.ReadString("Tips", "0", "XXXX"), "First") << "round " << round;
        EXPECT_EQ(ini.ReadString("Tips", "1", "XXXX"), "Second") << "round " << round;
        EXPECT_EQ(ini.ReadInteger("Settings", "Count", 10), 1) << "round " << round;
        const QString data = ini.ReadString("Settings", "Data", "");
        ASSERT_GE(data.size(), 2047) << "round " << round;
        EXPECT_EQ(data, QString(data.size(), data.front())) << "round " << round;
        EXPECT_TRUE(Read().endsWith("\n"));
    }
}

#endif

}  // namespace
}  // namespace sw::platform
