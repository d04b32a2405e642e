#!/usr/bin/env python3
"""The client is one 32-bit GUI executable that needs only Windows' own DLLs
and asks to run elevated.

usage: binary.py CLIENT_EXE
"""
import re
import subprocess
import sys

SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'shell32.dll', 'ole32.dll',
               'oleaut32.dll', 'comctl32.dll', 'wininet.dll', 'gdiplus.dll', 'msvcrt.dll', 'shlwapi.dll',
               'winmm.dll', 'version.dll', 'comdlg32.dll', 'dsound.dll', 'msimg32.dll'}


def main():
    exe = sys.argv[1]
    dump = subprocess.run(['i686-w64-mingw32-objdump', '-p', exe], capture_output=True, text=True,
                          check=True).stdout
    failures = []
    if 'file format pei-i386' not in dump or re.search(r'Magic\s+010b\s+\(PE32\)', dump) is None:
        failures.append('not a PE32 i386 image')
    if re.search(r'Subsystem\s+00000002\s+\(Windows GUI\)', dump) is None:
        failures.append('not a GUI program')
    dlls = {d.lower() for d in re.findall(r'DLL Name: (\S+)', dump)}
    if not dlls:
        failures.append('no imports found')
    foreign = sorted(dlls - SYSTEM_DLLS)
    if foreign:
        failures.append('imports beyond Windows: %s' % foreign)
    data = open(exe, 'rb').read()
    if b'level="requireAdministrator"' not in data:
        failures.append('manifest does not ask for administrator rights')
    if b'Microsoft.Windows.Common-Controls' not in data:
        failures.append('manifest does not ask for common controls 6')
    for failure in failures:
        print('FAILED:', failure)
    print('%d passed, %d failed' % (0 if failures else 1, 1 if failures else 0))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
