#!/usr/bin/env bash
# Every test of the project: the Linux build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows 64-bit build
# with its tests under Wine, the shipped 32-bit Windows program file, built,
# inspected and packed into its zip, the Debian package, built and checked,
# and a brief run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset default
cmake --workflow --preset sanitize
cmake --workflow --preset win64
cmake --workflow --preset win32
python3 tests/registration/check_program_file.py --machine i386 --shipped build/win32/src/Nerbo.exe
cmake --workflow --preset deb
bash tests/fuzz/run-fuzzers.sh 20
echo "all test runs passed"
