#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (clang, in build-fuzz), replays
# each target's committed corpus as a regression set, then fuzzes it.
#
#   tools/fuzz.sh [--merge] [SECONDS] [TARGET...]
#
# SECONDS   fuzzing time per target (default 60); 0 only replays the corpus.
# TARGET    targets to run (default: every folder of tests/fuzz/corpus).
# --merge   afterwards, add the inputs that reached new code to the committed
#           corpus (minimised with -merge=1); without it, new inputs stay in
#           build-fuzz/fuzz-corpus and never reach git.
#
# A crash fails the run; its input is in build-fuzz/fuzz-artifacts/<target>/.
# tests/fuzz/known_faults.txt lists inputs that crash because of a fault being
# fixed elsewhere: they are replayed on their own, and their target is fuzzed
# without stopping at crashes that match the fault (any other crash fails).
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
seconds=60
targets=()
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    -h | --help) sed -n '2,17p' "$0" && exit 0 ;;
    *[!0-9]*) targets+=("$arg") ;;
    *) seconds="$arg" ;;
  esac
done
corpus_root=tests/fuzz/corpus
known=tests/fuzz/known_faults.txt
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$corpus_root"/*/; do targets+=("$(basename "$dir")"); done
fi

build=build-fuzz
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRITTLEBOX_FUZZ=ON -DGRITTLEBOX_TESTS=OFF -DGRITTLEBOX_BENCH=OFF -DGRITTLEBOX_HOST_CHECK=OFF \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1

# Fields of the known faults of one target: file, then signature, one pair a line.
known_field() { # target field-number
  [ -f "$known" ] || return 0
  awk -F' *[|] *' -v t="$1" -v f="$2" '!/^#/ && $1 == t { print $f }' "$known"
}

# Replays the committed corpus; known faults must still crash, alone.
replay_corpus() { # target exe log
  local t=$1 exe=$2 log=$3 files=() f
  for f in "$corpus_root/$t"/*; do
    printf '%s\n' "${faults[@]}" | grep -qxF "$(basename "$f")" || files+=("$f")
  done
  if [ ${#files[@]} -gt 0 ] && ! "$exe" -runs=1 -timeout=10 "${files[@]}" > "$log" 2>&1; then
    echo "fuzz $t: a corpus input fails (log: $log)"
    grep -E "check failed|ERROR|SUMMARY|runtime error|Running:" "$log" | tail -5
    return 1
  fi
  for f in "${faults[@]}"; do
    if "$exe" -runs=1 "$corpus_root/$t/$f" >> "$log" 2>&1; then
      echo "fuzz $t: known fault $f no longer crashes: remove its line from $known"
    else
      echo "fuzz $t: known fault $f still crashes: $(grep -F "| $f |" "$known" | sed 's/.*| //')"
    fi
  done
  replayed=${#files[@]}
}

# Crash inputs found while fuzzing past known faults: those whose report
# carries a known signature are dropped, any other is a new fault.
sort_out_crashes() { # target exe artifacts
  local t=$1 exe=$2 dir=$3 new=0 crash sig matched report
  for crash in "$dir"/crash-* "$dir"/timeout-* "$dir"/oom-* "$dir"/leak-*; do
    [ -e "$crash" ] || continue
    report=$("$exe" -runs=1 -timeout=10 "$crash" 2>&1 || true)
    matched=0
    for sig in "${signatures[@]}"; do
      if grep -qF -- "$sig" <<< "$report"; then matched=1 && break; fi
    done
    if [ "$matched" -eq 1 ]; then rm -f "$crash"; else new=$((new + 1)) && echo "fuzz $t: new crash $crash"; fi
  done
  return $((new > 0))
}

failed=0
summary=()
for t in "${targets[@]}"; do
  exe="$build/tests/fuzz/fuzz_$t"
  artifacts="$build/fuzz-artifacts/$t"
  work="$build/fuzz-corpus/$t"
  log="$build/fuzz-logs/$t.log"
  mkdir -p "$artifacts" "$work" "$(dirname "$log")"
  mapfile -t faults < <(known_field "$t" 2)
  mapfile -t signatures < <(known_field "$t" 3)

  replayed=0
  replay_corpus "$t" "$exe" "$log" || { failed=1 && continue; }
  if [ "$seconds" -eq 0 ]; then
    summary+=("$t: $replayed corpus inputs pass")
    continue
  fi

  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$artifacts/")
  # Past a known fault the fuzzer keeps going in a child process it restarts.
  [ ${#faults[@]} -eq 0 ] || options+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=0 -ignore_ooms=0)
  # libpng reports every damaged image on stderr; those lines would fill the log.
  if ! "$exe" "${options[@]}" "$work" "$corpus_root/$t" 2>&1 | grep -v '^libpng \(warning\|error\): ' > "$log"; then
    if [ ${#faults[@]} -eq 0 ] || ! sort_out_crashes "$t" "$exe" "$artifacts"; then
      echo "fuzz $t: crash found (log: $log)"
      grep -E "check failed|ERROR|SUMMARY|runtime error|Test unit written" "$log" | tail -5
      failed=1
    fi
  fi
  if [ ${#faults[@]} -eq 0 ]; then
    runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
  else # fork mode prints its running total instead
    runs=$(awk '/^#[0-9]+: cov:/ { r = substr($1, 2, length($1) - 2) } END { print r }' "$log")
  fi
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  rate=$(( ${runs:-0} / seconds ))
  summary+=("$t: ${runs:-?} runs in $seconds s ($rate/s), coverage ${cov:-?}, $(ls "$work" | wc -l) new inputs kept in $work")
  if [ "$merge" -eq 1 ]; then
    "$exe" -merge=1 "$corpus_root/$t" "$work" >> "$log" 2>&1
  fi
done

printf '%s\n' "${summary[@]}"
exit "$failed"
