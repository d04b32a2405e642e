#!/usr/bin/env python3
"""Runs one Windows test program in its turn of the Wine session.

usage: run_wintest.py BUILD NAME PROGRAM [ARG ...]
PROGRAM is a file name in the Windows build the session runs.
ARG may use {root}, {log}, {out} and {shots}: the stand-in server's content
root, its request log, a scratch folder of the test and the build's folder of
screenshots (build/screenshots, kept for a person to look at), as Windows
paths.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winebox  # noqa: E402


def main():
    build, name, program = sys.argv[1:4]
    with winebox.WineBox(build, name) as box:
        out = os.path.join(box.dir, 'out')
        os.makedirs(out)
        shots = os.path.join(os.path.abspath(build), 'screenshots')
        os.makedirs(shots, exist_ok=True)
        values = {'root': winebox.winpath(box.root), 'log': winebox.winpath(box.log),
                  'out': winebox.winpath(out), 'shots': winebox.winpath(shots)}
        args = [a.format(**values) for a in sys.argv[4:]]
        return box.wine([box.program(program)] + args).returncode


if __name__ == '__main__':
    sys.exit(main())
