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

# What building and running the viewer needs, and nothing more: scripts/run installs exactly
# these, and scripts/test proves that they are enough.
PELO_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-svg-dev libqt6svg6
  qt6-translations-l10n qt6-l10n-tools
  fonts-ipafont-gothic fonts-ipafont-mincho
  libcpp-httplib-dev libssl-dev
)

# What the test suite needs on top: test and benchmark libraries, clang with its
# fuzzer runtime, a real iCalendar parser, a PDF reader for the exported grid (its text, its
# fonts and its page drawn), an X server with a window manager and a way to type and click
# for the end-to-end test, the checkers of the desktop entry and the file-type description,
# what building and checking the Debian package takes, and Python and clang-format for the
# checks of the source tree (its layers and format, the generated old-calendar tables),
# the real clients of pelo-serve's feed and page (vdirsyncer with khal, headless chromium),
# and the accessibility bus with its Python client for reading the grid as a screen reader does.
PELO_TEST_PACKAGES=(
  "${PELO_BUILD_PACKAGES[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libical-dev
  poppler-utils
  xvfb x11-utils xauth imagemagick openbox xdotool
  desktop-file-utils shared-mime-info libxml2-utils
  dpkg-dev file groff-base
  python3 clang-format-14
  vdirsyncer khal chromium
  at-spi2-core python3-pyatspi dbus-x11
)

# The files of the packages that only the tests install.
pelo_test_only_files() {
  local pkg
  for pkg in "${PELO_TEST_PACKAGES[@]}"; do
    [[ " ${PELO_BUILD_PACKAGES[*]} " == *" $pkg "* ]] && continue
    dpkg-query -L "$pkg" 2>/dev/null
  done
}

# For a build that must do without what only the tests install: CMake arguments, one a line,
# that hide their CMake packages.
pelo_hide_test_cmake_packages() {
  echo "--no-warn-unused-cli"
  # FindGTest finds the library without its CMake package.
  echo "-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON"
  pelo_test_only_files | sed -En 's#.*/([A-Za-z0-9_+-]+)(Config|-config)\.cmake$#\1#p' |
    sort -u | sed 's#.*#-DCMAKE_DISABLE_FIND_PACKAGE_&=ON#'
}

# ... and a new folder for PKG_CONFIG_LIBDIR with links to every pkg-config file of the system
# but theirs; the caller removes it.
pelo_pkg_config_without_tests() {
  local files folder dir pc
  files=$(pelo_test_only_files)
  folder=$(mktemp -d)
  for dir in $(pkg-config --variable pc_path pkg-config | tr ':' ' '); do
    for pc in "$dir"/*.pc; do
      [ -e "$pc" ] && ! grep -qxF "$pc" <<<"$files" && ln -sf "$pc" "$folder/"
    done
  done
  echo "$folder"
}
