#!/usr/bin/env python3
"""Writes a file compressed as Debian wants its documentation: gzip at the
highest level, with no name and no time stamp in the header, so the same text
gives the same bytes.

Usage: compressed.py INPUT OUTPUT.gz
"""
import gzip
import sys


def write_compressed(path, data):
    with open(path, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, compresslevel=9,
                                                mtime=0) as f:
        f.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("\n\n")[-1].strip())
    with open(sys.argv[1], "rb") as f:
        write_compressed(sys.argv[2], f.read())


if __name__ == "__main__":
    main()
