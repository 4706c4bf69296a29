#include "native/FileSettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

#include "service/mUTF8toWIN.h"
#include "service/mUTF8toWIN.h"
#include "system/Cat.h"
#include "system/Numbers.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The whole file; "" when it does not exist, nothing when it exists but cannot be read (then it
// must not be replaced either).
std::optional<std::string> ReadWhole(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return ec ? std::nullopt : std::optional<std::string>("");
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return bytes.str();
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Replaces `target` with `bytes` so that a crash or a full disk leaves either the old or the new
// file, never a mix: the bytes go to a new file beside it, which then takes its name.
bool ReplaceFile(const std::filesystem::path& target, const std::string& bytes) {
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string temp = (dir / (target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace

FileSettingsStore::FileSettingsStore(std::filesystem::path file, std::string app, std::string section)
    : file_(std::move(file)), app_(std::move(app)), section_(std::move(section)) {
    // A settings file that links elsewhere (dotfile collections) stays a link: writes go to its target.
    std::error_code ec;
    if (std::filesystem::is_symlink(file_, ec)) {
        const auto target = std::filesystem::weakly_canonical(file_, ec);
        if (!ec) file_ = target;
    }
    if (const auto content = ReadWhole(file_)) lines_ = Parse(*content);
}

std::vector<FileSettingsStore::Line> FileSettingsStore::Parse(const std::string& content) {
    std::string_view rest = content;
    if (rest.substr(0, kBom.size()) == kBom) rest.remove_prefix(kBom.size());
    std::vector<Line> lines;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        Line line{std::string(text), {}, {}};
        const std::size_t eq = text.find('=');
        const std::string_view key = TrimBlanks(text.substr(0, eq));
        const bool comment = !key.empty() && (key.front() == '#' || key.front() == ';' || key.front() == '[');
        if (eq != std::string_view::npos && !key.empty() && !comment) {
            line.key = UpperCase(UTF8toWIN(key));
            line.value = UTF8toWIN(text.substr(eq + 1));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void FileSettingsStore::Apply(std::vector<Line>& lines, std::string_view key, const std::string* value) {
    const std::string wanted = UpperCase(key);
    auto last = lines.end();
    for (auto it = lines.begin(); it != lines.end(); ++it)
        if (it->key == wanted) last = it;
    if (!value) {
        std::erase_if(lines, [&](const Line& l) { return l.key == wanted; });
        return;
    }
    // A line break in a value would end its line early and turn the rest into a setting of its own.
    std::string clean = *value;
    for (char& c : clean)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    Line line{Cat(WINtoUTF8(key), "=", WINtoUTF8(clean)), wanted, clean};
    if (last == lines.end()) lines.push_back(std::move(line));
    else *last = std::move(line);
}

bool FileSettingsStore::Store(const std::vector<Line>& lines) {
    std::string bytes;
    for (const Line& l : lines) bytes.append(l.text).append("\n");
    return ReplaceFile(file_, bytes);
}

void FileSettingsStore::Change(std::string_view key, const std::string* value) {
    overrides_.erase(UpperCase(key));
    Apply(lines_, key, value);
    const bool storable = !key.empty() && key.find_first_of("=\r\n") == std::string_view::npos;
    // The file as it is now, so that a change made by hand or by another run since the start survives.
    const auto content = ReadWhole(file_);
    if (!storable || !content) {
        writeFailed_ = true;
        return;
    }
    std::vector<Line> lines = Parse(*content);
    const std::size_t before = lines.size();
    Apply(lines, key, value);
    if (!value && lines.size() == before) return;  // nothing to delete: leave the file alone
    if (!Store(lines)) {
        writeFailed_ = true;
        return;
    }
    lines_ = std::move(lines);
}

bool FileSettingsStore::Own(std::string_view app, std::string_view section) const {
    return app == app_ && section == section_;
}

std::string FileSettingsStore::Read(std::string_view app, std::string_view section, std::string_view key,
                                    std::string_view def) {
    if (!Own(app, section)) {
        const auto it = others_.find({std::string(app), std::string(section), UpperCase(key)});
        return it != others_.end() ? it->second : std::string(def);
    }
    const std::string wanted = UpperCase(key);
    if (const auto it = overrides_.find(wanted); it != overrides_.end()) return it->second;
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (it->key == wanted) return it->value;
    return std::string(def);
}

void FileSettingsStore::Write(std::string_view app, std::string_view section, std::string_view key,
                              std::string_view value) {
    if (!Own(app, section)) {
        others_[{std::string(app), std::string(section), UpperCase(key)}] = value;
        return;
    }
    const std::string text(value);
    Change(key, &text);
}

void FileSettingsStore::Delete(std::string_view app, std::string_view section, std::string_view key) {
    if (!Own(app, section)) {
        others_.erase({std::string(app), std::string(section), UpperCase(key)});
        return;
    }
    Change(key, nullptr);
}

void FileSettingsStore::Override(std::string_view key, std::string_view value) {
    overrides_[UpperCase(key)] = value;
}
