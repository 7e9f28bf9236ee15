#!/usr/bin/env python3
"""The processor time of `mailzolka mails --from ABC01234 --since 2026-01-01 logs/*.log` over a
shelf of logs (default 1,000 logs of 10,000 lines each, made of the sample's lines over and over:
about 900 mails a log, 180 of them from ABC01234), output to /dev/null.

    python3 bench/mails_bench.py --mailzolka build/bin/mailzolka [--logs 1000] [--lines 10000]
"""

import argparse
import os
import resource
import shutil
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "samples", "session.log")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--logs", type=int, default=1000)
    parser.add_argument("--lines", type=int, default=10000)
    parser.add_argument("--runs", type=int, default=3, help="the best of this many runs is reported")
    options = parser.parse_args()

    with open(SAMPLE, "rb") as f:
        sample = f.read().split(b"\n")[:-1]
    shelf = tempfile.mkdtemp(prefix="mails-bench-")
    try:
        first = os.path.join(shelf, "log0000.log")
        with open(first, "wb") as f:
            f.write(b"".join(sample[i % len(sample)] + b"\n" for i in range(options.lines)))
        logs = [first]
        for i in range(1, options.logs):  # hard links: one file's worth of disk
            logs.append(os.path.join(shelf, f"log{i:04d}.log"))
            os.link(first, logs[-1])
        command = [os.path.abspath(options.mailzolka), "mails", "--from", "ABC01234", "--since",
                   "2026-01-01", *logs]
        best = None
        for _ in range(options.runs):
            before, start = resource.getrusage(resource.RUSAGE_CHILDREN), time.monotonic()
            with open(os.devnull, "wb") as null:
                done = subprocess.run(command, stdout=null)
            wall = time.monotonic() - start
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
            if done.returncode != 0:
                raise SystemExit(f"mailzolka mails exited {done.returncode}")
            best = min(best or (cpu, wall), (cpu, wall))
        print(f"mails --from ABC01234 --since 2026-01-01 over {options.logs} logs of {options.lines} "
              f"lines: {best[0]:.2f} s processor time ({best[1]:.2f} s wall clock)")
    finally:
        shutil.rmtree(shelf)


if __name__ == "__main__":
    main()
