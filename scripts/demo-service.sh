# Sourced by scripts/run: the local tracking service of the demo, with its data kept between runs.
#
#   start_demo_service BINARY FOLDER   starts BINARY on a free loopback port with its data in FOLDER/service
#                                      and its log in FOLDER/service.log; sets demo_service (its process) and
#                                      demo_port. The service seeds the demo data only into an empty folder, so
#                                      what a run changed (a password, a name, the messages handed out) is
#                                      there at the next run, as the application's own data is. Its data
#                                      and log hold the demo account's secrets: the caller sets umask 077.
#   forget_demo_data FOLDER            removes the service's data and the application's (FOLDER/home), so
#                                      that both begin again from the demo's first state together.

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

forget_demo_data() {
    rm -rf "$1/service" "$1/home"
}

start_demo_service() {
    local binary=$1 folder=$2
    demo_service=
    # The port may be taken between the probe and the service's start: try a few.
    for _ in 1 2 3 4 5; do
        demo_port=$(free_port)
        rm -f "$folder/service.log"
        "$binary" --port "$demo_port" --data "$folder/service" >"$folder/service.log" 2>&1 &
        demo_service=$!
        for _ in $(seq 100); do
            if grep -q "serving" "$folder/service.log" || ! kill -0 "$demo_service" 2>/dev/null; then
                break
            fi
            sleep 0.1
        done
        if grep -q "serving" "$folder/service.log"; then
            break
        fi
        kill "$demo_service" 2>/dev/null || true
        wait "$demo_service" 2>/dev/null || true
        demo_service=
    done
    [ -n "$demo_service" ]
}
