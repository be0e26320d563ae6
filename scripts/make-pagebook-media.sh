#!/usr/bin/env bash
# Makes the media files the sample page book's markups name (samples/books/sample-pagebook/
# assets/; committed, run again only to change them), so every markup ends in its resource.
# Needs espeak-ng and ffmpeg:  apt-get install --no-install-recommends espeak-ng ffmpeg
#
#   media/*.jpg          small pictures (ffmpeg's generated patterns), a few KB each
#   media/evaporation.mp3 a spoken sentence (espeak-ng), low-rate mono MP3
#   media/river*.mp4     two seconds of test pattern with a tone, 160x90 H.264
#   media/delta-*.pdf    one-page PDFs written here
#   html/cycle, html/sorting   web pages; scorm/rivers  a SCORM 1.2 package
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
assets="$root/samples/books/sample-pagebook/assets"
for tool in espeak-ng ffmpeg; do
  command -v "$tool" >/dev/null || { echo "make-pagebook-media: $tool is missing" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
media="$assets/media"
mkdir -p "$media"

# picture NAME SOURCE: one small JPEG frame of an ffmpeg source.
picture() { ff -f lavfi -i "$2" -frames:v 1 -q:v 8 -map_metadata -1 -fflags +bitexact "$media/$1"; }
picture delta.jpg "gradients=s=240x160:c0=0x2E7D32:c1=0x90CAF9:seed=1"
picture delta-map.jpg "gradients=s=240x160:c0=0x1565C0:c1=0xA5D6A7:seed=2"
picture snowflake.jpg "gradients=s=200x200:c0=0xE3F2FD:c1=0x1E88E5:seed=3"
picture hail-1.jpg "gradients=s=200x150:c0=0xECEFF1:c1=0x546E7A:seed=4"
picture hail-2.jpg "gradients=s=200x150:c0=0xCFD8DC:c1=0x263238:seed=5"
picture evaporation.jpg "gradients=s=240x160:c0=0xFFF59D:c1=0x4FC3F7:seed=6"

espeak-ng -v en -s 150 -w "$work/speech.wav" "The sun warms the sea, and water rises into the air as vapour."
ff -i "$work/speech.wav" -ac 1 -ar 16000 -c:a libmp3lame -b:a 16k -map_metadata -1 -fflags +bitexact "$media/evaporation.mp3"

# video NAME PATTERN: two seconds of a pattern and a tone.
video() {
  ff -f lavfi -i "$2=s=160x90:r=12:d=2" -f lavfi -i "sine=frequency=440:duration=2" \
    -c:v libx264 -preset veryslow -crf 36 -pix_fmt yuv420p -c:a aac -b:a 16k -ac 1 -ar 16000 \
    -map_metadata -1 -fflags +bitexact -movflags +faststart -shortest "$media/$1"
}
video river.mp4 testsrc
video river-3d.mp4 testsrc2

# pdf NAME TITLE LINE: a one-page PDF with two lines of text, offsets counted here.
pdf() {
  python3 - "$media/$1" "$2" "$3" <<'PY'
import sys
path, title, line = sys.argv[1:4]
text = f"BT /F1 20 Tf 60 740 Td ({title}) Tj 0 -32 Td /F1 12 Tf ({line}) Tj ET".encode()
objects = [
    b"<< /Type /Catalog /Pages 2 0 R >>",
    b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
    b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
    b"<< /Length %d >>\nstream\n" % len(text) + text + b"\nendstream",
    b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
]
out = bytearray(b"%PDF-1.4\n")
offsets = []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
for offset in offsets:
    out += b"%010d 00000 n \n" % offset
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(path, "wb").write(out)
PY
}
pdf delta-notes.pdf "Delta notes" "Where a river meets the sea it slows and drops the sand it carried."
pdf delta-quiz.pdf "Delta quiz" "1. Why does a river drop its sand at the delta?"

# page DIR TITLE BODY: a small web page.
page() {
  mkdir -p "$assets/$1"
  cat > "$assets/$1/index.html" <<HTML
<!DOCTYPE html>
<html lang="en">
<head><meta charset="utf-8"><meta name="viewport" content="width=device-width"><title>$2</title>
<style>body { font-family: sans-serif; margin: 16px; color: #1f1f1f; } li { margin: 6px 0; }</style></head>
<body>
<h1>$2</h1>
$3
</body>
</html>
HTML
}
page html/cycle "The water cycle" "<ol><li>The sun warms the sea.</li><li>Vapour rises and cools into clouds.</li><li>Rain and snow fall.</li><li>Rivers carry the water back to the sea.</li></ol>"
page html/sorting "Sort the water" "<p>Put each word in its place: <b>rain</b>, <b>river</b>, <b>cloud</b>, <b>sea</b>.</p><ul><li>In the sky: cloud, rain</li><li>On the land: river</li><li>Where it ends: sea</li></ul>"

scorm="$assets/scorm/rivers"
mkdir -p "$scorm"
cat > "$scorm/index.html" <<'HTML'
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Rivers</title>
<script>
  // The reader asks for the learner data with lectoroScormActivityData().
  var learnerData = { "cmi.core.lesson_status": "incomplete", "answer": "" };
  function lectoroScormActivityData() {
    return { data: JSON.stringify(learnerData), activityName: "Rivers" };
  }
  function answer(choice) {
    learnerData.answer = choice;
    learnerData["cmi.core.lesson_status"] = choice === "sea" ? "passed" : "failed";
  }
</script>
</head>
<body>
<p>Where does a river end?</p>
<button onclick="answer('sea')">In the sea</button>
<button onclick="answer('cloud')">In a cloud</button>
</body>
</html>
HTML
cat > "$scorm/imsmanifest.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<manifest identifier="rivers" version="1.2">
  <organizations default="rivers">
    <organization identifier="rivers">
      <title>Rivers</title>
      <item identifier="rivers-item" identifierref="rivers-resource"><title>Rivers</title></item>
    </organization>
  </organizations>
  <resources>
    <resource identifier="rivers-resource" type="webcontent" adlcp:scormtype="sco" href="index.html"
              xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2">
      <file href="index.html"/>
    </resource>
  </resources>
</manifest>
XML
