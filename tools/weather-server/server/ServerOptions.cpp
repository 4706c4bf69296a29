#include "server/ServerOptions.h"

#include <filesystem>

#include "server/Places.h"
#include "server/QueryText.h"

namespace ws {

ParsedOptions parseServerOptions(const std::vector<std::string>& args)
{
    ServerOptions options;
    auto fail = [](const std::string& message) { return ParsedOptions{std::nullopt, message}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail(name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name);
        }
        if (name == "--port") {
            const auto port = wholeNumber(value, 0, 65535);
            if (!port)
                return fail("--port must be 0 to 65535");
            options.port = *port;
        } else if (name == "--bind") {
            options.bind = value;
        } else if (name == "--apikey") {
            if (value.empty())
                return fail("--apikey must not be empty");
            options.settings.apiKey = value;
        } else if (name == "--date") {
            options.settings.date = parseDate(value);
            if (!options.settings.date)
                return fail("--date must be a date YYYY-MM-DD");
        } else if (name == "--time") {
            options.settings.minuteOfDay = parseTimeOfDay(value);
            if (!options.settings.minuteOfDay)
                return fail("--time must be a time HH:MM");
        } else if (name == "--delay-ms") {
            const auto delay = wholeNumber(value, 0, 600000);
            if (!delay)
                return fail("--delay-ms must be 0 to 600000");
            options.delayMs = *delay;
        } else if (name == "--status") {
            const auto status = wholeNumber(value, 0, 599);
            if (!status || (*status != 0 && *status < 100))
                return fail("--status must be 0 or 100 to 599");
            options.status = *status;
        } else if (name == "--data") {
            std::error_code error;
            if (!std::filesystem::is_directory(value, error))
                return fail("--data: no such directory: " + value);
            options.settings.dataDir = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--update-version") {
            options.settings.update.version = value;
        } else if (name == "--update-file") {
            std::error_code error;
            if (!std::filesystem::is_regular_file(value, error))
                return fail("--update-file: no such file: " + value);
            options.settings.update.filePath = value;
        } else if (name == "--update-remark") {
            options.settings.update.remark = value;
        } else if (name == "--update-crc") {
            options.settings.update.crcOverride = parseCrc(value);
            if (!options.settings.update.crcOverride)
                return fail("--update-crc must be 1 to 8 hexadecimal digits");
        } else {
            return fail("unknown option " + name);
        }
    }
    return {options, {}};
}

std::string helpText()
{
    std::string text = R"(weather-server - local stand-in for the weather service, its satellite picture and
the update server, for tests and demonstrations of the widget.

Usage: weather-server [options]

  --port N             listen on port N (default 8765); 0 picks a free port. The first line
                       on standard output is always "PORT <n>".
  --bind ADDRESS       address to listen on (default 127.0.0.1, this machine only)
  --apikey KEY         the API key that requests must carry (default: the widget's built-in
                       key k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe)
  --date YYYY-MM-DD    the server's "today" (default: today at the places, which all keep
                       Central European time)
  --time HH:MM         the observation time of the current conditions, local to the places
                       (default: the present time there)
  --delay-ms N         wait N milliseconds before every reply
  --status N           every API reply fails with HTTP status N (0: off)
  --data DIR           bodies that replace the generated replies: a request path becomes a
                       file name by dropping the leading "/", turning every "/" into "_" and
                       adding ".json" when the last part has no extension, e.g.
                         /currentconditions/v1/171001  -> currentconditions_v1_171001.json
                         /locations/v1/171001.json     -> locations_v1_171001.json
                         /locations/v1/search?q=...    -> locations_v1_search.json
                         /forecasts/v1/daily/10day/K   -> forecasts_v1_daily_10day_K.json
                         /sat_mosaic_640x480_public/IR/iseur3.jpg
                                                       -> sat_mosaic_640x480_public_IR_iseur3.jpg
                         /updates/updates.php          -> updates_updates.php (version record)
                       Such a body is served with status 200 even for a key that no built-in
                       place has; --status and the API key check still come first.
  --log FILE           append every request to FILE: its request line and header lines as
                       received, in their order, then an empty line
  --update-version V   version offered by the update server (default 1.54, the current one)
  --update-file FILE   the program file offered for download; its CRC-32 goes into the record
  --update-remark TEXT remark shown after the version (default: the server's date DD.MM.YYYY)
  --update-crc HEX     announce this CRC-32 instead of the file's (to test a wrong checksum)
  --help               this text

Routes:
  GET /locations/v1/{key}[.json]               one place
  GET /locations/v1/search?q=TEXT              places whose name contains TEXT (any case,
                                               umlauts too) or whose postal code starts with it
  GET /currentconditions/v1/{key}              current conditions (array of one)
  GET /forecasts/v1/daily/{1,5,10,15,25}day/{key}   daily forecast
      options: language (de... gives German texts, anything else English), details=true,
      metric=true (imperial otherwise), apikey; names in any case and order.
      A missing or wrong key gives 401 with the service's problem body; an unknown location
      key gives 400 {"Code":"400","Message":"Invalid location key: K",...}; another number
      of days gives 404. An empty search gives [].
  GET /sat_mosaic_640x480_public/IR/iseur3.jpg 640 x 480 JPEG
  GET /updates/updates.php?send=Wolkenglas.exe,.inf   version record (also /updates.php)
  GET /updates/updates.php?send=FILE           the download named in the record
  GET /_control?delay_ms=N&status=N&reset=1    change the faults while running (reset first)

Built-in places (key, name, postal code, area, country):
)";
    for (const Place& place : builtInPlaces()) {
        text += "  " + place.key + "  " + place.nameDe + ", " +
                (place.postalCode.empty() ? "(no postal code)" : place.postalCode) + ", " +
                place.areaDe + ", " + place.countryId + "\n";
    }
    return text;
}

}  // namespace ws
