#!/usr/bin/env python3
"""The primary game window of the real client under Wine, with its pages.

The login and game-hall processes the window starts are not built yet:
fake_login.exe stands in for them. It plays one line of fake_login.script
per process (offer a login key, attach a game page or the game-hall window,
cancel, hang, exit) through exactly the window messages the real ones use,
and logs what it is told. game_probe.exe looks at the window from outside
and drives it with mouse, key and command messages. The client itself is
the real Pelux.exe throughout. Screenshots go to BUILD/screenshots.

usage: game_window.py BUILD
"""
import functools
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail, hex_arg  # noqa: E402

TITLE = '8266青砚行记'
PROMPT_TITLE = '登录其他账号'
FLASH_KEY = r'HKLM\SOFTWARE\Macromedia\FlashPlayer'
EXE_WIN = r'C:\ProgramData\8266\RudiDuzuv\Pelux.exe'
YES, NO = 5000, 5001            # buttons of the skinned message box
PROMPT_YES, PROMPT_NO = 1, 2    # buttons of the add-account prompt
EXIT_QUESTION = '窗口即将关闭，确定要退出游戏？'
THREE_PAGES_NOTICE = '当前窗体只支持3个游戏页'
MB_OK, MB_YESNO = 0, 4
# Files of the stand-ins: their log, the script lines taken, and go-aheads.
SIGNALS = ('fake_login.log', 'fake_login.claims', 'go', 'key-early', 'cancel-late', 'attach-early')
LINK = 1005                     # the add-account link: only the game window has it

WM_KEYDOWN, WM_CHAR, WM_COMMAND, WM_SYSCOMMAND = 0x100, 0x102, 0x111, 0x112
SC_CLOSE = 0xF060
UM_HOTKEYS_CHANGED, UM_ADD_ACCOUNT = 0x404, 0x406
LPARAM_MARKER = 8266  # a close request the program posted itself
VK_RETURN, VK_ESCAPE, VK_SPACE, VK_F5 = 0x0D, 0x1B, 0x20, 0x74
CMD_SOUND, CMD_GAME_HALL = 1002, 1004
CMD_CAPTION_CLOSE, CMD_MAX_RESTORE = 50000, 50002  # the skinned caption's buttons

# Client points of the tab strip while maximized: the middle of tab i, and
# its close button (x 296 + 189 i to 308 + 189 i, y 3 to 15).
TAB_Y = 12
CLOSE_Y = 8


def tab_x(i):
    return 120 + 189 * i + 90


def close_x(i):
    return 296 + 189 * i + 6


PASSED = []


def passed(name):
    PASSED.append(name)


def check(condition, message):
    if not condition:
        fail(message)


def wait_for(what, probe_fn, timeout=60):
    """Polls until probe_fn() returns something true and returns it."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe_fn()
        if value:
            return value
        if time.monotonic() > deadline:
            fail('timed out waiting for ' + what)
        time.sleep(0.2)


class Helper:
    """One stand-in process, as its log lines tell it."""

    def __init__(self, pid):
        self.pid = pid
        self.events = []

    def has(self, prefix):
        return any(e.startswith(prefix) for e in self.events)

    def count(self, event):
        return self.events.count(event)

    @property
    def command_line(self):
        starts = [e[len('start '):] for e in self.events if e.startswith('start ')]
        return starts[0] if starts else None

    @property
    def window(self):
        for e in self.events:
            if e.startswith('attach '):
                return int(e.split()[1])
        return None

    def syscommands(self):
        return [e for e in self.events if e.startswith('syscommand ')]


class Game:
    """The real client as the installed copy, whose logins run the stand-in.

    The primary window starts every login with its own executable's path.
    The client is started as the installed copy without a recent Flash
    Player, so before its window exists it asks about Flash Player; while
    that box is up its image is mapped and no login has started yet.
    Pelux.exe is then replaced on disk by the stand-in (renamed over it: the
    running client keeps its image) and the box answered "否", so every
    process the window starts from then on is the stand-in.
    """

    def __init__(self, box, build, script):
        self.box = box
        self.build = build
        self.folder = box.drive_c('ProgramData', '8266', 'RudiDuzuv')
        self.exe = os.path.join(self.folder, 'Pelux.exe')
        self.logfile = os.path.join(self.folder, 'fake_login.log')
        self.client = None
        self.hwnd = None
        self.seen = set()
        for name in SIGNALS:
            path = os.path.join(self.folder, name)
            if os.path.exists(path):
                os.remove(path)
        with open(os.path.join(self.folder, 'fake_login.script'), 'w', encoding='utf-8') as f:
            f.write(''.join(line + '\n' for line in script))

    def start(self):
        shutil.copy(self.box.program('Pelux.exe'), self.exe)
        self.client = subprocess.Popen([self.box.env['WINELOADER'], self.exe], env=self.box.env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        wait_for('the Flash Player question', lambda: self.find_box(NO), timeout=120)
        swap = os.path.join(self.folder, 'Pelux.tmp')
        shutil.copy(self.box.program('fake_login.exe'), swap)
        os.replace(swap, self.exe)
        self.answer(TITLE, NO)
        self.hwnd = int(self.probe('find', 60000)[0].split()[1])

    def close(self):
        """Ends whatever is left of this run."""
        if self.client and self.client.poll() is None:
            self.client.kill()
            self.client.wait()
        pids = [h.pid for h in self.helpers()]
        if pids:
            self.run('game_probe.exe', 'kill', *pids, ok=False)

    # Wine programs, with their output.
    def run(self, program, *args, ok=True):
        result = self.box.wine([self.box.program(program)] + [str(a) for a in args], capture_output=True)
        code = result.returncode
        lines = result.stdout.decode('utf-8').splitlines()
        if ok and code != 0:
            fail('%s %s: exit %d %r' % (program, ' '.join(str(a) for a in args), code, lines))
        return code, lines

    def probe(self, *args):
        return self.run('game_probe.exe', *args)[1]

    def post(self, message, wparam=0, lparam=0):
        self.probe('post', message, wparam, lparam)

    def answer(self, title, button):
        self.run('answer_box.exe', hex_arg(title), button)

    # The window and its pages.
    def state(self):
        """The window once it has handled what was posted to it; 'pages' are
        the windows of other processes in it (game pages and game hall), by
        their labels."""
        state = {'pages': []}
        for line in self.probe('state'):
            words = line.split(' ')
            if words[0] == 'page':
                visible, x, y, w, h = (int(v) for v in words[3:8])
                state['pages'].append({'visible': visible == 1, 'rect': (x, y, w, h),
                                       'label': ' '.join(words[8:])})
            elif words[0] in ('rect', 'work'):
                state[words[0]] = tuple(int(v) for v in words[1:5])
            elif words[0] == 'client':
                state['client'] = tuple(int(v) for v in words[1:3])
            elif words[0] == 'visible':
                state['visible'] = words[1] == '1'
        state['labels'] = sorted(p['label'] for p in state['pages'])
        shown = [p['label'] for p in state['pages'] if p['visible']]
        state['front'] = shown[0] if len(shown) == 1 else None
        state['maximized'] = state['rect'] == state['work']
        return state

    def expect(self, what, *complaints, timeout=60):
        """Waits until none of the complaints finds fault with the state; a
        page process acts on its own time. Fails with the last fault found."""
        deadline = time.monotonic() + timeout
        while True:
            state = self.state()
            faults = [c(state) for c in complaints]
            faults = [f for f in faults if f]
            if not faults:
                return state
            if time.monotonic() > deadline:
                fail('%s: %s' % (what, '; '.join(faults)))
            time.sleep(0.2)

    # Message boxes and the prompt.
    def dialogs(self, title):
        found = []
        for line in self.probe('dialogs', hex_arg(title)):
            words = line.split()
            found.append({'hwnd': int(words[1]), 'rect': tuple(int(v) for v in words[3:7]),
                          'ids': [int(v) for v in words[8:]]})
        return found

    def find_box(self, control, title=TITLE):
        """The visible dialog of that title with that control, other than the
        game window; None when there is none."""
        for found in self.dialogs(title):
            if control in found['ids'] and LINK not in found['ids']:
                return found
        return None

    def answer_box(self, button, what, title=TITLE, shot=None):
        """Waits for the box, answers it and waits until it has gone."""
        found = wait_for(what, lambda: self.find_box(button, title))
        if shot:
            self.screenshot(shot, title, button)
        self.answer(title, button)
        wait_for(what + ' to go away', lambda: all(d['hwnd'] != found['hwnd'] for d in self.dialogs(title)))
        return found

    def check_text(self, shot, text, style, what):
        """The box in screenshot `shot` shows `text`: it is the very picture of
        the client's message box of that text and style, which show_message.exe
        shows with the client's own code. Both pictures stay with the
        screenshots."""
        reference = subprocess.Popen([self.box.env['WINELOADER'], self.box.program('show_message.exe'),
                                      hex_arg(TITLE), hex_arg(text), str(style)], env=self.box.env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        try:
            wait_for(what + ': the expected box', lambda: self.find_box(YES))
            self.screenshot(shot + '_expected', TITLE, YES)
            self.answer(TITLE, YES)
            reference.wait(timeout=60)
        finally:
            if reference.poll() is None:
                reference.kill()
                reference.wait()
        shots = os.path.join(self.build, 'screenshots')
        differ = subprocess.run(['compare', '-metric', 'AE', os.path.join(shots, shot + '.png'),
                                 os.path.join(shots, shot + '_expected.png'), 'null:'],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=60)
        check(differ.returncode == 0, '%s: the box does not show %r (%s pixels differ)'
              % (what, text, differ.stderr.decode().strip()))

    def no_box(self, what):
        check(self.find_box(YES) is None and self.find_box(NO) is None, what + ': a message box is shown')

    def tray_shown(self):
        """Wine shows notification icons in a window of its own on a display
        without a notification area, visible while there is an icon."""
        return any(line.split()[1:3] == ['__winex11_standalone_tray', '1'] for line in self.probe('windows'))

    # The stand-in processes.
    def helpers(self):
        """The stand-in processes in the order they first logged."""
        by_pid = {}
        if os.path.exists(self.logfile):
            with open(self.logfile, encoding='utf-8') as f:
                for line in f.read().splitlines():
                    pid, _, event = line.partition(' ')
                    by_pid.setdefault(int(pid), Helper(int(pid))).events.append(event)
        return list(by_pid.values())

    def now(self, helper):
        """The helper with what it has logged by now."""
        return next(h for h in self.helpers() if h.pid == helper.pid)

    def next_helper(self, what, event=''):
        """The first stand-in not handed out yet, once it has logged an event
        starting with `event`. The tests start one process at a time, so it
        is the one the last step started."""
        def ready():
            for helper in self.helpers():
                if helper.pid not in self.seen:
                    return helper if helper.has(event) else None
            return None
        helper = wait_for('%s: a new process %s' % (what, event or 'started'), ready)
        self.seen.add(helper.pid)
        return helper

    def go(self, name):
        """Lets stand-ins that await `name` go on."""
        open(os.path.join(self.folder, name), 'w').close()

    def gone(self, helpers):
        pids = [h.pid for h in helpers]
        return self.run('game_probe.exe', 'gone', 60000, *pids, ok=False)[0] == 0

    def newgm(self, pages):
        return '"%s" /newgm /%d /%d' % (EXE_WIN, self.hwnd, pages)

    def wait_page(self, label, pages_before, what):
        """The next login was started with `pages_before` pages, had its key
        accepted, attached its window as a page and is in front."""
        helper = self.next_helper(what, 'key %s accepted' % label)
        check(helper.command_line == self.newgm(pages_before),
              '%s: login started as %r, not %r' % (what, helper.command_line, self.newgm(pages_before)))
        helper = wait_for(what + ': the page attached', lambda: self.now(helper).window and self.now(helper))
        check(helper.has('attach %d 0' % helper.window), what + ': attached as the game hall')
        self.expect(what, front(label))
        return helper

    def wait_polls(self, helper, more, what):
        """Waits until the page has been polled for the sound state `more`
        more times."""
        start = self.now(helper).count('mute 0')
        wait_for('%s: %d more sound polls' % (what, more),
                 lambda: self.now(helper).count('mute 0') >= start + more)

    def wait_exit(self, what):
        try:
            code = self.client.wait(timeout=120)
        except subprocess.TimeoutExpired:
            fail('%s: the client did not end' % what)
        check(code == 0, '%s: the client exited with %d' % (what, code))

    def screenshot(self, name, title=None, control=None, crop=None):
        """A PNG in the build's screenshots of the game window, or of the
        dialog with that title and control, taken from its X window: the
        display may stack Wine's windows differently from Windows' order."""
        args = ['xid'] + ([hex_arg(title), control] if title else [])
        xid = [line.split()[1] for line in self.probe(*args) if line.startswith('xid ')][0]
        shots = os.path.join(self.build, 'screenshots')
        os.makedirs(shots, exist_ok=True)
        time.sleep(0.5)  # the last step's repainting
        grab = subprocess.run(['xwd', '-silent', '-id', xid, '-display', self.box.display],
                              stdout=subprocess.PIPE, check=True, timeout=60)
        cut = ['-crop', '%dx%d+%d+%d' % crop, '+repage'] if crop else []
        subprocess.run(['convert', 'xwd:-'] + cut + [os.path.join(shots, name + '.png')],
                       input=grab.stdout, check=True, timeout=60)


# Complaints about a state for Game.expect: '' when there is nothing to say.

def front(label):
    return lambda s: '' if s['front'] == label else 'page %s in front, not %s' % (s['front'], label)


def labels(*expected):
    expected = sorted(expected)
    return lambda s: '' if s['labels'] == expected else 'pages %r, not %r' % (s['labels'], expected)


def maximized(expected):
    return lambda s: '' if s['maximized'] == expected else 'window %r, work area %r' % (s['rect'], s['work'])


def in_content(s):
    """The page in front fills the content rectangle."""
    width, height = s['client']
    content = (4, 30, width - 8, height - 34)
    shown = [p['rect'] for p in s['pages'] if p['visible']]
    return '' if shown == [content] else 'pages in front at %r, not %r' % (shown, content)


def size(expected):
    def complaint(s):
        left, top, right, bottom = s['rect']
        return '' if (right - left, bottom - top) == expected else 'size %r, not %r' % (
            (right - left, bottom - top), expected)
    return complaint


def scenario(box, build, script, body):
    game = Game(box, build, script)
    try:
        game.start()
        body(game)
    finally:
        game.close()


def check_closed(game, helper, what):
    """The page's window was made top-level, told to close, and its process
    ended."""
    check(game.gone([helper]), '%s: the closed page %d is still running' % (what, helper.pid))
    closes = [e.split()[:5] for e in game.now(helper).syscommands()]
    check(closes == [['syscommand', str(SC_CLOSE), '0', 'child', '0']],
          '%s: the closed page was told %r' % (what, closes))


def check_tab_labels(game, expected, what):
    """The labels of the tabs, from left to right: each is read off the
    log-out question that a middle click on its tab asks (two pages or more).
    The page windows' own titles say which process is where; the labels are
    the client's own pairing."""
    for i, label in enumerate(expected):
        tab = '%s: tab %d' % (what, i)
        game.probe('mclick', tab_x(i), TAB_Y)
        game.answer_box(NO, tab + ': the log-out question', shot='game_window_tab_label')
        game.check_text('game_window_tab_label', '确定要退出账号：%s ?' % label, MB_YESNO, tab)


def check_exit(game, pages, what, hall=None):
    """The program has ended: every page was made top-level, hidden and told
    to close; the game hall was not told and ended with the window."""
    game.wait_exit(what)
    check(game.gone(pages + ([hall] if hall else [])), '%s: stand-ins still running' % what)
    for helper in pages:
        closes = game.now(helper).syscommands()
        check(closes == ['syscommand %d 0 child 0 visible 0' % SC_CLOSE],
              '%s: page %d was closed with %r' % (what, helper.pid, closes))
    if hall:
        check(not game.now(hall).syscommands(), '%s: the game hall was told %r'
              % (what, game.now(hall).syscommands()))


# --- Before the first page --------------------------------------------------

BEFORE_FIRST_PAGE = [
    # (case, the first login's script, close request's lParam or None)
    ('close request while the first login runs', ['hang'], 0),
    ('first login cancelled', ['await go cancel'], None),
]


def before_first_page(game, name, close_lparam):
    state = game.state()
    check(state['rect'] == (0, 0, 1, 1), '%s: the window is %r, not 1 x 1 at (0, 0)' % (name, state['rect']))
    check(state['visible'] and not state['pages'], '%s: not a visible window without pages' % name)
    login = game.next_helper(name)
    check(login.command_line == game.newgm(0), '%s: the first login was started as %r'
          % (name, login.command_line))
    check(not game.tray_shown(), '%s: a notification icon before any page' % name)
    if close_lparam is None:
        game.go('go')
    else:
        # Enter, Escape and Space neither close nor ask.
        for vk in (VK_RETURN, VK_ESCAPE, VK_SPACE):
            game.probe('key', vk)
        game.no_box(name + ', after Enter, Escape and Space')
        check(game.client.poll() is None, '%s: the client ended on a key' % name)
        game.post(WM_SYSCOMMAND, SC_CLOSE, close_lparam)
    game.wait_exit(name)
    check(game.gone([login]), '%s: the login process %d is still running' % (name, login.pid))
    if close_lparam is None:
        check(game.now(login).has('cancel'), '%s: the login did not cancel' % name)
    else:
        check(not game.now(login).has('exit'), '%s: the pending login ended by itself' % name)


# --- Login keys, the first page, the sound poll, the game hall --------------

# Keys posted to the window in this order: (message, wParam, lParam, passed
# on to the page in front). Ctrl+D only as a first press of the D key.
FORWARDED_KEYS = [
    (WM_CHAR, 4, 0x40200001, False),
    (WM_CHAR, 4, 0x00200001, True),
    (WM_KEYDOWN, VK_F5, 0x003F0001, True),
]


# Every way to ask the window to close with pages open: (how, request).
CLOSE_REQUESTS = [
    ('a close request', lambda game: game.post(WM_SYSCOMMAND, SC_CLOSE, 0)),
    ('Alt+F4', lambda game: game.probe('altf4')),
    ('the caption close button', lambda game: game.post(WM_COMMAND, CMD_CAPTION_CLOSE)),
]


def first_page(game):
    name = 'first page'
    first = game.wait_page('Abc', 0, name)
    state = game.expect(name, maximized(True), in_content)
    check(state['visible'], name + ': the window is hidden')
    wait_for(name + ': the notification icon', game.tray_shown)
    passed(name)

    name = 'same login key refused'
    game.post(UM_ADD_ACCOUNT, 1)
    refused = game.next_helper(name, 'key Abc refused')
    check(refused.command_line == game.newgm(1), '%s: started as %r' % (name, refused.command_line))
    check(game.gone([refused]), '%s: the refused login is still running' % name)
    check(game.now(refused).has('cancel'), '%s: the refused login did not cancel' % name)
    # Its cancel makes the window forget the login, without the exit question.
    game.expect(name, labels('Abc'), front('Abc'))
    game.no_box(name)
    passed(name)

    name = 'cancel report without a pending login'
    # Treated as any close request: the exit question.
    game.post(WM_SYSCOMMAND, SC_CLOSE, LPARAM_MARKER)
    game.answer_box(NO, name + ': the exit question')
    game.expect(name, labels('Abc'), front('Abc'))
    check(game.client.poll() is None and not game.now(first).syscommands(), name + ': the game is ending')
    passed(name)

    name = 'login key differing in case accepted'
    game.post(UM_ADD_ACCOUNT, 1)
    second = game.wait_page('abc', 1, name)
    game.expect(name, labels('Abc', 'abc'))
    passed(name)

    name = 'sound state polled on every page'
    for helper in (first, second):
        game.wait_polls(helper, 3, name)
        check(game.now(helper).count('mute 1') == 0, '%s: a page was told to mute' % name)
    passed(name)

    name = 'sound button'
    # A double click is one press: the sound goes off, and a click turns it
    # on again.
    for action, state in (('dblclick', 1), ('click', 0)):
        game.probe('button', CMD_SOUND, action)
        for helper in (first, second):
            start = len(game.now(helper).events)
            wait_for('%s, %s: pages told the sound state %d' % (name, action, state),
                     lambda h=helper: game.now(h).events[start:].count('mute %d' % state) >= 3)
    passed(name)

    name = 'game hall'
    # Double-clicked: one game hall starts.
    game.probe('button', CMD_GAME_HALL, 'dblclick')
    hall = game.next_helper(name, 'attach ')
    check(hall.command_line == '"%s" /gmhall /%d' % (EXE_WIN, game.hwnd), '%s: started as %r'
          % (name, hall.command_line))
    check(hall.has('attach %d 1' % hall.window), name + ': not attached as the game hall')
    wait_for(name + ': the hall shown', lambda: game.now(hall).has('shown '))
    game.expect(name, front('hall'), in_content)
    halls = [h.pid for h in game.helpers() if '/gmhall' in (h.command_line or '')]
    check(halls == [hall.pid], '%s: game-hall processes %r' % (name, halls))
    for helper in (first, second):
        game.wait_polls(helper, 3, name)
    check(not game.now(hall).has('mute'), '%s: the game hall was polled for the sound state' % name)
    game.post(WM_COMMAND, CMD_GAME_HALL)
    game.expect(name + ', hidden', front('abc'), in_content)
    game.post(WM_COMMAND, CMD_GAME_HALL)
    game.expect(name + ', shown again', front('hall'), in_content)
    # The switch key only brings the current page back over the hall.
    game.probe('switch')
    game.expect(name + ', switch key', front('abc'), in_content)
    passed(name)

    name = 'keys for the page in front'
    for message, wparam, lparam, _ in FORWARDED_KEYS:
        game.post(message, wparam, lparam)

    def keys(helper):
        return [e for e in game.now(helper).events if e.startswith(('keydown ', 'char '))]

    expected = ['%s %d %d' % ('keydown' if m == WM_KEYDOWN else 'char', w, l)
                for m, w, l, forwarded in FORWARDED_KEYS if forwarded]
    wait_for(name, lambda: len(keys(second)) >= len(expected))
    check(keys(second) == expected and not keys(first) and not keys(hall),
          '%s: the page in front got %r, the others %r and %r'
          % (name, keys(second), keys(first), keys(hall)))
    passed(name)

    name = 'hotkeys changed'
    game.post(UM_HOTKEYS_CHANGED)
    for helper in (first, second, hall):
        wait_for('%s: page %d told' % (name, helper.pid), lambda h=helper: game.now(h).has('reload-hotkeys'))
    passed(name)

    for how, request in CLOSE_REQUESTS:
        name = 'exit question answered no, after %s' % how
        request(game)
        game.answer_box(NO, name + ': the exit question')
        game.expect(name, labels('Abc', 'abc', 'hall'), front('abc'))
        check(game.client.poll() is None and not any(game.now(h).syscommands() for h in (first, second, hall)),
              '%s: the game is ending' % name)
        passed(name)

    name = 'exit question answered yes'
    game.post(WM_SYSCOMMAND, SC_CLOSE, 0)
    game.answer_box(YES, name + ': the exit question', shot='game_window_exit_question')
    check_exit(game, [first, second], name, hall=hall)
    game.check_text('game_window_exit_question', EXIT_QUESTION, MB_YESNO, name)
    passed(name)


# --- Three pages: tab strip, sizes, switch key, add account, closing --------

# Smallest window for 1, 2 and 3 pages: the tab strip stays clear of the link.
MINIMUM_SIZE = {1: (672, 260), 2: (861, 260), 3: (1050, 260)}

# (proposed size, size the window takes) with three pages
SIZES_THREE_PAGES = [
    ((300, 100), (1050, 260)),
    ((1100, 300), (1100, 300)),
    ((1200, 100), (1200, 260)),
    ((900, 500), (1050, 500)),
]

# Clicks on the maximized window one after the other: (x, y, page in front
# after it). The tabs span x 121 to 686 and y 3 to 24; y 20 is below the
# close buttons.
TAB_CLICKS = [
    (121, 20, 'P1'),
    (309, 20, 'P2'),
    (120, 20, 'P2'),
    (687, 20, 'P2'),
    (686, 20, 'P3'),
    (400, 2, 'P3'),
    (400, 25, 'P3'),
    (400, 24, 'P2'),
    (200, 3, 'P1'),
]

# Double clicks one after the other: (x, y, maximized after it). On a tab
# nothing happens; on the caption beside the strip the window toggles.
DOUBLE_CLICKS = [
    (tab_x(1), TAB_Y, True),
    (760, TAB_Y, False),
    (tab_x(1), TAB_Y, False),
    (760, TAB_Y, True),
]

# Clicks on the close button of tab 0 (x 296 to 308, y 3 to 15) and just
# beside it: (x, y, asks to log out). A click selects the tab under it first.
CLOSE_BUTTON_CLICKS = [
    (296, 15, True),
    (296, 16, False),
    (308, 3, True),
    (309, 3, False),
]

# (case, wParam of UM_ADD_ACCOUNT, command line of the process it starts)
ADD_ACCOUNT_THREE_PAGES = [
    ('"是" with three pages', 1, None),
    ('"否"', 0, '"%s"' % EXE_WIN),
    ('neither', 2, None),
]


# The add-account prompt with three pages: (case, what the player does,
# starts an independent instance). Escape counts as "否"; a click elsewhere
# only hides the prompt.
PROMPT_ANSWERS = [
    ('click outside the add-account prompt', lambda game: game.probe('activate'), False),
    ('"否" in the add-account prompt', lambda game: game.answer(PROMPT_TITLE, PROMPT_NO), True),
    ('click outside the add-account prompt again', lambda game: game.probe('activate'), False),
    ('Escape in the add-account prompt',
     lambda game: game.probe('dialog-key', hex_arg(PROMPT_TITLE), PROMPT_YES, VK_ESCAPE), True),
]


def check_minimum(game, pages, sizes):
    """Restored, the window keeps the minimum size for its pages."""
    what = 'minimum size with %d pages' % pages
    game.post(WM_COMMAND, CMD_MAX_RESTORE)
    game.expect(what + ', restored', maximized(False))
    for proposed, expected in sizes:
        game.probe('size', *proposed)
        game.expect('%s, %r proposed' % (what, proposed), size(expected), in_content)
    game.post(WM_COMMAND, CMD_MAX_RESTORE)
    game.expect(what + ', maximized again', maximized(True), in_content)
    passed(what)


def three_pages(game):
    p1 = game.wait_page('P1', 0, 'page 1')
    check_minimum(game, 1, [((300, 100), MINIMUM_SIZE[1])])

    game.post(UM_ADD_ACCOUNT, 1)
    p2 = game.wait_page('P2', 1, 'page 2 by the add-account message')
    check_minimum(game, 2, [((300, 100), MINIMUM_SIZE[2])])

    name = 'page 3 by the add-account prompt'
    game.probe('link')
    prompt = wait_for(name + ': the prompt', lambda: game.find_box(PROMPT_YES, PROMPT_TITLE))
    state = game.state()
    # Below the link (x cx - 360, y 7, 92 x 16), right edges aligned.
    under_link = (state['rect'][0] + state['client'][0] - 268, state['rect'][1] + 23)
    check((prompt['rect'][2], prompt['rect'][1]) == under_link,
          '%s: the prompt is at %r, not under the link %r'
          % (name, prompt['rect'], under_link))
    game.answer_box(PROMPT_YES, name, title=PROMPT_TITLE, shot='game_window_add_account')
    p3 = game.wait_page('P3', 2, name)
    passed(name)
    check_minimum(game, 3, SIZES_THREE_PAGES)
    game.screenshot('game_window_three_tabs')

    # The hovered tab with its close button, for a person to look at.
    game.probe('hover', close_x(1), CLOSE_Y)
    game.screenshot('game_window_tab_hover', crop=(720, 60, 0, 0))
    game.probe('hover', 600, 500)

    for x, y, label in TAB_CLICKS:
        game.probe('click', x, y)
        game.expect('click at (%d, %d)' % (x, y), front(label))
        passed('click at (%d, %d)' % (x, y))

    for x, y, maximize in DOUBLE_CLICKS:
        before = game.state()['front']
        game.probe('dblclick', x, y)
        game.expect('double click at (%d, %d)' % (x, y), maximized(maximize), front(before), in_content)
        passed('double click at (%d, %d)' % (x, y))

    name = 'switch key'
    game.probe('click', tab_x(0), TAB_Y)
    game.expect(name, front('P1'))
    for label in ('P2', 'P3', 'P1'):
        game.probe('switch')
        game.expect(name, front(label))
    passed(name)

    for x, y, asks in CLOSE_BUTTON_CLICKS:
        what = 'click at (%d, %d)' % (x, y)
        game.probe('click', x, y)
        if asks:
            game.answer_box(NO, what + ': the log-out question')
        else:
            game.no_box(what)
        game.expect(what, labels('P1', 'P2', 'P3'), front('P1' if x < 309 else 'P2'))
        passed(what)
    game.probe('click', tab_x(0), 20)

    add_account_with_three_pages(game)
    close_pages(game, p1, p2, p3)


def add_account_with_three_pages(game):
    for name, wparam, started in ADD_ACCOUNT_THREE_PAGES:
        before = len(game.helpers())
        game.post(UM_ADD_ACCOUNT, wparam)
        if wparam == 1:
            game.answer_box(YES, name + ': the notice', shot='game_window_three_pages_notice')
            game.check_text('game_window_three_pages_notice', THREE_PAGES_NOTICE, MB_OK, name)
        game.expect(name, labels('P1', 'P2', 'P3'))
        game.no_box(name)
        if started:
            alone = game.next_helper(name, 'started-alone')
            check(alone.command_line == started, '%s: started as %r' % (name, alone.command_line))
        # A process started by mistake shows up here, or as the next case's
        # new process.
        check(len(game.helpers()) == before + (1 if started else 0), '%s: %d processes started'
              % (name, len(game.helpers()) - before))
        passed(name)

    # A process started by mistake shows up as a surplus in a later case.
    before = len(game.helpers())
    for name, dismiss, starts in PROMPT_ANSWERS:
        game.probe('link')
        wait_for(name + ': the prompt', lambda: game.find_box(PROMPT_YES, PROMPT_TITLE))
        dismiss(game)
        wait_for(name + ': the prompt to go away', lambda: not game.find_box(PROMPT_YES, PROMPT_TITLE))
        game.expect(name, labels('P1', 'P2', 'P3'))
        game.no_box(name)
        if starts:
            alone = game.next_helper(name, 'started-alone')
            check(alone.command_line == '"%s"' % EXE_WIN, '%s: started as %r' % (name, alone.command_line))
            before += 1
        check(len(game.helpers()) == before, '%s: %d processes started' % (name, len(game.helpers()) - before))
        passed(name)


def close_pages(game, p1, p2, p3):
    name = 'log-out question answered no'
    game.expect(name, front('P1'))
    game.probe('mclick', tab_x(2), TAB_Y)
    game.answer_box(NO, name, shot='game_window_logout_question')
    game.check_text('game_window_logout_question', '确定要退出账号：P3 ?', MB_YESNO, name)
    game.expect(name, labels('P1', 'P2', 'P3'), front('P1'))
    check(not game.now(p3).syscommands(), name + ': the page was told to close')
    passed(name)

    name = 'close button of the third tab'
    game.probe('press', close_x(2), CLOSE_Y)
    game.expect(name + ': pressed', front('P3'))
    game.probe('release', close_x(2), CLOSE_Y)
    game.answer_box(YES, name)
    game.expect(name, labels('P1', 'P2'), front('P2'), in_content)
    check_closed(game, p3, name)
    passed(name)

    name = 'close button pressed, released elsewhere'
    game.probe('click', tab_x(0), 20)
    game.probe('press', close_x(1), CLOSE_Y)
    game.expect(name + ': pressed', front('P2'))
    game.probe('release', tab_x(1), 20)
    game.no_box(name)
    game.expect(name, labels('P1', 'P2'), front('P2'))
    check(not game.now(p2).syscommands(), name + ': the page was told to close')
    passed(name)

    game.post(UM_ADD_ACCOUNT, 1)
    p4 = game.wait_page('P4', 2, 'page 4, after a close')

    name = 'middle click on the second of three tabs'
    game.probe('click', tab_x(0), 20)
    game.expect(name, front('P1'))
    game.probe('mclick', tab_x(1), TAB_Y)
    game.answer_box(YES, name)
    # The former third page moves into the second tab and is in front.
    game.expect(name, labels('P1', 'P4'), front('P4'))
    check_closed(game, p2, name)
    for x, label in ((309, 'P4'), (121, 'P1')):
        game.probe('click', x, 20)
        game.expect('%s: tab at %d' % (name, x), front(label))
    passed(name)

    name = 'last page asks the exit question'
    game.probe('mclick', tab_x(1), TAB_Y)
    game.answer_box(YES, name + ': closing page 4')
    game.expect(name, labels('P1'), front('P1'))
    check_closed(game, p4, name)
    game.probe('mclick', tab_x(0), TAB_Y)
    game.answer_box(NO, name + ': the exit question')
    game.expect(name + ': answered no', labels('P1'), front('P1'))
    check(game.client.poll() is None and not game.now(p1).syscommands(), name + ': the game is ending')
    game.probe('press', close_x(0), CLOSE_Y)
    game.probe('release', close_x(0), CLOSE_Y)
    game.answer_box(YES, name + ': the exit question')
    check_exit(game, [p1], name)
    passed(name)


# --- A login that ends between its key and its page; concurrent logins -----

def dropped_label(game):
    name = 'login ended after its key'
    abandoned = game.next_helper(name, 'key X accepted')
    check(game.gone([abandoned]), name + ': the login is still running')
    game.expect(name, labels())
    game.post(UM_ADD_ACCOUNT, 1)
    page_y = game.wait_page('Y', 0, name + ': key Y')
    # The window forgets key X of the ended login, not the page's key Y:
    # X is accepted again, Y is not.
    game.wait_polls(page_y, 4, name)
    game.post(UM_ADD_ACCOUNT, 1)
    page_x = game.wait_page('X', 1, name + ': key X offered again')
    game.post(UM_ADD_ACCOUNT, 1)
    refused = game.next_helper(name + ': key Y offered again', 'key Y refused')
    check(game.gone([refused]), name + ': the refused login is still running')
    game.expect(name, labels('X', 'Y'), front('X'))
    check_tab_labels(game, ['Y', 'X'], name)
    passed(name)

    name = 'two logins at once with two pages'
    # Only attached pages count against the limit of three: both logins are
    # under way before either attaches.
    game.post(UM_ADD_ACCOUNT, 1)
    game.post(UM_ADD_ACCOUNT, 1)

    def under_way():
        fresh = [h for h in game.helpers() if h.pid not in game.seen and h.has('script ')]
        return fresh if len(fresh) >= 2 else None

    late = wait_for(name + ': two logins under way', under_way)
    check(len(late) == 2 and all(h.command_line == game.newgm(2) for h in late), '%s: started %r'
          % (name, [h.command_line for h in late]))
    game.go('go')
    game.expect(name, labels('X', 'Y', 'Z1', 'Z2'))
    game.no_box(name)
    game.screenshot('game_window_labels', crop=(900, 60, 0, 0))
    passed(name)

    name = 'exit with four pages'
    game.post(WM_SYSCOMMAND, SC_CLOSE, 0)
    game.answer_box(YES, name + ': the exit question')
    check_exit(game, [page_y, page_x] + late, name)
    passed(name)


def overlapping_logins(game):
    """A second login starts while the first is still on its way, and is
    cancelled after the first one's key came: the first page keeps it."""
    name = 'overlapping logins, the later one cancelled'
    game.wait_page('L1', 0, name + ': the first page')
    game.post(UM_ADD_ACCOUNT, 1)
    early = game.next_helper(name + ': the earlier login', 'script ')
    game.post(UM_ADD_ACCOUNT, 1)
    late = game.next_helper(name + ': the later login', 'script ')
    game.go('key-early')
    wait_for(name + ': the earlier key', lambda: game.now(early).has('key A accepted'))
    game.go('cancel-late')
    check(game.gone([late]), name + ': the cancelled login is still running')
    # Time for the window to notice that the login has ended.
    time.sleep(2)
    game.go('attach-early')
    wait_for(name + ': the page attached', lambda: game.now(early).window)
    game.expect(name, labels('L1', 'A'), front('A'))
    game.no_box(name)
    check_tab_labels(game, ['L1', 'A'], name)
    passed(name)

    name = 'a third page after the cancelled login'
    game.post(UM_ADD_ACCOUNT, 1)
    game.wait_page('B', 2, name)
    check_tab_labels(game, ['L1', 'A', 'B'], name)
    passed(name)


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_game_window') as box:
        folder = box.drive_c('ProgramData', '8266', 'RudiDuzuv')
        os.makedirs(folder, exist_ok=True)
        exe = os.path.join(folder, 'Pelux.exe')
        kept = os.path.join(box.dir, 'Pelux.exe')
        if os.path.exists(exe):
            shutil.copy(exe, kept)
        saved_flash = os.path.join(box.dir, 'flash.reg')
        flash = box.wine(['reg', 'export', FLASH_KEY, winebox.winpath(saved_flash)],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
        box.wine(['reg', 'delete', FLASH_KEY, '/f'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for name, script, close_lparam in BEFORE_FIRST_PAGE:
                scenario(box, build, script, functools.partial(before_first_page, name=name,
                                                               close_lparam=close_lparam))
                passed(name)
            scenario(box, build, ['key Abc attach', 'key Abc', 'key abc attach', 'hall'], first_page)
            scenario(box, build, ['key P1 attach', 'key P2 attach', 'key P3 attach', 'key P4 attach'],
                     three_pages)
            scenario(box, build, ['key X exit', 'key Y attach', 'key X attach', 'key Y',
                                  'await go key Z1 attach', 'await go key Z2 attach'], dropped_label)
            scenario(box, build, ['key L1 attach', 'await key-early key A await attach-early attach',
                                  'await cancel-late cancel', 'key B attach'], overlapping_logins)
        finally:
            for name in ('fake_login.script', 'Pelux.tmp') + SIGNALS:
                path = os.path.join(folder, name)
                if os.path.exists(path):
                    os.remove(path)
            if os.path.exists(kept):
                shutil.copy(kept, exe)
            elif os.path.exists(exe):
                os.remove(exe)
            if flash:
                box.wine(['regedit', '/S', winebox.winpath(saved_flash)],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print('%d passed, 0 failed' % len(PASSED))


if __name__ == '__main__':
    main()
