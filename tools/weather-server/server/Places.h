#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "replies/Language.h"

namespace ws {

// One built-in place. Texts are UTF-8.
struct Place {
    std::string key;
    std::string nameDe;
    std::string nameEn;
    std::string postalCode;        // may be empty, as the service sends for some places
    std::string countryId;         // DE, AT, CH, PL
    std::string areaId;
    std::string areaDe;
    std::string areaEn;
    std::string timeZoneName;      // all keep Central European time
    double latitude = 0;
    double longitude = 0;
    double elevationM = 0;
    int rank = 0;
    double climateOffsetC = 0;     // warmer (+) or cooler (-) than the lowland mean

    const std::string& name(Lang lang) const { return lang == Lang::German ? nameDe : nameEn; }
    const std::string& area(Lang lang) const { return lang == Lang::German ? areaDe : areaEn; }
    // The piece of the service's web links that names the place ("frankfurt-am-main").
    std::string slug() const;
};

const std::vector<Place>& builtInPlaces();
const Place* findPlace(std::string_view key);
// Case-insensitive substring of the German or English name, or prefix of the postal code;
// best-ranked places first. A blank query finds nothing.
std::vector<const Place*> searchPlaces(std::string_view queryUtf8);
std::string countryName(std::string_view countryId, Lang lang);
std::string areaType(std::string_view countryId, Lang lang);

// "http://www.accuweather.com/de/de/berlin/10117/<page>/171001?<query>lang=de-de"
std::string serviceLink(const Place& place, const Language& language, std::string_view page,
                        std::string_view query);

}  // namespace ws
