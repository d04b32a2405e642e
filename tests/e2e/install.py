#!/usr/bin/env python3
"""The first run from a download folder installs the client: a copy in the
common folder, four shortcuts, the update throttle, one install ping, and
the installed copy started. A second run over an installed copy does it all
again.

usage: install.py BUILD
"""
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail, hex_arg, wait_until  # noqa: E402

KEY = r'HKLM\Software\8266\RudiDuzuv\Pelux'
GAME = '8266青砚行记极速登录器'
PORTAL = '8266网页游戏'
UNINSTALL = '卸载 8266青砚行记极速登录器'
MENU_FOLDER = '8266登录器'
PING = 'http://tj.8266tj.test/%s.htm?tag=pelux&ver=3.0.1.2&count=%d'
FLASH = {r'HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FlashPlayer': {'CurrentVersion': '11,2,202,228'}}
# Wine is slow: waiting loops give the client minutes, not seconds.
PATIENCE = 600


class Places:
    """The prefix's special folders, as Wine reports them (Windows paths)."""

    def __init__(self, box):
        common = shell_folders(box, r'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders')
        user = shell_folders(box, r'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders')
        self.box = box
        self.common = common['Common AppData'] + r'\8266\RudiDuzuv'
        self.installed = self.common + r'\Pelux.exe'
        self.ini = self.common + r'\Statistic.ini'
        self.desktop = common['Common Desktop']
        self.menu = common['Common Programs'] + '\\' + MENU_FOLDER
        self.user_desktop = user['Desktop']
        self.temp = wine_variable(box, 'TMP')

    def unix(self, path):
        """The Linux path of a path on drive C."""
        if not path[:3].upper() == 'C:\\':
            fail('not on drive C: %s' % path)
        return self.box.drive_c(*path[3:].split('\\'))

    def links(self):
        """Every shortcut the install writes: path, arguments, icon index and
        a test of the description."""
        return [
            (self.desktop + '\\%s.lnk' % GAME, '/PeluxD', 0, lambda d: d == GAME),
            (self.desktop + '\\%s.lnk' % PORTAL, '/web8266D', 1, lambda d: d.startswith('www.8266.test')),
            (self.menu + '\\%s.lnk' % GAME, '/PeluxD', 0, lambda d: d == ''),
            (self.menu + '\\%s.lnk' % UNINSTALL, '/uninst', 0, lambda d: d == ''),
        ]

    def user_twins(self):
        """Shortcuts of the user's own desktop named like the all-users ones."""
        return [self.user_desktop + '\\%s.lnk' % name for name in (GAME, PORTAL)]


def shell_folders(box, key):
    query = box.wine(['reg', 'query', key], capture_output=True)
    folders = {}
    for line in query.stdout.decode('utf-8', 'replace').splitlines():
        match = re.match(r'\s+(.+?)\s+REG_SZ\s+(.*)$', line)
        if match:
            folders[match.group(1)] = match.group(2).strip()
    return folders


def wine_variable(box, name):
    result = box.wine(['cmd', '/c', 'echo', '%' + name + '%'], capture_output=True)
    return result.stdout.decode('utf-8', 'replace').strip().rstrip('\\')


def remove_install(box, places):
    """Back to a machine the client never reached."""
    shutil.rmtree(os.path.dirname(places.unix(places.common)), ignore_errors=True)
    shutil.rmtree(places.unix(places.menu), ignore_errors=True)
    for path in [link for link, *_ in places.links()] + places.user_twins():
        if os.path.lexists(places.unix(path)):
            os.remove(places.unix(path))
    box.wine(['reg', 'delete', r'HKLM\Software\8266', '/f'], capture_output=True)


def end_clients(box, what):
    """Ends the client processes still running: the installed copy goes on
    to the game window, which no one here closes."""
    def ended():
        pids = [pid for pid, name in box.processes() if name == 'pelux.exe']
        for pid in pids:
            box.wine(['taskkill', '/f', '/pid', str(pid)], capture_output=True)
        return not pids
    wait_until(ended, what)


def counters(places):
    """The Pelux section of the usage counter file."""
    return winebox.ini_section(places.unix(places.ini))


def run_install(box, places, exe, run):
    """Runs the download copy without arguments, checks the copy it made and
    waits until that copy has counted its game start; then ends it."""
    try:
        result = box.wine([exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        fail('run %d: the installing process did not end' % run)
    if result.returncode != 0:
        fail('run %d: the installing process exited with %d' % (run, result.returncode))
    installed = places.unix(places.installed)
    if not os.path.isfile(installed):
        fail('run %d: nothing at %s' % (run, places.installed))
    with open(exe, 'rb') as started, open(installed, 'rb') as copy:
        if started.read() != copy.read():
            fail('run %d: %s differs from the started executable' % (run, places.installed))
    wait_until(lambda: counters(places).get('Game') == str(run),
               'run %d: the installed copy counting its start' % run)
    end_clients(box, 'run %d: the installed copy ending' % run)


def check_links(box, places):
    for link, args, icon_index, description_ok in places.links():
        read = box.wine([box.program('read_link.exe'), hex_arg(link)], capture_output=True)
        lines = read.stdout.decode('utf-8', 'replace').splitlines()
        if read.returncode != 0 or len(lines) < 4:
            fail('%s: %s' % (link, ' / '.join(lines) or 'exit code %d' % read.returncode))
        target, got_args, icon, index = lines[:4]
        description = lines[4] if len(lines) > 4 else ''
        if (target, got_args, icon, index) != (places.installed, args, places.installed, str(icon_index)):
            fail('%s: target %r, arguments %r, icon %r,%s' % (link, target, got_args, icon, index))
        if not description_ok(description):
            fail('%s: description %r' % (link, description))


def check_disable_days(box):
    query = box.wine(['reg', 'query', KEY, '/v', 'DisableDays'], capture_output=True)
    match = re.search(r'DisableDays\s+(REG_\w+)\s+([0-9A-Fa-f]*)', query.stdout.decode('utf-8', 'replace'))
    if not match:
        fail('no DisableDays under %s' % KEY)
    kind, data = match.group(1), bytes.fromhex(match.group(2))
    # Three weekdays (0 = Sunday) and a zero; the middle one differs from both others.
    if (kind != 'REG_BINARY' or len(data) != 4 or max(data[:3]) > 6 or data[3] != 0
            or data[1] in (data[0], data[2])):
        fail('DisableDays is %s %s' % (kind, data.hex()))


def check_pings(box, run):
    targets = [r['target'] for r in box.requests()]
    installs = [t for t in targets if '/install.htm' in t]
    if installs != [PING % ('install', n) for n in range(1, run + 1)]:
        fail('run %d: install pings %r' % (run, installs))
    # The installed copy may end before its game ping is out: it need not arrive.
    games = [t for t in targets if '/active.htm?tag=pelux&' in t]
    allowed = [PING % ('active', n) for n in range(1, run + 1)]
    if any(t not in allowed for t in games) or len(set(games)) != len(games):
        fail('run %d: game pings %r' % (run, games))


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_install') as box:
        places = Places(box)
        remove_install(box, places)
        try:
            winebox.reg_import(box.env, FLASH)
            folder = os.path.join(box.dir, 'client')
            os.makedirs(folder)
            exe = os.path.join(folder, 'Pelux.exe')
            shutil.copy(box.program('Pelux.exe'), exe)
            with open(exe, 'rb') as f:
                client = f.read()
            installed = places.unix(places.installed)
            for run in (1, 2):
                if run == 2:
                    # An older install, to be replaced: its executable and shortcuts.
                    with open(installed, 'wb') as f:
                        f.write(client[:len(client) // 2])
                    for link, *_ in places.links():
                        with open(places.unix(link), 'wb') as f:
                            f.write(b'old shortcut')
                for twin in places.user_twins():
                    with open(places.unix(twin), 'wb') as f:
                        f.write(b'user shortcut')
                run_install(box, places, exe, run)
                check_links(box, places)
                left = [twin for twin in places.user_twins() if os.path.lexists(places.unix(twin))]
                if left:
                    fail('run %d: the user\'s own shortcuts remain: %r' % (run, left))
                check_disable_days(box)
                check_pings(box, run)
                if counters(places) != {'Inst': str(run), 'Game': str(run)}:
                    fail('run %d: Statistic.ini holds %r' % (run, counters(places)))
        finally:
            remove_install(box, places)
            box.wine(['reg', 'delete', r'HKLM\SOFTWARE\Macromedia\FlashPlayer', '/f'], capture_output=True)
    print('1 passed, 0 failed')


if __name__ == '__main__':
    main()
