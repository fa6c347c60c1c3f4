#!/usr/bin/env bash
# Installs what is missing, builds, and starts the trainer from build/app.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: start the trainer from a desktop session, or without one as: xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi
exec "$root/build/app/tavi" "$@"
