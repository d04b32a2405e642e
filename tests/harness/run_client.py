#!/usr/bin/env python3
"""Runs the built client under Wine against the stand-in operator server.

usage: run_client.py BUILD [CLIENT ARGS...]
The prefix (BUILD/run/prefix) is kept between runs; the server serves the
default content with an update configuration naming this build, and every
request it answered is listed when the client has ended.
"""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winebox  # noqa: E402

SOURCE = winebox.SOURCE


def main():
    build = os.path.abspath(sys.argv[1])
    args = sys.argv[2:]
    run = os.path.join(build, 'run')
    prefix = os.path.join(run, 'prefix')
    kind = winebox.flavour()
    exe = os.path.join(build, kind['build'], 'Pelux.exe')
    env = winebox.wine_env(prefix, kind)
    content = os.path.join(run, 'content')
    subprocess.run([sys.executable, os.path.join(SOURCE, 'tools', 'standin', 'make_content.py'),
                    '--exe', exe, '--out', content], check=True, stdout=subprocess.DEVNULL)
    log = os.path.join(run, 'requests.log')
    open(log, 'w').close()
    xvfb = None
    server = None
    try:
        if os.environ.get('DISPLAY'):
            env['DISPLAY'] = os.environ['DISPLAY']
        else:
            xvfb, env['DISPLAY'] = winebox.start_xvfb()
        if not os.path.isfile(os.path.join(prefix, 'system.reg')):
            print('creating the Wine prefix (once) ...', flush=True)
            winebox.make_prefix(prefix, kind, env['DISPLAY'])
        server, port = winebox.start_server(content, log, os.path.join(run, 'port'))
        settings = winebox.proxy_settings(port)
        settings.update(winebox.FONT_SETTINGS)
        # A recent Flash Player, so a game start goes on to the game window.
        settings[r'HKEY_LOCAL_MACHINE\SOFTWARE\Macromedia\FlashPlayer'] = {'CurrentVersion': '11,2,202,228'}
        winebox.reg_import(env, settings)
        print('client: %s %s (%s Wine, stand-in server on 127.0.0.1:%d)'
              % (exe, ' '.join(args), kind['arch'], port), flush=True)
        try:
            result = winebox.run_wine(env, [exe] + args)
            subprocess.run([env['WINESERVER'], '-w'], env=env)
        except KeyboardInterrupt:
            # Ctrl+C ends the client and whatever it started, not just us.
            subprocess.run([env['WINESERVER'], '-k'], env=env)
            raise
        with open(log) as f:
            lines = [line for line in f if line.strip()]
        print('client exited with %d; %d request(s) reached the stand-in server:' % (result.returncode, len(lines)))
        for line in lines:
            print('  GET', json.loads(line)['target'])
        return result.returncode
    finally:
        winebox.stop(server)
        winebox.stop(xvfb)


if __name__ == '__main__':
    sys.exit(main())
