#!/usr/bin/env python3
"""The portal shortcut start, twice: each run counts, pings and ends by itself.

usage: usage_ping.py BUILD CLIENT_EXE
"""
import configparser
import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
import winebox  # noqa: E402

EXPECTED_EXTRA = [('Accept-Language', 'zh-cn'), ('Content-Type', 'application/x-www-form-urlencoded')]


def fail(message):
    print('FAILED:', message)
    sys.exit(1)


def main():
    build, client = sys.argv[1:3]
    with winebox.WineBox(build, 'e2e_usage_ping', server=True) as box:
        # Started from a folder of its own, as a desktop shortcut would not be.
        folder = os.path.join(box.dir, 'client')
        os.makedirs(folder)
        exe = os.path.join(folder, 'Pelux.exe')
        shutil.copy(client, exe)
        for run in (1, 2):
            result = box.wine([exe, '/web8266D'], timeout=900)
            box.wait_idle()
            if result.returncode != 0:
                fail('run %d exited with %d' % (run, result.returncode))

        pings = [r for r in box.requests() if r['host'] == 'tj.8266tj.test']
        urls = [r['url'] for r in pings]
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
        others = [r['url'] for r in box.requests() if r['host'] != 'tj.8266tj.test']
        if others:
            fail('unexpected requests: %r' % others)

        ini = box.drive_c('ProgramData', '8266', 'RudiDuzuv', 'Statistic.ini')
        parser = configparser.ConfigParser()
        parser.optionxform = str
        with open(ini, encoding='utf-16' if open(ini, 'rb').read(2) == b'\xff\xfe' else 'latin-1') as f:
            parser.read_file(f)
        if parser.get('Pelux', '8266', fallback=None) != '2':
            fail('Statistic.ini holds %r' % dict(parser.items('Pelux')) if parser.has_section('Pelux') else 'no section')
    print('1 passed, 0 failed')


if __name__ == '__main__':
    main()
