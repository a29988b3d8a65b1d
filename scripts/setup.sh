# Sourced by the scripts: installs what is missing (Debian 12), then configures and builds.
# Quick when everything is there already.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A plain build needs the first five; the tests want the windows' font.
packages=(g++ cmake ninja-build qt6-base-dev qt6-serialport-dev fonts-liberation2)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

cd "$root"
# A script may name another preset before sourcing this one; its build folder is build/<preset>.
# With preset=none only the packages are installed.
preset=${preset:-default}
[ "$preset" != none ] || return 0
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset"
cmake --build --preset "$preset"
