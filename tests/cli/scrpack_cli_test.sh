#!/usr/bin/env bash
# Runs the scrpack command line as a user would: exit codes, the messages on
# stderr, and the files it leaves (or does not leave) behind.
set -uo pipefail
scrpack="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect CODE STDERR-FRAGMENT -- command...
expect() {
  local code="$1" fragment="$2"; shift 3
  "$@" >out.txt 2>err.txt
  local got=$?
  [ "$got" -eq "$code" ] || fail "$* exited $got, expected $code ($(cat err.txt))"
  if [ -n "$fragment" ] && ! grep -qF -- "$fragment" err.txt out.txt; then
    fail "$*: no '$fragment' in output: $(cat out.txt err.txt)"
  fi
}

printf 'MZ-stub' > installer.exe
printf 'saver-program' > Starfield.scr
printf 'About Starfield\r\nEnjoy.\r\n' > readme.txt
printf 'GIF89a-not-a-bmp' > picture.gif
: > Empty.scr
# 2 x 1 24-bit bitmap: 14-byte file header, 40-byte info header, one padded row.
printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00' > banner.bmp

expect 0 "Example:" -- "$scrpack" --help
expect 0 "scrpack " -- "$scrpack" --version
expect 2 "Usage:" -- "$scrpack"
expect 2 "unknown command" -- "$scrpack" frobnicate

expect 0 "" -- "$scrpack" build --stub installer.exe --saver Starfield.scr --picture banner.bmp --text readme.txt -o StarfieldSetup.exe
expect 0 "status:        valid" -- "$scrpack" info StarfieldSetup.exe
grep -qF 'name:          "Starfield"' out.txt || fail "info shows the default name"
grep -qF '2 x 1 pixels' out.txt || fail "info shows the picture's size: $(cat out.txt)"
expect 0 '"valid": true' -- "$scrpack" info --json StarfieldSetup.exe
expect 0 "Starfield.scr" -- "$scrpack" extract StarfieldSetup.exe -d extracted
cmp -s extracted/Starfield.scr Starfield.scr || fail "extracted saver differs"
cmp -s extracted/Starfield.bmp banner.bmp || fail "extracted picture differs"
cmp -s extracted/Starfield.txt readme.txt || fail "extracted text differs"

expect 1 "picture.gif: picture is neither a JPEG nor a Windows bitmap" -- "$scrpack" build --stub installer.exe --saver Starfield.scr --picture picture.gif -o Bad.exe
expect 1 "Empty.scr: screen saver is empty" -- "$scrpack" build --stub installer.exe --saver Empty.scr -o Bad.exe
expect 1 "at most 51" -- "$scrpack" build --stub installer.exe --saver Starfield.scr --name "$(printf 'n%.0s' {1..52})" -o Bad.exe
expect 1 'name "CON"' -- "$scrpack" build --stub installer.exe --saver Starfield.scr --name CON -o Bad.exe
expect 1 "missing.scr" -- "$scrpack" build --stub installer.exe --saver missing.scr -o Bad.exe
expect 2 "missing --stub" -- "$scrpack" build --saver Starfield.scr -o Bad.exe
[ ! -e Bad.exe ] || fail "a refused build left Bad.exe"
ls ./*.partial >/dev/null 2>&1 && fail "a temporary file was left behind"

head -c 50 StarfieldSetup.exe > Damaged.exe
expect 1 "INVALID" -- "$scrpack" info Damaged.exe
expect 1 "not valid" -- "$scrpack" extract Damaged.exe -d nowhere

[ "$failures" -eq 0 ] && echo "scrpack command line: all checks passed"
exit "$failures"
