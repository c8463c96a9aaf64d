#!/usr/bin/env bash
# Makes the game's 31 sound clips (11 game events, 20 chatter sounds) into resources/sounds/ with
# espeak-ng and sox. Every clip ends up 22050 Hz, mono, 16-bit PCM, at most 1.5 s long, with its
# peak normalised to -1 dBFS. The output is repeatable: sox runs with fixed seeds (-R) and the
# random clap timings come from a fixed-seed generator in this script.
#
#   tools/make-sounds.sh [output-dir]
set -euo pipefail

out=${1:-"$(cd "$(dirname "$0")/.." && pwd)/resources/sounds"}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for tool in sox espeak-ng; do
    command -v "$tool" >/dev/null || { echo "make-sounds: $tool is not installed" >&2; exit 1; }
done

RATE=22050
SOX=(sox -R -q -V1)
seed=7772

# draw N: sets $rnd to a pseudo-random number 0..N-1 from a fixed-seed generator (repeatable output).
draw() {
    seed=$(((seed * 1103515245 + 12345) % 2147483648))
    rnd=$(((seed / 65536) % $1))
}

# calc EXPRESSION: floating-point arithmetic.
calc() { awk "BEGIN { print $* }"; }

# tone FILE SECONDS SHAPE FREQ VOLUME FADE-IN FADE-OUT [extra effects...]: one note with an envelope.
tone() {
    local file=$1 len=$2 shape=$3 freq=$4 vol=$5 fin=$6 fout=$7
    shift 7
    "${SOX[@]}" -n -r $RATE -c 1 -b 32 -e floating-point "$file" synth "$len" "$shape" "$freq" \
        vol "$vol" fade q "$fin" "$len" "$fout" "$@"
}

# bell FILE SECONDS FREQ: a struck bell, a fundamental with a quiet inharmonic partial, dying away.
bell() {
    local file=$1 len=$2 freq=$3
    tone "$tmp/b1.wav" "$len" sine "$freq" 0.8 0.002 "$len"
    tone "$tmp/b2.wav" "$len" sine "$(calc "$freq * 2.76")" 0.25 0.002 "$(calc "$len * 0.5")"
    tone "$tmp/b3.wav" "$len" sine "$(calc "$freq * 2")" 0.3 0.002 "$(calc "$len * 0.8")"
    "${SOX[@]}" -m "$tmp/b1.wav" "$tmp/b2.wav" "$tmp/b3.wav" "$file" fade l 0 "$len" "$len"
}

# speak FILE VOICE PITCH SPEED TEXT: espeak-ng speech with the silence at both ends cut away.
speak() {
    local file=$1 voice=$2 pitch=$3 speed=$4 text=$5
    espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$tmp/speech.wav" "$text"
    "${SOX[@]}" "$tmp/speech.wav" -b 32 -e floating-point "$file" \
        silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse
}

# finish INPUT NAME [effects...]: final format, length limit, short fade-out and peak normalisation.
finish() {
    local in=$1 name=$2
    shift 2
    "${SOX[@]}" "$in" -r $RATE -c 1 -b 16 -e signed-integer "$out/$name.wav" "$@" \
        remix - trim 0 1.5 reverse fade t 0.015 reverse gain -n -1
}

# ---- game events ---------------------------------------------------------------------------------

# entered: a two-note door chime.
bell "$tmp/ding.wav" 0.45 659.25
bell "$tmp/dong.wav" 0.7 523.25
"${SOX[@]}" "$tmp/ding.wav" "$tmp/dong.wav" "$tmp/entered.wav"
finish "$tmp/entered.wav" entered

# placecard: a card snapped onto the cloth, a short bright noise burst over a soft thump.
tone "$tmp/snap.wav" 0.07 whitenoise 0 0.8 0.001 0.065 sinc 1800-9000
tone "$tmp/thump.wav" 0.07 sine 150 0.6 0.002 0.06
"${SOX[@]}" -m "$tmp/snap.wav" "$tmp/thump.wav" "$tmp/placecard.wav" pad 0 0.03
finish "$tmp/placecard.wav" placecard

# error: a low, beating buzz.
tone "$tmp/buzz1.wav" 0.38 square 110 0.5 0.01 0.05
tone "$tmp/buzz2.wav" 0.38 square 117 0.5 0.01 0.05
"${SOX[@]}" -m "$tmp/buzz1.wav" "$tmp/buzz2.wav" "$tmp/error.wav" lowpass 1800
finish "$tmp/error.wav" error

# lostmoney: a sad descending trombone, the last note wobbling.
notes=()
i=0
for note in "392 0.24" "370 0.24" "349.2 0.24" "329.6 0.6"; do
    read -r freq len <<<"$note"
    extra=()
    [ "$len" = "0.6" ] && extra=(tremolo 6 35)
    tone "$tmp/lost$i.wav" "$len" sawtooth "$freq" 0.6 0.02 0.12 lowpass 1200 "${extra[@]}"
    notes+=("$tmp/lost$i.wav")
    i=$((i + 1))
done
"${SOX[@]}" "${notes[@]}" "$tmp/lostmoney.wav"
finish "$tmp/lostmoney.wav" lostmoney

# gotmoney: a coin, a short high note jumping up to a ringing one, twice overlapped.
tone "$tmp/coin1.wav" 0.07 square 987.8 0.35 0.002 0.01 lowpass 5000
tone "$tmp/coin2.wav" 0.5 square 1318.5 0.35 0.002 0.45 lowpass 5000
"${SOX[@]}" "$tmp/coin1.wav" "$tmp/coin2.wav" "$tmp/coin.wav"
"${SOX[@]}" "$tmp/coin.wav" "$tmp/coinlate.wav" pad 0.12 vol 0.5
"${SOX[@]}" -m "$tmp/coin.wav" "$tmp/coinlate.wav" "$tmp/gotmoney.wav"
finish "$tmp/gotmoney.wav" gotmoney

# choosecontract: a rising plucked arpeggio.
notes=()
i=0
for note in "523.25 0.08" "659.25 0.08" "783.99 0.08" "1046.5 0.45"; do
    read -r freq len <<<"$note"
    tone "$tmp/arp$i.wav" "$len" pluck "$freq" 0.7 0.002 "$len"
    notes+=("$tmp/arp$i.wav")
    i=$((i + 1))
done
"${SOX[@]}" "${notes[@]}" "$tmp/choosecontract.wav"
finish "$tmp/choosecontract.wav" choosecontract

# clickcontract: a short wooden tick.
tone "$tmp/tick1.wav" 0.04 sine 1400 0.8 0.001 0.035
tone "$tmp/tick2.wav" 0.04 whitenoise 0 0.3 0.001 0.01 sinc 2000-6000
"${SOX[@]}" -m "$tmp/tick1.wav" "$tmp/tick2.wav" "$tmp/clickcontract.wav" pad 0 0.02
finish "$tmp/clickcontract.wav" clickcontract

# turn: one soft chime.
bell "$tmp/turn.wav" 0.9 1046.5
finish "$tmp/turn.wav" turn

# turnnew: a brighter two-note marimba call, different from the classic chime.
tone "$tmp/tn1.wav" 0.16 pluck 659.25 0.7 0.002 0.16
tone "$tmp/tn2.wav" 0.55 pluck 987.77 0.7 0.002 0.55
tone "$tmp/tn3.wav" 0.55 sine 1975.5 0.15 0.002 0.3
"${SOX[@]}" -m "$tmp/tn2.wav" "$tmp/tn3.wav" "$tmp/tn23.wav"
"${SOX[@]}" "$tmp/tn1.wav" "$tmp/tn23.wav" "$tmp/turnnew.wav"
finish "$tmp/turnnew.wav" turnnew

# startround: a riffle shuffle, quick paper clicks speeding up, closed by a tap on the table.
parts=()
for i in $(seq 0 17); do
    gap=$(calc "0.045 - $i * 0.0015")
    draw 50
    vol=$(calc "0.5 + $rnd / 100")
    tone "$tmp/riff$i.wav" 0.012 whitenoise 0 "$vol" 0.0005 0.011 sinc 2500-9000 pad 0 "$gap"
    parts+=("$tmp/riff$i.wav")
done
tone "$tmp/tap.wav" 0.08 whitenoise 0 0.9 0.001 0.075 sinc 300-4000
parts+=("$tmp/tap.wav")
"${SOX[@]}" "${parts[@]}" "$tmp/startround.wav"
finish "$tmp/startround.wav" startround

# winner: a brass fanfare ending on a held chord.
notes=()
i=0
for note in "392 0.12" "523.25 0.12" "659.25 0.12" "783.99 0.28" "659.25 0.12"; do
    read -r freq len <<<"$note"
    tone "$tmp/fan$i.wav" "$len" sawtooth "$freq" 0.5 0.01 0.03 lowpass 2200
    notes+=("$tmp/fan$i.wav")
    i=$((i + 1))
done
tone "$tmp/ch1.wav" 0.62 sawtooth 783.99 0.45 0.01 0.3 lowpass 2200 tremolo 5.5 12
tone "$tmp/ch2.wav" 0.62 sawtooth 659.25 0.35 0.01 0.3 lowpass 2200
tone "$tmp/ch3.wav" 0.62 sawtooth 523.25 0.35 0.01 0.3 lowpass 2200
"${SOX[@]}" -m "$tmp/ch1.wav" "$tmp/ch2.wav" "$tmp/ch3.wav" "$tmp/chord.wav"
notes+=("$tmp/chord.wav")
"${SOX[@]}" "${notes[@]}" "$tmp/winner.wav" reverb 30
finish "$tmp/winner.wav" winner

# ---- chatter sounds ------------------------------------------------------------------------------

# 1 Doh
speak "$tmp/w1.wav" en-us+m3 28 130 "Doh!"
finish "$tmp/w1.wav" wave1

# 2 Cough: two rough bursts of breath.
tone "$tmp/cough1.wav" 0.2 brownnoise 0 1 0.008 0.17 sinc 250-2600 tremolo 45 40
tone "$tmp/cough2.wav" 0.16 brownnoise 0 0.8 0.008 0.14 sinc 250-2600 tremolo 50 40
"${SOX[@]}" "$tmp/cough1.wav" "$tmp/cough1p.wav" pad 0 0.12
"${SOX[@]}" "$tmp/cough1p.wav" "$tmp/cough2.wav" "$tmp/w2.wav"
finish "$tmp/w2.wav" wave2

# 3 Hello, 4 Thank You, 5 Where have you been?
speak "$tmp/w3.wav" en-us+m3 55 150 "Hello!"
finish "$tmp/w3.wav" wave3
speak "$tmp/w4.wav" en-us+f2 60 160 "Thank you!"
finish "$tmp/w4.wav" wave4
speak "$tmp/w5.wav" en-us+m1 50 185 "Where have you been?"
finish "$tmp/w5.wav" wave5

# 6 Snoring: a rattling breath in, then a soft whistle out.
tone "$tmp/snore.wav" 0.9 brownnoise 0 1 0.45 0.3 lowpass 600 tremolo 26 85
tone "$tmp/whistle.wav" 0.5 sine 720 0.08 0.15 0.3
tone "$tmp/breath.wav" 0.5 pinknoise 0 0.15 0.15 0.3 sinc 800-3000
"${SOX[@]}" -m "$tmp/whistle.wav" "$tmp/breath.wav" "$tmp/exhale.wav"
"${SOX[@]}" "$tmp/snore.wav" "$tmp/exhale.wav" "$tmp/w6.wav"
finish "$tmp/w6.wav" wave6

# 7 Sneezing: the build-up spoken, the sneeze itself a burst of noise.
speak "$tmp/ahah.wav" en-us+f3 70 150 "ah, ah,"
speak "$tmp/choo.wav" en-us+f3 75 190 "choo!"
tone "$tmp/spray.wav" 0.25 whitenoise 0 0.5 0.005 0.22 sinc 1500-8000
"${SOX[@]}" -m "$tmp/choo.wav" "$tmp/spray.wav" "$tmp/choo2.wav"
"${SOX[@]}" "$tmp/ahah.wav" "$tmp/choo2.wav" "$tmp/w7.wav"
finish "$tmp/w7.wav" wave7

# 8 Sorry, 9 Welcome, 10 Yeehaa, 11 Yippee, 12 Oh No
speak "$tmp/w8.wav" en-us+m2 45 130 "Sorry!"
finish "$tmp/w8.wav" wave8
speak "$tmp/w9.wav" en-us+f4 58 140 "Welcome!"
finish "$tmp/w9.wav" wave9
speak "$tmp/w10.wav" en-us+m3 85 150 "Yee haw!"
finish "$tmp/w10.wav" wave10
speak "$tmp/w11.wav" en-us+f5 95 170 "Yippee!"
finish "$tmp/w11.wav" wave11
speak "$tmp/w12.wav" en-us+m1 35 105 "Oh no!"
finish "$tmp/w12.wav" wave12

# 13 Applause: ten people clapping at their own pace over a soft room noise.
tone "$tmp/clap.wav" 0.014 whitenoise 0 1 0.0005 0.013 sinc 700-5000
people=()
for person in $(seq 1 10); do
    claps=()
    draw 20
    start=$(calc "$rnd / 100")
    "${SOX[@]}" -n -r $RATE -c 1 -b 32 -e floating-point "$tmp/lead$person.wav" trim 0 "$start"
    claps+=("$tmp/lead$person.wav")
    for n in $(seq 1 7); do
        draw 70
        gap=$(calc "0.15 + $rnd / 1000")
        draw 60
        vol=$(calc "0.4 + $rnd / 100")
        "${SOX[@]}" "$tmp/clap.wav" "$tmp/clap${person}_$n.wav" vol "$vol" pad 0 "$gap"
        claps+=("$tmp/clap${person}_$n.wav")
    done
    "${SOX[@]}" "${claps[@]}" "$tmp/person$person.wav"
    people+=("$tmp/person$person.wav")
done
tone "$tmp/room.wav" 1.5 pinknoise 0 0.05 0.2 0.4 sinc 400-3000
"${SOX[@]}" -m "${people[@]}" "$tmp/room.wav" "$tmp/w13.wav" reverb 20
finish "$tmp/w13.wav" wave13

# 14 Honk: a two-tone car horn, short then long.
tone "$tmp/h1.wav" 0.22 sawtooth 370 0.5 0.01 0.03
tone "$tmp/h2.wav" 0.22 sawtooth 466 0.5 0.01 0.03
"${SOX[@]}" -m "$tmp/h1.wav" "$tmp/h2.wav" "$tmp/honk1.wav" lowpass 2500 pad 0 0.08
tone "$tmp/h3.wav" 0.5 sawtooth 370 0.5 0.01 0.06
tone "$tmp/h4.wav" 0.5 sawtooth 466 0.5 0.01 0.06
"${SOX[@]}" -m "$tmp/h3.wav" "$tmp/h4.wav" "$tmp/honk2.wav" lowpass 2500
"${SOX[@]}" "$tmp/honk1.wav" "$tmp/honk2.wav" "$tmp/w14.wav" overdrive 8
finish "$tmp/w14.wav" wave14

# 15 Oooh: a few voices going "oooh" together.
speak "$tmp/o1.wav" en-us+m3 30 70 "oooh"
speak "$tmp/o2.wav" en-us+f2 70 75 "oooh"
speak "$tmp/o3.wav" en-us+m1 48 65 "oooh"
"${SOX[@]}" "$tmp/o2.wav" "$tmp/o2d.wav" pad 0.04
"${SOX[@]}" "$tmp/o3.wav" "$tmp/o3d.wav" pad 0.08
"${SOX[@]}" -m "$tmp/o1.wav" "$tmp/o2d.wav" "$tmp/o3d.wav" "$tmp/w15.wav" reverb 40
finish "$tmp/w15.wav" wave15

# 16 Razzberry: buzzing lips, a rough low sawtooth fluttering with breath noise.
tone "$tmp/rz1.wav" 0.8 sawtooth 82 0.6 0.03 0.2 tremolo 31 90
tone "$tmp/rz2.wav" 0.8 pinknoise 0 0.3 0.03 0.2 tremolo 31 90
"${SOX[@]}" -m "$tmp/rz1.wav" "$tmp/rz2.wav" "$tmp/w16.wav" sinc 120-3500 overdrive 12
finish "$tmp/w16.wav" wave16

# 17 Cheer: a small crowd shouting over its own noise.
speak "$tmp/c1.wav" en-us+m3 60 170 "hooray!"
speak "$tmp/c2.wav" en-us+f3 80 180 "yay!"
speak "$tmp/c3.wav" en-us+m1 45 160 "woo hoo!"
speak "$tmp/c4.wav" en-us+f5 90 170 "yeah!"
"${SOX[@]}" "$tmp/c2.wav" "$tmp/c2d.wav" pad 0.1
"${SOX[@]}" "$tmp/c3.wav" "$tmp/c3d.wav" pad 0.05
"${SOX[@]}" "$tmp/c4.wav" "$tmp/c4d.wav" pad 0.2
tone "$tmp/crowd.wav" 1.3 pinknoise 0 0.25 0.1 0.5 sinc 300-3500 tremolo 3 30
"${SOX[@]}" -m "$tmp/c1.wav" "$tmp/c2d.wav" "$tmp/c3d.wav" "$tmp/c4d.wav" "$tmp/crowd.wav" "$tmp/w17.wav" reverb 30
finish "$tmp/w17.wav" wave17

# 18 Woman Laughing, 19 Man Laughing
speak "$tmp/w18.wav" en-us+f3 85 210 "ha ha ha ha ha!"
finish "$tmp/w18.wav" wave18 tremolo 7 20
speak "$tmp/w19.wav" en-us+m3 25 180 "ho ho ho, ha ha!"
finish "$tmp/w19.wav" wave19

# 20 Crying: a wailing "boo hoo hoo" with a sobbing tremble.
speak "$tmp/w20.wav" en-us+f2 75 140 "boo hoo hoo hoo!"
finish "$tmp/w20.wav" wave20 tremolo 8 45

echo "make-sounds: wrote $(ls "$out"/*.wav | wc -l) clips into $out"
