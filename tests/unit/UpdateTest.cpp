// The self-update: the server's record, the check, the replacement of the program file, the
// script that finishes it at exit, and the dialog's part.
#include <gtest/gtest.h>

#include <functional>

#include "doubles/FakeServices.h"
#include "update/CRC32.h"
#include "update/ProgramReplace.h"
#include "update/mDeleteSelf.h"
#include "update/mUpdates.h"

namespace {

constexpr const char* kExe = "C:\\Apps\\Wolkenglas.exe";
constexpr const char* kBase = "http://127.0.0.1:8765/updates";

// Answers the requests in turn; then fails them.
class Server : public HttpTransport {
public:
    HttpGetResult Get(const HttpGetRequest& request) override {
        urls.push_back(request.url);
        deadlines.push_back(request.deadlineMs);
        if (onRequest) onRequest();
        if (bodies.empty()) return {};
        const std::string body = bodies.front();
        bodies.erase(bodies.begin());
        return {HttpOutcome::Completed, 200, "OK", body};
    }
    std::vector<std::string> bodies, urls;
    std::vector<int> deadlines;
    std::function<void()> onRequest;
};

// A minimal Windows program: "MZ", the "PE" header, one section of 0x100 bytes at 0x100.
std::string Program(char tag, std::size_t size = 0x200) {
    std::string b(0x200, tag);
    b.replace(0, 2, "MZ");
    b.replace(0x3C, 4, std::string("\x40\0\0\0", 4));
    b.replace(0x40, 8, std::string("PE\0\0\0\0\x01\0", 8));
    b.replace(0x54, 2, std::string(2, '\0'));
    b.replace(0x68, 8, std::string("\0\x01\0\0\0\x01\0\0", 8));
    return b.substr(0, size);
}

std::span<const std::uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

TEST(Update, RecordAndVersionRules) {
    struct Row { const char* reply; const char* version; std::uint32_t crc; bool badCrc; };
    const Row rows[] = {
        {"[Name|f.exe|1.55|05.01.2016]", "1.55", 0, false},
        {"[Name|f.exe|1.5\r\n5|d|352441c2]\r\n", "1.55", 0x352441C2, false},
        {"[Name|f.exe|1.55|d|FFFFFFFF]", "1.55", 0xFFFFFFFF, false},
        {"[Name|f.exe|1.55|d|352441C2|x]", "1.55", 0, false},  // six fields: no CRC
        {"[Name|f.exe|1.55|d|0]", "1.55", 0, false},
        {"[Name|f.exe|1.55|d|12345678X]", "1.55", 0, true},
        {"[Name|f.exe|1.55]", nullptr, 0, false},
        {"Name|f.exe|1.55|d]", nullptr, 0, false},
        {"<html>[a|b|c|d]</html>", nullptr, 0, false},
    };
    for (const Row& r : rows) {
        const auto record = ParseUpdateRecord(r.reply);
        ASSERT_EQ(record.has_value(), r.version != nullptr) << r.reply;
        if (!record) continue;
        EXPECT_EQ(std::make_tuple(record->product, record->version, record->crc, record->badCrc),
                  std::make_tuple(std::string("Name"), std::string(r.version), r.crc, r.badCrc)) << r.reply;
    }
    const std::tuple<const char*, const char*, bool> versions[] = {
        {"1.55", "1.54", true}, {"1.54", "1.54", false}, {"1.54", "1.55", false}, {"1.54a", "1.54", true},
        {"1.54 Beta 2", "1.54", true}, {"1.100", "1.99", false}};
    for (const auto& [offered, current, newer] : versions) EXPECT_EQ(IsNewerVersion(offered, current), newer) << offered;
}

TEST(Update, CheckOutcomes) {
    const std::string oldProgram = Program('o'), newProgram = Program('n');
    const std::string record = "[Wolkenglas|W-1.55.exe|1.55|05.01.2016|" + CRC32Hex(CRC32(Bytes(newProgram))) + "]\r\n";
    const std::string noCrc = "[Wolkenglas|W-1.55.exe|1.55|05.01.2016]\r\n";
    const MsgIcon ask = MsgIcon::Question, fail = MsgIcon::Stop, done = MsgIcon::Exclamation;
    struct Row { const char* name; std::vector<std::string> bodies; MsgResult answer; const char* result;
                 std::vector<MsgIcon> boxes; };
    const Row rows[] = {
        {"unreachable", {}, MsgResult::Yes, "", {}},
        {"nothing newer", {"[Wolkenglas|x.exe|1.54|d]"}, MsgResult::Yes, "", {}},
        {"declined", {record}, MsgResult::No, "1.55", {ask}},
        {"a page", {record, "<html>404</html>"}, MsgResult::Yes, "ERROR", {ask}},
        {"wrong CRC", {record, Program('x')}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"cut off, no CRC", {noCrc, Program('n', 0x1F0)}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"not a program", {noCrc, std::string(0x200, 'Z')}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"one byte", {noCrc, "M"}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"failed download", {noCrc}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"bad CRC field", {"[Wolkenglas|x.exe|1.55|d|XYZ]"}, MsgResult::Yes, "ERROR", {fail}},
        {"installed", {record, newProgram}, MsgResult::Yes, "OK", {ask, done}},
        {"installed, no CRC", {noCrc, newProgram}, MsgResult::Yes, "OK", {ask, done}},
    };
    for (const Row& r : rows) {
        FakePorts fake;
        fake.files.files[kExe] = oldProgram;
        fake.system.answer = r.answer;
        Server server;
        server.bodies = r.bodies;
        FakeEnvironment environment;
        EXPECT_EQ(UpdateCheck(fake.ports, {server, environment}, kBase, "Wolkenglas.exe", "\"C:\\Apps\\Wolkenglas.exe\"",
                              "1.54"), r.result) << r.name;
        std::vector<MsgIcon> icons;
        for (const auto& box : fake.system.boxes) {
            icons.push_back(box.icon);
            EXPECT_EQ(box.title, "Wolkenglas - Update") << r.name;
        }
        EXPECT_EQ(icons, r.boxes) << r.name;
        const bool installed = std::string(r.result) == "OK";
        EXPECT_EQ(fake.files.files[kExe], installed ? newProgram : oldProgram) << r.name;
        EXPECT_EQ(fake.files.files.count(OldProgramPath(kExe)), installed ? 1u : 0u) << r.name;
        EXPECT_EQ(fake.files.files.count(NewProgramPath(kExe)), 0u) << r.name;
        if (r.name != std::string("wrong CRC")) continue;
        EXPECT_EQ(server.urls, (std::vector<std::string>{std::string(kBase) + "/updates.php?send=Wolkenglas.exe,.inf",
                                                         std::string(kBase) + "/updates.php?send=W-1.55.exe"}));
        EXPECT_EQ(server.deadlines, (std::vector<int>{30000, 120000})) << "a trickling server must not hold the check";
        EXPECT_EQ(fake.system.boxes[0].text, "Ein Update von ''Wolkenglas'' liegt vor.      \r\n\r\n    Aktuelle Version:   "
                  "1.54\r\n    Neue Version:       1.55  [05.01.2016]\r\n\r\nSoll es heruntergeladen und installiert werden?      ");
        EXPECT_EQ(fake.system.boxes[1].text, "FEHLER: CRC32 Pr\xFC" "fsumme falsch! Update gescheitert!      ");
    }
}

// Every failure of the replacement leaves the old program in place.
TEST(Update, ReplacementFailures) {
    const std::string oldProgram = Program('o'), newProgram = Program('n');
    const std::string fresh = NewProgramPath(kExe), old = OldProgramPath(kExe);
    const std::pair<const char*, std::function<void(FakeFileSystem&)>> failures[] = {
        {"new file not written", [&](FakeFileSystem& f) { f.failWrites.push_back(fresh); }},
        {"new file short on the disk", [](FakeFileSystem& f) { f.shortWrites = 100; }},
        {"stale old file stays", [&](FakeFileSystem& f) { f.files[old] = "x", f.failRemoves.push_back(old); }},
        {"program not renamed", [&](FakeFileSystem& f) { f.failRenames.push_back(kExe); }},
        {"new file not renamed", [&](FakeFileSystem& f) { f.failRenames.push_back(fresh); }},
        {"stale files of an earlier try", [&](FakeFileSystem& f) { f.files[old] = "x", f.files[fresh] = "y"; }},
    };
    for (const auto& [name, arrange] : failures) {
        FakeFileSystem files;
        files.files[kExe] = oldProgram;
        arrange(files);
        const bool replaced = ReplaceProgram(files, kExe, Bytes(newProgram));
        EXPECT_EQ(replaced, std::string(name) == "stale files of an earlier try") << name;
        EXPECT_EQ(files.files[kExe], replaced ? newProgram : oldProgram) << name;
        EXPECT_EQ(files.files.count(fresh), 0u) << name;
        if (replaced) {
            EXPECT_EQ(files.files[old], oldProgram) << name;
        }
    }
}

TEST(Update, ScriptLines) {
    const std::string lodz = "C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA\\";  // C:\Łódź\ in UTF-8
    const std::string loop = ":LOOP\r\n TIMEOUT /T 1 >NUL\r\n";
    struct Row { std::string file, program, extra; bool end; std::string script; bool utf8; };
    const Row rows[] = {
        {"C:\\A\\W.exe.old", "C:\\A\\W.exe", "", true,
         "@ECHO OFF\r\n IF NOT EXIST \"C:\\A\\W.exe.old\" GOTO END\r\n" + loop + " TASKKILL /F /IM \"W.exe.old\" /T\r\n"
         " DEL \"C:\\A\\W.exe.old\" >NUL\r\n IF EXIST \"C:\\A\\W.exe.old\" GOTO LOOP\r\n GOTO END\r\n:END\r\n"
         " \"C:\\A\\W.exe\"\r\n DEL \"C:\\A\\W.exe.old.bat\" >NUL", false},
        {"\\x", " ", "ECHO x", true, "@ECHO OFF\r\n IF NOT EXIST \"\\x\" GOTO END\r\n ECHO x\r\n" + loop +  // no process name
         " DEL \"\\x\" >NUL\r\n IF EXIST \"\\x\" GOTO LOOP\r\n GOTO END\r\n:END\r\n DEL \"\\x.bat\" >NUL", false},
        {lodz + "W.old", lodz + "W.exe", "", true, "@ECHO OFF\r\n IF NOT EXIST \"W.old\" GOTO END\r\n" + loop +
         " TASKKILL /F /IM \"W.old\" /T\r\n DEL \"W.old\" >NUL\r\n IF EXIST \"W.old\" GOTO LOOP\r\n GOTO END\r\n"
         ":END\r\n \"W.exe\"\r\n DEL \"W.old.bat\" >NUL", false},
        {lodz + "\xC5\x81", "D:\\b.exe", "", false, "@ECHO OFF\r\n IF NOT EXIST \"\xC5\x81\" GOTO END\r\n" + loop +
         " DEL \"\xC5\x81\" >NUL\r\n IF EXIST \"\xC5\x81\" GOTO LOOP\r\n GOTO END\r\n:END\r\n \"D:\\b.exe\"\r\n"
         " DEL \"\xC5\x81.bat\" >NUL", true},
    };
    for (const Row& r : rows) {
        FakePorts fake;
        DeleteSelf(fake.system, fake.files, r.file, r.program, r.extra, r.end);
        EXPECT_EQ(fake.files.files[r.file + ".bat"], r.script) << r.file;
        EXPECT_EQ(fake.system.scripts, (std::vector<std::pair<std::string, bool>>{{r.file + ".bat", r.utf8}})) << r.file;
    }
    FakePorts none;
    DeleteSelf(none.system, none.files, "  ", kExe, "", true);
    none.files.failWrites.push_back("C:\\x.bat");
    DeleteSelf(none.system, none.files, "C:\\x", kExe, "", true);
    EXPECT_TRUE(none.files.files.empty() && none.system.scripts.empty());
}

// The check at start waits for the first refresh's outcome and then runs through the task runner:
// declined, it leaves the title as the refresh left it. Accepted, it unloads the widget, whose
// shutdown hands the new program over to the script.
TEST(Update, CheckFollowsTheFirstRefreshAndHandsOverAtExit) {
    ServicedWindows w;
    FakePorts& fake = w.fake;
    fake.system.exePath = kExe;
    fake.system.os = {2, 5, 1};
    fake.files.files[kExe] = Program('o');
    fake.system.answer = MsgResult::No;
    fake.settings.Set("Server.Update", kBase);
    fake.settings.Set("Location.Selected", "Berlin");
    fake.settings.Set("Location.Key", "171001");
    w.services.transport.Respond(503, "Service Unavailable", "");
    Server server;
    server.bodies = {"[Wolkenglas|W-1.55.exe|1.55|05.01.2016]"};
    FakeEnvironment environment;
    std::vector<std::pair<std::string, Colour>> titles;
    server.onRequest = [&] { titles.emplace_back(w.main.lTitle[0].Caption, w.main.lTitle[0].ForeColor); };
    w.set.AttachUpdates(server, environment);
    auto& held = w.services.tasks.held;
    const auto step = [&] {
        auto [work, done] = std::move(held.front());
        held.pop_front();
        work();
        done();
    };
    w.services.tasks.hold = true;
    ASSERT_EQ(w.main.Form_Load(), LoadOutcome::Running);
    ASSERT_EQ(held.size(), 1u) << "the refresh alone";
    step();
    const std::pair<std::string, Colour> failed{"FEHLER:  503 - Service Unavailable", 0xFFB0B0};
    ASSERT_EQ(held.size(), 1u) << "the check, after the refresh's outcome";
    EXPECT_TRUE(server.urls.empty());
    step();
    const std::pair<std::string, Colour> checking{"Wolkenglas:  Update ...", 0xFFFF80};
    EXPECT_EQ(titles, std::vector({checking}));
    EXPECT_EQ(fake.system.boxes.size(), 1u);
    EXPECT_EQ(std::make_pair(w.main.lTitle[0].Caption, w.main.lTitle[0].ForeColor), failed);
    EXPECT_FALSE(w.set.UpdateOk || w.set.Updating());

    server.bodies = {"[Wolkenglas|W-1.55.exe|1.55|05.01.2016]", Program('n')};
    fake.system.answer = MsgResult::Yes;
    w.set.ckUpdate_Click();
    w.set.ckUpdate_Click();  // one check at a time
    ASSERT_EQ(held.size(), 1u);
    step();
    EXPECT_EQ(titles, std::vector(3, checking));
    EXPECT_TRUE(w.set.UpdateOk);
    EXPECT_EQ(w.mainWindow.events.back(), "close");
    EXPECT_EQ(w.mainWindow.caption, "Wolkenglas:  Programm Neustart ...");

    w.main.Form_Unload();
    EXPECT_EQ(fake.system.scripts, (std::vector<std::pair<std::string, bool>>{{std::string(kExe) + ".old.bat", false}}));
    EXPECT_EQ(fake.files.files[std::string(kExe) + ".old.bat"], DeleteSelfScript(std::string(kExe) + ".old", kExe, "", true));
    EXPECT_EQ(fake.settings.Get("Reload"), "1");
}

}  // namespace
