#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Ports.h"
#include "service/mHttpRequest.h"

// The update server's record: "[product|file|version|remark]" or with a fifth field, the
// download's CRC-32 in hexadecimal.
struct UpdateRecord {
    std::string product, file, version, remark;
    std::uint32_t crc = 0;  // 0: none announced
    bool badCrc = false;    // a fifth field that is no hexadecimal 32-bit number
};

// Line breaks anywhere are dropped; nothing unless the reply is bracketed and has four fields.
std::optional<UpdateRecord> ParseUpdateRecord(std::string_view reply);

// Plain character comparison, so "1.54a" and "1.54 Beta 2" are newer than "1.54".
bool IsNewerVersion(std::string_view offered, std::string_view current);

// A downloaded program of version `program` is installed only when that is the version the
// record announced and newer than the running one: the same version is never installed again.
bool IsInstallable(std::string_view program, const UpdateRecord& record, std::string_view current);

// Program files come only over HTTPS, or from this machine (the local server).
bool IsProgramSource(std::string_view url);

// Asks the server for a newer version, asks the user, downloads, checks and installs it. Made to
// run off the window thread: `ports.system` then brings the beep and the boxes to it.
// "OK" when the new program is in place, "ERROR" after a failure, the offered version when the
// user declined, empty when there is nothing to do.
std::string UpdateCheck(Ports& ports, const HttpClient& http, std::string_view baseUrl, std::string_view fileName,
                        std::string_view targetPath, std::string_view currentVersion);
