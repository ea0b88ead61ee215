#!/usr/bin/env bash
# Installs the Debian packages Melodane needs, and nothing when they are all present.
#   scripts/deps.sh run       what building and starting the Linux program needs
#   scripts/deps.sh package   what building and checking both packages needs
#   scripts/deps.sh test      everything: both programs and packages, the test rigs and
#                             the benchmarks
set -euo pipefail

run_pkgs=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libx11-dev libxi-dev libasound2-dev
  libfluidsynth-dev libjack-jackd2-dev jackd2 fluid-soundfont-gm
  # The registry's stand-in on Linux
  libsqlite3-dev
  # Tahoma's metric twin, for the window laid out in Tahoma
  fonts-wine
  # Opening the maker's pages in the browser (the update check's HTTPS fetch is Qt
  # Network's, in qt6-base-dev)
  xdg-utils
)
test_pkgs=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev libxtst-dev clang-format
  # The fuzz targets: clang with libFuzzer
  clang libclang-rt-14-dev
  # Qt's own headers, to stand in for a session manager
  qt6-base-private-dev
  # The Windows program's tests, under Wine
  wine wine64
  # Virtual desktops for the windows under test
  xvfb xauth xdotool openbox x11-utils imagemagick trayer xterm
  # Sound for the Linux end-to-end tests
  pulseaudio pulseaudio-utils python3 python3-numpy
  # The key-to-sound benchmark records the sound server's monitor with timing
  libpulse-dev
  # HTTPS test servers with a certificate authority of their own
  openssl
)
package_pkgs=(
  # The Windows program, built with MinGW-w64
  g++-mingw-w64-x86-64-posix
  # The Debian package's library dependencies (dpkg-shlibdeps, which needs file)
  dpkg-dev file
  # Checks of the packages, and of the start-at-logon entry
  lintian appstream desktop-file-utils
)

case "${1:-test}" in
  run) pkgs=("${run_pkgs[@]}") ;;
  package) pkgs=("${run_pkgs[@]}" "${package_pkgs[@]}") ;;
  test) pkgs=("${run_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}") ;;
  *) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
# One command for all of them: installing jackd2 on its own later would remove libfluidsynth-dev.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
