#!/usr/bin/env python3
"""Every function of the add-in that Windows or the host calls (window and dialog procedures,
enumeration callbacks, hooks, the pane callback, the exported entry point) stops every exception:
its body opens with `try` (after any using-declarations). An exception that left one would unwind into user32's or the host's
frames, which the add-in's DWARF unwinding cannot cross.

Usage: callback_barriers.py SOURCE_ROOT. Lists the functions it found; exits 1 naming those whose
body does not open with `try`, or when it finds none at all."""
import pathlib
import re
import sys

# A definition: a calling convention or the export mark, the name, the parameters, then the body.
DEFINITION = re.compile(r"\b(?:CALLBACK|WINAPI|QOR_CALLBACK|QOR_EXPORT)\b[^;{()]*?\b(\w+)\s*\(")
FOLDERS = ("platform/win32", "base", "addin", "scan", "search", "idexport")


def body_after(text, open_paren):
    """The text after the parameter list's closing parenthesis, or None for a declaration."""
    depth = 0
    for at in range(open_paren, len(text)):
        if text[at] == "(":
            depth += 1
        elif text[at] == ")":
            depth -= 1
            if depth == 0:
                rest = text[at + 1:].lstrip()
                return rest[1:] if rest.startswith("{") else None
    return None


def strip_comments(text):
    return re.sub(r"//[^\n]*", "", text)


def main():
    root = pathlib.Path(sys.argv[1])
    found, faults = [], []
    for folder in FOLDERS:
        for path in sorted((root / folder).glob("*.cpp")):
            text = strip_comments(path.read_text(encoding="utf-8"))
            for match in DEFINITION.finditer(text):
                body = body_after(text, match.end() - 1)
                if body is None:
                    continue
                name = f"{path.relative_to(root)}: {match.group(1)}"
                found.append(name)
                # Using-declarations may come first: they run nothing.
                if not re.match(r"(?:\s*using\s[^;]*;)*\s*try\s*\{", body):
                    faults.append(name)
    for name in found:
        print(("NO BARRIER " if name in faults else "barrier    ") + name)
    if not found:
        print("no callbacks found: the pattern no longer matches the sources")
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
