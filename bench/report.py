#!/usr/bin/env python3
"""Runs the listing benchmark and the peak-memory measurement, and prints the README's tables.

usage: bench/report.py BUILD_DIR   (a build of the `bench` preset)
"""
import json
import os
import subprocess
import sys

VIEWS = {1: "received in order", 2: "received by ID", 3: "sent in order", 4: "sent by ID", 5: "both by ID"}


def run_benchmark(bin_dir, processes=3):
    # The fastest of nine runs of each, three in each of three processes: the machine is shared,
    # and what other work takes from a run only ever makes it slower.
    figures = {}
    for _ in range(processes):
        out = subprocess.run([os.path.join(bin_dir, "listings_bench"), "--benchmark_format=json",
                              "--benchmark_min_time=0.2", "--benchmark_repetitions=3"],
                             check=True, capture_output=True, text=True).stdout
        for bench in json.loads(out)["benchmarks"]:
            if bench.get("run_type") != "iteration":
                continue
            name = bench["run_name"].split("/")
            lines = int(name[1])
            key = "baseline" if name[0] == "Baseline" else int(name[2])
            ns = 1e9 / bench["lines_per_second"]
            figures[(key, lines)] = min(ns, figures.get((key, lines), ns))
    return figures


def peak_kib(command):
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        raise SystemExit(f"{command} failed")
    return usage.ru_maxrss


def main():
    bin_dir = os.path.join(sys.argv[1] if len(sys.argv) > 1 else "build-bench", "bin")
    figures = run_benchmark(bin_dir)
    sizes = sorted({lines for _, lines in figures})
    print("| listing | " + " | ".join(f"{s:,} lines: ns/line (× baseline)" for s in sizes) + " | 1M ÷ 10k per line |")
    print("|---|" + "---|" * (len(sizes) + 1))
    for key in ["baseline"] + list(VIEWS):
        cells = []
        for s in sizes:
            ns = figures[(key, s)]
            cells.append(f"{ns:.0f} ({ns / figures[('baseline', s)]:.2f}×)")
        growth = figures[(key, sizes[-1])] / figures[(key, sizes[0])]
        label = "baseline (read every line)" if key == "baseline" else f"view {key}: {VIEWS[key]}"
        print(f"| {label} | " + " | ".join(cells) + f" | {growth:.2f} |")

    print()
    print("Peak memory of each listing over the 1,000,000-line log, above the process with the log")
    print("loaded and the add-in attached:")
    print()
    print("```")
    for view in VIEWS:
        print(subprocess.run([os.path.join(bin_dir, "listings_bench"), "--memory", str(view)], check=True,
                             capture_output=True, text=True).stdout.rstrip())
    print("```")

if __name__ == "__main__":
    main()
