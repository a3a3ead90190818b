#!/usr/bin/env python3
"""Checks the desktop entry, metainfo, scene file type and icons as a desktop uses them.

- desktop-file-validate and appstreamcli accept the entry and the metainfo;
- with the MIME type and the entry installed into a private data folder, GIO
  (the file managers' library) knows a scene file by its name and by its first
  bytes, and opens it with zelvane's entry;
- the entry's icon exists at every hicolor size, and each PNG is what its SVG
  drawing renders to (so a changed drawing cannot ship with stale PNGs);
- the program's resource list holds every icon file.

Usage: check_desktop_files.py --data DIR --programs DIR --work DIR [--rcc RCC]
"""
import argparse
import configparser
import os
import re
import shutil
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from packagecheck import Failures, output_of, require_tools, run  # noqa: E402

SCENE_TYPE = "application/x-zelvane-scene"
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]


def read_png(path):
    """(width, height, RGBA bytes per row) of an 8-bit RGBA, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    position, header, compressed = 8, None, b""
    while position + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        position += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError(f"{path}: expected 8-bit RGBA without interlace")
    raw, stride, rows, previous = zlib.decompress(compressed), width * 4, [], bytearray(width * 4)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            left = row[x - 4] if x >= 4 else 0
            up, corner = previous[x], (previous[x - 4] if x >= 4 else 0)
            if kind == 1:
                row[x] = (row[x] + left) & 255
            elif kind == 2:
                row[x] = (row[x] + up) & 255
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(row)
        previous = row
    return width, height, rows


def mean_difference(a, b):
    total = sum(abs(x - y) for row_a, row_b in zip(a, b) for x, y in zip(row_a, row_b))
    return total / max(1, sum(len(row) for row in a))


def check_validators(failures, data):
    for command in (["desktop-file-validate", os.path.join(data, "zelvane.desktop")],
                    ["appstreamcli", "validate", "--no-net", "--pedantic",
                     os.path.join(data, "org.example.zelvane.metainfo.xml")]):
        result = run(command)
        failures.check(result.returncode == 0, f"{' '.join(command)}:\n{result.stdout}{result.stderr}")


def check_scene_files(failures, data, programs, work, entry):
    share = os.path.join(work, "share")
    os.makedirs(os.path.join(share, "mime", "packages"))
    os.makedirs(os.path.join(share, "applications"))
    shutil.copy(os.path.join(data, "zelvane-mime.xml"), os.path.join(share, "mime", "packages", "zelvane.xml"))
    shutil.copy(os.path.join(data, "zelvane.desktop"), os.path.join(share, "applications"))
    output_of(["update-mime-database", os.path.join(share, "mime")])
    output_of(["update-desktop-database", os.path.join(share, "applications")])
    # GIO lists an entry only when its program is on PATH.
    environment = {"XDG_DATA_DIRS": f"{share}:/usr/share", "XDG_DATA_HOME": os.path.join(work, "home"),
                   "PATH": f"{programs}:{os.environ.get('PATH', '')}"}

    samples = {"named.cgs": b"not a scene at all", "unnamed": b"CGS1\x01\x00\x00\x00" + bytes(8),
               "notes": b"CGS is what this text is about\n"}
    for name, content in samples.items():
        with open(os.path.join(work, name), "wb") as f:
            f.write(content)
    for name, expected in [("named.cgs", True), ("unnamed", True), ("notes", False)]:
        info = output_of(["gio", "info", "-a", "standard::content-type", os.path.join(work, name)], env=environment)
        found = re.search(r"standard::content-type: (\S+)", info)
        found = found.group(1) if found else None
        failures.check((found == SCENE_TYPE) == expected,
                       f"GIO takes {name} for {found}; expected {'' if expected else 'anything but '}{SCENE_TYPE}")

    failures.check(SCENE_TYPE in entry.get("MimeType", "").split(";"),
                   f"the desktop entry does not list {SCENE_TYPE}")
    failures.check(re.fullmatch(r"zelvane %[fFuU]", entry.get("Exec", "")) is not None,
                   f"Exec={entry.get('Exec')} does not start zelvane with the file")
    handlers = output_of(["gio", "mime", SCENE_TYPE], env=environment)
    failures.check(re.search(r"Default application.*: zelvane\.desktop", handlers) is not None,
                   f"GIO would not open scene files with zelvane:\n{handlers}")


def check_icons(failures, data, work, entry, rcc):
    icons = os.path.join(data, "icons")
    name = entry.get("Icon", "")
    drawing = os.path.join(icons, "hicolor", "scalable", "apps", f"{name}.svg")
    failures.check(os.path.exists(drawing), f"no scalable icon {drawing} for Icon={name}")
    renderer = shutil.which("rsvg-convert")
    if not renderer:
        print("note: rsvg-convert missing, the PNGs are not compared with their drawings")
    for size in ICON_SIZES:
        png = os.path.join(icons, "hicolor", f"{size}x{size}", "apps", f"{name}.png")
        if not failures.check(os.path.exists(png), f"no {size}-pixel icon {png}"):
            continue
        width, height, pixels = read_png(png)
        failures.check((width, height) == (size, size), f"{png} is {width}x{height}")
        if renderer:
            # The same choice of drawing as scripts/render-icons.sh.
            source = os.path.join(icons, "zelvane-small.svg") if size <= 16 else drawing
            fresh = os.path.join(work, f"fresh-{size}.png")
            output_of([renderer, "--width", str(size), "--height", str(size), source, "--output", fresh])
            difference = mean_difference(pixels, read_png(fresh)[2])
            failures.check(difference < 1.0, f"{png} differs from its drawing (mean difference {difference:.1f}); "
                                             "run scripts/render-icons.sh")
    if rcc:
        listed = {os.path.relpath(os.path.realpath(p), os.path.realpath(icons))
                  for p in output_of([rcc, "--list", os.path.join(icons, "zelvane.qrc")]).split()}
        for root, _, names in os.walk(os.path.join(icons, "hicolor")):
            for file in names:
                path = os.path.relpath(os.path.join(root, file), icons)
                failures.check(path in listed, f"zelvane.qrc lacks {path}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", required=True)
    parser.add_argument("--programs", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--rcc")
    arguments = parser.parse_args()
    require_tools("desktop-file-validate", "update-desktop-database", "appstreamcli", "update-mime-database",
                  "gio")
    shutil.rmtree(arguments.work, ignore_errors=True)
    os.makedirs(arguments.work)
    entry_file = configparser.ConfigParser(interpolation=None)
    entry_file.optionxform = str
    entry_file.read(os.path.join(arguments.data, "zelvane.desktop"), encoding="utf-8")
    entry = entry_file["Desktop Entry"]

    failures = Failures()
    check_validators(failures, arguments.data)
    check_scene_files(failures, arguments.data, arguments.programs, arguments.work, entry)
    check_icons(failures, arguments.data, arguments.work, entry, arguments.rcc)
    failures.finish()


if __name__ == "__main__":
    main()
