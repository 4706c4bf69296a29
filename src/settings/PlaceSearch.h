#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/mAccuWeather.h"

// The places of one search reply: the list's entry texts and, at the same positions, their
// location keys.
struct PlaceList {
    std::vector<std::string> entries;
    std::vector<std::string> keys;
};

// The one-line entry of a found place: "DE: 14467 Potsdam, Brandenburg, Deutschland". The area
// is left out when it is empty or the place's own name, the postal code when it is empty.
std::string PlaceEntry(std::string_view place);

// Every element of the reply's array that names a place (has a key), in order.
PlaceList ListPlaces(std::string_view reply);

// The title line for a search whose request failed (a reply without an array): the service's
// error as the refresh shows it, or the connection problem after a time-out. Nothing for a reply.
std::optional<std::string> SearchFailure(std::string_view reply);

// The service's places for a search text, as Windows-1252 text. A reply too short to hold a
// place is asked for once more without a language: the service finds some places only then.
std::string FindPlaces(const WeatherService& service, std::string_view searchText, std::string_view language);
