#!/usr/bin/env python3
"""Checks the built QORMAIL.DLL from its headers, as objdump -p prints them: a 32-bit (i386) DLL
that exports GiveAddinInterface alone, under that plain name, and imports only DLLs that come
with Windows (the compiler's C++ and GCC runtimes are linked in).

    python3 tests/wine/check_dll.py [--objdump i686-w64-mingw32-objdump] build-win/bin/QORMAIL.DLL
"""

import argparse
import os
import re
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll"}


FORMATS = {"i686": "pei-i386", "x86_64": "pei-x86-64"}


def read_headers(objdump, dll):
    # objdump's words in English, whatever the locale (the suite runs in a Japanese one).
    environment = dict(os.environ, LC_ALL="C", LANGUAGE="C")
    return subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True,
                          env=environment).stdout


def exports(text):
    """The names of the export table."""
    names = []
    in_table = False
    for line in text.splitlines():
        if line.startswith("[Ordinal/Name Pointer] Table"):
            in_table = True
            continue
        if in_table:
            match = re.match(r"\s+\[\s*\d+\]\s+(\S+)", line)
            if not match:
                break
            names.append(match.group(1))
    return names


def imports(text):
    return re.findall(r"DLL Name: (\S+)", text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("dll")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--machine", default="i686", choices=sorted(FORMATS),
                        help="the build's processor: i686 is the DLL the host loads; x86_64 is the"
                             " build the Wine suite runs where no 32-bit programs run")
    options = parser.parse_args()
    text = read_headers(options.objdump, options.dll)
    imported = imports(text)
    checks = [
        (f"a PE file of format {FORMATS[options.machine]}", f"file format {FORMATS[options.machine]}" in text),
        ("a DLL", re.search(r"^Characteristics .*\n(?:\s+.*\n)*?\s+DLL\s*$", text, re.M) is not None),
        ("exports GiveAddinInterface alone, undecorated", exports(text) == ["GiveAddinInterface"]),
        ("imports system DLLs only", bool(imported) and all(n.lower() in SYSTEM_DLLS for n in imported)),
        ("imports the tree's and dialogs' DLLs", {"comctl32.dll", "user32.dll", "kernel32.dll"}
         <= {n.lower() for n in imported}),
    ]
    failed = 0
    for name, ok in checks:
        print(("ok   " if ok else "FAIL ") + name)
        failed += not ok
    if failed:
        print("exports: " + ", ".join(exports(text)))
        print("imports: " + ", ".join(imported))
    print(f"{len(checks) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
