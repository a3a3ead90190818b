#!/usr/bin/env python3
"""Writes bash completion for zelvane-cli from its own --help.

Commands and options come from "zelvane-cli --help" and each command's help, so
the completion knows every command the program has. Options that take a
folder, and commands whose arguments are folders, complete folder names;
other values and arguments fall back to file names.

Usage: make_completion.py --program PATH --output FILE
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import programhelp  # noqa: E402

HEAD = """\
# bash completion for zelvane-cli. Written by zelvane's build from the
# program's --help; edit packaging/make_completion.py, not this file.

# Sets, for the command path $1 ("" for the program, "far extract"):
# commands, options, the options that take a value, the options whose value is
# a folder, and whether the arguments are folders.
_zelvane_cli_table()
{
    commands='' options='' valued='' folder_options='' folder_arguments=''
    case $1 in
"""

TAIL = """\
    esac
}

_zelvane_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local commands options valued folder_options folder_arguments
    local path='' word i skip=''

    # Walk the words before the cursor: command names extend the path until
    # the first argument; an option's value is not an argument.
    _zelvane_cli_table ''
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -n $skip ]]; then
            skip=''
        elif [[ $word == -* ]]; then
            [[ $word != *=* && " $valued " == *" $word "* ]] && skip=1
        elif [[ " $commands " == *" $word "* ]]; then
            path=${path:+$path }$word
            _zelvane_cli_table "$path"
        else
            commands=''
        fi
    done

    if [[ -n $skip ]]; then
        if [[ " $folder_options " == *" $prev "* ]]; then
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur"))
        fi
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -n $commands ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    elif [[ -n $folder_arguments ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
    fi
    # Nothing found: bash completes file names (-o default).
}

complete -o bashdefault -o default -F _zelvane_cli zelvane-cli
"""


def words(items):
    return " ".join(items)


def table_entry(command):
    options = [name for o in command.all_options() for name in o.names]
    valued = [name for o in command.all_options() if o.value for name in o.names]
    folders = [name for o in command.all_options() if o.value and o.mentions_folder() for name in o.names]
    folder_arguments = bool(command.positionals) and all(p.mentions_folder() for p in command.positionals)
    for name in options + [sub.path[-1] for sub in command.subcommands]:
        # The table is a shell case: names with quotes or spaces would break it.
        if not name or any(c in name for c in " '\"\\$`"):
            raise programhelp.HelpFormatError(f"a name bash cannot take as it is: {name!r}")
    return (f"        '{' '.join(command.path)}')\n"
            f"            commands='{words(sub.path[-1] for sub in command.subcommands)}'\n"
            f"            options='{words(options)}'\n"
            f"            valued='{words(valued)}'\n"
            f"            folder_options='{words(folders)}'\n"
            f"            folder_arguments='{'1' if folder_arguments else ''}'\n"
            f"            ;;\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--output", required=True)
    arguments = parser.parse_args()
    program = programhelp.read_cli11(arguments.program)
    with open(arguments.output, "w", encoding="utf-8") as f:
        f.write(HEAD + "".join(table_entry(c) for c in program.walk()) + TAIL)


if __name__ == "__main__":
    try:
        main()
    except programhelp.HelpFormatError as error:
        sys.exit(f"make_completion.py: {error}")
