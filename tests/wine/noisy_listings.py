#!/usr/bin/env python3
"""Whole listings of one long log full of line noise (bytes that are no code page 932 character in
names, subjects and chatter), through mailzolka and through korvik.exe under Wine, every view, the
default window and --all; the outputs must be the same to the byte. Run by
tests/wine/noisy_listings.sh, which builds nothing and sets up Wine as the suite does.
"""

import argparse
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import differential  # noqa: E402  (its log generators)
import wine_suite  # noqa: E402  (the suite's spelling of a path on Wine's drive)


def noisy_log(lines, seed):
    rng = random.Random(seed)
    out = []
    while len(out) < lines:
        out += differential.log_block(rng, 0.3)
    # Noise may hold line ends of its own: the log keeps exactly the lines asked for.
    return b"".join(line.replace(b"\r", b"").replace(b"\n", b"") + b"\r\n" for line in out[:lines])


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--windows-build", required=True, help="the directory Wine's drive maps")
    parser.add_argument("--drive", default="B:")
    parser.add_argument("--lines", type=int, default=100000)
    parser.add_argument("--seed", default="noise")
    options = parser.parse_args()

    log = os.path.join(options.windows_build, "bench-logs", f"noise-{options.lines}.log")
    os.makedirs(os.path.dirname(log), exist_ok=True)
    with open(log, "wb") as file:
        file.write(noisy_log(options.lines, options.seed))

    def windows_path(path):
        return wine_suite.windows_forms(path, options.windows_build, options.drive)[1]

    windows_log = windows_path(log)
    korvik = windows_path(os.path.join(options.windows_build, "bin", "korvik.exe"))

    def run(command):
        done = subprocess.run(command, capture_output=True, timeout=600)
        return done.stdout, done.stderr, done.returncode

    differ = 0
    for extra in ([], ["--all"]):
        for view in range(1, 6):
            args = ["list", *extra, "--view", str(view), "--tsv"]
            sim = run([options.mailzolka, *args, log])
            win = run([options.wine, korvik, *args, windows_log])
            lines = sim[0].count(b"\n")
            dots = sim[0].count("・".encode())  # mostly a byte pair the tree gave back as no character
            verdict = "same" if sim == win else "DIFFERENT"
            differ += sim != win
            print(f"view {view} {' '.join(extra) or '(window)':9} {verdict}: "
                  f"{lines} lines, {dots} times '・', exit {sim[2]}/{win[2]}")
    print(f"{differ} of 10 listings differ" if differ else "all 10 listings alike")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
