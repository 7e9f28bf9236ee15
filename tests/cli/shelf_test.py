#!/usr/bin/env python3
"""mailzolka as a tool for a shelf of logs, where a scenario file cannot look: the JSON schemas
checked on every line (that of mails read from docs/cli.md), show on every mail of the sample, a
UTF-8 copy of the sample in every view, standard input and compressed logs, CSV targets that are
no regular file, the pane's limit of 1,000 IDs, standard output that cannot be written, signals,
a log too large for memory, the progress line, and 1,000 logs in one call.

    python3 tests/cli/shelf_test.py --mailzolka build/bin/mailzolka [--sanitized]
"""

import argparse
import gzip
import lzma
import os
import re
import shutil
import pty
import resource
import select
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import json

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "..", "samples", "session.log")
OPTIONS = None  # set by main()

# The JSON Lines schema of the README: key -> (type, required).
TREE_ITEM = {"log": (str, True), "view": (int, True), "depth": (int, True), "kind": (str, True),
             "direction": (str, False), "position": (int, False), "label": (str, True),
             "label_bytes": (str, False), "image": (int, True), "selected_image": (int, True),
             "selected": (bool, True)}
ID_ENTRY = {"id": (str, True), "id_bytes": (str, False), "name": (str, True),
            "name_bytes": (str, False), "received": (int, True), "sent": (int, True),
            "logs": (list, True)}


def documented_mail_schema():
    """mails --json's table in docs/cli.md: key -> (types, required)."""
    with open(os.path.join(HERE, "..", "..", "docs", "cli.md"), encoding="utf-8") as f:
        text = f.read()
    table = text[text.index("`--json`: JSON Lines, one object per mail"):]
    types = {"string": (str,), "number": (int,), "string or null": (str, type(None)),
             "number or null": (int, type(None))}
    schema = {}
    for key, kind, what in re.findall(r"^\| `(\w+)` \| ([a-z ]+) \| (.*) \|$", table, re.M):
        if key in schema:
            break
        schema[key] = (types[kind], not what.startswith("only when") and not key.endswith("_bytes"))
    return schema


def mailzolka(*args, **kwargs):
    return subprocess.run([OPTIONS.mailzolka, *args], capture_output=True, **kwargs)


def sample_log(lines):
    """A log of `lines` lines made of the sample's lines over and over."""
    with open(SAMPLE, "rb") as f:
        sample = f.read().split(b"\n")[:-1]
    return b"".join(sample[i % len(sample)] + b"\n" for i in range(lines))


class Shelf(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="mailzolka-shelf-test-")
        self.addCleanup(subprocess.run, ["rm", "-rf", self.dir])

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def check_schema(self, line, schema):
        item = json.loads(line)
        self.assertLessEqual(set(item), set(schema), line)
        for key, (kind, required) in schema.items():
            if required:
                self.assertIn(key, item, line)
            if key in item:
                self.assertIsInstance(item[key], kind, line)
        return item

    def test_json_lines_follow_the_schema(self):
        broken = self.write("broken.log", "こんばんは\n＞SMAIL\n本文を入力して下さい。/Eで終了\n宛先：AB\\"
                            .encode("cp932") + b"\x81\x20\n" + "題名：件\n/E\n".encode("cp932"))
        for view in range(1, 6):
            done = mailzolka("list", "--json", "--all", "--view", str(view), SAMPLE, broken)
            self.assertEqual(done.returncode, 0, done.stderr)
            kinds = set()
            for line in done.stdout.decode("utf-8").splitlines():
                item = self.check_schema(line, TREE_ITEM)
                kinds.add(item["kind"])
                self.assertEqual(item["view"], view)
                self.assertIn(item["kind"], ("root", "group", "mail", "heading"))
                self.assertEqual("direction" in item, item["kind"] == "mail")
                self.assertEqual("position" in item, item["kind"] in ("mail", "heading"))
                if "label_bytes" in item:
                    self.assertIn("\ufffd", item["label"])
                    bytes.fromhex(item["label_bytes"])
            self.assertIn("mail", kinds)
        done = mailzolka("ids", "--json", SAMPLE, broken)
        self.assertEqual(done.returncode, 0, done.stderr)
        ids = [self.check_schema(line, ID_ENTRY) for line in done.stdout.decode().splitlines()]
        self.assertTrue(any("id_bytes" in entry for entry in ids))
        self.assertTrue(all(entry["received"] + entry["sent"] > 0 for entry in ids))

    def test_mails_json_follows_the_schema_in_the_documentation(self):
        schema = documented_mail_schema()
        self.assertEqual(list(schema)[:4], ["log", "line", "direction", "id"])
        broken = self.write("broken.log", "＞SMAIL\n本文を入力して下さい。/Eで終了\n宛先：AB"
                            .encode("cp932") + b"\x81\x20\n" + "題名：件\n/E\n".encode("cp932"))
        done = mailzolka("mails", "--json", SAMPLE, broken)
        self.assertEqual(done.returncode, 0, done.stderr)
        mails = [self.check_schema(line, {k: (tuple(t), r) for k, (t, r) in schema.items()})
                 for line in done.stdout.decode().splitlines()]
        self.assertEqual(len(mails), 14)
        self.assertTrue(any("id_bytes" in mail for mail in mails))
        self.assertEqual({mail["direction"] for mail in mails}, {"received", "sent"})

    def test_show_prints_the_lines_of_every_mail_of_the_sample(self):
        with open(SAMPLE, "rb") as f:
            lines = [line.rstrip(b"\r").decode("cp932") for line in f.read().split(b"\n")]
        listed = mailzolka("mails", "--tsv", SAMPLE).stdout.decode().splitlines()[1:]
        self.assertEqual(len(listed), 13)
        for row in listed:
            _, line, direction, _, _, _, _, subject, _ = row.split("\t")
            done = mailzolka("show", f"{SAMPLE}:{line}")
            self.assertEqual(done.returncode, 0, done.stderr)
            head, body = done.stdout.decode().split("\n\n", 1)
            self.assertIn(f"Subject: {subject}", head)
            shown = [(int(text[:6]), text[8:]) for text in body.splitlines()]
            first = int(line) + (0 if direction == "received" else 2)
            self.assertEqual([p for p, _ in shown], list(range(first, first + len(shown))), row)
            for position, text in shown:
                self.assertEqual(text, lines[position - 1])
            self.assertIn(subject, "".join(text for _, text in shown))
            if direction == "sent":
                self.assertEqual(shown[-1][1], "/E")
                self.assertGreater(len(shown), 3)  # recipient, subject, at least one body line
            else:
                self.assertGreaterEqual(len(shown), 3)  # header, subject, size

    def test_standard_input_and_compressed_logs_read_as_the_log(self):
        with open(SAMPLE, "rb") as f:
            data = f.read()
        expected = mailzolka("mails", "--tsv", SAMPLE).stdout.decode().replace(SAMPLE, "LOG")
        for name, packed in (("s.gz", gzip.compress(data)), ("s.xz", lzma.compress(data)),
                             ("s.log", gzip.compress(data[:4000]) + gzip.compress(data[4000:]))):
            log = self.write(name, packed)
            done = mailzolka("mails", "--tsv", log)
            self.assertEqual(done.stdout.decode().replace(log, "LOG"), expected, name)
        done = mailzolka("mails", "--tsv", "-", input=data)
        self.assertEqual(done.stdout.decode().replace("-\t", "LOG\t"), expected)
        cut = self.write("cut.gz", gzip.compress(data)[:500])
        done = mailzolka("mails", cut, SAMPLE)
        self.assertEqual(done.returncode, 1)
        self.assertIn(b"the gzip data is damaged or cut short", done.stderr)
        self.assertIn(b"session.log:9:", done.stdout)

    def test_csv_targets_that_are_no_regular_file_are_written_in_place(self):
        exported = self.path("ids.csv")
        self.assertEqual(mailzolka("ids", "--csv", exported, SAMPLE).returncode, 0)
        with open(exported, "rb") as f:
            export = f.read()
        done = mailzolka("ids", "--csv", "-", SAMPLE)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (0, export, b""))
        out = self.path("out.txt")
        shell = (f"(echo before; '{OPTIONS.mailzolka}' ids --csv /dev/stdout '{SAMPLE}'; echo after)"
                 f" > '{out}'")
        done = subprocess.run(shell, shell=True, capture_output=True)
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        with open(out, "rb") as f:
            self.assertEqual(f.read(), b"before\n" + export + b"after\n")
        self.assertFalse(os.path.exists(self.path("-")))

    def test_the_whole_log_by_default_and_mails_left_out_by_the_pane_limit_of_1000_ids(self):
        def block(prefix, count):
            header = "   1名前{0:<10d}    {1}{0:04d}  26/12/06 20:15" + " " * 18
            return "＞READ NEW\n" + "".join(header.format(i, prefix) + f"\n件名{i}\n     (10バイト)\n\n"
                                            for i in range(count)) + "＞\n"
        log = self.write("big.log", (block("AAAA", 5) + "雑談\n" * 10000 + block("BBBB", 1005))
                         .encode("cp932"))
        for window, first, left_out in (([], "AAAA0000", 10), (["--window"], "BBBB0000", 5)):
            done = mailzolka("ids", *window, log)
            self.assertEqual(done.returncode, 0)
            ids = done.stdout.decode().splitlines()
            self.assertEqual((len(ids), ids[0].split("\t")[0]), (1000, first))
            self.assertIn(f"big.log: {left_out} mails left out: the pane groups the mail of 1000 IDs"
                          " at most", done.stderr.decode())
            done = mailzolka("list", "--view", "by-id", *window, log, log)
            self.assertEqual(done.stderr.decode().count(f"{left_out} mails left out"), 2)
            done = mailzolka("mails", *window, log)
            self.assertEqual(len(done.stdout.splitlines()), 1000 + left_out)

    def test_register_escapes_the_path_it_prints(self):
        os.mkdir(self.path("addin"))
        module = shutil.copy(os.path.join(os.path.dirname(OPTIONS.mailzolka), "QORMAIL.so"),
                             self.path("addin"))
        self.write("addin/QOR.DAT", b"\0\0")
        done = mailzolka("register", "--addin", module, "--profile-dir", self.path("q\x1b[31m"),
                         SAMPLE)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("q\\x1B[31m/QOR.INI", done.stdout.decode().splitlines()[0])
        self.assertNotIn(b"\x1b", done.stdout)

    def test_a_utf8_copy_of_the_sample_lists_as_the_original_in_every_view(self):
        os.mkdir(self.path("utf8"))
        with open(SAMPLE, "rb") as f:
            copy = self.write("utf8/session.log", f.read().decode("cp932").encode("utf-8"))
        for view in range(1, 6):
            for extra in ([], ["--all"]):
                args = ["list", "--tsv", "--view", str(view), *extra]
                original, utf8 = mailzolka(*args, SAMPLE), mailzolka(*args, copy)
                self.assertEqual(original.returncode, 0)
                self.assertEqual(original.stdout, utf8.stdout, f"view {view} {extra}")
                self.assertEqual(utf8.stderr, b"")

    def test_output_that_cannot_be_written_is_an_error(self):
        with open("/dev/full", "wb") as full:
            for args in (["list", SAMPLE], ["ids", SAMPLE], ["list", "--json", SAMPLE, SAMPLE],
                         ["--help"]):
                done = subprocess.run([OPTIONS.mailzolka, *args], stdout=full,
                                      stderr=subprocess.PIPE)
                self.assertEqual(done.returncode, 1, args)
                self.assertIn(b"cannot write standard output: No space left on device",
                              done.stderr)

    def test_messages_quote_script_text_as_utf8_with_control_bytes_escaped(self):
        script = self.write("script.txt", "attach\n\x1b[31m赤\r\n".encode() + b"\xff\n")
        done = mailzolka("session", SAMPLE, script)
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr.decode(),
                         f"mailzolka: {script}:2: unknown command '\\x1B[31m赤'\n")

    def test_signals_leave_no_temporary_directory(self):
        log = self.write("big.log", sample_log(20000))
        os.mkdir(self.path("tmp"))
        env = dict(os.environ, TMPDIR=self.path("tmp"))
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGPIPE, signal.SIGHUP, signal.SIGQUIT,
                    signal.SIGXFSZ):
            process = subprocess.Popen([OPTIONS.mailzolka, "list", "--all", *[log] * 400],
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
            process.stdout.readline()  # it is at work, its profile directory made
            self.assertTrue(os.listdir(self.path("tmp")))
            if sig == signal.SIGPIPE:
                process.stdout.close()  # as `| head -1` does: the next write breaks the pipe
            else:
                process.send_signal(sig)
            self.assertEqual(process.wait(timeout=60), -sig)
            process.stdout.close()
            self.assertEqual(os.listdir(self.path("tmp")), [], sig)

    def test_a_log_larger_than_memory_allows_is_refused_clearly(self):
        if OPTIONS.sanitized:
            self.skipTest("the sanitizers need more address space than the limit leaves")
        big = self.path("huge.log")
        with open(big, "wb") as f:
            f.truncate(2 << 30)  # sparse: 2 GiB that take no room on disk
        limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))
        done = subprocess.run([OPTIONS.mailzolka, "list", big], capture_output=True,
                              preexec_fn=limit)
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr.decode(),
                         f"mailzolka: log {big} is too large to hold in memory\n")

    def test_progress_on_a_terminal_only(self):
        # The first log arrives through a FIFO only once the line is seen: the wait is the work.
        fifo = self.path("slow.log")
        os.mkfifo(fifo)
        leader, follower = pty.openpty()
        process = subprocess.Popen([OPTIONS.mailzolka, "list", fifo, SAMPLE],
                                   stdout=subprocess.DEVNULL, stderr=follower)
        os.close(follower)
        shown = b""
        while b"0/2 logs, 0 lines" not in shown:
            ready, _, _ = select.select([leader], [], [], 30)
            self.assertTrue(ready, f"no progress line within 30 s: {shown!r}")
            shown += os.read(leader, 4096)
        with open(fifo, "wb") as f:
            f.write(sample_log(1000))
        while True:
            try:
                chunk = os.read(leader, 4096)
            except OSError:  # the terminal's other end is closed
                break
            if not chunk:
                break
            shown += chunk
        os.close(leader)
        self.assertEqual(process.wait(), 0)
        self.assertTrue(shown.startswith(b"\r\x1b[Kmailzolka: 0/2 logs, 0 lines"), shown)
        self.assertTrue(shown.endswith(b"\r\x1b[K"), shown)  # erased at the end

        # Not on a pipe, however long the work takes.
        process = subprocess.Popen([OPTIONS.mailzolka, "list", fifo, SAMPLE],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        time.sleep(1.0)
        with open(fifo, "wb") as f:
            f.write(sample_log(1000))
        self.assertEqual(process.communicate()[1], b"")
        self.assertEqual(process.returncode, 0)

    def test_a_thousand_logs_of_ten_thousand_lines_in_one_call(self):
        # Names of one file (hard links): a thousand logs without 350 MB on disk.
        first = self.write("log0000.log", sample_log(10000))
        count = 100 if OPTIONS.sanitized else 1000
        logs = [first]
        for i in range(1, count):
            logs.append(self.path(f"log{i:04d}.log"))
            os.link(first, logs[-1])
        start, used = time.monotonic(), resource.getrusage(resource.RUSAGE_CHILDREN)
        done = mailzolka("list", *logs)
        elapsed = time.monotonic() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = after.ru_utime + after.ru_stime - used.ru_utime - used.ru_stime
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout.count(b"==> "), count)
        print(f"\n{count} logs of 10000 lines listed in {elapsed:.2f} s ({cpu:.2f} s CPU)",
              file=sys.stderr)
        if not OPTIONS.sanitized:
            # The processor time: the machine is shared, and other work stretches the wall clock.
            self.assertLess(cpu, 10.0)


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--sanitized", action="store_true",
                        help="a sanitizer build: no address-space limit, no time limit")
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.mailzolka = os.path.abspath(OPTIONS.mailzolka)
    unittest.main(argv=[sys.argv[0], *rest])


if __name__ == "__main__":
    main()
