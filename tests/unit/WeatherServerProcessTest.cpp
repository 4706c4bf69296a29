// The weather-server binary, started on a free port and asked over HTTP the way the widget
// asks: search, the three weather requests, the key check, the satellite picture, the
// update protocol, fault injection, the request log and a clean stop.
#if __has_include("server/Places.h")

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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "server/UpdateRecord.h"

extern char** environ;

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

const std::string kKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";

// One server process; stopped with SIGTERM when it goes out of scope.
class ServerProcess {
public:
    explicit ServerProcess(const std::vector<std::string>& extraArgs)
    {
        std::vector<std::string> args = {WG_SERVER_EXE, "--port", "0"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        output_ = spawn(args);
        const std::string first = readLine(output_, std::chrono::seconds(10));
        if (first.rfind("PORT ", 0) == 0)
            port_ = std::atoi(first.c_str() + 5);
    }
    ~ServerProcess() { stop(); }

    // Sends SIGTERM and returns the exit status, or -1 when the process did not end in time.
    int stop()
    {
        if (pid_ <= 0)
            return exitStatus_;
        ::kill(pid_, SIGTERM);
        return waitForExit(std::chrono::seconds(5));
    }

    int port() const { return port_; }
    std::unique_ptr<httplib::Client> client() const
    {
        auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
        client->set_read_timeout(10, 0);
        return client;
    }

    // Everything the process writes to its standard output until it ends (for --help).
    static std::string runToEnd(const std::vector<std::string>& args, int& exitStatus)
    {
        ServerProcess process;
        process.output_ = process.spawn(args);
        std::string text;
        for (std::string line; !(line = readLine(process.output_, std::chrono::seconds(10))).empty();)
            text += line + "\n";
        exitStatus = process.waitForExit(std::chrono::seconds(10));
        return text;
    }

private:
    ServerProcess() = default;

    int spawn(const std::vector<std::string>& args)
    {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            return -1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        return pipeEnds[0];
    }

    // The exit status; a process still running after the time-out is killed and gives -1.
    int waitForExit(std::chrono::seconds timeout)
    {
        if (pid_ <= 0)
            return exitStatus_;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) != pid_) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        exitStatus_ = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
        ::close(output_);
        return exitStatus_;
    }

    // One line without its line end; empty at the end of the output or after the time-out.
    static std::string readLine(int fd, std::chrono::seconds timeout)
    {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd poller{fd, POLLIN, 0};
            if (::poll(&poller, 1, 100) <= 0)
                continue;
            char c;
            if (::read(fd, &c, 1) != 1)
                break;
            if (c == '\n')
                return line.empty() ? " " : line;
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int output_ = -1;
    int port_ = 0;
    int exitStatus_ = -1;
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
    if (data.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return {0, 0};
    std::size_t pos = 2;
    while (pos + 9 < data.size() && byte(pos) == 0xFF) {
        const unsigned char marker = byte(pos + 1);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                           marker != 0xCC;
        if (frame)
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
        dir_ = new fs::path(::mkdtemp(pattern));
        fs::create_directory(*dir_ / "data");
        std::ofstream(*dir_ / "Wolkenglas.exe", std::ios::binary) << std::string("MZ\x90\0new program", 15);
        fs::copy_file(fs::path(WG_FIXTURES_DIR) / "service/current-prague-details-2026.json",
                      *dir_ / "data/currentconditions_v1_125594.json");
        server_ = new ServerProcess({"--date", "2026-07-09", "--time", "16:21", "--log",
                                     (*dir_ / "requests.log").string(), "--data",
                                     (*dir_ / "data").string(), "--update-version", "1.55",
                                     "--update-file", (*dir_ / "Wolkenglas.exe").string()});
        ASSERT_GT(server_->port(), 0);
    }

    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
        fs::remove_all(*dir_);
        delete dir_;
        dir_ = nullptr;
    }

    void SetUp() override
    {
        client_ = server_->client();
        client_->Get("/_control?reset=1");   // no fault left over from another test
    }

    httplib::Result get(const std::string& path) { return client_->Get(path.c_str()); }
    json getJson(const std::string& path)
    {
        const auto res = get(path);
        EXPECT_TRUE(res && res->status == 200) << path;
        return res && res->status == 200 ? json::parse(res->body) : json();
    }

    static ServerProcess* server_;
    static fs::path* dir_;
    std::unique_ptr<httplib::Client> client_;
};

ServerProcess* WeatherServerProcess::server_ = nullptr;
fs::path* WeatherServerProcess::dir_ = nullptr;

TEST_F(WeatherServerProcess, AnswersTheWidgetsRequests)
{
    // The URLs exactly as the widget builds them.
    const json city = getJson("/locations/v1/171002.json?Language=de-DE&Metric=True&ApiKey=" + kKey);
    EXPECT_EQ(city["LocalizedName"], "M\xC3\xBCnchen");
    EXPECT_EQ(city["Country"]["ID"], "DE");
    EXPECT_EQ(city["Country"]["LocalizedName"], "Deutschland");

    const json now = getJson("/currentconditions/v1/171002?Language=de-DE&Details=True&Metric=False&ApiKey=" + kKey);
    ASSERT_TRUE(now.is_array());
    EXPECT_EQ(now[0]["LocalObservationDateTime"], "2026-07-09T16:21:00+02:00");
    for (const char* unit : {"Metric", "Imperial"})
        EXPECT_TRUE(now[0]["PrecipitationSummary"]["Precipitation"][unit].contains("Unit"));

    const json forecast = getJson("/forecasts/v1/daily/10day/171002?Language=de-DE&Details=True&Metric=True&ApiKey=" + kKey);
    ASSERT_EQ(forecast["DailyForecasts"].size(), 10u);
    EXPECT_EQ(forecast["DailyForecasts"][0]["Date"], "2026-07-09T07:00:00+02:00");
    EXPECT_EQ(forecast["DailyForecasts"][9]["Date"], "2026-07-18T07:00:00+02:00");

    for (const char* days : {"1", "5", "15", "25"})
        EXPECT_EQ(getJson(std::string("/forecasts/v1/daily/") + days + "day/171002?apikey=" + kKey)["DailyForecasts"].size(),
                  static_cast<std::size_t>(std::atoi(days)));
}

TEST_F(WeatherServerProcess, SearchFindsPlacesHoweverTheTextArrives)
{
    const struct {
        std::string query;
        std::vector<std::string> keys;
    } rows[] = {{"M%C3%BCnchen", {"171002"}}, {"m%C3%9Cnchen", {"171002"}},
                {"Berlin", {"171001"}},       {"neustadt", {"171008", "171009"}},
                {"Frankfurt+am", {"171014"}}, {"K%F6ln", {"171006"}},   // Windows-1252, encoded
                {"Zzxqwmvbnq123nowhere", {}}, {"", {}}};
    // The queries are written as they go on the wire.
    client_->set_url_encode(false);
    for (const auto& row : rows) {
        const json found = getJson("/locations/v1/search?q=" + row.query + "&Metric=True&ApiKey=" + kKey);
        std::vector<std::string> keys;
        for (const json& place : found)
            keys.push_back(place["Key"]);
        EXPECT_EQ(keys, row.keys) << row.query;
    }
    // The widget sends the typed text without encoding; Windows-1252 bytes arrive raw.
    const json raw = getJson("/locations/v1/search?q=D\xFCsseldorf&Language=de-DE&Metric=True&ApiKey=" + kKey);
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(raw[0]["LocalizedName"], "D\xC3\xBCsseldorf");
    const auto empty = get("/locations/v1/search?q=nowhere&ApiKey=" + kKey);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->body, "[]");
}

TEST_F(WeatherServerProcess, RepliesRepeatAcrossProcesses)
{
    ServerProcess second({"--date", "2026-07-09", "--time", "16:21"});
    ASSERT_GT(second.port(), 0);
    auto other = second.client();
    for (const std::string& path : std::vector<std::string>{
             "/currentconditions/v1/171004?Language=de-DE&Details=True&Metric=True&ApiKey=" + kKey,
          "/forecasts/v1/daily/10day/171004?Language=en-us&Details=True&Metric=False&ApiKey=" + kKey,
          "/locations/v1/search?q=wien&ApiKey=" + kKey}) {
        const auto a = get(path);
        const auto b = other->Get(path.c_str());
        ASSERT_TRUE(a && b) << path;
        EXPECT_EQ(a->body, b->body) << path;
        EXPECT_EQ(a->get_header_value("Content-Type"), "application/json; charset=utf-8");
    }
}

TEST_F(WeatherServerProcess, MetricOptionAndLanguageShapeTheForecast)
{
    const struct {
        const char* options;
        const char* unit;
        const char* country;
    } rows[] = {{"Language=de-DE&Details=True&Metric=True", "C", "Deutschland"},
                {"language=de-de&details=true&metric=false", "F", "Deutschland"},
                {"metric=TRUE&details=True", "C", "Germany"},
                {"Details=True", "F", "Germany"},   // the service's default is imperial
                {"Metric=yes&Language=en-us", "F", "Germany"}};
    for (const auto& row : rows) {
        const json forecast =
            getJson(std::string("/forecasts/v1/daily/5day/171001?") + row.options + "&ApiKey=" + kKey);
        EXPECT_EQ(forecast["DailyForecasts"][0]["Temperature"]["Maximum"]["Unit"], row.unit) << row.options;
        const json city = getJson(std::string("/locations/v1/171001.json?") + row.options + "&ApiKey=" + kKey);
        EXPECT_EQ(city["Country"]["LocalizedName"], row.country) << row.options;
    }
    const json de = getJson("/currentconditions/v1/171001?Language=de-DE&Details=True&ApiKey=" + kKey);
    const json en = getJson("/currentconditions/v1/171001?Language=en-us&Details=True&ApiKey=" + kKey);
    EXPECT_EQ(de[0]["WeatherIcon"], en[0]["WeatherIcon"]);
    EXPECT_NE(de[0]["WeatherText"], en[0]["WeatherText"]);
    EXPECT_NE(de[0]["PressureTendency"]["LocalizedText"], en[0]["PressureTendency"]["LocalizedText"]);
}

TEST_F(WeatherServerProcess, RejectsWrongKeysAndUnknownPlaces)
{
    const json real = json::parse(readFile(fs::path(WG_FIXTURES_DIR) / "service/error-401-unauthorized-2026.json"));
    for (const std::string& path : std::vector<std::string>{
             "/currentconditions/v1/171001?Details=True&ApiKey=wrong",
             "/currentconditions/v1/171001?Details=True",
             "/locations/v1/search?q=Berlin&ApiKey=" + kKey.substr(1),
             "/currentconditions/v1/125594?ApiKey=wrong"}) {
        const auto res = get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 401) << path;
        EXPECT_EQ(res->get_header_value("Content-Type"), "application/problem+json");
        const json body = json::parse(res->body);
        EXPECT_EQ(body["Message"], real["Message"]);
        EXPECT_EQ(body["Reference"].get<std::string>().find("ApiKey"), std::string::npos);
    }
    httplib::Headers bearer = {{"Authorization", "Bearer " + kKey}};
    const auto withHeader = client_->Get("/locations/v1/171001", bearer);
    ASSERT_TRUE(withHeader);
    EXPECT_EQ(withHeader->status, 200);

    const struct {
        std::string path;
        int status;
    } rows[] = {{"/currentconditions/v1/999999", 400}, {"/locations/v1/nope.json", 400},
                {"/forecasts/v1/daily/10day/0", 400},   {"/forecasts/v1/daily/7day/171001", 404},
                {"/forecasts/v1/hourly/12hour/171001", 404}};
    for (const auto& row : rows) {
        const auto res = get(row.path + "?ApiKey=" + kKey);
        ASSERT_TRUE(res) << row.path;
        EXPECT_EQ(res->status, row.status) << row.path;
    }
}

TEST_F(WeatherServerProcess, ServesTheSatellitePicture)
{
    const auto res = get("/sat_mosaic_640x480_public/IR/iseur3.jpg");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "image/jpeg");
    EXPECT_EQ(jpegSize(res->body), std::make_pair(640, 480));
    EXPECT_EQ(res->body.substr(res->body.size() - 2), "\xFF\xD9");
}

TEST_F(WeatherServerProcess, SpeaksTheUpdateProtocol)
{
    const std::string program = readFile(*dir_ / "Wolkenglas.exe");
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(ws::crc32(program)));
    for (const char* script : {"/updates/updates.php", "/updates.php"}) {
        const auto record = get(std::string(script) + "?send=Wolkenglas.exe,.inf");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->body, std::string("[Wolkenglas|Wolkenglas.exe|1.55|09.07.2026|") + crc + "]\r\n");
        const auto download = get(std::string(script) + "?send=Wolkenglas.exe");
        ASSERT_TRUE(download);
        EXPECT_EQ(download->status, 200);
        EXPECT_EQ(download->body, program);
    }
    const auto missing = get("/updates/updates.php?send=Other.exe");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    EXPECT_EQ(missing->body.front(), '<');
}

TEST_F(WeatherServerProcess, FaultsCanBeChangedWhileRunning)
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
    const auto start = std::chrono::steady_clock::now();
    res = get(weather);
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_GE(waited, std::chrono::milliseconds(290));

    for (const char* bad : {"/_control?status=42", "/_control?delay_ms=-5", "/_control?status=abc"})
        EXPECT_EQ(get(bad)->status, 400) << bad;
    const json cleared = getJson("/_control?reset=1");
    EXPECT_EQ(cleared["delay_ms"], 0);
    EXPECT_EQ(cleared["status"], 0);
}

TEST_F(WeatherServerProcess, DataDirectoryReplacesGeneratedBodies)
{
    const std::string real = readFile(fs::path(WG_FIXTURES_DIR) / "service/current-prague-details-2026.json");
    const auto res = get("/currentconditions/v1/125594?Language=en-us&Details=True&Metric=True&ApiKey=" + kKey);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, real);
    // A place without a file still gets its generated reply.
    EXPECT_NE(get("/currentconditions/v1/171001?ApiKey=" + kKey)->body, real);
}

TEST_F(WeatherServerProcess, LogKeepsRequestLinesAndHeadersInOrder)
{
    const std::string target = "/locations/v1/171001.json?Language=de-DE&Metric=True&ApiKey=" + kKey;
    // The widget's header order, which no sorted map would keep.
    const std::string head = "GET " + target + " HTTP/1.1\r\n"
                             "Host: 127.0.0.1\r\n"
                             "Cache-Control: no-cache\r\n"
                             "Pragma: no-cache\r\n"
                             "Expires: Thu, 01 Dec 1994 16:00:00 GMT\r\n"
                             "Connection: close\r\n"
                             "User-Agent: android\r\n"
                             "zeta:  spaced value \r\n";
    const std::string answer = rawRequest(server_->port(), head + "\r\n");
    EXPECT_EQ(answer.substr(0, 15), "HTTP/1.1 200 OK");
    const std::string expected = "GET " + target + " HTTP/1.1\n"
                                 "Host: 127.0.0.1\n"
                                 "Cache-Control: no-cache\n"
                                 "Pragma: no-cache\n"
                                 "Expires: Thu, 01 Dec 1994 16:00:00 GMT\n"
                                 "Connection: close\n"
                                 "User-Agent: android\n"
                                 "zeta:  spaced value \n\n";
    EXPECT_NE(readFile(*dir_ / "requests.log").find(expected), std::string::npos);

    // Two requests on one kept-alive connection are logged one after the other.
    const std::string twice = rawRequest(server_->port(),
                                         "GET /_control HTTP/1.1\r\nHost: a\r\nX-Order: 1\r\n\r\n"
                                         "GET /_control HTTP/1.1\r\nHost: a\r\nX-Order: 2\r\nConnection: close\r\n\r\n");
    EXPECT_NE(twice.find("\r\n\r\n{"), twice.rfind("\r\n\r\n{"));
    EXPECT_NE(readFile(*dir_ / "requests.log")
                  .find("GET /_control HTTP/1.1\nHost: a\nX-Order: 1\n\n"
                        "GET /_control HTTP/1.1\nHost: a\nX-Order: 2\nConnection: close\n\n"),
              std::string::npos);
}

TEST(WeatherServerCommandLine, FailsEveryApiReplyWithTheGivenStatus)
{
    ServerProcess server({"--status", "500", "--apikey", "secret"});
    ASSERT_GT(server.port(), 0);
    auto client = server.client();
    const auto failed = client->Get("/currentconditions/v1/171001?apikey=secret");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, 500);
    ASSERT_EQ(client->Get("/_control?status=0")->status, 200);
    EXPECT_EQ(client->Get("/currentconditions/v1/171001?apikey=secret")->status, 200);
    EXPECT_EQ(client->Get(("/currentconditions/v1/171001?apikey=" + kKey).c_str())->status, 401);
}

TEST(WeatherServerCommandLine, StopsCleanlyOnSigterm)
{
    ServerProcess server(std::vector<std::string>{});
    ASSERT_GT(server.port(), 0);
    // An idle kept-alive connection must not hold the server up.
    auto client = server.client();
    client->set_keep_alive(true);
    ASSERT_EQ(client->Get("/_control")->status, 200);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.stop(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(WeatherServerCommandLine, RefusesAPortThatIsTaken)
{
    ServerProcess first(std::vector<std::string>{});
    ASSERT_GT(first.port(), 0);
    int status = -1;
    const std::string output =
        ServerProcess::runToEnd({WG_SERVER_EXE, "--port", std::to_string(first.port())}, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output.find("PORT"), std::string::npos);
}

TEST(WeatherServerCommandLine, HelpListsEveryOptionAndBadOptionsFail)
{
    int status = -1;
    const std::string help = ServerProcess::runToEnd({WG_SERVER_EXE, "--help"}, status);
    EXPECT_EQ(status, 0);
    for (const char* flag : {"--port", "--bind", "--apikey", "--date", "--time", "--delay-ms", "--status",
                             "--data", "--log", "--update-version", "--update-file", "--update-remark",
                             "--update-crc", "--help", "/_control"})
        EXPECT_NE(help.find(flag), std::string::npos) << flag;
    ServerProcess::runToEnd({WG_SERVER_EXE, "--date", "2026-02-30"}, status);
    EXPECT_EQ(status, 2);
}

}  // namespace

#endif
