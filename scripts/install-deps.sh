#!/usr/bin/env bash
# Installs the packages the build, the tests and the screenshots need, and
# only those that are missing, so it is cheap to run before every build.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  libxlsxwriter-dev zlib1g-dev
  clang libclang-rt-14-dev
  fonts-wqy-microhei
  xvfb xauth imagemagick xdotool socat
  dpkg-dev file man-db groff-base desktop-file-utils appstream tshark
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# tshark asks whether ordinary users may capture; the default (no) is fine.
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
