# shellcheck shell=bash
# Installs the Debian packages the project needs, only those that are missing.
# Sourced by scripts/test and scripts/run; works as root or through sudo.

pelo_missing_packages() {
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      echo "$pkg"
    fi
  done
}

pelo_ensure_packages() {
  local missing
  missing=$(pelo_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo="sudo"
    else
      echo "These packages are missing and there is no sudo to install them:" $missing >&2
      return 1
    fi
  fi
  echo "Installing:" $missing
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# What building and running the viewer needs.
PELO_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-svg-dev libqt6svg6
  fonts-ipafont-gothic fonts-ipafont-mincho
)

# What the test suite needs on top: test and benchmark libraries, clang with its
# fuzzer runtime, a real iCalendar parser, an X server for the end-to-end test, and the
# checkers of the desktop entry and the file-type description.
PELO_TEST_PACKAGES=(
  "${PELO_BUILD_PACKAGES[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libical-dev
  xvfb x11-utils xauth imagemagick
  desktop-file-utils shared-mime-info libxml2-utils
)
