#include "server/Replies.h"

#include <cmath>

#include "replies/JsonWriter.h"
#include "replies/ReplyParts.h"

namespace ws {

namespace {

void writeLocation(JsonWriter& w, const Place& place, const Language& language, long long nowUtc)
{
    const Lang lang = language.lang;
    const bool summer = isSummerTime(nowUtc);
    w.beginObject()
        .member("Version", 1)
        .member("Key", place.key)
        .member("Type", "City")
        .member("Rank", place.rank)
        .member("LocalizedName", place.name(lang))
        .member("EnglishName", place.nameEn)
        .member("PrimaryPostalCode", place.postalCode);
    w.key("Region").beginObject()
        .member("ID", "EUR")
        .member("LocalizedName", language.german() ? "Europa" : "Europe")
        .member("EnglishName", "Europe")
        .endObject();
    w.key("Country").beginObject()
        .member("ID", place.countryId)
        .member("LocalizedName", countryName(place.countryId, lang))
        .member("EnglishName", countryName(place.countryId, Lang::English))
        .endObject();
    w.key("AdministrativeArea").beginObject()
        .member("ID", place.areaId)
        .member("LocalizedName", place.area(lang))
        .member("EnglishName", place.areaEn)
        .member("Level", 1)
        .member("LocalizedType", areaType(place.countryId, lang))
        .member("EnglishType", areaType(place.countryId, Lang::English))
        .member("CountryID", place.countryId)
        .endObject();
    w.key("TimeZone").beginObject()
        .member("Code", summer ? "CEST" : "CET")
        .member("Name", place.timeZoneName)
        .member("GmtOffset", summer ? 2.0 : 1.0, 1)
        .member("IsDaylightSaving", summer)
        .member("NextOffsetChange", isoUtc(nextOffsetChange(nowUtc)))
        .endObject();
    w.key("GeoPosition").beginObject()
        .member("Latitude", place.latitude, 3)
        .member("Longitude", place.longitude, 3)
        .key("Elevation").beginObject().key("Metric");
    writeMeasure(w, place.elevationM, 1, "m", 5);
    w.key("Imperial");
    writeMeasure(w, std::round(toFeet(place.elevationM)), 1, "ft", 0);
    w.endObject().endObject();
    w.member("IsAlias", false);
    w.key("SupplementalAdminAreas").beginArray().endArray();
    w.key("DataSets").beginArray();
    for (const char* set : {"AirQualityCurrentConditions", "AirQualityForecasts", "Alerts",
                            "DailyPollenForecast", "ForecastConfidence", "FutureRadar",
                            "MinuteCast", "Radar"})
        w.string(set);
    w.endArray();
    w.endObject();
}

}  // namespace

std::string locationReply(const Place& place, const Language& language, long long nowUtc)
{
    JsonWriter w;
    writeLocation(w, place, language, nowUtc);
    return w.text();
}

std::string searchReply(const std::vector<const Place*>& places, const Language& language,
                        long long nowUtc)
{
    JsonWriter w;
    w.beginArray();
    for (const Place* place : places)
        writeLocation(w, *place, language, nowUtc);
    w.endArray();
    return w.text();
}

}  // namespace ws
