#!/usr/bin/env python3
"""Runs scenario files: each case is a log, a script and the output expected from mailzolka.

The format is described in README.md beside this file. Standard library only.
"""

import argparse
import difflib
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

CASE_MARK = "=== "
SECTION_MARK = "--- "
# Sections whose bodies are bytes: written (or compared) in code page 932 with these line ends.
BYTE_SECTION_EOL = {"log": b"\n", "profile": b"\r\n", "addin-file": b"\r\n",
                    "expect-file": b"\r\n"}
EXPECT_SECTIONS = ("expect", "expect-exit", "expect-stderr", "expect-file")
KNOWN_SECTIONS = ("log", "profile", "addin-dir", "addin-file", "script", "list", "run") + EXPECT_SECTIONS


class CaseFileError(Exception):
    pass


class Section:
    def __init__(self, name, args, line):
        self.name = name
        self.args = args  # the words after the name
        self.line = line  # where the header stands, for messages
        self.body = []

    def header(self):
        return SECTION_MARK + " ".join([self.name] + self.args)


class Case:
    def __init__(self, name, line):
        self.name = name
        self.line = line
        self.notes = []  # free text between the case line and its first section
        self.sections = []

    def find(self, name):
        return [s for s in self.sections if s.name == name]

    def one(self, name):
        found = self.find(name)
        return found[0] if found else None


def strip_trailing_blank(lines):
    lines = list(lines)
    while lines and lines[-1] == "":
        lines.pop()
    return lines


def parse_case_file(path):
    """Returns (the lines before the first case, the cases)."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    header, cases = [], []
    case, section = None, None
    for number, line in enumerate(lines, 1):
        if line.startswith(CASE_MARK):
            case = Case(line[len(CASE_MARK):].strip(), number)
            if not case.name:
                raise CaseFileError(f"{path}:{number}: a case needs a name")
            cases.append(case)
            section = None
        elif line.startswith(SECTION_MARK) and case is not None:
            words = line[len(SECTION_MARK):].split()
            if not words or words[0] not in KNOWN_SECTIONS:
                raise CaseFileError(f"{path}:{number}: unknown section '{line}'")
            section = Section(words[0], words[1:], number)
            case.sections.append(section)
        elif case is None:
            header.append(line)
        elif section is None:
            case.notes.append(line)
        else:
            section.body.append(line)
    for case in cases:
        for section in case.sections:
            section.body = strip_trailing_blank(section.body)
    return header, cases


def write_case_file(path, header, cases):
    out = list(header)
    for case in cases:
        out.append(CASE_MARK + case.name)
        out.extend(case.notes)
        for section in case.sections:
            out.append(section.header())
            out.extend(section.body)
        out.append("")
    while out and out[-1] == "":
        out.pop()
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


# ---- Text sections as bytes: UTF-8 text in code page 932, \xNN a raw byte, \\ a backslash.

ESCAPE = re.compile(r"\\(x[0-9A-Fa-f]{2}|\\)")


def text_to_bytes(text, where, encoding="cp932"):
    out = bytearray()
    pos = 0
    while pos < len(text):
        slash = text.find("\\", pos)
        if slash < 0:
            slash = len(text)
        try:
            out += text[pos:slash].encode(encoding)
        except UnicodeEncodeError as error:
            raise CaseFileError(f"{where}: {error.object[error.start]!r} is not in {encoding}")
        if slash == len(text):
            break
        match = ESCAPE.match(text, slash)
        if not match:
            raise CaseFileError(f"{where}: a backslash must start \\xNN or \\\\")
        out += b"\\" if match.group(1) == "\\" else bytes([int(match.group(1)[1:], 16)])
        pos = match.end()
    return bytes(out)


def section_bytes(section, where, encoding="cp932"):
    eol = BYTE_SECTION_EOL[section.name]
    lines = [text_to_bytes(line, f"{where}:{section.line + i + 1}", encoding)
             for i, line in enumerate(section.body)]
    data = b"".join(line + eol for line in lines)
    if "noeol" in section.args and data.endswith(eol):
        data = data[: -len(eol)]
    return data


def bytes_to_text(data):
    """The other way round, for --update: characters where they decode, escapes elsewhere."""
    out = []
    i = 0
    while i < len(data):
        byte = data[i]
        if (0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC) and i + 1 < len(data):
            try:
                char = data[i:i + 2].decode("cp932")
                # A character with two codes (0xED40 and 0xFA5C) is written back in one of them
                # only: the other stays escaped.
                if char.encode("cp932") == data[i:i + 2]:
                    out.append(char)
                    i += 2
                    continue
            except UnicodeDecodeError:
                pass
        if byte == 0x5C:
            out.append("\\\\")
        elif 0x20 <= byte <= 0x7E or byte == 0x09:
            out.append(chr(byte))
        elif 0xA1 <= byte <= 0xDF:
            out.append(bytes([byte]).decode("cp932"))
        else:
            out.append(f"\\x{byte:02X}")
        i += 1
    return "".join(out)


def file_to_section_body(data, eol):
    """Lines of a byte section for `data`, and whether it needs `noeol`."""
    if data == b"":
        return [], False
    noeol = not data.endswith(eol)
    if not noeol:
        data = data[: -len(eol)]
    body = [bytes_to_text(line) for line in data.split(eol)]
    # Sections drop trailing empty lines: a file ending in empty lines gets their ends as escapes.
    escaped_eol = "".join(f"\\x{b:02X}" for b in eol)
    while len(body) > 1 and body[-1] == "":
        body.pop()
        body[-1] += escaped_eol
    if body == [""]:
        body, noeol = [escaped_eol], True
    return body, noeol


# ---- Running one case.

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


SHARED_LOGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "logs")


def write_log(log, workdir, where):
    """Writes one log section's file; returns its name. `@NAME` takes the text of logs/NAME.txt
    beside this file instead of the section's (a log shared by several cases); `from=PATH` takes
    a file of the repository as it stands; `utf-8` writes the log as UTF-8 instead of code page
    932."""
    name, source, utf8 = "log.txt", None, False
    for arg in log.args:
        if arg == "utf-8":
            utf8 = True
        elif arg.startswith("from="):
            source = arg[len("from="):]
        elif arg.startswith("@"):
            shared = Section(log.name, [a for a in log.args if a == "noeol"], log.line)
            with open(os.path.join(SHARED_LOGS, arg[1:] + ".txt"), encoding="utf-8") as f:
                shared.body = strip_trailing_blank(f.read().split("\n"))
            log = shared
        elif arg != "noeol":
            name = arg
    if source is not None:
        with open(os.path.join(REPOSITORY, source), "rb") as f:
            data = f.read()
        if utf8:
            data = data.decode("cp932").encode("utf-8")
    else:
        data = section_bytes(log, where, "utf-8" if utf8 else "cp932")
    with open(os.path.join(workdir, name), "wb") as f:
        f.write(data)
    return name

class Result:
    def __init__(self, stdout, stderr, status, files):
        self.stdout = stdout
        self.stderr = stderr
        self.status = status
        self.files = files  # name -> bytes, or None when missing


def output_lines(text, workdir):
    text = text.replace(workdir, "$TMP")
    return strip_trailing_blank(text.split("\n"))


def run_case(case, path, options):
    where = f"{path}:{case.line}"
    workdir = tempfile.mkdtemp(prefix="mailzolka-scenario-")
    try:
        log_names = [write_log(log, workdir, where) for log in case.find("log")] or ["log.txt"]
        for profile in case.find("profile"):
            if not profile.args:
                raise CaseFileError(f"{path}:{profile.line}: profile needs a file name")
            # Profile files in the system's ANSI code page (code page 932 unless a caller runs the
            # case on a system of another one, tests/wine/wine_suite.py).
            with open(os.path.join(workdir, profile.args[0]), "wb") as f:
                f.write(section_bytes(profile, where, getattr(options, "profile_encoding", "cp932")))

        command = shlex.split(options.host_cmd) + [options.mailzolka]
        listing = case.one("list")
        running = case.one("run")
        if listing is not None:
            command += ["list"] + listing.args
        elif running is not None:
            command += running.args
        else:
            command += ["session", "--profile-dir", "."]
        addin_files = case.find("addin-file")
        if addin_files:
            named_dir = case.one("addin-dir")
            if named_dir is not None and len(named_dir.args) != 1:
                raise CaseFileError(f"{path}:{named_dir.line}: addin-dir NAME")
            addin_dir = os.path.join(workdir, named_dir.args[0] if named_dir is not None else "addin")
            os.mkdir(addin_dir)
            module = os.path.join(addin_dir, os.path.basename(options.addin))
            if os.path.exists(options.addin):
                shutil.copy(options.addin, module)
            for extra in addin_files:
                if not extra.args or extra.args[1:] not in ([], ["hex"], ["noeol"]):
                    raise CaseFileError(f"{path}:{extra.line}: addin-file NAME [hex|noeol]")
                if extra.args[1:] == ["hex"]:
                    try:
                        data = bytes.fromhex("".join(extra.body))
                    except ValueError as error:
                        raise CaseFileError(f"{path}:{extra.line}: {error}")
                else:
                    data = section_bytes(extra, f"{path}:{extra.line}")
                with open(os.path.join(addin_dir, extra.args[0]), "wb") as f:
                    f.write(data)
            command += ["--addin", os.path.relpath(module, workdir)]
        # A log the arguments already name (to set the order, or among names of missing logs,
        # or as LOG:LINE for show) is not added again.
        named = set(command) | {arg.rsplit(":", 1)[0] for arg in command if ":" in arg}
        command += [name for name in log_names if name not in named]
        if listing is None and running is None:
            script = case.one("script")
            with open(os.path.join(workdir, "script.txt"), "w", encoding="utf-8") as f:
                f.write("\n".join(script.body if script else []) + "\n")
            command.append("script.txt")

        done = subprocess.run(command, cwd=workdir, capture_output=True, timeout=options.timeout)
        files = {}
        for expected in case.find("expect-file"):
            name = expected.args[0] if expected.args else ""
            target = os.path.join(workdir, name)
            files[name] = None
            if os.path.isfile(target):
                with open(target, "rb") as f:
                    files[name] = f.read()
        return Result(output_lines(done.stdout.decode("utf-8", "replace"), workdir),
                      output_lines(done.stderr.decode("utf-8", "replace"), workdir),
                      done.returncode, files)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def diff(label, expected, actual):
    return "\n".join(difflib.unified_diff(expected, actual, f"expected {label}", f"actual {label}",
                                          lineterm=""))


def check_case(case, path, result):
    """The differences between what the case expects and what happened; empty when it passes."""
    problems = []
    expect = case.one("expect")
    expected_out = expect.body if expect else []
    if result.stdout != expected_out:
        problems.append(diff("stdout", expected_out, result.stdout))
    exit_section = case.one("expect-exit")
    expected_status = int(exit_section.args[0]) if exit_section and exit_section.args else 0
    if result.status != expected_status:
        problems.append(f"exit status {result.status}, expected {expected_status}")
    stderr_section = case.one("expect-stderr")
    if stderr_section is not None and result.stderr != stderr_section.body:
        problems.append(diff("stderr", stderr_section.body, result.stderr))
    elif stderr_section is None and expected_status == 0 and result.stderr:
        problems.append("unexpected stderr:\n" + "\n".join(result.stderr))
    for expected in case.find("expect-file"):
        name = expected.args[0] if expected.args else ""
        actual = result.files.get(name)
        if "absent" in expected.args:
            if actual is not None:
                problems.append(f"file {name} exists, expected none")
            continue
        if actual is None:
            problems.append(f"file {name} is missing")
            continue
        wanted = section_bytes(expected, f"{path}:{expected.line}")
        if actual != wanted:
            body, _ = file_to_section_body(actual, BYTE_SECTION_EOL["expect-file"])
            problems.append(diff(f"file {name}", expected.body, body) or
                            f"file {name}: {actual!r} != {wanted!r}")
    return problems


def update_case(case, result):
    """Rewrites the case's expectations from what happened."""
    def put(name, args, body, after):
        section = case.one(name)
        if section is None:
            section = Section(name, args, 0)
            anchor = max((i for i, s in enumerate(case.sections) if s.name in after), default=-1)
            case.sections.insert(anchor + 1, section)
        section.args = args
        section.body = body

    def drop(name):
        case.sections = [s for s in case.sections if s.name != name]

    if result.stdout or case.one("expect") is not None:
        put("expect", [], result.stdout, ("log", "profile", "addin-file", "script", "list", "run"))
    if result.status != 0:
        put("expect-exit", [str(result.status)], [], ("expect", "script", "list", "run"))
    else:
        drop("expect-exit")
    if result.status != 0 or result.stderr:
        put("expect-stderr", [], result.stderr, ("expect-exit", "expect", "script", "list", "run"))
    else:
        drop("expect-stderr")
    for section in case.find("expect-file"):
        name = section.args[0] if section.args else ""
        data = result.files.get(name)
        if data is None:
            section.args = [name, "absent"]
            section.body = []
        else:
            body, noeol = file_to_section_body(data, BYTE_SECTION_EOL["expect-file"])
            section.args = [name] + (["noeol"] if noeol else [])
            section.body = body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_bin = os.path.join(here, "..", "..", "build", "bin")
    parser = argparse.ArgumentParser(description="Runs mailzolka scenario files.")
    parser.add_argument("files", nargs="+", help="scenario files (*.cases)")
    parser.add_argument("--mailzolka", default=os.path.join(default_bin, "mailzolka"),
                        help="the program to run (default: build/bin/mailzolka)")
    parser.add_argument("--addin", help="the add-in module copied for cases with addin-file "
                        "sections (default: QORMAIL.so beside the program)")
    parser.add_argument("--host-cmd", default="", help="a command put in front of the program, "
                        "e.g. 'wine' (split like a shell would)")
    parser.add_argument("--case", action="append", default=[],
                        help="run only cases whose name holds this text (repeatable)")
    parser.add_argument("--update", action="store_true",
                        help="rewrite the expected sections from the actual results")
    parser.add_argument("--timeout", type=float, default=120.0, help="seconds per case")
    options = parser.parse_args()
    options.mailzolka = os.path.abspath(options.mailzolka)
    if options.addin is None:
        options.addin = os.path.join(os.path.dirname(options.mailzolka), "QORMAIL.so")
    options.addin = os.path.abspath(options.addin)

    failed = passed = 0
    for path in options.files:
        try:
            header, cases = parse_case_file(path)
        except CaseFileError as error:
            print(error, file=sys.stderr)
            return 2
        for case in cases:
            if options.case and not any(text in case.name for text in options.case):
                continue
            try:
                result = run_case(case, path, options)
                problems = check_case(case, path, result)
            except (CaseFileError, subprocess.TimeoutExpired, OSError) as error:
                result, problems = None, [f"cannot run: {error}"]
            if options.update and result is not None:
                update_case(case, result)
            if problems and not (options.update and result is not None):
                failed += 1
                print(f"FAIL {path}:{case.line}: {case.name}")
                for problem in problems:
                    print(problem)
                print()
            else:
                passed += 1
        if options.update:
            write_case_file(path, header, cases)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
