// The Linux ports of the console front end: locale, time zone and the JPEG decoder.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "native/JpegPictureDecoder.h"
#include "native/NativeClock.h"
#include "native/NativeLocale.h"

// The locales come from scripts/test.sh (localedef); "xx_XX.UTF-8" stands for one not installed.
TEST(NativeLocale, SeparatorDayNamesAndLanguage) {
    struct Row {
        const char* locale;
        char separator;
        int weekday;
        const char* shortName;
        const char* longName;
    };
    const Row rows[] = {
        {"de_DE.UTF-8", ',', 1, "Mo", "Montag"},         {"de_DE.UTF-8", ',', 0, "So", "Sonntag"},
        {"sv_SE.UTF-8", ',', 6, "l\xF6r", "l\xF6rdag"},  {"sv_SE.ISO-8859-1", ',', 1, "m\xE5n", "m\xE5ndag"},
        {"C", '.', 4, "Thu", "Thursday"},                {"xx_XX.UTF-8", '.', 6, "Sat", "Saturday"},
    };
    for (const Row& row : rows) {
        NativeLocale locale(row.locale, row.locale);
        EXPECT_EQ(locale.DecimalSeparator(), row.separator) << row.locale;
        EXPECT_EQ(locale.DayName(row.weekday, true), row.shortName) << row.locale;
        EXPECT_EQ(locale.DayName(row.weekday, false), row.longName) << row.locale;
    }
    // The process itself stays in the "C" locale: the core reads reply numbers with a point.
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");

    const std::pair<const char*, const char*> tags[] = {{"de_DE.UTF-8", "de-DE"}, {"de_AT@euro", "de-AT"},
                                                        {"de", "de"}, {"C.UTF-8", ""}, {"POSIX", ""}, {"", ""}};
    for (const auto& [name, tag] : tags) EXPECT_EQ(LanguageTag(name), tag) << name;
}

TEST(NativeClock, ZoneOffsetsFromTZ) {
    struct Row {
        const char* zone;
        std::time_t moment;
        int status;
        int offsetMinutes;  // local = UTC + offset
    };
    const Row rows[] = {
        {"Europe/Berlin", 1719835200, 2, 120},  // 01.07.2024 12:00 UTC, summer time
        {"Europe/Berlin", 1705320000, 1, 60},   // 15.01.2024 12:00 UTC
        {"America/New_York", 1719835200, 2, -240},
        {"Asia/Kolkata", 1705320000, 0, 330},   // no daylight saving time at all
        {"UTC", 1705320000, 0, 0},
    };
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    for (const Row& row : rows) {
        ::setenv("TZ", row.zone, 1);
        ::tzset();
        const TimeZoneState tz = TimeZoneAt(row.moment);
        EXPECT_EQ(tz.status, row.status) << row.zone;
        // The sum that GetUTCOffset forms on Windows.
        const int bias = tz.status == 2 ? tz.bias + tz.daylightBias : tz.bias + tz.standardBias;
        EXPECT_EQ(-bias, row.offsetMinutes) << row.zone;
        EXPECT_NEAR(LocalOleDate(row.moment), row.moment / 86400.0 + 25569.0 + row.offsetMinutes / 1440.0, 1e-9);
    }
    old ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

TEST(JpegPictureDecoder, DecodesPicturesAndRefusesDamagedFiles) {
    namespace fs = std::filesystem;
    const fs::path jpeg = fs::path(WG_SOURCE_DIR) / "tools/weather-server/satellite/iseur3.jpg";
    std::ifstream in(jpeg, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    JpegPictureDecoder decoder;
    const auto picture = decoder.LoadPicture(jpeg.string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 640);
    EXPECT_EQ(picture->height, 480);
    EXPECT_TRUE(std::any_of(picture->pixels.begin(), picture->pixels.end(),
                            [](std::uint32_t p) { return (p & 0xFF) > 0xC0; }));  // bright clouds

    const fs::path file = fs::temp_directory_path() / ("wg-jpeg-" + std::to_string(::getpid()));
    for (const std::string& damaged : {bytes.substr(0, bytes.size() / 2), bytes.substr(0, 600), std::string(4096, 'x'),
                                       std::string()}) {
        std::ofstream(file, std::ios::binary) << damaged;
        EXPECT_FALSE(decoder.LoadPicture(file.string())) << damaged.size() << " bytes";
    }
    fs::remove(file);
    EXPECT_FALSE(decoder.LoadPicture(file.string()));
}

// A progressive JPEG that declares 8000 x 8000 pixels (each side allowed, the pixel count not) and
// ends after its first scan's header: libjpeg would allocate all its coefficients at the start.
TEST(JpegPictureDecoder, RefusesAForgedSizeBeforeAllocatingForIt) {
    const std::string jpeg = std::string("\xFF\xD8\xFF\xDB\x00\x43\x00", 7) + std::string(64, '\x01') +
                             std::string("\xFF\xC2\x00\x11\x08\x1F\x40\x1F\x40\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00"
                                         "\xFF\xC4\x00\x1F\x00\x00\x01\x05\x01\x01\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00"
                                         "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B"
                                         "\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 66) +
                             std::string(16, '\x55');
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("wg-jpeg-forged-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << jpeg;
    // In a child of its own, so that its peak memory can be read; an address space limit keeps a
    // decoder that allocates anyway from taking the machine.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{1L << 30, 1L << 30};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(JpegPictureDecoder().LoadPicture(file.string()) ? 1 : 0);
    }
    int status = -1;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "decoded";
    EXPECT_LT(usage.ru_maxrss, 64 * 1024) << "peak kB";
    std::filesystem::remove(file);
}
