# Shared by the README's commands: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the editor and its tests need.
PACKAGES=(cmake g++ make qt6-base-dev fonts-liberation2 fonts-urw-base35)
TEST_PACKAGES=(xvfb xauth xdotool x11-utils imagemagick procps diffutils)

install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]: the editor, its tests and whatever else is configured.
build() {
    build_only "$1" all "${@:2}"
}

# build_only DIR TARGET [cmake options...]: one program and what it links, no tests.
build_only() {
    local dir="$1" target="$2"
    shift 2
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" --target "$target" -j "$(nproc)"
}
