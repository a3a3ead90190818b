#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer its own layer may not use.

The layer list is the block of "# layer NAME: DEPENDENCIES" lines at the top of
the top-level CMakeLists.txt. A file belongs to the layer whose folder is the
longest prefix of its path; a layer may include itself and, transitively, the
layers it names. Library headers are checked too: Qt, OpenGL, JSON, CLI11,
GoogleTest, FreeType, fontconfig, libpng and libjpeg-turbo each count as a layer
of their own (named qt-widgets, gl, json, cli11, gtest, freetype, fontconfig,
png, jpeg).

Usage: check_layers.py [ROOT]   (prints every offending line; exit 1 if any)
"""
import os
import re
import sys

LIBRARY_HEADERS = [
    (re.compile(r"^Q[A-Za-z]|^Qt[A-Z]"), "qt-widgets"),
    (re.compile(r"^(GL|EGL|KHR)/"), "gl"),
    (re.compile(r"^nlohmann/"), "json"),
    (re.compile(r"^CLI/"), "cli11"),
    (re.compile(r"^(gtest|gmock)/"), "gtest"),
    (re.compile(r"^(ft2build\.h|freetype/)"), "freetype"),
    (re.compile(r"^fontconfig/"), "fontconfig"),
    (re.compile(r"^png\.h$"), "png"),
    (re.compile(r"^turbojpeg\.h$"), "jpeg"),
]
LAYER_LINE = re.compile(r"^#\s*layer\s+([\w/.-]+):\s*(.*)$")
INCLUDE_LINE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SKIPPED_FOLDERS = {".git", "build", "corpus", "regressions"}


def read_layers(root):
    layers = {}
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        for line in f:
            m = LAYER_LINE.match(line.strip())
            if m:
                deps = m.group(2)
                deps = [] if deps.startswith("(") else deps.split()
                layers[m.group(1)] = deps
    if not layers:
        sys.exit("check_layers: no '# layer' lines in CMakeLists.txt")
    return layers


def closure(layers, name):
    seen, todo = {name}, [name]
    while todo:
        for dep in layers.get(todo.pop(), []):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def layer_of(path, folders):
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    layers = read_layers(root)
    folders = list(layers)
    allowed = {name: closure(layers, name) for name in layers}
    failures = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_FOLDERS)
        for name in sorted(files):
            if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                continue
            path = os.path.relpath(os.path.join(folder, name), root)
            own = layer_of(path, folders)
            if own is None:
                continue
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE_LINE.match(line)
                    if not m:
                        continue
                    target = None
                    if m.group(1) == '"':
                        target = layer_of(m.group(2), folders)
                    else:
                        for pattern, library in LIBRARY_HEADERS:
                            if pattern.search(m.group(2)):
                                target = library
                                break
                    if target is not None and target not in allowed[own]:
                        failures.append(f"{path}:{number}: layer '{own}' may not include "
                                        f"'{m.group(2)}' (layer '{target}'): {line.strip()}")
    for failure in failures:
        print(failure)
    if failures:
        print(f"check_layers: {len(failures)} include(s) reach outside their layer")
        return 1
    print(f"check_layers: {len(layers)} layers, every include within its layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
