#!/usr/bin/env python3
"""Self-update of the installed client: "/update" always downloads the build
the update configuration names and puts it in place only when it arrived
whole and matches the configuration's key; the game shortcut start checks
only when due and updates only to another build. Every run ends in a game
window (of the new build, or of the client carrying on), which is then
closed with its caption close button's request.

usage: update.py BUILD
"""
import datetime
import json
import os
import re
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'harness'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools', 'standin'))
import make_content  # noqa: E402
import winebox  # noqa: E402
from winebox import fail, hex_arg, wait_until  # noqa: E402

COMMON = r'C:\ProgramData\8266\RudiDuzuv'
EXE = COMMON + r'\Pelux.exe'
PROGRAM_KEY = r'HKEY_LOCAL_MACHINE\Software\8266\RudiDuzuv\Pelux'
SESSION_KEY = r'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager'
FLASH_KEY = r'HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FlashPlayer'
DESKTOP_LINK = r'C:\users\Public\Desktop\8266青砚行记极速登录器.lnk'
MENU_FOLDER = r'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\8266登录器'
LINKS = [DESKTOP_LINK, r'C:\users\Public\Desktop\8266网页游戏.lnk']
CONFIG = 'http://tj.8266tj.test/update/ConfigPelux.htm'
CDN = 'http://www.8266cdn.test/pelux/Pelux.exe'
EVIL = 'http://www.evil.test/Pelux.exe'
PING = 'http://tj.8266tj.test/active.htm?tag=pelux&ver=3.0.1.2&count=1'
PROGRESS_TITLE = '版本更新中...'
CLOSE_BUTTON = '50000'
GAME_TITLE = '8266青砚行记'
GAME_CLOSE = 'sysclose'
# The stalled download outlasts the wait for the client to end by far, so a
# client held up by its cancelled download is caught.
STALL = 600
CLOSE_PATIENCE = 240
# Wine is slow: waiting loops give the client minutes, not seconds.
PATIENCE = 600

BUILDS = ('A', 'B', 'C')


def utc_now():
    return datetime.datetime.now(datetime.timezone.utc)


def weekday(moment):
    """Windows' day of the week: 0 is Sunday."""
    return moment.isoweekday() % 7


def system_time(moment):
    """A SYSTEMTIME's 16 bytes."""
    return struct.pack('<8H', moment.year, moment.month, weekday(moment), moment.day, moment.hour,
                       moment.minute, moment.second, moment.microsecond // 1000)


def stamp_today():
    return system_time(utc_now())


def stamp_yesterday():
    return system_time(utc_now() - datetime.timedelta(days=1))


def days_with_today():
    today = weekday(utc_now())
    return bytes([(today + 1) % 7, (today + 2) % 7, today, 0])


def days_without_today():
    today = weekday(utc_now())
    return bytes([(today + 1) % 7, (today + 2) % 7, (today + 3) % 7, 0])


# Each row: the switch, the build the configuration names (lower-case key
# unless upper), its download address, what the stand-in serves (address ->
# build), a rule for the download, the throttle values, whether the user
# cancels; then the outcome: the requests (besides the game ping), the exe's
# build afterwards, the files pending deletion at reboot, whether the update
# went through (UpdTime stamped, the process ended by itself after starting
# the new build) and the Game counter, whose ping must arrive too.
UPDATED = {'exe': 'B', 'pending': ['OldPelux.exe'], 'updated': True, 'game': 1}
KEPT = {'exe': 'A', 'pending': ['NewPelux.exe'], 'updated': False, 'game': None}
NOT_UPDATED = {'exe': 'A', 'pending': [], 'updated': False, 'game': 1}
SCENARIOS = [
    dict(name='/update installs the configured build', switch='/update', key='B',
         requests=[CONFIG, CDN], **UPDATED),
    dict(name='/update compares the key ignoring case', switch='/update', key='B', upper=True,
         requests=[CONFIG, CDN], **UPDATED),
    dict(name='/update reinstalls even the running build', switch='/update', key='A', serve={CDN: 'A'},
         requests=[CONFIG, CDN], **dict(UPDATED, exe='A')),
    dict(name='/update refuses an address outside the operator domains', switch='/update', key='B',
         address=EVIL, serve={EVIL: 'B'}, requests=[CONFIG], **KEPT),
    dict(name='/update drops a short download', switch='/update', key='B', rule='truncate',
         requests=[CONFIG, CDN], **KEPT),
    dict(name='/update drops a download of another build', switch='/update', key='B', serve={CDN: 'C'},
         requests=[CONFIG, CDN], **KEPT),
    dict(name='/update survives a missing download', switch='/update', key='B', serve={},
         requests=[CONFIG, CDN], **KEPT),
    dict(name='/update cancelled in the progress dialog', switch='/update', key='B', rule='stall', cancel=True,
         requests=[CONFIG, CDN], **KEPT),
    dict(name='/PeluxD with the running build current', switch='/PeluxD', key='A', upper=True,
         requests=[CONFIG], **NOT_UPDATED),
    dict(name='/PeluxD after an update today', switch='/PeluxD', key='B', throttle={'UpdTime': stamp_today},
         requests=[], **NOT_UPDATED),
    dict(name='/PeluxD on a disabled weekday', switch='/PeluxD', key='B',
         throttle={'DisableDays': days_with_today}, requests=[], **NOT_UPDATED),
    dict(name='/PeluxD due, updates and rewrites the shortcuts', switch='/PeluxD', key='B',
         throttle={'UpdTime': stamp_yesterday, 'DisableDays': days_without_today},
         requests=[CONFIG, CDN], links=True, **UPDATED),
]


class Prefix:
    """The client's files and registry values in the shared prefix."""

    def __init__(self, box):
        self.box = box

    def unix(self, path):
        return self.box.drive_c(*path[3:].split('\\'))

    def beside(self, name):
        return self.unix(COMMON + '\\' + name)

    def regedit(self, lines):
        path = os.path.join(self.box.dir, 'values.reg')
        with open(path, 'w', encoding='utf-16', newline='\r\n') as f:
            f.write('\n'.join(['Windows Registry Editor Version 5.00', ''] + lines + ['']))
        self.box.wine(['regedit', '/S', winebox.winpath(path)], check=True,
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def values(self, key):
        """The values of a key as {name: (type, data)}: hex types as bytes."""
        path = os.path.join(self.box.dir, 'export.reg')
        if os.path.exists(path):
            os.remove(path)
        self.box.wine(['regedit', '/E', winebox.winpath(path), key],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not os.path.exists(path):
            return {}
        with open(path, encoding='utf-16') as f:
            text = re.sub(r'\\\n\s*', '', f.read())
        values = {}
        inside = False
        for line in text.splitlines():
            if line.startswith('['):
                inside = line[1:-1].lower() == key.lower()
                continue
            match = re.match(r'"((?:[^"\\]|\\.)*)"=(\w+(?:\(\d+\))?):(.*)$', line)
            if inside and match:
                name, kind, data = match.groups()
                values[name] = (kind, bytes.fromhex(data.replace(',', '')) if kind.startswith('hex') else data)
        return values

    def pending_renames(self):
        """The renames the prefix carries out at the next restart, as
        (source, target) in lower case; an empty target deletes the source."""
        data = self.values(SESSION_KEY).get('PendingFileRenameOperations', (None, b''))[1]
        names = data.decode('utf-16-le').lower().split('\0')
        pairs = []
        while len(names) >= 2 and names[0]:
            pairs.append((names[0], names[1]))
            names = names[2:]
        return pairs

    def counters(self):
        return winebox.ini_section(self.beside('Statistic.ini'))

    def clients(self):
        """Windows process ids of the prefix's processes running a Pelux.exe."""
        return [pid for pid, name in self.box.processes() if name == 'pelux.exe']

    def end_clients(self):
        """Ends the clients a failed scenario left behind, so the next test
        does not meet their windows."""
        for pid in self.clients():
            self.box.wine(['taskkill', '/f', '/pid', str(pid)], capture_output=True)

    def link(self, path):
        read = self.box.wine([self.box.program('read_link.exe'), hex_arg(path)], capture_output=True)
        return read.stdout.decode('utf-8', 'replace').splitlines()[:2] if read.returncode == 0 else None

    def remove_client(self):
        for name in ('Pelux.exe', 'OldPelux.exe', 'NewPelux.exe', 'ConfigPelux.htm', 'Statistic.ini'):
            if os.path.exists(self.beside(name)):
                os.remove(self.beside(name))
        for link in LINKS:
            if os.path.lexists(self.unix(link)):
                os.remove(self.unix(link))
        shutil.rmtree(self.unix(MENU_FOLDER), ignore_errors=True)

    def reset_registry(self, throttle):
        lines = ['[%s]' % PROGRAM_KEY]
        for name in ('UpdTime', 'DisableDays'):
            value = throttle.get(name)
            lines.append('"%s"=%s' % (name, 'hex:' + ','.join('%02x' % b for b in value) if value else '-'))
        lines += ['', '[%s]' % SESSION_KEY, '"PendingFileRenameOperations"=-']
        self.regedit(lines)


def publish(box, row, builds):
    """The update configuration, the downloads and the rules of one row."""
    for entry in os.listdir(box.root):
        path = os.path.join(box.root, entry)
        shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    key = make_content.version_key(builds[row['key']])
    if row.get('upper'):
        key = key.upper()
    files = {CONFIG: ('[VerKey]\r\nPelux=%s\r\nUpdAddr=%s\r\n' % (key, row.get('address', CDN))).encode('ascii')}
    for address, build in row.get('serve', {CDN: 'B'}).items():
        with open(builds[build], 'rb') as f:
            files[address] = f.read()
    for address, body in files.items():
        path = os.path.join(box.root, *address[len('http://'):].split('/'))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(body)
    rule = {'truncate': {'truncate': os.path.getsize(builds['B']) // 2},
            'stall': {'stall': STALL}}.get(row.get('rule'))
    if rule:
        with open(os.path.join(box.root, '_rules.json.tmp'), 'w') as f:
            json.dump({CDN[len('http://'):]: rule}, f)
        os.replace(os.path.join(box.root, '_rules.json.tmp'), os.path.join(box.root, '_rules.json'))


def answer(box, row, title, action, what):
    """Plays the user in front of a dialog of the client (see answer_box)."""
    played = box.wine([box.program('answer_box.exe'), hex_arg(title), action], capture_output=True, text=True)
    if played.returncode != 0:
        fail('%s: %s: %s' % (row['name'], what, played.stdout.strip()))


def run_client(box, prefix, row, before):
    """Runs the installed client with the row's switch, cancels the download
    where the row says so, waits for the game start to be counted and pinged
    and closes the game window. Returns the started process's exit code."""
    client = subprocess.Popen([box.env['WINELOADER'], EXE, row['switch']], env=box.env)

    def ended(timeout, what):
        try:
            return client.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            fail('%s: %s' % (row['name'], what))

    try:
        if row.get('cancel'):
            # Cancelled while the download stalls, not before it has begun.
            wait_until(lambda: CDN in [r['target'] for r in box.requests()[before:]],
                       '%s: the download request' % row['name'])
            answer(box, row, PROGRESS_TITLE, CLOSE_BUTTON, 'cancelling the download')
        code = ended(PATIENCE, 'the updating process did not end by itself') if row['updated'] else None
        if row['game']:
            wait_until(lambda: prefix.counters().get('Game') == str(row['game']),
                       '%s: the game start being counted' % row['name'])
            wait_until(lambda: PING in [r['target'] for r in box.requests()[before:]],
                       '%s: the game ping' % row['name'])
        answer(box, row, GAME_TITLE, GAME_CLOSE, 'closing the game window')
        if code is None:
            code = ended(CLOSE_PATIENCE, 'the client did not end with its game window')
        return code
    finally:
        if client.poll() is None:
            client.kill()
            client.wait()


def check(prefix, row, builds, throttle, requests, dates):
    def expect(what, got, wanted):
        if got != wanted:
            fail('%s: %s %r, expected %r' % (row['name'], what, got, wanted))

    contents = {}
    for build, path in builds.items():
        with open(path, 'rb') as f:
            contents[f.read()] = build

    def build_in(name):
        """Which build a file beside the exe holds: None when missing, '?'
        for anything else."""
        if not os.path.exists(prefix.beside(name)):
            return None
        with open(prefix.beside(name), 'rb') as f:
            return contents.get(f.read(), '?')

    expect('the exe holds build', build_in('Pelux.exe'), row['exe'])
    expect('OldPelux.exe holds build', build_in('OldPelux.exe'), 'A' if 'OldPelux.exe' in row['pending'] else None)
    if 'NewPelux.exe' not in row['pending']:
        expect('NewPelux.exe exists', os.path.exists(prefix.beside('NewPelux.exe')), False)
    expect('ConfigPelux.htm left', os.path.exists(prefix.beside('ConfigPelux.htm')), False)
    expect('renames at restart', prefix.pending_renames(),
           [(('\\??\\%s\\%s' % (COMMON, name)).lower(), '') for name in row['pending']])

    targets = [r['target'] for r in requests]
    expect('requests', [t for t in targets if t != PING], row['requests'])
    expect('game pings', targets.count(PING), 1 if row['game'] else 0)
    expect('Game counter', prefix.counters().get('Game'), None if row['game'] is None else str(row['game']))

    values = prefix.values(PROGRAM_KEY)
    stamp = values.get('UpdTime')
    if row['updated']:
        if not stamp or stamp[0] != 'hex' or len(stamp[1]) != 16:
            fail('%s: UpdTime is %r' % (row['name'], stamp))
        year, month, day_of_week, day = struct.unpack('<4H', stamp[1][:8])
        expect('UpdTime date', any((year, month, day, day_of_week) ==
                                   (d.year, d.month, d.day, weekday(d)) for d in dates), True)
    else:
        expect('UpdTime', stamp and stamp[1], throttle.get('UpdTime'))

    if row.get('links'):
        expect('the game shortcut', prefix.link(DESKTOP_LINK), [EXE, '/PeluxD'])


def run_scenario(box, prefix, row, builds):
    shutil.copyfile(builds['A'], prefix.beside('Pelux.exe'))
    throttle = {name: make() for name, make in row.get('throttle', {}).items()}
    prefix.reset_registry(throttle)
    publish(box, row, builds)
    before = len(box.requests())
    started = utc_now()
    code = run_client(box, prefix, row, before)
    if code != 0:
        fail('%s: the client exited with %d' % (row['name'], code))
    wait_until(lambda: not prefix.clients(), '%s: every client ending' % row['name'])
    check(prefix, row, builds, throttle, box.requests()[before:], (started, utc_now()))


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_update') as box:
        prefix = Prefix(box)
        # Three builds: the installed one and two others; a PE with bytes
        # appended still runs.
        builds = {}
        with open(box.program('Pelux.exe'), 'rb') as f:
            shipped = f.read()
        for name in BUILDS:
            builds[name] = os.path.join(box.dir, 'Pelux%s.exe' % name)
            with open(builds[name], 'wb') as f:
                f.write(shipped if name == 'A' else shipped + b'\0' * 64 + ('build %s' % name).encode())
        try:
            os.makedirs(prefix.unix(COMMON), exist_ok=True)
            # A recent Flash Player, so a game start does not stop at the Flash question.
            winebox.reg_import(box.env, {FLASH_KEY: {'CurrentVersion': '11,2,202,228'}})
            for row in SCENARIOS:
                prefix.remove_client()
                run_scenario(box, prefix, row, builds)
        finally:
            prefix.end_clients()
            prefix.remove_client()
            prefix.reset_registry({})
            prefix.regedit(['[-%s]' % FLASH_KEY])
    print('%d passed, 0 failed' % len(SCENARIOS))


if __name__ == '__main__':
    main()
