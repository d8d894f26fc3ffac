#!/usr/bin/env bash
# Installs what is missing, builds, and then starts the editor or runs every test.
#   tools/kelvari.sh start [--network]   build and start the editor
#   tools/kelvari.sh test                build and run every test, run them again built with address and
#                                        undefined-behaviour checks, fuzz every fuzz target for a minute,
#                                        and print how many lines of tests there are to lines of program
# Everything runs inside a private network namespace holding only loopback, so
# nothing leaves the machine; "start --network" opts into the real network.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
fuzz_build="$top/build-fuzz"
sanitize_build="$top/build-asan"
# Each test stops at its first finding; leaks that only Qt, fontconfig or D-Bus themselves keep are suppressed.
sanitizer_env=(ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
    LSAN_OPTIONS=suppressions=$top/tools/sanitizers/lsan.supp:print_suppressions=0
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1)
mode=${1:-}
# Each has fuzz/fuzz_<name>.cpp, seeds in tests/data/fuzz-seeds/<name> and may have a fuzz/<name>.dict.
fuzz_targets=(config_reader image_import frame_decoder discovery_datagram window_geometry)

packages=(cmake g++ make pkg-config
    qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools libqt5svg5-dev qtquickcontrols2-5-dev
    qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls2
    qml-module-qtquick-controls qml-module-qtquick-layouts qml-module-qtquick-dialogs
    qml-module-qtquick-shapes qml-module-qtgraphicaleffects qml-module-qtqml-models2
    qml-module-qtqml-statemachine qml-module-qt-labs-platform qml-module-qttest
    libqt5svg5 fonts-lato xvfb xauth imagemagick libgl1-mesa-dri iproute2 util-linux poppler-utils
    clang libclang-rt-14-dev)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build_all() {
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j "$(nproc)"
}

# The fuzz targets in a tree of their own: instrumented, and built by clang where the rest is built by g++.
build_fuzz() {
    CC=clang CXX=clang++ cmake -S "$top" -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELVARI_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$fuzz_build" -j "$(nproc)" --target "${fuzz_targets[@]/#/fuzz_}"
}

# A minute of one fuzz target on a copy of its seeds; any crash, leak, hang or runaway memory fails it,
# and the input that did it is kept in build-fuzz/findings/<name>. Leaks are looked for after each input that
# allocates more than it frees; the extra whole-process check at exit is left out, since what Qt keeps until
# then is no finding and the checker's own thread tracer now and then crashes on a process that is exiting.
fuzz_one() {
    local name=$1 work="$scratch/fuzz-$1" dict=()
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$top/tests/data/fuzz-seeds/$name"/* "$work/corpus/"
    [ -f "$top/fuzz/$name.dict" ] && dict=(-dict="$top/fuzz/$name.dict")
    if ! isolated env "${scratch_env[@]}" LSAN_OPTIONS=leak_check_at_exit=0 \
        "$fuzz_build/fuzz/fuzz_$name" -max_total_time=60 -rss_limit_mb=2048 -timeout=10 \
        -detect_leaks=1 -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1; then
        grep -v '^libpng' "$work/log" | tail -n 60 >&2
        mkdir -p "$fuzz_build/findings/$name"
        cp "$work"/artifacts/* "$fuzz_build/findings/$name/" 2>/dev/null || true
        echo "Fuzzing $name failed; the input is in $fuzz_build/findings/$name" >&2
        return 1
    fi
    echo "fuzz_$name: $(grep -E '^Done ' "$work/log")"
}

# Lines of tests (the simulated unit included) against lines of program, as git holds them.
count_lines() {
    git -C "$top" ls-files -- "$@" | grep -E '\.(cpp|h|qml|frag)$' | (cd "$top" && xargs cat) | wc -l
}
print_test_ratio() {
    local tests program
    tests=$(count_lines tests)
    program=$(count_lines . ':!tests')
    awk -v t="$tests" -v p="$program" 'BEGIN { printf "Test lines: %d against %d lines of program (%.2f)\n", t, p, t / p }'
}

# Every target again, by clang with address and undefined-behaviour checks, in a tree of its own; lean
# (-O1, line tables only, no benchmarks or fuzz targets) so that the whole suite runs in time. The help
# document is made by a checked tool during the build, so the build runs with the same settings.
build_sanitized() {
    CC=clang CXX=clang++ cmake -S "$top" -B "$sanitize_build" -DCMAKE_BUILD_TYPE=Release \
        -DKELVARI_SANITIZE=ON >/dev/null
    env "${sanitizer_env[@]}" cmake --build "$sanitize_build" -j "$(nproc)"
}

# Runs a command in a new network namespace with only loopback up. An ordinary user gets it inside a user
# namespace of their own, as its root but with no real privileges; "--unprivileged" puts root on that path too.
isolated() {
    local flags=(-n)
    if [ "$1" = --unprivileged ] || [ "$(id -u)" -ne 0 ]; then
        flags=(-r -n)
    fi
    [ "$1" != --unprivileged ] || shift
    if [ ${#flags[@]} -eq 2 ] && ! unshare -r -n true 2>/dev/null; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "This machine lets $(id -un) make no user namespace (see the sysctl user.max_user_namespaces and," \
                "where present, kernel.unprivileged_userns_clone and kernel.apparmor_restrict_unprivileged_userns)," \
                "so nothing can run in a network of its own." >&2
            return 1
        fi
        # Root without user namespaces still has its own path.
        echo "No user namespace can be made here, so this run takes root's own path." >&2
        flags=(-n)
    fi
    unshare "${flags[@]}" sh -c 'ip link set lo up && exec "$@"' _ "$@"
}

case "$mode" in
start)
    install_missing
    build_all
    if [ "${2:-}" = "--network" ]; then
        exec "$build/KelvariEditor"
    fi
    isolated "$build/KelvariEditor"
    ;;
test)
    install_missing
    # Home, settings, caches and temporary files of every test and fuzz run stay in one folder, removed at the end.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    mkdir -p "$scratch/config" "$scratch/cache" "$scratch/data" "$scratch/runtime" "$scratch/home" "$scratch/tmp"
    chmod 700 "$scratch/runtime"
    scratch_env=(HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
        XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/tmp")
    # Where the session has no runtime folder, Qt would make one in /tmp for the help tool the builds run.
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$scratch/runtime}"
    build_all
    # As an ordinary user would run it, also for root (and so in CI): tests that need real privileges skip
    # here and run in root's sanitizer run below, so every run takes both paths.
    isolated --unprivileged env "${scratch_env[@]}" "$top/tools/run-ctest.sh" "$build"

    # The whole suite again under the sanitizers; the first failing test ends the run.
    build_sanitized
    isolated env "${scratch_env[@]}" "${sanitizer_env[@]}" "$top/tools/run-ctest.sh" "$sanitize_build" --stop-on-failure

    # Every fuzz target at once, a minute each.
    build_fuzz
    pids=()
    for name in "${fuzz_targets[@]}"; do
        fuzz_one "$name" &
        pids+=($!)
    done
    failed=0
    for pid in "${pids[@]}"; do
        wait "$pid" || failed=1
    done
    [ "$failed" -eq 0 ] || exit 1
    print_test_ratio
    ;;
*)
    echo "usage: $0 start [--network] | test" >&2
    exit 2
    ;;
esac
