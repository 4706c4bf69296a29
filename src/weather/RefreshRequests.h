#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "service/mAccuWeather.h"

// The network part of a refresh, which runs away from the window thread. Each request is made
// only where the refresh will look at its reply, so the service sees the requests that the
// checks on the window thread allow.

// The three replies, each converted to Windows-1252 (empty when not requested).
struct ServiceReplies {
    std::string location, current, forecast;
};

// The place; the current conditions when the place reply holds "{"; the 10-day forecast when
// the current-conditions reply holds "[".
ServiceReplies FetchServiceReplies(const WeatherService& service, const std::string& locationKey,
                                   const std::string& language, bool metric);

// The satellite picture's address on the image host.
std::string SatelliteUrl(SettingsStore& settings);

// The satellite picture's bytes; empty when the request failed or brought at most one byte.
std::vector<std::uint8_t> FetchSatellite(const HttpClient& http, const std::string& url);
