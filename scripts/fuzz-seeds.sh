#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into fuzz/corpus/*/seed-*: small valid pictures of
# every variant the loading table knows (made with ImageMagick), the clipboard's bitmap blocks
# of every form the reader takes, and a few inputs for the fill and the tile store. The seeds
# are checked in; run this only to make them anew. The campaign (scripts/fuzz.sh) adds what it
# finds beside them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
corpus="$root/fuzz/corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus"/{picture_header,clipboard_dib,flood_fill,tile_store}
rm -f "$corpus"/*/seed-*

# A 24 x 16 picture of 278 colours with a flat rectangle in it.
cd "$work"
convert -size 24x16 gradient:red-blue \( -size 16x24 gradient:yellow-green -rotate 90 \) \
    -compose Multiply -composite -fill white -draw "rectangle 4,4 12,10" -strip src.png
convert src.png -alpha set -channel A -fx "i/w" +channel src-alpha.png

out="$corpus/picture_header"
made() { # made NAME FORMAT [convert arguments...]
    local name=$1 format=$2
    shift 2
    convert "$@" "$format:$out/seed-$name"
}
made 24.bmp BMP3 src.png -type TrueColor -compress None
made os2.bmp BMP2 src.png -type TrueColor
made v5.bmp BMP src.png -type TrueColor
made v5-alpha.bmp BMP src-alpha.png
made 565.bmp BMP src.png -type TrueColor -define bmp:subtype=RGB565
made palette.bmp BMP3 src.png -type Palette -compress None
made 4bit.bmp BMP3 src.png -colors 16 -depth 4 -type Palette -compress None
made 1bit.bmp BMP3 src.png -monochrome
made rle8.bmp BMP3 src.png -type Palette -compress RLE
made baseline.jpg JPEG src.png -strip -quality 85
made progressive.jpg JPEG src.png -strip -interlace JPEG
made full-colour.jpg JPEG src.png -strip -sampling-factor 1x1
made grey.jpg JPEG src.png -strip -colorspace Gray
made rgb.png PNG24 src.png -strip
made alpha.png PNG32 src-alpha.png -strip
made interlaced.png PNG src.png -strip -interlace PNG
made palette.png PNG8 src.png -strip
made 16bit.png PNG48 src.png -strip
made grey.png PNG src.png -strip -colorspace Gray
made a.gif GIF src.png
made interlaced.gif GIF src.png -interlace GIF
made plain.tif TIFF src.png -strip -compress None
made lzw.tif TIFF src.png -strip -compress LZW
made deflate.tif TIFF src.png -strip -compress Zip
made packbits.tif TIFF src.png -strip -compress RLE
made tiled.tif TIFF src.png -strip -define tiff:tile-geometry=16x16
made big-endian.tif TIFF src.png -strip -endian MSB
made fax.tif TIFF src.png -strip -colorspace Gray -threshold 50% -compress Group4
made two-pages.tif TIFF src.png \( src.png -resize 12x8 \) -strip -compress None
convert -size 8x8 xc:orange -strip JPEG:thumbnail.jpg

python3 - "$corpus" "$work" <<'EOF'
import random, struct, sys
corpus, work = sys.argv[1], sys.argv[2]

def write(folder, name, data):
    with open(f"{corpus}/{folder}/seed-{name}", "wb") as f:
        f.write(data)

# A JPEG with a thumbnail of another size in an APP0 segment, as cameras write them.
jpeg = open(f"{corpus}/picture_header/seed-baseline.jpg", "rb").read()
thumbnail = open(f"{work}/thumbnail.jpg", "rb").read()
segment = b"JFXX\0\x10" + thumbnail
write("picture_header", "thumbnail.jpg",
      jpeg[:2] + b"\xFF\xE0" + struct.pack(">H", len(segment) + 2) + segment + jpeg[2:])

# Bitmap blocks as the clipboard holds them: info header, masks, colour table, rows.
def dib(header_size, width, height, bits, compression, rows, table=b"", masks=(), used=0,
        after=b""):
    header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression,
                         len(rows), 2835, 2835, used, 0)
    mask_bytes = b"".join(struct.pack("<I", m) for m in masks)
    if header_size == 40:
        header += mask_bytes
    else:
        header += mask_bytes.ljust(header_size - 40, b"\0")
    return header + table + rows + after

def rows_of(width, height, bits, pixel):
    stride = (width * bits + 31) // 32 * 4
    data = b""
    for y in range(height):
        row = bytearray()
        if bits >= 8:
            for x in range(width):
                row += pixel(x, y)
        else:
            value, filled = 0, 0
            for x in range(width):
                value = value << bits | pixel(x, y)
                filled += bits
                if filled == 8:
                    row.append(value)
                    value, filled = 0, 0
            if filled:
                row.append(value << (8 - filled))
        data += bytes(row).ljust(stride, b"\0")
    return data

w, h = 7, 5
table16 = b"".join(bytes((16 * i, 255 - 16 * i, 8 * i, 0)) for i in range(16))
blocks = {
    "1bit.dib": dib(40, w, h, 1, 0, rows_of(w, h, 1, lambda x, y: (x + y) & 1),
                    b"\0\0\0\0\xff\xff\xff\0"),
    "4bit.dib": dib(40, w, h, 4, 0, rows_of(w, h, 4, lambda x, y: (x * 3 + y) % 16), table16),
    "8bit-short-table.dib": dib(40, w, h, 8, 0, rows_of(w, h, 8, lambda x, y: bytes([x + y])),
                                table16[:24], used=6),
    "16bit-555.dib": dib(40, w, h, 16, 0, rows_of(w, h, 16, lambda x, y: struct.pack("<H", x * 1000 + y))),
    "16bit-565-fields.dib": dib(40, w, h, 16, 3, rows_of(w, h, 16, lambda x, y: struct.pack("<H", x * 2000 + y)),
                                masks=(0xF800, 0x07E0, 0x001F)),
    "24bit.dib": dib(40, w, h, 24, 0, rows_of(w, h, 24, lambda x, y: bytes((x * 30, y * 50, 90)))),
    "24bit-top-down.dib": dib(40, w, -h, 24, 0, rows_of(w, h, 24, lambda x, y: bytes((x * 30, y * 50, 90)))),
    "32bit-screenshot.dib": dib(40, w, h, 32, 0, rows_of(w, h, 32, lambda x, y: bytes((x * 30, y * 50, 90, 0)))),
    "32bit-alpha.dib": dib(40, w, -h, 32, 0, rows_of(w, h, 32, lambda x, y: bytes((x * 30, y * 50, 90, x * 40)))),
    "32bit-fields.dib": dib(40, w, h, 32, 3, rows_of(w, h, 32, lambda x, y: bytes((x * 30, y * 50, 90, 7))),
                            masks=(0xFF0000, 0xFF00, 0xFF)),
    "32bit-alpha-fields.dib": dib(40, w, h, 32, 6, rows_of(w, h, 32, lambda x, y: bytes((x * 30, y * 50, 90, y * 60))),
                                  masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "24bit-colour-list.dib": dib(40, w, h, 24, 0, rows_of(w, h, 24, lambda x, y: bytes((x, y, 9))),
                                 table16[:8], used=2),
    "v2-16bit.dib": dib(52, w, h, 16, 3, rows_of(w, h, 16, lambda x, y: struct.pack("<H", x * 3000 + y)),
                        masks=(0x7C00, 0x03E0, 0x001F)),
    "v3-32bit.dib": dib(56, w, h, 32, 3, rows_of(w, h, 32, lambda x, y: bytes((x, y, 9, 200))),
                        masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "v4-32bit.dib": dib(108, w, -h, 32, 3, rows_of(w, h, 32, lambda x, y: bytes((x, y, 9, 128))),
                        masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "v5-32bit-profile.dib": dib(124, w, h, 32, 3, rows_of(w, h, 32, lambda x, y: bytes((x, 9, y, x * y))),
                                masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000), after=b"profile" * 4),
    "v5-8bit.dib": dib(124, w, h, 8, 0, rows_of(w, h, 8, lambda x, y: bytes([(x * y) % 16])), table16, used=16),
}
for name, block in blocks.items():
    write("clipboard_dib", name, block)
# The same blocks as BMP files: a file header of 14 bytes before each.
for name in ("4bit.dib", "32bit-alpha.dib", "32bit-alpha-fields.dib", "v4-32bit.dib"):
    block = blocks[name]
    size = struct.unpack("<I", block[:4])[0]
    if size == 40 and struct.unpack("<I", block[16:20])[0] in (3, 6):
        size += 4 * (3 if block[16] == 3 else 4)
    bits = struct.unpack("<H", block[14:16])[0]
    table = 4 * (16 if bits == 4 else 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(block), 0, 0, 14 + size + table)
    write("picture_header", name.replace(".dib", ".bmp"), header + block)

# The fill and the tile store read their choices from bytes of any kind.
rng = random.Random(17)
for i, size in enumerate((16, 64, 300, 700, 1200)):
    write("flood_fill", f"{i}", bytes(rng.randrange(256) for _ in range(size)))
for i, size in enumerate((8, 100, 300, 600)):
    write("tile_store", f"{i}", bytes(rng.randrange(256) for _ in range(size)))
EOF
du -sh "$corpus"/*
