#!/usr/bin/env bash
# The sound effects of the real game, heard through ALSA's file device (a private HOME
# whose .asoundrc records everything played): the second of play after the blast key goes
# down, with its charge and strikes, is clearly louder than the second before it, when
# only the tune plays; M silences everything until pressed again. Then, run with one effect
# missing and one damaged, the game names both in one line and plays on; without the patch
# set for the tune, it says so in another.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

export HOME=$shots/home
mkdir "$HOME"
recording=$HOME/recording.wav
printf 'pcm.!default { type file slave.pcm "null" file "%s" format "wav" }\n' "$recording" \
    >"$HOME/.asoundrc"

recorded_bytes() { stat -c %s "$recording"; }

# RMS amplitude of bytes $1 to $2 of the recording. The mixer hands ALSA unsigned samples
# whatever the header says, so they are read raw in the header's layout.
rms_between() {
    local bits channels
    bits=$(soxi -b "$recording") channels=$(soxi -c "$recording")
    local frame=$((bits / 8 * channels))
    local from=$(($1 / frame * frame)) to=$(($2 / frame * frame))
    tail -c +$((from + 1)) "$recording" | head -c $((to - from)) |
        sox -t raw -e unsigned -b "$bits" -c "$channels" -r 44100 - -n stat 2>&1 |
        awk '/RMS +amplitude/ { print $3 }'
}

start_game
press Return
sleep 1.5 # the play phase is up and the tune runs on alone
start=$(recorded_bytes)
sleep 1
pressed=$(recorded_bytes)
xdotool keydown Control_L
sleep 1
held=$(recorded_bytes)
xdotool keyup Control_L
# M silences the tune and the effects alike, and a second M brings them back.
second_of_sound() {
    sleep 0.3
    local from=$(recorded_bytes)
    sleep 1
    rms_between "$from" "$(recorded_bytes)"
}
press m
muted=$(second_of_sound)
press m
unmuted=$(second_of_sound)
escape_to_exit 5
grep -q patches.dat "$shots/stderr" && fail "the patch set was missed: $(cat "$shots/stderr")"

quiet=$(rms_between "$start" "$pressed")
loud=$(rms_between "$pressed" "$held")
echo "RMS amplitude: $quiet in the second before the blast, $loud in the second after"
awk -v quiet="$quiet" -v loud="$loud" 'BEGIN { exit !(quiet > 0.01 && loud > 1.3 * quiet) }' ||
    fail "the blast was not heard above the tune"
echo "RMS amplitude: $muted after M, $unmuted after M again"
awk -v m="$muted" -v u="$unmuted" -v q="$quiet" 'BEGIN { exit !(m < q / 10 && u > q / 2) }' ||
    fail "M did not silence the sound and bring it back"

enter_media_copy
rm media/throw.wav media/patches.dat
head -c 3000 "$media/boom.wav" >media/boom.wav
start_game
press Return
sleep 0.5
hold_together 0.5 Shift_L Control_L
escape_to_exit 5 "with effects missing the game"
[ "$(grep -c 'sound effects' "$shots/stderr")" = 1 ] &&
    grep -q 'media/throw.wav media/boom.wav' "$shots/stderr" ||
    fail "expected one line naming the missing effects, got: $(cat "$shots/stderr")"
[ "$(grep -c 'playing without music: media/patches.dat is missing' "$shots/stderr")" = 1 ] ||
    fail "expected one line naming the missing patch set, got: $(cat "$shots/stderr")"
echo "effects: ok"
