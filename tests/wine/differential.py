#!/usr/bin/env python3
"""The differential fuzzer: random logs and session scripts, each run through mailzolka on the
simulated desktop and through korvik.exe with QORMAIL.DLL on real controls under Wine; standard
output, standard error, exit status and the files written (QORMAIL.INI, QOR.INI, the CSV export)
must agree. The real controls are the reference.

Run by scripts/wine-suite.sh (a bounded run), or by hand inside its environment:

    python3 tests/wine/differential.py --mailzolka build/bin/mailzolka \
        --korvik build-win/bin/korvik.exe --dll build-win/bin/QORMAIL.DLL \
        --windows-root build-win --seed 1 --count 100 [--out found.cases]

Session S of seed N is the same on every run (--first S --count 1 repeats it). A difference is
shrunk to a small log and script and written to --out as a scenario case whose expected sections
are the real controls' results, ready to join tests/scenarios/.
"""

import argparse
import concurrent.futures
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import wine_suite  # noqa: E402  (tests/wine/wine_suite.py; it imports tests/scenarios/run.py)

scenarios = wine_suite.scenarios

# ---- Logs

MEMBERS = [("ABC01234", "山田太郎"), ("KJP55021", "佐藤花子"), ("MXQ10987", "鈴木一郎"),
           ("NEK77777", "ねこまる"), ("ZOL00001", "ゾルカ事務局"), ("abc01234", "ﾔﾏﾀﾞ"),
           ("TTR4002", "高橋"), ("", "")]
WORDS = ["忘年会", "写真", "Re: ", "会議", "の", "件", "について", "です", "ありがとう", "！", "ABC",
         "xyz", " ", "　", "：", ":", "/", "ﾒｰﾙ", "①", "Ⅰ", "≒", "∵", "纊", "髙", "\\", "お知らせ", "~"]


def noise(rng):
    """Bytes that are no text, or no code page 932 at all."""
    kind = rng.randrange(8)
    if kind == 0:
        return bytes([rng.choice([0x81, 0x85, 0x9F, 0xE0, 0xEB, 0xEF, 0xF0, 0xFC])])  # a lone lead byte
    if kind == 1:
        return bytes([rng.choice([0x80, 0xA0, 0xFD, 0xFE, 0xFF])])
    if kind == 2:
        return bytes([rng.randrange(0x81, 0x100), rng.choice([0x00, 0x09, 0x20, 0x3A, 0x7F, 0xFD])])
    if kind == 3:
        return bytes([rng.choice([0x85, 0x86, 0xEB, 0xEF, 0xF9]), rng.randrange(0x40, 0xFD)])
    if kind == 4:
        return bytes([0xED, rng.randrange(0x40, 0x80)])  # characters with two codes
    if kind == 5:
        return b"\x00"
    if kind == 6:
        return bytes([rng.randrange(1, 0x20)])
    return bytes(rng.randrange(256) for _ in range(rng.randrange(1, 6)))


def text(rng, words=3, noisy=0.0):
    parts = []
    for _ in range(rng.randrange(words + 1)):
        parts.append(noise(rng) if rng.random() < noisy else rng.choice(WORDS).encode("cp932"))
    return b"".join(parts)


def pad(data, width):
    return data + b" " * max(0, width - len(data))


def received_block(rng, noisy):
    lines = [rng.choice([b"", b"xx", b"\x81\x84\x81\x84"]) + "＞READ NEW".encode("cp932")]
    for number in range(1, rng.randrange(1, 6)):
        ident, name = rng.choice(MEMBERS)
        head = f"{number:4d}".encode() if rng.random() < 0.9 else rng.choice([b"   0", b"    ", b" -3x"])
        head += pad(name.encode("cp932") + (noise(rng) if rng.random() < noisy else b""), 14) + b"    "
        head += ident.encode() + b"  26/12/07 12:34"
        if rng.random() < 0.1:
            head += "お知らせ".encode("cp932")
        head = pad(head, rng.choice([40, 64, 64, 64, 70]))
        lines += [head, text(rng, 4, noisy), b"     (812" + "バイト)".encode("cp932"), b""]
        if rng.random() < 0.1:
            lines.append(head)  # two headers in a row
    lines.append(rng.choice(["電子メール（未読0件）".encode("cp932"), "＞".encode("cp932"), b"", b"  \x81\x84"]))
    return lines


def sent_mail(rng, noisy):
    ident, _ = rng.choice(MEMBERS)
    command = rng.choice(["＞SMAIL", "＞2", "＞smail", "x＞2y"]).encode("cp932")
    prompt = rng.choice(["本文を入力して下さい。終了は行頭で /E です。", "本文 /E", "/E のみ"]).encode("cp932")
    to = rng.choice(["宛先：", "宛先:", "宛先", "：", "a:b："]).encode("cp932") + ident.encode()
    subject = rng.choice(["題名：", "題名:", "", "題名：x:"]).encode("cp932") + text(rng, 4, noisy)
    return [command, prompt, to, subject] + [text(rng, 5, noisy) for _ in range(rng.randrange(3))] + [b"/E"]


def log_block(rng, noisy):
    """The lines of one random piece of a log: received mail, sent mail, a long line or chatter."""
    kind = rng.random()
    if kind < 0.35:
        return received_block(rng, noisy)
    if kind < 0.6:
        return sent_mail(rng, noisy)
    if kind < 0.65:
        return [text(rng, 2, 1.0) * rng.randrange(20, 200)]  # a long line
    return [text(rng, 6, noisy) for _ in range(rng.randrange(4))]


def make_log(rng):
    noisy = rng.choice([0.0, 0.0, 0.1, 0.3])
    lines = []
    for _ in range(rng.randrange(1, 12)):
        lines += log_block(rng, noisy)
    end = rng.choice([b"\n", b"\n", b"\r\n", b"\r"])
    data = end.join(lines)
    return data + end if rng.random() < 0.8 else data


# ---- Scripts

SEARCHES = ["忘年会", "Re", "の", "xyz", "該当なし", "　", "ﾒｰﾙ", ""]
COMMANDS = [1, 101, 102, 103, 104, 105, 105, 110, 111, 120, 130, 131, 1000, 0, 999]


def path(rng):
    """Mostly items every listing makes (the root and its first children): a path that names no
    item ends the session, on both sides alike."""
    if rng.random() < 0.8:
        return rng.choice(["0", "0", "0.0", "0.0", "0.1"])
    depth = rng.choice([2, 2, 3, 3, 4])
    parts = [rng.choice([0, 0, 0, 1])] + [rng.choice([0, 0, 1, 1, 2, 3, 7]) for _ in range(depth - 1)]
    return ".".join(map(str, parts))


def answers_for(rng, command):
    """What a user does in the boxes and dialogs that the command opens, mostly."""
    if rng.random() < 0.1:
        return []
    if command == 110:
        return rng.choice([[f"search {rng.choice(SEARCHES)}"], [f"search {rng.choice(SEARCHES)}", "answer ok"],
                           [f"search-pick {rng.randrange(3)}"], ["search-cancel"]])
    if command == 111:
        return rng.choice([[], ["answer ok"]])
    if command == 130:
        rows = rng.choice(["all", "none", "cancel", "0", "1,2", "0,3"])
        return rng.choice([["answer yes", f"idselect {rows}", "answer ok"], ["answer no"], ["answer cancel"],
                           ["answer yes", f"idselect {rows}"]])
    if command == 131:
        return rng.choice([["answer yes", "savefile export.csv", "answer ok"], ["answer no"],
                           ["answer yes", "savefile cancel"], ["answer yes", "savefile export.csv"]])
    if command == 1000:
        return [rng.choice(["close ok", "close cancel"])]
    return []


def make_script(rng, log_lines):
    script = ["attach"] if rng.random() < 0.99 else []
    if rng.random() < 0.5:
        script.append(f"profile PREVMODE {rng.choice([1, 2, 3, 4, 5, 0, 7])}")
    if rng.random() < 0.3:
        script.append(f"profile ALLDISP {rng.choice([0, 1, 5])}")
    if rng.random() < 0.85:
        script.append("activate")
    position = lambda: rng.randrange(-2, log_lines + 3)  # noqa: E731
    for _ in range(rng.randrange(3, 25)):
        kind = rng.random()
        if kind < 0.2:
            command = rng.choice(COMMANDS)
            script += answers_for(rng, command) + [f"command {command}"]
        elif kind < 0.35:
            script.append(f"select {path(rng)}")
        elif kind < 0.45:
            script.append(f"expand {path(rng)}")
        elif kind < 0.55:
            attribute = rng.choice([2, 2, 3, 3, 4, 5, 9, 10, 11, 1, 0])
            script.append(f"append {attribute} {rng.choice(WORDS)}{rng.randrange(100)}")
        elif kind < 0.6:
            script.append(f"mark {rng.randrange(log_lines)} {rng.choice([0, 1, 2, 3, 4, 10, 12])}")
        elif kind < 0.65:
            script.append(f"notify 1026 {position()}")
        elif kind < 0.7:
            script.append(rng.choice(["discard", f"notify 1025 {position()}"]))
        elif kind < 0.77:
            script.append(rng.choice(["activate", "activate 0", "activate 2", f"notify 1024 {rng.randrange(2)}"]))
        elif kind < 0.83:
            first = position()
            script.append(rng.choice([f"view {first}", f"view {first} {position()}"]))
        elif kind < 0.87:
            script.append(rng.choice(["pane tree", "pane other"]))
        elif kind < 0.9:
            script.append("size")
        elif kind < 0.95:
            script.append(rng.choice(["dump", "menu"]))
        elif kind < 0.97:
            script.append("detach\nattach")
        else:
            script += answers_for(rng, rng.choice([110, 130, 131, 1000]))  # left unused, or taken later
    script += ["dump", "menu"] if rng.random() < 0.9 else ["dump"]
    return "\n".join(script).split("\n")


QOR_DAT = "FF FF FF 04 00 00 00 41 42 43 44 00 00"
FILES = ["QORMAIL.INI", "QOR.INI", "export.csv"]


def make_case(name, log, script, qor_dat, qor_ini):
    case = scenarios.Case(name, 0)

    def section(kind, args, body):
        new = scenarios.Section(kind, args, 0)
        new.body = body
        case.sections.append(new)

    body, noeol = exact_body(log, b"\n")
    section("log", ["noeol"] if noeol else [], body)
    if qor_ini is not None:
        section("profile", ["QOR.INI"], qor_ini)
    if qor_dat:
        section("addin-file", ["QOR.DAT", "hex"], [QOR_DAT])
    section("script", [], list(script))
    for name in FILES:
        section("expect-file", [name], [])
    return case


def exact_body(data, eol):
    """Section lines that give back exactly `data`."""
    body, noeol = scenarios.file_to_section_body(data, eol)
    section = scenarios.Section("log", ["noeol"] if noeol else [], 0)
    section.body = body
    assert scenarios.section_bytes(section, "generated") == data, "the log cannot be written exactly"
    return body, noeol


def line_count(log):
    return len(log.replace(b"\r\n", b"\n").replace(b"\r", b"\n").rstrip(b"\n").split(b"\n"))


def session(seed, number):
    rng = random.Random(f"{seed}:{number}")
    log = make_log(rng)
    script = make_script(rng, line_count(log))
    qor_dat = rng.random() < 0.5
    qor_ini = None
    if rng.random() < 0.3:
        qor_ini = ["[ID]", "ID1=ABC01234,山田,", "ID2=" + rng.choice(["NEK77777", "XYZ00001,誰,", ""])]
    return log, script, qor_dat, qor_ini


# ---- Repairing scripts

# A random script mostly names an item the tree does not hold, or leaves a box without its answer,
# and ends there with a script error. Before the comparison such a script is repaired on the
# simulated desktop: the command it stopped at is dropped, or the box gets an answer, until it runs
# to its end. One session in ten keeps its first error, so that script errors stay compared too.
ERROR = re.compile(r"^mailzolka: script\.txt:(\d+): (.*)$")
BOX_ANSWERS = {"OK": ["ok"], "OKCANCEL": ["ok", "cancel"], "YESNO": ["yes", "no"],
               "YESNOCANCEL": ["yes", "yes", "no", "cancel"]}


def dialog_answer(rng, template):
    if template == "132":
        return rng.choice([f"search {rng.choice(SEARCHES)}", "search-pick 0", "search-cancel"])
    if template == "137":
        return f"idselect {rng.choice(['all', 'all', 'none', 'cancel', '0'])}"
    return rng.choice(["close ok", "close cancel"])


def repaired(script, result, rng):
    """The script with the error that ended `result` mended, or None when it cannot be."""
    match = ERROR.match(result.stderr[-1]) if result.status == 2 and result.stderr else None
    if not match:
        return None
    at, message = int(match.group(1)) - 1, match.group(2)
    if not 0 <= at < len(script):
        return None
    if "has no queued answer" in message or "has no queued action" in message:
        if message.startswith("the save-file dialog"):
            answer = rng.choice(["savefile export.csv", "savefile export.csv", "savefile cancel"])
        elif message.startswith("dialog "):
            answer = dialog_answer(rng, message.split()[1])
        else:
            boxes = [line.split("\t") for line in result.stdout if line.startswith("MessageBox\t")]
            buttons = BOX_ANSWERS.get(boxes[-1][2] if boxes and len(boxes[-1]) > 2 else "", ["ok"])
            answer = "answer " + rng.choice(buttons)
        return script[:at] + [answer] + script[at:]
    queued = re.match(r"^queued action '(.*?)'", message)
    if queued:  # the action queued last before this command with that text goes
        for line in range(at - 1, -1, -1):
            if script[line] == queued.group(1):
                return script[:line] + script[line + 1:]
    return script[:at] + script[at + 1:]  # the command itself goes (a queued action never used)


def repair(sim, seed, number, generated, rounds=12):
    """The session with its script repaired, and the simulated desktop's result of that script."""
    log, script, qor_dat, qor_ini = generated
    rng = random.Random(f"{seed}:{number}:repair")
    keep = rng.random() < 0.1
    for _ in range(rounds):
        result = scenarios.run_case(make_case("repairing", log, script, qor_dat, qor_ini), "repair", sim)
        mended = None if keep else repaired(script, result, rng)
        if mended is None or mended == script:
            return (log, script, qor_dat, qor_ini), result
        script = mended
    result = scenarios.run_case(make_case("repairing", log, script, qor_dat, qor_ini), "repair", sim)
    return (log, script, qor_dat, qor_ini), result


# ---- Running both sides

class Runner:
    def __init__(self, options):
        self.root = os.path.abspath(options.windows_root)
        self.work = tempfile.mkdtemp(prefix="differential-", dir=self.root)
        tempfile.tempdir = self.work
        module_dir = os.path.join(self.work, "module")
        os.mkdir(module_dir)
        module = os.path.join(module_dir, wine_suite.LINUX_MODULE)
        shutil.copy(options.dll, module)
        Runner.module = module
        self.drive = options.drive
        mailzolka = os.path.abspath(options.mailzolka)
        self.sim = wine_suite.side(mailzolka, os.path.join(os.path.dirname(mailzolka), wine_suite.LINUX_MODULE),
                                   "", options.timeout)
        self.win = wine_suite.side(os.path.abspath(options.korvik), module, options.wine, options.timeout)
        wine_suite._windows_mapping = (self.root, options.drive)
        scenarios.output_lines = wine_suite._output_lines

    def both(self, case):
        results = []
        for side in (self.sim, self.win):
            try:
                results.append(scenarios.run_case(case, "differential", side))
            except Exception as error:  # reported as a difference, with what it said
                results.append(error)
        return results, wine_suite.differences(case, *results)

    def batch(self, cases):
        """The Wine side's results of many session cases, from one korvik.exe process."""
        results = [None] * len(cases)
        workdirs = []
        try:
            lines = []
            for case in cases:
                workdir = tempfile.mkdtemp(prefix="session-")
                workdirs.append(workdir)
                lines.append("\t".join([self.windows_path(workdir)] + prepare(case, workdir)))
            pending = list(range(len(cases)))
            while pending:
                listing = os.path.join(self.work, f"batch-{threading.get_ident()}.txt")
                with open(listing, "w") as f:
                    f.write("".join(lines[i] + "\n" for i in pending))
                command = [self.win.host_cmd, self.win.mailzolka, "batch", self.windows_path(listing)]
                if not self.run_batch(command, [os.path.join(workdirs[i], "status") for i in pending]):
                    hung = next(i for i in pending if not os.path.exists(os.path.join(workdirs[i], "status")))
                    results[hung] = TimeoutError(f"korvik.exe did not end the session in {self.win.timeout} s")
                for i in pending:
                    if results[i] is None and os.path.exists(os.path.join(workdirs[i], "status")):
                        results[i] = collect(cases[i], workdirs[i])
                left = [i for i in pending if results[i] is None]
                if left == pending:  # the batch ran none of them
                    for i in left:
                        results[i] = RuntimeError("korvik.exe batch ran no session")
                    break
                pending = left
        finally:
            for workdir in workdirs:
                shutil.rmtree(workdir, ignore_errors=True)
        return results

    def run_batch(self, command, statuses):
        """Runs the batch; False when one session went on longer than the timeout (it is ended)."""
        with subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) as process:
            done, since = 0, time.time()
            while process.poll() is None:
                time.sleep(0.2)
                now_done = sum(os.path.exists(status) for status in statuses)
                if now_done != done:
                    done, since = now_done, time.time()
                elif time.time() - since > self.win.timeout:
                    process.kill()
                    return False
        return True

    def windows_path(self, path):
        return wine_suite.windows_forms(os.path.abspath(path), self.root, self.drive)[1]

    def close(self):
        shutil.rmtree(self.work, ignore_errors=True)


def prepare(case, workdir):
    """Writes a session case's files into workdir; the arguments of its run there."""
    args = ["session", "--profile-dir", "."]
    with open(os.path.join(workdir, "log.txt"), "wb") as f:
        f.write(scenarios.section_bytes(case.one("log"), "differential"))
    for profile in case.find("profile"):
        with open(os.path.join(workdir, profile.args[0]), "wb") as f:
            f.write(scenarios.section_bytes(profile, "differential"))
    addin_files = case.find("addin-file")
    if addin_files:
        os.mkdir(os.path.join(workdir, "addin"))
        shutil.copy(Runner.module, os.path.join(workdir, "addin", wine_suite.LINUX_MODULE))
        for extra in addin_files:
            with open(os.path.join(workdir, "addin", extra.args[0]), "wb") as f:
                f.write(bytes.fromhex("".join(extra.body)))
        args += ["--addin", "addin\\" + wine_suite.LINUX_MODULE]
    with open(os.path.join(workdir, "script.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(case.one("script").body) + "\n")
    return args + ["log.txt", "script.txt"]


def collect(case, workdir):
    def read(name):
        with open(os.path.join(workdir, name), "rb") as f:
            return f.read()
    files = {}
    for expected in case.find("expect-file"):
        target = os.path.join(workdir, expected.args[0])
        files[expected.args[0]] = read(expected.args[0]) if os.path.isfile(target) else None
    return scenarios.Result(scenarios.output_lines(read("stdout").decode("utf-8", "replace"), workdir),
                            scenarios.output_lines(read("stderr").decode("utf-8", "replace"), workdir),
                            int(read("status")), files)


def shrink(runner, log, script, qor_dat, qor_ini, budget):
    """A smaller log and script that still differ (greedy removal of chunks, then of single lines)."""
    def differs(log_lines, script_lines):
        nonlocal budget
        if budget <= 0:
            return False
        budget -= 1
        data = log if log_lines is None else b"\n".join(log_lines) + b"\n"
        case = make_case("shrinking", data, script_lines, qor_dat, qor_ini)
        return bool(runner.both(case)[1])

    log_lines = log.replace(b"\r\n", b"\n").replace(b"\r", b"\n").rstrip(b"\n").split(b"\n")
    if not differs(log_lines, script):
        log_lines = None  # the line ends matter: keep the log as it is
    for which in ("script", "log"):
        items = script if which == "script" else log_lines
        if items is None:
            continue
        chunk = max(1, len(items) // 2)
        while chunk >= 1:
            at = 0
            while at < len(items):
                trial = items[:at] + items[at + chunk:]
                if trial and (differs(log_lines, trial) if which == "script" else differs(trial, script)):
                    items = trial
                    if which == "script":
                        script = items
                    else:
                        log_lines = items
                else:
                    at += chunk
            chunk //= 2
    final_log = b"\n".join(log_lines) + b"\n" if log_lines is not None else log
    return final_log, script


def write_reproducer(runner, out, name, log, script, qor_dat, qor_ini):
    case = make_case(name, log, script, qor_dat, qor_ini)
    results, _ = runner.both(case)
    real = results[1]
    if isinstance(real, Exception):
        return
    case.sections = [s for s in case.sections if s.name != "expect-file"]
    case.notes = ["Found by tests/wine/differential.py; the expected results are the real controls'.", ""]
    scenarios.update_case(case, real)
    header, cases = ([], [])
    if os.path.exists(out):
        header, cases = scenarios.parse_case_file(out)
    scenarios.write_case_file(out, header or ["# Differences found by the differential fuzzer."], cases + [case])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--korvik", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--wine", default="wine")
    parser.add_argument("--windows-root", required=True)
    parser.add_argument("--drive", default="B:")
    parser.add_argument("--seed", default="1")
    parser.add_argument("--first", type=int, default=0, help="the first session's number")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--batch", type=int, default=25, help="sessions per korvik.exe process")
    parser.add_argument("--timeout", type=float, default=60.0)
    parser.add_argument("--out", help="scenario file the shrunk differences are added to")
    parser.add_argument("--shrink-budget", type=int, default=150, help="runs spent shrinking one difference")
    parser.add_argument("--print", action="store_true", help="print the sessions' logs and (repaired) scripts only")
    options = parser.parse_args()

    numbers = range(options.first, options.first + options.count)
    runner = Runner(options)
    if options.print:
        for number in numbers:
            (log, script, qor_dat, qor_ini), _ = repair(runner.sim, options.seed, number, session(options.seed, number))
            print(f"=== session {options.seed}:{number} (QOR.DAT {qor_dat}, QOR.INI {qor_ini})")
            print(log)
            print("\n".join(script))
        runner.close()
        return 0

    started = time.time()
    commands = differing = ended = 0
    try:
        def chunk(first):
            """Sessions first.. of one batch: repaired and run on the simulated desktop one by one,
            then all of them through one korvik.exe."""
            sessions = [(number, *repair(runner.sim, options.seed, number, session(options.seed, number)))
                        for number in numbers[first:first + options.batch]]
            cases = [make_case(f"session {options.seed}:{number}", *generated)
                     for number, generated, _ in sessions]
            real = runner.batch(cases)
            return [(number, generated, sim, wine_suite.differences(case, sim, win))
                    for (number, generated, sim), case, win in zip(sessions, cases, real)]

        firsts = range(0, len(numbers), max(1, options.batch))
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
            done = 0
            for results in pool.map(chunk, firsts):
                for number, generated, sim, problems in results:
                    done += 1
                    commands += len(generated[1])
                    ended += sim.status != 2
                    if done % 100 == 0:
                        print(f"{done} sessions ({ended} to their end), {commands} script commands, "
                              f"{differing} differing, {time.time() - started:.0f} s", flush=True)
                    if not problems:
                        continue
                    differing += 1
                    print(f"DIFFERS session {options.seed}:{number}")
                    for problem in problems:
                        print(problem)
                    if options.out:
                        log, script = shrink(runner, *generated, options.shrink_budget)
                        write_reproducer(runner, options.out, f"differential session {options.seed}:{number}",
                                         log, script, *generated[2:])
                        lines = log.count(b"\n")
                        print(f"shrunk to {lines} log lines and {len(script)} script lines: {options.out}")
                    print(flush=True)
    finally:
        runner.close()
    print(f"{len(numbers)} sessions ({ended} to their end), {commands} script commands, {differing} differing, "
          f"{time.time() - started:.0f} s")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
