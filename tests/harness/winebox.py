"""A disposable Wine world for one test.

Each box gets a copy of the run's template prefix, an Xvfb display of its own
and, when asked, the stand-in operator server set as the prefix's WinINet
proxy. Everything is stopped and removed when the box closes (set
PELUX_KEEP_BOX=1 to keep the folder for a look afterwards).
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
STANDIN = os.path.join(SOURCE, 'tools', 'standin', 'server.py')

# Wine without prompts for Mono or Gecko and without desktop or menu entries
# leaking to the Linux host; no host browser is started either.
DLL_OVERRIDES = 'mscoree=d;mshtml=d;winemenubuilder.exe=d;winebrowser.exe=d'


def wine_env(prefix):
    env = dict(os.environ)
    env.update({
        'WINEPREFIX': prefix,
        'WINEDEBUG': '-all',
        'WINEDLLOVERRIDES': DLL_OVERRIDES,
        # A Chinese system: ANSI code page 936, as the players have.
        'LC_ALL': 'zh_CN.UTF-8',
        # Only read by qemu when 32-bit programs run through it (see setup).
        'QEMU_RESERVED_VA': '0xf7000000',
    })
    env.pop('DISPLAY', None)
    return env


def winpath(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def template_dir(build):
    return os.path.join(build, 'wine', 'template')


def start_xvfb():
    """Starts Xvfb on a free display; returns the process and the display."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(
        ['Xvfb', '-displayfd', str(write_fd), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
    proc = subprocess.Popen([sys.executable, STANDIN, '--root', root, '--log', log, '--port-file', port_file])
    for _ in range(1000):
        if os.path.exists(port_file):
            with open(port_file) as f:
                return proc, int(f.read().strip())
        if proc.poll() is not None:
            break
        time.sleep(0.02)
    stop(proc)
    raise RuntimeError('stand-in server did not start')


def reg_add(env, key, name, kind, data):
    subprocess.run(['wine', 'reg', 'add', key, '/v', name, '/t', kind, '/d', data, '/f'],
                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=600)


def set_proxy(env, port):
    """Sends the prefix's WinINet traffic to the stand-in server."""
    key = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
    reg_add(env, key, 'ProxyEnable', 'REG_DWORD', '1')
    reg_add(env, key, 'ProxyServer', 'REG_SZ', '127.0.0.1:%d' % port)


def stop(proc):
    if proc and proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def make_prefix(prefix):
    """Creates a 32-bit prefix with the settings every run relies on."""
    env = wine_env(prefix)
    env['WINEARCH'] = 'win32'
    subprocess.run(['wineboot', '-i'], env=env, check=True, timeout=2400,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    overrides = r'HKCU\Software\Wine\DllOverrides'
    for dll in ('winemenubuilder.exe', 'winebrowser.exe', 'mscoree', 'mshtml'):
        reg_add(env, overrides, dll, 'REG_SZ', '')
    subprocess.run(['wineserver', '-w'], env=env, timeout=600)


class WineBox:
    def __init__(self, build, name, server=False):
        self.build = build
        self.dir = os.path.join(build, 'wine', 'boxes', name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.prefix = os.path.join(self.dir, 'prefix')
        template = template_dir(build)
        if not os.path.isfile(os.path.join(template, 'system.reg')):
            raise RuntimeError('no template prefix at %s: run the wine.prefix test first' % template)
        subprocess.run(['cp', '-a', '--reflink=auto', template, self.prefix], check=True)
        self.env = wine_env(self.prefix)
        self._xvfb = None
        self._server = None
        self._start_display()
        self.root = os.path.join(self.dir, 'root')
        self.log = os.path.join(self.dir, 'requests.log')
        os.makedirs(self.root)
        open(self.log, 'w').close()
        if server:
            self._start_server()

    def _start_display(self):
        self._xvfb, self.display = start_xvfb()
        self.env['DISPLAY'] = self.display

    def _start_server(self):
        self._server, self.port = start_server(self.root, self.log, os.path.join(self.dir, 'port'))
        set_proxy(self.env, self.port)

    # -- use ------------------------------------------------------------
    def wine(self, args, timeout=600, **kw):
        return subprocess.run(['wine'] + list(args), env=self.env, timeout=timeout, **kw)

    def reg_add(self, key, name, kind, data):
        reg_add(self.env, key, name, kind, data)

    def wait_idle(self, timeout=600):
        """Waits until every process of the prefix has ended."""
        subprocess.run(['wineserver', '-w'], env=self.env, timeout=timeout)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, 'drive_c', *parts)

    def requests(self):
        with open(self.log) as f:
            return [json.loads(line) for line in f if line.strip()]

    def close(self):
        try:
            subprocess.run(['wineserver', '-k'], env=self.env, timeout=120)
        except subprocess.TimeoutExpired:
            pass
        for proc in (self._server, self._xvfb):
            stop(proc)
        if not os.environ.get('PELUX_KEEP_BOX'):
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
