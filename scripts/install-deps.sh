#!/usr/bin/env bash
# Installs the Debian 12 packages Corkpane needs to build, test and benchmark.
# Does nothing when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev libwebp-dev libssl-dev
  # the calendars: fetching over HTTPS and reading iCalendar
  libcurl4-openssl-dev libical-dev
  fonts-ipafont-gothic locales
  dovecot-pop3d openssl
  nkf time libjpeg-turbo-progs imagemagick python3
  xvfb xauth xdotool x11-utils
  qt6-qpa-plugins
  # WebP, TIFF and SVG pictures (Qt's image plug-ins); cwebp, dwebp and
  # pngtopnm make and read pictures in the tests and benchmarks
  qt6-image-formats-plugins libqt6svg6 webp netpbm
  # tests and benchmarks only: the calendar benchmark's peer (Python's
  # icalendar with dateutil, run with Debian's /usr/bin/python3)
  python3-icalendar python3-dateutil
  # the Debian package and its checks; the guide's HTML and the manual pages
  dpkg-dev fakeroot file lintian desktop-file-utils appstream cmark-gfm man-db
  # real desktops for the wallpaper tests, and systemd's unit checker
  libglib2.0-bin gsettings-desktop-schemas dconf-gsettings-backend dconf-service dbus
  xfconf feh x11-xserver-utils systemd procps
)

# The other desktops the wallpaper tests start headless, without what they
# only recommend (a whole desktop session otherwise): KDE Plasma's shell,
# sway with swaybg, LXQt's and LXDE's desktop processes, the MATE and
# Cinnamon schemas.
desktops=(
  plasma-workspace plasma-desktop sway swaybg pcmanfm pcmanfm-qt mate-desktop-common cinnamon-desktop-data
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
    missing+=("$p")
  fi
done

missing_desktops=()
for p in "${desktops[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
    missing_desktops+=("$p")
  fi
done

if ((${#missing[@]} + ${#missing_desktops[@]})); then
  echo "Installing: ${missing[*]} ${missing_desktops[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  # Package scripts must not try to start services (no init system here);
  # tests start their own servers.
  if ((${#missing[@]})); then
    DEBIAN_FRONTEND=noninteractive RUNLEVEL=1 $sudo apt-get install -y -qq "${missing[@]}"
  fi
  if ((${#missing_desktops[@]})); then
    DEBIAN_FRONTEND=noninteractive RUNLEVEL=1 $sudo apt-get install -y -qq --no-install-recommends \
      "${missing_desktops[@]}"
  fi
fi

# The Japanese locale: the screenshots are taken in it, and the manual pages
# are read in it (man -L ja). Generated once, when the system lacks it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "Generating the locale ja_JP.UTF-8"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
