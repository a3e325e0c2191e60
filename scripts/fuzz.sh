#!/usr/bin/env bash
# Builds the fuzzers with clang into build/fuzz and runs them for a bounded time: the image loaders
# from a generated seed corpus for [seconds] (default 60), then DrawTextA for a quarter of that,
# then stored window descriptions (loaded, sized and drawn as buttons) for half of it.
# Usage: scripts/fuzz.sh [seconds]. Exits non-zero on a crash; inputs land in build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIZO_FUZZ=ON -DDIZO_SANITIZE=ON -DDIZO_TESTS=OFF -DDIZO_BENCH=OFF -DDIZO_QT=OFF >/dev/null
cmake --build "$build" --target fuzz_image_loaders fuzz_draw_text fuzz_descriptions fuzz_seed_corpus -j2
"$build/fuzz/fuzz_seed_corpus" "$build/seeds"
mkdir -p "$build/corpus" "$build/text-corpus" "$build/crashes" "$build/form-seeds" "$build/form-corpus"
# The program's own windows, behind the three bytes that choose a size and a state.
for f in relay/forms/*.frm; do { printf '\x91\x29\x07'; cat "$f"; } > "$build/form-seeds/$(basename "$f")"; done
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
"$build/fuzz/fuzz_image_loaders" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/crashes/" "$build/corpus" "$build/seeds"
"$build/fuzz/fuzz_draw_text" -max_total_time="$(( (seconds + 3) / 4 ))" -timeout=10 -rss_limit_mb=2048 \
  -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/crashes/" "$build/text-corpus"
"$build/fuzz/fuzz_descriptions" -max_total_time="$(( (seconds + 1) / 2 ))" -timeout=20 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/crashes/" "$build/form-corpus" "$build/form-seeds"
