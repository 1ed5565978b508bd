#!/usr/bin/env bash
# The C++ tests and the Python suite once more, against a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the thread tests against a build with ThreadSanitizer. Any
# sanitizer report fails the run. Needs .venv (scripts/setup.sh --test).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/asan
site=$build/site  # the sanitized module; put ahead of the installed one on PYTHONPATH

# This build compiles each source file on its own, so that both ways of building the subsystems run
# the whole suite: a call that resolves differently once a subsystem is one translation unit shows.
.venv/bin/cmake -S . -B "$build" -G Ninja -DBREVANT_SANITIZE=ON -DBREVANT_BUILD_TESTS=ON -DBREVANT_BUILD_MODULE=ON \
  -DBREVANT_UNITY_BUILD=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DPython_EXECUTABLE="$PWD/.venv/bin/python" -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" >/dev/null
.venv/bin/cmake --build "$build"
.venv/bin/cmake --install "$build" --prefix "$site" >/dev/null

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 .venv/bin/ctest --test-dir "$build" --output-on-failure -j2

# The interpreter is not instrumented, so the runtime must be loaded before it. CPython leaves
# memory allocated at exit on purpose, so leak detection stays off for it.
runtime="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
run_python() {
  LD_PRELOAD="$runtime" ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 PYTHONPATH="$PWD/$site" .venv/bin/python "$@"
}
loaded=$(run_python -c 'import brevant_rs; print(brevant_rs.__file__)')
[ "$loaded" = "$PWD/$site/brevant_rs.abi3.so" ] || { echo "sanitizer run imported $loaded" >&2; exit 1; }
run_python -m pytest tests -q -p no:cacheprovider -m "not heavy" --hypothesis-profile=sanitized

# The thread tests once more, against a build with ThreadSanitizer (the runtime preloaded as
# above; -s lets a report reach the terminal before the sanitizer ends the process).
tsan_build=build/tsan
.venv/bin/cmake -S . -B "$tsan_build" -G Ninja -DBREVANT_SANITIZE_THREAD=ON -DBREVANT_BUILD_MODULE=ON \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DPython_EXECUTABLE="$PWD/.venv/bin/python" \
  -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" >/dev/null
.venv/bin/cmake --build "$tsan_build"
.venv/bin/cmake --install "$tsan_build" --prefix "$tsan_build/site" >/dev/null
LD_PRELOAD="$(gcc -print-file-name=libtsan.so)" TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/scripts/tsan.supp" \
  PYTHONPATH="$PWD/$tsan_build/site" .venv/bin/python -m pytest tests/binding/test_threads.py -q -s -p no:cacheprovider
