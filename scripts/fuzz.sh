#!/usr/bin/env bash
# Builds the fuzzers with clang into build/fuzz and runs each target in two steps: first every
# input of its seed corpus once, in order (deterministic: the committed fuzz/corpus/<target>/ and
# generated seeds), then a bounded random round that grows build/fuzz/corpus-<target>/.
# Usage: scripts/fuzz.sh [seconds] [target...]. `seconds` (default 60) is the image loaders'
# round; the others get a share of it (see ROUNDS). Exits non-zero on a crash; inputs land in
# build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
build=build/fuzz
# target, quarters of `seconds` for its random round, max input length, per-input time-out.
ROUNDS=(
  "image_loaders 4 65536 10"
  "draw_text 1 4096 10"
  "descriptions 2 65536 20"
  "chat_relay 1 4096 10"
  "button 1 2048 10"
  "regions 1 512 10"
  "bridge_wire 1 4096 10"
)
wanted=("$@")
targets=()
for row in "${ROUNDS[@]}"; do
  name="${row%% *}"
  if [ ${#wanted[@]} -eq 0 ] || [[ " ${wanted[*]} " == *" $name "* ]]; then targets+=("fuzz_$name"); fi
done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIZO_FUZZ=ON -DDIZO_SANITIZE=ON -DDIZO_TESTS=OFF -DDIZO_BENCH=OFF -DDIZO_QT=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" fuzz_seed_corpus -j2
mkdir -p "$build/crashes" "$build/seeds-descriptions"
"$build/fuzz/fuzz_seed_corpus" "$build/seeds-image_loaders"
# The program's own windows, behind the three bytes that choose a size and a state.
for f in relay/forms/*.frm; do { printf '\x91\x29\x07'; cat "$f"; } > "$build/seeds-descriptions/$(basename "$f")"; done
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
for row in "${ROUNDS[@]}"; do
  read -r name quarters maxLen timeout <<< "$row"
  [[ " ${targets[*]} " == *" fuzz_$name "* ]] || continue
  fuzzer="$build/fuzz/fuzz_$name"
  seeds=()
  for dir in "fuzz/corpus/$name" "$build/seeds-$name"; do [ -d "$dir" ] && seeds+=("$dir"); done
  options=(-timeout="$timeout" -rss_limit_mb=2048 -max_len="$maxLen" -artifact_prefix="$build/crashes/")
  if [ ${#seeds[@]} -gt 0 ]; then
    echo "== fuzz_$name: replaying ${seeds[*]}"
    "$fuzzer" "${options[@]}" -runs=0 "${seeds[@]}"
  fi
  mkdir -p "$build/corpus-$name"
  echo "== fuzz_$name: random round"
  "$fuzzer" "${options[@]}" -max_total_time="$(( (seconds * quarters + 3) / 4 ))" -print_final_stats=1 \
    "$build/corpus-$name" "${seeds[@]}"
done
