// Command-line splitter, URL opener, version and file helpers.
#include <gtest/gtest.h>

#include "doubles/FakePorts.h"
#include "system/Numbers.h"
#include "system/mExeName.h"
#include "system/mExists.h"
#include "system/mGetCMD.h"
#include "system/mOpenURL.h"
#include "system/mTempFileName.h"
#include "system/mWinVersion.h"

TEST(GetCMD, QuotesAndBlanks) {
    struct Row { const char* cmd; int index; const char* arg; };
    const Row rows[] = {
        {"/startup", 1, "/startup"},
        {"\"C:\\Program Files\\W.exe\" /crc", 1, "C:\\Program Files\\W.exe"},
        {"\"C:\\Program Files\\W.exe\" /crc", 2, "/crc"},
        {"a  b", 2, ""},            // consecutive blanks make an empty argument
        {"a  b", 3, "b"},
        {" a", 1, ""},              // a leading blank moves the first argument to 2
        {" a", 2, "a"},
        {"a\"b c\"d e", 1, "ab cd"},
        {"\"unterminated arg", 1, "unterminated arg"},
        {"x", 2, ""},
        {"x", 0, ""},
        {"", 1, ""},
    };
    for (const Row& r : rows) EXPECT_EQ(GetCMD(r.cmd, r.index), r.arg) << r.cmd << " #" << r.index;
    std::string many;
    for (int i = 0; i < 300; ++i) many += "a ";
    EXPECT_EQ(GetCMD(many, 255), "a");
    EXPECT_EQ(GetCMD(many, 256), "");  // past the table: no argument, no overflow
}

TEST(OpenURL, EscapingAndRouting) {
    FakeSystem sys;
    EXPECT_EQ(OpenURL(sys, "http://example.org/a b|c", 1), 42);
    ASSERT_EQ(sys.shellOpens.size(), 1u);
    EXPECT_EQ(sys.shellOpens[0].first, "http://example.org/a%20b%7Cc");
    EXPECT_EQ(sys.shellOpens[0].second, 0);

    EXPECT_EQ(OpenURL(sys, "MailTo:info@example.org?subject=Wolkenglas  v1.54&body=", 1), 4711);
    ASSERT_EQ(sys.commands.size(), 1u);
    EXPECT_EQ(sys.commands[0].first,
              "rundll32.exe url.dll,FileProtocolHandler \"MailTo:info@example.org?subject=Wolkenglas%20%20v1.54&body=\"");
    EXPECT_EQ(sys.commands[0].second, 1);

    OpenURL(sys, "http://x/y z", 0);  // any other window style goes through the command line too
    ASSERT_EQ(sys.commands.size(), 2u);
    EXPECT_EQ(sys.commands[1].first, "rundll32.exe url.dll,FileProtocolHandler \"http://x/y%20z\"");
    EXPECT_EQ(sys.shellOpens.size(), 1u);

    OpenURL(sys, "http://x/K\xF6ln \x80", 1);  // the shell gets UTF-8
    EXPECT_EQ(sys.shellOpens[1].first, "http://x/K\xC3\xB6ln%20\xE2\x82\xAC");
}

TEST(WinVersion, SinglePrecisionValuesAndNtFamily) {
    FakeSystem sys;
    sys.os = {2, 6, 1};
    EXPECT_EQ(WinVersion(sys), 6.1f);
    EXPECT_TRUE(IsNT5(sys));
    sys.os = {2, 4, 0};
    EXPECT_FALSE(IsNT5(sys));
    sys.os = {1, 4, 90};  // Windows 98/ME family
    EXPECT_FALSE(IsNT(sys));
    EXPECT_FALSE(IsNT5(sys));
}

TEST(FileHelpers, PathsAndTempNames) {
    FakeSystem sys;
    sys.exePath = "D:\\Tools\\Wetter.v2\\Wolkenglas.exe";
    EXPECT_EQ(ExeDir(sys), "D:\\Tools\\Wetter.v2\\");
    sys.exePath = "Wolkenglas.exe";
    EXPECT_EQ(ExeDir(sys), "");
    const std::pair<const char*, const char*> names[] = {
        {"D:\\Tools\\Wolkenglas.exe", "Wolkenglas"}, {"C:\\x.y\\noext", "noext"},
        {"/tmp/a.b.c", "a.b"}, {"C:\\.hidden", ".hidden"}, {"", ""}};
    for (const auto& [path, name] : names) EXPECT_EQ(BaseName(path), name) << path;
    FakeFileSystem fs;
    fs.files[""] = "x";
    EXPECT_EQ(FileSize(fs, ""), -1);  // a blank path names no file, whatever the system says

    // A temporary folder that is missing or too long for the system gives no name.
    for (const std::size_t length : {0u, 512u}) {
        sys.tempPath = std::string(length, 'x');
        EXPECT_EQ(TempFileName(sys, "TMP"), "") << length;
    }
    sys.tempPath = std::string(511, 'x');
    EXPECT_NE(TempFileName(sys, "TMP"), "");
}

TEST(Numbers, LenientAndStrictConversion) {
    struct Row { const char* text; double val; bool strict; };
    const Row rows[] = {
        {"60", 60, true},      {" 45 ", 45, true},   {"12px", 12, false}, {"abc", 0, false},
        {"", 0, false},        {"-3.5", -3.5, true}, {".5", 0.5, true},   {"1e3", 1000, true},
        {"1e", 1, false},      {"+7", 7, true},      {"-", 0, false},     {"3,5", 3, false},
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(Val(r.text), r.val) << r.text;
        EXPECT_EQ(StrictNumber(r.text).has_value(), r.strict) << r.text;
    }
    EXPECT_EQ(NumberText(-7), "-7");
    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(LowerCase("/CRC \xC4\xD6\xDC"), "/crc \xE4\xF6\xFC");
    EXPECT_EQ(UpperCase("hkcu \xE4"), "HKCU \xC4");
    EXPECT_EQ(Trim("  a b  "), "a b");
}
