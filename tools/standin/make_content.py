#!/usr/bin/env python3
"""Build a content root for server.py that names a given client build as current.

Usage: make_content.py --exe PATH_TO_CLIENT_EXE --out DIR [--version 3.0.1.2]

DIR receives a fresh copy of default/ plus
  tj.8266tj.test/update/ConfigPelux.htm  (update configuration for that build)
  tj.8266tj.test/update/Pelux.exe        (the build itself, as the update download)
"""

import argparse
import hashlib
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_CONTENT = os.path.join(HERE, "default")
STATS_HOST = "tj.8266tj.test"
DEFAULT_VERSION = "3.0.1.2"


def version_digits(version):
    parts = version.split(".")
    if not version or not all(p.isdigit() for p in parts):
        raise ValueError("version must be dot-separated decimal numbers: %r" % version)
    return "".join(parts)


def file_md5_hex(path):
    h = hashlib.md5()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            h.update(block)
    return h.hexdigest()


def version_key(path, version=DEFAULT_VERSION):
    """32-character key the client derives from its own executable.

    The MD5 hex digest is cut so that the version digits still fit in 32
    characters.
    """
    digits = version_digits(version)
    if len(digits) > 32:
        raise ValueError("version has more than 32 digits: %r" % version)
    return file_md5_hex(path)[:32 - len(digits)] + digits


def update_config_text(key):
    # CRLF: the client reads this with the Windows private-profile API.
    return ("[VerKey]\r\n"
            "Pelux=%s\r\n"
            "UpdAddr=http://%s/update/Pelux.exe\r\n") % (key, STATS_HOST)


def _is_within(path, parent):
    path = os.path.realpath(path)
    parent = os.path.realpath(parent)
    return path == parent or path.startswith(parent + os.sep)


def build(exe, out, version=DEFAULT_VERSION):
    if not os.path.isfile(exe):
        raise ValueError("no such file: %s" % exe)
    # Refuse outputs that would wipe the source tree or something above it.
    if _is_within(DEFAULT_CONTENT, out) or _is_within(out, DEFAULT_CONTENT):
        raise ValueError("--out must lie outside %s" % DEFAULT_CONTENT)
    key = version_key(exe, version)

    if os.path.isdir(out):
        shutil.rmtree(out)
    elif os.path.exists(out):
        raise ValueError("--out exists and is not a directory: %s" % out)
    shutil.copytree(DEFAULT_CONTENT, out)

    update_dir = os.path.join(out, STATS_HOST, "update")
    os.makedirs(update_dir, exist_ok=True)
    with open(os.path.join(update_dir, "ConfigPelux.htm"), "w", encoding="ascii", newline="") as f:
        f.write(update_config_text(key))
    shutil.copyfile(exe, os.path.join(update_dir, "Pelux.exe"))
    return key


def main(argv=None):
    p = argparse.ArgumentParser(description="Build stand-in server content for a client build.")
    p.add_argument("--exe", required=True, help="the client executable to publish as current")
    p.add_argument("--out", required=True, help="content root to (re)create")
    p.add_argument("--version", default=DEFAULT_VERSION, help="program version (default %(default)s)")
    args = p.parse_args(argv)
    try:
        key = build(args.exe, args.out, args.version)
    except (ValueError, OSError) as e:
        sys.stderr.write("make_content: %s\n" % e)
        return 1
    print(key)
    return 0


if __name__ == "__main__":
    sys.exit(main())
