// The place search: the request away from the window thread, the list of found places, the
// choice of one and the editing of the search text.
#include <memory>
#include <optional>

#include "settings/PlaceSearch.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "widget/frmMain.h"

namespace {
constexpr Colour kSearchingColour = 0xC0C0FF;
constexpr Colour kFoundColour = 0x80FF80;
constexpr int kEnter = 13;
}  // namespace

void frmSet::cSearch_Click() {
    // One search at a time: its reply refills the list that a second one would also refill. Nor
    // during a refresh, whose place the list and tCID still hold.
    if (searching_ || refreshing_) return;
    main_.ClearLabels();
    Label& title = main_.lTitle[0];
    title.ForeColor = kSearchingColour;
    main_.SetTitle(Cat(MC, ":  Suche Ort, bitte warten ... "));
    title.ToolTipText = M2;
    cSearchEnabled = false;
    if (!services_) return;
    searching_ = true;

    const std::string language = GetLanguage(services_->registry);
    const WeatherService service{{services_->transport, services_->environment}, ports_.settings};
    auto reply = std::make_shared<std::string>();
    services_->tasks.Run([service, reply, text = tSearchText, language] { *reply = FindPlaces(service, text, language); },
                         [this, reply, text = tSearchText] { ShowPlaces(*reply, text); });
}

void frmSet::ShowPlaces(const std::string& reply, const std::string& searched) {
    searching_ = false;
    if (unloaded_) return;
    Label& title = main_.lTitle[0];
    // Text typed while the search ran has emptied the list for a search of its own; the places of
    // the older text must not come back under it.
    if (tSearchText != searched) {
        title.ForeColor = kFoundColour;
        main_.SetTitle(Cat(MC, ":  "));
        return;
    }
    coLocList.clear();
    coLocEnabled = false;
    const std::optional<std::string> failure = SearchFailure(reply);
    ListCities(failure ? std::string() : reply);
    coLocEnabled = true;
    if (failure) return ErrOut(*failure);
    FocusRequest = "coLoc";
    title.ForeColor = kFoundColour;
    main_.SetTitle(Cat(MC, coLocList.empty() ? ":  Kein Ort gefunden." : ":  "));
}

void frmSet::ListCities(const std::string& StrJSON) {
    PlaceList places = ListPlaces(StrJSON);
    coLocList = std::move(places.entries);
    LocKeys = std::move(places.keys);
    LocKeys.emplace_back();
    coLocListIndex = coLocList.empty() ? -1 : 0;
    coLoc_Click();
}

void frmSet::coLoc_Click() {
    cChkEnabled = !coLocList.empty();
    const bool chosen = coLocListIndex >= 0 && static_cast<std::size_t>(coLocListIndex) < coLocList.size();
    coLocText = chosen ? coLocList[static_cast<std::size_t>(coLocListIndex)] : std::string();
    tCID = chosen && static_cast<std::size_t>(coLocListIndex) < LocKeys.size() ? LocKeys[static_cast<std::size_t>(coLocListIndex)]
                                                                              : std::string();
    DataLoaded = false;
    // A place chosen while a refresh runs: one for it follows.
    if (refreshing_ && chosen) refreshAgain_ = true;
}

void frmSet::tSearch_Change() {
    if (!tSearchText.empty()) {
        // The old place is no longer chosen: no refresh of it until a new one is.
        coLocList.clear();
        coLocListIndex = -1;
        coLocText.clear();
        coLocEnabled = true;
        cChkEnabled = false;
        tCID.clear();
    }
    cSearchEnabled = !Trim(tSearchText).empty();
}

void frmSet::tSearch_GotFocus() { tSearchSelectAll = true; }

void frmSet::tSearch_KeyPress(int keyAscii) {
    // Enter is the button's shortcut: it does nothing while the button is disabled.
    if (keyAscii == kEnter && cSearchEnabled) cSearch_Click();
}
