#!/usr/bin/env python3
"""Checks the arrows between the source folders: every quoted #include of a
file under the program, Rackfile or the CD library must name a folder that
the including folder may use. A folder may use itself and the folders below
it, never one above:

  platter/     the CD library's C interface: nothing else
  libplatter/  the CD library: platter/
  core/        the process-wide values and the diagnostics log: platter/, res/
  player/ ui/ titles/ cddb/ options/ mixer/: each other, core/, platter/, res/
  app/         the player's top: all of the above
  rackfile/    the title database tool: all of the above but app/

Usage: layering_test.py SOURCE_ROOT. Prints each include that points the
wrong way and exits 1 when there is one; 0 when every arrow points down.
layering_test.py --self-test runs the checker over small made-up trees."""
import os
import re
import sys
import tempfile

MIDDLE = {'player', 'ui', 'titles', 'cddb', 'options', 'mixer'}
RESOURCES = {'res'}
ALLOWED = {
    'platter': {'platter'},
    'libplatter': {'libplatter', 'platter'},
    'res': RESOURCES,
    'core': {'core', 'platter'} | RESOURCES,
    'app': {'app', 'core', 'platter'} | MIDDLE | RESOURCES,
    'rackfile': {'rackfile', 'core', 'platter'} | MIDDLE | RESOURCES,
}
for folder in MIDDLE:
    ALLOWED[folder] = {'core', 'platter'} | MIDDLE | RESOURCES

SOURCE_ENDINGS = ('.c', '.cpp', '.h', '.hpp', '.rc')
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def included_folder(root, source_dir, name):
    """The top folder the include names, relative to the root; None for a
    file beside the includer or outside the checked folders."""
    if '/' not in name and '\\' not in name:
        return None
    name = name.replace('\\', '/')
    if name.startswith('.'):
        target = os.path.normpath(os.path.join(source_dir, name))
        name = os.path.relpath(target, root).replace(os.sep, '/')
    top = name.split('/', 1)[0]
    return top if top in ALLOWED else None


def violations(root):
    found = []
    for folder in sorted(ALLOWED):
        base = os.path.join(root, folder)
        for dirpath, dirnames, filenames in os.walk(base):
            dirnames.sort()
            for filename in sorted(filenames):
                if not filename.endswith(SOURCE_ENDINGS):
                    continue
                path = os.path.join(dirpath, filename)
                with open(path, encoding='latin-1') as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = included_folder(root, dirpath, match.group(1))
                        if target is not None and target not in ALLOWED[folder]:
                            relative = os.path.relpath(path, root).replace(os.sep, '/')
                            found.append('%s:%d: %s/ includes "%s" of %s/' %
                                         (relative, number, folder, match.group(1), target))
    return found


# Made-up trees: (name, file, its include, whether the arrow is wrong).
SELF_TEST_CASES = [
    ('player to app', 'player/poll.cpp', 'app/appstate.h', True),
    ('ui to app', 'ui/panel.h', 'app/mainwnd.h', True),
    ('mixer to app through a relative path', 'mixer/scan.cpp', '../app/diaglog.h', True),
    ('core to a middle folder', 'core/appstate.cpp', 'ui/panel.h', True),
    ('core to app', 'core/diaglog.cpp', 'app/startup.h', True),
    ('library to the player', 'libplatter/devices/drive.cpp', 'player/drives.h', True),
    ('library to core', 'libplatter/diag.cpp', 'core/diaglog.h', True),
    ('interface to the library', 'platter/platter.h', 'libplatter/diag.h', True),
    ('rackfile to app', 'rackfile/main.cpp', 'app/appstate.h', True),
    ('player to ui', 'player/statustext.cpp', 'ui/panel.h', False),
    ('options to core', 'options/options.cpp', 'core/diaglog.h', False),
    ('app to the player', 'app/commands.cpp', 'player/drives.h', False),
    ('rackfile to ui', 'rackfile/mainwindow.cpp', 'ui/msgbox.h', False),
    ('library to the interface', 'libplatter/api.cpp', 'platter/platter.h', False),
    ('beside the includer', 'player/drives.cpp', 'drives.h', False),
    ('a folder that is not checked', 'app/main.cpp', 'tests/fake.h', False),
]


def self_test():
    failures = 0
    for name, source, include, wrong in SELF_TEST_CASES:
        with tempfile.TemporaryDirectory() as root:
            path = os.path.join(root, source)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, 'w') as out:
                out.write('#include <windows.h>\n#include "%s"\n' % include)
            found = violations(root)
            if bool(found) != wrong or len(found) > 1:
                failures += 1
                print('FAILED %s: %s' % (name, found or 'nothing found'))
    print('%d of %d made-up trees judged right' % (len(SELF_TEST_CASES) - failures, len(SELF_TEST_CASES)))
    return 1 if failures else 0


def main():
    if sys.argv[1:] == ['--self-test']:
        return self_test()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    root = os.path.abspath(sys.argv[1])
    missing = [f for f in ('app', 'core', 'player', 'libplatter') if not os.path.isdir(os.path.join(root, f))]
    if missing:
        # A root without the folders would pass while checking nothing.
        print('not a source tree: %s lacks %s' % (root, ', '.join(missing)))
        return 2
    found = violations(root)
    for line in found:
        print(line)
    if found:
        print('%d include(s) point to a folder above the includer' % len(found))
        return 1
    print('every include points to the includer\'s own folder or one below it')
    return 0


if __name__ == '__main__':
    sys.exit(main())
