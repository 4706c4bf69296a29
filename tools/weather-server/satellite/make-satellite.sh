#!/bin/sh
# Draws the 640 x 480 infrared-style satellite picture that the weather server serves:
# dark sea, slightly lighter land, bright cloud bands. Fixed seeds keep the output the same
# from run to run with the same ImageMagick version (checked with 6.9.11).
# Usage: make-satellite.sh OUT.jpg
set -eu
out=${1:-iseur3.jpg}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Map frame: longitude -25..45 E over 640 px, latitude 72..30 N over 480 px.
to_px() {
  awk '{ for (i = 1; i <= NF; i += 2)
           printf "%d,%d ", ($i + 25) * 640 / 70, (72 - $(i + 1)) * 480 / 42 }'
}

mainland=$(echo "-5.6 36.0 -9.0 37.0 -8.9 39.5 -9.5 43.2 -8.0 43.7 -1.8 43.4 -1.2 46.0 \
 -2.5 47.3 -4.7 48.4 -1.6 48.7 0.0 49.5 1.6 50.9 3.5 51.4 4.5 53.0 7.0 53.6 8.6 53.9 \
 8.6 55.5 8.1 56.9 10.6 57.7 10.2 55.5 11.0 54.3 13.5 54.2 18.5 54.8 21.0 55.3 21.0 57.0 \
 24.0 57.3 23.5 59.2 28.0 59.6 25.0 60.2 22.0 60.4 21.5 61.5 25.0 65.0 24.0 65.8 21.5 65.0 \
 17.5 62.5 18.5 60.0 16.5 57.5 15.9 56.1 12.9 55.4 12.5 56.5 11.2 58.4 10.5 59.8 8.0 58.1 \
 5.6 58.9 5.0 62.0 8.0 63.5 10.5 64.8 14.0 67.5 16.0 68.5 19.0 70.0 25.8 71.1 31.0 70.2 \
 41.0 67.5 45.0 68.5 45.0 46.5 39.5 47.2 37.5 47.0 35.0 45.3 33.5 44.5 32.5 46.0 30.7 46.4 \
 29.6 45.3 28.6 43.7 27.9 42.5 29.0 41.2 26.0 40.6 23.0 40.5 24.0 38.0 23.0 36.5 21.0 37.5 \
 19.5 40.0 19.0 42.0 15.5 44.0 13.7 45.6 12.3 45.4 13.6 43.6 16.0 41.5 18.5 40.2 17.0 39.0 \
 16.0 38.0 15.6 38.0 12.5 41.5 10.5 43.5 8.8 44.4 7.0 43.6 4.5 43.4 3.2 42.0 0.0 40.0 \
 0.5 38.8 -2.0 36.7" | to_px)
britain=$(echo "-5.7 50.0 1.4 51.2 1.7 52.7 0.0 53.5 -1.6 55.6 -2.0 57.6 -3.0 58.6 -5.0 58.6 \
 -6.2 57.0 -5.6 55.3 -3.0 54.9 -3.3 53.4 -4.6 52.8 -4.3 51.7 -5.7 50.0" | to_px)
ireland=$(echo "-6.0 52.2 -6.2 54.0 -5.8 55.2 -8.3 55.2 -10.0 54.0 -10.2 51.6 -8.0 51.6" | to_px)
iceland=$(echo "-22.5 64.0 -24.0 65.5 -22.0 66.4 -16.0 66.5 -13.6 65.2 -15.0 64.3 -19.0 63.4" | to_px)
africa=$(echo "-25.0 30.0 -9.8 30.0 -9.0 32.5 -6.8 34.0 -5.9 35.8 -2.0 35.1 3.0 36.8 \
 10.2 37.2 11.0 35.0 10.0 33.8 11.5 33.0 15.0 32.3 20.0 30.0" | to_px)
anatolia=$(echo "26.2 40.0 26.5 38.5 27.4 37.0 28.5 36.6 30.6 36.8 32.0 36.2 36.0 36.5 \
 36.2 30.0 45.0 30.0 45.0 41.0 41.5 41.5 36.0 41.7 33.0 42.0 29.5 41.2 27.5 40.9" | to_px)
baltic=$(echo "14.3 54.5 18.5 55.2 20.8 56.8 21.8 58.3 19.4 59.6 19.4 60.7 18.3 60.6 17.0 57.8 \
 16.3 56.4 14.6 55.7" | to_px)
bothnia=$(echo "19.8 60.6 21.0 60.8 21.6 63.2 24.6 65.0 22.3 65.5 20.2 63.6 18.2 62.1" | to_px)
blacksea=$(echo "28.1 43.2 28.9 41.6 31.5 41.3 35.0 42.0 38.5 40.9 41.5 41.6 41.3 42.6 39.5 44.0 \
 37.3 45.0 34.5 44.6 33.4 44.9 32.5 45.5 31.0 46.4 29.9 45.3" | to_px)

# Ground: sea and land in dark greys, as warm surfaces look in the infrared channel.
convert -size 640x480 xc:'#16181b' \
  -fill '#2b2c2e' -draw "polygon $mainland" -draw "polygon $britain" \
  -draw "polygon $ireland" -draw "polygon $iceland" -draw "polygon $africa" \
  -draw "polygon $anatolia" \
  -fill '#16181b' -draw "polygon $baltic" -draw "polygon $bothnia" -draw "polygon $blacksea" \
  -seed 11 -attenuate 0.35 +noise Gaussian -blur 0x0.8 "$work/ground.png"

# Coastlines and a 10-degree grid, thin and grey like the overlay of the real mosaics.
convert -size 640x480 xc:none -fill none -stroke '#6b6d70' -strokewidth 1 \
  -draw "polygon $mainland" -draw "polygon $britain" -draw "polygon $ireland" \
  -draw "polygon $iceland" -draw "polygon $africa" -draw "polygon $anatolia" \
  -draw "polygon $baltic" -draw "polygon $bothnia" -draw "polygon $blacksea" \
  -stroke '#3c3e41' -draw "line 45,0 45,479" -draw "line 137,0 137,479" \
  -draw "line 228,0 228,479" -draw "line 320,0 320,479" -draw "line 411,0 411,479" \
  -draw "line 502,0 502,479" -draw "line 594,0 594,479" \
  -draw "line 0,22 639,22" -draw "line 0,137 639,137" -draw "line 0,251 639,251" \
  -draw "line 0,365 639,365" "$work/lines.png"

# Clouds: fractal noise stretched into south-west to north-east bands, cut to leave clear
# gaps, plus one bright frontal band curving from the Atlantic to Scandinavia.
for s in 20 40 80 160; do
  convert -size ${s}x$((s * 3 / 4)) xc:grey50 -seed $((s + 3)) -attenuate 6 +noise Uniform \
    -colorspace Gray -blur 0x0.7 -filter Gaussian -resize 640x480! "$work/noise$s.png"
done
convert "$work/noise20.png" "$work/noise40.png" "$work/noise80.png" "$work/noise160.png" \
  -poly "0.45,1 0.3,1 0.15,1 0.1,1" -normalize "$work/fbm.png"
convert "$work/fbm.png" -motion-blur 0x18+35 -level 50%,82% "$work/bands.png"
convert -size 640x480 xc:black -fill none -stroke white -strokewidth 40 \
  -draw "bezier 0,430 170,330 250,160 600,50" -blur 0x20 "$work/front.png"
convert "$work/front.png" "$work/fbm.png" -compose Multiply -composite -level 0%,70% \
  "$work/front2.png"
convert "$work/bands.png" "$work/front2.png" -compose Lighten -composite "$work/clouds.png"

convert "$work/ground.png" "$work/lines.png" -compose Over -composite \
  "$work/clouds.png" -compose Screen -composite \
  -colorspace sRGB -type TrueColor -interlace none -sampling-factor 2x2 -quality 80 -strip \
  "$out"
