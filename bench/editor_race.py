#!/usr/bin/env python3
"""The editor race: an editor saves QOR.INI by rename in a loop (each save adds one entry of its
own in the first free key, up to 40 a round, one every 2 ms or so) while `mailzolka register` registers 30 new IDs into the same file.
Counts the editor's saves, its entries lost (written over by the registration), and the
registration's entries lost (the editor saved a copy it read before they were written: the
editor's own race, which no registration can prevent).

    python3 bench/editor_race.py --mailzolka build/bin/mailzolka --addin build/bin/QORMAIL.so \
        [--rounds 100]
"""

import argparse
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time


def sent_mail(ident):
    return ("＞SMAIL\n本文を入力して下さい。/Eで終了\n宛先：" + ident + "\n題名：会議\n/E\n").encode("cp932")


def free_key(content):
    used = {int(m.group(1)) for m in re.finditer(rb"^ID(\d+)=.", content, re.M)}
    return next((k for k in range(1, 100) if k not in used), None)


def editor(path, marker, stop, saved):
    """Saves the file by rename until told to stop: read, add an entry, write beside, rename."""
    number = 0
    while not stop.is_set() and number < 40:  # with the 30 IDs registered, the registry never fills
        time.sleep(0.002)
        with open(path, "rb") as file:
            content = file.read()
        key = free_key(content)
        if key is None:
            break
        value = f"{marker}{number:04d}".encode()
        temporary = path + ".edit"
        with open(temporary, "wb") as file:
            file.write(content + b"ID%d=%s,editor,\r\n" % (key, value))
        os.replace(temporary, path)
        saved.append(value)
        number += 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--mailzolka", required=True)
    parser.add_argument("--addin", required=True, help="QORMAIL.so (copied beside a QOR.DAT)")
    parser.add_argument("--rounds", type=int, default=100)
    options = parser.parse_args()
    totals = {"saves": 0, "editor lost": 0, "registered": 0, "registration lost": 0}
    with tempfile.TemporaryDirectory() as work:
        module = os.path.join(work, "QORMAIL.so")
        shutil.copy(options.addin, module)
        with open(os.path.join(work, "QOR.DAT"), "wb") as file:
            file.write(b"\0\0")
        for round_number in range(options.rounds):
            profile = os.path.join(work, "profile")
            shutil.rmtree(profile, ignore_errors=True)
            os.makedirs(profile)
            path = os.path.join(profile, "QOR.INI")
            with open(path, "wb") as file:
                file.write(b"[ID]\r\n")
            log = os.path.join(work, "log.txt")
            ids = [f"R{round_number:03d}X{i:02d}" for i in range(30)]
            with open(log, "wb") as file:
                file.write(b"".join(sent_mail(ident) for ident in ids))
            stop, saved = threading.Event(), []
            thread = threading.Thread(target=editor, args=(path, "E", stop, saved))
            thread.start()
            subprocess.run([options.mailzolka, "register", "--all", "--addin", module, "--profile-dir", profile, log],
                           capture_output=True, check=False)
            stop.set()
            thread.join()
            with open(path, "rb") as file:
                final = file.read()
            totals["saves"] += len(saved)
            totals["editor lost"] += sum(1 for value in saved if b"=" + value + b"," not in final)
            totals["registered"] += len(ids)
            totals["registration lost"] += sum(1 for ident in ids if b"=" + ident.encode() + b"," not in final)
    for name, count in totals.items():
        print(f"{name}: {count}")


if __name__ == "__main__":
    main()
