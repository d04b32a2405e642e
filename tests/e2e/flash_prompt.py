#!/usr/bin/env python3
"""The installed copy asks for a newer Flash Player when the one installed is
too old or missing: "是" opens the player's download page in Internet
Explorer, maximised, and ends; "否" goes on to the game window without it; a
recent player is not asked about. The game window, still waiting for its
first login, is then closed with its caption close button's request.

usage: flash_prompt.py BUILD
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail, hex_arg  # noqa: E402

FLASH_KEY = r'HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FlashPlayer'
TITLE = '8266青砚行记'
YES, NO = '5000', '5001'
DOWNLOAD = '3\thttps://get.adobe.com/flashplayer/'

CASES = [
    # (installed version or None, answer, expected recorder lines)
    (None, YES, [DOWNLOAD]),
    ('10,3,102,64', NO, []),
    ('10,3,102,64', YES, [DOWNLOAD]),
    ('10,3,102,65', None, []),
]


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_flash_prompt') as box:
        folder = box.drive_c('ProgramData', '8266', 'RudiDuzuv')
        os.makedirs(folder, exist_ok=True)
        exe = os.path.join(folder, 'Pelux.exe')
        shutil.copy(box.program('Pelux.exe'), exe)
        # The shell finds Wine's own iexplore.exe in the system folder: the
        # recorder takes its place there for this test, and logs its command
        # line beside itself instead of opening a browser.
        system = box.drive_c('windows', 'system32')
        iexplore = os.path.join(system, 'iexplore.exe')
        original = os.path.join(box.dir, 'iexplore.exe')
        shutil.copy(iexplore, original)
        shutil.copy(box.program('record_open.exe'), iexplore)
        env = dict(box.env)
        env['WINEDLLOVERRIDES'] += ';iexplore.exe=n'
        log = os.path.join(system, 'record_open.log')
        try:
            run_cases(box, env, exe, log)
        finally:
            shutil.copy(original, iexplore)
            if os.path.exists(log):
                os.remove(log)
    print('%d passed, 0 failed' % len(CASES))


def run_cases(box, env, exe, log):
    for version, answer, expected in CASES:
        label = '%s answered %s' % (version, answer)
        box.wine(['reg', 'delete', FLASH_KEY.replace('HKEY_LOCAL_MACHINE', 'HKLM'), '/f'],
                 capture_output=True)
        if version:
            winebox.reg_import(box.env, {FLASH_KEY: {'CurrentVersion': version}})
        if os.path.exists(log):
            os.remove(log)
        client = subprocess.Popen([env['WINELOADER'], exe], env=env)
        actions = ([answer] if answer else []) + ([] if expected else ['sysclose'])
        for action in actions:
            played = box.wine([box.program('answer_box.exe'), hex_arg(TITLE), action],
                              capture_output=True, text=True)
            if played.returncode != 0:
                client.kill()
                fail('%s, %s: %s' % (label, action, played.stdout.strip()))
        try:
            code = client.wait(timeout=300)
        except subprocess.TimeoutExpired:
            client.kill()
            fail('%s: the client did not end' % label)
        if code != 0:
            fail('%s: the client exited with %d' % (label, code))
        lines = []
        for _ in range(100 if expected else 10):
            if os.path.exists(log):
                with open(log, encoding='utf-8') as f:
                    lines = f.read().splitlines()
            if len(lines) >= len(expected) and expected:
                break
            time.sleep(0.2)
        if lines != expected:
            fail('%s: Internet Explorer was started with %r' % (label, lines))


if __name__ == '__main__':
    main()
