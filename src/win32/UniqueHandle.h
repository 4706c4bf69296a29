#pragma once
#include <windows.h>

#include <utility>

// Owns one handle and closes it with Close when destroyed. get/put/reset/release as usual.
template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept { reset(o.release()); return *this; }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return h_; }
    T* put() noexcept { reset(); return &h_; }
    T release() noexcept { return std::exchange(h_, Invalid); }
    void reset(T h = Invalid) noexcept {
        if (h_ != Invalid) Close(h_);
        h_ = h;
    }
    explicit operator bool() const noexcept { return h_ != Invalid; }

private:
    T h_ = Invalid;
};

inline void CloseHandleChecked(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseKey(HKEY k) noexcept { ::RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) noexcept { ::DeleteObject(o); }
inline void DeleteMemoryDC(HDC dc) noexcept { ::DeleteDC(dc); }
inline void DestroyIconHandle(HICON i) noexcept { ::DestroyIcon(i); }

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
