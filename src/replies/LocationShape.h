#pragma once

#include <optional>
#include <string>

#include "replies/JsonWriter.h"

namespace ws {

// The values of the service's location object (a place by key, an element of a search). Absent
// values leave their members out.
struct LocationValues {
    std::string key, localizedName, englishName, postalCode;
    std::optional<int> rank;
    struct Names {
        std::string id, localized, english;
    };
    std::optional<Names> region;
    Names country;
    Names area;                          // an empty id is left out
    struct AreaType {
        std::string localized, english;
    };
    std::optional<AreaType> areaType;    // the area's level 1 type
    struct Zone {
        std::string code;
        double gmtOffsetHours;
        bool daylightSaving;
        std::string nextOffsetChange;
    };
    std::optional<Zone> zone;
    std::string timeZoneName;
    double latitude = 0, longitude = 0;
    int coordinateDecimals = 3;
    std::optional<double> elevationM;
    bool serviceLists = false;           // IsAlias, SupplementalAdminAreas and DataSets
};

void writeLocation(JsonWriter& w, const LocationValues& place);

}  // namespace ws
