#!/bin/sh
# Regenerates the test pictures (needs ImageMagick's convert). Each file is
# named after its own pixel format; colours.* hold the 4 x 2 colour pattern
# the gray-conversion tests check exactly.
set -eu
cd "$(dirname "$0")"
im=/usr/bin/convert

# Row 0: red 200, blue 200, green 200, white; row 1: black, (10,20,30), gray 128, magenta.
printf '\310\000\000\000\000\310\000\310\000\377\377\377\000\000\000\012\024\036\200\200\200\377\000\377' >colours.rgb
$im -size 4x2 -depth 8 rgb:colours.rgb BMP3:rgb24.bmp
$im -size 4x2 -depth 8 rgb:colours.rgb -alpha on -channel A -evaluate set 50% +channel -define bmp:format=bmp4 BMP:argb32.bmp
$im -size 4x2 -depth 8 rgb:colours.rgb -define tiff:alpha=unassociated -alpha on tiff:rgba32.tif
$im -size 4x2 -depth 8 rgb:colours.rgb -compress none tiff:rgb24.tif
$im -size 4x2 -depth 8 rgb:colours.rgb -depth 16 tiff:rgb48.tif
$im -size 4x2 -depth 8 rgb:colours.rgb -alpha on -depth 16 tiff:rgba64.tif
$im -size 4x2 -depth 8 rgb:colours.rgb -define bmp:subtype=RGB565 BMP:rgb565.bmp
$im -size 4x2 -depth 8 rgb:colours.rgb -quality 95 rgb.jpg
rm colours.rgb

# Gray ramps: 8-bit 0, 85, 170, 255, then 25 levels 9 apart (enough for an
# 8-bit palette), and 16-bit 0, 1000, 40000, 65535.
printf '\000\125\252\377\012\023\034\045\056\067\100\111\133\144\155\166\177\210\221\232\243\265\276\307\320\331\342\353\364' >ramp8.gray
printf '\000\000\003\350\234\100\377\377' >ramp16.gray
$im -size 29x1 -depth 8 gray:ramp8.gray -type Palette -compress none BMP3:indexed8.bmp
$im -size 29x1 -depth 8 gray:ramp8.gray -type Palette -compress RLE BMP3:rle8.bmp
$im -size 29x1 -depth 8 gray:ramp8.gray -type Grayscale tiff:gray8.tif
$im -size 4x1 -depth 16 -endian MSB gray:ramp16.gray -type Grayscale tiff:gray16.tif
$im -size 29x1 -depth 8 gray:ramp8.gray -type Grayscale gray.jpg
rm ramp8.gray ramp16.gray

# Larger pictures for the JPEG variants and the refused low depths.
$im -size 32x24 gradient:white-navy -quality 90 -interlace Plane progressive.jpg
$im -size 32x24 gradient:white-navy -colorspace CMYK cmyk.jpg
$im -size 32x24 gradient:white-black -monochrome BMP3:mono1.bmp
$im -size 32x24 gradient:white-black -monochrome -depth 1 -compress none tiff:mono1.tif
$im -size 32x24 gradient:white-red -colors 16 -type Palette BMP3:palette4.bmp

printf 'not a picture\n' >broken.bmp
