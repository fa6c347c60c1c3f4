#!/usr/bin/env bash
# The crash tests at length: a saving and a logging program, each killed with SIGKILL
# COUNT times (1,000 by default; ctest runs 100), every file checked after each kill.
#   scripts/kill_test.sh [COUNT]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" "$root/build" >/dev/null
TAVI_KILL_COUNT=${1:-1000} "$root/build/bin/tst_save_crash" killedSavesLeaveWholeFiles killedLoggingKeepsEveryAnswer
