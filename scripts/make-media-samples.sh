#!/usr/bin/env bash
# Makes the sample media books under samples/books/ (committed; run again only to change
# them). Needs the espeak-ng and ffmpeg command-line tools:
#   apt-get install --no-install-recommends espeak-ng ffmpeg
#
#   sample-audiobook   three chapters, one small AAC file each, spoken by espeak-ng
#   sample-videobook   a six-second test pattern as HLS in two resolutions (90p, 180p) with
#                      English and German WebVTT subtitles; two chapters share the stream
#   sample-multiaudio  two chapters, each an HLS audio stream with an English and a German
#                      narration to choose between
# Formats of toc.json and time-index.json: companion/books/README.md ("Media books").
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
books="$root/samples/books"
for tool in espeak-ng ffmpeg ffprobe; do
  command -v "$tool" >/dev/null || { echo "make-media-samples: $tool is missing" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

# speak VOICE TEXT OUT.m4a: low-rate mono AAC, a few kilobytes a second.
speak() {
  espeak-ng -v "$1" -s 150 -w "$work/speech.wav" "$2"
  ff -i "$work/speech.wav" -ac 1 -ar 16000 -c:a aac -b:a 16k -map_metadata -1 -fflags +bitexact "$3"
}
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }

# --- The audio book ---------------------------------------------------------------
out="$books/sample-audiobook"
rm -rf "$out"; mkdir -p "$out/audio"
titles=("The Lighthouse" "The Storm" "The Morning After")
texts=(
  "Chapter one. The lighthouse stood alone on the rocks, and its keeper counted the ships."
  "Chapter two. That night the storm came in from the sea."
  "Chapter three. In the morning the water was calm again, and the keeper slept."
)
start=0
chapters=""; index=""
for i in 0 1 2; do
  n=$((i + 1))
  speak en "${texts[$i]}" "$out/audio/chapter-$n.m4a"
  length=$(duration "$out/audio/chapter-$n.m4a")
  end=$(echo "$start + $length" | bc -l)
  half=$(echo "$start + $length / 2" | bc -l)
  sep=$([ $i -gt 0 ] && echo "," || true)
  chapters+="$sep
    { \"id\": \"ch$n\", \"title\": \"${titles[$i]}\", \"src\": \"audio/chapter-$n.m4a\", \"transcript\": \"${texts[$i]}\" }"
  index+="$sep
    { \"startTime\": $(printf %.3f "$start"), \"endTime\": $(printf %.3f "$half"), \"fileName\": \"chapter-$n.m4a\", \"folio\": \"$n.1\", \"chapterTitle\": \"${titles[$i]}\" },
    { \"startTime\": $(printf %.3f "$half"), \"endTime\": $(printf %.3f "$end"), \"fileName\": \"chapter-$n.m4a\", \"folio\": \"$n.2\", \"chapterTitle\": \"${titles[$i]}\" }"
  start=$end
done
cat > "$out/toc.json" <<JSON
{
  "bookId": "9101",
  "title": "The Keeper of the Light",
  "multiAudioPackage": true,
  "chapters": [$chapters
  ]
}
JSON
cat > "$out/time-index.json" <<JSON
{
  "timeIndex": [$index
  ]
}
JSON

# --- The video book -----------------------------------------------------------------
out="$books/sample-videobook"
rm -rf "$out"; mkdir -p "$out/video"
for size in 160x90 320x180; do
  height=${size#*x}
  mkdir -p "$out/video/${height}p"
  ff -f lavfi -i "testsrc=size=$size:rate=10:duration=6" -f lavfi -i "sine=frequency=440:sample_rate=16000:duration=6" \
    -c:v libx264 -preset ultrafast -crf 45 -g 20 -pix_fmt yuv420p -c:a aac -b:a 16k -ac 1 -fflags +bitexact \
    -f hls -hls_time 2 -hls_playlist_type vod -hls_segment_filename "$out/video/${height}p/segment-%d.ts" \
    "$out/video/${height}p/index.m3u8"
done
for lang in en de; do
  mkdir -p "$out/video/subtitles/$lang"
  if [ $lang = en ]; then one="A test pattern"; two="The second chapter"; else one="Ein Testbild"; two="Das zweite Kapitel"; fi
  printf 'WEBVTT\n\n00:00:00.000 --> 00:00:03.000\n%s\n\n00:00:03.000 --> 00:00:06.000\n%s\n' "$one" "$two" \
    > "$out/video/subtitles/$lang/subtitles.vtt"
  printf '#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:6\n#EXT-X-PLAYLIST-TYPE:VOD\n#EXTINF:6.0,\nsubtitles.vtt\n#EXT-X-ENDLIST\n' \
    > "$out/video/subtitles/$lang/index.m3u8"
done
cat > "$out/video/master.m3u8" <<'M3U8'
#EXTM3U
#EXT-X-VERSION:3
#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID="subs",NAME="English",LANGUAGE="en",DEFAULT=NO,AUTOSELECT=YES,URI="subtitles/en/index.m3u8"
#EXT-X-MEDIA:TYPE=SUBTITLES,GROUP-ID="subs",NAME="Deutsch",LANGUAGE="de",DEFAULT=NO,AUTOSELECT=YES,URI="subtitles/de/index.m3u8"
#EXT-X-STREAM-INF:BANDWIDTH=120000,RESOLUTION=320x180,CODECS="avc1.42c00d,mp4a.40.2",SUBTITLES="subs"
180p/index.m3u8
#EXT-X-STREAM-INF:BANDWIDTH=60000,RESOLUTION=160x90,CODECS="avc1.42c00a,mp4a.40.2",SUBTITLES="subs"
90p/index.m3u8
M3U8
cat > "$out/toc.json" <<'JSON'
{
  "bookId": "9102",
  "title": "Test Pattern",
  "chapters": [
    { "id": "v1", "title": "Colours", "src": "video/master.m3u8#colours" },
    { "id": "v2", "title": "Counting", "src": "video/master.m3u8#counting", "start": 3 }
  ]
}
JSON
cat > "$out/time-index.json" <<'JSON'
{
  "timeIndex": [
    { "startTime": 0, "endTime": 3, "fileName": "master.m3u8", "folio": "1", "chapterTitle": "Colours" },
    { "startTime": 3, "endTime": 6, "fileName": "master.m3u8", "folio": "2", "chapterTitle": "Counting" }
  ]
}
JSON

# --- The multi-audio package --------------------------------------------------------------
out="$books/sample-multiaudio"
rm -rf "$out"; mkdir -p "$out"
english=("Part one. Good morning." "Part two. Good night.")
german=("Teil eins. Guten Morgen." "Teil zwei. Gute Nacht.")
start=0
index=""
for i in 0 1; do
  n=$((i + 1))
  for lang in en de; do
    mkdir -p "$out/part-$n/$lang"
    if [ $lang = en ]; then text="${english[$i]}"; else text="${german[$i]}"; fi
    speak $lang "$text" "$work/part.m4a"
    ff -i "$work/part.m4a" -c:a copy -fflags +bitexact -f hls -hls_time 10 -hls_playlist_type vod \
      -hls_segment_filename "$out/part-$n/$lang/segment-%d.ts" "$out/part-$n/$lang/index.m3u8"
  done
  cat > "$out/part-$n/master.m3u8" <<'M3U8'
#EXTM3U
#EXT-X-VERSION:3
#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID="narration",NAME="English",LANGUAGE="en",DEFAULT=YES,AUTOSELECT=YES,URI="en/index.m3u8"
#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID="narration",NAME="Deutsch",LANGUAGE="de",DEFAULT=NO,AUTOSELECT=YES,URI="de/index.m3u8"
#EXT-X-STREAM-INF:BANDWIDTH=20000,CODECS="mp4a.40.2",AUDIO="narration"
en/index.m3u8
M3U8
  length=$(awk -F: '/#EXTINF/ { sub(",", "", $2); s += $2 } END { print s }' "$out/part-$n/en/index.m3u8")
  end=$(echo "$start + $length" | bc -l)
  sep=$([ $i -gt 0 ] && echo "," || true)
  index+="$sep
    { \"startTime\": $(printf %.3f "$start"), \"endTime\": $(printf %.3f "$end"), \"fileName\": \"master.m3u8\", \"folio\": \"$n\", \"chapterTitle\": \"Part $n\" }"
  start=$end
done
cat > "$out/toc.json" <<'JSON'
{
  "bookId": "9103",
  "title": "Two Languages",
  "multiAudioPackage": true,
  "chapters": [
    { "id": "p1", "title": "Part 1", "src": "part-1/master.m3u8" },
    { "id": "p2", "title": "Part 2", "src": "part-2/master.m3u8" }
  ]
}
JSON
cat > "$out/time-index.json" <<JSON
{
  "timeIndex": [$index
  ]
}
JSON

du -sh "$books"/sample-audiobook "$books"/sample-videobook "$books"/sample-multiaudio
