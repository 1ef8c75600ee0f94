#!/bin/bash
# A short kill loop: saves of small and large tables killed at random moments never leave a
# broken settings file or a temporary file that the next load does not remove.
set -euo pipefail
"${HUEBADGE_BIN:?}/huebadge-killloop" --kills "${KILL_LOOP_KILLS:-200}" --filters 300 \
    --max-delay-ms 80
