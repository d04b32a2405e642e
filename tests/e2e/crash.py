#!/usr/bin/env python3
"""The crash filter, in a test program that links the client's code: the
filter's own rules, then a real unhandled access violation that leaves a
minidump named after the executable beside it.

usage: crash.py BUILD
"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail  # noqa: E402

# Wine hands an unhandled exception to its debugger, whose crash dialog
# would wait for a person: a debugger that quits at once lets the process end.
AEDEBUG = r'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_crash') as box:
        winebox.reg_import(box.env, {AEDEBUG: {'Debugger': 'cmd.exe /c exit', 'Auto': '1'}})
        folder = os.path.join(box.dir, 'app folder')
        os.makedirs(folder)
        exe = os.path.join(folder, 'Crashy.exe')
        shutil.copy(box.program('crash_wintest.exe'), exe)
        dump = os.path.join(folder, 'Crashy.dmp')

        rules = box.wine([exe, 'filter'], capture_output=True, text=True)
        print(rules.stdout, end='')
        if rules.returncode != 0:
            fail('the filter rules')

        crash = box.wine([exe, 'crash'], capture_output=True, timeout=600)
        if crash.returncode == 0:
            fail('the crashing program exited with 0')
        if not os.path.isfile(dump):
            fail('no dump beside the executable: %r' % os.listdir(folder))
        with open(dump, 'rb') as f:
            if f.read(4) != b'MDMP':
                fail('the dump is not a minidump')
        if os.path.getsize(dump) < 1024:
            fail('the dump holds only %d bytes' % os.path.getsize(dump))
    print('2 passed, 0 failed')


if __name__ == '__main__':
    main()
