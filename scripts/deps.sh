# Sourced by the other scripts: installs the Debian packages in "$@" that are missing.
wg_need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

WG_BUILD_PACKAGES=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libcpp-httplib-dev nlohmann-json3-dev libsimdjson-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
WG_WINE_PACKAGES=(wine wine64 fonts-wine xvfb xdotool x11-utils xclip imagemagick locales)

# Makes a glibc locale such as de_DE.UTF-8 when it is missing: the end-to-end tests run Wine with
# LC_ALL=de_DE.UTF-8, and Wine falls back to English when the C library lacks the locale.
wg_need_locale() {
    local name=$1 lang=${1%%.*}
    locale -a 2>/dev/null | grep -qix "${lang}\.utf-\?8" && return 0
    echo "Generating locale: $name"
    localedef -i "$lang" -f UTF-8 "$name"
}
