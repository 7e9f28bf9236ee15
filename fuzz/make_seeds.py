#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/seed-*) from the bundled
sample log and the scenario files, plus a few hand-made inputs for the file formats.

    python3 fuzz/make_seeds.py        # rewrites every seed-* file; regression-* files stay

The seeds are kept small: a few dozen files, none much over 5 KB. Files named regression-* are
reproducers of findings; they are kept by hand and never rewritten here.
"""

import glob
import hashlib
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
MAX_LOG = 5000


def load_runner():
    """The scenario runner, for its case-file reader."""
    sys.dont_write_bytecode = True  # leave no cache beside the runner
    sys.path.insert(0, os.path.join(ROOT, "tests", "scenarios"))
    import run
    return run


def scenario_parts():
    """(log bytes, script text) of every scenario case that has them."""
    runner = load_runner()
    logs, scripts = [], []
    for path in sorted(glob.glob(os.path.join(ROOT, "tests", "scenarios", "*.cases"))):
        _, cases = runner.parse_case_file(path)
        for case in cases:
            for section in case.find("log"):
                try:
                    logs.append(runner.section_bytes(section, path))
                except runner.CaseFileError:
                    pass
            for section in case.find("script"):
                scripts.append("\n".join(section.body) + "\n")
    return logs, scripts


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def clear_seeds(target):
    for path in glob.glob(os.path.join(CORPUS, target, "seed-*")):
        os.remove(path)


def distinct(items, limit):
    seen, out = set(), []
    for item in items:
        digest = hashlib.sha1(item if isinstance(item, bytes) else item.encode()).hexdigest()
        if digest not in seen and len(item) <= MAX_LOG:
            seen.add(digest)
            out.append(item)
    return out[:limit]


# The listings target's control block: view and flags, four attribute marks, ten actions, and where
# a search text is cut. Action kinds: 0 view, 1 ALLDISP, 2 host view + activation, 3 click,
# 4 expand, 5 append (heading notice), 6 discard, 7 search, 8 search next, 9 discard notice,
# 10 heading notice, 11 toggle selected, 12 size, 13 pane, 14 activation, 15 mark, 16 detach and
# attach again, 17 registration, 18 CSV export, 19 any command, 31 nothing.
def control(view, marks, actions, search=(0, 4, 0)):
    block = bytes([view])
    for selector, attribute in (marks + [(0, 0)] * 4)[:4]:
        block += bytes([selector, attribute])
    for kind, argument in (actions + [(31, 0)] * 10)[:10]:
        block += bytes([kind, argument])
    return block + bytes(search)


ACTION_SETS = [
    [(7, 1), (8, 0), (8, 0), (6, 0), (5, 2), (4, 0), (3, 1), (2, 40), (0, 4), (9, 0)],
    [(1, 0), (4, 0x10), (5, 3), (5, 10), (10, 5), (3, 0), (11, 0), (12, 0), (6, 0), (0, 1)],
    [(13, 0), (5, 2), (13, 1), (5, 2), (2, 200), (14, 1), (7, 0x83), (8, 0), (15, 2), (4, 1)],
    [(0, 4), (17, 0), (18, 0), (16, 0), (2, 0x80 | 9), (19, 110), (19, 255), (0, 2), (17, 0), (8, 0)],
]


def listings_seeds(logs):
    with open(os.path.join(ROOT, "samples", "session.log"), "rb") as f:
        sample = f.read()
    seeds = []
    for view in range(5):
        marks = [(30, 2), (60, 3), (61, 11), (90, 2)]
        seeds.append(control(view | (0x08 if view % 2 else 0), marks, ACTION_SETS[view % 4]) + sample)
    # The sample repeated past 10000 lines, scanned without ALLDISP: the scan starts inside it.
    seeds.append(control(0x40 | 4, [(10, 2)], ACTION_SETS[0], (0, 4, 0xE1)) + sample)
    seeds.append(control(0x40 | 1, [(20, 3)], ACTION_SETS[3], (0, 4, 0xE2)) + sample)
    for number, log in enumerate(distinct(logs, 30)):
        view = number % 5 | (0x08 if number % 3 == 0 else 0)
        seeds.append(control(view, [(number, 2 + number % 4)], ACTION_SETS[number % 4]) + log)
    return seeds


def qor_dat_seeds():
    wide = "IDメール".encode("utf-16-le")
    return [
        b"\x00\x00",
        b"\x03abc\x02de",
        b"\xFF\x2C\x01" + b"L" * 300 + b"\x01x trailing",
        b"\xFF\xFF\xFF\x02\x00\x00\x00hi\x00",
        b"\xFF\xFE\xFF" + bytes([len(wide) // 2]) + wide + b"\xFF\xFE\xFF\xFF\xFF\x01\x00\x00\x00A\x00",
        b"\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + b"four GiB claimed",
        b"\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + b"wide",
        b"\x05abc",
        b"\xFF\xFE\xFF\xFE\xFF\xFE\x00\x00",
    ]


def registry_seeds():
    ids = "ABC01234\t山田太郎\nKJP55021\t佐藤花子\nMNO11111\tMNO11111\n".encode("cp932")
    full = "".join(f"ID{n}=X{n:03},名前{n},\r\n" for n in range(1, 100)).encode("cp932")
    return [
        ids + b"\x00",
        ids + b"\x00[ID]\r\nID1=ABC01234,\x8eR\x93c,\r\nID2=,,,\r\nID4=ZZZ\r\n[OTHER]\r\nID3=KJP55021,x,\r\n",
        ids + b"\x00[id]\r\nid1 = \"ABC01234,quoted\"\r\nID2=\r\n[ID]\r\nID2=KJP55021,second section,\r\n",
        ids + b"\x00[ID]\r\n" + full,
        b"A\tB\nA\tC\n,,\t,\n\x00[ID]\nID1=A\n",
    ]


def profile_seeds():
    def seed(small, section, key, value, content):
        return bytes([small]) + section + b"\0" + key + b"\0" + value + b"\0" + content
    return [
        seed(3, b"SYSTEM", b"PREVMODE", b"3", b"[SYSTEM]\r\nPREVMODE=2\r\nALLDISP=1\r\n"),
        seed(7, b"system", b"alldisp", b"  '1'  ", b"[OTHER]\r\nKEY=1\r\n[system]\r\nprevmode=4"),
        seed(0, b"ID", b"ID7", b"ABC,name,", b"\xef\xbb\xbf[ID]\nID1=x\n\n\n[ID]\nID7=second\n"),
        seed(12, b" NEW ", b" K ", b"\"v\"", b"no section here\r\n=value\r\n[unclosed\r\nkey"),
        seed(30, b"\x8c\x9f\x8d\xf5", b"\x96\xbc\x91O", b"\x8eR\x93c", b"[\x8c\x9f\x8d\xf5]\r\n\x96\xbc\x91O=\x92l\r\n"),
        seed(5, b"S", b"K", b"0x1F", b"[S]\rK=1\r[T]\r"),
    ]


def label_seeds():
    labels = ["忘年会の日程について", "Re: 写真ありがとう", ">>受信： 忘年会", "ｶﾀｶﾅ と ABC"]
    seeds = []
    for label in labels:
        data = label.encode("cp932")
        seeds.append(bytes([2, 40]) + data[1:3] + data)
        seeds.append(bytes([4, 7]) + data[:4] + data)
    seeds.append(bytes([1, 3]) + b"\x81" + b"\x81\x81\x81A")
    return seeds


def main():
    logs, scripts = scenario_parts()
    targets = {
        "listings": listings_seeds(logs),
        "qor_dat": qor_dat_seeds(),
        "registry": registry_seeds(),
        "profile": profile_seeds(),
        "label_match": label_seeds(),
        "script": [s.encode() for s in distinct(scripts, 40)],
    }
    for target, seeds in targets.items():
        clear_seeds(target)
        for number, data in enumerate(seeds):
            write(target, f"seed-{number:03}", data)
        print(f"{target}: {len(seeds)} seeds", file=sys.stderr)


if __name__ == "__main__":
    main()
