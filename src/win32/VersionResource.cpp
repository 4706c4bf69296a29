#include "win32/VersionResource.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "win32/Utf8Text.h"

namespace {

// One node of the resource's tree: length, value length, type, a zero-ended UTF-16 key, the
// value and the children, each part aligned to 4 bytes.
struct Node {
    std::wstring_view key;
    const BYTE* value = nullptr;
    WORD valueLength = 0;  // in bytes for binary values, in characters for text
    const BYTE* children = nullptr;
    const BYTE* end = nullptr;
};

const BYTE* Align(const BYTE* p, const BYTE* base) { return base + ((p - base + 3) & ~std::ptrdiff_t{3}); }

bool ReadNode(const BYTE* p, const BYTE* limit, const BYTE* base, Node& node) {
    if (limit - p < 6) return false;
    WORD header[3];
    std::memcpy(header, p, sizeof header);
    if (header[0] < 6 || header[0] > limit - p) return false;
    node.end = p + header[0];
    const auto* key = reinterpret_cast<const wchar_t*>(p + 6);
    std::size_t n = 0;
    while (reinterpret_cast<const BYTE*>(key + n + 1) <= node.end && key[n]) ++n;
    node.key = std::wstring_view(key, n);
    node.value = Align(reinterpret_cast<const BYTE*>(key + n + 1), base);
    if (node.value > node.end) return false;
    // Compilers disagree whether a text's length counts characters or bytes: keep within the node.
    const std::size_t room = static_cast<std::size_t>(node.end - node.value);
    std::size_t valueBytes = header[2] == 1 ? header[1] * sizeof(wchar_t) : header[1];
    if (valueBytes > room) valueBytes = room;
    node.valueLength = static_cast<WORD>(header[2] == 1 ? valueBytes / sizeof(wchar_t) : valueBytes);
    node.children = std::min(Align(node.value + valueBytes, base), node.end);
    return true;
}

// The child of `parent` with this key; any child when `key` is empty.
bool FindChild(const Node& parent, std::wstring_view key, const BYTE* base, Node& found) {
    for (const BYTE* p = parent.children; p < parent.end; p = Align(found.end, base)) {
        if (!ReadNode(p, parent.end, base, found)) return false;
        if (key.empty() || found.key == key) return true;
    }
    return false;
}

}  // namespace

FileVersion ReadVersionResource() {
    FileVersion v;
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    if (!res) return v;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, res)));
    const DWORD size = SizeofResource(nullptr, res);
    Node root;
    if (!data || !ReadNode(data, data + size, data, root)) return v;
    VS_FIXEDFILEINFO info;
    if (root.valueLength >= sizeof info) {
        std::memcpy(&info, root.value, sizeof info);
        if (info.dwSignature == 0xFEEF04BD) {
            v.major = HIWORD(info.dwFileVersionMS);
            v.minor = LOWORD(info.dwFileVersionMS);
            v.build = HIWORD(info.dwFileVersionLS);
            v.revision = LOWORD(info.dwFileVersionLS);
        }
    }
    Node strings, table, description;
    if (FindChild(root, L"StringFileInfo", data, strings) && FindChild(strings, {}, data, table) &&
        FindChild(table, L"FileDescription", data, description) && description.valueLength > 0) {
        std::wstring_view text(reinterpret_cast<const wchar_t*>(description.value), description.valueLength);
        if (const auto zero = text.find(L'\0'); zero != std::wstring_view::npos) text = text.substr(0, zero);
        v.description = WideToUtf8(text);
    }
    return v;
}
