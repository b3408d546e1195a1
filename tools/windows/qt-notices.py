#!/usr/bin/env python3
"""Writes the notices of the third-party code that Qt bundles into a static
dilmora.exe, from the attribution files in Qt's source tree.

    qt-notices.py <qt6-base source folder> <output file>
"""
import json
import pathlib
import sys

# The bundled libraries that end up in Qt Core, Gui and Widgets as built by
# build-qt.sh for Windows (freetype, harfbuzz, libpng, zlib, pcre2 and
# double-conversion, and the small pieces Qt Core carries).
LIBRARIES = ["freetype", "harfbuzz-ng", "libpng", "zlib", "pcre2", "double-conversion",
             "md4c", "easing", "blake2", "sha3", "sha1", "md4", "md5", "rfc6234", "tinycbor"]


def entries(folder):
    # Some attribution files carry raw tabs inside strings.
    data = json.loads((folder / "qt_attribution.json").read_text(encoding="utf-8"), strict=False)
    return data if isinstance(data, list) else [data]


def licence_texts(folder, entry):
    names = entry.get("LicenseFile") or entry.get("LicenseFiles") or []
    if isinstance(names, str):
        names = [names]
    return [(folder / name).read_text(encoding="utf-8", errors="replace") for name in names]


def main():
    source, output = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    parts = ["Third-party code in Qt 6 as linked into Dilmora\n"
             "================================================\n"]
    for library in LIBRARIES:
        folder = source / "src" / "3rdparty" / library
        for entry in entries(folder):
            parts.append(f"\n\n{entry['Name']} {entry.get('Version', '')}".rstrip()
                         + f"\nLicence: {entry['License']}\n"
                         + f"{entry.get('Copyright', '').strip()}\n\n")
            parts.extend(licence_texts(folder, entry))
    output.write_text("".join(parts), encoding="utf-8")


if __name__ == "__main__":
    main()
