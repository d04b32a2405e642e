#!/usr/bin/env python3
"""The uninstall start asks first, in the skinned message box: answering
"否" (no), or closing the box, leaves everything as it was.

usage: uninstall_prompt.py BUILD
"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail  # noqa: E402

KEY = r'HKEY_LOCAL_MACHINE\Software\8266\RudiDuzuv\Pelux'
TITLE = '8266青砚行记'


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_uninstall_prompt') as box:
        folder = os.path.join(box.dir, 'client')
        os.makedirs(folder)
        exe = os.path.join(folder, 'Pelux.exe')
        shutil.copy(box.program('Pelux.exe'), exe)
        winebox.reg_import(box.env, {KEY: {'Marker': 1}})
        for answer in ('5001', 'close'):
            client = subprocess.Popen([box.env['WINELOADER'], exe, '/uninst'], env=box.env)
            title = ''.join('%04x' % ord(c) for c in TITLE)
            played = box.wine([box.program('answer_box.exe'), title, answer], capture_output=True, text=True)
            try:
                code = client.wait(timeout=300)
            except subprocess.TimeoutExpired:
                client.kill()
                fail('answer %s: the client did not end' % answer)
            if played.returncode != 0:
                fail('answer %s: %s' % (answer, played.stdout.strip()))
            if code != 0:
                fail('answer %s: the client exited with %d' % (answer, code))
            query = box.wine(['reg', 'query', KEY.replace('HKEY_LOCAL_MACHINE', 'HKLM'), '/v', 'Marker'],
                             capture_output=True, text=True)
            if query.returncode != 0:
                fail('answer %s: the program key is gone' % answer)
        if box.requests():
            fail('requests were sent: %r' % [r['target'] for r in box.requests()])
    print('1 passed, 0 failed')


if __name__ == '__main__':
    main()
