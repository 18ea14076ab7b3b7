# Shared by the tool's case scripts: each case runs in a fresh temporary
# directory that is removed however the case ends.
# Usage: . common.sh CASE  (after setting tool=PATH)
work=$(mktemp -d "${TMPDIR:-/tmp}/unihan-$1.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
has() { printf '%s\n' "$1" | grep -Eq -- "$2" || fail "no line matching '$2' in:
$1"; }

# The command must fail with exactly one stderr line "unihan: ...", and
# print nothing on stdout; with $wanted set, exit with that status.
fails() {
  status=0
  "$tool" "$@" >out.txt 2>err.txt || status=$?
  [ "$status" -ne 0 ] || fail "'$*' succeeded"
  [ -z "${wanted:-}" ] || [ "$status" -eq "$wanted" ] || fail "'$*' exited with $status"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "'$*' stderr is not one line: $(cat err.txt)"
  grep -q '^unihan: ' err.txt || fail "'$*' stderr lacks the prefix: $(cat err.txt)"
  [ ! -s out.txt ] || fail "'$*' printed on stdout: $(cat out.txt)"
}

# Like fails, and the one line must also match a pattern.
fails_with() {
  pattern=$1
  shift
  fails "$@"
  grep -Eq -- "$pattern" err.txt || fail "'$*': expected '$pattern', got: $(cat err.txt)"
}

# No staging file of the tool in the directory (default: here).
no_staging_left() {
  leftover=$(ls -A "${1:-.}" | grep '^\.unihan-' || true)
  [ -z "$leftover" ] || fail "staging file left behind: $leftover"
}

no_output_left() {
  for f in "$@"; do [ ! -e "$f" ] || fail "$f left behind"; done
  no_staging_left
}
