# shellcheck shell=bash disable=SC2154
# Sourced by the test scripts that start programs of their own. Gives them a scratch folder
# `work`, removed at exit together with the programs whose process ids are in the variables
# that `scratch_pids` names (ended in that order, read at exit, so a script sets the ids as
# it starts them), and `fail`, which says why on stderr, adds the scratch folder's error.log
# when a server left one there, and exits 1.

work="$(mktemp -d)"
scratch_cleanup() {
    local name
    for name in "${scratch_pids[@]}"; do
        [ -n "${!name:-}" ] && kill "${!name}" 2>/dev/null
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap scratch_cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/error.log" ] && cat "$work/error.log" >&2
    exit 1
}
