#!/usr/bin/env bash
# Builds the Debian packages from the package preset (release, without tests and
# benchmarks) and checks them as a user
# meets them: each expected file in its package and in no other, the package
# dependencies, dpkg's dry run of installing all of them on this machine (which
# fails on a dependency it lacks), and then the programs, the man pages and the
# library run from the packages unpacked into a scratch root. Nothing is
# installed: CI's machine is shared and kept for later runs, and a run stopped
# half-way must not leave packages behind.
#
#   tools/check-packages.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset package >/dev/null
cmake --build --preset package --parallel 2
out=build/package/packages
rm -rf "$out"
cpack --config build/package/CPackConfig.cmake -G DEB -B "$out" >/dev/null

# The files each package must hold (paths as dpkg-deb -c lists them).
declare -A expected=(
  [tavrel]="./usr/bin/tavrel ./usr/share/man/man1/tavrel.1.gz
    ./usr/share/bash-completion/completions/tavrel ./usr/share/zsh/vendor-completions/_tavrel
    ./usr/share/doc/tavrel/copyright"
  [libtavrel1]="./usr/lib/libtavrel.so.1 ./usr/lib/libtavrel.so.1.0.0
    ./usr/share/doc/libtavrel1/copyright"
  [libtavrel-dev]="./usr/include/tavrel.h ./usr/lib/libtavrel.so
    ./usr/lib/cmake/tavrel/tavrelConfig.cmake ./usr/lib/cmake/tavrel/tavrelTargets.cmake
    ./usr/lib/pkgconfig/tavrel.pc ./usr/share/doc/libtavrel-dev/copyright"
  [tavrel-gui]="./usr/bin/tavrel-gui ./usr/share/man/man1/tavrel-gui.1.gz
    ./usr/share/applications/tavrel-gui.desktop
    ./usr/share/icons/hicolor/scalable/apps/tavrel-gui.svg
    ./usr/share/doc/tavrel-gui/copyright"
  [python3-tavrel]="./usr/lib/python3/dist-packages/tavrel/__init__.py
    ./usr/lib/python3/dist-packages/tavrel/_installed.py
    ./usr/lib/python3/dist-packages/tavrel/py.typed
    ./usr/share/doc/python3-tavrel/copyright"
)
if command -v rsvg-convert >/dev/null; then
  expected[tavrel-gui]+=" ./usr/share/icons/hicolor/48x48/apps/tavrel-gui.png
    ./usr/share/icons/hicolor/256x256/apps/tavrel-gui.png"
fi

failed=0
declare -A debs contents
for package in "${!expected[@]}"; do
  debs[$package]=$(ls "$out"/"${package}"_*.deb)
  contents[$package]=$(dpkg-deb -c "${debs[$package]}" | awk '{print $6}')
  echo "-- ${package}: $(dpkg-deb -f "${debs[$package]}" Version), depends on: $(dpkg-deb -f "${debs[$package]}" Depends)"
  printf '%s\n' "${contents[$package]}" | grep -v '/$' | sed 's/^/     /'
done
for package in "${!expected[@]}"; do
  for file in ${expected[$package]}; do
    for other in "${!expected[@]}"; do
      holds=false
      grep -qxF "$file" <<<"${contents[$other]}" && holds=true
      if [[ $other == "$package" && $holds == false ]]; then
        echo "FAIL: $file is missing from $package" >&2
        failed=1
      elif [[ $other != "$package" && $holds == true ]]; then
        echo "FAIL: $file belongs to $package but is in $other" >&2
        failed=1
      fi
    done
  done
done
for package in libtavrel-dev python3-tavrel; do
  [[ $(dpkg-deb -f "${debs[$package]}" Depends) == *"libtavrel1 (= "* ]] ||
    { echo "FAIL: $package does not depend on its libtavrel1" >&2; failed=1; }
done
dpkg-deb -I "${debs[libtavrel1]}" shlibs | grep -q '^libtavrel 1 libtavrel1 (>= ' ||
  { echo "FAIL: libtavrel1 has no shlibs entry for libtavrel.so.1" >&2; failed=1; }
((failed == 0)) || exit 1
dpkg --dry-run -i "${debs[@]}" >/dev/null

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
usr=$root/usr

answer=$("$usr"/bin/tavrel check 12030000 9290701)
[[ $answer == $'0\tg\u00fcltig\t'* ]] || { echo "FAIL: tavrel check answered '$answer'" >&2; exit 1; }
for page in tavrel tavrel-gui; do
  man -l "$usr"/share/man/man1/$page.1.gz >/dev/null
done
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr"/bin/tavrel-gui --help >/dev/null
desktop-file-validate "$usr"/share/applications/tavrel-gui.desktop

# The Python package finds the packaged library beside it, by its relative path.
answer=$(env -u TAVREL_LIBRARY PYTHONPATH="$usr"/lib/python3/dist-packages /usr/bin/python3 -c \
  'import tavrel; print(tavrel.account.check("12030000", "9290701").code)')
[[ $answer == valid ]] || { echo "FAIL: the Python package answered '$answer'" >&2; exit 1; }

# A C program built against the development package by its CMake package and by
# its pkg-config file, as the package test builds one against a scratch prefix.
cmake -S tests/package/consumer -B "$root"/consumer -G Ninja -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$root"/consumer >/dev/null
cc -o "$root"/by-pkg-config tests/package/consumer/consumer.c \
  $(PKG_CONFIG_PATH=$usr/lib/pkgconfig pkg-config --cflags --libs tavrel)
for program in consumer/consumer by-pkg-config; do
  LD_LIBRARY_PATH=$usr/lib "$root"/$program | grep -qx '12030000 9290701: 0 valid' ||
    { echo "FAIL: $program against the packaged library" >&2; exit 1; }
done
echo "packages checked: ${!debs[*]}"
