#!/usr/bin/env bash
# What the programs answer before doing any work: the fixture generators'
# --help, --version and their refusal of options they do not know, and the viewer (and
# korvane-render) where log.htm cannot be created.
#   program_contract_test.sh MKPLAYER MKMODEL MKSEEDS [KORVANE [KORVANE_RENDER]]
set -u
mkplayer=$(realpath "$1") mkmodel=$(realpath "$2") mkseeds=$(realpath "$3")
korvane=${4:+$(realpath "$4")}
render=${5:+$(realpath "$5")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect NAME STATUS STDOUT-PATTERN STDERR-PATTERN -- COMMAND... (an empty
# pattern checks nothing)
expect() {
  local name=$1 want=$2 out=$3 err=$4
  shift 5
  "$@" >out.txt 2>err.txt
  local status=$?
  [ "$status" = "$want" ] || fail "$name: status $status, expected $want"
  [ -z "$out" ] || grep -Eq "$out" out.txt || fail "$name: stdout '$(head -c 200 out.txt)' does not match '$out'"
  [ -z "$err" ] || grep -Eq "$err" err.txt || fail "$name: stderr '$(head -c 200 err.txt)' does not match '$err'"
}

for tool in mkplayer mkmodel mkseeds; do
  path=${!tool}
  expect "$tool --help" 0 "^usage: $tool " '' -- "$path" --help
  [ -s err.txt ] && fail "$tool --help wrote to stderr"
  expect "$tool --version" 0 "^$tool [0-9]" '' -- "$path" --version
  for option in --help-me -x --; do
    expect "$tool $option" 2 '' "^$tool: unknown option $option\$" -- "$path" "$option"
    grep -q "^usage: $tool " err.txt || fail "$tool $option: no usage line on stderr"
    [ -s out.txt ] && fail "$tool $option wrote to stdout"
  done
done
expect "mkseeds NAME -DIR" 2 '' '^mkseeds: unknown option -DIR$' -- "$mkseeds" fuzz_mds -DIR
[ -z "$(ls -A | grep -v -e '^out.txt$' -e '^err.txt$')" ] || fail "a refused call left files: $(ls -A)"

# mkmodel --defects names each file by its format's ending (MD3's digit
# once became a letter: "clean-md3.mdS").
mkdir defects
expect "mkmodel --defects" 0 '' '' -- "$mkmodel" --defects defects
for file in defects/*; do
  case $file in *.mds | *.mdc | *.md3 | *.mdm | *.mdx) ;; *) fail "mkmodel --defects wrote $file" ;; esac
done
rm -rf defects

# A folder named log.htm: the file cannot be created, even by root.
if [ -n "$korvane" ]; then
  mkdir log.htm
  here=$(pwd -P)
  expect "korvane without log" 1 '' "^korvane: cannot create log.htm in $here: Is a directory\$" -- "$korvane"
  [ "$(wc -l <err.txt)" = 1 ] || fail "korvane without log: $(wc -l <err.txt) lines on stderr"
  if [ -n "$render" ]; then
    expect "korvane-render without log" 1 '' \
      "^korvane-render: cannot create log.htm in $here: Is a directory\$" -- \
      env DISPLAY="${DISPLAY:-:99}" "$render" --base-dir . --model none --out none.png
  fi
fi

[ "$failures" = 0 ] && echo "all program contract checks passed"
exit $((failures > 0))
