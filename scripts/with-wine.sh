#!/usr/bin/env bash
# Runs a command inside a private Wine session (Japanese locale, fresh prefix, own virtual
# display) and shuts down everything the session started when the command ends, whatever its
# result. Example: scripts/with-wine.sh ctest --preset windows -L e2e
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

trap fudemaru_session_end EXIT
trap 'exit 130' INT TERM
fudemaru_session_start || exit 1
"$@"
