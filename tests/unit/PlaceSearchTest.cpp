// The place search: the entry texts of found places, the second request, the dialog's controls
// after each handler.
#include <gtest/gtest.h>

#include "doubles/FakeServices.h"
#include "settings/PlaceSearch.h"
#include "system/Cat.h"

namespace {

std::string Place(const char* key, const char* name, const char* postal, const char* area) {
    return Cat("{\"Key\":\"", key, "\",\"LocalizedName\":\"", name, "\",\"PrimaryPostalCode\":\"", postal,
               "\",\"Country\":{\"ID\":\"DE\",\"LocalizedName\":\"Deutschland\"},\"AdministrativeArea\":{\"ID\":\"X\","
               "\"LocalizedName\":\"",
               area, "\"}}");
}

TEST(PlaceSearch, EntryTextsAndKeys) {
    const struct {
        std::string reply;
        std::vector<std::string> entries, keys;
    } rows[] = {
        {Cat("[", Place("1", "Neustadt", "23730", "Schleswig-Holstein"), ",", Place("2", "Neustadt", "96465", "Bayern"), "]"),
         {"DE: 23730 Neustadt, Schleswig-Holstein, Deutschland", "DE: 96465 Neustadt, Bayern, Deutschland"},
         {"1", "2"}},
        {Cat("[", Place("3", "Berlin", "10117", "Berlin"), "]"), {"DE: 10117 Berlin, Deutschland"}, {"3"}},
        {Cat("[", Place("4", "berlin", "", "Berlin"), "]"), {"DE: berlin, Berlin, Deutschland"}, {"4"}},  // exact comparison
        {Cat("[", Place("5", "Bern", "", ""), "]"), {"DE: Bern, Deutschland"}, {"5"}},
        {"[]", {": , "}, {""}},
        {"Http-Error 503: Service Unavailable", {": , "}, {""}},
    };
    for (const auto& row : rows) {
        const PlaceList list = ListPlaces(row.reply);
        EXPECT_EQ(list.entries, row.entries) << row.reply;
        EXPECT_EQ(list.keys, row.keys) << row.reply;
    }
}

struct SearchRig : ServicedWindows {
    SearchRig() {
        fake.settings.Set("Server.Api", "http://api.test/");
        set.MC = "Wolkenglas";
        set.M2 = " tip ";
        set.tCID.clear();
        set.coLocListIndex = -1;
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const auto& r : services.transport.requests) urls.push_back(r.url);
        return urls;
    }
};

TEST(PlaceSearch, SearchFillsTheListAndChoosesTheFirstPlace) {
    SearchRig r;
    r.services.transport.Route("/locations/v1/search",
                               Cat("[", Place("171008", "Neustadt", "23730", "Schleswig-Holstein"), ",",
                                   Place("171009", "Neustadt", "96465", "Bayern"), "]"));
    r.services.tasks.hold = true;
    r.set.tSearchText = "Neustadt";
    r.set.tSearch_Change();
    EXPECT_TRUE(r.set.cSearchEnabled);
    r.set.tSearch_KeyPress(13);
    // While the worker waits: the status line, the button off, a second search ignored.
    EXPECT_EQ(r.main.lTitle[0].Caption, "Wolkenglas:  Suche Ort, bitte warten ... ");
    EXPECT_EQ(r.main.lTitle[0].ForeColor, 0xC0C0FFu);
    EXPECT_EQ(r.main.lTitle[0].ToolTipText, " tip ");
    EXPECT_FALSE(r.set.cSearchEnabled);
    r.set.cSearch_Click();
    EXPECT_EQ(r.services.tasks.held.size(), 1u);
    EXPECT_TRUE(r.set.Searching());
    r.services.tasks.RunAll();

    ASSERT_EQ(r.Urls().size(), 1u);  // a full reply needs no second request
    EXPECT_NE(r.Urls()[0].find("q=Neustadt&Language="), std::string::npos) << r.Urls()[0];
    EXPECT_EQ(r.set.coLocList, (std::vector<std::string>{"DE: 23730 Neustadt, Schleswig-Holstein, Deutschland",
                                                         "DE: 96465 Neustadt, Bayern, Deutschland"}));
    EXPECT_EQ(r.set.LocKeys, (std::vector<std::string>{"171008", "171009", ""}));
    EXPECT_EQ(r.set.coLocListIndex, 0);
    EXPECT_EQ(r.set.tCID, "171008");
    EXPECT_TRUE(r.set.cChkEnabled && r.set.coLocEnabled && !r.set.cSearchEnabled && !r.set.DataLoaded);
    EXPECT_EQ(r.set.FocusRequest, "coLoc");
    EXPECT_EQ(r.main.lTitle[0].Caption, "Wolkenglas:  ");
    EXPECT_EQ(r.main.lTitle[0].ForeColor, 0x80FF80u);

    // Choosing the second place; then typing drops the choice until a new search.
    r.set.DataLoaded = true;
    r.set.coLocListIndex = 1;
    r.set.coLoc_Click();
    EXPECT_EQ(r.set.tCID, "171009");
    EXPECT_FALSE(r.set.DataLoaded);
    r.set.tSearchText = "Neus";
    r.set.tSearch_Change();
    EXPECT_TRUE(r.set.coLocList.empty() && r.set.tCID.empty() && !r.set.cChkEnabled && r.set.cSearchEnabled);
    r.set.tSearchText = "   ";
    r.set.tSearch_Change();
    EXPECT_FALSE(r.set.cSearchEnabled);
    r.set.tSearch_GotFocus();
    EXPECT_TRUE(r.set.tSearchSelectAll);
}

TEST(PlaceSearch, ShortReplyAsksOnceMoreWithoutLanguageAndAFailureListsOneEmptyEntry) {
    for (const char* second : {"[]", "Error!"}) {
        SearchRig r;
        r.services.transport.Route("Language=", "[]");
        r.services.transport.Route("/locations/v1/search", second);
        r.set.tSearchText.clear();
        r.set.tSearch_KeyPress(13);  // Enter in an empty box still searches
        ASSERT_EQ(r.Urls().size(), 2u);
        EXPECT_NE(r.Urls()[0].find("q=&Language="), std::string::npos) << r.Urls()[0];
        EXPECT_EQ(r.Urls()[1].find("Language="), std::string::npos) << r.Urls()[1];
        EXPECT_EQ(r.set.coLocList, std::vector<std::string>{": , "});
        EXPECT_TRUE(r.set.tCID.empty());
        EXPECT_TRUE(r.set.cChkEnabled);  // one entry: the refresh then stops at its guard
    }
}

}  // namespace
