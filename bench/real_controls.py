#!/usr/bin/env python3
"""Times `list` of korvik.exe under Wine and of mailzolka for every view over whole logs of each size,
and prints one table: seconds of wall-clock time beyond each program's start-up (its run on a one-line log), the
fastest of several runs. Run by bench/real_controls.sh, which sets up Wine and the logs."""
import argparse
import os
import subprocess
import time

SIZES = [10000, 100000, 1000000]


def seconds(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def fastest_pair(startup_command, command, runs):
    """The fastest run of each, the two taken in turn so that both see the same load on the machine."""
    startup, work = [], []
    for _ in range(runs):
        startup.append(seconds(startup_command))
        work.append(seconds(command))
    return min(startup), min(work)


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
        seconds(run(["--all"], log(SIZES[0])))
    startup = {name: [] for name in programs}

    def beyond_startup(name, args, lines):
        run = programs[name]
        first, work = fastest_pair(run(args, log(1)), run(args, log(lines)), options.runs)
        startup[name].append(first)
        return max(0.0, work - first)

    header = [f"{s:,} lines" for s in SIZES]
    print("| view | " + " | ".join(header) + " |")
    print("|---|" + "---|" * len(header))
    for view in range(1, 6):
        cells = []
        for lines in SIZES:
            args = ["--all", "--view", str(view)]
            cells.append(f"{beyond_startup('Wine', args, lines):.2f} / {beyond_startup('simulated', args, lines):.2f}")
        print(f"| {view} | " + " | ".join(cells) + " |")
    print()
    print(f"Wine figures ({options.arch}-bit build, virtual display), not Windows figures: seconds of wall-clock")
    print(f"time beyond start-up (the same run on a one-line log: korvik.exe {min(startup['Wine']):.2f} s,")
    print(f"mailzolka {min(startup['simulated']):.3f} s at best), korvik.exe under Wine / mailzolka; each the fastest")
    print(f"of {options.runs} runs taken in turn with the start-up run.")


if __name__ == "__main__":
    main()
