#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// An icon image made by the core: colour pixels 0x00RRGGBB (black where transparent) and a mask
// (true = transparent), top-down rows.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colour;
    std::vector<bool> mask;
    bool empty() const { return width <= 0 || height <= 0; }
};

enum class TrayMessage : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The notification-area icon of the program. Texts are Windows-1252 and already cut to their
// fields by the caller.
class TrayPort {
public:
    virtual ~TrayPort() = default;
    // `icon` may be empty: the program's own icon is shown then. Whether the shell took the call
    // (an add fails while there is no notification area).
    virtual bool Notify(TrayMessage message, const IconImage& icon, const std::string& tip,
                        const std::string& balloonTitle, const std::string& balloonText,
                        std::uint32_t balloonFlags, std::uint32_t balloonTimeoutMs) = 0;
    // Shows a pop-up menu of (id, caption) entries at the pointer; the id chosen, or 0.
    virtual int PopUpMenu(const std::vector<std::pair<int, std::string>>& /*entries*/) { return 0; }
};
