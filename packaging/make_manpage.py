#!/usr/bin/env python3
"""Writes a program's man page from its --help and a hand-written template.

The template holds what --help cannot say (description, files, environment,
exit status) in roff, with these placeholders filled from the help:
  @DATE@ @VERSION@   the page's date (SOURCE_DATE_EPOCH, else today) and version
  @SUMMARY@          the program's one-line description, for NAME
  @SYNOPSIS@         the usage line
  @OPTIONS@          the program's options
  @ARGUMENTS@        its positional arguments (empty when it takes none)
  @COMMANDS@         every command with its arguments and options (CLI11 programs)

Usage: make_manpage.py --program PATH --layout {cli11,qt} --template FILE
                       --version VERSION --output PAGE[.gz]
"""
import argparse
import datetime
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compressed import write_compressed  # noqa: E402
import programhelp  # noqa: E402


def roff(text):
    """Text for a roff line: backslashes escaped, option dashes as \\- so they
    copy as ASCII, and no line starting with a control character."""
    text = text.replace("\\", "\\e")
    # Every dash of an option or a negative number ("--new-id", "-32768");
    # hyphens inside words ("plug-in") stay hyphens.
    text = re.sub(r"(?<![\w-])-[\w-]*", lambda m: m.group(0).replace("-", "\\-"), text)
    return re.sub(r"^([.'])", r"\\&\1", text, flags=re.M)


def sentence(text):
    """The help's descriptions read as sentences in a man page."""
    text = text.strip()
    if text and text[-1] not in ".!?":
        text += "."
    return text


def value_text(value):
    """CLI11 prints a value as TYPE[:CHECK], e.g. "INT:INT in [0 - 255]"."""
    kind, _, check = value.partition(":")
    words = [f"\\fI{roff(kind)}\\fR"]
    check = check[len(kind) + 1:] if check.startswith(kind + " ") else check
    if check:
        words.append(roff(check.lower()))
    return " ".join(words)


def entry_heading(entry, positional=False):
    if positional:
        heading = f"\\fI{roff(entry.names[0])}\\fR"
    else:
        heading = ", ".join(f"\\fB{roff(name)}\\fR" for name in entry.names)
        if entry.value:
            heading += " " + value_text(entry.value)
    notes = []
    if entry.repeatable:
        notes.append("one or more" if entry.required else "any number")
    elif entry.required:
        notes.append("required")
    if entry.needs:
        notes.append("with " + roff(entry.needs))
    if notes:
        heading += " (" + ", ".join(notes) + ")"
    return heading


def entries(items, positional=False, skip_help=False):
    lines = []
    for entry in items:
        if skip_help and entry.long_name == "--help":
            continue
        lines += [".TP", entry_heading(entry, positional), roff(sentence(entry.description))]
    return lines


def command_section(command):
    name = " ".join(command.path)
    usage = command.usage.split(maxsplit=1 + len(command.path))
    arguments = usage[-1] if len(usage) > 1 + len(command.path) else ""
    lines = [f'.SS "{roff(name)}"', f"\\fBzelvane\\-cli {roff(name)}\\fR {roff(arguments)}".rstrip(),
             ".PP", roff(sentence(command.description))]
    if command.subcommands:
        lines += [".PP", "Its commands: " + ", ".join(f"\\fB{roff(' '.join(s.path))}\\fR"
                                                      for s in command.subcommands) + "."]
    lines += entries(command.positionals, positional=True)
    lines += entries(command.options, skip_help=True)
    for group in command.groups:
        notes = [note.strip("[]") for note in group.notes]
        if notes:
            # "Which resource of the type" + "[Exactly 1 of ... is required]"
            text = ": ".join(notes[:1] + [n[:1].lower() + n[1:] for n in notes[1:]])
            lines += [".PP", roff(sentence(text))]
        lines += entries(group.options)
    if command.footer:
        lines += [".PP", roff(command.footer)]
    for sub in command.subcommands:
        lines += command_section(sub)
    return lines


def page_date():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    when = (datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc) if epoch
            else datetime.datetime.now(datetime.timezone.utc))
    return when.strftime("%Y-%m-%d")


def summary(description, program_name):
    # "zelvane-cli: look into ..." or "Editor for ..." become "look into ...",
    # "editor for ...": NAME lines read as a phrase after the dash.
    text = description.split(": ", 1)[1] if description.startswith(program_name + ":") else description
    if len(text) > 1 and text[0].isupper() and text[1].islower():
        text = text[0].lower() + text[1:]
    return roff(text.rstrip("."))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--layout", choices=["cli11", "qt"], required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--output", required=True)
    arguments = parser.parse_args()

    name = os.path.basename(arguments.program)
    command = (programhelp.read_cli11(arguments.program) if arguments.layout == "cli11"
               else programhelp.read_qt(arguments.program))
    usage = command.usage.split(maxsplit=1)
    fills = {
        "@DATE@": page_date(),
        "@VERSION@": arguments.version,
        "@SUMMARY@": summary(command.description, name),
        "@SYNOPSIS@": "\n".join([f"\\fB{roff(name)}\\fR " + roff(usage[1] if len(usage) > 1 else "")]),
        "@OPTIONS@": "\n".join(entries(command.options)),
        "@ARGUMENTS@": "\n".join([".SH ARGUMENTS"] + entries(command.positionals, positional=True))
                       if command.positionals else "",
        "@COMMANDS@": "\n".join(line for sub in command.subcommands for line in command_section(sub)),
    }
    with open(arguments.template, encoding="utf-8") as f:
        page = f.read()
    for placeholder, text in fills.items():
        page = page.replace(placeholder, text)
    leftover = re.search(r"@[A-Z]+@", page)
    if leftover:
        sys.exit(f"{arguments.template}: unknown placeholder {leftover.group(0)}")
    # Placeholders that filled to nothing leave empty lines, which roff prints.
    page = re.sub(r"\n{2,}", "\n", page)

    data = page.encode("utf-8")
    if arguments.output.endswith(".gz"):
        write_compressed(arguments.output, data)
    else:
        with open(arguments.output, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    try:
        main()
    except programhelp.HelpFormatError as error:
        sys.exit(f"make_manpage.py: {error}")
