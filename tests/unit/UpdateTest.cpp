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

// A minimal Windows program (PE32+) of version 1.<minor>: one section holding the resource tree
// RT_VERSION / 1 / 0x409 and its VS_VERSIONINFO. `tag` fills otherwise unused bytes.
std::string Program(std::uint16_t minor, char tag = 'p', std::uint16_t machine = kOwnMachine,
                    std::uint16_t flags = 0x0022, std::uint32_t type = 16) {
    std::string b(0x300, '\0');
    std::fill(b.begin() + 0x180, b.begin() + 0x200, tag);
    const auto put = [&](std::size_t at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i)); };
    put(0, 'M' | 'Z' << 8), put(0x3C, 0x40), put(0x40, 0x4550), put(0x44, machine | 1 << 16), put(0x54, 0xF0 | flags << 16);
    put(0x58, 0x20B), put(0xC4, 16), put(0xD8, 0x1000), put(0xDC, 0x100);               // 16 directories, resources
    put(0x150, 0x100), put(0x154, 0x1000), put(0x158, 0x100), put(0x15C, 0x200);        // the section
    put(0x20C, 1 << 16), put(0x210, type), put(0x214, 0x80000018);                      // type
    put(0x224, 1 << 16), put(0x228, 1), put(0x22C, 0x80000030);                          // name
    put(0x23C, 1 << 16), put(0x240, 0x409), put(0x244, 0x48), put(0x248, 0x1058), put(0x24C, 92);  // language
    put(0x280, 0xFEEF04BD), put(0x288, 1 << 16 | minor);
    return b;
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
    // The downloaded program's own version against the record's and the running one.
    const std::tuple<const char*, const char*, bool> installable[] = {
        {"1.55", "1.55", true}, {"1.54", "1.54", false}, {"1.53", "1.53", false}, {"1.56", "1.55", false}};
    for (const auto& [program, announced, yes] : installable)
        EXPECT_EQ(IsInstallable(program, {"W", "f", announced, "d"}, "1.54"), yes) << program << " " << announced;
    for (const auto& [url, yes] : {std::pair{"https://u.example/updates", true}, {"http://127.0.0.1:8/u", true},
                                  {"http://localhost/u", true}, {"http://[::1]:80/u", true},
                                  {"http://u.example/updates", false}, {"ftp://u.example/", false}})
        EXPECT_EQ(IsProgramSource(url), yes) << url;
}

TEST(Update, ProgramCheck) {
    const std::uint16_t otherMachine = kOwnMachine == 0x14C ? 0x8664 : 0x14C;
    const std::pair<std::string, const char*> rows[] = {
        {Program(55), "1.55"},
        {Program(55, 'p', kOwnMachine, 0x2022), nullptr},          // a DLL
        {Program(55, 'p', otherMachine), nullptr},                 // another processor
        {Program(55).substr(0, 0x2F0), nullptr},                   // cut off
        {Program(55).substr(0, 0x100), nullptr},
        {"<html><body>404</body></html>" + std::string(0x300, ' '), nullptr},  // a page
        {Program(55, 'p', kOwnMachine, 0x0022, 3), nullptr},       // no version resource
    };
    for (const auto& [bytes, version] : rows) {
        const auto found = ProgramVersionText(Bytes(bytes));
        EXPECT_EQ(found.value_or("-"), version ? version : "-") << bytes.size();
    }
}

TEST(Update, CheckOutcomes) {
    const std::string oldProgram = Program(54, 'o'), newProgram = Program(55, 'n');
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
        {"wrong CRC", {record, Program(55, 'x')}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"cut off, no CRC", {noCrc, newProgram.substr(0, 0x2F0)}, MsgResult::Yes, "ERROR", {ask, fail}},
        {"not the version announced", {noCrc, Program(56)}, MsgResult::Yes, "ERROR", {ask, fail}},
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
    FakePorts fake;
    Server server;
    FakeEnvironment environment;
    EXPECT_EQ(UpdateCheck(fake.ports, {server, environment}, "http://u.example/updates", "Wolkenglas.exe", kExe, "1.54"), "");
    EXPECT_TRUE(server.urls.empty()) << "no program over plain HTTP";
}

// Every failure of the replacement leaves the old program in place.
TEST(Update, ReplacementFailures) {
    const std::string oldProgram = Program(54, 'o'), newProgram = Program(55, 'n');
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

// The script names every file relative to its folder, so the same lines serve any folder.
TEST(Update, ScriptLines) {
    const std::string expected =
        "@ECHO OFF\r\n IF NOT EXIST \"Wolkenglas-Update-4242.lock\" GOTO END\r\n SET N=0\r\n:LOOP\r\n"
        " PING -n 2 127.0.0.1 >NUL\r\n SET /A N+=1\r\n IF %N% GEQ 10 TASKKILL /F /PID 4242 >NUL 2>NUL\r\n"
        " DEL \"Wolkenglas-Update-4242.lock\" >NUL 2>NUL\r\n"
        " IF EXIST \"Wolkenglas-Update-4242.lock\" IF %N% LSS 30 GOTO LOOP\r\n"
        " IF EXIST \"Wolkenglas-Update-4242.lock\" GOTO BACK\r\n GOTO END\r\n:END\r\n"
        " START \"\" \"Wolkenglas.exe\"\r\n SET N=0\r\n:WAIT\r\n PING -n 2 127.0.0.1 >NUL\r\n SET /A N+=1\r\n"
        " FOR /F \"tokens=2*\" %%A IN ('REG QUERY \"HKCU\\Software\\VB and VBA Program Settings\\Korvelin\\AccuWeather\""
        " /v Version 2^>NUL') DO IF \"%%B\"==\"1.55\" GOTO DONE\r\n"
        " IF EXIST \"Wolkenglas.exe.old\" DEL \"Wolkenglas.exe\" >NUL 2>NUL\r\n"
        " IF EXIST \"Wolkenglas.exe\" IF %N% LSS 60 GOTO WAIT\r\n:BACK\r\n"
        " TASKKILL /F /IM \"Wolkenglas.exe\" >NUL 2>NUL\r\n PING -n 2 127.0.0.1 >NUL\r\n"
        " IF EXIST \"Wolkenglas.exe.old\" DEL \"Wolkenglas.exe\" >NUL 2>NUL\r\n"
        " IF NOT EXIST \"Wolkenglas.exe\" REN \"Wolkenglas.exe.old\" \"Wolkenglas.exe\"\r\n"
        " START \"\" \"Wolkenglas.exe\"\r\n GOTO QUIT\r\n:DONE\r\n DEL \"Wolkenglas.exe.old\" >NUL 2>NUL\r\n"
        ":QUIT\r\n DEL \"Wolkenglas-Update-4242.bat\" >NUL";
    for (const std::string folder : {"C:\\Apps\\", "C:\\100% \xC5\x81\xC3\xB3" "d\xC5\xBA & Co\\", "D:\\%TEMP%\\",
                                     "C:\\a^b!c\\", "C:\\\xE6\x97\xA5\xE6\x9C\xAC\\"}) {
        FakePorts fake;
        fake.files.files[folder + "Wolkenglas.exe"] = Program(55);
        HandOverUpdate(fake.ports, folder + "Wolkenglas.exe");
        EXPECT_EQ(fake.files.files[folder + "Wolkenglas-Update-4242.bat"], expected) << folder;
        EXPECT_EQ(fake.system.scripts, (std::vector<std::pair<std::string, bool>>{{folder + "Wolkenglas-Update-4242.bat", false}}));
        EXPECT_EQ(fake.files.held, std::vector<std::string>{folder + "Wolkenglas-Update-4242.lock"});
        EXPECT_EQ(fake.settings.Get("Reload"), "1");
    }
    // A script of an earlier update still there: a name of its own. A "%" in the file name is doubled.
    FakePorts fake;
    fake.files.files["C:\\A\\Wolkenglas-Update-4242.bat"] = "running";
    HandOverUpdate(fake.ports, "C:\\A\\100%.exe");
    const std::string text = fake.files.files["C:\\A\\Wolkenglas-Update-4242-2.bat"];
    EXPECT_NE(text.find(" START \"\" \"100%%.exe\"\r\n"), std::string::npos) << text;
    EXPECT_EQ(fake.files.files["C:\\A\\Wolkenglas-Update-4242.bat"], "running");
}

// The check at start waits for the first refresh's outcome and then runs through the task runner:
// declined, it leaves the title as the refresh left it. Accepted, it unloads the widget, whose
// shutdown hands the new program over to the script.
TEST(Update, CheckFollowsTheFirstRefreshAndHandsOverAtExit) {
    ServicedWindows w;
    FakePorts& fake = w.fake;
    fake.system.exePath = kExe;
    fake.system.os = {2, 5, 1};
    fake.files.files[kExe] = Program(54, 'o');
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

    server.bodies = {"[Wolkenglas|W-1.55.exe|1.55|05.01.2016]", Program(55, 'n')};
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
    EXPECT_EQ(fake.system.scripts, (std::vector<std::pair<std::string, bool>>{{"C:\\Apps\\Wolkenglas-Update-4242.bat", false}}));
    EXPECT_NE(fake.files.files["C:\\Apps\\Wolkenglas-Update-4242.bat"].find("==\"1.55\" GOTO DONE"), std::string::npos);
}

}  // namespace
