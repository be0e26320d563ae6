#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# As root it uses apt-get; otherwise it names what is missing and fails.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpugixml-dev libutf8proc-dev libsqlite3-dev
  fonts-open-sans libcairo2-dev poppler-utils
  fonts-material-design-icons-iconfont python3-fonttools
  libavformat-dev libavcodec-dev libavutil-dev libespeak-ng-dev espeak-ng-data
  chromium
)
# The browser test's driver runs on node with npm; a node that already brings npm is kept.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The browser test's node packages, from tests/web/package-lock.json.
install_web_test_packages() {
  local dir
  dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/web"
  if [ -f "$dir/package-lock.json" ] && command -v npm >/dev/null 2>&1 \
    && ! cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-package-lock.json"; then
    echo "install-deps: npm ci in tests/web"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.installed-package-lock.json)
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  install_web_test_packages
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing Debian packages: ${missing[*]}" >&2
  echo "install-deps: run as root, or: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
install_web_test_packages
