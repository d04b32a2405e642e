#!/usr/bin/env python3
"""Starts or stops the run's shared Wine session (see winebox.py).

usage: session.py start|stop BUILD
"""
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winebox  # noqa: E402


def save(base, state):
    with open(os.path.join(base, 'session.json'), 'w') as f:
        json.dump(state, f)


def start(build):
    stop(build)
    base = winebox.session_dir(build)
    os.makedirs(base)
    prefix = os.path.join(base, 'prefix')
    root = os.path.join(base, 'root')
    log = os.path.join(base, 'requests.log')
    os.makedirs(root)
    open(log, 'w').close()
    xvfb, display = winebox.start_xvfb()
    server, port = winebox.start_server(root, log, os.path.join(base, 'port'))
    kind = winebox.flavour()
    win_build = os.path.join(os.path.abspath(build), kind['build'])
    state = {'prefix': prefix, 'root': root, 'log': log, 'display': display,
             'port': port, 'pids': [xvfb.pid, server.pid], 'flavour': kind}
    save(base, state)
    env = winebox.make_prefix(prefix, kind, display)
    # Keep the wineserver and Wine's services up between the tests' programs.
    keepalive = subprocess.Popen([env['WINELOADER'], os.path.join(win_build, 'keepalive.exe')], env=env,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, start_new_session=True)
    state['pids'].append(keepalive.pid)
    save(base, state)
    settings = winebox.proxy_settings(port)
    # Addresses the program opens in "the default browser" are recorded
    # instead: record_open.log beside the recorder.
    recorder = winebox.winpath(os.path.join(win_build, 'record_open.exe'))
    settings[r'HKEY_CLASSES_ROOT\http\shell\open\command'] = {'': '"%s" "%%1"' % recorder}
    settings.update(winebox.FONT_SETTINGS)
    winebox.reg_import(env, settings)
    print('Wine session ready (%s, programs from %s): display %s, stand-in server on 127.0.0.1:%d'
          % (kind['arch'], win_build, display, port))


def stop(build):
    base = winebox.session_dir(build)
    path = os.path.join(base, 'session.json')
    if os.path.isfile(path):
        with open(path) as f:
            state = json.load(f)
        if 'flavour' in state:
            env = winebox.wine_env(state['prefix'], state['flavour'])
            subprocess.run([env['WINESERVER'], '-k'], env=env, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for pid in state['pids']:
            winebox.kill_pid(pid)
    shutil.rmtree(base, ignore_errors=True)


def main():
    action = sys.argv[1]
    {'start': start, 'stop': stop}[action](sys.argv[2])


if __name__ == '__main__':
    main()
