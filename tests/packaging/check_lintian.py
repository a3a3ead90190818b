#!/usr/bin/env python3
"""Runs lintian on the Debian package that package_contents built.

Fails on any error or warning; on an override the package ships
(usr/share/lintian/overrides/zelvane) without a comment right above it giving
its reason; and on an override that no longer matches anything, so none
outlives its reason. Everything lintian says, informational tags and
overridden ones included, is printed for the test's log.

Usage: check_lintian.py --package-dir DIR
"""
import argparse
import glob
import os
import subprocess
import sys
import tarfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from packagecheck import Failures, require_tools, run  # noqa: E402


OVERRIDES = "./usr/share/lintian/overrides/zelvane"


def check_override_reasons(failures, package):
    """Every override line has a comment line right above it."""
    lines = []
    # The whole archive is read, so dpkg-deb never writes into a closed pipe.
    with subprocess.Popen(["dpkg-deb", "--fsys-tarfile", package], stdout=subprocess.PIPE) as dpkg:
        with tarfile.open(fileobj=dpkg.stdout, mode="r|") as archive:
            for member in archive:
                if member.name == OVERRIDES:
                    lines = archive.extractfile(member).read().decode("utf-8").splitlines()
    for number, line in enumerate(lines):
        if line.strip() and not line.startswith("#"):
            failures.check(number > 0 and lines[number - 1].startswith("#"),
                           f"the override {line!r} (line {number + 1}) gives no reason in a comment above it")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--package-dir", required=True)
    arguments = parser.parse_args()
    require_tools("lintian")
    failures = Failures()
    packages = glob.glob(os.path.join(arguments.package_dir, "*.deb"))
    if not failures.check(len(packages) == 1, f"expected the one package package_contents builds, found {packages}"):
        return failures.finish()

    check_override_reasons(failures, packages[0])
    # The verdict comes from the tags: with --show-overrides lintian's exit
    # status counts the overridden ones too.
    result = run(["lintian", "--display-info", "--show-overrides", "--no-cfg", "--output-width", "200",
                  packages[0]])
    print(result.stdout + result.stderr)
    failures.check(result.returncode in (0, 2), f"lintian itself failed ({result.returncode})")
    for line in result.stdout.splitlines():
        failures.check(not line.startswith(("E:", "W:")), f"lintian: {line}")
        failures.check("unused-override" not in line and "mismatched-override" not in line,
                       f"an override outlived its reason: {line}")
    failures.finish()


if __name__ == "__main__":
    main()
