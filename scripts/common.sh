# Shared by ./test and ./run: installs what a fresh Debian 12 or 13 machine lacks, then configures and
# builds.

ZAL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZAL_BUILD=${ZAL_BUILD:-$ZAL_ROOT/build}

# Debian packages the build, the tests and the programs need (libminizip-dev and zlib1g-dev:
# libxlsxwriter's pkg-config file asks for minizip on Debian 13 and links -lz on Debian 12, which its
# -dev package pulls in on neither).
ZAL_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
    libgtest-dev libgmock-dev
    libftdi1-dev libarchive-dev libxlsxwriter-dev libminizip-dev zlib1g-dev poppler-utils fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file groff-base lintian git
    libqt6sql6-sqlite libqt6sql6-psql postgresql libpq-dev libsqlite3-dev
)

# What differs between the releases: clang's sanitizer runtime comes with its version in the name
# (Debian 12 has clang 14, Debian 13 clang 19).
case "$(. /etc/os-release && echo "${VERSION_ID:-}")" in
    12) ZAL_CLANG_RUNTIME=libclang-rt-14-dev ;;
    *) ZAL_CLANG_RUNTIME=libclang-rt-19-dev ;;
esac

# Installs what is missing of ZAL_PACKAGES and of any packages named as arguments.
zal_install_packages() {
    local missing=()
    local package
    for package in "${ZAL_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

zal_build() {
    if [ ! -f "$ZAL_BUILD/CMakeCache.txt" ]; then
        # CI builds with warnings as errors; a developer's build only shows them.
        cmake -S "$ZAL_ROOT" -B "$ZAL_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DZAL_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)"
    fi
    cmake --build "$ZAL_BUILD" -j "$(nproc)"
}
