#pragma once
// A scripted HTTP transport and a settable environment.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Environment.h"
#include "platform/HttpTransport.h"

class FakeTransport : public HttpTransport {
public:
    HttpGetResult Get(const HttpGetRequest& request) override {
        requests.push_back(request);
        for (const auto& [part, routed] : routes)
            if (request.url.find(part) != std::string::npos) return routed;
        return reply;
    }
    // The next replies: a completed response.
    void Respond(int status, std::string reason, std::string body) {
        reply = {HttpOutcome::Completed, status, std::move(reason), std::move(body)};
    }
    void Fail(HttpOutcome outcome) { reply = {outcome, 0, {}, {}}; }

    // A completed response for URLs that contain `part`, before the common reply.
    void Route(std::string part, std::string body, int status = 200, std::string reason = "OK") {
        routes.emplace_back(std::move(part), HttpGetResult{HttpOutcome::Completed, status, std::move(reason), std::move(body)});
    }

    HttpGetResult reply{HttpOutcome::Completed, 200, "OK", ""};
    std::vector<std::pair<std::string, HttpGetResult>> routes;
    std::vector<HttpGetRequest> requests;
};

class FakeEnvironment : public Environment {
public:
    std::string Variable(std::string_view name) override {
        const auto it = variables.find(std::string(name));
        return it == variables.end() ? "" : it->second;
    }
    std::map<std::string, std::string> variables;
};
