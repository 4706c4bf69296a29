// The weather-server binary, started on a free port and asked over HTTP the way the widget
// asks: search, the three weather requests, the key check, the satellite picture, the
// update protocol, fault injection, the request log and a clean stop.
#include <gtest/gtest.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "server/UpdateRecord.h"

extern char** environ;

namespace {

using nlohmann::json;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";

// One server process on a free port (unless the arguments name one); SIGTERM ends it.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> args)
    {
        args.insert(args.begin(), {WG_SERVER_EXE, "--port", "0"});
        int ends[2];
        if (::pipe(ends) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ends[0]);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, WG_SERVER_EXE, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(ends[1]);
        output_ = ::fdopen(ends[0], "r");
        pollfd poller{ends[0], POLLIN, 0};
        char line[64] = {};
        if (::poll(&poller, 1, 10000) > 0 && std::fgets(line, sizeof line, output_))
            std::sscanf(line, "PORT %d", &port_);
    }
    ~ServerProcess() { stop(), output_ && std::fclose(output_); }

    int port() const { return port_; }
    httplib::Client client() const
    {
        httplib::Client client("127.0.0.1", port_);
        client.set_read_timeout(10, 0);
        return client;
    }
    int stop() { return pid_ > 0 && ::kill(pid_, SIGTERM), exitStatus(); }
    // The exit status; a process still running after five seconds is killed and gives -1.
    int exitStatus()
    {
        for (const auto deadline = Clock::now() + std::chrono::seconds(5); pid_ > 0;) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            } else if (Clock::now() >= deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                pid_ = -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        return exit_;
    }

private:
    pid_t pid_ = -1;
    FILE* output_ = nullptr;
    int port_ = 0;
    int exit_ = -1;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Width and height from the JPEG's start-of-frame segment.
std::pair<int, int> jpegSize(const std::string& data)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(data[i]); };
    for (std::size_t pos = 2; data.rfind("\xFF\xD8", 0) == 0 && pos + 9 < data.size() && byte(pos) == 0xFF;) {
        const unsigned char marker = byte(pos + 1);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {byte(pos + 7) << 8 | byte(pos + 8), byte(pos + 5) << 8 | byte(pos + 6)};
        pos += 2 + (byte(pos + 2) << 8 | byte(pos + 3));
    }
    return {0, 0};
}

// Sends one raw request and returns the whole answer (the connection is closed after it).
std::string rawRequest(int port, const std::string& request)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::send(sock, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        for (ssize_t count; (count = ::recv(sock, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(sock);
    return answer;
}

class WeatherServerProcess : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/weather-server-test-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        fs::create_directory(dir_ / "data");
        std::ofstream(dir_ / "Wolkenglas.exe", std::ios::binary) << std::string("MZ\x90\0new program", 15);
        fs::copy_file(fs::path(WG_FIXTURES_DIR) / "service/current-prague-details-2026.json",
                      dir_ / "data/currentconditions_v1_125594.json");
        server_ = new ServerProcess({"--date", "2026-07-09", "--time", "16:21", "--log", dir_ / "requests.log",
                                     "--data", dir_ / "data", "--update-version", "1.55",
                                     "--update-file", dir_ / "Wolkenglas.exe"});
    }
    static void TearDownTestSuite()
    {
        delete server_;
        fs::remove_all(dir_);
    }
    void SetUp() override
    {
        ASSERT_GT(server_->port(), 0);
        client_.Get("/_control?reset=1");   // no fault left over from another test
    }

    httplib::Result get(const std::string& path) { return client_.Get(path); }
    json getJson(const std::string& path)
    {
        const auto res = get(path);
        EXPECT_TRUE(res && res->status == 200) << path;
        return res && res->status == 200 ? json::parse(res->body) : json();
    }

    static inline ServerProcess* server_ = nullptr;
    static inline fs::path dir_;
    httplib::Client client_ = server_->client();
};

TEST_F(WeatherServerProcess, AnswersTheWidgetsRequestsAlikeInEveryProcess)
{
    // The URLs exactly as the widget builds them.
    const std::string city = "/locations/v1/171002.json?Language=de-DE&Metric=True&ApiKey=" + kKey;
    const std::string now = "/currentconditions/v1/171002?Language=de-DE&Details=True&Metric=False&ApiKey=" + kKey;
    const std::string days = "/forecasts/v1/daily/10day/171002?Language=de-DE&Details=True&Metric=True&ApiKey=" + kKey;
    EXPECT_EQ(getJson(city)["LocalizedName"], "M\xC3\xBCnchen");
    EXPECT_EQ(getJson(now)[0]["LocalObservationDateTime"], "2026-07-09T16:21:00+02:00");
    const json forecast = getJson(days);
    ASSERT_EQ(forecast["DailyForecasts"].size(), 10u);
    EXPECT_EQ(forecast["DailyForecasts"][0]["Date"], "2026-07-09T07:00:00+02:00");
    EXPECT_EQ(forecast["DailyForecasts"][9]["Date"], "2026-07-18T07:00:00+02:00");
    for (int count : {1, 5, 15, 25})
        EXPECT_EQ(getJson("/forecasts/v1/daily/" + std::to_string(count) + "day/171002?apikey=" + kKey)["DailyForecasts"].size(),
                  static_cast<std::size_t>(count));

    ServerProcess second({"--date", "2026-07-09", "--time", "16:21"});
    auto other = second.client();
    for (const std::string& path : {city, now, days}) {
        const auto a = get(path), b = other.Get(path);
        ASSERT_TRUE(a && b) << path;
        EXPECT_EQ(a->body, b->body) << path;
        EXPECT_EQ(a->get_header_value("Content-Type"), "application/json; charset=utf-8");
    }
}

TEST_F(WeatherServerProcess, SearchFindsPlacesHoweverTheTextArrives)
{
    // The queries as they go on the wire: encoded UTF-8 or Windows-1252, or raw Windows-1252 as
    // the widget sends the typed text.
    const struct { std::string query; std::vector<std::string> keys; } rows[] = {
        {"m%C3%9Cnchen", {"171002"}}, {"neustadt", {"171008", "171009"}}, {"Frankfurt+am", {"171014"}},
        {"K%F6ln", {"171006"}},       {"D\xFCsseldorf", {"171007"}},      {"nowhere", {}}};
    client_.set_url_encode(false);
    for (const auto& row : rows) {
        std::vector<std::string> keys;
        for (const json& place : getJson("/locations/v1/search?q=" + row.query + "&Language=de-DE&ApiKey=" + kKey))
            keys.push_back(place["Key"]);
        EXPECT_EQ(keys, row.keys) << row.query;
    }
}

TEST_F(WeatherServerProcess, MetricOptionAndLanguageShapeTheReplies)
{
    const struct { const char *options, *unit, *country; } rows[] = {
        {"Language=de-DE&Details=True&Metric=True", "C", "Deutschland"},
        {"language=de-de&details=true&metric=false", "F", "Deutschland"},
        {"Details=True", "F", "Germany"},   // the service's default is imperial
        {"metric=TRUE&Language=en-us", "C", "Germany"}};
    for (const auto& row : rows) {
        const std::string query = std::string(row.options) + "&ApiKey=" + kKey;
        const json forecast = getJson("/forecasts/v1/daily/5day/171001?" + query);
        EXPECT_EQ(forecast["DailyForecasts"][0]["Temperature"]["Maximum"]["Unit"], row.unit) << row.options;
        EXPECT_EQ(getJson("/locations/v1/171001.json?" + query)["Country"]["LocalizedName"], row.country) << row.options;
    }
}

TEST_F(WeatherServerProcess, RejectsWrongKeysAndUnknownPlaces)
{
    const json real = json::parse(readFile(fs::path(WG_FIXTURES_DIR) / "service/error-401-unauthorized-2026.json"));
    const struct { std::string path; int status; } rows[] = {
        {"/currentconditions/v1/171001?Details=True&ApiKey=wrong", 401},
        {"/currentconditions/v1/171001?Details=True", 401},
        {"/locations/v1/search?q=Berlin&ApiKey=" + kKey.substr(1), 401},
        {"/currentconditions/v1/125594?ApiKey=wrong", 401},   // a place with a data file too
        {"/currentconditions/v1/999999?ApiKey=" + kKey, 400},
        {"/locations/v1/nope.json?ApiKey=" + kKey, 400},
        {"/forecasts/v1/daily/7day/171001?ApiKey=" + kKey, 404},
        {"/forecasts/v1/hourly/12hour/171001?ApiKey=" + kKey, 404}};
    for (const auto& row : rows) {
        const auto res = get(row.path);
        ASSERT_TRUE(res) << row.path;
        EXPECT_EQ(res->status, row.status) << row.path;
        if (row.status == 401) {
            EXPECT_EQ(res->get_header_value("Content-Type"), "application/problem+json");
            EXPECT_EQ(json::parse(res->body)["Message"], real["Message"]);
            EXPECT_EQ(res->body.find("wrong"), std::string::npos) << "the key is not echoed";
        }
    }
    const auto withHeader = client_.Get("/locations/v1/171001", {{"Authorization", "Bearer " + kKey}});
    ASSERT_TRUE(withHeader);
    EXPECT_EQ(withHeader->status, 200);
}

TEST_F(WeatherServerProcess, ServesTheSatellitePictureAndTheUpdate)
{
    const auto picture = get("/sat_mosaic_640x480_public/IR/iseur3.jpg");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/jpeg");
    EXPECT_EQ(jpegSize(picture->body), std::make_pair(640, 480));
    EXPECT_EQ(picture->body.substr(picture->body.size() - 2), "\xFF\xD9");

    const std::string program = readFile(dir_ / "Wolkenglas.exe");
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(ws::crc32(program)));
    for (const std::string script : {"/updates/updates.php", "/updates.php"}) {
        const auto record = get(script + "?send=Wolkenglas.exe,.inf");
        const auto download = get(script + "?send=Wolkenglas.exe");
        ASSERT_TRUE(record && download);
        EXPECT_EQ(record->body, std::string("[Wolkenglas|Wolkenglas.exe|1.55|09.07.2026|") + crc + "]\r\n");
        EXPECT_EQ(download->body, program);
    }
    EXPECT_EQ(get("/updates/updates.php?send=Other.exe")->status, 404);
}

TEST_F(WeatherServerProcess, FaultsAndRecordedRepliesCanBeInjected)
{
    const std::string weather = "/currentconditions/v1/171001?Details=True&ApiKey=" + kKey;
    ASSERT_EQ(getJson("/_control?status=503")["status"], 503);
    auto res = get(weather);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 503);
    EXPECT_EQ(json::parse(res->body)["status"], 503);
    EXPECT_EQ(get("/sat_mosaic_640x480_public/IR/iseur3.jpg")->status, 200);   // not an API reply
    EXPECT_EQ(get("/updates/updates.php?send=Wolkenglas.exe,.inf")->status, 200);

    ASSERT_EQ(getJson("/_control?reset=1&delay_ms=300")["status"], 0);
    const auto start = Clock::now();
    EXPECT_EQ(get(weather)->status, 200);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(290));
    for (const char* bad : {"/_control?status=42", "/_control?delay_ms=-5", "/_control?status=abc"})
        EXPECT_EQ(get(bad)->status, 400) << bad;
    EXPECT_EQ(getJson("/_control?reset=1")["delay_ms"], 0);

    // A file in the data directory replaces the generated body; other places keep theirs.
    const std::string real = readFile(fs::path(WG_FIXTURES_DIR) / "service/current-prague-details-2026.json");
    EXPECT_EQ(get("/currentconditions/v1/125594?Language=en-us&Details=True&ApiKey=" + kKey)->body, real);
    EXPECT_NE(get(weather)->body, real);
}

TEST_F(WeatherServerProcess, LogKeepsRequestLinesAndHeadersInOrder)
{
    // The widget's header order, which no sorted map would keep.
    const std::string head = "GET /locations/v1/171001.json?Language=de-DE&ApiKey=" + kKey + " HTTP/1.1\r\n"
                             "Host: 127.0.0.1\r\nCache-Control: no-cache\r\nPragma: no-cache\r\n"
                             "Expires: Thu, 01 Dec 1994 16:00:00 GMT\r\nConnection: close\r\n"
                             "User-Agent: android\r\nzeta:  spaced value \r\n";
    EXPECT_EQ(rawRequest(server_->port(), head + "\r\n").substr(0, 15), "HTTP/1.1 200 OK");
    std::string logged = head + "\n";
    for (std::size_t cr; (cr = logged.find('\r')) != std::string::npos;)
        logged.erase(cr, 1);
    EXPECT_NE(readFile(dir_ / "requests.log").find(logged), std::string::npos);

    // Two requests on one kept-alive connection are logged one after the other.
    const std::string twice = rawRequest(server_->port(),
                                         "GET /_control HTTP/1.1\r\nHost: a\r\nX-Order: 1\r\n\r\n"
                                         "GET /_control HTTP/1.1\r\nHost: a\r\nX-Order: 2\r\nConnection: close\r\n\r\n");
    EXPECT_NE(twice.find("\r\n\r\n{"), twice.rfind("\r\n\r\n{"));
    EXPECT_NE(readFile(dir_ / "requests.log")
                  .find("GET /_control HTTP/1.1\nHost: a\nX-Order: 1\n\n"
                        "GET /_control HTTP/1.1\nHost: a\nX-Order: 2\nConnection: close\n\n"),
              std::string::npos);
}

TEST(WeatherServerCommandLine, StatusOptionFailsEveryApiReply)
{
    ServerProcess server({"--status", "500", "--apikey", "secret"});
    auto client = server.client();
    EXPECT_EQ(client.Get("/currentconditions/v1/171001?apikey=secret")->status, 500);
    ASSERT_EQ(client.Get("/_control?status=0")->status, 200);
    EXPECT_EQ(client.Get("/currentconditions/v1/171001?apikey=secret")->status, 200);
    EXPECT_EQ(client.Get("/currentconditions/v1/171001?apikey=" + kKey)->status, 401);
}

TEST(WeatherServerCommandLine, StopsCleanlyAndRefusesATakenPort)
{
    ServerProcess server({});
    ASSERT_GT(server.port(), 0);
    ServerProcess second({"--port", std::to_string(server.port())});
    EXPECT_EQ(second.port(), 0);
    EXPECT_EQ(second.exitStatus(), 1);
    ServerProcess badDate({"--date", "2026-02-30"});
    EXPECT_EQ(badDate.exitStatus(), 2);

    // An idle kept-alive connection must not hold the server up.
    auto client = server.client();
    client.set_keep_alive(true);
    ASSERT_EQ(client.Get("/_control")->status, 200);
    const auto start = Clock::now();
    EXPECT_EQ(server.stop(), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
