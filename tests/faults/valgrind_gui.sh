#!/usr/bin/env bash
# Runs the real viewer under valgrind memcheck on a virtual display: the demo
# player in the working folder, the start-up dialog accepted with Return, a
# few frames and keys, then Alt+F4. Prints memcheck's summary, the errors
# whose stacks pass through our sources, and the log's last line.
# Slow (Mesa's software renderer under memcheck): not part of ctest.
#   xvfb-run -a -s "-screen 0 1024x768x24" bash valgrind_gui.sh KORVANE MKPLAYER [SUPPRESSIONS]
set -uo pipefail
korvane=$(realpath "$1")
mkplayer=$(realpath "$2")
supp=${3:+--suppressions=$(realpath "$3")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$mkplayer" "$work" >/dev/null || { echo "FAIL: mkplayer"; exit 1; }
cd "$work" || exit 1

valgrind --error-exitcode=9 --leak-check=full --show-leak-kinds=definite,indirect --num-callers=30 --fullpath-after=/work/main/ \
  ${supp:-} --log-file="$work/memcheck.%p.txt" "$korvane" >viewer.out 2>&1 &
pid=$!
timeout 300 xdotool search --sync --name '^Startup Information$' >/dev/null || echo "no start-up dialog"
sleep 2
xdotool key Return
timeout 300 xdotool search --sync --onlyvisible --name '^Korvane$' >/dev/null
sleep 20  # frames under memcheck
w=$(xdotool search --onlyvisible --name '^Korvane$' | head -1)
xdotool windowactivate "$w" 2>/dev/null
for key in KP_Add KP_Add n w; do xdotool key "$key"; sleep 3; done
xdotool key alt+F4
for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$pid" 2>/dev/null && { echo "still running after Alt+F4"; kill "$pid"; }
wait "$pid"
code=$?
echo "exit code under valgrind: $code"
# Forked helper processes (before their exec) write their own files; the
# viewer is the process valgrind was started as.
mv "memcheck.$pid.txt" memcheck.txt 2>/dev/null || { echo "FAIL: no memcheck output"; exit 1; }
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|Invalid (read|write)|uninitialised" memcheck.txt | sort | uniq -c
echo "--- records whose top three frames are in our sources (src/, tools/):"
sed -E 's/^==[0-9]+== ?//' memcheck.txt | awk 'BEGIN {RS = ""} {
    n = split($0, line, "\n"); ours = 0
    for (i = 2; i <= 4 && i <= n; ++i) if (line[i] ~ /[( ](src|tools)\//) ours = 1
    if (ours) print $0 "\n"
  }' | head -200
echo "--- ERROR lines in log.htm: $(grep -c 'ERROR' log.htm)"
echo "--- log.htm last line: $(tail -c 200 log.htm | tr -d '\r' | tail -1)"
cp memcheck.txt "${KV_MEMCHECK_OUT:-/tmp/korvane-memcheck.txt}"
