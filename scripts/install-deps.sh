#!/usr/bin/env bash
# Installs the Debian 12 packages Corkpane needs, only those missing.
#   scripts/install-deps.sh          building and running: what scripts/demo.sh
#                                    and an install from source need
#   scripts/install-deps.sh --test   that, and what the tests and benchmarks
#                                    use (servers, other desktops, checkers,
#                                    benchmark peers); scripts/test.sh runs it
#   --list                           prints the chosen set's package names,
#                                    one a line, and installs nothing
# Installs without questions and without starting services.
set -euo pipefail

test=false
list=false
for arg in "$@"; do
  case "$arg" in
    --test) test=true ;;
    --list) list=true ;;
    *) echo "usage: scripts/install-deps.sh [--test] [--list]" >&2; exit 2 ;;
  esac
done

# Building and running: compiler and build tools; the libraries with their
# headers; the Qt plug-ins the program loads while it runs (the window on
# X11 and Wayland, WebP, TIFF and SVG pictures) and Qt's Japanese dialog
# texts; the Japanese font the wallpaper is drawn with; cmark-gfm for the
# guide's HTML, dpkg-dev and file for the Debian package; python3 for
# scripts/demo.sh.
user=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n
  libjpeg62-turbo-dev libwebp-dev libssl-dev libsecret-1-dev libical-dev libcurl4-openssl-dev
  fonts-ipafont-gothic
  cmark-gfm dpkg-dev file
  python3
)

# ---- Test components (--test only) ----------------------------------------
tests=(
  # test and benchmark frameworks; clang for the fuzz targets
  libgtest-dev libgmock-dev libbenchmark-dev clang
  # mail servers and certificates for the mail tests (started privately on
  # loopback by the tests), and the calendar tests' reference reader
  dovecot-pop3d dovecot-imapd openssl python3-icalendar python3-dateutil
  # the keyring tests: gnome-keyring-daemon on a private D-Bus session bus
  gnome-keyring dbus libsecret-tools
  # peers and tools of the tests and benchmarks
  nkf time libjpeg-turbo-progs imagemagick webp netpbm
  # a virtual X server for the window's tests and the screenshots
  xvfb xauth xdotool x11-utils
  # checks of the Debian package, the desktop entry, the AppStream metadata
  # and the manual pages; the Japanese locale they are read in
  fakeroot lintian desktop-file-utils appstream man-db locales
  # the desktops' settings services for the wallpaper tests, and systemd's
  # unit checker
  libglib2.0-bin gsettings-desktop-schemas dconf-gsettings-backend dconf-service
  xfconf feh x11-xserver-utils systemd procps
)
# The other desktops the wallpaper tests start headless, without what they
# only recommend (a whole desktop session otherwise): KDE Plasma's shell,
# sway with swaybg, LXQt's and LXDE's desktop processes, the MATE and
# Cinnamon schemas.
desktops=(
  plasma-workspace plasma-desktop sway swaybg pcmanfm pcmanfm-qt mate-desktop-common cinnamon-desktop-data
)

if $list; then
  printf '%s\n' "${user[@]}"
  if $test; then printf '%s\n' "${tests[@]}" "${desktops[@]}"; fi
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
updated=false

missing() {
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
      echo "$p"
    fi
  done
}

# install_missing [apt-get options] -- packages: the missing ones, without questions;
# package scripts must not start services (tests start their own servers).
install_missing() {
  local options=()
  while [ "$1" != -- ]; do options+=("$1"); shift; done
  shift
  mapfile -t wanted < <(missing "$@")
  ((${#wanted[@]})) || return 0
  echo "Installing: ${wanted[*]}"
  if ! $updated; then
    $sudo apt-get update -qq
    updated=true
  fi
  DEBIAN_FRONTEND=noninteractive RUNLEVEL=1 $sudo apt-get install -y -qq "${options[@]}" "${wanted[@]}"
}

if $test; then
  # As the CI has always had them: with what they recommend.
  install_missing -- "${user[@]}" "${tests[@]}"
  install_missing --no-install-recommends -- "${desktops[@]}"
else
  install_missing --no-install-recommends -- "${user[@]}"
fi

# A locale, generated once when the system lacks it: with --test the
# Japanese one the screenshots are taken in and the manual pages read in;
# otherwise only the user's own (LC_ALL, LC_CTYPE or LANG), when it names one
# the system does not have.
if $test; then
  locale=ja_JP.UTF-8
  why="the tests read the manual pages and take the screenshots in it"
else
  locale=${LC_ALL:-${LC_CTYPE:-${LANG:-}}}
  why="your environment names it and the system lacks it"
fi
case "$locale" in "" | C | POSIX | C.*) exit 0 ;; esac
normal() { tr '[:upper:]' '[:lower:]' | tr -d -- '-'; }
if locale -a 2>/dev/null | normal | grep -qx "$(normal <<<"$locale")"; then
  exit 0
fi
install_missing --no-install-recommends -- locales
line=$(awk -v want="$(normal <<<"$locale")" \
  '{ name = tolower($1); gsub("-", "", name) } name == want { print; exit }' /usr/share/i18n/SUPPORTED)
if [ -z "$line" ]; then
  echo "The locale $locale is not one Debian can generate; leaving it alone"
  exit 0
fi
echo "Generating the locale $locale ($why)"
$sudo sed -i "s/^# *\\($line\\)\$/\\1/" /etc/locale.gen
grep -qx "$line" /etc/locale.gen || echo "$line" | $sudo tee -a /etc/locale.gen >/dev/null
$sudo locale-gen >/dev/null
