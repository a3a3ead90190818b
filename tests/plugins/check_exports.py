#!/usr/bin/env python3
"""Fails unless the plug-in library exports exactly the seven plug-in
functions and zelplug_ImportMaterials, and needs no library of the editor (only the C and C++ runtimes and,
in sanitizer builds, the sanitizers' runtimes).

Usage: check_exports.py LIBRARY [OPTIONAL_EXPORT...]   (the optional exports it must also have)
"""
import re
import subprocess
import sys

EXPORTS = {"zelplug_Import", "zelplug_GetMenuName", "zelplug_GetName", "zelplug_GetDescription",
           "zelplug_GetAuthor", "zelplug_GetFilterExt", "zelplug_GetFilterName", "zelplug_ImportMaterials"}
RUNTIMES = re.compile(r"^(libc|libm|libstdc\+\+|libgcc_s|libasan|libubsan|ld-linux-x86-64)\.so")


def main():
    library = sys.argv[1]
    wanted = EXPORTS | set(sys.argv[2:])
    symbols = subprocess.run(["nm", "-D", "--defined-only", library], check=True, capture_output=True,
                             text=True).stdout.split("\n")
    defined = {line.split()[-1] for line in symbols if line.strip()}
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]",
                        subprocess.run(["readelf", "-d", library], check=True, capture_output=True,
                                       text=True).stdout)
    failures = []
    if defined != wanted:
        failures.append(f"exports {sorted(defined)}, want {sorted(wanted)}")
    failures += [f"needs {name}" for name in needed if not RUNTIMES.match(name)]
    for failure in failures:
        print(f"{library}: {failure}")
    if failures:
        return 1
    print(f"{library}: exactly the plug-in functions; needs {', '.join(needed)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
