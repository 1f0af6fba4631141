#!/usr/bin/env bash
# The renderer's videos as a player sees them: each file read back with ffprobe and its frames
# decoded with ffmpeg, held to the card's own pictures; and videos refused as the cards are, with
# nothing left behind.
#
#   tests/renderer/render_video_test.sh build/newyear-card-render build/growth-picture \
#     build/tests/libno_x264_encoder.so
#
# growth-picture writes what a frame must show, made without the film's own scan; the library,
# preloaded, plays an FFmpeg without the H.264 encoder. Needs ffmpeg, ffprobe and Python's Pillow;
# without them the test is skipped: exit status 77.
set -u

render=$(realpath "${1:?usage: render_video_test.sh RENDERER GROWTH_PICTURE NO_ENCODER}")
growth_picture=$(realpath "${2:?usage: render_video_test.sh RENDERER GROWTH_PICTURE NO_ENCODER}")
no_encoder=$(realpath "${3:?usage: render_video_test.sh RENDERER GROWTH_PICTURE NO_ENCODER}")
test_name=render_video_test
source "$(dirname "${BASH_SOURCE[0]}")/renderer_test_kit.sh"
for tool in ffmpeg ffprobe; do
  if ! command -v "$tool" >/dev/null; then
    echo "$test_name: skipped: no $tool; install ffmpeg" >&2
    exit 77
  fi
done
need_pillow

work=$(mktemp -d "${TMPDIR:-/tmp}/render-video-test.XXXXXX")
trap 'umount "$work/small-disk" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

cat >tool.py <<'PY'
import math, sys
from PIL import Image

command, args = sys.argv[1], sys.argv[2:]
if command == "psnr":
    # psnr FRAME PICTURE: the decoded frame, each 2 x 2 square averaged, against the card's picture
    with Image.open(args[0]) as frame, Image.open(args[1]) as picture:
        a = frame.convert("RGB").reduce(2)
        b = picture.convert("RGB")
        if a.size != b.size:
            sys.exit("sizes differ: %s and %s" % (a.size, b.size))
        a, b = a.tobytes(), b.tobytes()
    error = sum((x - y) ** 2 for x, y in zip(a, b))
    print(99.0 if error == 0 else 10 * math.log10(255 ** 2 * len(a) / error))
elif command == "boxes":
    # The file's top-level boxes in order: the index (moov) must come before the frames (mdat).
    data = open(args[0], "rb").read()
    at, names = 0, []
    while at + 8 <= len(data):
        size = int.from_bytes(data[at:at + 4], "big")
        names.append(data[at + 4:at + 8].decode("latin-1"))
        if size == 1:
            size = int.from_bytes(data[at + 8:at + 16], "big")
        if size < 8:
            break
        at += size
    print(" ".join(names))
PY
tool() { "$python" tool.py "$@"; }

# Decodes frame N of a video as a player that keeps each colour sample to its 2 x 2 square would.
decode_frame() {
  ffmpeg -nostdin -v error -y -i "$1" \
    -vf "select=eq(n\,$2),scale=flags=neighbor+full_chroma_int+accurate_rnd,format=rgb24" \
    -frames:v 1 "$3"
}

# --- the film as a player reads it ------------------------------------------------------------
# Each row: how the video is made (a single card beside its picture, a single card alone, a
# batch) and the name of its card. Every video is H.264 in yuv420p, 1400 x 1050 at 30 frames a
# second for 4.5 to 6 seconds, with its index at the front; its last frame is the card and a
# frame in mid-growth the window's picture at that moment. How closely a frame comes back depends
# on the card (fine strokes over smooth colour cost the most), so every row films one card whose
# frames come back at 40 dB or more: the frames' pixels before encoding are held to the window's
# exactly by the unit tests, for cards of every kind.
while read -r how name; do
  mkdir -p "$how"
  case $how in
    beside) run --name "$name" --out "$how/card.png" --video "$how/card.mp4" --threads 1 ;;
    alone) run --name "$name" --video "$how/card.mp4" ;;
    batch)
      printf '%s\n' "$name" >"$how-names.txt"
      run --names "$how-names.txt" --out-dir "$how/cards" --format mp4 --quiet
      mv "$how"/cards/T*-000001.mp4 "$how/card.mp4" 2>/dev/null
      ;;
  esac
  video=$how/card.mp4
  if [ "$status" -ne 0 ] || [ ! -s "$video" ]; then
    fail "$how: exit status $status, or no video"
    show_err
    continue
  fi
  if [ -s err.txt ]; then
    fail "$how: the renderer said something: $(head -c 300 err.txt)"
  fi
  if [ "$how" = beside ]; then
    card=$how/card.png
  else
    "$render" --name "$name" --out "$how/card.png" </dev/null 2>/dev/null
    card=$how/card.png
  fi
  facts=$(ffprobe </dev/null -v error -select_streams v:0 \
    -show_entries stream=codec_name,pix_fmt,width,height,r_frame_rate,nb_frames:format=duration \
    -of default=nw=1 "$video")
  fact() { sed -n "s/^$1=//p" <<<"$facts"; }
  duration=$(fact duration)
  frames=$(fact nb_frames)
  if [ "$(fact codec_name)" = h264 ] && [ "$(fact pix_fmt)" = yuv420p ] &&
    [ "$(fact width)x$(fact height)" = 1400x1050 ] && [ "$(fact r_frame_rate)" = 30/1 ] &&
    awk -v d="$duration" 'BEGIN { exit !(d >= 4.5 && d <= 6) }'; then
    pass
  else
    fail "$how: ffprobe says:" $facts
  fi
  boxes=$(tool boxes "$video")
  if [[ $boxes == *moov*mdat* ]]; then pass; else fail "$how: the index is not at the front: $boxes"; fi

  # The last frame against the card, and frame 45 (halfway through the growth) against the
  # window's picture after that frame's row.
  "$growth_picture" "$name" 45 "$how/expected-45.png" </dev/null
  for check in "$((frames - 1)) $card 40" "45 $how/expected-45.png 38"; do
    read -r frame expected least <<<"$check"
    if ! decode_frame "$video" "$frame" "$how/frame-$frame.png"; then
      fail "$how: frame $frame does not decode"
      continue
    fi
    psnr=$(tool psnr "$how/frame-$frame.png" "$expected")
    if awk -v p="$psnr" -v l="$least" 'BEGIN { exit !(p >= l) }'; then
      pass
    else
      fail "$how: frame $frame is at $psnr dB against $expected, less than $least"
    fi
  done
done <<'TABLE'
beside srecno novo leto
alone  srecno novo leto
batch  srecno novo leto
TABLE

# --- refused, and nothing left behind -----------------------------------------------------------
# Each row: status, what the message must say, the folder that must stay as it was, the kind of
# thing put in the way (or -; "no encoder": an FFmpeg without libx264), and the arguments. The
# folder holds no video and no temporary file afterwards, and whatever was in the way is still
# there.
mkdir ways small-disk
# A disk too small for a video (about 5 MB) takes a card's temporary file only in part.
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=512k tmpfs small-disk 2>/dev/null; then
  full_disk=yes
else
  full_disk=no
  echo "render_video_test: cannot mount a small disk here; the full disk not checked" >&2
fi
while IFS='|' read -r expected pattern folder in_the_way args; do
  if [ "$folder" = small-disk ] && [ "$full_disk" = no ]; then continue; fi
  case $in_the_way in
    folder) mkdir -p "$folder/in-the-way.mp4" ;;
    fifo) mkfifo "$folder/in-the-way.mp4" ;;
  esac
  before=$(ls -A "$folder" | tr '\n' ' ')
  if [ "$in_the_way" = "no encoder" ]; then
    eval "LD_PRELOAD=\$no_encoder run $args"
  else
    eval "run $args"
  fi
  after=$(ls -A "$folder" | tr '\n' ' ')
  if [ "$status" -ne "$expected" ]; then
    fail "$args: exit status $status, expected $expected"
    show_err
  elif ! said "$pattern"; then
    fail "$args: the message does not match /$pattern/"
    show_err
  elif [ "$after" != "$before" ]; then
    fail "$args: the folder held '$before' and holds '$after'"
  else
    pass
  fi
  rm -rf "${folder:?}"/in-the-way.mp4
done <<'TABLE'
2|refused name|ways|-|--name Ab --video ways/refused.mp4
2|must end in \.mp4|ways|-|--name ab --video ways/card.avi
2|not standard output|ways|-|--name ab --video -
2|lead to one file|ways|-|--name ab --recipe ways/both.mp4 --video ways/both.mp4
2|--out - writes the picture|ways|-|--name ab --out - --format mp4
2|--video.*for one card|ways|-|--names /dev/null --out-dir ways --video ways/batch.mp4
1|in-the-way\.mp4: it is a folder|ways|folder|--name ab --video ways/in-the-way.mp4
1|in-the-way\.mp4: it is a named pipe|ways|fifo|--name ab --video ways/in-the-way.mp4
1|disk is full|small-disk|-|--name ab --video small-disk/card.mp4
1|encoder libx264 is missing|ways|no encoder|--name ab --out ways/card.png --video ways/card.mp4
TABLE

report
