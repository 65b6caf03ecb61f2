#!/usr/bin/env python3
"""lnkinfo.py - prints what a Windows shortcut (.lnk) file names, one
"key=value" line each: target (the local base path of its link
information), name, relative, workdir, arguments, icon. Only what the
installer's test needs of the shell link format."""
import struct
import sys

FLAG_IDLIST, FLAG_LINKINFO = 0x01, 0x02
STRING_FLAGS = [(0x04, 'name'), (0x08, 'relative'), (0x10, 'workdir'),
                (0x20, 'arguments'), (0x40, 'icon')]
FLAG_UNICODE = 0x80


def read_lnk(data):
    if len(data) < 76 or struct.unpack_from('<I', data, 0)[0] != 76:
        raise ValueError('not a shell link file')
    flags = struct.unpack_from('<I', data, 20)[0]
    pos = 76
    fields = {}
    if flags & FLAG_IDLIST:
        pos += 2 + struct.unpack_from('<H', data, pos)[0]
    if flags & FLAG_LINKINFO:
        size, _header, info_flags, _volume, base_offset = struct.unpack_from('<5I', data, pos)
        if info_flags & 1:
            start = pos + base_offset
            fields['target'] = data[start:data.index(b'\0', start)].decode('latin-1')
        pos += size
    for bit, key in STRING_FLAGS:
        if flags & bit:
            count = struct.unpack_from('<H', data, pos)[0]
            pos += 2
            if flags & FLAG_UNICODE:
                fields[key] = data[pos:pos + 2 * count].decode('utf-16-le')
                pos += 2 * count
            else:
                fields[key] = data[pos:pos + count].decode('latin-1')
                pos += count
    return fields


def main():
    with open(sys.argv[1], 'rb') as f:
        fields = read_lnk(f.read())
    # Wine counts the terminating NUL in the strings; Windows does not.
    fields = {key: value.rstrip('\0') for key, value in fields.items()}
    for key in ['target', 'name', 'relative', 'workdir', 'arguments', 'icon']:
        if key in fields:
            print('%s=%s' % (key, fields[key]))


if __name__ == '__main__':
    main()
