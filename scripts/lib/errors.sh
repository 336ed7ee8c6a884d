# Sourced by each script after `set -euo pipefail`: a command that fails names its script, its
# line and itself on standard error before set -e ends the script, so that no step fails
# without a word.
set -E
trap 'echo "${BASH_SOURCE[0]:-$0}:$LINENO: failed with status $?: $BASH_COMMAND" >&2' ERR
