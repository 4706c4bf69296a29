#pragma once

// Application name and section under which every setting is stored. Earlier versions of the
// widget stored their settings under these names; changing them would lose the users' settings.
inline constexpr const char* kSettingsApp = "Korvelin";
inline constexpr const char* kSettingsSection = "AccuWeather";

namespace key {
inline constexpr const char* Version = "Version";
inline constexpr const char* Reload = "Reload";
inline constexpr const char* WindowLeft = "Window.Left";
inline constexpr const char* WindowTop = "Window.Top";
inline constexpr const char* WindowVisible = "Window.Visible";
inline constexpr const char* Metric = "Metric";
inline constexpr const char* LocationSelected = "Location.Selected";
inline constexpr const char* LocationKey = "Location.Key";
inline constexpr const char* WindowMagnetic = "Window.Magnetic";
inline constexpr const char* WindowLock = "Window.Lock";
inline constexpr const char* RefreshEnabled = "Refresh.Enabled";
inline constexpr const char* RefreshInterval = "Refresh.Interval";
inline constexpr const char* Update = "Update";
inline constexpr const char* BalloonTip = "BalloonTip";
inline constexpr const char* RunAtStartup = "RunAtStartup";
// Hidden keys: where the service, the satellite picture and the updates come from. Not shown in
// the dialog; the demo run and the end-to-end tests point them at the local weather server.
inline constexpr const char* ServerApi = "Server.Api";
inline constexpr const char* ServerSatellite = "Server.Satellite";
inline constexpr const char* ServerUpdate = "Server.Update";
inline constexpr const char* ServerApiKey = "Server.ApiKey";
// "open-meteo" or "service"; absent: the service when "Server.ApiKey" is set, else the keyless
// source. Its two hosts as "Server.Api" names the service's.
inline constexpr const char* ServerSource = "Server.Source";
inline constexpr const char* ServerGeocoding = "Server.Geocoding";
inline constexpr const char* ServerForecast = "Server.Forecast";
}  // namespace key
