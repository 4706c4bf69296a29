// The side-by-side manifest and the restart that makes Windows read it.
#include <gtest/gtest.h>

#include "doubles/FakeServices.h"
#include "system/mManifest.h"
#include "unit/reference/ReplyCorpus.h"
#include "widget/frmMain.h"

namespace {

constexpr const char* kExe = "C:\\Apps\\Wolkenglas.exe";
constexpr const char* kPath = "C:\\Apps\\Wolkenglas.exe.manifest";

TEST(Manifest, WhenToWriteAndWhat) {
    const std::string kept = corpus::ReadFile(WG_FIXTURES_DIR "/manifest/Wolkenglas.exe.manifest");
    ASSERT_FALSE(kept.empty());
    std::string otherIdentity = kept;
    otherIdentity.replace(otherIdentity.find("1.54.0.0"), 8, "1.53.0.0");
    struct Row { const char* name; unsigned major, minor; std::optional<std::string> before; bool force, readOnly;
                 bool written; std::optional<std::string> after; };
    const Row rows[] = {
        {"first start", 6, 1, {}, false, false, true, kept},
        {"current", 6, 1, kept, false, false, false, kept},
        {"current, forced", 10, 0, kept, true, false, true, kept},
        {"empty file", 6, 0, "", false, false, true, kept},
        {"identity of 1.53, 1.54 elsewhere", 6, 1, otherIdentity + "<!-- 1.54.0.0 -->", false, false, true, kept},
        {"no identity, version somewhere", 6, 1, "<x>1.54.0.0</x>", false, false, false, "<x>1.54.0.0</x>"},
        {"no identity, no version", 6, 1, "<x/>", false, false, true, kept},
        {"read-only folder", 6, 1, {}, false, true, false, {}},
        {"Windows XP", 5, 1, "ab", true, false, false, {}},
        {"Windows XP, 1 byte", 5, 1, "a", true, false, false, "a"},
    };
    for (const Row& r : rows) {
        FakePorts fake;
        fake.system.exePath = kExe;
        fake.system.os = {2, r.major, r.minor};
        fake.system.version.description = "Wolkenglas \xE2\x80\x93 Wetter-Widget f\xC3\xBCr den Desktop";
        if (r.before) fake.files.files[kPath] = *r.before;
        if (r.readOnly) fake.files.failWrites.push_back(kPath);
        EXPECT_EQ(WriteManifest(fake.ports, r.force), r.written) << r.name;
        const auto it = fake.files.files.find(kPath);
        EXPECT_EQ(it == fake.files.files.end() ? std::nullopt : std::optional(it->second), r.after) << r.name;
    }
}

// The first start writes the manifest and restarts once, with its arguments; nothing makes it
// restart again and again.
TEST(Manifest, StartRestartsOnce) {
    struct App : ServicedWindows {
        App() {
            set.coLocListIndex = -1;  // the place comes from the store: none
            set.tCID.clear();
            fake.system.exePath = kExe;
            fake.system.os = {2, 6, 1};
            fake.files.files[kExe] = "MZ";
        }
    };
    App first, second, again, readOnlyFolder, readOnlyStore;
    first.fake.system.commandLine = "/crc";
    EXPECT_EQ(first.main.Form_Load(), LoadOutcome::EndProcess);
    EXPECT_EQ(first.fake.system.started, std::vector<std::string>{std::string(kExe) + " /crc"});

    second.fake.settings.values = first.fake.settings.values;  // what the first left behind
    second.fake.files.files = first.fake.files.files;
    again.fake.settings.Set("Version", "1.54");  // a restart that wrote the manifest again
    again.fake.settings.Set("Reload", "1");
    readOnlyFolder.fake.files.failWrites.push_back(kPath);
    readOnlyStore.fake.settings.readOnly = true;  // "Version" never kept: every start forces a new manifest
    for (App* app : {&second, &again, &readOnlyFolder, &readOnlyStore}) {
        EXPECT_EQ(app->main.Form_Load(), LoadOutcome::Running);
        EXPECT_TRUE(app->fake.system.started.empty());
    }
    EXPECT_FALSE(second.fake.settings.Has("Reload"));
}

}  // namespace
