"""The Wine world the tests share during one run.

`session.py start` creates it once per run: a fresh prefix in the build
tree, an Xvfb display, the stand-in operator server on 127.0.0.1 set as the
prefix's WinINet proxy, and a wineserver kept alive between programs.
`session.py stop` ends it all and removes the prefix. Tests take turns (one
box at a time); each box starts with an empty content root and sees only the
requests made while it was open.
"""
import configparser
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
STANDIN = os.path.join(SOURCE, 'tools', 'standin', 'server.py')

# Wine without prompts for Mono or Gecko and without desktop or menu entries
# leaking to the Linux host; no host browser is started either.
DLL_OVERRIDES = 'mscoree=d;mshtml=d;winemenubuilder.exe=d;winebrowser.exe=d'


WINE32 = '/usr/lib/wine/wine'
WINE64 = '/usr/lib/wine/wine64'


def runs_32bit():
    """Wine's 32-bit loader is a 32-bit Linux program: some kernels lack the
    support to start it."""
    try:
        return subprocess.run([WINE32, '--version'], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=60).returncode == 0
    except OSError:
        return False


def flavour():
    """The Wine and the build the tests use: the shipped 32-bit client under
    32-bit Wine where it can run, else the 64-bit build of the same sources
    under 64-bit Wine."""
    if runs_32bit():
        return {'arch': 'win32', 'loader': WINE32, 'server': '/usr/lib/wine/wineserver32', 'build': 'win'}
    return {'arch': 'win64', 'loader': WINE64, 'server': '/usr/lib/wine/wineserver64', 'build': 'win64'}


def wine_env(prefix, kind):
    # Wine links the user's Desktop and Documents to folders of $HOME: give
    # it a home of its own, so nothing the program writes there reaches ours.
    home = os.path.join(os.path.dirname(os.path.abspath(prefix)), 'home')
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ)
    env.update({
        'HOME': home,
        'WINEPREFIX': prefix,
        'WINEARCH': kind['arch'],
        'WINELOADER': kind['loader'],
        'WINESERVER': kind['server'],
        'WINEDEBUG': '-all',
        'WINEDLLOVERRIDES': DLL_OVERRIDES,
        # A Chinese system: ANSI code page 936, as the players have.
        'LC_ALL': 'zh_CN.UTF-8',
    })
    env.pop('DISPLAY', None)
    return env


def ini_section(path, section='Pelux'):
    """One section of an INI file the program wrote (ANSI or UTF-16), as a
    dict; empty when the file or the section is missing."""
    if not os.path.exists(path):
        return {}
    with open(path, 'rb') as f:
        raw = f.read()
    parser = configparser.ConfigParser()
    parser.optionxform = str
    parser.read_string(raw.decode('utf-16' if raw.startswith(b'\xff\xfe') else 'latin-1'))
    return dict(parser.items(section)) if parser.has_section(section) else {}


def fail(message):
    """Ends a test with its failure."""
    print('FAILED:', message)
    sys.exit(1)


def hex_arg(text):
    """Non-ASCII arguments reach the Windows test programs as hexadecimal
    UTF-16 code units, four digits each (tests/win/hex_arg.h)."""
    return ''.join('%04x' % ord(c) for c in text)


def wait_until(test, what, patience=600):
    """Polls test() every half second, up to `patience` times."""
    for _ in range(patience):
        if test():
            return
        time.sleep(0.5)
    fail('gave up waiting: %s' % what)


def run_wine(env, args, **kw):
    return subprocess.run([env['WINELOADER']] + list(args), env=env, **kw)


def winpath(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def start_xvfb():
    """Starts Xvfb on a free display; returns the process and the display."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(
        ['Xvfb', '-displayfd', str(write_fd), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
        pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        number = f.readline().strip()
    if not number:
        stop(proc)
        raise RuntimeError('Xvfb did not start')
    return proc, ':' + number


def start_server(root, log, port_file):
    """Starts the stand-in operator server; returns the process and its port."""
    if os.path.exists(port_file):
        os.remove(port_file)
    with open(log + '.stderr', 'w') as errors:
        proc = subprocess.Popen([sys.executable, STANDIN, '--root', root, '--log', log, '--port-file', port_file],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=errors,
                                start_new_session=True)
    for _ in range(1000):
        if os.path.exists(port_file):
            with open(port_file) as f:
                return proc, int(f.read().strip())
        if proc.poll() is not None:
            break
        time.sleep(0.02)
    stop(proc)
    raise RuntimeError('stand-in server did not start')


def reg_import(env, keys):
    """Writes registry values with one Wine process.

    keys maps a key path to {name: value}; '' names the default value; an int
    is a REG_DWORD, a str a REG_SZ.
    """
    lines = ['Windows Registry Editor Version 5.00', '']
    for key, values in keys.items():
        lines.append('[%s]' % key)
        for name, value in values.items():
            label = '@' if name == '' else '"%s"' % name
            if isinstance(value, int):
                lines.append('%s=dword:%08x' % (label, value))
            else:
                lines.append('%s="%s"' % (label, value.replace('\\', '\\\\').replace('"', '\\"')))
        lines.append('')
    path = os.path.join(env['WINEPREFIX'], 'import.reg')
    with open(path, 'w', encoding='utf-16', newline='\r\n') as f:
        f.write('\n'.join(lines) + '\n')
    run_wine(env, ['regedit', '/S', winpath(path)], check=True, timeout=600,
             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.remove(path)


# Windows' Chinese UI fonts, served by a free CJK font from Debian's packages.
FONT_SETTINGS = {
    r'HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements': {
        '微软雅黑': 'WenQuanYi Micro Hei',
        'Microsoft YaHei': 'WenQuanYi Micro Hei',
        'SimSun': 'WenQuanYi Micro Hei',
        '宋体': 'WenQuanYi Micro Hei',
    },
}


def proxy_settings(port):
    """Sends the prefix's WinINet traffic to the stand-in server."""
    return {r'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings':
            {'ProxyEnable': 1, 'ProxyServer': '127.0.0.1:%d' % port}}


def stop(proc):
    if proc and proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def kill_pid(pid):
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        pass


def make_prefix(prefix, kind, display):
    """Creates a prefix; returns the environment to run Wine in it."""
    env = wine_env(prefix, kind)
    env['DISPLAY'] = display
    # On a busy machine the first boot of a prefix sometimes fails; a second
    # try from scratch has always worked.
    for attempt in range(3):
        result = run_wine(env, ['wineboot', '-i'], timeout=1200,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if result.returncode == 0:
            return env
        subprocess.run([env['WINESERVER'], '-k'], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(prefix, ignore_errors=True)
    raise RuntimeError('wineboot could not create the prefix %s' % prefix)


def session_dir(build):
    return os.path.join(os.path.abspath(build), 'wine')


def load_session(build):
    path = os.path.join(session_dir(build), 'session.json')
    if not os.path.isfile(path):
        raise RuntimeError('no Wine session in %s: the wine.session.start test sets it up' % build)
    with open(path) as f:
        return json.load(f)


class WineBox:
    """One test's turn in the shared Wine session."""

    def __init__(self, build, name):
        self.session = load_session(build)
        self.name = name
        self.prefix = self.session['prefix']
        self.root = self.session['root']
        self.log = self.session['log']
        self.display = self.session['display']
        self.env = wine_env(self.prefix, self.session['flavour'])
        self.env['DISPLAY'] = self.display
        self.programs = os.path.join(os.path.abspath(build), self.session['flavour']['build'])
        self.dir = os.path.join(session_dir(build), 'boxes', name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        for entry in os.listdir(self.root):
            path = os.path.join(self.root, entry)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        self._log_start = os.path.getsize(self.log)

    def wine(self, args, timeout=600, **kw):
        if not kw.pop('capture_output', False):
            return run_wine(self.env, args, timeout=timeout, **kw)
        # Through files, not pipes: a Wine program may start the desktop
        # process, which inherits a pipe and would hold it open for good.
        text = kw.pop('text', False)
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = run_wine(self.env, args, timeout=timeout, stdout=out, stderr=err, **kw)
            out.seek(0)
            err.seek(0)
            result.stdout, result.stderr = out.read(), err.read()
        if text:
            result.stdout = result.stdout.decode('utf-8', 'replace')
            result.stderr = result.stderr.decode('utf-8', 'replace')
        return result

    def processes(self):
        """(Windows process id, lower-case executable name) of the prefix's processes."""
        listing = self.wine(['winedbg', '--command', 'info proc'], capture_output=True)
        return [(int(pid, 16), name.lower()) for pid, name in
                re.findall(r"([0-9a-f]{8})\s+\d+\s+[\s\\_]*'([^']*)'",
                           listing.stdout.decode('utf-8', 'replace'))]

    def program(self, name):
        """A program of the build this session runs."""
        return os.path.join(self.programs, name)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, 'drive_c', *parts)

    def requests(self):
        """The requests the server logged since this box opened."""
        with open(self.log) as f:
            f.seek(self._log_start)
            return [json.loads(line) for line in f.read().splitlines() if line.strip()]

    def close(self):
        if not os.environ.get('PELUX_KEEP_BOX'):
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
