#!/usr/bin/env python3
"""makehelp_test.py - makehelp.py's answers to faulty help sources: each
fault stops it with exit code 1 and a message naming the file and line,
and writes no help file.

    makehelp_test.py MAKEHELP
"""

import os
import subprocess
import sys
import tempfile
import unittest

MAKEHELP = None

GOOD_TOPICS = """@topic contents Contents
See [the other topic](other) and [a control](popup:idh_one).

@topic other The other topic
Text of the other topic.

@popup idh_one Page: One
@map 65
**One**
"""

# (what is wrong, project settings, topic file text, part of the message)
FAULTS = [
    ('link to a topic that does not exist', None,
     GOOD_TOPICS.replace('(other)', '(missing)'), 'topics.txt:2: link to unknown topic "missing"'),
    ('two topics of one name, in other letter case', None,
     GOOD_TOPICS + '\n@topic OTHER Again\nText.\n', 'topics.txt:11: topic "OTHER" clashes with "other"'),
    ('a help id given twice', None,
     GOOD_TOPICS + '\n@popup idh_two Page: Two\n@map 65\nText.\n', 'topics.txt:12: help id 65 already opens'),
    ('a help id that is no number', None,
     GOOD_TOPICS.replace('@map 65', '@map sixty'), 'topics.txt:8: help id "sixty" is not a number'),
    ('a topic name with a blank-free but illegal character', None,
     GOOD_TOPICS.replace('@topic other', '@topic oth-er'), 'topics.txt:4: bad topic name "oth-er"'),
    ('text before the first topic', None,
     'Stray words.\n' + GOOD_TOPICS, 'topics.txt:1: text before the first @topic'),
    ('bold left open', None,
     GOOD_TOPICS.replace('Text of the other topic.', 'Text **of the other topic.'), 'topics.txt:5: "**" left open'),
    ('a link without its target', None,
     GOOD_TOPICS.replace('Text of the other topic.', 'See [this.'), 'topics.txt:5: "[" without "](target)"'),
    ('a character outside the Windows code page', None,
     GOOD_TOPICS.replace('Text of the other topic.', 'Tempo \u2192 fast.'), 'topics.txt:5: "\u2192" has no character'),
    ('an unknown directive', None,
     GOOD_TOPICS.replace('@map 65', '@mapp 65'), 'topics.txt:8: unknown directive @mapp'),
    ('a contents topic that does not exist', 'title T\ncontents nowhere\ntopics topics.txt\n',
     GOOD_TOPICS, 'contents topic "nowhere" does not exist'),
    ('a pop-up as the contents', 'title T\ncontents idh_one\ntopics topics.txt\n',
     GOOD_TOPICS, 'the contents topic cannot be a pop-up'),
    ('a project without a title', 'contents contents\ntopics topics.txt\n', GOOD_TOPICS, 'no "title" setting'),
    ('a paragraph too long for one topic block', None,
     GOOD_TOPICS.replace('Text of the other topic.', 'word ' * 1000), 'does not fit a topic block'),
]


def run(project, topics):
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, 'project.txt'), 'w', encoding='utf-8') as f:
            f.write(project if project is not None else 'title T\ncontents contents\ntopics topics.txt\n')
        with open(os.path.join(folder, 'topics.txt'), 'w', encoding='utf-8') as f:
            f.write(topics)
        out = os.path.join(folder, 'out.hlp')
        done = subprocess.run([sys.executable, MAKEHELP, '--out', out, os.path.join(folder, 'project.txt')],
                              capture_output=True, text=True)
        return done.returncode, done.stderr, os.path.exists(out)


class Faults(unittest.TestCase):
    def test_good_sources_make_a_file(self):
        code, message, written = run(None, GOOD_TOPICS)
        self.assertEqual((code, message, written), (0, '', True))

    def test_each_fault_is_named_with_its_place(self):
        for what, project, topics, expected in FAULTS:
            with self.subTest(what):
                code, message, written = run(project, topics)
                self.assertEqual(code, 1)
                self.assertIn(expected, message)
                self.assertTrue(message.startswith('makehelp: '), message)
                self.assertFalse(written, 'no file is written for faulty sources')


if __name__ == '__main__':
    MAKEHELP = sys.argv.pop(1)
    unittest.main()
