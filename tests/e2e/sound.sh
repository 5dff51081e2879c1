# The alarm is heard, not only shown: under a private sound server whose only
# output is a null sink, a plan at the coming minute makes the program open a
# playback stream, and a recording of the sink's monitor holds the chime.
source "$(dirname "$0")/lib/common.bash"

command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
  fail "pulseaudio and pulseaudio-utils are needed (scripts/deps.sh test)"

# The server lives in a runtime folder of its own and ends with the test.
export XDG_RUNTIME_DIR=$WORK/runtime HOME=$WORK/home
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
mkdir -p -m 700 "$XDG_RUNTIME_DIR/pulse"
sink=quendar_test
rate=44100
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
  -L "module-null-sink sink_name=$sink rate=$rate channels=2" \
  >"$WORK/pulseaudio.log" 2>&1 &
PIDS+=($!)
server=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { cat "$WORK/pulseaudio.log"; fail "private sound server did not come up"; }
pactl set-default-sink "$sink"
ok "private sound server up with the null sink $sink"

dir=$(program_folder sound)
[ -s "$dir/alarm.wav" ] || fail "installation step made no alarm.wav"

plan_for_coming_minute "$dir" "Feed the cat"
due=$DUE

# Everything the sink plays, from before the program starts: mono s16le.
parec -d "$sink.monitor" --format=s16le --rate=$rate --channels=1 --raw >"$WORK/heard.raw" &
recorder=$!
PIDS+=($recorder)

start "$dir"; pid=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
pactl list short sink-inputs | grep -q . && fail "a playback stream before any alarm"
wait_window "Quendar  0.4.8 - Alarm" 75 >/dev/null || fail "no alarm window by $due"
ok "alarm for $due shown"

# The program's playback stream on the sink.
stream=
for _ in $(seq 100); do
  stream=$(pactl list sink-inputs | grep -E "application.process.id = \"$pid\"") && break
  sleep 0.1
done
[ -n "$stream" ] || { pactl list sink-inputs; fail "no playback stream of the program on the sound server"; }
ok "the program plays on the sound server:$(pactl list sink-inputs | grep -E 'application.name|media.name' | tr -s ' \t' ' ' | paste -sd,)"

# Qt's sound effect plays through its PulseAudio output, whatever media
# backend (ffmpeg or gstreamer) it may load besides.
grep -q 'libpulse\.so' "/proc/$pid/maps" || fail "the program plays without libpulse"
backends=$(grep -o 'lib[a-z]*mediaplugin\.so' "/proc/$pid/maps" | sort -u | paste -sd, || true)
ok "played through libpulse; media backends loaded: ${backends:-none}"

# The chime lasts about a second; give it time to be heard, then stop.
sleep 3
kill "$recorder"; wait "$recorder" 2>/dev/null

# The program was up at least ten seconds before the minute: the first five
# seconds of the recording must be silent (the null sink's monitor gives
# exact 0 when nothing plays), and the chime must come after them.
quiet=$((5 * rate))
peaks=$(od -An -v -td2 -w2 "$WORK/heard.raw" | awk -v quiet=$quiet '
  { v = $1 < 0 ? -$1 : $1; if (NR <= quiet) { if (v > before) before = v } else if (v > after) after = v }
  END { printf "%d %d %d\n", before, after, NR }')
read -r before after samples <<<"$peaks"
[ "$samples" -gt "$quiet" ] || fail "recording too short: $samples samples"
[ "$before" -lt 100 ] || fail "sound before the alarm: peak $before"
[ "$after" -gt 3000 ] || fail "no chime in the recording: peak $after of 32767 after the alarm"
ok "chime heard: peak $after of 32767, after $before in the first five seconds"

kill "$pid" 2>/dev/null
kill "$server"; wait "$server" 2>/dev/null
ok "sound server ended"
