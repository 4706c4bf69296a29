#include "settings/PlaceSearch.h"

#include <algorithm>

#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "weather/ReplyText.h"

namespace {
// Shorter than the smallest reply that can hold a place ("[]", an error text).
constexpr std::size_t kShortestPlaceReply = 10;
}  // namespace

std::string PlaceEntry(std::string_view place) {
    const std::string name = GetJSONValue(place, "LocalizedName");
    const std::string postalCode = GetJSONValue(place, "PrimaryPostalCode");
    const std::string area = GetJSONValue(place, "AdministrativeArea/LocalizedName");
    return Cat(GetJSONValue(place, "Country/ID"), ": ", postalCode.empty() ? "" : Cat(postalCode, " "), name, ", ",
               area.empty() || area == name ? "" : Cat(area, ", "), GetJSONValue(place, "Country/LocalizedName"));
}

PlaceList ListPlaces(std::string_view reply) {
    const std::vector<std::string> elements = SplitJSONArray(reply);
    PlaceList list;
    for (std::size_t i = 1; i < elements.size(); ++i) {
        std::string key = GetJSONValue(elements[i], "Key");
        if (Trim(key).empty()) continue;  // an empty array's one element: no place to choose
        list.entries.push_back(PlaceEntry(elements[i]));
        list.keys.push_back(std::move(key));
    }
    return list;
}

std::optional<std::string> SearchFailure(std::string_view reply) {
    if (reply.find('[') != std::string_view::npos) return std::nullopt;
    if (LowerCase(ShownText(reply)).find("error") == std::string::npos)
        return std::string("FEHLER:  Verbindungs-Problem mit Server.");
    // "Http-Error 503: Service Unavailable" shows as the refresh shows a failed place request.
    return LocationErrorLine(reply);
}

std::string FindPlaces(const WeatherService& service, std::string_view searchText, std::string_view language) {
    std::string reply = SearchCities(service, searchText, language);
    if (reply.size() < kShortestPlaceReply) reply = SearchCities(service, searchText, "");
    return UTF8toWIN(reply);
}
