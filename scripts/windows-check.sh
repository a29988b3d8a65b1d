#!/usr/bin/env bash
# The toolkit-free core for Windows: installs MinGW-w64 and Wine where missing, checks that every
# toolkit-free source compiles for Windows, cross-builds the libraries and the fuzz targets'
# replay programs (build/windows-core), and runs the replays under Wine over their seed corpora
# and a generated set of inputs. The Windows program itself needs Qt 6 for Windows (preset
# "windows"), which this machine does not have.
set -euo pipefail
preset=none
source "$(dirname "$0")/setup.sh" g++-mingw-w64-x86-64-posix wine64
cd "$root"

compiler=x86_64-w64-mingw32-g++-posix
includes=(-Imodel -Ilink -Ipersist -Iui -Itools/sim -Ifuzz -Itests/support)
# Each platform file has its counterpart for Windows; the simulator's terminal is Unix-only.
mapfile -t sources < <(git ls-files 'model/*.cpp' 'link/*.cpp' 'persist/*.cpp' 'ui/*.cpp' \
    'tools/sim/*.cpp' 'fuzz/*.cpp' \
    | grep -v -e '^link/qt/' -e '^ui/widgets/' -e '_posix\.cpp$' -e '_iconv\.cpp$' \
        -e '^tools/sim/main\.cpp$')
for source in "${sources[@]}"; do
    "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic "${includes[@]}" "$source"
done
echo "windows syntax check: ${#sources[@]} toolkit-free sources compile with $compiler"

# No Qt for Windows here: the Qt sources are parsed for Windows against this machine's Qt headers,
# which take the Windows branches (Q_OS_WIN) there too. A smoke check, not a build.
qt=/usr/include/x86_64-linux-gnu/qt6
mapfile -t qtSources < <(git ls-files 'link/qt/*.cpp' 'ui/widgets/*.cpp' 'app/*.cpp')
for source in "${qtSources[@]}"; do
    "$compiler" -std=c++20 -fsyntax-only -fPIC -DDRAVIX_APP_ID='"check"' -isystem "$qt" \
        -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets" \
        -isystem "$qt/QtSerialPort" "${includes[@]}" -Ilink/qt -Iui/widgets -Iapp "$source"
done
echo "windows parse check: ${#qtSources[@]} Qt sources parse for Windows (Qt headers of Linux)"

export WINEDEBUG=-all WINEPREFIX=$root/build/windows-core/wineprefix
[ -f build/windows-core/build.ninja ] || cmake --preset windows-core
cmake --build --preset windows-core
ctest --preset windows-core "$@"
