#pragma once
#include <windows.h>

#include <atomic>
#include <utility>

inline void CloseHandleChecked(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseKey(HKEY k) noexcept { ::RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) noexcept { ::DeleteObject(o); }
inline void DeleteMemoryDC(HDC dc) noexcept { ::DeleteDC(dc); }
inline void DestroyIconHandle(HICON i) noexcept { ::DestroyIcon(i); }

// The handles alive in these owners, by kind: GDI objects, USER objects (icons) and the rest
// (kernel, registry, WinHTTP). The soak run reads them through the widget's window, since Wine's
// GetGuiResources and GetProcessHandleCount count nothing.
enum class HandleKind { Other, Gdi, User };
inline std::atomic<long> gLiveHandles[3];

template <auto Close>
inline constexpr HandleKind kKindOf = HandleKind::Other;
template <>
inline constexpr HandleKind kKindOf<&DeleteGdiObject> = HandleKind::Gdi;
template <>
inline constexpr HandleKind kKindOf<&DeleteMemoryDC> = HandleKind::Gdi;
template <>
inline constexpr HandleKind kKindOf<&DestroyIconHandle> = HandleKind::User;

// Owns one handle and closes it with Close when destroyed. get/put/reset/release as usual.
template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T h) noexcept : h_(h) { Count(h_, 1); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) { Count(h_, 1); }
    UniqueHandle& operator=(UniqueHandle&& o) noexcept { reset(o.release()); return *this; }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return h_; }
    T* put() noexcept { reset(); return &h_; }
    T release() noexcept {
        Uncount();
        return std::exchange(h_, Invalid);
    }
    void reset(T h = Invalid) noexcept {
        if (h_ != Invalid) Close(h_);
        Uncount();
        h_ = h;
        Count(h_, 1);
    }
    explicit operator bool() const noexcept { return h_ != Invalid; }

private:
    // A handle filled in through put() was never counted and is not uncounted either.
    void Count(T h, long n) noexcept {
        if (h == Invalid) return;
        gLiveHandles[static_cast<int>(kKindOf<Close>)] += n;
        counted_ = n > 0;
    }
    void Uncount() noexcept {
        if (counted_) Count(h_, -1);
        counted_ = false;
    }
    T h_ = Invalid;
    bool counted_ = false;
};

using unique_handle = UniqueHandle<HANDLE, CloseHandleChecked>;
using unique_hkey = UniqueHandle<HKEY, CloseKey>;
using unique_hdc = UniqueHandle<HDC, DeleteMemoryDC>;
using unique_hbitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using unique_hfont = UniqueHandle<HFONT, DeleteGdiObject>;
using unique_hbrush = UniqueHandle<HBRUSH, DeleteGdiObject>;
using unique_hpen = UniqueHandle<HPEN, DeleteGdiObject>;
using unique_hicon = UniqueHandle<HICON, DestroyIconHandle>;

// Selects an object into a DC and restores the previous one when destroyed.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectObjectScope() { ::SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
