#!/usr/bin/env python3
"""makehelp.py - writes Spindle2.hlp, the program's WinHelp file, from the
plain-text topics in res/help. Run at build time; only the standard library.

    makehelp.py --out Spindle2.hlp project.txt

project.txt names the file's title, its copyright notice, the contents
topic and the topic files, in the order their topics appear:

    title      Spindle2 Help
    copyright  Copyright (C) 2026 the Spindle2 developers
    contents   contents
    topics     contents.txt panel.txt ...

A topic file holds topics one after another ('#' starts a comment line):

    @topic NAME Title       a topic of the main window; its title heads it
    @popup NAME Title       a pop-up topic; the title is only its name
    @map 101 [102 ...]      help ids (context help) that open this topic

NAME is the topic's context string (letters, digits, '_' and '.'). The
text below is plain text, one paragraph per run of lines:

    ## Heading             a heading inside the topic
    - item                 an item of a list (further lines indented)
    1. step                a numbered item, likewise
    **words**              bold words
    [words](name)          a jump to topic NAME
    [words](popup:name)    topic NAME shown as a pop-up
    \\x                    the character x itself (for \\, *, [ or ])

The output is a WinHelp 3.1 file, which WinHelp 4 and Wine's winhlp32
also read: the internal file system with its directory B+ tree, |SYSTEM
(title, copyright, contents topic), |TOPIC in uncompressed 4 KB blocks,
|CONTEXT (topic names by hash), |CTXOMAP (help ids), |TTLBTREE (titles)
and |FONT. Neither phrase nor LZ77 compression is used. Any fault in the
sources stops the tool with the file and line at fault.
"""

import argparse
import os
import re
import struct
import sys


class HelpError(Exception):
    pass


# ---------------------------------------------------------------- sources

NAME_PATTERN = re.compile(r'^[A-Za-z0-9_.]+$')
NUMBERED = re.compile(r'^(\d+\.) ')
BULLET = '\u2022'   # a bullet, 0x95 in the Windows code page
TEXT_ENCODING = 'cp1252'   # the Windows ANSI code page the viewer expects


class Paragraph:
    """One paragraph: its kind and its runs. A run is ('text', str, bold)
    or ('link', kind, target, [text runs]) with kind 'jump' or 'popup'."""

    def __init__(self, kind, runs, where, marker=None):
        self.kind = kind          # 'title', 'body', 'heading' or 'item'
        self.runs = runs
        self.where = where
        self.marker = marker      # an item's bullet or number


class Topic:
    def __init__(self, name, title, popup, where):
        self.name = name
        self.title = title
        self.popup = popup
        self.where = where
        self.maps = []
        self.paragraphs = []


def parse_inline(text, where):
    """The runs of one paragraph's text."""
    runs, i, bold, buf = [], 0, False, []
    link = None    # (kind, target, runs) while inside [ ... ]

    def flush():
        if buf:
            (link[2] if link else runs).append(('text', ''.join(buf), bold))
            del buf[:]

    while i < len(text):
        c = text[i]
        if c == '\\' and i + 1 < len(text):
            buf.append(text[i + 1])
            i += 2
            continue
        if text.startswith('**', i):
            flush()
            bold = not bold
            i += 2
            continue
        if c == '[' and link is None:
            close = text.find('](', i)
            end = text.find(')', close + 2) if close >= 0 else -1
            if close < 0 or end < 0:
                raise HelpError('%s: "[" without "](target)"' % where)
            flush()
            target = text[close + 2:end].strip()
            kind = 'jump'
            if target.startswith('popup:'):
                kind, target = 'popup', target[len('popup:'):].strip()
            if not NAME_PATTERN.match(target):
                raise HelpError('%s: bad link target "%s"' % (where, target))
            link = (kind, target, [])
            i += 1
            continue
        if c == ']' and link is not None and text.startswith('](', i):
            flush()
            if not link[2]:
                raise HelpError('%s: a link needs words to click' % where)
            runs.append(('link', link[0], link[1], link[2]))
            link = None
            i = text.find(')', i) + 1
            continue
        buf.append(c)
        i += 1
    flush()
    if bold:
        raise HelpError('%s: "**" left open' % where)
    return runs


def read_topics(path, topics):
    with open(path, encoding='utf-8') as f:
        lines = f.read().splitlines()
    topic, para, para_kind, para_where, marker = None, [], None, None, None

    def end_paragraph():
        nonlocal para, para_kind
        if para:
            text = ' '.join(part.strip() for part in para)
            topic.paragraphs.append(Paragraph(para_kind, parse_inline(text, para_where), para_where, marker))
        para, para_kind = [], None

    for number, line in enumerate(lines, 1):
        where = '%s:%d' % (os.path.basename(path), number)
        stripped = line.strip()
        if stripped.startswith('#') and not stripped.startswith('##'):
            continue
        if stripped.startswith('@'):
            words = stripped.split(None, 2)
            directive = words[0]
            if directive in ('@topic', '@popup'):
                if topic:
                    end_paragraph()
                if len(words) < 3:
                    raise HelpError('%s: %s needs a name and a title' % (where, directive))
                if not NAME_PATTERN.match(words[1]):
                    raise HelpError('%s: bad topic name "%s"' % (where, words[1]))
                topic = Topic(words[1], words[2].strip(), directive == '@popup', where)
                topics.append(topic)
            elif directive == '@map':
                if not topic:
                    raise HelpError('%s: @map before any topic' % where)
                for word in stripped.split()[1:]:
                    if not word.isdigit():
                        raise HelpError('%s: help id "%s" is not a number' % (where, word))
                    topic.maps.append((int(word), where))
            else:
                raise HelpError('%s: unknown directive %s' % (where, directive))
            continue
        if not stripped:
            if topic:
                end_paragraph()
            continue
        if not topic:
            raise HelpError('%s: text before the first @topic' % where)
        if stripped.startswith('## '):
            end_paragraph()
            para, para_kind, para_where = [stripped[3:]], 'heading', where
            end_paragraph()
        elif stripped.startswith('- ') or NUMBERED.match(stripped):
            end_paragraph()
            number = NUMBERED.match(stripped)
            marker = number.group(1) if number else BULLET
            text = stripped[number.end():] if number else stripped[2:]
            para, para_kind, para_where = [text], 'item', where
        elif para and para_kind == 'item' and line.startswith('  '):
            para.append(stripped)
        else:
            if para_kind not in (None, 'body'):
                end_paragraph()
            if not para:
                para_kind, para_where = 'body', where
            para.append(stripped)
    if topic:
        end_paragraph()


def read_project(path):
    settings, files = {}, []
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith('#'):
                continue
            key, _, value = line.partition(' ')
            value = value.strip()
            if key == 'topics':
                files.extend(value.split())
            elif key in ('title', 'copyright', 'contents'):
                settings[key] = value
            else:
                raise HelpError('%s:%d: unknown setting "%s"' % (os.path.basename(path), number, key))
    for key in ('title', 'contents'):
        if not settings.get(key):
            raise HelpError('%s: no "%s" setting' % (os.path.basename(path), key))
    if not files:
        raise HelpError('%s: no topic files' % os.path.basename(path))
    topics = []
    folder = os.path.dirname(path)
    for name in files:
        read_topics(os.path.join(folder, name), topics)
    check(settings, topics)
    return settings, topics


def context_hash(name):
    """The viewer's hash of a context string (case does not matter)."""
    value = 0
    for c in name.upper():
        if 'A' <= c <= 'Z':
            x = ord(c) - ord('A') + 17
        elif '1' <= c <= '9':
            x = ord(c) - ord('0')
        elif c == '0':
            x = 10
        elif c == '.':
            x = 12
        else:          # '_'
            x = 13
        value = (value * 43 + x) & 0xFFFFFFFF
    return value


def signed32(value):
    return value - 0x100000000 if value & 0x80000000 else value


def encode(text, where):
    try:
        return text.encode(TEXT_ENCODING)
    except UnicodeEncodeError as e:
        raise HelpError('%s: "%s" has no character in the Windows code page' % (where, e.object[e.start:e.end]))


def check(settings, topics):
    by_hash, maps = {}, {}
    for topic in topics:
        h = context_hash(topic.name)
        if h in by_hash:
            other = by_hash[h]
            raise HelpError('%s: topic "%s" clashes with "%s" of %s' % (topic.where, topic.name, other.name, other.where))
        by_hash[h] = topic
        encode(topic.title, topic.where)
        for mapid, where in topic.maps:
            if mapid in maps:
                raise HelpError('%s: help id %d already opens topic "%s"' % (where, mapid, maps[mapid].name))
            maps[mapid] = topic
    names = {t.name.upper() for t in topics}
    for topic in topics:
        for para in topic.paragraphs:
            for run in para.runs:
                if run[0] == 'link' and run[2].upper() not in names:
                    raise HelpError('%s: link to unknown topic "%s"' % (para.where, run[2]))
    contents = by_hash.get(context_hash(settings['contents']))
    if not contents or contents.name.upper() != settings['contents'].upper():
        raise HelpError('project: contents topic "%s" does not exist' % settings['contents'])
    if contents.popup:
        raise HelpError('%s: the contents topic cannot be a pop-up' % contents.where)


# ---------------------------------------------------------- binary pieces

def u8(v):
    return struct.pack('<B', v)


def u16(v):
    return struct.pack('<H', v & 0xFFFF)


def u32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def cushort(v):
    """Compressed unsigned short: one byte for 0..127, else two."""
    if not 0 <= v < 0x8000:
        raise HelpError('value %d out of range' % v)
    return u8(v * 2) if v < 0x80 else u16(v * 2 + 1)


def cshort(v):
    """Compressed signed short: one byte for -64..63, else two."""
    if -64 <= v < 64:
        return u8(v * 2 + 0x80)
    if not 0 <= v < 0x4000:
        raise HelpError('value %d out of range' % v)   # negatives stay in one byte
    return u16(v * 2 + 0x8001)


def clong(v):
    """Compressed signed long: two bytes for -16384..16383, else four."""
    if -0x4000 <= v < 0x4000:
        return u16(v * 2 + 0x8000)
    return u32(v * 2 + 0x80000001)


NONE = 0xFFFFFFFF


# ------------------------------------------------------------------ fonts

# (face, half points, bold, colour); the numbers are the text's font numbers.
FONT_FACE = 'Arial'
FONTS = [
    (20, False, (0, 0, 0)),       # 0 body text
    (20, True, (0, 0, 0)),        # 1 bold words and headings
    (24, True, (0, 0, 128)),      # 2 topic titles
]
FONT_BODY, FONT_BOLD, FONT_TITLE = 0, 1, 2
FACE_LENGTH = 20
FAMILY_SWISS = 3


def font_file():
    header = u16(1) + u16(len(FONTS)) + u16(8) + u16(8 + FACE_LENGTH)
    face = FONT_FACE.encode('ascii').ljust(FACE_LENGTH, b'\0')
    descriptors = b''
    for halfpoints, bold, (r, g, b) in FONTS:
        descriptors += u8(1 if bold else 0) + u8(halfpoints) + u8(FAMILY_SWISS) + u16(0) \
            + bytes((r, g, b)) + bytes((255, 255, 255))
    return header + face + descriptors


# -------------------------------------------------------------- the text

# Paragraph layouts: (space above, space below, left indent, first-line
# indent, tab stop), in the file's units; None leaves a value out.
LAYOUTS = {
    'title': (None, 12, None, None, None),
    'body': (None, 8, None, None, None),
    'heading': (6, 4, None, None, None),
    'item': (None, 4, 40, -20, 40),
}

def paragraph_format(kind):
    above, below, left, first, tab = LAYOUTS[kind]
    bits, fields = 0, b''
    # Each value present sets its bit and follows in the bits' order.
    for bit, value in ((0x0002, above), (0x0004, below), (0x0010, left), (0x0040, first)):
        if value is not None:
            bits |= bit
            fields += cshort(value)
    if tab is not None:
        bits |= 0x0200
        fields += cshort(1) + cushort(tab)
    # unknown byte, biased byte (0), paragraph id, then the bits
    return b'\x00\x80' + u16(0) + u16(bits) + fields


class TextBuilder:
    """Builds a text record's formatting commands and its strings: each
    command follows one string (which may be empty)."""

    def __init__(self):
        self.commands = b''
        self.strings = b''
        self.pending = b''
        self.font = None

    def text(self, data):
        self.pending += data

    def command(self, data):
        self.strings += self.pending + b'\0'
        self.pending = b''
        self.commands += data

    def set_font(self, font):
        if font != self.font:
            self.command(b'\x80' + u16(font))
            self.font = font


def text_record(para, base_font):
    """LinkData1 and LinkData2 of one paragraph (record type 0x20)."""
    b = TextBuilder()
    b.set_font(base_font)
    if para.kind == 'item':
        b.text(encode(para.marker, para.where))
        b.command(b'\x83')     # tab to the item's text

    def put_runs(runs):
        for run in runs:
            b.set_font(FONT_BOLD if run[2] and base_font == FONT_BODY else base_font)
            b.text(encode(run[1], para.where))

    for run in para.runs:
        if run[0] == 'text':
            put_runs([run])
        else:
            _, kind, target, inner = run
            b.command((b'\xE2' if kind == 'popup' else b'\xE3') + u32(context_hash(target)))
            put_runs(inner)
            b.command(b'\x89')
    b.command(b'\x82')          # end of paragraph
    b.command(b'\xFF')          # end of formatting
    data2 = b.strings
    if b.pending:
        raise HelpError('%s: text left after the end' % para.where)
    size = len(data2)
    data1 = clong(size) + cushort(size) + paragraph_format(para.kind) + b.commands
    return data1, data2


def title_paragraph(topic):
    return Paragraph('title', [('text', topic.title, False)], topic.where)


# ----------------------------------------------------------------- |TOPIC

BLOCK_SIZE = 4096
BLOCK_HEADER = 12
BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER
POS_BLOCK = 0x4000      # a TOPICPOS counts 16 KB per block
OFFSET_BLOCK = 0x8000   # a TOPICOFFSET counts 32 KB per block
LINK_HEADER = 21
TYPE_TOPIC, TYPE_TEXT = 0x02, 0x20


class Link:
    def __init__(self, kind, data1, data2, topic=None):
        self.kind = kind
        self.data1 = data1
        self.data2 = data2
        self.topic = topic       # the Topic a header link opens
        self.pos = None
        self.offset = None       # TOPICOFFSET where the link starts

    def size(self):
        return LINK_HEADER + len(self.data1) + len(self.data2)

    def chars(self):
        return len(self.data2) if self.kind == TYPE_TEXT else 0


def build_links(topics):
    """Every TOPICLINK in order, each topic a header and its paragraphs,
    then an empty header that ends the list."""
    links, groups = [], []
    for topic in topics:
        group = [Link(TYPE_TOPIC, b'\0' * 28, encode(topic.title, topic.where) + b'\0', topic)]
        paragraphs = ([] if topic.popup else [title_paragraph(topic)]) + topic.paragraphs
        if not paragraphs:
            raise HelpError('%s: topic "%s" has no text' % (topic.where, topic.name))
        for para in paragraphs:
            font = FONT_TITLE if para.kind == 'title' else FONT_BOLD if para.kind == 'heading' else FONT_BODY
            data1, data2 = text_record(para, font)
            group.append(Link(TYPE_TEXT, data1, data2))
        groups.append(group)
        links.extend(group)
    end = Link(TYPE_TOPIC, b'\0' * 28, b'')
    groups.append([end])
    links.append(end)
    return links, groups


def place_links(links):
    """Positions and offsets; a link never crosses a block boundary."""
    block, used, chars = 0, 0, 0
    for link in links:
        if link.size() > BLOCK_DATA:
            raise HelpError('a paragraph of %d bytes does not fit a topic block; split it' % link.size())
        if used + link.size() > BLOCK_DATA:
            block, used, chars = block + 1, 0, 0
        link.pos = block * POS_BLOCK + used + BLOCK_HEADER
        link.offset = block * OFFSET_BLOCK + chars
        link.block = block
        used += link.size()
        chars += link.chars()
    return block + 1


def topic_file(topics):
    links, groups = build_links(topics)
    blocks = place_links(links)
    for number, group in enumerate(groups):
        header = group[0]
        next_header = groups[number + 1][0].pos if number + 1 < len(groups) else NONE
        scroll = group[1].pos if len(group) > 1 else NONE
        size = sum(link.size() for link in group)
        # size, browse back and forth, topic number, non-scrolling region,
        # scrolling region, next topic
        header.data1 = u32(size) + u32(NONE) + u32(NONE) + u32(number) + u32(NONE) + u32(scroll) + u32(next_header)
    data = [bytearray(BLOCK_SIZE) for _ in range(blocks)]
    last_header = NONE
    first_in_block = {}
    for i, link in enumerate(links):
        first_in_block.setdefault(link.block, (i, last_header if link.kind != TYPE_TOPIC else link.pos))
        if link.kind == TYPE_TOPIC:
            last_header = link.pos
        prev_pos = links[i - 1].pos if i > 0 else NONE
        next_pos = links[i + 1].pos if i + 1 < len(links) else NONE
        record = u32(link.size()) + u32(len(link.data2)) + u32(prev_pos) + u32(next_pos) \
            + u32(LINK_HEADER + len(link.data1)) + u8(link.kind) + link.data1 + link.data2
        start = (link.pos - BLOCK_HEADER) % POS_BLOCK + BLOCK_HEADER
        data[link.block][start:start + len(record)] = record
    for block in range(blocks):
        first, header_pos = first_in_block[block]
        last_of_previous = links[first - 1].pos if first > 0 else NONE
        data[block][0:12] = u32(last_of_previous) + u32(links[first].pos) + u32(header_pos)
    offsets = {link.topic.name: link.offset for link in links if link.topic}
    return b''.join(bytes(b) for b in data), offsets


# ---------------------------------------------------------------- B+ trees

def btree(entries, page_size, structure, flags):
    """A B+ tree of (leaf entry bytes, index key bytes) already in key order."""
    leaves, page = [], []
    room = page_size - 8
    for entry in entries:
        if page and sum(len(e[0]) for e in page) + len(entry[0]) > room:
            leaves.append(page)
            page = []
        if len(entry[0]) > room:
            raise HelpError('a B+ tree entry of %d bytes is too long' % len(entry[0]))
        page.append(entry)
    leaves.append(page)
    pages = []
    for n, page in enumerate(leaves):
        body = b''.join(e[0] for e in page)
        prev_page = n - 1 if n > 0 else -1
        next_page = n + 1 if n + 1 < len(leaves) else -1
        pages.append((u16(page_size - 8 - len(body)) + u16(len(page)) + u16(prev_page) + u16(next_page)
                      + body).ljust(page_size, b'\0'))
    # Index levels over the level below: (first key, page number) per child.
    level = [(page[0][1] if page else b'', n) for n, page in enumerate(leaves)]
    levels = 1
    while len(level) > 1:
        upper, group = [], []
        room = page_size - 6

        def close(group):
            body = b''.join(key + u16(number) for key, number in group[1:])
            pages.append((u16(page_size - 6 - len(body)) + u16(len(group) - 1) + u16(group[0][1])
                          + body).ljust(page_size, b'\0'))
            upper.append((group[0][0], len(pages) - 1))

        for child in level:
            if group and sum(len(k) + 2 for k, _ in group[1:]) + len(child[0]) + 2 > room:
                close(group)
                group = []
            group.append(child)
        close(group)
        level = upper
        levels += 1
    header = u16(0x293B) + u16(flags) + u16(page_size) + structure.encode('ascii').ljust(16, b'\0') \
        + u16(0) + u16(0) + u16(level[0][1]) + u16(0xFFFF) + u16(len(pages)) + u16(levels) + u32(len(entries))
    return header + b''.join(pages)


def context_file(topics, offsets):
    entries = sorted((signed32(context_hash(t.name)), offsets[t.name]) for t in topics)
    return btree([(u32(h) + u32(off), u32(h)) for h, off in entries], 0x800, 'L4', 0x0002)


def titles_file(topics, offsets):
    entries = sorted((offsets[t.name], t.title) for t in topics)
    return btree([(u32(off) + encode(title, 'title') + b'\0', u32(off)) for off, title in entries],
                 0x800, 'Lz', 0x0002)


def map_file(topics, offsets):
    maps = sorted((mapid, offsets[t.name]) for t in topics for mapid, _ in t.maps)
    return u16(len(maps)) + b''.join(u32(mapid) + u32(off) for mapid, off in maps)


def system_file(settings, contents_offset):
    def record(kind, data):
        return u16(kind) + u16(len(data)) + data
    data = u16(0x036C) + u16(21) + u16(1) + u32(0) + u16(0)   # 3.1, not compressed
    data += record(1, encode(settings['title'], 'title') + b'\0')
    if settings.get('copyright'):
        data += record(2, encode(settings['copyright'], 'copyright') + b'\0')
    data += record(3, u32(contents_offset))
    return data


# -------------------------------------------------------- the file system

def internal_file(data):
    return u32(len(data) + 9) + u32(len(data)) + u8(4) + data


def help_file(settings, topics):
    topic_data, offsets = topic_file(topics)
    contents = next(t for t in topics if t.name.upper() == settings['contents'].upper())
    files = {
        '|SYSTEM': system_file(settings, offsets[contents.name]),
        '|TOPIC': topic_data,
        '|CONTEXT': context_file(topics, offsets),
        '|CTXOMAP': map_file(topics, offsets),
        '|TTLBTREE': titles_file(topics, offsets),
        '|FONT': font_file(),
    }
    body, where = b'', {}
    for name in sorted(files):
        where[name] = 16 + len(body)
        body += internal_file(files[name])
    names = sorted(n.encode('ascii') for n in files)
    directory = btree([(n + b'\0' + u32(where[n.decode()]), n + b'\0') for n in names], 0x400, 'z4', 0x0402)
    directory_start = 16 + len(body)
    whole = body + internal_file(directory)
    return u32(0x00035F3F) + u32(directory_start) + u32(NONE) + u32(16 + len(whole)) + whole


def main():
    parser = argparse.ArgumentParser(description="Writes Spindle2's WinHelp file from its text topics.")
    parser.add_argument('--out', required=True, help='the .hlp file to write')
    parser.add_argument('project', help='project.txt of the help sources')
    args = parser.parse_args()
    try:
        settings, topics = read_project(args.project)
        data = help_file(settings, topics)
    except (HelpError, OSError) as e:
        print('makehelp: %s' % e, file=sys.stderr)
        return 1
    temporary = args.out + '.new'
    with open(temporary, 'wb') as f:
        f.write(data)
    os.replace(temporary, args.out)
    return 0


if __name__ == '__main__':
    sys.exit(main())
