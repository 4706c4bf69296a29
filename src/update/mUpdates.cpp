#include "update/mUpdates.h"

#include <variant>
#include <vector>

#include "service/HttpUrl.h"
#include "service/ServiceHosts.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "update/CRC32.h"
#include "update/ProgramReplace.h"

namespace {

constexpr std::int32_t kTimeoutSeconds = 10;
// The whole record and the whole download: a server that trickles its bytes ends the check.
constexpr std::int32_t kRecordDeadlineSeconds = 30;
constexpr std::int32_t kDownloadDeadlineSeconds = 120;

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

std::optional<std::uint32_t> Hex32(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string FailureText() {
    return Cat("  Fehler bei Update ...    \r\n\r\n  Laden Sie sich bitte die aktuelle  ", "  Version von  ",
               kMakerWebAddress, "  ", "  herunter. Vielen Dank!  ");
}

}  // namespace

std::optional<UpdateRecord> ParseUpdateRecord(std::string_view reply) {
    std::string text;
    for (char c : reply)
        if (c != '\r' && c != '\n') text += c;
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
    const std::vector<std::string> fields = Split(std::string_view(text).substr(1, text.size() - 2), '|');
    if (fields.size() < 4) return std::nullopt;
    UpdateRecord r{fields[0], fields[1], fields[2], fields[3]};
    if (fields.size() == 5 && !fields[4].empty()) {
        const auto crc = Hex32(fields[4]);
        r.crc = crc.value_or(0);
        r.badCrc = !crc;
    }
    return r;
}

bool IsNewerVersion(std::string_view offered, std::string_view current) { return offered > current; }

bool IsInstallable(std::string_view program, const UpdateRecord& record, std::string_view current) {
    return program == record.version && IsNewerVersion(program, current);
}

bool IsProgramSource(std::string_view url) {
    const auto parts = SplitHttpUrl(url);
    return parts && (parts->secure || parts->host == "127.0.0.1" || parts->host == "::1" || parts->host == "localhost");
}

std::string UpdateCheck(Ports& ports, const HttpClient& http, std::string_view baseUrl, std::string_view fileName,
                        std::string_view targetPath, std::string_view currentVersion) {
    SystemPort& sys = ports.system;
    // A program fetched over plain HTTP could be replaced on the way, CRC and all.
    if (!IsProgramSource(baseUrl)) return {};
    const std::string script = Cat(baseUrl, "/updates.php?send=");
    std::string status;
    const HttpResult info =
        HttpRequest(http, Cat(script, fileName, ",.inf"), false, status, {}, {}, {}, kTimeoutSeconds, kRecordDeadlineSeconds);
    const auto* reply = std::get_if<std::string>(&info);
    const auto record = ParseUpdateRecord(reply ? *reply : std::string());
    if (!record) return {};
    const std::string title = Cat(record->product, " - Update");
    auto fail = [&] {
        sys.ShowMessage(FailureText(), title, MsgIcon::Stop, MsgButtons::Ok);
        return std::string("ERROR");
    };
    if (record->badCrc) return fail();
    if (!IsNewerVersion(record->version, currentVersion)) return {};

    sys.Beep();
    const std::string question =
        Cat("Ein Update von ''", record->product, "'' liegt vor.      \r\n\r\n", "    Aktuelle Version:   ",
            currentVersion, "\r\n", "    Neue Version:       ", record->version, "  [", record->remark, "]\r\n\r\n",
            "Soll es heruntergeladen und installiert werden?      ");
    if (sys.ShowMessage(question, title, MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return record->version;

    status.clear();
    const HttpResult download = HttpRequest(http, Cat(script, record->file), true, status, {}, {}, {}, kTimeoutSeconds,
                                                 kDownloadDeadlineSeconds);
    const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&download);
    if (!bytes || bytes->empty()) return fail();
    if ((*bytes)[0] == '<') return "ERROR";  // a web page (an error page of the server), not a program
    if (record->crc != 0 && CRC32(*bytes) != record->crc) {
        sys.ShowMessage("FEHLER: CRC32 Prüfsumme falsch! Update gescheitert!      ", title, MsgIcon::Stop,
                        MsgButtons::Ok);
        return "ERROR";
    }
    std::string target;
    for (char c : targetPath)
        if (c != '"') target += c;
    // A DLL, a program for another processor or one that is not the version announced would
    // leave the user with a widget that never starts again.
    const auto version = ProgramVersionText(*bytes);
    if (!version || !IsInstallable(*version, *record, currentVersion) || !ReplaceProgram(ports.files, target, *bytes))
        return fail();
    sys.ShowMessage("Download abgeschlossen.  Das Programm wird neu gestartet ...    ", title, MsgIcon::Exclamation,
                    MsgButtons::Ok);
    return "OK";
}
