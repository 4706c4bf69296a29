#include "settings/PlaceSearch.h"

#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "system/Cat.h"

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
        list.entries.push_back(PlaceEntry(elements[i]));
        list.keys.push_back(GetJSONValue(elements[i], "Key"));
    }
    return list;
}

std::string FindPlaces(const WeatherService& service, std::string_view searchText, std::string_view language) {
    std::string reply = SearchCities(service, searchText, language);
    if (reply.size() < kShortestPlaceReply) reply = SearchCities(service, searchText, "");
    return UTF8toWIN(reply);
}
