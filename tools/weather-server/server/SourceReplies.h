#pragma once

#include <optional>
#include <string>
#include <vector>

#include "replies/CivilTime.h"
#include "server/Places.h"
#include "server/QueryText.h"

namespace ws {

// The keyless source's replies (Open-Meteo's geocoding and forecast) from the same model as the
// service's: the widget can run either source against this server and see the same weather.
// Place ids are the service keys of the built-in places.

// One place as "v1/get" answers it; `language` is the source's two-letter code.
std::string sourcePlaceReply(const Place& place, std::string_view language);
// "v1/search": {"results":[...]}, or no "results" at all when nothing is found.
std::string sourceSearchReply(const std::vector<const Place*>& places, std::string_view language);
// "v1/forecast" for the place at the asked coordinates, with the variables and unit options the
// query names; nothing for coordinates that no built-in place has.
std::optional<std::string> sourceForecastReply(const QueryParams& query, LocalTime now);
// The source's error body: {"error":true,"reason":"..."}.
std::string sourceErrorReply(std::string_view reason);

}  // namespace ws
