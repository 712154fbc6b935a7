#!/usr/bin/env bash
# Draws samples/starfield-banner.jpg, the picture packed with the sample saver:
# a night sky with the saver's name. ImageMagick 6 and the DejaVu fonts, both
# installed by scripts/setup; the seeds keep the sky the same on every run.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/starfield-banner.jpg}"
fonts=/usr/share/fonts/truetype/dejavu
w=298 h=157
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Sky: a deep blue glow low in the middle, fading to black at the edges.
convert -size $((w * 2))x$((h * 2)) radial-gradient:'#24407a'-'#020208' \
  -crop ${w}x${h}+$((w / 2))+$((h / 3)) +repage "$tmp/sky.png"

# Faint stars everywhere, a few bright ones, and a soft halo around the bright.
convert -size ${w}x${h} xc:gray -seed 7 +noise Random -colorspace Gray -threshold 98.6% \
  -evaluate multiply 0.45 "$tmp/faint.png"
convert -size ${w}x${h} xc:gray -seed 11 +noise Random -colorspace Gray -threshold 99.75% "$tmp/bright.png"
convert "$tmp/bright.png" -morphology Dilate Disk:1 -blur 0x2.5 -fill '#8fb0ff' -tint 100 "$tmp/halo.png"

# The name with a blue glow under white letters.
convert -size ${w}x${h} xc:none -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 38 -gravity center \
  -fill '#6f9bff' -annotate +0-12 'Starfield' -blur 0x4 "$tmp/glow.png"
convert -size ${w}x${h} xc:none -gravity center \
  -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 38 -fill white -annotate +0-12 'Starfield' \
  -font "$fonts/DejaVuSans.ttf" -pointsize 13 -fill '#c8d6ff' -annotate +0+26 'a screen saver for Windows' \
  "$tmp/title.png"

convert "$tmp/sky.png" \
  "$tmp/faint.png" -compose screen -composite \
  "$tmp/halo.png" -compose screen -composite \
  "$tmp/bright.png" -compose screen -composite \
  "$tmp/glow.png" -compose over -composite \
  "$tmp/title.png" -compose over -composite \
  -strip -sampling-factor 2x2 -quality 85 "$out"
echo "$out"
