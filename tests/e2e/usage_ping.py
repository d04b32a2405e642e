#!/usr/bin/env python3
"""The portal shortcut start, twice: each run counts, pings and ends by itself.

usage: usage_ping.py BUILD
"""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402
from winebox import fail  # noqa: E402

EXPECTED_EXTRA = [('Accept-Language', 'zh-cn'), ('Content-Type', 'application/x-www-form-urlencoded')]


def main():
    build = sys.argv[1]
    with winebox.WineBox(build, 'e2e_usage_ping') as box:
        client = box.program('Pelux.exe')
        # An installed machine: the common folder exists, without counters yet.
        ini = box.drive_c('ProgramData', '8266', 'RudiDuzuv', 'Statistic.ini')
        os.makedirs(os.path.dirname(ini), exist_ok=True)
        if os.path.exists(ini):
            os.remove(ini)
        opened = os.path.join(os.path.dirname(client), 'record_open.log')
        if os.path.exists(opened):
            os.remove(opened)
        # Started from a folder of its own, as a desktop shortcut would not be.
        folder = os.path.join(box.dir, 'client')
        os.makedirs(folder)
        exe = os.path.join(folder, 'Pelux.exe')
        shutil.copy(client, exe)
        for run in (1, 2):
            result = box.wine([exe, '/web8266D'])
            if result.returncode != 0:
                fail('run %d exited with %d' % (run, result.returncode))

        pings = [r for r in box.requests() if r['host'] == 'tj.8266tj.test']
        urls = [r['target'] for r in pings]
        expected = ['http://tj.8266tj.test/active.htm?tag=web8266&ver=3.0.1.2&count=%d' % n for n in (1, 2)]
        if urls != expected:
            fail('pings were %r, expected %r' % (urls, expected))
        for request in pings:
            headers = request['headers']
            names = [name.lower() for name, _ in headers]
            agent = [value for name, value in headers if name.lower() == 'user-agent']
            if agent != ['ZPA']:
                fail('user agent %r' % agent)
            for name, value in EXPECTED_EXTRA:
                got = [v.strip() for n, v in headers if n.lower() == name.lower()]
                if got != [value]:
                    fail('%s was %r' % (name, got))
            if names.count('accept-language') != 1 or names.count('content-type') != 1:
                fail('extra headers repeated: %r' % headers)
        others = [r['target'] for r in box.requests() if r['host'] != 'tj.8266tj.test']
        if others:
            fail('unexpected requests: %r' % others)

        counters = winebox.ini_section(ini)
        if counters != {'8266': '2'}:
            fail('Statistic.ini holds %r' % counters)

        # The portal page went to the default browser, maximised, once a run.
        # The browser runs on its own, so give it time to have started.
        lines = []
        for _ in range(600):
            if os.path.exists(opened):
                with open(opened, encoding='utf-8') as f:
                    lines = f.read().splitlines()
            if len(lines) >= 2:
                break
            time.sleep(0.5)
        if lines != ['3\t"http://www.8266.test/"'] * 2:
            fail('opened in the browser: %r' % lines)
    print('1 passed, 0 failed')


if __name__ == '__main__':
    main()
