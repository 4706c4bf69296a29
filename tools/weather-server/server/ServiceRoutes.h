#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include <httplib.h>

#include "replies/CivilTime.h"
#include "server/UpdateRecord.h"

namespace ws {

// The widget's built-in key, so that it works against this server unchanged.
inline constexpr const char* kDefaultApiKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";

struct ServerSettings {
    std::string apiKey = kDefaultApiKey;
    std::optional<Date> date;           // fixed "today"; empty: the places' local date
    std::optional<int> minuteOfDay;     // fixed observation time; empty: the clock's
    std::string dataDir;                // reply bodies that replace the generated ones
    UpdateOffer update;
};

// Faults that a running test can change through /_control.
struct FaultState {
    std::atomic<int> delayMs{0};
    std::atomic<int> status{0};         // 0: none; else every API reply fails with it
};

// The server's present moment at the places.
LocalTime serverNow(const ServerSettings& settings);

// The file in the data directory that stands in for a request path:
// "/currentconditions/v1/171001" -> "currentconditions_v1_171001.json". Empty for a path
// that cannot name a file.
std::string dataFileName(std::string_view path);

// Registers every route. Settings and faults must outlive the server.
void installRoutes(httplib::Server& server, const ServerSettings& settings, FaultState& faults);

}  // namespace ws
