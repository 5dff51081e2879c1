# The exit killed at one of its file deletions, the way a crash during a
# system shutdown cuts it: strace, attached after the start-up, kills the
# program at its N-th unlink once SIGTERM has begun the exit. After the next
# start and exit, the history and the not-done count hold every plan of the
# two past years exactly once and no past day is left.
source "$(dirname "$0")/lib/common.bash"

command -v strace >/dev/null || fail "strace is missing (scripts/deps.sh test installs it)"
# LeakSanitizer stops the program's threads with ptrace at its end, which
# cannot be done while strace holds the program: no leak check in the runs
# strace watches (the normal runs still have it).
traced_env=()
[ -n "${ASAN_OPTIONS:-}" ] && traced_env=(env "ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0")

Y=$(date +%Y) M=$(date +%-m) D=$(date +%-d)
lines() { local f=$1; shift; mkdir -p "$(dirname "$f")"; printf '%s\r\n' "$@" >"$f"; }

# Two past years, ten days a month, one to four plans a day.
fixture=$WORK/fixture/datas
plans=0
for year in $((Y - 2)) $((Y - 1)); do
  lines "$fixture/$year/month.qdr" $(printf ' %s\n' {1..12})
  for month in {1..12}; do
    for day in 2 4 7 9 12 15 18 21 24 27; do
      n=$(((year + month + day) % 4 + 1)) texts=()
      for k in $(seq "$n"); do texts+=("--:-- p$year-$month-$day-$k"); done
      lines "$fixture/$year/$month/$day.dat" "note $day" "${texts[@]}"
      plans=$((plans + n))
    done
  done
done
lines "$fixture/$Y/month.qdr" " $M"
lines "$fixture/$Y/$M/$D.dat" "today" "10:00 today's plan"
printf '\000\000\000\000' >"$fixture/quendar.qdr"
past_plans=$WORK/past_plans
find "$fixture/$((Y - 2))" "$fixture/$((Y - 1))" -name '*.dat' -exec tail -n +2 {} + | tr -d '\r' |
  sed -n 's/^--:-- //p' | sort >"$past_plans"
[ "$(wc -l <"$past_plans")" = "$plans" ] || fail "the fixture lists $(wc -l <"$past_plans") of its $plans plans"

# Runs the program on a fresh copy of the fixture in $1 with strace attached
# after the start-up and ends it with SIGTERM; the rest of the arguments go to
# strace. Sets STATUS to the program's exit status.
traced_exit() {
  local dir=$1; shift
  rm -rf "$dir/datas" && cp -r "$fixture" "$dir/datas"
  "${traced_env[@]}" "$dir/quendar" >"$dir.log" 2>&1 &
  local pid=$! tracer
  PIDS+=("$pid")
  wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
  strace -p "$pid" -e trace=unlink "$@" -o "$dir.strace" 2>"$dir.strace.log" &
  tracer=$!
  local deadline=$((SECONDS + 10))
  until grep -q '^TracerPid:[[:space:]]*[1-9]' "/proc/$pid/status" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "strace did not attach"
    sleep 0.1
  done
  kill -TERM "$pid"
  wait_exit "$pid" 60 >/dev/null || fail "the program did not end on SIGTERM"
  wait "$pid"; STATUS=$?
  wait "$tracer"
}

# Starts the program and ends it normally with SIGTERM.
normal_run() {
  start "$1"; local pid=$STARTED_PID
  wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
  kill -TERM "$pid"
  wait_exit "$pid" 60 >/dev/null || fail "the program did not end on SIGTERM"
  wait "$pid"; local status=$?
  [ "$status" = 0 ] || fail "SIGTERM ended the program with status $status"
}

# Every past plan once in the history and counted once; no past year left;
# today's file untouched.
check_books() {
  local data=$1/datas what=$2
  tr -d '\r' <"$data/quendar.dat" | sort >"$WORK/history"
  local doubled
  doubled=$(uniq -d "$WORK/history" | wc -l)
  [ "$doubled" = 0 ] || fail "$what: $doubled plans stand twice in the history ($(wc -l <"$WORK/history") records)"
  diff -q "$past_plans" "$WORK/history" >/dev/null ||
    fail "$what: the history holds $(wc -l <"$WORK/history") records, not the $plans past plans"
  local counts
  counts=$(od -An -tu2 --endian=little "$data/quendar.qdr" | xargs)
  [ "$counts" = "$plans 0" ] || fail "$what: the counts are '$counts', not '$plans 0'"
  [ ! -e "$data/$((Y - 2))" ] && [ ! -e "$data/$((Y - 1))" ] || fail "$what: a past year outlived the exit"
  cmp -s "$fixture/$Y/$M/$D.dat" "$data/$Y/$M/$D.dat" || fail "$what: today's file changed"
}

dir=$(program_folder exit_kill)

# How many unlinks a whole exit makes: the last one is a chosen kill.
traced_exit "$dir"
[ "$STATUS" = 0 ] || fail "the traced exit ended with status $STATUS"
unlinks=$(grep -c '^unlink(' "$dir.strace")
[ "$unlinks" -ge 240 ] || fail "the exit made only $unlinks unlinks for 240 day files"
check_books "$dir" "an exit under strace"
ok "an exit of $plans plans in 240 day files makes $unlinks unlinks"

for n in 1 $((unlinks / 2)) "$unlinks"; do
  traced_exit "$dir" -e inject=unlink:signal=KILL:when=$n
  [ "$STATUS" = 137 ] || fail "killed at unlink $n: the program ended with status $STATUS, not by SIGKILL"
  normal_run "$dir"
  check_books "$dir" "killed at unlink $n of $unlinks"
  ok "killed at unlink $n of $unlinks, then a start and an exit: every plan once"
done
