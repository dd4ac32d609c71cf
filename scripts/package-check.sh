#!/usr/bin/env bash
# Builds the Debian package in BUILD_DIR, checks it with lintian, installs it
# into a staging folder and starts each installed program, as a technician's
# machine would get it:
#
#     scripts/package-check.sh BUILD_DIR [CMAKE_ARGS...]
#
# A BUILD_DIR without a build is configured as a release, with CMAKE_ARGS
# added, and only the installed programs are built in it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: scripts/package-check.sh BUILD_DIR [CMAKE_ARGS...]" >&2; exit 2; }
dir=$1
shift
programs=(Prendix Vextora qmr770-sim)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # The package takes the programs alone: installing need not build the tests.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target "${programs[@]}"

echo "== package =="
rm -f "$dir"/qmr770-utils_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/qmr770-utils_*.deb)
echo "$deb"
dpkg-deb --field "$deb" Package Version Depends

stage=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$stage"
}
trap cleanup EXIT
dpkg -x "$deb" "$stage/root"
bin=$stage/root/usr/bin
failed=0
fail() { echo "package-check: $*" >&2; failed=1; }

# Debian's own checks: an error or a warning fails, and so does a lintian that
# cannot run at all (its exit status is then not 0 either).
if ! command -v lintian >/dev/null; then
  fail "lintian is not installed (scripts/setup.sh installs it)"
else
  rc=0
  report=$(lintian --fail-on error,warning "$deb" 2>&1) || rc=$?
  if [ "$rc" -ne 0 ] || grep -q '^[EW]: ' <<<"$report"; then
    fail "lintian ended with $rc:"$'\n'"$report"
  else
    echo "lintian: no errors or warnings"
  fi
fi

for p in "${programs[@]}"; do
  [ -x "$bin/$p" ] || fail "$p is not installed in /usr/bin"
  if ldd "$bin/$p" | grep -q "not found"; then fail "$p links a library that is not there"; fi
  page=$stage/root/usr/share/man/man1/$p.1.gz
  if [ -f "$page" ]; then
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot show $p's manual page"
    [ -z "$warnings" ] || fail "$p's manual page: $warnings"
  else
    fail "$p has no manual page"
  fi
done
for entry in prendix:Prendix vextora:Vextora qmr770-sim:qmr770-sim; do
  file=$stage/root/usr/share/applications/${entry%%:*}.desktop
  grep -qx "Exec=${entry#*:}" "$file" 2>/dev/null || fail "no desktop entry starting ${entry#*:}"
done

# The installed simulator starts, names its device and keeps its state.
coproc SIM { exec "$bin/qmr770-sim" --state "$stage/printer.state" --start ready; }
sim_pid=$SIM_PID
pty=
read -r -t 10 pty <&"${SIM[0]}" || true
case "$pty" in /dev/*) echo "qmr770-sim: $pty" ;; *) fail "qmr770-sim did not name its device" ;; esac

# Each program, offscreen, is still running after a few seconds; the timeout
# then ends it (exit 124). Anything else means it did not start or gave up.
for p in Prendix Vextora; do
  rc=0
  HOME=$stage/home XDG_CONFIG_HOME=$stage/home/.config QT_QPA_PLATFORM=offscreen QMR770_PORTS=$pty \
    timeout -s TERM 3 "$bin/$p" >"$stage/$p.log" 2>&1 || rc=$?
  if [ "$rc" -eq 124 ]; then
    echo "$p: started and ran"
  else
    fail "$p ended with $rc: $(head -c 500 "$stage/$p.log")"
  fi
done
[ "$failed" -eq 0 ] && echo "package-check: the package installs and its programs start"
exit "$failed"
