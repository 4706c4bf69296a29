#include "ProbeCommands.h"

#include <cstdio>
#include <cstdlib>

#include "service/mAccuWeather.h"
#include "service/mHttpRequest.h"
#include "system/mRegistry2.h"

namespace {

constexpr const char* kUsage =
    "usage: wgprobe http URL [binary 0|1] [timeout seconds] [user agent] [deadline seconds]\n"
    "       wgprobe reg-read PATH | reg-type PATH | reg-delete PATH\n"
    "       wgprobe reg-write PATH empty|text|int32|int16|byte|bytes|double|bool [VALUE]\n"
    "       wgprobe reg-scenario KEY      (a fixed series of writes, reads and deletes under HKCU\\KEY)\n"
    "       wgprobe language\n"
    "       several commands separated by +\n";

// Printable ASCII stays; every other byte is written as \xNN.
std::string Escape(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    for (const auto b : bytes) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

std::vector<std::uint8_t> FromHex(std::string_view hex) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::strtoul(std::string(hex.substr(i, 2)).c_str(), nullptr, 16)));
    return out;
}

std::string Describe(const RegValue& v) {
    if (std::holds_alternative<std::monostate>(v)) return "empty";
    if (const auto* s = std::get_if<std::string>(&v)) return "text \"" + Escape(*s) + "\"";
    if (const auto* i = std::get_if<std::int32_t>(&v)) return "int32 " + std::to_string(*i);
    if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&v)) return "bytes " + Hex(*b);
    return "other " + RegText(v);
}

bool Parse(const std::string& kind, const std::string& value, RegValue& out) {
    if (kind == "empty") out = std::monostate{};
    else if (kind == "text") out = value;
    else if (kind == "int32") out = static_cast<std::int32_t>(std::strtol(value.c_str(), nullptr, 10));
    else if (kind == "int16") out = static_cast<std::int16_t>(std::strtol(value.c_str(), nullptr, 10));
    else if (kind == "byte") out = static_cast<std::uint8_t>(std::strtoul(value.c_str(), nullptr, 10));
    else if (kind == "bytes") out = FromHex(value);
    else if (kind == "double") out = std::strtod(value.c_str(), nullptr);
    else if (kind == "bool") out = value == "1" || value == "true";
    else return false;
    return true;
}

// Stores raw data of any type, the way other programs leave values behind.
void Plant(RegistryPort& registry, const std::string& key, const std::string& name, std::uint32_t type,
           const std::string& bytes) {
    reg::Key k = 0;
    if (registry.CreateKey(0x80000001u, key, k) != reg::kSuccess) return;
    registry.SetValue(k, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      static_cast<std::uint32_t>(bytes.size()));
    registry.CloseKey(k);
}

void Scenario(RegistryPort& r, const std::string& key, std::string& out) {
    const std::string base = "HKCU\\" + key + "\\";
    auto line = [&out](const std::string& what, const std::string& result) {
        out += Escape(what) + " -> " + result + "\n";
    };
    auto write = [&](const std::string& path, const RegValue& v) {
        Registry(r, path, v);
        const RegPath p = SplitRegPath(path);
        line("write " + path.substr(base.size()), "type " + std::to_string(GetValueType(r, p.root, p.key, p.valueName)) +
                                                     ", reads " + Describe(Registry(r, path)));
    };
    auto read = [&](const std::string& path) { line("read " + path, Describe(Registry(r, path))); };
    auto del = [&](const std::string& path) { line("delete " + path, DeleteValue(r, path) ? "true" : "false"); };

    write(base + "Dword", std::int32_t{1});
    write(base + "Negative", std::int32_t{-2});
    write(base + "Short", std::int16_t{-5});
    write(base + "Byte", std::uint8_t{200});
    write(base + "Text", std::string("1"));
    write(base + "Umlauts", std::string("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC5\x81\xC3\xB3" "d\xC5\xBA"));  // UTF-8
    write(base + "Empty", std::monostate{});
    write(base + "Binary", std::vector<std::uint8_t>{0, 1, 255});
    write(base + "EmptyBinary", std::vector<std::uint8_t>{});
    write(base + "Double", 2.5);
    write(base + "Bool", true);
    write(base + "Sub\\", std::string("default of Sub"));
    write(base + "Files\\\\C:\\Dir\\File.exe", std::string("~ HIGHDPIAWARE"));

    Plant(r, key, "Expand", reg::kExpandSz, std::string("%TEMP%\\x\0", 9));
    Plant(r, key, "Multi", reg::kMultiSz, std::string("a\0b\0\0", 5));
    Plant(r, key, "Qword", reg::kQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    Plant(r, key, "Zero", reg::kSz, std::string("abc\0def\0", 8));
    Plant(r, key, "ZeroBinary", reg::kBinary, "");
    for (const char* name : {"Expand", "Multi", "Qword", "Zero", "ZeroBinary"}) read("HKCU\\" + key + "\\" + name);

    read("  hkcu \\" + key + "\\dword");
    read("HKEY_CURRENT_USER\\" + key + "\\TEXT");
    read("HKU\\" + key + "\\Text");
    Registry(r, "HKU\\" + key + "\\Lost", std::string("x"));
    read("HKCU\\" + key + "\\Lost");
    read("HKCU\\" + key + "\\Missing");
    read("HKCU\\" + key + "\\NoSuchKey\\Value");
    read("");
    del("HKCU\\" + key + "\\Text");
    read("HKCU\\" + key + "\\Text");
    del("HKCU\\" + key + "\\Text");
    del("HKCU\\" + key + "\\NoSuchKey\\Value");
    del("HKCU\\" + key + "\\Sub\\");
    read("HKCU\\" + key + "\\Sub\\");
}

int Http(const std::vector<std::string>& args, ProbePorts& ports, std::string& out) {
    const bool binary = args.size() > 2 && args[2] == "1";
    const std::int32_t timeout = args.size() > 3 ? std::atoi(args[3].c_str()) : 10;
    const std::string agent = args.size() > 4 ? args[4] : "";
    const std::int32_t deadline = args.size() > 5 ? std::atoi(args[5].c_str()) : 0;
    std::string status;
    const HttpResult result = HttpRequest(HttpClient{ports.transport, ports.environment}, args[1], binary, status, {},
                                          {}, agent, timeout, deadline);
    out += "status: " + Escape(status) + "\n";
    if (const auto* text = std::get_if<std::string>(&result)) {
        out += "result: text " + std::to_string(text->size()) + "\n";
        out += "body: " + Escape(text->substr(0, 400)) + "\n";
    } else if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&result)) {
        out += "result: bytes " + std::to_string(bytes->size()) + "\n";
        out += "head: " + Hex(std::vector<std::uint8_t>(bytes->begin(), bytes->begin() + std::min<std::size_t>(16, bytes->size()))) + "\n";
    } else if (const auto* number = std::get_if<std::int32_t>(&result)) {
        out += "result: number " + std::to_string(*number) + "\n";
    } else {
        out += "result: empty\n";
    }
    return 0;
}

}  // namespace

namespace {

int RunOne(const std::vector<std::string>& args, ProbePorts& ports, std::string& out) {
    const std::string command = args.empty() ? "" : args[0];
    if (command == "http" && args.size() >= 2) return Http(args, ports, out);
    if (command == "reg-read" && args.size() == 2) {
        out += Describe(Registry(ports.registry, args[1])) + "\n";
        return 0;
    }
    if (command == "reg-type" && args.size() == 2) {
        const RegPath p = SplitRegPath(args[1]);
        out += std::to_string(GetValueType(ports.registry, p.root, p.key, p.valueName)) + "\n";
        return 0;
    }
    if (command == "reg-write" && (args.size() == 3 || args.size() == 4)) {
        RegValue value;
        if (!Parse(args[2], args.size() == 4 ? args[3] : "", value)) {
            out += kUsage;
            return 2;
        }
        Registry(ports.registry, args[1], value);
        return 0;
    }
    if (command == "reg-delete" && args.size() == 2) {
        out += DeleteValue(ports.registry, args[1]) ? "true\n" : "false\n";
        return 0;
    }
    if (command == "reg-scenario" && args.size() == 2) {
        Scenario(ports.registry, args[1], out);
        return 0;
    }
    if (command == "language" && args.size() == 1) {
        out += Escape(GetLanguage(ports.registry)) + "\n";
        return 0;
    }
    out += kUsage;
    return 2;
}

}  // namespace

int RunProbe(const std::vector<std::string>& args, ProbePorts& ports, std::string& out) {
    // Commands separated by "+" run in turn on the same ports (the native registry lives only as
    // long as the process).
    std::vector<std::string> one;
    for (std::size_t i = 0; i <= args.size(); ++i) {
        if (i < args.size() && args[i] != "+") {
            one.push_back(args[i]);
            continue;
        }
        if (const int code = RunOne(one, ports, out); code != 0) return code;
        one.clear();
    }
    return 0;
}
