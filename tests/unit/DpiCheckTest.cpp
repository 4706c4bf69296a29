// The display-scaling check of Windows 7 and 8.
#include <gtest/gtest.h>

#include <algorithm>

#include "doubles/FakePorts.h"
#include "system/mChkDPI.h"
#include "system/mRegistry2.h"

namespace {

constexpr const char* kScaling = "HKCU\\Software\\Microsoft\\Windows\\DWM\\UseDpiScaling";
constexpr const char* kDpi = "HKCU\\Control Panel\\Desktop\\WindowMetrics\\AppliedDPI";
constexpr const char* kEntry =
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers\\\\C:\\Apps\\Wolkenglas.exe";

// A key the user may not change.
class DenyingRegistry : public MemoryRegistry {
public:
    bool deny = false;
    long SetValue(reg::Key k, std::string_view n, std::uint32_t t, const std::uint8_t* d, std::uint32_t s) override {
        return deny ? 5 : MemoryRegistry::SetValue(k, n, t, d, s);
    }
    long DeleteValue(reg::Key k, std::string_view n) override { return deny ? 5 : MemoryRegistry::DeleteValue(k, n); }
};

std::string Shown(const RegValue& v) {
    if (const auto* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    const auto* s = std::get_if<std::string>(&v);
    return s ? "'" + *s + "'" : "-";
}

TEST(DpiCheck, Table) {
    using R = MsgResult;
    struct Row { const char* name; unsigned major, minor; const char* flags; int scaling, dpi; bool silent, deny;
                 std::vector<R> answers; bool restart; const char* flagsAfter; const char* scalingAfter; int boxes; bool logoff; };
    const Row rows[] = {
        {"Windows 10", 10, 0, "~ HIGHDPIAWARE", -1, 120, false, false, {}, false, "'~ HIGHDPIAWARE'", "-", 0, false},
        {"Windows 8.1", 6, 3, "HIGHDPIAWARE", -1, 120, false, false, {}, false, "'HIGHDPIAWARE'", "-", 0, false},
        {"tilde kept", 6, 1, "~ HighDpiAware", 1, 120, false, false, {}, true, "'~'", "1", 0, false},
        {"only DISABLEDWM", 6, 2, "DISABLEDWM", 1, 120, false, false, {}, true, "-", "1", 0, false},
        {"both, blanks", 6, 1, " HIGHDPIAWARE  RUNASADMIN DISABLEDWM ", 1, 96, false, false, {}, true, "'RUNASADMIN'", "1", 0, false},
        {"denied entry", 6, 1, "HIGHDPIAWARE", 1, 96, false, true, {}, false, "'HIGHDPIAWARE'", "1", 0, false},
        {"96 DPI", 6, 1, nullptr, 0, 96, false, false, {}, false, "-", "0", 0, false},
        {"no DPI value", 6, 1, nullptr, -1, -1, false, false, {}, false, "-", "-", 0, false},
        {"silent", 6, 1, nullptr, 0, 120, true, false, {}, false, "-", "1", 0, false},
        {"warning, No", 6, 1, nullptr, -1, 120, false, false, {R::No}, false, "-", "-", 1, false},
        {"Yes, then No", 6, 2, nullptr, 0, 144, false, false, {R::Yes, R::No}, false, "-", "1", 2, false},
        {"Yes, Yes: log off", 6, 1, nullptr, 0, 120, false, false, {R::Yes, R::Yes}, false, "-", "1", 2, true},
    };
    for (const Row& r : rows) {
        FakePorts fake;
        DenyingRegistry registry;
        Ports ports{fake.settings, fake.system, fake.files, fake.display, registry};
        ForgetDPI();
        fake.system.exePath = "C:\\Apps\\Wolkenglas.exe";
        fake.system.os = {2, r.major, r.minor};
        if (r.flags) Registry(registry, kEntry, std::string(r.flags));
        if (r.scaling >= 0) Registry(registry, kScaling, std::int32_t{r.scaling});
        if (r.dpi >= 0) Registry(registry, kDpi, std::int32_t{r.dpi});
        registry.deny = r.deny;
        fake.system.answers = r.answers;
        EXPECT_EQ(ChkDPI(ports, true, r.silent) == DpiCheck::Restarted, r.restart) << r.name;
        EXPECT_EQ(Shown(Registry(registry, kEntry)), r.flagsAfter) << r.name;
        EXPECT_EQ(Shown(Registry(registry, kScaling)), r.scalingAfter) << r.name;
        std::vector<std::pair<std::string, int>> commands;
        if (r.restart) commands.emplace_back("Explorer.exe \"C:\\Apps\\Wolkenglas.exe\"", 2);
        if (r.logoff) commands.emplace_back("shutdown.exe /l", 0);
        EXPECT_EQ(fake.system.commands, commands) << r.name;
        // The new copy must find the lock free and wait for it, as after any restart.
        EXPECT_EQ(std::count(fake.system.events.begin(), fake.system.events.end(), "release"), r.restart) << r.name;
        EXPECT_EQ(fake.settings.Get("Reload"), r.restart ? "1" : "<missing>") << r.name;
        ASSERT_EQ(fake.system.boxes.size(), static_cast<std::size_t>(r.boxes)) << r.name;
        if (r.boxes < 2) continue;
        const std::string first = std::string("  Sie verwenden eine Desktop-Skalierung von ") +
                                  (r.dpi == 144 ? "150% (144 DPI)" : "125% (120 DPI)") + ".\r\n  Das";
        EXPECT_EQ(fake.system.boxes[0].text.substr(0, first.size()), first) << r.name;
        EXPECT_EQ(fake.system.boxes[0].title, " WARNUNG:  Desktop-Skalierung aktiv");
        EXPECT_EQ(fake.system.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(fake.system.boxes[1].title, " HINWEIS:");
        EXPECT_EQ(fake.system.boxes[1].icon, MsgIcon::Stop);
        EXPECT_EQ(fake.system.boxes[1].buttons, MsgButtons::YesNoDefaultNo);
        EXPECT_EQ(fake.system.boxes[1].text, "  Damit die \xC4nderung wirksam wird,\r\n  m\xFCssen Sie sich neu anmelden."
                                             "\r\n\r\n  M\xF6" "chsten Sie sich jetzt neu anmelden?");
    }
}

TEST(DpiCheck, PercentHalvesToEven) {
    const std::pair<int, int> rows[] = {{96, 100}, {120, 125}, {144, 150}, {12, 12}, {36, 38}, {0, 0}};
    for (const auto& [dpi, percent] : rows) {
        MemoryRegistry registry;
        ForgetDPI();
        Registry(registry, kDpi, std::int32_t{dpi});
        EXPECT_EQ(DPIPercent(registry), percent) << dpi;
    }
}

}  // namespace
