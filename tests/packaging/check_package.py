#!/usr/bin/env python3
"""Builds the Debian package with CPack and checks it as dpkg and a user see it.

- control data: name, version, architecture, and Depends naming the Debian
  package of every library that the programs and plug-ins link directly;
- contents: everything under /usr, owned by root, nothing writable by others;
  the programs, plug-ins, default textures and sample game of the build, the
  desktop entry, icons, MIME type, metainfo, man pages and completion;
- Debian's documentation: the copyright file in the machine-readable format,
  every licence it names spelt out, the GPL by reference to
  /usr/share/common-licenses; changelog.Debian.gz compressed at the highest
  level without a time stamp, its newest entry the package's version, and a
  metainfo release of the same date for every upstream version it lists;
- layout: the unpacked zelvane-cli finds its plug-in and the sample game from
  where the package puts it, as an installed copy does.

Usage: check_package.py --build-dir DIR --cpack CPACK --version VERSION --work DIR [--gui]
"""
import argparse
import email.utils
import glob
import gzip
import json
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from packagecheck import Failures, output_of, require_tools, run  # noqa: E402

ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]


def files_below(folder):
    """Paths of the files below FOLDER, relative to it."""
    found = []
    for root, _, names in os.walk(folder):
        found += [os.path.relpath(os.path.join(root, n), folder) for n in names]
    return found


def is_elf(path):
    with open(path, "rb") as f:
        return f.read(4) == b"\x7fELF"


def owning_package(library_path):
    """The Debian package that installed a library; merged /usr means dpkg may
    know it under /lib or /usr/lib."""
    candidates = {library_path, os.path.realpath(library_path)}
    for path in list(candidates):
        if path.startswith("/usr/"):
            candidates.add(path[len("/usr"):])
        else:
            candidates.add("/usr" + path)
    for path in candidates:
        result = run(["dpkg", "-S", path])
        if result.returncode == 0:
            return result.stdout.split(":", 1)[0].strip()
    return None


def linked_libraries(elf):
    """soname -> resolved path of the libraries ELF names directly (DT_NEEDED)."""
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", output_of(["readelf", "-d", elf]))
    resolved = dict(re.findall(r"^\s*(\S+) => (/\S+)", output_of(["ldd", elf]), flags=re.M))
    return {soname: resolved.get(soname) for soname in needed}


def depends_names(depends):
    """Every package name Depends allows, alternatives included."""
    names = set()
    for clause in depends.split(","):
        for alternative in clause.split("|"):
            names.add(alternative.strip().split(" ")[0].split(":")[0])
    return names


COPYRIGHT_FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"


def paragraphs(text):
    """The paragraphs of a deb822 file as dicts: field -> value, continuation
    lines kept (without their leading space)."""
    found = []
    for block in re.split(r"\n\s*\n", text.strip()):
        fields, name = {}, None
        for line in block.splitlines():
            if line.startswith((" ", "\t")) and name:
                fields[name] += "\n" + line[1:]
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        found.append(fields)
    return found


def check_copyright(failures, path):
    with open(path, encoding="utf-8") as f:
        header, *rest = paragraphs(f.read())
    failures.check(header.get("Format") == COPYRIGHT_FORMAT, f"copyright: Format is {header.get('Format')}")
    failures.check(header.get("Upstream-Name") == "zelvane", "copyright: Upstream-Name is not zelvane")
    files = [p for p in rest if "Files" in p]
    spelt_out = {p["License"].split("\n", 1)[0]: p["License"] for p in rest if "Files" not in p}
    failures.check(any(p["Files"] == "*" and p.get("License", "").startswith("GPL-3+") for p in files),
                   "copyright: the project's files (Files: *) are not under GPL-3+")
    for paragraph in files:
        failures.check(paragraph.get("Copyright"), f"copyright: Files {paragraph['Files']} names no copyright")
        name, _, text = paragraph.get("License", "").partition("\n")
        failures.check(text or name in spelt_out, f"copyright: licence {name!r} is named but never spelt out")
    gpl = spelt_out.get("GPL-3+", "")
    failures.check("/usr/share/common-licenses/GPL-3" in gpl and os.path.exists("/usr/share/common-licenses/GPL-3"),
                   "copyright: GPL-3+ does not point at /usr/share/common-licenses/GPL-3")


def changelog_entries(path):
    """(version, date) of every entry of a compressed Debian changelog, newest first."""
    with gzip.open(path, "rt", encoding="utf-8") as f:
        text = f.read()
    versions = re.findall(r"^zelvane \(([^)]+)\) [\w-]+; urgency=\w+$", text, flags=re.M)
    dates = [email.utils.parsedate_to_datetime(d).date()
             for d in re.findall(r"^ -- .+ <.+>  (.+)$", text, flags=re.M)]
    return list(zip(versions, dates)) if len(versions) == len(dates) else []


def check_changelog(failures, path, version, metainfo):
    with open(path, "rb") as f:
        header = f.read(10)
    # Byte 8 of a gzip header says 2 for the slowest, tightest compression.
    failures.check(header[:2] == b"\x1f\x8b" and header[4:8] == bytes(4) and header[8] == 2,
                   "changelog.Debian.gz is not gzip -9n (highest level, no time stamp)")
    entries = changelog_entries(path)
    if not failures.check(entries, "changelog.Debian.gz: no entries, or an entry without its trailer line"):
        return
    failures.check(entries[0][0] == f"{version}-1",
                   f"the changelog's newest entry is {entries[0][0]}, the package's version {version}-1")
    # An upstream version is released on the date of its first packaging.
    released = {}
    for entry_version, date in entries:
        released[entry_version.rsplit("-", 1)[0]] = date
    if not metainfo:
        return
    with open(metainfo, encoding="utf-8") as f:
        releases = re.findall(r'<release version="([^"]+)" date="([^"]+)"', f.read())
    failures.check(releases and releases[0][0] == version,
                   f"the metainfo's newest release is {releases and releases[0][0]}, the package's version {version}")
    failures.check({v: d for v, d in releases} == {v: d.isoformat() for v, d in released.items()},
                   f"the metainfo's releases {releases} are not the changelog's versions {released}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--gui", action="store_true")
    arguments = parser.parse_args()
    require_tools("dpkg-deb", "dpkg-shlibdeps", "readelf", "ldd")
    failures = Failures()
    build = arguments.build_dir

    shutil.rmtree(arguments.work, ignore_errors=True)
    output_of([arguments.cpack, "-G", "DEB", "-B", arguments.work], cwd=build)
    architecture = output_of(["dpkg", "--print-architecture"]).strip()
    expected_name = f"zelvane_{arguments.version}-1_{architecture}.deb"
    packages = glob.glob(os.path.join(arguments.work, "*.deb"))
    if not failures.check([os.path.basename(p) for p in packages] == [expected_name],
                          f"expected one package {expected_name}, found {packages}"):
        return failures.finish()
    package = packages[0]

    # Control data.
    fields = {name: output_of(["dpkg-deb", "-f", package, name]).strip()
              for name in ["Package", "Version", "Architecture", "Depends"]}
    failures.check((fields["Package"], fields["Version"], fields["Architecture"]) ==
                   ("zelvane", f"{arguments.version}-1", architecture), f"control data {fields}")
    dependencies = depends_names(fields["Depends"])
    gui = arguments.gui
    if gui:
        failures.check("qt6-qpa-plugins" in dependencies,
                       "Depends lacks qt6-qpa-plugins: Qt cannot open a window without its platform plug-ins")

    # Contents, unpacked as dpkg would.
    root = os.path.join(arguments.work, "root")
    output_of(["dpkg-deb", "-x", package, root])
    listing = output_of(["dpkg-deb", "-c", package]).splitlines()
    for line in listing:
        mode, owner, _, _, _, path = line.split(None, 5)
        path = path.split(" -> ")[0]
        failures.check(path == "./" or path.startswith("./usr/"), f"{path} is not below /usr")
        failures.check(owner == "root/root", f"{path} is owned by {owner}")
        failures.check(mode[5] != "w" and mode[8] != "w", f"{path} is writable by others ({mode})")
    files = set(files_below(root))

    required = ["usr/bin/zelvane-cli",
                "usr/share/man/man1/zelvane-cli.1.gz",
                "usr/share/bash-completion/completions/zelvane-cli",
                "usr/share/doc/zelvane/README.md", "usr/share/doc/zelvane/copyright",
                "usr/share/doc/zelvane/changelog.Debian.gz", "usr/share/lintian/overrides/zelvane"]
    if gui:
        required += ["usr/bin/zelvane", "usr/share/man/man1/zelvane.1.gz",
                     "usr/share/applications/zelvane.desktop",
                     "usr/share/metainfo/org.example.zelvane.metainfo.xml",
                     "usr/share/mime/packages/zelvane.xml",
                     "usr/share/icons/hicolor/scalable/apps/zelvane.svg"]
        required += [f"usr/share/icons/hicolor/{s}x{s}/apps/zelvane.png" for s in ICON_SIZES]
    # What the build puts beside the programs goes where an installed program
    # looks for it.
    shipped = {"bin/Plugins": "usr/lib/zelvane/Plugins", "bin/Maps": "usr/share/zelvane/Maps",
               **({"bin/Help": "usr/share/zelvane/Help"} if gui else {}),
               "sample-game": "usr/share/zelvane/sample-game"}
    for source, destination in shipped.items():
        required += [os.path.join(destination, f) for f in files_below(os.path.join(build, source))]
    failures.check(any(f.startswith("usr/lib/zelvane/Plugins/") for f in files), "no plug-in in the package")
    failures.check("usr/share/zelvane/sample-game/Meshes/Crate.glb" in files,
                   "the package holds the sample game's meshes")
    failures.check(any(f.startswith("usr/share/zelvane/sample-game/") for f in files),
                   "no sample game in the package")
    for path in required:
        failures.check(path in files, f"{path} is missing from the package")
    for program in ["usr/bin/zelvane", "usr/bin/zelvane-cli"]:
        if program in files:
            failures.check(os.access(os.path.join(root, program), os.X_OK), f"{program} is not executable")

    # Depends covers every library linked directly.
    for path in sorted(files):
        full = os.path.join(root, path)
        if os.path.islink(full) or not is_elf(full):
            continue
        for soname, library in linked_libraries(full).items():
            owner = owning_package(library) if library else None
            if failures.check(owner is not None, f"{path}: cannot find the package of {soname} ({library})"):
                failures.check(owner in dependencies,
                               f"{path} links {soname} from {owner}, which Depends does not name")

    # Debian's documentation; the software centre's releases are the changelog's.
    doc = os.path.join(root, "usr/share/doc/zelvane")
    if os.path.exists(os.path.join(doc, "copyright")):
        check_copyright(failures, os.path.join(doc, "copyright"))
    metainfo = os.path.join(root, "usr/share/metainfo/org.example.zelvane.metainfo.xml")
    if os.path.exists(os.path.join(doc, "changelog.Debian.gz")):
        check_changelog(failures, os.path.join(doc, "changelog.Debian.gz"), arguments.version,
                        metainfo if os.path.exists(metainfo) else None)

    # The unpacked program finds its plug-in and the sample game from where the
    # package puts it, with no game folder configured anywhere.
    home = os.path.join(arguments.work, "home")
    os.makedirs(home, exist_ok=True)
    environment = {"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
                   "XDG_DATA_HOME": os.path.join(home, ".local/share"), "WINEPREFIX": os.path.join(home, "wine"),
                   "SIMS_DATA": ""}
    cli = os.path.join(root, "usr/bin/zelvane-cli")
    plugins = json.loads(output_of([cli, "plugins", "--json"], cwd=home, env=environment))["plugins"]
    failures.check(sorted(p["path"] for p in plugins) == [os.path.join(root, "usr/lib/zelvane/Plugins/" + name)
                                                          for name in ("meshport.so", "modelport.so")],
                   f"the unpacked zelvane-cli loads {[p['path'] for p in plugins]}")
    catalog = json.loads(output_of([cli, "catalog", "--json"], cwd=home, env=environment))
    failures.check(os.path.realpath(catalog["game_folder"]) == os.path.join(
        os.path.realpath(root), "usr/share/zelvane/sample-game") and catalog["objects"],
        f"the unpacked zelvane-cli reads the game folder {catalog['game_folder']} "
        f"({len(catalog['objects'])} objects)")
    failures.finish()


if __name__ == "__main__":
    main()
