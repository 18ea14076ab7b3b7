#!/bin/sh
# What the tool does when writing fails or a path is not an ordinary file:
# the old output survives, nothing half-written or staged is left, and
# nothing blocks. One ctest test per case.
# Usage: file-safety-cases.sh CASE TOOL IMAGE TEXT (TEXT: the image's source)
set -eu
case_name=$1 tool=$2 image=$3 text=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

small_text() { printf 'U+4E00\tkTotalStrokes\t1\nU+4E01\tkTotalStrokes\t2\n' >"$1"; }

# The command must fail at once, one error line naming what the path is.
refused_quickly() {
  pattern=$1
  shift
  # A refusal takes milliseconds; only a read that blocks or never ends gets
  # near the limit, which is generous for sanitized builds on a busy machine.
  status=0
  timeout 20 "$tool" "$@" >out.txt 2>err.txt || status=$?
  [ "$status" -ne 124 ] || fail "'$*' hung"
  [ "$status" -ne 0 ] || fail "'$*' succeeded"
  [ "$(wc -l <err.txt)" -eq 1 ] && grep -Eq -- "$pattern" err.txt ||
    fail "'$*': expected one line matching '$pattern', got: $(cat err.txt)"
}

case_special_inputs() {
  # One reason per command: every input goes through one opener, whose FIFO
  # and directory words are the App test's, and /dev/zero test_errors'.
  mkdir dir
  # compile takes a directory of split files; a FIFO among them is refused,
  # not passed over.
  small_text dir/Unihan_A.txt && mkfifo dir/Unihan_B.txt
  refused_quickly 'Unihan_B.txt: is a FIFO' compile dir -o result.bin
  python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind("sock")'  # open() says ENXIO
  refused_quickly 'sock: is a socket, not a regular file' show 漢 --data sock
  no_output_left result.bin result.txt
  # A 2 GB sparse file that begins with the image magic is refused by its
  # size, before it is read into memory.
  printf 'vantu unihan binary' >huge.bin && truncate -s 2G huge.bin
  refused_quickly 'huge.bin: too large' show 漢 --data huge.bin
  # An image of another format version is tests/doors' (every door alike).
}

case_report_fails() {
  # The report cannot be written: the old image stays, nothing is staged.
  small_text small.txt
  printf 'the old image\n' >old.bin && cp old.bin old.bin.orig
  if "$tool" compile small.txt -o old.bin >/dev/full 2>err.txt; then fail "compile succeeded"; fi
  cmp old.bin old.bin.orig || fail "a failed report replaced the old image"
  no_staging_left
}

# interrupted DELAY SIGNAL ARGS...: the tool, sent SIGNAL DELAY seconds into
# its run, ends and leaves no staging file. It starts with SIGINT at its
# default action, as from a terminal; a background job's is ignored.
interrupted() {
  delay=$1 signal=$2 && shift 2
  env --default-signal=INT "$tool" "$@" >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  kill -s "$signal" "$pid" 2>/dev/null || true
  # A killed tool ends in milliseconds; one still there after 20 s is stuck,
  # and what it waits on is the report.
  waited=0
  while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt 1000 ]; do
    sleep 0.02
    waited=$((waited + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    stuck=$(grep -E '^(State|Threads|Sig)' "/proc/$pid/status" 2>/dev/null; cat "/proc/$pid/wchan" 2>/dev/null)
    kill -s KILL "$pid" 2>/dev/null || true
    fail "'$*' did not end after SIG$signal at $delay s: $stuck"
  fi
  wait "$pid" 2>/dev/null || true
  no_staging_left
}

case_signals() {
  # Killed at any moment, compile leaves the old image or the new one, and
  # never its staging file; SIGBUS too, which a mapped input truncated in
  # place raises. So does compile-fields, whose image is written apart.
  # SIGBUS's crash dumps are not under test, and a system that hands each
  # to a collector can spend seconds on it: a limit of one byte stops both
  # kinds of dump, as AddressSanitizer's report stops with its handler off.
  ulimit -c 1 2>/dev/null || ulimit -c 0
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}handle_sigbus=0"
  printf 'the old image\n' >out.bin
  for delay in 0.01 0.05 0.1 0.2 0.3; do
    for signal in TERM INT HUP BUS; do
      interrupted "$delay" "$signal" compile "$text" -o out.bin
      cmp -s out.bin "$image" || [ "$(cat out.bin)" = "the old image" ] ||
        fail "out.bin is neither the old nor the new image after SIG$signal"
    done
  done
  for delay in 0.1 0.4 0.8 1.2; do
    for signal in TERM BUS; do interrupted "$delay" "$signal" compile-fields "$text" -o fields.bin; done
  done
  # A signal ignored from the start (nohup; a background job's SIGINT) does
  # not cut the save short.
  "$tool" compile "$text" -o kept.bin >/dev/null 2>&1 &
  pid=$!
  sleep 0.05
  kill -s INT "$pid" 2>/dev/null || true
  wait "$pid" || fail "an ignored SIGINT ended compile"
  cmp -s kept.bin "$image" || fail "an ignored SIGINT cost compile its image"
}

case_failed_writes() {
  # One write failing with ENOSPC, wherever it falls (the library's writes
  # into memory, or the tool's to disk): the dump is whole or absent.
  if ! strace -o /dev/null true 2>/dev/null; then
    echo "skipped: strace cannot trace processes here"
    return
  fi
  "$tool" dump "$image" -o good.txt
  for n in 1 20 60 140 200 260; do
    rm -f out.txt
    status=0
    strace -f -o /dev/null -e trace=write -e inject=write:error=ENOSPC:when=$n \
      "$tool" dump "$image" -o out.txt >/dev/null 2>err.txt || status=$?
    if [ "$status" -eq 0 ]; then
      cmp -s out.txt good.txt || fail "write $n failed and the dump is not whole"
    else
      [ ! -e out.txt ] || fail "write $n failed and a dump was left: $(cat err.txt)"
    fi
    no_staging_left
  done
  printf 'U+4E00\tkTotalStrokes\t1\n' >s.txt && status=0 && strace -f -o /dev/null -e trace=fsync -e inject=fsync:error=EIO:when=1 "$tool" compile s.txt -o s.bin >out.txt 2>&1 || status=$?
  [ "$status $(cat out.txt)" = "1 unihan: s.bin: cannot write (Input/output error)" ] || fail "an image not synced was reported: $(cat out.txt)"
}

case_output_is_input() {
  small_text in.txt && cp in.txt in.txt.orig
  fails_with 'in.txt: is the input in.txt' compile in.txt -o in.txt
  ln in.txt linked.txt
  fails_with 'linked.txt: is the input in.txt' dump in.txt -o linked.txt
  fails_with 'is the input' compile in.txt.orig in.txt -o "$work/in.txt"
  mkdir split && small_text split/Unihan_A.txt
  fails_with 'is the input' compile split -o split/Unihan_A.txt
  cmp in.txt in.txt.orig || fail "the input was changed"
  cmp split/Unihan_A.txt in.txt.orig || fail "the split input was changed"
  # An input named like the old staging file is neither used nor removed.
  cp in.txt x.tmp
  "$tool" compile x.tmp -o x >/dev/null || fail "compile x.tmp -o x"
  cmp x.tmp in.txt.orig || fail "x.tmp was changed or removed"
  [ -s x ] || fail "x was not written"
  # The output gets the mode a new file gets, not its staging file's 0600.
  (umask 0 && "$tool" compile in.txt -o moded >/dev/null && : >plain &&
    [ "$(stat -c %a moded)" = "$(stat -c %a plain)" ]) || fail "the output's mode is not a new file's"
  fails_with '/dev/null: is a device; the output must be a regular file' compile in.txt -o /dev/null
  fails_with 'split: is a directory' dump x -o split
  mkfifo fifo
  refused_quickly 'fifo: is a FIFO; the output must be a regular file' dump x -o fifo
  [ -p fifo ] || fail "the FIFO was replaced"
  no_staging_left
  no_staging_left split
}


case_standard_output() {
  # -o /dev/stdout with standard output sent to a file writes that file; the
  # link /dev/stdout stays a link. Sent to a pipe it is refused.
  small_text small.txt
  "$tool" compile small.txt -o direct.bin >/dev/null
  "$tool" compile small.txt -o /dev/stdout >redirected.bin || fail "compile to /dev/stdout"
  cmp direct.bin redirected.bin || fail "the redirected file is not the image"
  [ -L /dev/stdout ] || fail "/dev/stdout is no longer a link"
  "$tool" dump direct.bin -o /dev/stdout >dump.txt && grep -q '^U+4e00' dump.txt ||
    fail "dump to /dev/stdout"
  "$tool" compile small.txt -o /dev/stdout 2>err.txt | cat >piped.bin
  grep -q 'is a FIFO; the output must be a regular file' err.txt || fail "a pipe was written"
  [ ! -s piped.bin ] || fail "the image went down the pipe"
  no_staging_left
}

# Peak resident memory, in KB, of the tool run with the given arguments (on
# this standard input and standard error).
peak_kb() {
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$tool" "$@"
}

case_memory_bounds() {
  small_text small.txt
  base=$(peak_kb show 一 --data small.txt)
  # Text whose every line is a code point apart from its neighbours: each
  # makes a block of its own, the most a text byte can cost (about 11 bytes).
  python3 -c 'import sys
with open("apart.txt", "w") as f:
    for i in range(200000):
        f.write("U+%X\tkTotalStrokes\t1\n" % (0x20000 + 2 * i))'
  size_kb=$(($(wc -c <apart.txt) / 1024))
  used=$(($(peak_kb show U+20000 --data apart.txt) - base))
  [ "$used" -lt $((16 * size_kb)) ] || fail "text of ${size_kb} KB took ${used} KB"
  # sort holds its input and four bytes for each line that is not empty,
  # beside the bundled data, its index and a table of keys: within three
  # times its input whatever the lines' lengths (empty lines took 25 times).
  base=$(peak_kb sort small.txt)
  for line in '' a 字; do
    python3 -c 'import sys; sys.stdout.write((sys.argv[1] + "\n") * 4000000)' "$line" >lines.txt
    size_kb=$(($(wc -c <lines.txt) / 1024))
    used=$(($(peak_kb sort lines.txt) - base))
    [ "$used" -lt $((3 * size_kb + 16384)) ] ||
      fail "sort of ${size_kb} KB in lines of '$line' took ${used} KB"
    [ "$("$tool" sort lines.txt | wc -l)" -eq 4000000 ] || fail "sort of lines of '$line' lost or doubled some"
  done
  # convert holds a piece of a line, however long the line is (that it
  # converts long lines is convert_stream's).
  base=$(peak_kb convert --to simplified </dev/null)
  used=$(($(head -c 100000000 /dev/zero | tr '\0' a | peak_kb convert --to simplified) - base))
  [ "$used" -lt $((32 * 1024)) ] || fail "convert of a 100 MB line took ${used} KB"
  # Memory that runs out is reported with the tighter limit (the address
  # space's when they are equal), not as std::bad_alloc.
  python3 -c 'with open("many.txt", "w") as f:
    for i in range(600000): f.write("U+%X\tkTotalStrokes\t1\n" % (0x20000 + i))'
  while IFS='|' read -r space data said command; do
    # shellcheck disable=SC2086
    if ([ -z "$space" ] || ulimit -v "$space"; [ -z "$data" ] || ulimit -d "$data"
        exec "$tool" $command </dev/null) >out.txt 2>err.txt; then fail "$command fit"; fi
    [ "$(cat err.txt)" = "unihan: out of memory: the process may use at most $said; raise the limit or give the command less input" ] ||
      fail "$command out of memory: $(cat err.txt)"
  done <<EOF
60000||58 MiB of address space (ulimit -v 60000)|sort lines.txt
60000||58 MiB of address space (ulimit -v 60000)|compile-fields many.txt -o fields.bin
|20000|19 MiB of data (ulimit -d 20000)|sort lines.txt
60000|60000|58 MiB of address space (ulimit -v 60000)|sort lines.txt
EOF
  # Endless input is refused at 1 GiB, which is then about all it holds.
  used=$(cat /dev/zero | peak_kb sort 2>err.txt)
  grep -q 'standard input: more than 1073741824 bytes' err.txt || fail "endless input: $(cat err.txt)"
  [ "$used" -lt $((1600 * 1024)) ] || fail "sort of endless input took ${used} KB"
}

"case_$case_name"
echo "ok: $case_name"
