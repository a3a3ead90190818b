#!/usr/bin/env python3
"""Sources zelvane-cli's bash completion in bash and completes as a user would.

- an empty word after the program, or after "far", lists exactly the commands
  the program's --help lists there;
- "--" after any command lists exactly that command's long options;
- a folder option's value and a folder argument complete folder names only;
- after an option that takes a value, or after the first argument, no
  options or commands are offered (bash completes file names).

Usage: check_completion.py --completion FILE --program ZELVANE_CLI --work DIR
"""
import argparse
import os
import shlex
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from livehelp import command_paths, help_of, long_options, subcommands  # noqa: E402
from packagecheck import Failures, output_of, require_tools  # noqa: E402


def complete_all(completion, work, lines):
    """The completions bash offers for each command line (the last word is
    the one being completed), computed in one bash."""
    script = [f"source {shlex.quote(completion)}", f"cd {shlex.quote(work)}",
              'offer() { COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=(); '
              '_zelvane_cli; echo "${COMPREPLY[*]}"; }']
    script += ["offer zelvane-cli " + " ".join(shlex.quote(w) for w in line) for line in lines]
    replies = output_of(["bash", "--norc", "--noprofile", "-c", "\n".join(script)]).split("\n")
    return {tuple(line): set(reply.split()) for line, reply in zip(lines, replies)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--completion", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--work", required=True)
    arguments = parser.parse_args()
    require_tools("bash")
    shutil.rmtree(arguments.work, ignore_errors=True)
    os.makedirs(os.path.join(arguments.work, "objects"))
    open(os.path.join(arguments.work, "object.iff"), "w").close()

    program = arguments.program
    paths = command_paths(program)
    expected = {}
    for path in paths:
        text = help_of(program, path)
        expected[tuple(path + [""])] = set(subcommands(text))
        expected[tuple(path + ["--"])] = long_options(text) | {"--help"}
    folders = {"objects"}
    expected.update({
        ("far", "extract", "-o", ""): folders,
        ("far", "extract", "--output", "ob"): folders,
        ("tree", ""): folders,
        ("catalog", "--game-folder", ""): folders,
        ("dump", "--type", ""): set(),
        ("dump", "-t", "OBJD", "--id", "1", ""): set(),
        ("far", "list", "archive.far", ""): set(),
        ("list", "ob"): set(),
    })

    failures = Failures()
    failures.check(len(expected[("",)]) > 10, f"zelvane-cli --help lists only {expected[('',)]}")
    offered = complete_all(arguments.completion, arguments.work, [list(k) for k in expected])
    for line, words in expected.items():
        failures.check(offered[line] == words, f"completing 'zelvane-cli {' '.join(line)}' offers "
                                               f"{sorted(offered[line])}, expected {sorted(words)}")
    failures.finish()


if __name__ == "__main__":
    main()
