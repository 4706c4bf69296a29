#pragma once

// The members one refresh reads from the three replies, in the order the widget reads them
// (units are Metric here). All three contenders of the benchmark walk these same lists.

#include <array>
#include <string_view>

namespace refresh {

// Place by key: the place name shown in the title line.
inline constexpr std::array<std::string_view, 4> kPlace = {
    "LocalizedName", "EnglishName", "Country/ID", "Country/LocalizedName"};

// Element 1 of the current-conditions reply: unit texts, then column 0, tooltips, balloon.
inline constexpr std::array<std::string_view, 30> kCurrent = {
    "Temperature/Metric/Unit", "Visibility/Metric/Unit", "Wind/Speed/Metric/Unit", "Pressure/Metric/Unit",
    "PrecipitationSummary/Precipitation/Metric/Unit", "WeatherIcon", "WeatherText", "Link",
    "Visibility/Metric/Value", "PrecipitationSummary/Precipitation/Metric/Value", "CloudCover",
    "Ceiling/Metric/Value", "Ceiling/Metric/Unit", "Temperature/Metric/Value", "Temperature/Metric/Value",
    "RealFeelTemperature/Metric/Value", "RealFeelTemperatureShade/Metric/Value", "DewPoint/Metric/Value",
    "RelativeHumidity", "Pressure/Metric/Value", "PressureTendency/Code", "Wind/Speed/Metric/Value",
    "Wind/Direction/English", "Wind/Direction/Localized", "Wind/Direction/Degrees",
    "WindGust/Speed/Metric/Value", "UVIndex", "UVIndexText", "EpochTime", "WeatherIcon"};

// Day 1 of the forecast: sun and moon of today.
inline constexpr std::array<std::string_view, 7> kToday = {
    "HoursOfSun", "Sun/Rise", "Sun/Set", "Moon/Rise", "Moon/Set", "Moon/Phase", "Moon/Age"};

// Every forecast column: the day name pass reads "Date", the column pass the rest.
inline constexpr std::array<std::string_view, 1> kDayName = {"Date"};
inline constexpr std::array<std::string_view, 38> kDay = {
    "Link", "Date", "Day/Icon", "Night/Icon",
    "Day/IconPhrase", "Day/ShortPhrase", "Day/CloudCover", "Day/RainProbability",
    "Day/ThunderstormProbability", "Day/SnowProbability", "Day/IceProbability", "Day/Rain/Value",
    "Day/Rain/Unit", "Day/Snow/Value", "Day/Snow/Unit",
    "Night/IconPhrase", "Night/ShortPhrase", "Night/CloudCover", "Night/RainProbability",
    "Night/ThunderstormProbability", "Night/SnowProbability", "Night/IceProbability", "Night/Rain/Value",
    "Night/Rain/Unit", "Night/Snow/Value", "Night/Snow/Unit",
    "Temperature/Maximum/Value", "RealFeelTemperature/Maximum/Value", "Temperature/Minimum/Value",
    "RealFeelTemperature/Minimum/Value",
    "Day/Wind/Direction/Localized", "Day/Wind/Direction/Degrees", "Day/Wind/Speed/Value",
    "Day/WindGust/Speed/Value",
    "Night/Wind/Direction/Localized", "Night/Wind/Direction/Degrees", "Night/Wind/Speed/Value",
    "Night/WindGust/Speed/Value"};

// The day's "AirAndPollen" list is searched for the entry named "UVIndex".
inline constexpr std::string_view kPollenList = "AirAndPollen";
inline constexpr std::string_view kPollenName = "Name";
inline constexpr std::string_view kUvName = "UVIndex";
inline constexpr std::array<std::string_view, 2> kUv = {"Value", "Category"};

inline constexpr std::string_view kDays = "DailyForecasts";
inline constexpr int kColumns = 7;

}  // namespace refresh
