#!/usr/bin/env bash
# Installs the Debian packages Melodane needs, and nothing when they are all present.
#   scripts/deps.sh run    what building and starting the program needs
#   scripts/deps.sh test   everything: both builds, the test rigs and the benchmarks
set -euo pipefail

build_pkgs=(
  cmake ninja-build g++ pkg-config
  # The Windows program, built with MinGW-w64 and run under Wine
  g++-mingw-w64-x86-64-posix wine wine64
  # Linux program
  qt6-base-dev libgl-dev libx11-dev libxi-dev libasound2-dev fonts-wine
  libfluidsynth-dev libjack-jackd2-dev jackd2 fluid-soundfont-gm
  libcurl4-openssl-dev libsqlite3-dev xdg-utils
)
test_pkgs=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev libxtst-dev
  # A virtual display for the windows under test
  xvfb xauth xdotool openbox x11-utils imagemagick
  # Linux end-to-end rig
  pulseaudio pulseaudio-utils trayer xterm python3-numpy
)

case "${1:-test}" in
  run) pkgs=("${build_pkgs[@]}") ;;
  test) pkgs=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
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
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
# One command for all of them: installing jackd2 on its own later would remove libfluidsynth-dev.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
