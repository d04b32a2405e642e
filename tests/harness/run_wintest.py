#!/usr/bin/env python3
"""Runs one Windows test program in a fresh box.

usage: run_wintest.py BUILD NAME PROGRAM [--server] [ARG ...]
ARG may use {root}, {log} and {out}: the server's content root, its request
log and a scratch folder, as Windows paths.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winebox  # noqa: E402


def main():
    build, name, program = sys.argv[1:4]
    rest = sys.argv[4:]
    server = '--server' in rest
    rest = [a for a in rest if a != '--server']
    with winebox.WineBox(build, name, server=server) as box:
        out = os.path.join(box.dir, 'out')
        os.makedirs(out)
        values = {'root': winebox.winpath(box.root), 'log': winebox.winpath(box.log),
                  'out': winebox.winpath(out)}
        args = [a.format(**values) for a in rest]
        result = box.wine([program] + args, timeout=1200)
        box.wait_idle()
        return result.returncode


if __name__ == '__main__':
    sys.exit(main())
