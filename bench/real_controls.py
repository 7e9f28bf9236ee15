#!/usr/bin/env python3
"""Times `list` of korvik.exe under Wine and of mailzolka for every view over whole logs of each size,
and prints one table: seconds of wall-clock time beyond each program's start-up (its run on a one-line log), the
fastest of several runs. Run by bench/real_controls.sh, which sets up Wine and the logs."""
import argparse
import os
import subprocess
import time

SIZES = [10000, 100000, 1000000]


def fastest(command, runs):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--logs", required=True, help="directory of LINES.log files, below the Windows build")
    parser.add_argument("--windows-build", required=True, help="the directory drive B: maps")
    parser.add_argument("--drive", default="B:")
    parser.add_argument("--arch", default="32")
    options = parser.parse_args()

    def windows_path(path):
        relative = os.path.relpath(path, options.windows_build)
        return options.drive + "\\" + relative.replace("/", "\\")

    korvik = windows_path(os.path.join(options.windows_build, "bin", "korvik.exe"))
    programs = {
        "Wine": lambda args, log: [options.wine, korvik, "list", *args, windows_path(log)],
        "simulated": lambda args, log: [options.mailzolka, "list", *args, log],
    }
    log = lambda lines: os.path.join(options.logs, f"{lines}.log")
    # A first run of each warms Wine's prefix and the file cache; it is not counted.
    for run in programs.values():
        fastest(run(["--all"], log(SIZES[0])), 1)
    startup = {name: fastest(run(["--all"], log(1)), options.runs) for name, run in programs.items()}

    def beyond_startup(name, args, lines):
        return max(0.0, fastest(programs[name](args, log(lines)), options.runs) - startup[name])

    print(f"Wine figures ({options.arch}-bit build, virtual display), not Windows figures. Seconds of wall-clock time")
    print(f"beyond start-up (korvik.exe {startup['Wine']:.2f} s, mailzolka {startup['simulated']:.3f} s on a one-line"
          f" log), fastest of {options.runs} runs; korvik.exe under Wine / mailzolka.")
    print()
    header = [f"{s:,} lines" for s in SIZES]
    print("| view | " + " | ".join(header) + " |")
    print("|---|" + "---|" * len(header))
    for view in range(1, 6):
        cells = []
        for lines in SIZES:
            args = ["--all", "--view", str(view)]
            cells.append(f"{beyond_startup('Wine', args, lines):.2f} / {beyond_startup('simulated', args, lines):.2f}")
        print(f"| {view} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
