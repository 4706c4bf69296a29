#include "replies/LocationShape.h"

#include <cmath>

#include "replies/ReplyParts.h"

namespace ws {

void writeLocation(JsonWriter& w, const LocationValues& p)
{
    w.beginObject().member("Version", 1).member("Key", p.key).member("Type", "City");
    if (p.rank)
        w.member("Rank", *p.rank);
    w.member("LocalizedName", p.localizedName)
        .member("EnglishName", p.englishName)
        .member("PrimaryPostalCode", p.postalCode);
    if (p.region) {
        w.key("Region").beginObject()
            .member("ID", p.region->id)
            .member("LocalizedName", p.region->localized)
            .member("EnglishName", p.region->english)
            .endObject();
    }
    w.key("Country").beginObject()
        .member("ID", p.country.id)
        .member("LocalizedName", p.country.localized)
        .member("EnglishName", p.country.english)
        .endObject();
    w.key("AdministrativeArea").beginObject();
    if (!p.area.id.empty())
        w.member("ID", p.area.id);
    w.member("LocalizedName", p.area.localized).member("EnglishName", p.area.english);
    if (p.areaType) {
        w.member("Level", 1)
            .member("LocalizedType", p.areaType->localized)
            .member("EnglishType", p.areaType->english)
            .member("CountryID", p.country.id);
    }
    w.endObject();
    w.key("TimeZone").beginObject();
    if (p.zone)
        w.member("Code", p.zone->code);
    w.member("Name", p.timeZoneName);
    if (p.zone) {
        w.member("GmtOffset", p.zone->gmtOffsetHours, 1)
            .member("IsDaylightSaving", p.zone->daylightSaving)
            .member("NextOffsetChange", p.zone->nextOffsetChange);
    }
    w.endObject();
    w.key("GeoPosition").beginObject()
        .member("Latitude", p.latitude, p.coordinateDecimals)
        .member("Longitude", p.longitude, p.coordinateDecimals);
    if (p.elevationM) {
        w.key("Elevation").beginObject().key("Metric");
        writeMeasure(w, *p.elevationM, 1, "m", 5);
        w.key("Imperial");
        writeMeasure(w, std::round(toFeet(*p.elevationM)), 1, "ft", 0);
        w.endObject();
    }
    w.endObject();
    if (p.serviceLists) {
        w.member("IsAlias", false);
        w.key("SupplementalAdminAreas").beginArray().endArray();
        w.key("DataSets").beginArray();
        for (const char* set : {"AirQualityCurrentConditions", "AirQualityForecasts", "Alerts",
                                "DailyPollenForecast", "ForecastConfidence", "FutureRadar",
                                "MinuteCast", "Radar"})
            w.string(set);
        w.endArray();
    }
    w.endObject();
}

}  // namespace ws
