#include "server/ServiceRoutes.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "server/Places.h"
#include "server/QueryText.h"
#include "server/Replies.h"
#include "server/SatelliteImage.h"
#include "server/SourceReplies.h"

namespace ws {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kSatellitePath = "/sat_mosaic_640x480_public/IR/iseur3.jpg";

std::string_view rawQuery(const std::string& target)
{
    const std::size_t mark = target.find('?');
    return mark == std::string::npos ? std::string_view{} : std::string_view(target).substr(mark + 1);
}

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::string> dataFile(const ServerSettings& settings, const std::string& path)
{
    if (settings.dataDir.empty())
        return std::nullopt;
    const std::string name = dataFileName(path);
    if (name.empty())
        return std::nullopt;
    return readFile(std::filesystem::path(settings.dataDir) / name);
}

bool isTrue(const std::optional<std::string>& value)
{
    return value && asciiLower(*value) == "true";
}

// "http://host/path?query" without the API key, as the service names the failed request.
std::string referenceOf(const httplib::Request& req)
{
    std::string query;
    std::string_view rest = rawQuery(req.target);
    while (!rest.empty()) {
        const std::size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
        if (asciiLower(pair.substr(0, pair.find('='))) == "apikey")
            continue;
        query += (query.empty() ? "?" : "&") + std::string(pair);
    }
    const std::string host = req.get_header_value("Host");
    return "http://" + (host.empty() ? std::string("localhost") : host) + req.path + query;
}

std::string serverDateText(const ServerSettings& settings)
{
    const Date today = serverNow(settings).date;
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", today.day, today.month, today.year);
    return text;
}

// The handlers behind the routes; every route holds a share of it.
class Routes {
public:
    Routes(const ServerSettings& settings, FaultState& faults) : settings_(settings), faults_(faults) {}

    static void install(httplib::Server& server, const std::shared_ptr<Routes>& routes);

private:
    using Generator = std::function<void(const QueryParams&, httplib::Response&)>;

    void serveApi(const httplib::Request& req, httplib::Response& res, const Generator& generate);
    void serveSource(const httplib::Request& req, httplib::Response& res, const Generator& generate);
    void serveControl(const httplib::Request& req, httplib::Response& res);
    void serveUpdate(const httplib::Request& req, httplib::Response& res);
    void serveProblem(const httplib::Request& req, httplib::Response& res, int status);
    void serveUnknownKey(const httplib::Request& req, httplib::Response& res, const std::string& key);
    long long nowUtc() const
    {
        const LocalTime now = serverNow(settings_);
        return localToUtc(now.date, now.minuteOfDay);
    }

    const ServerSettings& settings_;
    FaultState& faults_;
};

void Routes::serveProblem(const httplib::Request& req, httplib::Response& res, int status)
{
    res.status = status;
    res.set_content(problemReply(status, req.path, referenceOf(req), nowUtc()),
                    "application/problem+json");
}

void Routes::serveUnknownKey(const httplib::Request& req, httplib::Response& res,
                             const std::string& key)
{
    res.status = 400;
    res.set_content(invalidKeyReply(key, req.path), kJson);
}

// Every API request: the injected status, then the key check, then a body from the data
// directory, and only then the generated reply.
void Routes::serveApi(const httplib::Request& req, httplib::Response& res, const Generator& generate)
{
    if (const int status = faults_.status.load(); status != 0) {
        serveProblem(req, res, status);
        return;
    }
    const QueryParams params = QueryParams::parse(rawQuery(req.target));
    std::string key = params.get("apikey").value_or("");
    const std::string bearer = req.get_header_value("Authorization");
    if (key.empty() && asciiLower(bearer).rfind("bearer ", 0) == 0)
        key = bearer.substr(7);
    if (key != settings_.apiKey) {
        serveProblem(req, res, 401);
        return;
    }
    if (auto body = dataFile(settings_, req.path)) {
        res.set_content(*body, kJson);
        return;
    }
    generate(params, res);
}

// The keyless source's requests: the injected status, a body from the data directory, then the
// generated reply. The source wants no key.
void Routes::serveSource(const httplib::Request& req, httplib::Response& res, const Generator& generate)
{
    if (const int status = faults_.status.load(); status != 0) {
        res.status = status;
        res.set_content(sourceErrorReply(reasonPhrase(status)), kJson);
        return;
    }
    if (auto body = dataFile(settings_, req.path)) {
        res.set_content(*body, kJson);
        return;
    }
    generate(QueryParams::parse(rawQuery(req.target)), res);
}

void Routes::serveControl(const httplib::Request& req, httplib::Response& res)
{
    const QueryParams params = QueryParams::parse(rawQuery(req.target));
    std::optional<int> delay;
    std::optional<int> status;
    bool bad = false;
    if (auto text = params.get("delay_ms"); text && !text->empty())
        bad |= !(delay = wholeNumber(*text, 0, 600000));
    if (auto text = params.get("status"); text && !text->empty()) {
        status = wholeNumber(*text, 0, 599);
        bad |= !status || (*status != 0 && *status < 100);
    }
    if (bad) {
        res.status = 400;
        res.set_content("{\"Message\":\"delay_ms must be 0 to 600000, status 0 or 100 to 599\"}", kJson);
        return;
    }
    if (params.get("reset").value_or("") == "1") {
        faults_.delayMs = 0;
        faults_.status = 0;
    }
    if (delay)
        faults_.delayMs = *delay;
    if (status)
        faults_.status = *status;
    res.set_content("{\"delay_ms\":" + std::to_string(faults_.delayMs.load()) +
                        ",\"status\":" + std::to_string(faults_.status.load()) + "}",
                    kJson);
}

void Routes::serveUpdate(const httplib::Request& req, httplib::Response& res)
{
    const QueryParams params = QueryParams::parse(rawQuery(req.target));
    const std::string send = params.get("send").value_or("");
    const UpdateOffer& offer = settings_.update;
    std::optional<std::string> download;
    if (!offer.filePath.empty())
        download = readFile(offer.filePath);
    const std::string lower = asciiLower(send);
    if (lower.size() > 5 && lower.compare(lower.size() - 5, 5, ",.inf") == 0) {
        if (auto body = dataFile(settings_, req.path))
            res.set_content(*body, "text/plain; charset=utf-8");
        else
            res.set_content(updateRecord(offer, download, serverDateText(settings_)),
                            "text/plain; charset=utf-8");
        return;
    }
    if (download && send == downloadName(offer)) {
        res.set_content(*download, "application/octet-stream");
        return;
    }
    res.status = 404;
    res.set_content("<html><body><h1>404 Not Found</h1></body></html>", "text/html");
}

void Routes::install(httplib::Server& server, const std::shared_ptr<Routes>& self)
{
    server.set_pre_routing_handler([self](const httplib::Request& req, httplib::Response&) {
        const int delay = self->faults_.delayMs.load();
        if (delay > 0 && req.path != "/_control")
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/_control", [self](const httplib::Request& req, httplib::Response& res) {
        self->serveControl(req, res);
    });

    server.Get("/locations/v1/search", [self](const httplib::Request& req, httplib::Response& res) {
        self->serveApi(req, res, [&req, &self](const QueryParams& params, httplib::Response& out) {
            const Language language = Language::fromCode(params.get("language").value_or(""));
            const std::string query = queryTextToUtf8(params.get("q").value_or(""));
            out.set_content(searchReply(searchPlaces(query), language, self->nowUtc()), kJson);
        });
    });

    server.Get(R"(/locations/v1/([^/]+?)(?:\.json)?)",
               [self](const httplib::Request& req, httplib::Response& res) {
        self->serveApi(req, res, [&req, &self](const QueryParams& params, httplib::Response& out) {
            const std::string key = req.matches[1];
            const Place* place = findPlace(key);
            if (!place)
                return self->serveUnknownKey(req, out, key);
            const Language language = Language::fromCode(params.get("language").value_or(""));
            out.set_content(locationReply(*place, language, self->nowUtc()), kJson);
        });
    });

    server.Get(R"(/currentconditions/v1/([^/]+?)(?:\.json)?)",
               [self](const httplib::Request& req, httplib::Response& res) {
        self->serveApi(req, res, [&req, &self](const QueryParams& params, httplib::Response& out) {
            const std::string key = req.matches[1];
            const Place* place = findPlace(key);
            if (!place)
                return self->serveUnknownKey(req, out, key);
            ReplyOptions options{Language::fromCode(params.get("language").value_or("")),
                                 isTrue(params.get("details")), isTrue(params.get("metric"))};
            out.set_content(currentConditionsReply(*place, options, serverNow(self->settings_)), kJson);
        });
    });

    server.Get(R"(/forecasts/v1/daily/(\d+)day/([^/]+?)(?:\.json)?)",
               [self](const httplib::Request& req, httplib::Response& res) {
        self->serveApi(req, res, [&req, &self](const QueryParams& params, httplib::Response& out) {
            const std::string days = req.matches[1];
            if (days != "1" && days != "5" && days != "10" && days != "15" && days != "25")
                return self->serveProblem(req, out, 404);
            const std::string key = req.matches[2];
            const Place* place = findPlace(key);
            if (!place)
                return self->serveUnknownKey(req, out, key);
            ReplyOptions options{Language::fromCode(params.get("language").value_or("")),
                                 isTrue(params.get("details")), isTrue(params.get("metric"))};
            out.set_content(dailyForecastReply(*place, std::stoi(days), options,
                                               serverNow(self->settings_).date),
                            kJson);
        });
    });

    server.Get("/v1/search", [self](const httplib::Request& req, httplib::Response& res) {
        self->serveSource(req, res, [](const QueryParams& params, httplib::Response& out) {
            std::vector<const Place*> places = searchPlaces(queryTextToUtf8(params.get("name").value_or("")));
            const std::size_t count = wholeNumber(params.get("count").value_or("10"), 1, 100).value_or(10);
            if (places.size() > count)
                places.resize(count);
            out.set_content(sourceSearchReply(places, params.get("language").value_or("en")), kJson);
        });
    });

    server.Get("/v1/get", [self](const httplib::Request& req, httplib::Response& res) {
        self->serveSource(req, res, [](const QueryParams& params, httplib::Response& out) {
            const Place* place = findPlace(params.get("id").value_or(""));
            if (!place) {
                out.status = 400;
                return out.set_content(sourceErrorReply("No location found for the id"), kJson);
            }
            out.set_content(sourcePlaceReply(*place, params.get("language").value_or("en")), kJson);
        });
    });

    server.Get("/v1/forecast", [self](const httplib::Request& req, httplib::Response& res) {
        self->serveSource(req, res, [&self](const QueryParams& params, httplib::Response& out) {
            if (auto body = sourceForecastReply(params, serverNow(self->settings_)))
                return out.set_content(*body, kJson);
            out.status = 400;
            out.set_content(sourceErrorReply("No forecast for these coordinates"), kJson);
        });
    });

    server.Get(kSatellitePath, [self](const httplib::Request& req, httplib::Response& res) {
        if (auto body = dataFile(self->settings_, req.path))
            res.set_content(*body, "image/jpeg");
        else
            res.set_content(std::string(satelliteJpeg()), "image/jpeg");
    });

    for (const char* path : {"/updates/updates.php", "/updates.php"}) {
        server.Get(path, [self](const httplib::Request& req, httplib::Response& res) {
            self->serveUpdate(req, res);
        });
    }
}

}  // namespace

LocalTime serverNow(const ServerSettings& settings)
{
    LocalTime now;
    if (!settings.date || !settings.minuteOfDay)
        now = utcToLocal(static_cast<long long>(std::time(nullptr)));
    if (settings.date)
        now.date = *settings.date;
    if (settings.minuteOfDay)
        now.minuteOfDay = *settings.minuteOfDay;
    return now;
}

std::string dataFileName(std::string_view path)
{
    while (!path.empty() && path.front() == '/')
        path.remove_prefix(1);
    std::string name;
    for (char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ',' || c == '=';
        name += plain ? c : '_';
    }
    if (name.empty() || name.front() == '.')
        return {};
    const std::size_t lastPart = path.rfind('/');
    const std::string_view last = lastPart == std::string_view::npos ? path : path.substr(lastPart + 1);
    if (last.find('.') == std::string_view::npos)
        name += ".json";
    return name;
}

void installRoutes(httplib::Server& server, const ServerSettings& settings, FaultState& faults)
{
    Routes::install(server, std::make_shared<Routes>(settings, faults));
}

}  // namespace ws
