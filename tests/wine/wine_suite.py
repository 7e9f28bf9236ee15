#!/usr/bin/env python3
"""The scenario suite on real windows: every case of tests/scenarios runs twice, through mailzolka
on the simulated desktop and through korvik.exe with QORMAIL.DLL under Wine, and the two runs must
give the same standard output, standard error, exit status and files.

Run by scripts/wine-suite.sh, which builds both sides and sets up Wine (prefix, display, locale):

    python3 tests/wine/wine_suite.py --mailzolka build/bin/mailzolka \
        --korvik build-win/bin/korvik.exe --dll build-win/bin/QORMAIL.DLL \
        --windows-root build-win --drive B: tests/scenarios/*.cases

Both runs use tests/scenarios/run.py to set a case up and collect what it did. Under Wine the
add-in module is a copy of QORMAIL.DLL under the Linux module's file name (QORMAIL.so), so that the
paths a case prints name the same file on both sides. Paths under the Windows drive that maps
--windows-root come back to the Linux spelling before the comparison ($TMP and slashes), as run.py
does with the case's directory itself.

Cases that replace the add-in module itself (an addin-file section named after the module) test the
Linux loader and are not run here; the driver lists them.

With --ansi-code-page (a Python codec: gbk for Wine's Chinese locale, code page 936; utf-8 for a
locale with no ANSI code page of its own, which Wine gives code page 65001) the
cases run on a Windows whose ANSI code page is another: the add-in's texts must show and read back
as on the simulated desktop, which is a code page 932 system. Only its profile files differ, as
they do between two such systems: the profile functions keep them in the system's code page. The
case's profile files are written in that code page for Wine, and the files both runs leave are
compared as text, each read in its system's code page; a case whose profile text that code page
cannot write, or that gives raw bytes of code page 932, is left out.

Prints one line per case that differs, with a diff, and closes with "N passed, N failed"; exits 1
when a case differs.
"""

import argparse
import concurrent.futures
import difflib
import os
import re
import shutil
import sys
import tempfile
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scenarios"))
import run as scenarios  # noqa: E402  (tests/scenarios/run.py)

LINUX_MODULE = "QORMAIL.so"


def windows_forms(path, root, drive):
    """The spellings of a Linux path under `root` that a Windows program prints: as it is, and
    rendered by mailzolka (a backslash doubled)."""
    relative = os.path.relpath(path, root)
    plain = drive + "\\" + relative.replace("/", "\\")
    return [plain.replace("\\", "\\\\"), plain]


def to_linux_paths(text, workdir, root, drive):
    """Replaces the case directory's Windows spellings by $TMP, and the backslashes of the path that
    follows by slashes."""
    for form, separator in zip(windows_forms(workdir, root, drive), ["\\\\", "\\"]):
        # The directory ends where a separator, a blank or a quote follows (or the text ends).
        pattern = (re.escape(form) + r"(?![^\s\\\"'])" + r"((?:" + re.escape(separator) +
                   r"[^\s\\\"']*)*)")
        text = re.sub(pattern, lambda m: "$TMP" + m.group(1).replace(separator, "/"), text)
    return text


def side(mailzolka, addin, host_cmd, timeout, profile_encoding="cp932"):
    """The options run.py takes for one side of the comparison."""
    return types.SimpleNamespace(mailzolka=mailzolka, addin=addin, host_cmd=host_cmd, timeout=timeout,
                                 case=[], update=False, profile_encoding=profile_encoding)


UNICODE_MARKS = (b"\xff\xfe", b"\xfe\xff", b"\xef\xbb\xbf")


def profile_text(files, code_page):
    """The profile files a run left, as text read in the system's ANSI code page (files with a
    Unicode mark are kept as bytes: the profile functions keep them so), to compare the runs of two
    systems of different code pages: a character with two codes in code page 932 is one character."""
    read = {}
    for name, data in files.items():
        if data is not None and name.upper().endswith(".INI") and not data.startswith(UNICODE_MARKS):
            try:
                data = data.decode(code_page)
            except UnicodeError:
                pass  # left as bytes: the comparison shows it
        read[name] = data
    return read


_original_output_lines = scenarios.output_lines
_windows_mapping = None  # (root, drive)


def _output_lines(text, workdir):
    """run.py's output_lines, after the Windows spellings of the case's directory. The Linux side
    never prints a path in the Windows spelling, so the mapping changes nothing there."""
    if _windows_mapping is not None:
        text = to_linux_paths(text, workdir, *_windows_mapping)
    return _original_output_lines(text, workdir)


def differences(case, sim, win):
    """What differs between the two results; empty when they agree."""
    problems = []
    if isinstance(sim, Exception) or isinstance(win, Exception):
        problems = []
        for label, result in (("simulated desktop", sim), ("Wine side", win)):
            if isinstance(result, Exception):
                problems.append(f"cannot run on the {label}: {result!r}")
                # A run that timed out shows what it wrote until then.
                for stream in ("stdout", "stderr"):
                    text = getattr(result, stream, None)
                    if text:
                        problems.append(f"its {stream} until then:\n" + text.decode("utf-8", "replace"))
        return problems
    for label, a, b in (("stdout", sim.stdout, win.stdout), ("stderr", sim.stderr, win.stderr)):
        if a != b:
            problems.append("\n".join(difflib.unified_diff(a, b, f"simulated {label}", f"Wine {label}",
                                                           lineterm="")))
    if sim.status != win.status:
        problems.append(f"exit status: simulated {sim.status}, Wine {win.status}")
    for name in sorted(set(sim.files) | set(win.files)):
        a, b = sim.files.get(name), win.files.get(name)
        if a != b:
            problems.append(f"file {name}: simulated {a!r}, Wine {b!r}")
    return [p for p in problems if p]


def platform_specific(case, ansi=None):
    """Why the case cannot run on both desktops (the Windows of ANSI code page `ansi`), or None."""
    for section in case.find("addin-file"):
        if section.args and section.args[0] == LINUX_MODULE:
            return "replaces the Linux add-in module itself"
    for section in case.find("log"):
        for arg in section.args:
            if arg in ("noeol", "utf-8") or arg.startswith(("@", "from=")):
                continue
            try:
                arg.encode("cp932")
                arg.encode(ansi or "cp932")
            except UnicodeEncodeError:
                return f"names a log that the ANSI command line of a code page {ansi or 932} system cannot carry"
    for section in case.find("profile") if ansi else ():
        text = "".join(section.body)
        if re.search(r"\\x[89a-fA-F]", text) and not text.startswith("\\xFF\\xFE"):
            return f"its profile file gives raw bytes of code page 932, which a {ansi} system reads otherwise"
        try:
            text.encode(ansi)
        except UnicodeEncodeError:
            return f"its profile file holds text that code page {ansi} cannot write"
    return None


def main():
    global _windows_mapping
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("files", nargs="+", help="scenario files (*.cases)")
    parser.add_argument("--mailzolka", required=True, help="mailzolka of the Linux build")
    parser.add_argument("--korvik", required=True, help="korvik.exe of the Windows build")
    parser.add_argument("--dll", required=True, help="QORMAIL.DLL of the Windows build")
    parser.add_argument("--wine", default="wine", help="the command that runs a Windows program")
    parser.add_argument("--windows-root", required=True,
                        help="the Linux directory that --drive maps; the cases run below it")
    parser.add_argument("--drive", default="B:", help="the Windows drive of --windows-root")
    parser.add_argument("--case", action="append", default=[], help="only cases whose name holds this")
    parser.add_argument("--timeout", type=float, default=120.0, help="seconds per run")
    parser.add_argument("--jobs", type=int, default=1, help="cases run at once")
    parser.add_argument("--ansi-code-page", default=os.environ.get("QOR_ANSI_CODE_PAGE") or None,
                        help="the ANSI code page of Wine's locale as a Python codec, when it is not 932"
                             " (gbk for zh_CN); default $QOR_ANSI_CODE_PAGE")
    options = parser.parse_args()

    root = os.path.abspath(options.windows_root)
    work = tempfile.mkdtemp(prefix="wine-suite-", dir=root)
    # The cases' own directories (run.py's temporary directories) lie below the mapped root.
    tempfile.tempdir = work
    module_dir = os.path.join(work, "module")
    os.mkdir(module_dir)
    module = os.path.join(module_dir, LINUX_MODULE)
    shutil.copy(options.dll, module)

    mailzolka = os.path.abspath(options.mailzolka)
    sim = side(mailzolka, os.path.join(os.path.dirname(mailzolka), LINUX_MODULE), "", options.timeout)
    win = side(os.path.abspath(options.korvik), module, options.wine, options.timeout,
               options.ansi_code_page or "cp932")
    _windows_mapping = (root, options.drive)
    scenarios.output_lines = _output_lines

    jobs = []
    skipped = []
    for path in options.files:
        _, cases = scenarios.parse_case_file(path)
        for case in cases:
            if options.case and not any(text in case.name for text in options.case):
                continue
            reason = platform_specific(case, options.ansi_code_page)
            if reason:
                skipped.append(f"{path}:{case.line}: {case.name} ({reason})")
            else:
                jobs.append((path, case))

    notes = []

    def run_one(case, path, run_options):
        try:
            return scenarios.run_case(case, path, run_options)
        except Exception as error:  # a case that cannot run is reported, not fatal
            return error

    def lost_output(sim_result, win_result):
        """Wine under load now and then hands back nothing of a run that ended well: no line on
        either stream, with the status the simulated run had, where that run printed lines."""
        return not any(isinstance(r, Exception) for r in (sim_result, win_result)) and \
            (sim_result.stdout or sim_result.stderr) and not win_result.stdout and not win_result.stderr and \
            sim_result.status == win_result.status

    def run_both(job):
        path, case = job
        sim_result, win_result = run_one(case, path, sim), run_one(case, path, win)
        if lost_output(sim_result, win_result):
            notes.append(f"note: {path}:{case.line}: {case.name}: the Wine run printed nothing; run once more")
            win_result = run_one(case, path, win)
        if options.ansi_code_page and not any(isinstance(r, Exception) for r in (sim_result, win_result)):
            for result, code_page in ((sim_result, "cp932"), (win_result, options.ansi_code_page)):
                result.files = profile_text(result.files, code_page)
        return path, case, differences(case, sim_result, win_result)

    failed = passed = 0
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
            for path, case, problems in pool.map(run_both, jobs):
                if problems:
                    failed += 1
                    print(f"DIFFERS {path}:{case.line}: {case.name}")
                    for problem in problems:
                        print(problem)
                    print()
                else:
                    passed += 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for line in notes + [f"not run on Wine: {line}" for line in skipped]:
        print(line)
    print(f"{passed} passed, {failed} failed" + (f", {len(skipped)} skipped" if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
