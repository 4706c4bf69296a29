#pragma once
// The Win32 implementations of the clock, the locale and the picture decoder.
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/PictureDecoder.h"

class Win32Clock : public Clock {
public:
    double Now() override;
    float SecondsSinceMidnight() override;
    TimeZoneState TimeZone() override;
    double UtcSeconds() override;
    std::int32_t LocalOffset(std::int64_t utcSecond) override;
};

// The user's regional settings (GetLocaleInfoW).
class Win32Locale : public Locale {
public:
    char DecimalSeparator() override;
    std::string DayName(int weekday, bool abbreviated) override;
};

// WIC: the satellite picture comes from the network, so only the system's codecs touch it.
class Win32PictureDecoder : public PictureDecoder {
public:
    std::optional<Bitmap> LoadPicture(std::string_view path) override;
    std::optional<Bitmap> DecodeBytes(const std::vector<std::uint8_t>& bytes) override;
};
