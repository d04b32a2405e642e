#!/usr/bin/env python3
"""Creates the run's template Wine prefix, which every test box copies."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winebox  # noqa: E402


def main():
    build = sys.argv[1]
    target = winebox.template_dir(build)
    shutil.rmtree(os.path.join(build, 'wine'), ignore_errors=True)
    os.makedirs(os.path.dirname(target))
    winebox.make_prefix(target)
    print('template prefix ready:', target)


if __name__ == '__main__':
    main()
