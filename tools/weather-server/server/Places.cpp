#include "server/Places.h"

#include <algorithm>

#include "server/QueryText.h"

namespace ws {

namespace {

// Keys are this server's own; they only have to be unique and look like the service's.
const std::vector<Place> kPlaces = {
    {"171001", "Berlin", "Berlin", "10117", "DE", "BE", "Berlin", "Berlin", "Europe/Berlin",
     52.520, 13.405, 34, 10, 0.0},
    {"171002", "München", "Munich", "80331", "DE", "BY", "Bayern", "Bavaria", "Europe/Berlin",
     48.137, 11.575, 519, 21, -1.0},
    {"171003", "Zürich", "Zurich", "8001", "CH", "ZH", "Zürich", "Zurich", "Europe/Zurich",
     47.377, 8.540, 408, 20, -0.5},
    {"171004", "Wien", "Vienna", "1010", "AT", "9", "Wien", "Vienna", "Europe/Vienna",
     48.208, 16.373, 171, 10, 0.7},
    {"171005", "Potsdam", "Potsdam", "14467", "DE", "BB", "Brandenburg", "Brandenburg",
     "Europe/Berlin", 52.400, 13.065, 35, 35, -0.2},
    {"171006", "Köln", "Cologne", "50667", "DE", "NW", "Nordrhein-Westfalen",
     "North Rhine-Westphalia", "Europe/Berlin", 50.938, 6.957, 53, 21, 0.8},
    {"171007", "Düsseldorf", "Dusseldorf", "40213", "DE", "NW", "Nordrhein-Westfalen",
     "North Rhine-Westphalia", "Europe/Berlin", 51.227, 6.773, 38, 25, 0.9},
    {"171008", "Neustadt", "Neustadt", "23730", "DE", "SH", "Schleswig-Holstein",
     "Schleswig-Holstein", "Europe/Berlin", 54.107, 10.814, 5, 55, -0.8},
    {"171009", "Neustadt", "Neustadt", "96465", "DE", "BY", "Bayern", "Bavaria",
     "Europe/Berlin", 50.329, 11.121, 344, 55, -1.2},
    {"171010", "Bern", "Bern", "", "CH", "BE", "Bern", "Bern", "Europe/Zurich",
     46.948, 7.447, 540, 20, -1.3},
    {"171011", "Hamburg", "Hamburg", "20095", "DE", "HH", "Hamburg", "Hamburg", "Europe/Berlin",
     53.551, 9.994, 6, 11, -0.3},
    {"171012", "Salzburg", "Salzburg", "5020", "AT", "5", "Salzburg", "Salzburg",
     "Europe/Vienna", 47.809, 13.055, 424, 30, -0.9},
    {"171013", "Garmisch-Partenkirchen", "Garmisch-Partenkirchen", "82467", "DE", "BY", "Bayern",
     "Bavaria", "Europe/Berlin", 47.492, 11.095, 708, 45, -3.5},
    {"171014", "Frankfurt am Main", "Frankfurt am Main", "60311", "DE", "HE", "Hessen", "Hesse",
     "Europe/Berlin", 50.110, 8.682, 112, 15, 0.7},
    {"171015", "Gießen", "Giessen", "35390", "DE", "HE", "Hessen", "Hesse", "Europe/Berlin",
     50.584, 8.678, 159, 35, 0.0},
    {"171016", "Übersee", "Ubersee", "83236", "DE", "BY", "Bayern", "Bavaria", "Europe/Berlin",
     47.857, 12.469, 525, 45, -0.6},
    // A name beyond Windows-1252, for the widget's way with such texts.
    {"171017", "Łódź", "Lodz", "90-001", "PL", "10", "Łódź", "Lodz", "Europe/Warsaw",
     51.759, 19.456, 200, 25, 0.3},
};

bool contains(std::string_view text, std::string_view part)
{
    return foldCase(text).find(foldCase(part)) != std::string::npos;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string Place::slug() const
{
    std::string slug = asciiLower(nameEn);
    std::replace(slug.begin(), slug.end(), ' ', '-');
    return slug;
}

const std::vector<Place>& builtInPlaces()
{
    return kPlaces;
}

const Place* findPlace(std::string_view key)
{
    for (const Place& place : kPlaces) {
        if (place.key == key)
            return &place;
    }
    return nullptr;
}

std::vector<const Place*> searchPlaces(std::string_view queryUtf8)
{
    const std::string query = trimmed(queryUtf8);
    std::vector<const Place*> found;
    if (query.empty())
        return found;
    for (const Place& place : kPlaces) {
        const bool postal = !place.postalCode.empty() && place.postalCode.rfind(query, 0) == 0;
        if (postal || contains(place.nameDe, query) || contains(place.nameEn, query))
            found.push_back(&place);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Place* a, const Place* b) { return a->rank < b->rank; });
    return found;
}

std::string countryName(std::string_view countryId, Lang lang)
{
    const bool de = lang == Lang::German;
    if (countryId == "DE")
        return de ? "Deutschland" : "Germany";
    if (countryId == "AT")
        return de ? "Österreich" : "Austria";
    if (countryId == "CH")
        return de ? "Schweiz" : "Switzerland";
    if (countryId == "PL")
        return de ? "Polen" : "Poland";
    return std::string(countryId);
}

std::string areaType(std::string_view countryId, Lang lang)
{
    const bool de = lang == Lang::German;
    if (countryId == "CH")
        return de ? "Kanton" : "Canton";
    if (countryId == "PL")
        return de ? "Woiwodschaft" : "Voivodeship";
    return de ? "Bundesland" : "State";
}

std::string serviceLink(const Place& place, const Language& language, std::string_view page,
                        std::string_view query)
{
    const std::string& where = place.postalCode.empty() ? place.key : place.postalCode;
    return "http://www.accuweather.com/" + language.linkPrefix() + "/" +
           asciiLower(place.countryId) + "/" + place.slug() + "/" + where + "/" +
           std::string(page) + "/" + place.key + "?" + std::string(query) + "lang=" + language.code;
}

}  // namespace ws
