#!/usr/bin/env python3
"""Zips the content of a folder (its entries at the archive's top) into one archive.

Usage: make-zip-archive.py OUTPUT.zip FOLDER

Entries are written in sorted order with their sizes in the local headers. A file whose first
bytes do not compress (archives, images, installers) is stored, everything else deflated, so that
a large payload of already compressed files is packed quickly.
"""
import os
import sys
import zipfile
import zlib

SAMPLE_BYTES = 256 * 1024


def compresses(path):
    with open(path, "rb") as f:
        sample = f.read(SAMPLE_BYTES)
    if not sample:
        return False
    return len(zlib.compress(sample, 1)) < len(sample) * 0.97


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    output, folder = sys.argv[1], sys.argv[2]
    temporary = output + ".part"
    with zipfile.ZipFile(temporary, "w", allowZip64=True) as archive:
        if os.path.isdir(folder):
            for root, dirs, files in os.walk(folder):
                dirs.sort()
                relative_root = os.path.relpath(root, folder)
                if relative_root != ".":
                    archive.write(root, relative_root.replace(os.sep, "/") + "/")
                for name in sorted(files):
                    path = os.path.join(root, name)
                    arcname = os.path.relpath(path, folder).replace(os.sep, "/")
                    method = zipfile.ZIP_DEFLATED if compresses(path) else zipfile.ZIP_STORED
                    archive.write(path, arcname, compress_type=method)
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
