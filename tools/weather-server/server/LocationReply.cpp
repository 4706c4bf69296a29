#include "server/Replies.h"

#include <cmath>

#include "replies/LocationShape.h"

namespace ws {

namespace {

LocationValues valuesOf(const Place& place, const Language& language, long long nowUtc)
{
    const Lang lang = language.lang;
    const bool summer = isSummerTime(nowUtc);
    LocationValues v;
    v.key = place.key;
    v.rank = place.rank;
    v.localizedName = place.name(lang);
    v.englishName = place.nameEn;
    v.postalCode = place.postalCode;
    v.region = LocationValues::Names{"EUR", language.german() ? "Europa" : "Europe", "Europe"};
    v.country = {place.countryId, countryName(place.countryId, lang), countryName(place.countryId, Lang::English)};
    v.area = {place.areaId, place.area(lang), place.areaEn};
    v.areaType = LocationValues::AreaType{areaType(place.countryId, lang), areaType(place.countryId, Lang::English)};
    v.zone = LocationValues::Zone{summer ? "CEST" : "CET", summer ? 2.0 : 1.0, summer, isoUtc(nextOffsetChange(nowUtc))};
    v.timeZoneName = place.timeZoneName;
    v.latitude = place.latitude;
    v.longitude = place.longitude;
    v.elevationM = place.elevationM;
    v.serviceLists = true;
    return v;
}

}  // namespace

std::string locationReply(const Place& place, const Language& language, long long nowUtc)
{
    JsonWriter w;
    writeLocation(w, valuesOf(place, language, nowUtc));
    return w.text();
}

std::string searchReply(const std::vector<const Place*>& places, const Language& language,
                        long long nowUtc)
{
    JsonWriter w;
    w.beginArray();
    for (const Place* place : places)
        writeLocation(w, valuesOf(*place, language, nowUtc));
    w.endArray();
    return w.text();
}

}  // namespace ws
