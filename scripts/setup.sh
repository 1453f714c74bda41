#!/bin/sh
# Installs the Debian packages the build needs, only when some are missing.
set -e
packages="cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
googletest libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core clang \
libsqlitecpp-dev libsqlite3-dev"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends $missing
