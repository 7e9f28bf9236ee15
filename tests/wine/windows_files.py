#!/usr/bin/env python3
"""Files as Windows keeps them: the cases of windows_files.cases run through korvik.exe with
QORMAIL.DLL under Wine, with file attributes set before the run and read back after it.

    python3 tests/wine/windows_files.py --korvik build-win64/bin/korvik.exe \
        --dll build-win64/bin/QORMAIL.DLL --wine "$WINE" --windows-root build-win64 \
        tests/wine/windows_files.cases

A case is a scenario case (tests/scenarios/README.md) whose notes may hold lines
"attrib FLAGS NAME": Windows' attrib sets FLAGS (+R, -A, ...) on the file NAME of the case's
directory before korvik.exe starts, and after the run a line "Attributes NAME LETTERS" follows the
output, LETTERS being those of R, H, S and A the file has then. The run has the case's output
compared as run.py compares it.

A note line "hold file NAME" or "hold event NAME" has another program (tests/wine/holder.cpp,
given by --holder or the environment's QOR_HOLDER) hold the file NAME of the case's directory open,
sharing read, write and delete, or an event object named NAME, for as long as korvik.exe runs.

Windows refuses to write a read-only file to every user; Wine running as root does not (it checks
no more than the Unix permissions, which bind no root). A file made read-only is therefore also
made immutable while the case runs when this runs as root, so that writing it fails as on Windows.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scenarios"))
import run as scenarios  # noqa: E402  (tests/scenarios/run.py)

LETTERS = "RHSA"


def attrib_lines(case):
    """The (flags, name) pairs of the case's notes."""
    pairs = []
    for note in case.notes:
        words = note.split()
        if words[:1] == ["attrib"] and len(words) >= 3:
            pairs.append((words[1:-1], words[-1]))
    return pairs


def hold_lines(case):
    """The (kind, name) pairs of the case's "hold" notes."""
    pairs = []
    for note in case.notes:
        words = note.split(None, 2)
        if words[:1] == ["hold"] and len(words) == 3:
            pairs.append((words[1], words[2]))
    return pairs


class NotRun(Exception):
    pass


class AttributedRuns:
    """Stands in for run.py's subprocess: sets the case's attributes before its run and prints
    them after it."""

    TimeoutExpired = subprocess.TimeoutExpired

    def __init__(self, wine, holder):
        self.wine = wine
        self.holder = holder
        self.pairs = []
        self.holds = []

    def hold(self, kind, name, cwd):
        """Starts the holder and returns it once it holds."""
        if not self.holder:
            raise NotRun("no holder program (--holder or QOR_HOLDER)")
        holder = subprocess.Popen([self.wine, self.holder, kind, name], cwd=cwd, stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if holder.stdout.readline().strip() != b"held":
            holder.kill()
            raise RuntimeError(f"holder did not hold {kind} {name}: {holder.communicate()[1]!r}")
        return holder

    def attrib(self, args, cwd):
        done = subprocess.run([self.wine, "attrib"] + args, cwd=cwd, capture_output=True, timeout=60)
        return done.stdout.decode("utf-8", "replace")

    def run(self, command, cwd, **options):
        immutable = []
        holders = []
        try:
            for kind, name in self.holds:
                holders.append(self.hold(kind, name, cwd))
            for flags, name in self.pairs:
                for flag in flags:  # one at a time: Wine's attrib applies only the last of several
                    self.attrib([flag, name], cwd)
                if "+R" in flags and os.geteuid() == 0:
                    if not shutil.which("chattr") or subprocess.run(["chattr", "+i", name], cwd=cwd,
                                                                    capture_output=True).returncode != 0:
                        raise NotRun("root cannot be kept from writing a file here (chattr +i failed)")
                    immutable.append(name)
            done = subprocess.run(command, cwd=cwd, **options)
        finally:
            for holder in holders:
                holder.communicate(timeout=60)  # its input ends: it lets go
            for name in immutable:
                subprocess.run(["chattr", "-i", name], cwd=cwd, check=True)
        for _, name in self.pairs:
            shown = self.attrib([name], cwd)
            flags = shown[:shown.find(":\\") - 1] if ":\\" in shown else ""
            letters = "".join(letter for letter in LETTERS if letter in flags.upper())
            if not shown or set(flags.upper()) - set("RHSAIOLPXUB "):
                letters = "unreadable: " + shown.strip()
            done.stdout += f"Attributes\t{name}\t{letters}\n".encode()
        return done


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("files", nargs="+", help="case files")
    parser.add_argument("--korvik", required=True, help="korvik.exe of the Windows build")
    parser.add_argument("--dll", required=True, help="QORMAIL.DLL of the Windows build")
    parser.add_argument("--wine", default="wine", help="the command that runs a Windows program")
    parser.add_argument("--windows-root", required=True,
                        help="the Linux directory of a Wine drive; the cases run below it")
    parser.add_argument("--holder", default=os.environ.get("QOR_HOLDER"),
                        help="holder.exe of the Windows build, for the cases' hold notes")
    parser.add_argument("--timeout", type=float, default=120.0, help="seconds per run")
    options = parser.parse_args()

    work = tempfile.mkdtemp(prefix="windows-files-", dir=os.path.abspath(options.windows_root))
    tempfile.tempdir = work  # the cases' directories lie on the Wine drive
    runs = AttributedRuns(options.wine, options.holder and os.path.abspath(options.holder))
    scenarios.subprocess = runs
    scenarios.SHARED_LOGS = os.path.join(HERE, "logs")
    korvik = types.SimpleNamespace(mailzolka=os.path.abspath(options.korvik), addin=os.path.abspath(options.dll),
                                   host_cmd=options.wine, timeout=options.timeout)
    failed = passed = 0
    try:
        for path in options.files:
            for case in scenarios.parse_case_file(path)[1]:
                runs.pairs = attrib_lines(case)
                runs.holds = hold_lines(case)
                try:
                    problems = scenarios.check_case(case, path, scenarios.run_case(case, path, korvik))
                except NotRun as reason:
                    print(f"not run: {path}:{case.line}: {case.name}: {reason}")
                    continue
                except (scenarios.CaseFileError, subprocess.SubprocessError, OSError, RuntimeError) as error:
                    problems = [f"cannot run: {error!r}"]
                if problems:
                    failed += 1
                    print(f"FAIL {path}:{case.line}: {case.name}")
                    print("\n".join(problems) + "\n")
                else:
                    passed += 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
