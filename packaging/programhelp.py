"""Reads what zelvane's programs say about themselves in --help.

The man pages and the shell completion are written from this, so they list the
commands and options the programs really have. Two layouts are read:

- zelvane-cli (CLI11): a description, "Usage:", then "Positionals:",
  "Options:", "[Option Group: NAME]" and "Subcommands:" sections; each command's
  own help is read in turn by running "zelvane-cli COMMAND... --help".
- zelvane (Qt's QCommandLineParser): "Usage:", a description, then "Options:"
  and "Arguments:" sections.

A help text that does not have this shape raises HelpFormatError, so a change of
layout fails the build instead of writing a page with parts missing.
"""
import os
import re
import subprocess
from dataclasses import dataclass, field


class HelpFormatError(Exception):
    pass


@dataclass
class Entry:
    """One option or positional argument."""
    names: list              # "-o", "--output"; a positional has its one name
    value: str = ""          # what the option takes ("TEXT", "INT:INT in [0 - 255]"); "" for a flag
    required: bool = False
    repeatable: bool = False
    needs: str = ""          # options it must be given with
    description: str = ""

    @property
    def long_name(self):
        return next((n for n in self.names if n.startswith("--")), self.names[0])

    def mentions_folder(self):
        return re.search(r"\b(folder|directory)\b", self.description + " " + self.long_name, re.I) is not None


@dataclass
class OptionGroup:
    title: str
    notes: list
    options: list


@dataclass
class Command:
    path: list                           # [] for the program, ["far", "extract"] for a nested command
    description: str = ""
    usage: str = ""
    positionals: list = field(default_factory=list)
    options: list = field(default_factory=list)
    groups: list = field(default_factory=list)
    subcommands: list = field(default_factory=list)   # Command, each read from its own --help
    footer: str = ""

    def all_options(self):
        return self.options + [o for g in self.groups for o in g.options]

    def walk(self):
        yield self
        for sub in self.subcommands:
            yield from sub.walk()


def run_help(program, arguments):
    """The standard output of PROGRAM ARGUMENTS --help; raises on failure."""
    environment = dict(os.environ)
    # Sanitized builds must not turn a clean exit into a leak report; the
    # editor needs a platform to start Qt, and no display is needed for help.
    environment.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    environment.setdefault("QT_QPA_PLATFORM", "offscreen")
    result = subprocess.run([program, *arguments, "--help"], capture_output=True, text=True,
                            env=environment, timeout=60)
    if result.returncode != 0:
        raise HelpFormatError(f"{program} {' '.join(arguments)} --help failed ({result.returncode}): "
                              f"{result.stderr.strip()}")
    return result.stdout


# ---------------------------------------------------------------- CLI11 layout

# CLI11 pads an entry's left part to 30 columns (counting the indent) and starts
# its description there; a longer left part puts the description on the next line.
CLI11_COLUMN = 30
SECTION = re.compile(r"^(Positionals|Options|Subcommands):$")
GROUP = re.compile(r"^\[Option Group: (.*)\]$")


def _indent(line):
    return len(line) - len(line.lstrip(" "))


def _balanced(text):
    return text.count("[") == text.count("]")


def _split_entries(lines, indent):
    """Groups an entry's first line with the deeper-indented lines that follow it.

    Returns (left, description) pairs."""
    column = CLI11_COLUMN - 2 + indent
    entries = []
    for line in lines:
        if _indent(line) > indent and entries:
            left, description = entries[-1]
            entries[-1] = (left, (description + " " if description else "") + line.strip())
            continue
        if _indent(line) != indent:
            raise HelpFormatError(f"unexpected indentation: {line!r}")
        # The description starts at the column only when the left part ends
        # before it; a long left part can have a space there by chance, which
        # the bracket check tells apart ("INT:INT in [0 - 255]").
        left, description = line.rstrip(), ""
        if len(line) > column and line[column - 1] == " " and line[column] != " " \
                and _balanced(line[:column]):
            left, description = line[:column].rstrip(), line[column:].strip()
        entries.append((left.strip(), description))
    return entries


def _parse_cli11_entry(left, description, positional):
    tokens = left.split()
    if not tokens:
        raise HelpFormatError("an empty entry")
    names = [tokens[0]] if positional else [n for n in tokens[0].split(",") if n]
    if not positional and not all(n.startswith("-") for n in names):
        raise HelpFormatError(f"not an option: {left!r}")
    entry = Entry(names=names, description=description)
    rest = tokens[1:]
    value = []
    while rest:
        token = rest.pop(0)
        if token == "REQUIRED":
            entry.required = True
        elif token == "...":
            entry.repeatable = True
        elif token in ("Needs:", "Excludes:"):
            # The options named after it, up to the next keyword.
            named = []
            while rest and rest[0].startswith("-"):
                named.append(rest.pop(0))
            if token == "Needs:":
                entry.needs = " ".join(named)
        else:
            value.append(token)
    entry.value = " ".join(value)
    return entry


def parse_cli11(text, path):
    lines = text.splitlines()
    usage_at = next((i for i, line in enumerate(lines) if line.startswith("Usage: ")), None)
    if usage_at is None:
        raise HelpFormatError(f"no 'Usage:' line in the help of {' '.join(path) or 'the program'}")
    command = Command(path=list(path))
    command.description = " ".join(line.strip() for line in lines[:usage_at] if line.strip())
    command.usage = lines[usage_at][len("Usage: "):].strip()

    section, group, body, footer = None, None, [], []

    def close():
        if section is None:
            return
        kind, indent = section
        entries = _split_entries(body, indent)
        if kind == "Positionals":
            command.positionals += [_parse_cli11_entry(l, d, True) for l, d in entries]
        elif kind == "Options":
            parsed = [_parse_cli11_entry(l, d, False) for l, d in entries]
            (group.options if group else command.options).extend(parsed)
        elif kind == "Subcommands":
            command.subcommands += [Command(path=path + [l], description=d) for l, d in entries]

    for line in lines[usage_at + 1:]:
        stripped = line.strip()
        if not stripped:
            continue
        header = SECTION.match(stripped)
        group_header = GROUP.match(stripped)
        if group_header and _indent(line) == 0:
            close()
            section, body = None, []
            group = OptionGroup(group_header.group(1), [], [])
            command.groups.append(group)
        elif header and (_indent(line) == 0 or (group and _indent(line) == 2)):
            close()
            if _indent(line) == 0:
                group = None
            section, body = (header.group(1), _indent(line) + 2), []
        elif group and section is None and _indent(line) == 2:
            group.notes.append(stripped)
        elif _indent(line) == 0:
            close()
            section, group, body = None, None, []
            footer.append(stripped)
        elif section is not None:
            body.append(line)
        else:
            raise HelpFormatError(f"a line outside any section: {line!r}")
    close()
    command.footer = " ".join(footer)
    return command


def read_cli11(program, path=None):
    """The command tree of a CLI11 program, each command from its own --help."""
    path = path or []
    command = parse_cli11(run_help(program, path), path)
    summaries = {sub.path[-1]: sub.description for sub in command.subcommands}
    command.subcommands = [read_cli11(program, path + [name]) for name in summaries]
    for sub in command.subcommands:
        sub.description = sub.description or summaries[sub.path[-1]]
    return command


# ------------------------------------------------------------------- Qt layout

QT_ENTRY = re.compile(r"^  (\S.*?)(?:\s{2,}(\S.*))?$")


def parse_qt(text, program_name):
    lines = text.splitlines()
    if not lines or not lines[0].startswith("Usage: "):
        raise HelpFormatError("the help does not start with 'Usage:'")
    usage = lines[0][len("Usage: "):].split(maxsplit=1)
    # Qt prints the program as it was started ("./zelvane", a full path).
    command = Command(path=[], usage=" ".join([program_name] + usage[1:]))
    description, section = [], None
    for line in lines[1:]:
        if not line.strip():
            continue
        if line in ("Options:", "Arguments:"):
            section = line[:-1]
            continue
        if section is None:
            description.append(line.strip())
            continue
        if _indent(line) > 2:
            target = (command.options if section == "Options" else command.positionals)
            if not target:
                raise HelpFormatError(f"a continuation line without an entry: {line!r}")
            target[-1].description += " " + line.strip()
            continue
        match = QT_ENTRY.match(line)
        if not match:
            raise HelpFormatError(f"not an entry: {line!r}")
        left, text_ = match.group(1), match.group(2) or ""
        if section == "Options":
            value = re.search(r"\s<([^>]+)>$", left)
            names = (left[:value.start()] if value else left).split(", ")
            if not all(n.startswith("-") for n in names):
                raise HelpFormatError(f"not an option: {line!r}")
            command.options.append(Entry(names=names, value=value.group(1) if value else "",
                                         description=text_))
        else:
            name = left.strip("[]")
            command.positionals.append(Entry(names=[name], repeatable=name.endswith("..."),
                                             description=text_))
    command.description = " ".join(description)
    return command


def read_qt(program):
    return parse_qt(run_help(program, []), os.path.basename(program))
