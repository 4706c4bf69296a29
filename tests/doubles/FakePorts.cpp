#include "doubles/FakePorts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string FakeSettingsStore::Read(std::string_view app, std::string_view section, std::string_view key,
                                    std::string_view def) {
    const auto it = values.find({std::string(app), std::string(section), std::string(key)});
    return it == values.end() ? std::string(def) : it->second;
}

void FakeSettingsStore::Write(std::string_view app, std::string_view section, std::string_view key,
                              std::string_view value) {
    values[{std::string(app), std::string(section), std::string(key)}] = std::string(value);
    writes.emplace_back(key);
}

void FakeSettingsStore::Delete(std::string_view app, std::string_view section, std::string_view key) {
    values.erase({std::string(app), std::string(section), std::string(key)});
}

std::string FakeSettingsStore::Get(const std::string& key) const {
    const auto it = values.find({"Korvelin", "AccuWeather", key});
    return it == values.end() ? std::string("<missing>") : it->second;
}

namespace {
class StringReader : public FileReader {
public:
    StringReader(std::string data, FakeFileSystem& fs) : data_(std::move(data)), fs_(fs) {}
    std::int64_t Read(std::uint8_t* buffer, std::size_t size) override {
        if (fs_.failReads) return -1;
        const std::size_t n = std::min(size, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return static_cast<std::int64_t>(n);
    }

private:
    std::string data_;
    std::size_t pos_ = 0;
    FakeFileSystem& fs_;
};
}  // namespace

std::int64_t FakeFileSystem::FileSize(std::string_view path) {
    const std::string p(path);
    if (std::find(hidden.begin(), hidden.end(), p) != hidden.end()) return -1;
    const auto it = files.find(p);
    return it == files.end() ? -1 : static_cast<std::int64_t>(it->second.size());
}

std::unique_ptr<FileReader> FakeFileSystem::OpenRead(std::string_view path) {
    const auto it = files.find(std::string(path));
    if (it == files.end()) return nullptr;
    return std::make_unique<StringReader>(it->second, *this);
}

bool FakeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
    files[std::string(path)] = std::string(bytes);
    return true;
}

bool FakeFileSystem::RemoveFile(std::string_view path) { return files.erase(std::string(path)) > 0; }

bool FakeSystem::StartProgram(std::string_view path) {
    started.emplace_back(path);
    events.push_back("start " + std::string(path));
    return true;
}

std::uint32_t FakeSystem::StartCommand(std::string_view commandLine, int windowStyle) {
    commands.emplace_back(std::string(commandLine), windowStyle);
    return 4711;
}

std::intptr_t FakeSystem::ShellOpen(std::string_view file, int showCommand) {
    shellOpens.emplace_back(std::string(file), showCommand);
    return 42;
}

bool FakeSystem::SetClipboardText(std::string_view text) {
    clipboard.emplace_back(text);
    events.push_back("clipboard");
    return true;
}

MsgResult FakeSystem::ShowMessage(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) {
    boxes.push_back({std::string(text), std::string(title), icon, buttons});
    events.push_back("msgbox");
    return answer;
}

std::optional<std::string> FakeSystem::CreateTempFile(std::string_view dir, std::string_view prefix) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", ++tempCounter);
    return std::string(dir) + std::string(prefix) + hex + ".tmp";
}
