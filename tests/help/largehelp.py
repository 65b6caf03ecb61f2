#!/usr/bin/env python3
"""largehelp.py - writes a help file of many topics with makehelp.py, so
that the tests see B+ trees with index pages and text in many topic
blocks, which Spindle2's own help is too small to need.

    largehelp.py MAKEHELP OUT.hlp WORKFOLDER

Topic n (1..TOPICS) is named tNNN, titled "Large file topic NNN ..." and
opened by help id 1000 + n; the contents jumps to every one.
"""

import os
import subprocess
import sys

TOPICS = 300


def main():
    makehelp, out, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    with open(os.path.join(work, 'project.txt'), 'w', encoding='utf-8') as f:
        f.write('title Large Help\ncontents contents\ntopics large.txt\n')
    lines = ['@topic contents Large file contents', 'Every topic of the file:', '']
    lines += ['- [Topic %03d](t%03d)' % (n, n) for n in range(1, TOPICS + 1)]
    for n in range(1, TOPICS + 1):
        lines += ['', '@topic t%03d Large file topic %03d, with a title long enough to fill pages' % (n, n),
                  '@map %d' % (1000 + n), 'This is the text of topic %03d.' % n]
    with open(os.path.join(work, 'large.txt'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    return subprocess.call([sys.executable, makehelp, '--out', out, os.path.join(work, 'project.txt')])


if __name__ == '__main__':
    sys.exit(main())
