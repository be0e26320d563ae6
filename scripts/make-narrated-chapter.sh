#!/usr/bin/env bash
# Makes the narrated chapter of the reflowable sample book (committed; run again only to
# change it): chapter 4 of samples/books/sample-reflowable-epub, its speech and its media
# overlay. Each word is spoken on its own by espeak-ng, so the overlay's clips are exact;
# the words are joined into one small mono AAC file. Needs the espeak-ng and ffmpeg
# command-line tools:
#   apt-get install --no-install-recommends espeak-ng ffmpeg
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
book="$root/samples/books/sample-reflowable-epub/OEBPS"
for tool in espeak-ng ffmpeg ffprobe bc; do
  command -v "$tool" >/dev/null || { echo "make-narrated-chapter: $tool is missing" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }

title="Night Watch"
sentences=(
  "At dusk the keeper climbed the stairs."
  "He lit the lamp and watched the ships go by."
)
mkdir -p "$book/audio" "$book/overlays"

# One 16 kHz mono clip per word (trimmed of espeak's silence), then a short pause.
ff -f lavfi -i "anullsrc=r=16000:cl=mono" -t 0.08 "$work/gap.wav"
: > "$work/list.txt"
paragraphs=""; pars=""; n=0; at=0
for sentence in "${sentences[@]}"; do
  spans=""
  for word in $sentence; do
    n=$((n + 1))
    spoken="${word//[.,]/}"
    espeak-ng -v en -s 160 -w "$work/raw-$n.wav" "$spoken"
    ff -i "$work/raw-$n.wav" -ac 1 -ar 16000 \
      -af "silenceremove=start_periods=1:start_threshold=-45dB,areverse,silenceremove=start_periods=1:start_threshold=-45dB,areverse" \
      "$work/word-$n.wav"
    length=$(duration "$work/word-$n.wav")
    end=$(echo "$at + $length" | bc -l)
    printf "file '%s'\nfile '%s'\n" "$work/word-$n.wav" "$work/gap.wav" >> "$work/list.txt"
    spans+="${spans:+ }<span id=\"w$n\">$word</span>"
    pars+="
      <par id=\"p$n\"><text src=\"../text/chapter-4.xhtml#w$n\"/><audio src=\"../audio/night-watch.m4a\" clipBegin=\"$(printf %.3f "$at")s\" clipEnd=\"$(printf %.3f "$end")s\"/></par>"
    at=$(echo "$end + 0.08" | bc -l)
  done
  paragraphs+="
  <p>$spans</p>"
done
ff -f concat -safe 0 -i "$work/list.txt" -ac 1 -ar 16000 -c:a aac -b:a 16k -map_metadata -1 -fflags +bitexact \
  "$book/audio/night-watch.m4a"

cat > "$book/text/chapter-4.xhtml" <<XHTML
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" lang="en">
<head><title>$title</title></head>
<body>
  <span epub:type="pagebreak" id="page6" title="6"></span>
  <h1>$title</h1>$paragraphs
</body>
</html>
XHTML

cat > "$book/overlays/chapter-4.smil" <<SMIL
<?xml version="1.0" encoding="UTF-8"?>
<smil xmlns="http://www.w3.org/ns/SMIL" xmlns:epub="http://www.idpf.org/2007/ops" version="3.0">
  <body>
    <seq id="chapter-4" epub:textref="../text/chapter-4.xhtml">$pars
    </seq>
  </body>
</smil>
SMIL

printf 'duration: %s s, %s words\n' "$(duration "$book/audio/night-watch.m4a")" "$n"
du -h "$book/audio/night-watch.m4a"
