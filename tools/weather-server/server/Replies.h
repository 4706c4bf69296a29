#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "replies/CivilTime.h"
#include "replies/Language.h"
#include "server/Places.h"

namespace ws {

// What a weather request asked for: its language and the Details and Metric options.
struct ReplyOptions {
    Language language;
    bool details = false;
    bool metric = false;   // the service answers in imperial units unless asked otherwise
};

// The reply bodies, compact UTF-8 JSON shaped like the service's.
std::string locationReply(const Place& place, const Language& language, long long nowUtc);
std::string searchReply(const std::vector<const Place*>& places, const Language& language,
                        long long nowUtc);
std::string currentConditionsReply(const Place& place, const ReplyOptions& options, LocalTime now);
std::string dailyForecastReply(const Place& place, int days, const ReplyOptions& options,
                               Date today);

// The service's error body (application/problem+json, indented like the real one).
std::string problemReply(int status, std::string_view path, std::string_view reference,
                         long long nowUtc);
// The body for a location key that no place has.
std::string invalidKeyReply(std::string_view key, std::string_view path);
// The reason phrase of an HTTP status ("Unauthorized"); "Error" for codes it does not know.
std::string reasonPhrase(int status);

}  // namespace ws
