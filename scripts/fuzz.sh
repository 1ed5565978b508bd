#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang (installed from Debian's packages when
# missing) and runs each for a fixed budget, starting from its corpus in fuzz/corpus/<target>/.
# A crash, hang, leak or sanitizer report fails the run and leaves the input in build/fuzz/.
#
#   bash scripts/fuzz.sh                      # every target, FUZZ_SECONDS (default 30) each
#   FUZZ_SECONDS=3600 bash scripts/fuzz.sh solid_pipeline
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null || [ ! -e "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
  echo "installing clang and libclang-rt-14-dev with apt-get"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi

seconds=${FUZZ_SECONDS:-30}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(number_text solid_pipeline)
out=build/fuzz
mkdir -p "$out"

# The sources each target needs, by subsystem (the dependency order of the libraries).
declare -A subsystems=([number_text]="exact" [solid_pipeline]="exact solid boolean arrangement merge corefine")

flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Wall -Wextra -Isrc)
export ASAN_OPTIONS=malloc_context_size=3 UBSAN_OPTIONS=print_stacktrace=1
for target in "${targets[@]}"; do
  sources=()
  for subsystem in ${subsystems[$target]}; do sources+=(src/"$subsystem"/*.cpp); done
  clang++ "${flags[@]}" "fuzz/${target}_fuzz.cpp" "${sources[@]}" -lgmp -o "$out/$target"

  # New inputs go to a scratch directory; the corpus in the repository is only read.
  found="$out/$target-found"
  mkdir -p "$found"
  log="$out/$target.log"
  if ! "$out/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$out/$target-" "$found" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz target $target failed; the input is in $out/" >&2
    exit 1
  fi
  echo "fuzz $target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$') executions in ${seconds}s"
done
