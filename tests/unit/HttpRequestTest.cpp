// HttpRequest on a scripted transport: URL handling, headers, time-outs, results and status texts.
#include <gtest/gtest.h>

#include <climits>

#include "doubles/FakeHttp.h"
#include "service/HttpUrl.h"
#include "service/mHttpRequest.h"

namespace {

struct Fixture {
    FakeTransport transport;
    FakeEnvironment environment;
    HttpClient client{transport, environment};
};

using Headers = std::vector<std::pair<std::string, std::string>>;

}  // namespace

TEST(HttpRequest, StatusTextsAndResults) {
    struct Row {
        HttpGetResult reply;
        bool binary;
        const char* statusBefore;
        const char* statusAfter;
        HttpResult result;
    };
    const Row rows[] = {
        {{HttpOutcome::Completed, 200, "OK", "body"}, false, "prev ", "prev OK", std::string("body")},
        {{HttpOutcome::Completed, 200, "OK", ""}, false, "", "OK", std::string()},
        {{HttpOutcome::Completed, 200, "OK", ""}, true, "", "OK", std::int32_t{0}},
        {{HttpOutcome::Completed, 200, "OK", "J"}, true, "", "OK", std::int32_t{0}},
        {{HttpOutcome::Completed, 200, "OK", std::string("\xFF\xD8\0", 3)}, true, "", "OK",
         std::vector<std::uint8_t>{0xFF, 0xD8, 0}},
        {{HttpOutcome::Completed, 404, "Not Found", "<html>"}, false, "", "Http-Error 404: Not Found", {}},
        {{HttpOutcome::Completed, 503, "Service Unavailable", ""}, true, "x", "xHttp-Error 503: Service Unavailable",
         {}},
        {{HttpOutcome::Completed, 201, "Created", "b"}, false, "", "Http-Error 201: Created", {}},
        {{HttpOutcome::Completed, 500, "", ""}, false, "", "Http-Error 500: ", {}},
        {{HttpOutcome::TimedOut, 0, "", ""}, false, "prev ", "Timeout (10 Seconds)", {}},
        {{HttpOutcome::Failed, 0, "", ""}, false, "prev ", "Error!", {}},
        // A transport that let a body over 16 MiB through still fails the request.
        {{HttpOutcome::Completed, 200, "OK", std::string((16 << 20) + 1, 'x')}, false, "", "Error!", {}},
    };
    for (const Row& r : rows) {
        Fixture f;
        f.transport.reply = r.reply;
        std::string status = r.statusBefore;
        const HttpResult result = HttpRequest(f.client, "http://h/x", r.binary, status, "", "", "", 10);
        EXPECT_EQ(status, r.statusAfter) << r.reply.status << " " << r.reply.body.substr(0, 20);
        EXPECT_EQ(result, r.result) << r.statusAfter;
    }
}

TEST(HttpRequest, HeadersInOrderAndUserAgentRule) {
    struct Row { const char* wow64; const char* userAgent; const char* sent; };
    const Row rows[] = {
        {nullptr, "", "Mozilla/5.0 (Windows NT 6.1) VisualBasic/6.0 mHttpRequest/1.1"},
        {"", "", "Mozilla/5.0 (Windows NT 6.1) VisualBasic/6.0 mHttpRequest/1.1"},
        {"AMD64", "", "Mozilla/5.0 (Windows NT 6.1; WOW64) VisualBasic/6.0 mHttpRequest/1.1"},
        {"AMD64", "android", "android"},
    };
    for (const Row& r : rows) {
        Fixture f;
        if (r.wow64) f.environment.variables["PROCESSOR_ARCHITEW6432"] = r.wow64;
        std::string status;
        HttpRequest(f.client, "http://h/", false, status, "", "", r.userAgent, 10);
        ASSERT_EQ(f.transport.requests.size(), 1u);
        const Headers expected = {
            {"Cache-Control", "no-cache"},
            {"Pragma", "no-cache"},
            {"Expires", "Thu, 01 Dec 1994 16:00:00 GMT"},
            {"Connection", "close"},
            {"User-Agent", r.sent},
        };
        EXPECT_EQ(f.transport.requests[0].headers, expected);
        EXPECT_EQ(f.transport.requests[0].maxBodyBytes, 16u << 20);
    }
}

TEST(HttpRequest, TimeoutAppliesToEachPhaseInMilliseconds) {
    struct Row { std::int32_t seconds; int ms; const char* text; };
    const Row rows[] = {
        {10, 10000, "Timeout (10 Seconds)"},
        {0, 0, "Timeout (0 Seconds)"},
        {-3, 0, "Timeout (-3 Seconds)"},
        {INT32_MAX, INT_MAX, "Timeout (2147483647 Seconds)"},
    };
    for (const Row& r : rows) {
        Fixture f;
        f.transport.Fail(HttpOutcome::TimedOut);
        std::string status;
        HttpRequest(f.client, "http://h/", false, status, "", "", "", r.seconds);
        EXPECT_EQ(f.transport.requests.at(0).timeoutMs, r.ms) << r.seconds;
        EXPECT_EQ(status, r.text);
    }
}

TEST(HttpRequest, UrlSchemeAndCredentials) {
    struct Row {
        const char* url;
        const char* user;
        const char* password;
        const char* sentUrl;
        const char* sentUser;
        const char* sentPassword;
    };
    const Row rows[] = {
        {"example.org/a", "", "", "http://example.org/a", "", ""},
        {"  example.org  ", "", "", "http://example.org", "", ""},
        {"https://example.org/a", "", "", "https://example.org/a", "", ""},
        {"ftp://example.org/", "", "", "ftp://example.org/", "", ""},          // left alone, fails later
        {"x/?u=a://b", "", "", "x/?u=a://b", "", ""},                          // "://" anywhere counts
        {"http://anna:geheim@h/p", "", "", "http://h/p", "anna", "geheim"},
        {"http://anna@h/p", "", "", "http://h/p", "anna", ""},
        {"http://anna:a:b@h/p", "", "", "http://h/p", "anna", "a:b"},
        {"http://anna:geheim@h/p", "bert", "", "http://h/p", "bert", "geheim"},  // explicit ones win
        {"http://anna:geheim@h/p", "", "pw", "http://h/p", "anna", "pw"},
        {"h:8080/", "u", "p", "http://h:8080/", "u", "p"},
        // An "@" after the host is part of the path or query, not a credential.
        {"http://h/mail?to=a@b.example", "", "", "http://h/mail?to=a@b.example", "", ""},
        {"http://h/a@b", "", "", "http://h/a@b", "", ""},
        // Characters that cannot stand in a request line are percent-encoded.
        {"http://h/a b?q=x y|z", "", "", "http://h/a%20b?q=x%20y%7Cz", "", ""},
        {"http://h/T\xF6lz?q=%20", "", "", "http://h/T%C3%B6lz?q=%20", "", ""},
    };
    for (const Row& r : rows) {
        Fixture f;
        std::string status;
        HttpRequest(f.client, r.url, false, status, r.user, r.password, "", 10);
        ASSERT_EQ(f.transport.requests.size(), 1u) << r.url;
        const HttpGetRequest& sent = f.transport.requests[0];
        EXPECT_EQ(sent.url, r.sentUrl) << r.url;
        EXPECT_EQ(sent.user, r.sentUser) << r.url;
        EXPECT_EQ(sent.password, r.sentPassword) << r.url;
    }
}

TEST(HttpRequest, BlankUrlSendsNothing) {
    for (const char* url : {"", "   "}) {
        Fixture f;
        std::string status = "before";
        EXPECT_EQ(HttpRequest(f.client, url, false, status), HttpResult());
        EXPECT_EQ(status, "No URL specified!");
        EXPECT_TRUE(f.transport.requests.empty());
    }
}

TEST(SplitHttpUrl, PartsOfAbsoluteUrls) {
    struct Row { const char* url; bool ok; bool secure; const char* host; int port; const char* target; const char* hostHeader; };
    const Row rows[] = {
        {"http://example.org", true, false, "example.org", 80, "/", "example.org"},
        {"http://example.org/a/b?c=d#frag", true, false, "example.org", 80, "/a/b?c=d", "example.org"},
        {"HTTP://Example.org:8080?x", true, false, "Example.org", 8080, "/?x", "Example.org:8080"},
        {"http://127.0.0.1:80/", true, false, "127.0.0.1", 80, "/", "127.0.0.1"},
        {"https://h/", true, true, "h", 443, "/", "h"},
        {"https://h:80/", true, true, "h", 80, "/", "h:80"},
        {"http://[::1]:9/x", true, false, "::1", 9, "/x", "[::1]:9"},
        {"http://[::1]/x", true, false, "::1", 80, "/x", "[::1]"},
        {"ftp://h/", false, false, "", 0, "", ""},
        {"http:///x", false, false, "", 0, "", ""},
        {"http://h:/x", true, false, "h", 80, "/x", "h"},
        {"http://h:0/", false, false, "", 0, "", ""},
        {"http://h:65536/", false, false, "", 0, "", ""},
        {"http://h:12a/", false, false, "", 0, "", ""},
        {"http://u@h/", false, false, "", 0, "", ""},
        {"http://[::1/", false, false, "", 0, "", ""},
        {"h/x", false, false, "", 0, "", ""},
    };
    for (const Row& r : rows) {
        const auto parts = SplitHttpUrl(r.url);
        ASSERT_EQ(parts.has_value(), r.ok) << r.url;
        if (!parts) continue;
        EXPECT_EQ(parts->secure, r.secure) << r.url;
        EXPECT_EQ(parts->host, r.host) << r.url;
        EXPECT_EQ(parts->port, r.port) << r.url;
        EXPECT_EQ(parts->target, r.target) << r.url;
        EXPECT_EQ(parts->hostHeader, r.hostHeader) << r.url;
    }
}

TEST(EncodeQueryValue, Utf8PercentEncoding) {
    struct Row { const char* text; const char* encoded; };
    const Row rows[] = {
        {"Bad T\xF6lz", "Bad%20T%C3%B6lz"},
        {"A&B#C?D=E+F/G", "A%26B%23C%3FD%3DE%2BF%2FG"},
        {"M\xFC" "nchen \x80", "M%C3%BCnchen%20%E2%82%AC"},
        {"a-b.c_d~e%", "a-b.c_d~e%25"},
        {"", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(EncodeQueryValue(r.text), r.encoded) << r.text;
}
