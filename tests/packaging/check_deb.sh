#!/usr/bin/env bash
# The Debian package as a user installs it: unpacked into a scratch root, its
# program answers --version with the project's version; the manual page, the
# README, the copyright and the changelog are where Debian wants them; the
# manual page renders without a warning; lintian, when installed, finds no
# error.
#   check_deb.sh <build directory> <version>
set -u
build=$1 version=$2
debs=("$build"/nerbo_"$version"_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no nerbo_${version}_*.deb in $build (run cpack first)"; exit 1; }
deb=${debs[0]}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

dpkg -x "$deb" "$root" || exit 1
out=$("$root/usr/bin/nerbo" --version </dev/null 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "--version ended with $status"
[ "$out" = "nerbo $version" ] || fail "--version printed: $out"

for file in usr/share/man/man1/nerbo.1.gz usr/share/doc/nerbo/README.md usr/share/doc/nerbo/copyright \
  usr/share/doc/nerbo/changelog.gz; do
  [ -f "$root/$file" ] || fail "$file is missing"
done

if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/nerbo.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
else
  echo "man is not installed: the manual page is not rendered"
fi

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" || fail "lintian reports errors"
else
  echo "lintian is not installed: the package is not linted"
fi

[ "$failures" -eq 0 ] && echo "$(basename "$deb"): checked"
exit $((failures > 0))
