#!/usr/bin/env bash
# Draws the button bitmaps, the five volume pictures and the program icon with
# ImageMagick. The outputs are committed; run this again after changing a drawing.
# Bitmaps use a 256-colour palette on the 3-D grey (192,192,192) so that
# LoadImage(LR_LOADMAP3DCOLORS) blends them into the button face.
set -euo pipefail
cd "$(dirname "$0")"
out=bitmaps
mkdir -p "$out"
face='rgb(192,192,192)'
ink='rgb(32,32,48)'

bitmap() { # name width height draw-arguments...
  local name=$1 w=$2 h=$3; shift 3
  convert -size "${w}x${h}" "xc:$face" "$@" -type Palette -colors 64 "BMP3:$out/$name.bmp"
}

# Transport buttons: 20 x 14.
bitmap prev   20 14 -fill "$ink" -draw 'rectangle 3,3 4,10' -draw 'polygon 10,3 5,6.5 10,10' -draw 'polygon 16,3 11,6.5 16,10'
bitmap rewind 20 14 -fill "$ink" -draw 'polygon 10,3 4,6.5 10,10' -draw 'polygon 16,3 10,6.5 16,10'
bitmap pause  20 14 -fill "$ink" -draw 'rectangle 6,3 8,10' -draw 'rectangle 11,3 13,10'
bitmap play   20 14 -fill 'rgb(0,110,0)' -draw 'polygon 6,2 14,6.5 6,11'
bitmap stop   20 14 -fill "$ink" -draw 'rectangle 6,3 13,10'
bitmap ffwd   20 14 -fill "$ink" -draw 'polygon 4,3 10,6.5 4,10' -draw 'polygon 10,3 16,6.5 10,10'
bitmap next   20 14 -fill "$ink" -draw 'polygon 4,3 9,6.5 4,10' -draw 'polygon 10,3 15,6.5 10,10' -draw 'rectangle 16,3 17,10'

# Tool buttons: 20 x 14.
bitmap open 20 14 -fill 'rgb(230,190,60)' -stroke 'rgb(120,90,20)' \
  -draw 'polygon 2,3 7,3 8,4 16,4 16,11 2,11' -fill 'rgb(250,220,110)' -draw 'polygon 4,6 18,6 16,11 2,11'
bitmap url 20 14 -fill 'rgb(70,130,210)' -stroke 'rgb(20,50,120)' -draw 'circle 10,7 10,1' \
  -fill none -stroke 'rgb(220,235,255)' -draw 'line 4,7 16,7' -draw 'ellipse 10,7 2.5,5.5 0,360'
bitmap playlist 20 14 -fill "$ink" -draw 'rectangle 3,2 4,3' -draw 'rectangle 6,2 16,3' \
  -draw 'rectangle 3,6 4,7' -draw 'rectangle 6,6 16,7' -draw 'rectangle 3,10 4,11' -draw 'rectangle 6,10 16,11'
bitmap random 20 14 -fill none -stroke "$ink" -strokewidth 1.5 -draw 'line 3,3 8,3' -draw 'line 8,3 13,10' \
  -draw 'line 3,10 8,10' -draw 'line 8,10 13,3' -draw 'line 13,3 15,3' -draw 'line 13,10 15,10' \
  -stroke none -fill "$ink" -draw 'polygon 15,0.5 18,3 15,5.5' -draw 'polygon 15,7.5 18,10 15,12.5'
bitmap endless 20 14 -fill none -stroke "$ink" -strokewidth 1.5 -draw 'arc 4,2 16,12 200,520' \
  -stroke none -fill "$ink" -draw 'polygon 2,5 7,5 4.5,8.5'
bitmap properties 20 14 -fill none -stroke "$ink" -draw 'line 3,3 16,3' -draw 'line 3,7 16,7' -draw 'line 3,11 16,11' \
  -stroke none -fill 'rgb(200,40,40)' -draw 'rectangle 6,1 8,5' -draw 'rectangle 12,5 14,9' -draw 'rectangle 8,9 10,13'
bitmap exit 20 14 -fill none -stroke 'rgb(180,20,20)' -strokewidth 2 -draw 'line 5,2 14,11' -draw 'line 14,2 5,11'

# Playlist editor buttons: 20 x 14 (Load uses the open picture, URL its own).
paper='rgb(250,250,250)'
bitmap new 20 14 -fill "$paper" -stroke "$ink" -draw 'polygon 5,1 12,1 15,4 15,12 5,12' \
  -fill none -draw 'polyline 12,1 12,4 15,4'
bitmap import 20 14 -fill "$ink" -draw 'rectangle 9,2 17,3' -draw 'rectangle 9,6 17,7' -draw 'rectangle 9,10 17,11' \
  -fill 'rgb(0,120,0)' -draw 'rectangle 1,6 4,7' -draw 'polygon 4,3 8,6.5 4,10'
bitmap save 20 14 -fill 'rgb(40,70,150)' -stroke "$ink" -draw 'polygon 4,1 15,1 16,2 16,12 4,12' \
  -stroke none -fill "$paper" -draw 'rectangle 6,2 13,6' -fill 'rgb(200,200,200)' -draw 'rectangle 7,9 13,12'
bitmap track-properties 20 14 -fill 'rgb(40,90,170)' -draw 'circle 10,7 10,1' \
  -fill white -draw 'rectangle 9,6 11,10' -draw 'rectangle 9,3 11,4'
bitmap delete 20 14 -fill "$ink" -draw 'rectangle 3,2 11,3' -draw 'rectangle 3,6 11,7' -draw 'rectangle 3,10 11,11' \
  -fill none -stroke 'rgb(190,20,20)' -strokewidth 2 -draw 'line 13,4 18,9' -draw 'line 18,4 13,9'
bitmap top 20 14 -fill "$ink" -draw 'rectangle 4,1 15,2' -fill 'rgb(0,110,0)' -draw 'polygon 10,4 5,9 15,9' \
  -draw 'rectangle 8,9 11,12'
bitmap bottom 20 14 -fill "$ink" -draw 'rectangle 4,11 15,12' -fill 'rgb(0,110,0)' -draw 'polygon 10,9 5,4 15,4' \
  -draw 'rectangle 8,1 11,4'
bitmap launch 20 14 -fill "$paper" -stroke "$ink" -draw 'rectangle 3,1 16,12' -stroke none \
  -fill 'rgb(40,70,150)' -draw 'rectangle 4,2 15,4' -fill 'rgb(230,190,60)' -draw 'rectangle 5,7 9,10'

# Volume pictures: a speaker and 0 to 4 bars, 32 x 16.
for level in 0 1 2 3 4; do
  args=(-fill "$ink" -draw 'rectangle 2,5 5,10' -draw 'polygon 5,5 10,1 10,14 5,10')
  for bar in 1 2 3 4; do
    x=$((10 + bar * 4)); top=$((12 - bar * 2))
    if ((bar <= level)); then colour='rgb(0,120,0)'; else colour='rgb(150,150,150)'; fi
    args+=(-fill "$colour" -draw "rectangle $x,$top $((x + 2)),13")
  done
  bitmap "volume$level" 32 16 "${args[@]}"
done

# Program icon: a note on a round blue badge, 32 and 16 pixels.
convert -size 32x32 xc:none -fill 'rgb(40,90,170)' -draw 'circle 16,16 16,1' \
  -fill white -draw 'ellipse 12,22 5,4 0,360' -draw 'rectangle 15,7 17,22' -draw 'polygon 17,7 24,10 24,13 17,10' \
  \( +clone -resize 16x16 \) quavera.ico
# Playlist editor icon: the list lines on the same badge.
convert -size 32x32 xc:none -fill 'rgb(40,90,170)' -draw 'circle 16,16 16,1' \
  -fill white -draw 'rectangle 8,9 10,11' -draw 'rectangle 13,9 24,11' -draw 'rectangle 8,15 10,17' \
  -draw 'rectangle 13,15 24,17' -draw 'rectangle 8,21 10,23' -draw 'rectangle 13,21 24,23' \
  \( +clone -resize 16x16 \) playlist_editor.ico

# Playback controls of the notification area, 32 and 16 pixels: the button's
# sign on a light rounded tile, so that it shows on any taskbar colour.
control_icon() { # name draw-arguments... (drawn on 32 x 32)
  local name=$1; shift
  convert -size 32x32 xc:none -fill 'rgb(236,238,244)' -stroke 'rgb(90,100,130)' -strokewidth 2 \
    -draw 'roundrectangle 1,1 30,30 6,6' -stroke none "$@" \( +clone -resize 16x16 \) "icons/$name.ico"
}
mkdir -p icons
control_icon previous -fill "$ink" -draw 'rectangle 6,8 9,23' -draw 'polygon 18,8 9,15.5 18,23' -draw 'polygon 27,8 18,15.5 27,23'
control_icon play -fill 'rgb(0,120,0)' -draw 'polygon 10,6 25,15.5 10,25'
control_icon pause -fill "$ink" -draw 'rectangle 9,7 14,24' -draw 'rectangle 18,7 23,24'
control_icon stop -fill "$ink" -draw 'rectangle 8,8 23,23'
control_icon next -fill "$ink" -draw 'polygon 4,8 13,15.5 4,23' -draw 'polygon 13,8 22,15.5 13,23' -draw 'rectangle 22,8 25,23'
