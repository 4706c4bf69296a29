#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/SettingsStore.h"

// The settings of one application and section in a text file of "Key=Value" lines, UTF-8, for
// hosts without a registry. Keys are compared without regard to case, as registry value names
// are; when a key occurs twice the later line counts, so a line appended by hand wins. Lines
// that are no setting (comments, blanks, anything without "=") are kept as they are. Every write
// replaces the whole file through a temporary file beside it, so the file is never left half
// written. Values of other applications or sections live for the run only: nothing asks for them.
class FileSettingsStore : public SettingsStore {
public:
    FileSettingsStore(std::filesystem::path file, std::string app, std::string section);

    std::string Read(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view def) override;
    void Write(std::string_view app, std::string_view section, std::string_view key,
               std::string_view value) override;
    void Delete(std::string_view app, std::string_view section, std::string_view key) override;

    // A value for this run only: reads see it instead of the file's until the program writes or
    // deletes the key itself; it never reaches the file.
    void Override(std::string_view key, std::string_view value);

    const std::filesystem::path& File() const { return file_; }
    // True when a write could not be stored; the value still counts for the rest of the run.
    bool WriteFailed() const { return writeFailed_; }

private:
    struct Line {
        std::string text;   // as in the file (UTF-8)
        std::string key;    // upper-case Windows-1252 key; empty when the line is no setting
        std::string value;  // Windows-1252
    };

    bool Own(std::string_view app, std::string_view section) const;
    void Change(std::string_view key, const std::string* value);  // null: delete
    static std::vector<Line> Parse(const std::string& content);
    static void Apply(std::vector<Line>& lines, std::string_view key, const std::string* value);
    bool Store(const std::vector<Line>& lines);

    std::filesystem::path file_;
    std::string app_, section_;
    std::vector<Line> lines_;
    std::map<std::string, std::string> overrides_;  // by upper-case key
    std::map<std::tuple<std::string, std::string, std::string>, std::string> others_;
    bool writeFailed_ = false;
};
