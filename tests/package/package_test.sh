#!/usr/bin/env bash
# The Debian package as a user and Debian's tools meet it.
#
#   package_test.sh build PACKAGE     runs tools/package when PACKAGE is missing or older than the sources
#   package_test.sh contents PACKAGE  lintian, AppStream, the desktop entry, the manual pages, the files
#   package_test.sh reader PACKAGE    the reader started from an unpacked, read-only copy under Xvfb
#   package_test.sh install PACKAGE   apt-get install and remove (only as root with CI=true or
#                                     SICI_PACKAGE_INSTALL_TEST=1; skipped with 77 elsewhere)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
what=${1:?usage: package_test.sh build|contents|reader|install PACKAGE}
package=${2:?usage: package_test.sh build|contents|reader|install PACKAGE}

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok      $what"
  else
    echo "FAILED  $what"
    failures=$((failures + 1))
  fi
}
finish() {
  echo "$failures failure(s)"
  [ "$failures" -eq 0 ]
  exit
}

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

unpack() {
  dpkg-deb -x "$package" "$scratch/root" || { echo "FAILED  dpkg-deb -x $package"; exit 1; }
}

run_build() {
  # Every folder whose files go into the package, or into the programs it holds.
  local sources=(CMakeLists.txt app platform data grid skin collection tools assets packaging)
  if [ -f "$package" ] && [ -z "$(cd "$repo" && find "${sources[@]}" -newer "$package" -type f -print -quit)" ]; then
    echo "$package is newer than its sources"
    exit 0
  fi
  echo "building $package with tools/package"
  "$repo/tools/package" >"$scratch/package.log" 2>&1 || { tail -n 60 "$scratch/package.log"; exit 1; }
  [ -f "$package" ] || { echo "tools/package did not write $package"; exit 1; }
}

field() { dpkg-deb --field "$package" "$1"; }

depends_on() {
  local wanted=$1
  field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx -- "$wanted"
}

depends_on_all() {
  local wanted
  for wanted; do depends_on "$wanted" || return 1; done
}

png_is() {
  local file=$1 size=$2
  file -b "$file" | grep -q "PNG image data, $size x $size,"
}

man_renders_cleanly() {
  local page=$1 warnings
  zcat "$page" >/dev/null || return 1
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
}

gzip_has_no_timestamp() {
  [ "$(od -An -tu4 -j4 -N4 "$1" | tr -d ' ')" = 0 ]
}

no_maintainer_scripts() {
  local listed
  listed=$(dpkg-deb --ctrl-tarfile "$package" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
  [ "$listed" = "control md5sums " ] || { echo "control files: $listed"; return 1; }
}

lintian_passes() {
  # Overridden tags are listed by lintian-overrides with their reasons; any other warning or error fails.
  lintian --fail-on error,warning --display-info "$package"
}

check_contents() {
  unpack
  local root=$scratch/root
  check "lintian: no error and no warning that is not overridden with its reason" lintian_passes
  check "appstreamcli validate-tree: metainfo, desktop entry and icons" \
    appstreamcli validate-tree --no-net "$root"
  check "appstreamcli validate: the metainfo file" \
    appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.tavrin.sici.metainfo.xml"
  local desktop=$root/usr/share/applications/tavrin-sici.desktop
  check "desktop-file-validate: no error and no warning" \
    bash -c 'out=$(desktop-file-validate "$1" 2>&1) && [ -z "$out" ] || { echo "$out"; false; }' sh "$desktop"
  for line in 'Name=Tavrin诗词大全' 'Exec=tavrin-sici' 'Icon=tavrin-sici' 'Categories=Education;Literature;'; do
    check "the desktop entry says $line" grep -qxF -- "$line" "$desktop"
  done

  check "the launcher is /usr/bin/tavrin-sici" test -x "$root/usr/bin/tavrin-sici"
  for program in sici sici-collect sici-pinyin sici-skinpack; do
    check "/usr/lib/tavrin-sici/$program is a program" test -x "$root/usr/lib/tavrin-sici/$program"
  done
  check "the pinyin dictionary is beside the programs that read it" test -s "$root/usr/lib/tavrin-sici/sici.pinyin"
  check "the reader is not on PATH under its generic name" test ! -e "$root/usr/bin/sici"
  for tool in sici-collect sici-pinyin sici-skinpack; do
    check "/usr/bin/$tool links to the program beside the dictionary" \
      test "$(readlink "$root/usr/bin/$tool")" = "../lib/tavrin-sici/$tool"
  done
  for file in sici.idb sici.dbf sici.poems readme.txt; do
    check "the collection holds $file" test -s "$root/usr/share/tavrin-sici/collection/$file"
  done
  check "readme.txt is the repository's" cmp -s "$repo/assets/readme.txt" "$root/usr/share/tavrin-sici/collection/readme.txt"
  check "the default collection's note names more than 100000 poems" \
    test "$(cat "$root/usr/share/tavrin-sici/collection/sici.poems")" -gt 100000
  check "the icon's SVG" test -s "$root/usr/share/icons/hicolor/scalable/apps/tavrin-sici.svg"
  for size in 16 22 24 32 48 64 128 256; do
    check "the icon at ${size}x$size is a PNG of that size" \
      png_is "$root/usr/share/icons/hicolor/${size}x$size/apps/tavrin-sici.png" "$size"
  done
  for page in tavrin-sici sici-collect sici-pinyin sici-skinpack; do
    check "the manual page $page.1.gz renders without a warning" man_renders_cleanly "$root/usr/share/man/man1/$page.1.gz"
  done
  local doc=$root/usr/share/doc/tavrin-sici
  check "changelog.Debian.gz is compressed without a time stamp" gzip_has_no_timestamp "$doc/changelog.Debian.gz"
  check "the copyright file is machine-readable" \
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
  for named in 'chinese-poetry 2.0.1' '@pinyin-pro/data 1.3.1' 'License: Expat' 'License: ISC' 'License: Unicode-3.0'; do
    check "the copyright file names $named" grep -qF -- "$named" "$doc/copyright"
  done

  # What the programs load at run time, which dpkg-shlibdeps cannot see.
  check "the reader asks the loader for libsqlcipher.so.0" grep -qa 'libsqlcipher\.so\.0' "$root/usr/lib/tavrin-sici/sici"
  local sqlcipher
  sqlcipher=$(dpkg -S '*/libsqlcipher.so.0' 2>/dev/null | head -n 1 | cut -d: -f1)
  check "Depends names the package holding libsqlcipher.so.0 (${sqlcipher:-not installed here})" \
    depends_on "${sqlcipher:-libsqlcipher0}"
  local opencc
  opencc=$(dpkg -S /usr/share/opencc/t2s.json 2>/dev/null | cut -d: -f1)
  check "Depends names the package holding OpenCC's t2s.json (${opencc:-not installed here})" \
    depends_on "${opencc:-libopencc-data}"
  check "Depends comes from dpkg-shlibdeps too (libc6, libqt6widgets6)" depends_on_all libc6 libqt6widgets6
  check "no maintainer scripts: nothing at install, upgrade or removal touches a home folder" no_maintainer_scripts
  check "the package's version is the project's" \
    test "$(field Version)" = "$(sed -n 's/^tavrin-sici \([^ ]*\)$/\1/p' <(bash "$root/usr/bin/tavrin-sici" --version))-1"
  finish
}

# A listing of every entry under a folder with its kind, mode, size, time and link target.
listing() { (cd "$1" && find . -printf '%p %y %m %s %T@ %l\n' | sort); }

check_reader() {
  unpack
  local root=$scratch/root home=$scratch/home traces=$scratch/traces harness=$scratch/harness
  check "tavrin-sici --version from the unpacked copy" \
    bash -c '[[ "$("$1" --version)" =~ ^tavrin-sici\ [0-9]+\.[0-9]+\.[0-9]+$ ]]' sh "$root/usr/bin/tavrin-sici"
  chmod -R a-w "$root"
  local before
  before=$(listing "$root")
  mkdir -p "$home" "$traces" "$harness"
  # Root may write anywhere: the reader runs as nobody, so that the read-only copy stays read-only
  # for it as it is for a user of the installed package.
  local as_user=()
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$home" "$traces" "$harness"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  (cd "$harness" && "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$harness" LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    dbus-run-session -- /usr/bin/python3 "$here/drive_reader.py" "$root" "$home" "$traces")
  check "the reader, started twice from an unpacked read-only copy, behaves (see above)" test $? -eq 0
  check "the unpacked copy is unchanged" test "$before" = "$(listing "$root")"
  finish
}

check_install() {
  if [ "$(id -u)" -ne 0 ] || { [ "${CI:-}" != true ] && [ "${SICI_PACKAGE_INSTALL_TEST:-}" != 1 ]; }; then
    echo "skipped: installs and removes the package system-wide, so it runs only as root with CI=true or SICI_PACKAGE_INSTALL_TEST=1"
    exit 77
  fi
  if dpkg-query -W -f='${db:Status-Status}' tavrin-sici 2>/dev/null | grep -qx installed; then
    echo "skipped: tavrin-sici is installed already, and this test removes what it installs"
    exit 77
  fi
  local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -y -q)
  if ! "${apt[@]}" install "$package" >"$scratch/apt.log" 2>&1; then
    "${apt[@]}" update >>"$scratch/apt.log" 2>&1
    "${apt[@]}" install "$package" >>"$scratch/apt.log" 2>&1 || { tail -n 30 "$scratch/apt.log"; echo "FAILED  apt-get install"; exit 1; }
  fi
  echo "ok      apt-get install $package"
  local version
  version=$(dpkg-deb --field "$package" Version)
  check "tavrin-sici --version answers ${version%-*}" test "$(tavrin-sici --version)" = "tavrin-sici ${version%-*}"
  check "sici-pinyin on PATH reads by the installed dictionary" \
    test "$(sici-pinyin 床前明月光)" = "chuáng qián míng yuè guāng"
  check "the desktop entry is installed for menus" test -f /usr/share/applications/tavrin-sici.desktop

  dpkg -L tavrin-sici >"$scratch/files"
  "${apt[@]}" remove tavrin-sici >>"$scratch/apt.log" 2>&1 || { tail -n 30 "$scratch/apt.log"; echo "FAILED  apt-get remove"; exit 1; }
  echo "ok      apt-get remove tavrin-sici"
  local left=()
  while IFS= read -r path; do
    [ "$path" = /. ] && continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
      # A folder may stay only while another package holds it.
      dpkg -S "$path" >/dev/null 2>&1 || left+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
      left+=("$path")
    fi
  done <"$scratch/files"
  check "no file of the package is left (${left[*]:-})" test ${#left[@]} -eq 0
  finish
}

case "$what" in
  build) run_build ;;
  contents) check_contents ;;
  reader) check_reader ;;
  install) check_install ;;
  *) echo "unknown check $what" >&2; exit 2 ;;
esac
