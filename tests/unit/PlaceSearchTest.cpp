// The place search: entry texts of found places, the second request, the dialog's controls.
#include <gtest/gtest.h>

#include "doubles/FakeServices.h"
#include "settings/PlaceSearch.h"
#include "system/Cat.h"

namespace {

std::string Place(const char* key, const char* name, const char* postal, const char* area) {
    return Cat("{\"Key\":\"", key, "\",\"LocalizedName\":\"", name, "\",\"PrimaryPostalCode\":\"", postal,
               "\",\"Country\":{\"ID\":\"DE\",\"LocalizedName\":\"Deutschland\"},\"AdministrativeArea\":{\"LocalizedName\":\"",
               area, "\"}}");
}
const std::string kNeustadts = Cat("[", Place("1", "Neustadt", "23730", "Holstein"), ",", Place("2", "Neustadt", "96465", "Bayern"), "]");

TEST(PlaceSearch, EntryTextsAndKeys) {
    const struct {
        std::string reply;
        std::vector<std::string> entries, keys;
    } rows[] = {
        {kNeustadts, {"DE: 23730 Neustadt, Holstein, Deutschland", "DE: 96465 Neustadt, Bayern, Deutschland"}, {"1", "2"}},
        {Cat("[", Place("3", "Berlin", "10117", "Berlin"), "]"), {"DE: 10117 Berlin, Deutschland"}, {"3"}},
        {Cat("[", Place("4", "berlin", "", "Berlin"), "]"), {"DE: berlin, Berlin, Deutschland"}, {"4"}},
        {"[]", {}, {}},
        {"[{}]", {}, {}},
        {"Http-Error 503: Service Unavailable", {}, {}},
    };
    for (const auto& row : rows) {
        const PlaceList list = ListPlaces(row.reply);
        EXPECT_EQ(list.entries, row.entries) << row.reply;
        EXPECT_EQ(list.keys, row.keys) << row.reply;
    }
}

TEST(PlaceSearch, DialogSearchesOnTheWorkerAndAsksAgainWithoutLanguage) {
    ServicedWindows r;
    r.fake.settings.Set("Server.Api", "http://api.test/");
    r.services.transport.Route("q=Neustadt", kNeustadts);
    r.services.transport.Route("Language=", "[]");
    r.services.tasks.hold = true;
    r.set.tSearchText = "Neustadt";
    r.set.tSearch_KeyPress(13);
    EXPECT_EQ(r.main.lTitle[0].Caption, "Wolkenglas:  Suche Ort, bitte warten ... ");
    EXPECT_FALSE(r.set.cSearchEnabled);
    r.set.cSearch_Click();  // ignored while the first one runs
    r.services.tasks.RunAll();
    ASSERT_EQ(r.services.transport.requests.size(), 1u);
    EXPECT_EQ(r.set.LocKeys, (std::vector<std::string>{"1", "2", ""}));
    EXPECT_TRUE(r.set.tCID == "1" && r.set.cChkEnabled && r.set.coLocEnabled && r.set.FocusRequest == "coLoc");
    EXPECT_EQ(r.main.lTitle[0].Caption, "Wolkenglas:  ");
    r.set.coLocListIndex = 1;
    r.set.coLoc_Click();
    EXPECT_TRUE(r.set.tCID == "2" && !r.set.DataLoaded);

    // Typing drops the chosen place; a blank text disables the button, and Enter with it.
    r.set.tSearchText = " ";
    r.set.tSearch_Change();
    EXPECT_TRUE(r.set.coLocList.empty() && r.set.tCID.empty() && !r.set.cChkEnabled && !r.set.cSearchEnabled);
    r.set.tSearch_KeyPress(13);
    EXPECT_TRUE(r.services.tasks.held.empty());
    r.set.tSearchText = "K&ln";
    r.set.tSearch_Change();
    r.set.tSearch_KeyPress(13);
    r.services.tasks.RunAll();
    const auto& requests = r.services.transport.requests;
    ASSERT_EQ(requests.size(), 3u);  // "[]" is too short: asked once more without the language
    EXPECT_NE(requests[1].url.find("q=K%26ln&Language="), std::string::npos) << requests[1].url;
    EXPECT_EQ(requests[2].url.find("Language="), std::string::npos) << requests[2].url;
}

// A failed search says so in the title line and leaves nothing to choose; text typed while a
// search runs keeps its place; no refresh starts beside a search.
TEST(PlaceSearch, FailuresStaleRepliesAndNoRefreshBeside) {
    const struct {
        HttpGetResult reply;
        const char* title;
        Colour colour;
    } rows[] = {
        {{HttpOutcome::Completed, 503, "Service Unavailable", "{}"}, "FEHLER:  503 - Service Unavailable", 0xFFB0B0},
        {{HttpOutcome::TimedOut, 0, "", ""}, "FEHLER:  Verbindungs-Problem mit Server.", 0xFFB0B0},
        {{HttpOutcome::Completed, 200, "OK", "[]"}, "Wolkenglas:  Kein Ort gefunden.", 0x80FF80},
    };
    for (const auto& row : rows) {
        ServicedWindows r;
        r.services.transport.reply = row.reply;
        r.set.tSearchText = "Atlantis";
        r.set.tSearch_Change();
        r.set.cSearch_Click();
        EXPECT_EQ(r.main.lTitle[0].Caption, row.title);
        EXPECT_EQ(r.main.lTitle[0].ForeColor, row.colour) << row.title;
        EXPECT_TRUE(r.set.coLocList.empty() && r.set.tCID.empty() && !r.set.cChkEnabled) << row.title;
    }

    ServicedWindows r;
    r.services.transport.Route("q=Neu", kNeustadts);
    r.services.tasks.hold = true;
    r.set.tSearchText = "Neu";  // the place chosen before stays until the reply
    r.set.cSearch_Click();
    r.set.cChk_Click();  // no refresh beside the search
    r.set.tSearchText = "Neustadt";
    r.set.tSearch_Change();
    ASSERT_EQ(r.services.tasks.held.size(), 1u);
    r.services.tasks.RunAll();
    EXPECT_EQ(r.services.transport.requests.size(), 1u);
    EXPECT_TRUE(r.set.coLocList.empty() && r.set.tCID.empty() && r.set.tSearchText == "Neustadt" && r.set.cSearchEnabled);
    EXPECT_EQ(r.main.lTitle[0].Caption, "Wolkenglas:  ");
}

}  // namespace
