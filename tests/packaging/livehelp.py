"""The commands and long options zelvane-cli's --help shows, read with plain
patterns rather than the build's reader, so the checks do not share its faults."""
import re

from packagecheck import output_of


def help_of(program, path):
    return output_of([program, *path, "--help"])


def subcommands(text):
    section = re.search(r"^Subcommands:\n((?:  .*\n?)*)", text, flags=re.M)
    return re.findall(r"^  (\S+)", section.group(1), flags=re.M) if section else []


def long_options(text):
    """Every long option an entry of the help starts with (--help aside)."""
    found = re.findall(r"^\s+(?:-\w,)?(--[\w-]+)", text, flags=re.M)
    return {option for option in found if option != "--help"}


def command_paths(program, path=None):
    """[] for the program, then every command path ("far", "far list", ...)."""
    path = path or []
    paths = [path]
    for name in subcommands(help_of(program, path)):
        paths += command_paths(program, path + [name])
    return paths
