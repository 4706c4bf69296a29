#pragma once
#include <map>
#include <mutex>
#include <string>

#include "platform/HttpTransport.h"
#include "platform/SettingsStore.h"

// The keyless source behind the HTTP port: while it is the chosen source (ChosenSource), the
// service client's four requests (place by key, place search, current conditions, daily
// forecast) are answered by asking the source and composing replies of the service's shapes;
// every other request (satellite picture, updates) passes on unchanged. Time-outs, failures and
// HTTP errors of the source come back as they are, so the client reports them as the service's.
// One refresh costs two requests: the place, then one forecast that serves both the current
// conditions and the days.
class KeylessSource : public HttpTransport {
public:
    KeylessSource(HttpTransport& inner, SettingsStore& settings) : inner_(inner), settings_(settings) {}
    HttpGetResult Get(const HttpGetRequest& request) override;

private:
    struct Coordinates {
        std::string latitude, longitude;
    };
    HttpGetResult Ask(const HttpGetRequest& request, const std::string& url);
    HttpGetResult Place(const HttpGetRequest& request, const std::string& key, const std::string& language);
    HttpGetResult Search(const HttpGetRequest& request, const std::string& text, const std::string& language);
    HttpGetResult Weather(const HttpGetRequest& request, const std::string& key, const std::string& language,
                          bool metric, int days);

    HttpTransport& inner_;
    SettingsStore& settings_;
    std::mutex mutex_;                          // the caches: the search and a refresh may overlap
    std::map<std::string, Coordinates> places_;  // by place id; places do not move
    std::string forecastFor_, forecast_;        // the last forecast reply, kept for the days
};
