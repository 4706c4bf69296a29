#pragma once
// Doubles of the refresh's and the tray's ports: a set clock, a German locale, a
// recording tray, a picture decoder over the fake files, a task runner that holds its work, and
// the three windows wired to all of them.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "doubles/FakeHttp.h"
#include "doubles/FakePorts.h"
#include "native/MemoryRegistry.h"
#include "platform/Ports.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/frmMain.h"

class FakeClock : public Clock {
public:
    double Now() override { return now; }
    float SecondsSinceMidnight() override { return seconds; }
    TimeZoneState TimeZone() override { return zone; }
    double now = 42317.6;  // 09.11.2015 14:24
    float seconds = 51840.0f;
    TimeZoneState zone{1, -60, 0, -60};  // Central European winter time
};

class FakeLocale : public Locale {
public:
    char DecimalSeparator() override { return separator; }
    std::string DayName(int weekday, bool abbreviated) override {
        static const char* const kNames[] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
        const std::string name = kNames[weekday];
        return abbreviated ? name.substr(0, 2) : name;
    }
    char separator = ',';
};

class FakeTray : public TrayPort {
public:
    struct Call {
        TrayMessage message;
        IconImage icon;
        std::string tip, title, text;
        std::uint32_t flags, timeout;
    };
    bool Notify(TrayMessage message, const IconImage& icon, const std::string& tip, const std::string& title,
                const std::string& text, std::uint32_t flags, std::uint32_t timeout) override {
        calls.push_back({message, icon, tip, title, text, flags, timeout});
        return shellReady;
    }
    bool shellReady = true;  // false: no notification area, every call fails
    int PopUpMenu(const std::vector<std::pair<int, std::string>>& entries) override {
        menus.push_back(entries);
        return choice;
    }
    std::vector<Call> calls;
    std::vector<std::vector<std::pair<int, std::string>>> menus;
    int choice = 0;
};

// A "JPEG" is a file starting with FF D8; it decodes to a grey 640 x 480 picture.
class FakePictures : public PictureDecoder {
public:
    explicit FakePictures(FakeFileSystem& files) : files_(files) {}
    std::optional<Bitmap> LoadPicture(std::string_view path) override {
        loaded.emplace_back(path);
        const auto it = files_.files.find(std::string(path));
        if (it == files_.files.end() || it->second.rfind("\xFF\xD8", 0) != 0) return std::nullopt;
        return Bitmap(640, 480, 0x808080);
    }
    std::vector<std::string> loaded;

private:
    FakeFileSystem& files_;
};

// Runs each task at once, or with `hold` keeps it until the test lets it run, as a worker that
// has not answered yet.
class TestTaskRunner : public TaskRunner {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        held.emplace_back(std::move(work), std::move(done));
        if (!hold) RunAll();
    }
    void RunAll() {
        while (!held.empty()) {
            auto [work, done] = std::move(held.front());
            held.pop_front();
            work();
            done();
        }
    }
    std::deque<std::pair<std::function<void()>, std::function<void()>>> held;
    bool hold = false;
};

struct FakeServices {
    explicit FakeServices(FakeFileSystem& files) : pictures(files) {}
    FakeTransport transport;
    FakeEnvironment environment;
    MemoryRegistry registry;
    FakeClock clock;
    FakeLocale locale;
    FakeTray tray;
    FakePictures pictures;
    TestTaskRunner tasks;
    ServicePorts ports{transport, environment, registry, clock, locale, tray, pictures, tasks};
};

// The three windows on the fake ports and services, the dialog holding a chosen place.
struct ServicedWindows {
    FakePorts fake;
    FakeWindow mainWindow, setWindow, picWindow;
    frmMain main{fake.ports, mainWindow};
    frmSet set{fake.ports, setWindow, main};
    frmPic pic{picWindow, main};
    FakeServices services{fake.files};
    ServicedWindows() {
        main.Attach(set, pic);
        set.AttachServices(services.ports);
        set.MC = main.MC = "Wolkenglas";
        set.coLocListIndex = 0;
        set.tCID = "268068";
    }
};
