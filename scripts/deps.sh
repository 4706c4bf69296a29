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
    libcpp-httplib-dev zlib1g-dev nlohmann-json3-dev libsimdjson-dev libjpeg62-turbo-dev locales
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
WG_WINE_PACKAGES=(wine wine64 fonts-wine xvfb xdotool x11-utils xclip imagemagick)

# Generates the locale "$1.$2" (for example de_DE UTF-8) unless it is installed; Debian ships only
# C and POSIX. The end-to-end tests run Wine with LC_ALL=de_DE.UTF-8 (Wine falls back to English
# without it), and the console front end reads decimal separators and day names from them.
wg_need_locale() {
    local normal="$1.$(printf '%s' "$2" | tr -d '-' | tr 'A-Z' 'a-z')"
    locale -a 2>/dev/null | grep -qx "$normal" && return 0
    echo "Generating locale: $1.$2"
    localedef -i "$1" -f "$2" "$1.$2"
}
