#!/usr/bin/env bash
# real_mixer_test.sh - the volume mixer heard on the sound server. Runs the
# RealMixerSound cases of test_mixer.exe one at a time under Wine while
# recording the default PulseAudio sink's monitor, and checks that the tone
# comes through at full volume, at the share of it that forty presses of
# "volume down" leave, and not at all while muted.
#
# Wine maps the mixer's speaker fader and mute switch to its own audio
# session, not to the sink's volume: `pactl get-sink-volume` and
# `get-sink-mute` do not move, so they are printed for information and the
# effect is measured in the sound itself.
#
#   real_mixer_test.sh <scripts/wine-run> <test_mixer.exe>
# Exit status: 0 pass, 1 fail, 77 no sound server to test against (skipped;
# a failure instead when SPINDLE2_REQUIRE_ENVIRONMENT=1, as scripts/test sets).
set -u
winerun="$1"
exe="$2"
tolerance=0.05      # of the full tone's level

skip() {
  if [ "${SPINDLE2_REQUIRE_ENVIRONMENT:-}" = 1 ]; then
    echo "FAIL: $* (required: SPINDLE2_REQUIRE_ENVIRONMENT=1)"; exit 1
  fi
  echo "SKIP: $*"; exit 77
}
fail() { echo "FAIL: $*"; exit 1; }

for tool in pactl parec python3 timeout; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
pactl info >/dev/null 2>&1 || skip "no PulseAudio server answers"
sink="$(pactl get-default-sink 2>/dev/null)"
[ -n "$sink" ] || skip "PulseAudio has no default sink"

work="$(mktemp -d)"
recorder=""
cleanup() {
  if [ -n "$recorder" ]; then kill "$recorder" 2>/dev/null; wait "$recorder" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The strongest 1234 Hz component in any tenth of a second of a recording
# (16-bit mono at 44100 Hz), as an amplitude; other sounds on the sink
# hardly touch it.
level_of() {
  python3 - "$1" <<'PY'
import array, math, sys
samples = array.array('h')
with open(sys.argv[1], 'rb') as f:
    data = f.read()
samples.frombytes(data[:len(data) // 2 * 2])
rate, hz, window = 44100, 1234.0, 4410
coeff = 2 * math.cos(2 * math.pi * hz / rate)
best = 0.0
for start in range(0, max(len(samples) - window, 0) + 1, window // 2):
    s1 = s2 = 0.0
    for x in samples[start:start + window]:
        s1, s2 = x + coeff * s1 - s2, s1
    power = s1 * s1 + s2 * s2 - coeff * s1 * s2
    best = max(best, 2 * math.sqrt(max(power, 0.0)) / window)
print('%.1f' % best)
PY
}

# Runs one case while recording; sets `heard` to the level heard and
# `share` to the share of the full level the case announced.
hear() {
  local case="$1" raw="$work/$1.raw" log="$work/$1.log"
  parec -d "$sink.monitor" --raw --format=s16le --channels=1 --rate=44100 --latency-msec=50 >"$raw" &
  recorder=$!
  sleep 0.3
  # Bounded, so that a Wine process that does not exit fails this test with
  # its name instead of running into CTest's time-out.
  SPINDLE2_MIXER_SOUND=1 timeout 60 "$winerun" "$exe" --gtest_filter="RealMixerSound.$case" >"$log" 2>&1
  local status=$?
  [ $status -ne 124 ] || fail "RealMixerSound.$case did not finish within 60 seconds"
  sleep 0.3
  kill "$recorder" 2>/dev/null; wait "$recorder" 2>/dev/null; recorder=""
  if [ $status -ne 0 ] || ! grep -q "\[  PASSED  \] 1 test" "$log"; then
    cat "$log" >&2
    fail "RealMixerSound.$case did not pass under Wine"
  fi
  share="$(sed -n 's/^expected-tone-share \([0-9.]*\).*/\1/p' "$log" | head -1)"
  [ -n "$share" ] || fail "RealMixerSound.$case did not announce its level"
  heard="$(level_of "$raw")"
  [ -n "$heard" ] || fail "the recording of RealMixerSound.$case could not be measured"
}

volume_before="$(pactl get-sink-volume "$sink" | head -1)"
mute_before="$(pactl get-sink-mute "$sink")"

hear ToneAtFullVolume;   full="$heard"
hear ToneFortyStepsDown; stepped="$heard"; stepped_share="$share"
hear ToneWhileMuted;     muted="$heard"

echo "sink $sink: full $full, forty steps down $stepped (expected share $stepped_share), muted $muted"
echo "info: sink volume before: $volume_before"
echo "info: sink volume after:  $(pactl get-sink-volume "$sink" | head -1)"
echo "info: sink mute before/after: $mute_before / $(pactl get-sink-mute "$sink")"

verdict="$(python3 - "$full" "$stepped" "$stepped_share" "$muted" "$tolerance" <<'PY'
import sys
full, stepped, share, muted, tolerance = map(float, sys.argv[1:])
if full < 500:
    print('the tone at full volume was not heard (level %.1f)' % full)
elif abs(stepped / full - share) > tolerance:
    print('forty steps down gave %.3f of the full level, expected %.3f' % (stepped / full, share))
elif muted / full > tolerance:
    print('the muted tone was still heard at %.3f of the full level' % (muted / full))
else:
    print('ok')
PY
)"
[ "$verdict" = ok ] || fail "$verdict"
echo "PASS: the mixer's volume steps and mute are heard on $sink"
