#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the benchmarks and CI need.
# Run as root (or through sudo).
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev python3
          clang libclang-rt-14-dev clang-format pkg-config libcpp-httplib-dev nlohmann-json3-dev
          chromium chromium-driver python3-selenium wrk
          python3-numpy python3-pandas python3-dask python3-distributed python3-setuptools
          python3-venv python3-pip help2man dpkg-dev file man-db zsh librsvg2-bin
          desktop-file-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
