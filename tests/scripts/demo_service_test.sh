#!/usr/bin/env bash
# scripts/demo-service.sh: the demo's service keeps its data from one start to the next, so that a password
# changed in one run still signs in at the next; forgetting the demo data starts the service and the
# application from the demo's first state. Also the service's own --help: the usage on standard output, status 0.
set -euo pipefail
library=${1:?usage: demo_service_test.sh PATH-TO-demo-service.sh PATH-TO-tracking-service}
binary=${2:?usage: demo_service_test.sh PATH-TO-demo-service.sh PATH-TO-tracking-service}
work=$(mktemp -d)
demo_service=
trap '[ -z "$demo_service" ] || kill "$demo_service" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
# shellcheck source=../../scripts/demo-service.sh
source "$library"
umask 077

password() {
    python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("select password from accounts where name = ?", ("lumet_demo",)).fetchone()[0])' \
        "$work/service/service.sqlite"
}
start() {
    start_demo_service "$binary" "$work" || fail "the service did not start: $(cat "$work/service.log")"
}
stop() {
    kill "$demo_service"
    wait "$demo_service" || fail "the service ended with status $?"
    demo_service=
}

start
stop
[ "$(password)" = demo1234 ] || fail "the first start has the demo password, not $(password)"
[ "$(stat -c %a "$work/service")" = 700 ] || fail "the service's data is open to others"
# A run changes the password, as the settings centre does.
python3 -c 'import sqlite3, sys
db = sqlite3.connect(sys.argv[1]); db.execute("update accounts set password = ? where name = ?", ("changed-1", "lumet_demo")); db.commit()' \
    "$work/service/service.sqlite"
start
stop
[ "$(password)" = changed-1 ] || fail "the next start forgot the changed password: $(password)"

mkdir "$work/home"
forget_demo_data "$work"
[ ! -e "$work/home" ] || fail "the application's data is still there"
start
stop
[ "$(password)" = demo1234 ] || fail "a fresh start has $(password), not the demo password"

status=0
"$binary" --help >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "--help ends with status $status"
grep -q "^usage: tracking-service" "$work/out" || fail "--help prints no usage on standard output"
[ ! -s "$work/err" ] || fail "--help writes to standard error: $(cat "$work/err")"
status=0
"$binary" --unknown x >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a wrong option ends with status $status"
grep -q "^usage: tracking-service" "$work/err" || fail "a wrong option prints no usage on standard error"
echo "demo-service: all checks passed"
