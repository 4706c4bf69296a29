#include "win32/Win32Services.h"

#include <windows.h>

#include "system/OleDate.h"
#include "win32/Com.h"
#include "win32/Text.h"
#include "win32/Utf8Text.h"
#include "win32/WicDecoder.h"

double Win32Clock::Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return OleDate(t.wYear, t.wMonth, t.wDay, t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0);
}

float Win32Clock::SecondsSinceMidnight() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return static_cast<float>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) + t.wMilliseconds / 1000.0f;
}

TimeZoneState Win32Clock::TimeZone() {
    TIME_ZONE_INFORMATION info{};
    const DWORD status = GetTimeZoneInformation(&info);
    TimeZoneState zone;
    zone.status = status == TIME_ZONE_ID_STANDARD ? 1 : status == TIME_ZONE_ID_DAYLIGHT ? 2 : 0;
    zone.bias = info.Bias;
    zone.standardBias = info.StandardBias;
    zone.daylightBias = info.DaylightBias;
    return zone;
}

namespace {
// FILETIME counts 100 ns from 01.01.1601; the automation dates begin 109205 days later.
constexpr std::int64_t kOleEpochTicks = 109205LL * 86400 * 10000000;

FILETIME FileTimeOf(std::int64_t utcSecond) {
    const auto ticks = static_cast<std::uint64_t>(utcSecond * 10000000 + kOleEpochTicks);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::int64_t TicksOf(const FILETIME& t) {
    return static_cast<std::int64_t>((std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime);
}
}  // namespace

double Win32Clock::UtcSeconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return static_cast<double>(TicksOf(now) - kOleEpochTicks) / 1e7;
}

std::int32_t Win32Clock::LocalOffset(std::int64_t utcSecond) {
    const FILETIME utc = FileTimeOf(utcSecond);
    SYSTEMTIME utcTime{}, localTime{};
    FILETIME local{};
    // The zone's rule for that moment, not the offset in force now.
    if (!FileTimeToSystemTime(&utc, &utcTime) || !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime) ||
        !SystemTimeToFileTime(&localTime, &local))
        return 0;
    return static_cast<std::int32_t>((TicksOf(local) - TicksOf(utc)) / 10000000);
}

namespace {
std::string LocaleText(LCTYPE type) {
    wchar_t buffer[80] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    return n > 1 ? FromWide(std::wstring_view(buffer, static_cast<std::size_t>(n - 1))) : std::string();
}
}  // namespace

char Win32Locale::DecimalSeparator() {
    const std::string separator = LocaleText(LOCALE_SDECIMAL);
    return separator.empty() ? '.' : separator[0];
}

std::string Win32Locale::DayName(int weekday, bool abbreviated) {
    // The locale's day names start with Monday.
    const LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
    return LocaleText(first + static_cast<LCTYPE>((weekday + 6) % 7));
}

std::optional<Bitmap> Win32PictureDecoder::LoadPicture(std::string_view path) {
    const ComApartment com;  // WIC needs COM on the calling thread
    return DecodePictureFile(Utf8ToWide(path).c_str());  // paths are UTF-8
}

std::optional<Bitmap> Win32PictureDecoder::DecodeBytes(const std::vector<std::uint8_t>& bytes) {
    const ComApartment com;
    return DecodePicture(bytes.data(), bytes.size());
}
