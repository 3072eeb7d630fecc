# Sourced by the scripts that start a server of their own on loopback.

# Prints a loopback port nobody listens on; false when 50 tries found none.
free_port() {
    local candidate
    for _ in $(seq 50); do
        candidate=$((20000 + RANDOM % 40000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

# Waits up to 5 seconds until something listens on port $1.
wait_port() {
    for _ in $(seq 50); do
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
