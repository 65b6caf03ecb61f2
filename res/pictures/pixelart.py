#!/usr/bin/env python3
"""pixelart.py - turns Spindle2's pictures, drawn as text, into the .ico and
.bmp files that spindle2.rc links into the program. Run at build time.

    pixelart.py --palette palette.txt --out DIR FILE.pix...   write the files
    pixelart.py --list FILE.pix...                            name them only

A .pix file holds pictures one after another. Each starts with a header line

    icon NAME WIDTH HEIGHT     -> NAME.ico, 16 colours, '.' transparent
    bitmap NAME WIDTH HEIGHT   -> NAME.bmp, 16 colours, every pixel painted
    button NAME WIDTH HEIGHT   -> NAME.bmp, NAME_pushed.bmp, NAME_disabled.bmp

followed by HEIGHT rows of WIDTH palette characters. For a button the rows
are the symbol alone ('.' elsewhere); the three bitmaps put it on a raised
face, on a pressed face one pixel down and to the right, and etched in grey
on a raised face. Lines starting with '#' and blank lines between pictures
are comments. Only the standard library is used.
"""

import argparse
import os
import struct
import sys

TRANSPARENT = '.'

# The button faces, in palette characters.
FACE, LIGHT, SHADOW, DARK = 'w', 'W', 'k', 'K'


class PictureError(Exception):
    pass


def read_palette(path):
    """The palette as (characters in palette order, char -> (r, g, b))."""
    order, colours = [], {}
    with open(path, encoding='ascii') as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith('#'):
                continue
            fields = line.split()
            char, rgb = fields[0], fields[1]
            if len(char) != 1 or char == TRANSPARENT or char in colours or len(rgb) != 6:
                raise PictureError('%s:%d: bad palette entry' % (path, number))
            colours[char] = (int(rgb[0:2], 16), int(rgb[2:4], 16), int(rgb[4:6], 16))
            order.append(char)
    if len(order) != 16:
        raise PictureError('%s: a 16-colour palette needs 16 entries, not %d' % (path, len(order)))
    return order, colours


def read_pictures(path):
    """The pictures of one .pix file as (kind, name, rows, where)."""
    with open(path, encoding='ascii') as f:
        lines = f.read().splitlines()
    pictures, i = [], 0
    while i < len(lines):
        line = lines[i].strip()
        i += 1
        if not line or line.startswith('#'):
            continue
        fields = line.split()
        where = '%s:%d' % (path, i)
        if len(fields) != 4 or fields[0] not in ('icon', 'bitmap', 'button'):
            raise PictureError('%s: expected "icon|bitmap|button NAME WIDTH HEIGHT"' % where)
        kind, name = fields[0], fields[1]
        width, height = int(fields[2]), int(fields[3])
        rows = [row.strip() for row in lines[i:i + height]]
        i += height
        if len(rows) != height:
            raise PictureError('%s: %s has %d rows, not %d' % (where, name, len(rows), height))
        for n, row in enumerate(rows):
            if len(row) != width:
                raise PictureError('%s: row %d of %s is %d wide, not %d' % (where, n + 1, name, len(row), width))
        pictures.append((kind, name, rows, where))
    return pictures


def check_colours(rows, colours, transparent_ok, where):
    for n, row in enumerate(rows):
        for char in row:
            if char == TRANSPARENT and transparent_ok:
                continue
            if char not in colours:
                raise PictureError('%s: row %d: "%s" is not a palette colour here' % (where, n + 1, char))


def button_faces(symbol, where):
    """The normal, pushed and disabled faces of a button symbol."""
    height, width = len(symbol), len(symbol[0])
    marks = [(x, y) for y in range(height) for x in range(width) if symbol[y][x] != TRANSPARENT]
    # The face is inside a one-pixel light edge (top, left) and a two-pixel
    # shadow (bottom, right); the symbol must stay on it when moved by one.
    for x, y in marks:
        if not (1 <= x <= width - 4 and 1 <= y <= height - 4):
            raise PictureError('%s: the symbol reaches the button edge at (%d, %d)' % (where, x, y))

    def face(pressed):
        grid = [[FACE] * width for _ in range(height)]
        for y in range(height):
            for x in range(width):
                last_x, last_y = x == width - 1, y == height - 1
                if pressed:
                    # Sunk in: dark above and left, light below and right.
                    if x == 0 or y == 0:
                        grid[y][x] = DARK
                    elif last_x or last_y:
                        grid[y][x] = LIGHT
                    elif x == 1 or y == 1:
                        grid[y][x] = SHADOW
                else:
                    if last_x or last_y:
                        grid[y][x] = DARK
                    elif x == 0 or y == 0:
                        grid[y][x] = LIGHT
                    elif x == width - 2 or y == height - 2:
                        grid[y][x] = SHADOW
        return grid

    normal = face(False)
    for x, y in marks:
        normal[y][x] = symbol[y][x]
    pushed = face(True)
    for x, y in marks:
        pushed[y + 1][x + 1] = symbol[y][x]
    disabled = face(False)
    for x, y in marks:
        disabled[y + 1][x + 1] = LIGHT
    for x, y in marks:
        disabled[y][x] = SHADOW
    return [[''.join(row) for row in grid] for grid in (normal, pushed, disabled)]


def palette_bytes(order, colours):
    return b''.join(struct.pack('<BBBB', colours[c][2], colours[c][1], colours[c][0], 0) for c in order)


def pixel_rows_4bpp(rows, index_of):
    """Bottom-up rows of 4-bit indices, each padded to 4 bytes."""
    out = b''
    for row in reversed(rows):
        nibbles = [index_of.get(c, 0) for c in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        out += data + b'\0' * (-len(data) % 4)
    return out


def mask_rows(rows):
    """Bottom-up rows of the icon's AND mask (1 = transparent), padded to 4 bytes."""
    out = b''
    for row in reversed(rows):
        bits = [1 if c == TRANSPARENT else 0 for c in row]
        bits += [0] * (-len(bits) % 8)
        data = bytes(sum(bit << (7 - i) for i, bit in enumerate(bits[n:n + 8])) for n in range(0, len(bits), 8))
        out += data + b'\0' * (-len(data) % 4)
    return out


def info_header(width, height, image_size):
    # BITMAPINFOHEADER: 4 bits per pixel, 16 palette entries, uncompressed.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def bmp_file(rows, order, colours):
    index_of = {c: i for i, c in enumerate(order)}
    pixels = pixel_rows_4bpp(rows, index_of)
    header = info_header(len(rows[0]), len(rows), len(pixels)) + palette_bytes(order, colours)
    offset = 14 + len(header)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + pixels


def ico_file(rows, order, colours):
    index_of = {c: i for i, c in enumerate(order)}
    width, height = len(rows[0]), len(rows)
    pixels = pixel_rows_4bpp(rows, index_of)   # transparent pixels are black
    mask = mask_rows(rows)
    # An icon's bitmap is as high as its colour rows and mask rows together.
    image = info_header(width, height * 2, len(pixels) + len(mask)) + palette_bytes(order, colours) + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def outputs_of(kind, name):
    if kind == 'icon':
        return [name + '.ico']
    if kind == 'bitmap':
        return [name + '.bmp']
    return [name + '.bmp', name + '_pushed.bmp', name + '_disabled.bmp']


def main(argv):
    parser = argparse.ArgumentParser(description='Turns text pictures into .ico and .bmp files.')
    parser.add_argument('--palette')
    parser.add_argument('--out')
    parser.add_argument('--list', action='store_true', help='print the names of the files that would be written')
    parser.add_argument('sources', nargs='+')
    args = parser.parse_args(argv)
    try:
        pictures = [p for source in args.sources for p in read_pictures(source)]
        names = [out for kind, name, _, _ in pictures for out in outputs_of(kind, name)]
        duplicates = sorted(set(n for n in names if names.count(n) > 1))
        if duplicates:
            raise PictureError('pictures named twice: ' + ', '.join(duplicates))
        if args.list:
            print(';'.join(names))
            return 0
        if not args.palette or not args.out:
            raise PictureError('--palette and --out are needed to write the files')
        order, colours = read_palette(args.palette)
        os.makedirs(args.out, exist_ok=True)
        for kind, name, rows, where in pictures:
            check_colours(rows, colours, kind != 'bitmap', where)
            if kind == 'icon':
                files = {name + '.ico': ico_file(rows, order, colours)}
            elif kind == 'bitmap':
                files = {name + '.bmp': bmp_file(rows, order, colours)}
            else:
                faces = button_faces(rows, where)
                files = {out: bmp_file(face, order, colours) for out, face in zip(outputs_of(kind, name), faces)}
            for out, data in files.items():
                with open(os.path.join(args.out, out), 'wb') as f:
                    f.write(data)
    except (PictureError, OSError, ValueError) as error:
        print('pixelart: %s' % error, file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
