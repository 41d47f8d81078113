#!/usr/bin/env bash
# Runs one fuzz target of build-fuzz/ for SECONDS (default 300), seeded from
# the repository's fixtures. The growing corpus is kept in
# build-fuzz/corpus/TARGET, crashing inputs go to build-fuzz/artifacts/.
# Usage: tests/fuzz/run.sh TARGET [SECONDS] [extra libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/../.."
target=${1:?"usage: tests/fuzz/run.sh fuzz_feed_read|fuzz_feed_text|fuzz_host_json|fuzz_resources [SECONDS]"}
seconds=${2:-300}
shift $(($# < 2 ? $# : 2))
build=build-fuzz
seeds=$build/seeds/$target
corpus=$build/corpus/$target
mkdir -p "$seeds" "$corpus" $build/artifacts

# The first byte of a text or JSON input picks a mode (see the target).
prefixed() { for f in "${@:2}"; do { printf "\\x$1"; cat "$f"; } >"$seeds/$1_$(basename "$f")"; done; }
options=()
case $target in
  fuzz_feed_read)
    find tests/fixtures examples \( -name '*.xml' -o -name '*.rss' \) -exec cp {} "$seeds" \;
    options=(-dict=tests/fuzz/feed.dict -max_len=65536) ;;
  fuzz_feed_text)
    i=0
    for t in "Mon, 01 Jan 2024 00:00:00 +0900" "2024-05-01T12:30:00.5+09:00" "2024-05" \
             "Tue, 31 Dec 2099 23:59:59 GMT" "01:02:05" "45:30" "&amp;&LT;&quot;&gt;&#38;"; do
      i=$((i + 1)); { printf '\x00'; printf '%s' "$t"; } >"$seeds/$i"
    done ;;
  fuzz_host_json)
    mapfile -t files < <(find tests/fixtures -name '*.json')
    prefixed 00 "${files[@]}"; prefixed 01 "${files[@]}" ;;
  fuzz_resources)
    cp $build/module/res/newsdesk.res "$seeds" ;;
  *) echo "run.sh: unknown target $target" >&2; exit 2 ;;
esac

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec $build/bin/$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix=$build/artifacts/$target- "${options[@]}" "$@" "$corpus" "$seeds"
