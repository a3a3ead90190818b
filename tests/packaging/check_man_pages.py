#!/usr/bin/env python3
"""Renders the man pages with man -l and checks them against the programs.

Each page must render without a single groff warning, carry the usual
sections, and show every command and long option that the program's own --help
shows now (a page written from an older build, or a help layout the build's
reader mis-read, fails here).

Usage: check_man_pages.py --cli PAGE PROGRAM [--editor PAGE PROGRAM]
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from livehelp import command_paths, help_of, long_options  # noqa: E402
from packagecheck import Failures, require_tools, run  # noqa: E402

SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "SEE ALSO"]


def render(failures, page):
    result = run(["man", "--warnings", "-l", page], env={"MANWIDTH": "100", "MANPAGER": "cat", "PAGER": "cat",
                                                          "MAN_KEEP_FORMATTING": ""})
    failures.check(result.returncode == 0 and not result.stderr.strip(),
                   f"man -l {page} ({result.returncode}):\n{result.stderr}")
    text = result.stdout
    for section in SECTIONS:
        failures.check(re.search(rf"^{section}$", text, flags=re.M), f"{page} has no {section} section")
    return text


def command_sections(text):
    """Command path -> its part of the rendered page (sub-headings are indented 3)."""
    parts = re.split(r"^   (\S.*)$", text, flags=re.M)
    return {parts[i].strip(): parts[i + 1] for i in range(1, len(parts) - 1, 2)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", nargs=2, required=True, metavar=("PAGE", "PROGRAM"))
    parser.add_argument("--editor", nargs=2, metavar=("PAGE", "PROGRAM"))
    arguments = parser.parse_args()
    require_tools("man", "groff")
    failures = Failures()

    page, program = arguments.cli
    text = render(failures, page)
    sections = command_sections(text)
    for path in command_paths(program):
        name = " ".join(path)
        part = sections.get(name, "") if path else text.split("\nCOMMANDS\n")[0]
        if failures.check(not path or name in sections, f"{page} has no section for the command '{name}'"):
            for option in sorted(long_options(help_of(program, path))):
                failures.check(option in part, f"{page} does not show {option} of '{name or 'zelvane-cli'}'")

    if arguments.editor:
        page, program = arguments.editor
        text = render(failures, page)
        options = re.findall(r"^\s+(?:-\w, )?(--[\w-]+)", help_of(program, []), flags=re.M)
        for option in options:
            failures.check(option in text, f"{page} does not show {option}")
    failures.finish()


if __name__ == "__main__":
    main()
