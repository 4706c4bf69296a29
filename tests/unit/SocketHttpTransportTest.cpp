// The socket transport against a scripted raw HTTP peer: exact request bytes, response framing,
// limits, time-outs and redirects.
#include <gtest/gtest.h>

#include "doubles/RawHttpPeer.h"
#include "native/SocketHttpTransport.h"

namespace {

HttpGetRequest Request(const std::string& url, std::size_t limit = 1024 * 1024, int timeoutMs = 5000) {
    HttpGetRequest r;
    r.url = url;
    r.headers = {{"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}, {"Connection", "close"}, {"User-Agent", "t"}};
    r.timeoutMs = timeoutMs;
    r.maxBodyBytes = limit;
    return r;
}

}  // namespace

TEST(SocketHttpTransport, SendsTheRequestLineAndHeadersExactlyInOrder) {
    RawHttpPeer peer({{"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}, {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}});
    SocketHttpTransport transport;
    transport.Get(Request(peer.Url("/forecasts/v1/daily/5day/K?Details=True&ApiKey=x")));
    HttpGetRequest withUser = Request(peer.Url("/p"));
    withUser.user = "anna";
    withUser.password = "geheim";
    transport.Get(withUser);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(peer.port()) + "\r\n";
    const std::vector<std::string> expected = {
        "GET /forecasts/v1/daily/5day/K?Details=True&ApiKey=x HTTP/1.1\r\nCache-Control: no-cache\r\n"
        "Pragma: no-cache\r\nConnection: close\r\nUser-Agent: t\r\n" + host + "\r\n",
        "GET /p HTTP/1.1\r\nCache-Control: no-cache\r\nPragma: no-cache\r\nConnection: close\r\nUser-Agent: t\r\n" +
            host + "Authorization: Basic YW5uYTpnZWhlaW0=\r\n\r\n",
    };
    EXPECT_EQ(peer.Heads(), expected);
}

TEST(SocketHttpTransport, ResponseFramingAndLimits) {
    struct Row { std::string reply; std::size_t limit; HttpOutcome outcome; int status; std::string reason, body; };
    const std::string big(70 * 1024, 'h');
    const Row rows[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", 100, HttpOutcome::Completed, 200, "OK", "hello"},
        {"HTTP/1.1 200 OK\r\ncontent-length:  3 \r\n\r\nabcdef", 100, HttpOutcome::Completed, 200, "OK", "abc"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6;x=1\r\n world\r\n0\r\nT: 1\r\n\r\n",
         100, HttpOutcome::Completed, 200, "OK", "hello world"},
        {"HTTP/1.0 200 OK\r\n\r\nuntil the end", 100, HttpOutcome::Completed, 200, "OK", "until the end"},
        {std::string("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n\0\xFF\r\n", 42), 100, HttpOutcome::Completed,
         200, "OK", std::string("\0\xFF\r\n", 4)},
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno", 100, HttpOutcome::Completed, 404, "Not Found", "no"},
        {"HTTP/1.1 503 Service Unavailable\r\n\r\n", 100, HttpOutcome::Completed, 503, "Service Unavailable", ""},
        {"HTTP/1.1 500\r\nContent-Length: 0\r\n\r\n", 100, HttpOutcome::Completed, 500, "", ""},
        {"HTTP/1.1 204 No Content\r\n\r\n", 100, HttpOutcome::Completed, 204, "No Content", ""},
        {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", 100, HttpOutcome::Completed,
         200, "OK", "x"},
        // Exactly at the limit passes; one byte more fails, however the body is framed.
        {"HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n12345678", 8, HttpOutcome::Completed, 200, "OK", "12345678"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n123456789", 8, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n", 8, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\n12345\r\n4\r\n6789\r\n0\r\n\r\n", 8,
         HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFF\r\n", 8, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.0 200 OK\r\n\r\n123456789", 8, HttpOutcome::Failed, 0, "", ""},
        // Broken replies.
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", 100, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 2x0 OK\r\n\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"ICY 200 OK\r\n\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nNo colon here\r\n\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"HTTP/1.1 200 OK\r\nX: " + big + "\r\n\r\n", 100, HttpOutcome::Failed, 0, "", ""},
        {"", 100, HttpOutcome::Failed, 0, "", ""},
    };
    for (const Row& r : rows) {
        RawHttpPeer peer({{r.reply}});
        SocketHttpTransport transport;
        const HttpGetResult result = transport.Get(Request(peer.Url("/"), r.limit));
        const std::string label = r.reply.substr(0, 60);
        EXPECT_EQ(result.outcome, r.outcome) << label;
        if (result.outcome != HttpOutcome::Completed) continue;
        EXPECT_EQ(result.status, r.status) << label;
        EXPECT_EQ(result.statusText, r.reason) << label;
        EXPECT_EQ(result.body, r.body) << label;
    }
}

TEST(SocketHttpTransport, SlowReplyTimesOutRefusedConnectionFails) {
    SocketHttpTransport transport;
    {
        RawHttpPeer peer({{"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 800}});
        EXPECT_EQ(transport.Get(Request(peer.Url("/"), 100, 150)).outcome, HttpOutcome::TimedOut);
    }
    {
        // A byte every 20 ms never lets the 1 s phase run out; the deadline ends the request.
        RawHttpPeer peer({{"HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n" + std::string(200, 'x'), 0, 0, 20}});
        HttpGetRequest trickled = Request(peer.Url("/"), 1000, 1000);
        trickled.deadlineMs = 300;
        EXPECT_EQ(transport.Get(trickled).outcome, HttpOutcome::TimedOut);
    }
    {
        RawHttpPeer peer({{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 100}});
        const HttpGetResult r = transport.Get(Request(peer.Url("/"), 100, 2000));
        EXPECT_EQ(r.outcome, HttpOutcome::Completed);
        EXPECT_EQ(r.body, "ok");
    }
    int port;
    {
        RawHttpPeer closed({});
        port = closed.port();
    }
    EXPECT_EQ(transport.Get(Request("http://127.0.0.1:" + std::to_string(port) + "/")).outcome, HttpOutcome::Failed);
    EXPECT_EQ(transport.Get(Request("https://127.0.0.1/")).outcome, HttpOutcome::Failed);
    EXPECT_EQ(transport.Get(Request("not a url")).outcome, HttpOutcome::Failed);
}

TEST(SocketHttpTransport, StopsReadingAnEndlessBodyAtTheLimit) {
    constexpr std::size_t kLimit = 1024 * 1024;
    RawHttpPeer peer({{"HTTP/1.1 200 OK\r\n\r\n", 0, 64 * kLimit}});
    SocketHttpTransport transport;
    EXPECT_EQ(transport.Get(Request(peer.Url("/"), kLimit)).outcome, HttpOutcome::Failed);
    EXPECT_LT(peer.Sent(), 16 * kLimit);
}

