#!/usr/bin/env python3
"""The add-in's windows on real ones (korvik.exe windows, under Wine): the pane's tree window and
image list as attach makes them, and the About box placed over the host on the primary monitor,
with the host partly off the screen (the box kept within the work area) and minimised (the box
over the host's restored place). The scripted user checks besides that every box is owned by the
host's window and lies within the work area, and that the host is enabled and in front afterwards.

    python3 tests/wine/windows_check.py --wine "$WINE" --korvik build-win64/bin/korvik.exe \
        --windows-root build-win64
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

TREE_STYLE = 0x40800037  # child, border, buttons, lines, lines at root, no drag, selection always
WS_VISIBLE, WS_VSCROLL, WS_HSCROLL = 0x10000000, 0x00200000, 0x00100000
WS_EX_CLIENTEDGE = 0x200


def kept_within(at, size, low, high):
    return max(low, min(at, high - size))


def check(lines):
    """The problems found in korvik's output."""
    problems = []
    fields = {line.split()[0] + ("" if line.startswith(("tree", "images")) else " " + line.split()[1]): line.split()
              for line in lines if line.strip()}
    tree = fields.get("tree")
    if not tree:
        return ["no tree line"]
    style, exstyle = int(tree[2], 16), int(tree[4], 16)
    if style & ~(WS_VISIBLE | WS_VSCROLL | WS_HSCROLL) != TREE_STYLE or exstyle != WS_EX_CLIENTEDGE:
        problems.append(f"tree style {style:08x} extended {exstyle:08x}")
    images = fields.get("images")
    # Colour without mask: ILC_COLOR, which the list reports as its default depth (ILC_COLOR4).
    if images != ["images", "17x11", "flags", "00000004", "count", "5"] and \
            images != ["images", "17x11", "flags", "00000000", "count", "5"]:
        problems.append(f"image list {images}")
    for place in ("primary", "off-screen", "minimised"):
        about = fields.get("about " + place)
        if not about:
            problems.append(f"no About box {place}")
            continue
        cx, cy = int(about[3]), int(about[4])
        left, top, right, bottom = map(int, about[6:10])
        work = list(map(int, about[11:15]))
        width, height = right - left, bottom - top
        expected = (kept_within(cx - width // 2, width, work[0], work[2]),
                    kept_within(cy - height // 2, height, work[1], work[3]))
        if (left, top) != expected:
            problems.append(f"About box {place} at {left},{top}, expected {expected}")
        if place == "off-screen" and expected == (cx - width // 2, cy - height // 2):
            problems.append("the host is not off the screen far enough to need the box kept within")
        if about[16] != "host":
            problems.append(f"About box {place} not owned by the host's window")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--korvik", required=True, help="korvik.exe of the Windows build (QORMAIL.DLL beside it)")
    parser.add_argument("--wine", default="wine", help="the command that runs a Windows program")
    parser.add_argument("--windows-root", required=True, help="the Linux directory of a Wine drive")
    options = parser.parse_args()
    work = tempfile.mkdtemp(prefix="windows-check-", dir=os.path.abspath(options.windows_root))
    try:
        with open(os.path.join(work, "log.txt"), "wb") as log:
            log.write(b"one line\ntwo lines\n")
        done = subprocess.run([options.wine, os.path.abspath(options.korvik), "windows", "log.txt"], cwd=work,
                              capture_output=True, timeout=120)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    output = done.stdout.decode("utf-8", "replace")
    print(output, end="")
    problems = check(output.splitlines())
    if done.returncode != 0:
        problems.insert(0, f"korvik exited {done.returncode}: {done.stderr.decode('utf-8', 'replace').strip()}")
    for problem in problems:
        print("FAIL " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
