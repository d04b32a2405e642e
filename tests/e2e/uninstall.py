#!/usr/bin/env python3
"""Uninstalling, answered "是" (yes): the program key and the shortcuts go,
one uninstall ping is sent, and a hidden batch deletes the executable once
its process has ended - and the executable's folder too when the executable
was alone in it.

usage: uninstall.py BUILD
"""
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from install import FLASH, KEY, PATIENCE, PING, Places, counters, remove_install, run_install  # noqa: E402
from winebox import fail, hex_arg, wait_until  # noqa: E402

TITLE = '8266青砚行记'
YES = '5000'
OK = '5000'
SOLO = r'C:\Games\Solo'
BATCH = re.compile(r'Del[0-9a-f]{1,4}\.tmp\.bat$', re.IGNORECASE)
TEMP_NAME = re.compile(r'Del[0-9a-f]{1,4}\.tmp(\.bat)?$', re.IGNORECASE)

# (case, folder the client is uninstalled from: None for the common folder
#  where the counter file lies beside it, earlier uninstalls counted, whether
#  the batch removes the folder)
CASES = [
    ('beside its counter file', None, 2, False),
    ('alone in its folder', SOLO, 0, True),
]


def batch_text(exe, batch, remove_folder):
    """The batch as the system's ANSI code page (936) spells it."""
    text = 'cd\\\r\n:delexe\r\nping -n 1 127.0.0.1\r\ndel "%s"\r\nif exist "%s" goto :delexe\r\n' % (exe, exe)
    if remove_folder:
        folder = exe.rsplit('\\', 1)[0]
        text += 'del "%s" /Q /F /A\r\nrd "%s"\r\n' % (folder, folder)
    text += 'del "%s"\r\n' % batch
    return text.encode('gbk')


def temp_files(places, pattern):
    folder = places.unix(places.temp)
    return sorted(name for name in os.listdir(folder) if pattern.match(name))


def clear(box, places):
    remove_install(box, places)
    shutil.rmtree(os.path.dirname(places.unix(SOLO)), ignore_errors=True)
    for name in temp_files(places, TEMP_NAME):
        os.remove(os.path.join(places.unix(places.temp), name))


def answer(box, button, what):
    played = box.wine([box.program('answer_box.exe'), hex_arg(TITLE), button], capture_output=True)
    if played.returncode != 0:
        fail('%s: %s' % (what, played.stdout.decode('utf-8', 'replace').strip()))


def count_earlier_uninstalls(places, times):
    values = dict(counters(places), UnInst=str(times))
    with open(places.unix(places.ini), 'wb') as f:
        f.write(('[Pelux]\r\n' + ''.join('%s=%s\r\n' % item for item in values.items())).encode('ascii'))


def uninstall(box, places, case, folder, earlier, remove_folder):
    exe = (folder or places.common) + r'\Pelux.exe'
    if folder:
        os.makedirs(places.unix(folder))
        shutil.copy(places.unix(places.installed), places.unix(exe))
    elif not counters(places):
        fail('%s: no counter file beside the installed copy' % case)
    if earlier:
        count_earlier_uninstalls(places, earlier)
    before = len(box.requests())
    client = subprocess.Popen([box.env['WINELOADER'], exe, '/uninst'], env=box.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        answer(box, YES, '%s: the confirmation' % case)
        # The batch is written and started before the removal message shows,
        # and keeps trying while the message holds the process.
        wait_until(lambda: temp_files(places, BATCH) and 'cmd.exe' in [name for _, name in box.processes()],
                   '%s: the batch' % case)
        batches = temp_files(places, BATCH)
        if len(batches) != 1:
            fail('%s: batches %r' % (case, batches))
        batch = places.temp + '\\' + batches[0]
        with open(places.unix(batch), 'rb') as f:
            text = f.read()
        if text != batch_text(exe, batch, remove_folder):
            fail('%s: the batch reads %r' % (case, text))
        if not os.path.exists(places.unix(exe)):
            fail('%s: the executable was deleted while it ran' % case)
        if folder:
            # A file that turns up later, hidden and read-only, goes with the folder.
            late = folder + r'\late.log'
            with open(places.unix(late), 'wb') as f:
                f.write(b'late')
            for flag in ('+h', '+r'):  # Wine's attrib applies one flag a call
                box.wine(['attrib', flag, late], capture_output=True)
            shown = box.wine(['attrib', late], capture_output=True).stdout.decode('utf-8', 'replace')
            if not {'H', 'R'} <= set(shown.split('C:')[0]):
                fail('%s: could not make %s hidden and read-only: %s' % (case, late, shown.strip()))
        answer(box, OK, '%s: the removal message' % case)
        code = client.wait(timeout=PATIENCE)
    except subprocess.TimeoutExpired:
        fail('%s: the client did not end' % case)
    finally:
        if client.poll() is None:
            client.kill()
    if code != 0:
        fail('%s: the client exited with %d' % (case, code))

    wait_until(lambda: not os.path.exists(places.unix(exe)), '%s: the batch deleting the executable' % case)
    wait_until(lambda: not os.path.exists(places.unix(batch)), '%s: the batch deleting itself' % case)
    if remove_folder:
        wait_until(lambda: not os.path.exists(places.unix(folder)), '%s: the batch removing the folder' % case)
    elif not os.path.isdir(places.unix(places.common)) or not counters(places):
        fail('%s: the folder or the counter file beside the executable went' % case)

    if box.wine(['reg', 'query', KEY], capture_output=True).returncode == 0:
        fail('%s: %s remains' % (case, KEY))
    left = [link for link, *_ in places.links() if os.path.lexists(places.unix(link))]
    if left:
        fail('%s: shortcuts remain: %r' % (case, left))
    if os.path.exists(places.unix(places.menu)):
        fail('%s: the start menu folder remains' % case)
    count = counters(places).get('UnInst')
    pings = [r['target'] for r in box.requests()[before:]]
    if count != str(earlier + 1) or pings != [PING % ('uninstall', earlier + 1)]:
        fail('%s: UnInst is %r, requests %r' % (case, count, pings))


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_uninstall') as box:
        places = Places(box)
        try:
            winebox.reg_import(box.env, FLASH)
            download = os.path.join(box.dir, 'client')
            os.makedirs(download)
            shutil.copy(box.program('Pelux.exe'), os.path.join(download, 'Pelux.exe'))
            for case, folder, earlier, remove_folder in CASES:
                clear(box, places)
                run_install(box, places, os.path.join(download, 'Pelux.exe'), 1)
                uninstall(box, places, case, folder, earlier, remove_folder)
        finally:
            clear(box, places)
            box.wine(['reg', 'delete', r'HKLM\SOFTWARE\Macromedia\FlashPlayer', '/f'], capture_output=True)
    print('1 passed, 0 failed')


if __name__ == '__main__':
    main()
