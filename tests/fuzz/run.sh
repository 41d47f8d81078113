#!/usr/bin/env bash
# Runs one fuzz target of build-fuzz/ for SECONDS (default 300), seeded from
# the repository's fixtures. The growing corpus is kept in
# build-fuzz/corpus/TARGET, crashing inputs go to build-fuzz/artifacts/.
# Usage: tests/fuzz/run.sh TARGET [SECONDS] [extra libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/../.."
target=${1:?"usage: tests/fuzz/run.sh fuzz_feed_read|fuzz_feed_roundtrip|fuzz_feed_stream|fuzz_node_arena|fuzz_feed_text|fuzz_host_json|fuzz_resources|fuzz_page_edit|fuzz_page_links|fuzz_site_definition [SECONDS]"}
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
  fuzz_feed_read|fuzz_feed_roundtrip|fuzz_feed_stream)
    find tests/fixtures examples \( -name '*.xml' -o -name '*.rss' \) -exec cp {} "$seeds" \;
    options=(-dict=tests/fuzz/feed.dict -max_len=65536) ;;
  fuzz_node_arena)
    # The first byte picks the parser's options: recover, entities, compact, CDATA as text.
    mapfile -t files < <(find tests/fixtures examples \( -name '*.xml' -o -name '*.rss' \))
    prefixed 00 "${files[@]}"; prefixed 03 "${files[@]}"; prefixed 0c "${files[@]}"
    options=(-dict=tests/fuzz/feed.dict -max_len=65536) ;;
  fuzz_page_edit)
    # A mode byte (encoding; 0x80: a link in the head) and a 4-byte cursor
    # before the page; the Japanese page in each encoding it is declared in.
    pages=(examples/site/index.html examples/site/news/page.html tests/fuzz/pages/*.html)
    for f in "${pages[@]}"; do
      for mode in 00 80; do
        { printf "\x$mode\x40\x00\x00\x00"; cat "$f"; } >"$seeds/${mode}_$(basename "$f")"
      done
    done
    for enc in 1:SHIFT_JIS 2:EUC-JP; do
      { printf "\x0${enc%%:*}\x20\x00\x00\x00"; iconv -c -f UTF-8 -t "${enc#*:}" tests/fuzz/pages/japanese.html; } \
        >"$seeds/${enc#*:}.html"
    done
    options=(-max_len=16384) ;;
  fuzz_page_links)
    for f in examples/site/index.html examples/site/news/page.html tests/fuzz/pages/*.html; do
      { printf '\n'; cat "$f"; } >"$seeds/nobase_$(basename "$f")"
      { printf 'https://ann.example/shop/news/\n'; cat "$f"; } >"$seeds/base_$(basename "$f")"
    done
    options=(-max_len=16384) ;;
  fuzz_site_definition)
    i=0
    for f in $(find tests/fixtures examples -name newsdesk-site.json); do
      i=$((i + 1)); cp "$f" "$seeds/$i.json"
    done ;;
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
