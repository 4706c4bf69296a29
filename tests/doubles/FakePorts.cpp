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
    writes.emplace_back(key);
    if (!readOnly) values[{std::string(app), std::string(section), std::string(key)}] = std::string(value);
}

void FakeSettingsStore::Delete(std::string_view app, std::string_view section, std::string_view key) {
    if (!readOnly) values.erase({std::string(app), std::string(section), std::string(key)});
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

namespace {
bool Listed(const std::vector<std::string>& list, std::string_view path) {
    return std::find(list.begin(), list.end(), path) != list.end();
}
}  // namespace

bool FakeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
    if (Listed(failWrites, path)) return false;
    files[std::string(path)] = std::string(bytes);
    return true;
}

bool FakeFileSystem::RemoveFile(std::string_view path) {
    return !Listed(failRemoves, path) && files.erase(std::string(path)) > 0;
}

bool FakeFileSystem::WriteNewFile(std::string_view path, std::string_view bytes) {
    if (Listed(failWrites, path) || files.count(std::string(path))) return false;
    files[std::string(path)] = std::string(bytes.substr(0, shortWrites ? shortWrites : bytes.size()));
    return true;
}

bool FakeFileSystem::RenameFile(std::string_view from, std::string_view to) {
    const auto it = files.find(std::string(from));
    if (Listed(failRenames, from) || it == files.end() || files.count(std::string(to))) return false;
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[std::string(to)] = std::move(bytes);
    return true;
}

bool FakeSystem::StartProgram(std::string_view path, std::string_view arguments) {
    started.push_back(arguments.empty() ? std::string(path) : std::string(path) + " " + std::string(arguments));
    events.push_back("start " + std::string(path));
    return true;
}

std::uint32_t FakeSystem::StartCommand(std::string_view commandLine, int windowStyle) {
    commands.emplace_back(std::string(commandLine), windowStyle);
    return 4711;
}

bool FakeSystem::AnotherInstanceRunning() {
    if (otherInstanceEndsAfter == 0) otherInstance = false;
    if (otherInstanceEndsAfter > 0) --otherInstanceEndsAfter;
    return otherInstance;
}

bool FakeSystem::RunScript(std::string_view scriptPath, bool utf8) {
    scripts.emplace_back(std::string(scriptPath), utf8);
    events.push_back("script");
    return true;
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
    if (answers.empty()) return answer;
    const MsgResult next = answers.front();
    answers.erase(answers.begin());
    return next;
}

std::optional<std::string> FakeSystem::CreateTempFile(std::string_view dir, std::string_view prefix) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", ++tempCounter);
    return std::string(dir) + std::string(prefix) + hex + ".tmp";
}
