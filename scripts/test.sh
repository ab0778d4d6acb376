#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: first the build under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the platform layer's tests under ThreadSanitizer, then the
# ordinary build, whose CTest summary ends the output. The ordinary build's suite also installs it,
# builds the Debian package and checks both.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)

# A full disk shows up only as a compiler error deep in the build log; say so up front instead.
need_mb=3500
free_mb=$(df -Pm . | awk 'NR == 2 { print $4 }')
if [ "${free_mb:-0}" -lt "$need_mb" ]; then
    echo "warning: ${free_mb} MB free here; the builds need about ${need_mb} MB" >&2
fi

scripts/setup.sh build-sanitize -DMARTOOL_SANITIZE=ON -DMARTOOL_BUILD_BENCH=OFF
ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -LE 'desktop|package'

# The platform layer's threads under ThreadSanitizer: its own tests, which run the receivers and
# line watchers against pseudo-terminals and fake drivers.
MARTOOL_TARGETS="test_platform_tty test_platform_comm" \
    scripts/setup.sh build-tsan -DMARTOOL_TSAN=ON -DMARTOOL_BUILD_BENCH=OFF -DMARTOOL_PCH=OFF
for t in tty comm; do
    TSAN_OPTIONS="halt_on_error=1" build-tsan/tests/platform/$t/test_platform_$t --gtest_brief=1
done

scripts/setup.sh --trained build
ctest --test-dir build --output-on-failure -j "$jobs"
