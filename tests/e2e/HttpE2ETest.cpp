// HttpRequest on WinHTTP under Wine against the local weather server, side by side with the
// native socket transport: the same request bytes, the same results and status texts; WinHTTP's
// body limit and overall deadline.
#include <gtest/gtest.h>

#include "../doubles/RawHttpPeer.h"
#include "ProbeSupport.h"

namespace {

constexpr const char* kKey = "k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe";

}  // namespace

TEST(HttpE2E, WinHttpSendsAndReadsWhatTheNativeTransportDoes) {
    ASSERT_TRUE(probe::fs::exists(probe::NativeProbe())) << "wgprobe is not built: " << probe::NativeProbe();
    WeatherServerProcess server;
    ASSERT_GT(server.port(), 0);
    WineSession wine;
    const std::string base = server.Base();
    const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());

    struct Row { std::vector<std::string> args; std::string status; };
    const Row rows[] = {
        {{"http", base + "locations/v1/171001.json?Language=de-DE&Metric=True&ApiKey=" + kKey, "0", "10", "android"},
         "OK"},
        {{"http", hostPort + "/sat_mosaic_640x480_public/IR/iseur3.jpg", "1", "10"}, "OK"},
        {{"http", base + "locations/v1/search?q=K%C3%B6ln&ApiKey=" + std::string(kKey) + "&x=a b|c", "0", "10", "android"},
         "OK"},
        {{"http", "http://anna:geheim@" + hostPort + "/locations/v1/171002?apikey=" + kKey, "0", "10"}, "OK"},
        {{"http", base + "forecasts/v1/daily/7day/171001?apikey=" + std::string(kKey), "0", "10"},
         "Http-Error 404: Not Found"},
        {{"http", base + "locations/v1/171001?apikey=wrong", "0", "10"}, "Http-Error 401: Unauthorized"},
        {{"http", "", "0", "10"}, "No URL specified!"},
        {{"http", "http://127.0.0.1:1/", "0", "10"}, "Error!"},
    };
    for (const Row& r : rows) {
        const std::size_t before = server.Requests().size();
        const std::string viaWine = wine.Probe(r.args);
        const std::size_t middle = server.Requests().size();
        const std::string native = probe::RunNative(r.args);
        const auto requests = server.Requests();
        const std::string& label = r.args[1];
        EXPECT_EQ(viaWine.substr(0, viaWine.find('\n')), "status: " + r.status) << label << "\n" << viaWine;
        EXPECT_EQ(viaWine, native) << label;
        // Each transport sent one request (none for the blank URL or the closed port), byte for byte
        // alike; the unit tests pin the native request's exact form. Wine sets no
        // PROCESSOR_ARCHITEW6432 for a 64-bit program, so it gives the User-Agent without WOW64.
        ASSERT_EQ(middle - before, requests.size() - middle) << label;
        for (std::size_t i = 0; i < middle - before; ++i)
            EXPECT_EQ(requests[before + i], requests[middle + i]) << label;
    }
    // The receive time-out: the server waits 2.5 s, the request allows 1 s.
    probe::RunNative({"http", base + "_control?reset=1&delay_ms=2500", "0", "5"});
    EXPECT_EQ(wine.Probe({"http", base + "locations/v1/171001?apikey=" + std::string(kKey), "0", "1"}),
              "status: Timeout (1 Seconds)\nresult: empty\n");
    probe::RunNative({"http", base + "_control?reset=1&status=503", "0", "5"});
    EXPECT_EQ(wine.Probe({"http", base + "currentconditions/v1/171001?apikey=" + std::string(kKey), "0", "10"}),
              "status: Http-Error 503: Service Unavailable\nresult: empty\n");
}

TEST(HttpE2E, WinHttpStopsAtTheBodyLimit) {
    WineSession wine;
    constexpr std::size_t kLimit = 16u * 1024u * 1024u;
    struct Row { std::string head; std::size_t body; std::string expected; };
    const Row rows[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLimit) + "\r\n\r\n", kLimit,
         "status: OK\nresult: bytes " + std::to_string(kLimit) + "\nhead: 78787878787878787878787878787878\n"},
        // Declared too long: refused before the body is read.
        {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLimit + 1) + "\r\n\r\n", 0,
         "status: Error!\nresult: empty\n"},
        // Undeclared length, ended by closing the connection.
        {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", kLimit + 1, "status: Error!\nresult: empty\n"},
    };
    for (const Row& r : rows) {
        RawHttpPeer peer({{r.head, 0, r.body}});
        EXPECT_EQ(wine.Probe({"http", peer.Url("/big"), "1", "10"}), r.expected) << r.head;
    }
    // An endless body: the transport stops reading soon after the limit, not at the end.
    RawHttpPeer endless({{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", 0, 16 * kLimit}});
    EXPECT_EQ(wine.Probe({"http", endless.Url("/big"), "1", "10"}), "status: Error!\nresult: empty\n");
    EXPECT_LT(endless.Sent(), 2 * kLimit);
    // A byte every 50 ms keeps each 5 s phase alive; the 2 s deadline ends the whole (the reply
    // would take 10 s).
    RawHttpPeer trickle({{"HTTP/1.1 200 OK\r\nContent-Length: 160\r\n\r\n" + std::string(160, 'x'), 0, 0, 50}});
    EXPECT_EQ(wine.Probe({"http", trickle.Url("/slow"), "1", "5", "", "2"}), "status: Timeout (5 Seconds)\nresult: empty\n");
}
