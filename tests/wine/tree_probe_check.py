#!/usr/bin/env python3
"""Runs tree_probe of the Linux build (simulated tree) and of the Windows build under Wine (real
tree) with the same mode and requires the same output; prints the first differing lines.

    python3 tests/wine/tree_probe_check.py --linux build/bin/tree_probe \
        --windows build-win/bin/tree_probe.exe text
"""

import argparse
import subprocess
import sys


def run(command):
    done = subprocess.run(command, capture_output=True, timeout=600)
    if done.returncode != 0:
        sys.exit(f"{' '.join(command)}: exit {done.returncode}\n{done.stderr.decode(errors='replace')}")
    return done.stdout.decode("ascii").replace("\r\n", "\n").splitlines()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--linux", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--wine", default="wine")
    parser.add_argument("mode")
    options = parser.parse_args()
    simulated = run([options.linux, options.mode])
    real = run([options.wine, options.windows, options.mode])
    differing = [(i, a, b) for i, (a, b) in enumerate(zip(simulated, real)) if a != b]
    for i, a, b in differing[:20]:
        print(f"line {i + 1}: simulated {a!r}, real {b!r}")
    if len(simulated) != len(real):
        print(f"simulated {len(simulated)} lines, real {len(real)}")
    print(f"{options.mode}: {len(simulated)} lines, {len(differing)} differ")
    return 1 if differing or len(simulated) != len(real) else 0


if __name__ == "__main__":
    sys.exit(main())
