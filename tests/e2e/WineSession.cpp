#include "WineSession.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (; !done(); std::this_thread::sleep_for(200ms))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

namespace {

CommandResult Shell(const std::string& command) {
    // Output goes through a file, not a pipe: Wine starts daemons (wineserver, winedevice) that
    // inherit the descriptors and would keep a pipe open long after the command has ended.
    CommandResult result;
    char path[] = "/tmp/wg-e2e-out-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return result;
    close(fd);
    const int status = std::system(("{ " + command + "\n} >" + path + " 2>&1 </dev/null").c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(path, std::ios::binary);
    result.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    unlink(path);
    return result;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

// Wine's first start in a prefix shows dialogs for Mono and Gecko; the widget needs neither. The
// widget is made for a German system: Wine takes its locale (separator, day names) from LC_ALL.
constexpr const char* kWineEnv = "WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=de_DE.UTF-8 ";

int FreeDisplayNumber() {
    for (int n = 90; n < 190; ++n) {
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        const std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
        if (!fs::exists(lock) && !fs::exists(sock)) return n;
    }
    throw std::runtime_error("no free X display number");
}

}  // namespace

std::string WineSession::ArtifactDir() {
    const char* dir = std::getenv("WG_E2E_ARTIFACTS");
    // In the build tree by default: two checkouts testing at once must not share screenshots.
    std::string path = dir && *dir ? dir : (fs::path(WG_E2E_WORK_DIR) / "artifacts").string();
    fs::create_directories(path);
    return path;
}

std::string WineSession::TemplatePrefix() {
    // Made once per build directory (wineboot takes a while); each session copies it.
    const std::string base = WG_E2E_WORK_DIR;
    fs::create_directories(base);
    const std::string prefix = base + "/prefix-template";
    const int lockFd = open((base + "/prefix-template.lock").c_str(), O_CREAT | O_RDWR, 0644);
    flock(lockFd, LOCK_EX);
    if (!fs::exists(prefix + "/.complete")) {
        fs::remove_all(prefix);
        const std::string env = std::string(kWineEnv) + "WINEARCH=win64 WINEPREFIX=" + ShellQuote(prefix) + " DISPLAY= ";
        // Daemons that Wine starts keep inherited pipes open: give them none.
        Shell(env + "wineboot -i >/dev/null 2>&1 </dev/null");
        Shell(env + "wineserver -w >/dev/null 2>&1 </dev/null");
        std::ofstream(prefix + "/.complete") << "ok\n";
    }
    flock(lockFd, LOCK_UN);
    close(lockFd);
    return prefix;
}

WineSession::WineSession(std::string folder) : folder_(std::move(folder)) {
    const std::string tmpl = TemplatePrefix();
    char pattern[] = "/tmp/wg-e2e-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    prefix_ = dir_ + "/prefix";
    Shell("cp -a " + ShellQuote(tmpl) + " " + ShellQuote(prefix_));
    fs::remove(prefix_ + "/.complete");

    const int display = FreeDisplayNumber();
    display_ = ":" + std::to_string(display);
    const std::string screen = "1280x800x24";
    std::vector<std::string> args{"Xvfb", display_, "-screen", "0", screen, "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start Xvfb");
    posix_spawn_file_actions_destroy(&actions);
    xvfbPid_ = pid;
    WaitUntil([&] { return fs::exists("/tmp/.X11-unix/X" + std::to_string(display)); }, 5s);

    // Keep the wineserver alive for the whole test: a program started right after another one ended
    // otherwise meets a dying server and silently does not start.
    Run("wineserver -p >/dev/null 2>&1 </dev/null");
    fs::create_directories(prefix_ + "/drive_c/" + folder_);
    fs::copy_file(WG_WINDOWS_EXE, LinuxExe(), fs::copy_options::overwrite_existing);
}

WineSession::~WineSession() {
    Run("wineserver -k >/dev/null 2>&1 </dev/null");
    if (xvfbPid_ > 0) {
        kill(xvfbPid_, SIGTERM);
        waitpid(xvfbPid_, nullptr, 0);
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string WineSession::Env() const {
    return std::string(kWineEnv) + "WINEPREFIX=" + ShellQuote(prefix_) + " DISPLAY=" + display_ + " ";
}

CommandResult WineSession::Run(const std::string& command) const { return Shell(Env() + command); }

void WineSession::Start(const std::string& args, const std::string& desktop) {
    const std::string command =
        "wine explorer /desktop=" + desktop + ",1280x800 " + ShellQuote(WinExe()) + (args.empty() ? "" : " " + args);
    Shell(Env() + "setsid sh -c " + ShellQuote(command + " >/dev/null 2>&1 &"));
}

void WineSession::InstallTahoma() const {
    const fs::path fonts = fs::path(prefix_) / "drive_c/windows/Fonts";
    fs::create_directories(fonts);
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        const fs::path from = fs::path("/usr/share/wine/fonts") / file;
        if (fs::exists(from)) fs::copy_file(from, fonts / file, fs::copy_options::overwrite_existing);
    }
}

std::vector<std::string> WineSession::FindWindows(const std::string& title) const {
    // xdotool matches a regular expression; anchor it so "Wolkenglas" does not match "Wolkenglas:  CRC-Check".
    std::string pattern = "^";
    for (char c : title) {
        if (std::string(".^$*+?()[]{}|\\").find(c) != std::string::npos) pattern += '\\';
        pattern += c;
    }
    pattern += "$";
    const CommandResult r = Run("xdotool search --name " + ShellQuote(pattern));
    std::vector<std::string> ids;
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) ids.push_back(line);
    return ids;
}

std::optional<std::string> WineSession::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) const {
    std::optional<std::string> found;
    WaitUntil([&] {
        for (const std::string& id : FindWindows(title))
            if (Geometry(id).viewable) found = id;
        return found.has_value();
    }, timeout);
    return found;
}

bool WineSession::WaitForWindowGone(const std::string& title, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return CountViewable(title) == 0; }, timeout);
}

WindowGeometry WineSession::Geometry(const std::string& windowId) const {
    WindowGeometry g;
    const CommandResult r = Run("xwininfo -id " + windowId);
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);) {
        auto value = [&] { return std::atoi(line.substr(line.find(':') + 1).c_str()); };
        if (line.find("Absolute upper-left X:") != std::string::npos) g.x = value();
        else if (line.find("Absolute upper-left Y:") != std::string::npos) g.y = value();
        else if (line.find("Width:") != std::string::npos) g.width = value();
        else if (line.find("Height:") != std::string::npos) g.height = value();
        else if (line.find("Map State:") != std::string::npos) g.viewable = line.find("IsViewable") != std::string::npos;
    }
    return g;
}

std::optional<std::string> WineSession::RegQuery(const std::string& key, const std::string& value) const {
    const CommandResult r = Run("wine reg query " + ShellQuote(key) + " /v " + ShellQuote(value));
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        const std::string lead = "    " + value + "    ";
        if (line.rfind(lead, 0) == 0) {
            const std::string rest = line.substr(lead.size());  // TYPE    DATA
            const auto gap = rest.find("    ");
            return gap == std::string::npos ? std::string() : rest.substr(gap + 4);
        }
    }
    return std::nullopt;
}

void WineSession::RegAdd(const std::string& key, const std::string& value, const std::string& data,
                         const std::string& type) const {
    Run("wine reg add " + ShellQuote(key) + " /v " + ShellQuote(value) + " /t " + type + " /d " + ShellQuote(data) + " /f");
}

std::string WineSession::Screenshot(const std::string& name) const {
    const std::string path = ArtifactDir() + "/" + name + ".png";
    Run("import -window root " + ShellQuote(path));
    return path;
}

bool WineSession::KeepScreenshot(const std::string& shot, const WindowGeometry& g, const std::string& name) const {
    constexpr int kMargin = 16;
    const std::string out = ArtifactDir() + "/" + name + ".png";
    const std::string crop = std::to_string(g.width + 2 * kMargin) + "x" + std::to_string(g.height + 2 * kMargin) + "+" +
                             std::to_string(g.x - kMargin) + "+" + std::to_string(g.y - kMargin);
    if (Run("convert " + ShellQuote(shot) + " -crop " + crop + " +repage " + ShellQuote(out)).exitCode != 0) return false;
    if (const char* update = std::getenv("WG_UPDATE_SCREENSHOTS"); update && *update == '1')
        fs::copy_file(out, std::string(WG_SOURCE_DIR) + "/docs/" + name + ".png", fs::copy_options::overwrite_existing);
    return true;
}

Rgb WineSession::Pixel(const std::string& png, int x, int y) {
    const CommandResult r = Shell("convert " + ShellQuote(png) + " -crop 1x1+" + std::to_string(x) + "+" +
                                  std::to_string(y) + " -depth 8 txt:-");
    Rgb c;
    const auto hash = r.output.find('#', r.output.find('\n'));
    if (hash != std::string::npos) {
        const unsigned long v = std::strtoul(r.output.substr(hash + 1, 6).c_str(), nullptr, 16);
        c = {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
    }
    return c;
}

std::string WineSession::Clipboard() const { return Trimmed(Run("xclip -o -selection clipboard").output); }

std::string WineSession::Caption(const std::string& windowId) const {
    return Trimmed(Run("xdotool getwindowname " + windowId).output);
}

bool WineSession::Key(const std::string& windowId, const std::string& keys) const {
    // There is no window manager to activate windows: a click on the top edge gives the window the
    // focus inside Wine's desktop; keys sent before Windows made it the foreground window get lost.
    auto foreground = [&] {
        return Probe({"window", kDesktop, Caption(windowId)}).find("\nforeground\n") != std::string::npos;
    };
    const bool focused = WaitUntil([&] {
        const WindowGeometry g = Geometry(windowId);
        Run("xdotool mousemove --sync " + std::to_string(g.x + g.width / 2) + " " + std::to_string(g.y + 4) + " click 1");
        return WaitUntil(foreground, 3s);  // a second click only well after the first: no double-click
    }, 30s);
    Run("xdotool key " + keys);
    return focused;
}

std::string WineSession::Probe(const std::vector<std::string>& args) const {
    const std::string exe = prefix_ + "/drive_c/wgprobe.exe";
    if (!fs::exists(exe)) fs::copy_file(std::string(WG_WINDOWS_BUILD_DIR) + "/tools/wgprobe/wgprobe.exe", exe);
    const std::string out = dir_ + "/probe-output.txt";
    std::string command = "wine 'C:\\wgprobe.exe'";
    for (const std::string& a : args) command += " " + ShellQuote(a);
    Run(command + " >" + ShellQuote(out) + " 2>/dev/null </dev/null");
    std::ifstream in(out, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t WineSession::ProgramsRunning() const {
    const std::string prefix = "WINEPREFIX=" + prefix_;
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string argv0, environ;
        std::getline(std::ifstream(entry.path() / "cmdline"), argv0, '\0');
        if (argv0.size() < 14 || argv0.compare(argv0.size() - 14, 14, "Wolkenglas.exe") != 0) continue;
        std::getline(std::ifstream(entry.path() / "environ"), environ, '\n');
        for (std::size_t at = 0; at < environ.size();) {
            const std::size_t end = std::min(environ.find('\0', at), environ.size());
            if (environ.compare(at, end - at, prefix) == 0) {
                ++n;
                break;
            }
            at = end + 1;
        }
    }
    return n;
}

std::size_t WineSession::CountViewable(const std::string& title) const {
    std::size_t n = 0;
    for (const std::string& id : FindWindows(title)) n += Geometry(id).viewable ? 1 : 0;
    return n;
}
