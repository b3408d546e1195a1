#!/usr/bin/python3
"""The notices of the third-party code linked into dilmora.exe.

    qt-notices.py write <record> <output folder> <archive>...
        writes THIRD-PARTY-NOTICES.txt and components.json into the output
        folder, for the Qt libraries and plugins named (their file names,
        e.g. libQt6Core.a) and for the mingw-w64 runtime.
    qt-notices.py check <record> <notices> <link map>
        fails when an attribution of code that the link map shows was linked
        is missing from the notices.

<record> is the folder that packaging/windows/qt/qt-build-record.py wrote beside the
static Qt: Qt's attribution files and which source files each object of each
library was compiled from. An attribution applies when a file it covers was
compiled into a linked object.
"""
import fnmatch
import json
import pathlib
import posixpath
import re
import sys

from debian.copyright import Copyright

# The mingw-w64 runtime that the -posix toolchain links statically, from the
# Debian packages' copyright files.
MINGW_COPYRIGHT = pathlib.Path("/usr/share/doc/mingw-w64-x86-64-dev/copyright")
GCC_COPYRIGHT = pathlib.Path("/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright")


def rows(path):
    for line in path.read_text(encoding="utf-8").splitlines():
        yield line.split("\t")


def compiled_files(record, wanted):
    """The source files of the objects in `wanted`: (archive name, object) -> bool."""
    objects = {obj for archive, obj in rows(record / "archives.tsv") if wanted(archive, obj)}
    return {file for obj, file in rows(record / "objects.tsv") if obj in objects}


def attribution_entries(record):
    root = record / "attributions"
    for attribution in sorted(root.rglob("qt_attribution.json")):
        data = json.loads(attribution.read_text(encoding="utf-8"), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            yield attribution.parent, attribution.parent.relative_to(root), entry


def covers(folder, entry, files):
    base = posixpath.normpath(posixpath.join(folder, entry.get("Path", "")))
    patterns = entry.get("Files")
    if isinstance(patterns, str):
        patterns = patterns.split()
    if not patterns:   # a folder, or with "Path" alone one file
        return any(file == base or file.startswith(base + "/") for file in files)
    return any(fnmatch.filter(files, f"{base}/{pattern}") for pattern in patterns)


def applying(record, files):
    """The attribution entries that cover a compiled file, in source order."""
    return [(folder, entry) for folder, relative, entry in attribution_entries(record)
            if covers(relative.as_posix(), entry, files)]


def licence_texts(folder, entry):
    names = entry.get("LicenseFile") or entry.get("LicenseFiles") or []
    names = [names] if isinstance(names, str) else names
    return [(folder / name).read_text(encoding="utf-8", errors="replace") for name in names]


def winpthreads_notice():
    """winpthreads' notices: its paragraphs of mingw-w64's copyright file; where
    a paragraph only names its licence, the text from the licence's paragraph."""
    with MINGW_COPYRIGHT.open(encoding="utf-8") as file:
        copyright = Copyright(file)
    texts = {p.license.synopsis: p["License"] for p in copyright.all_license_paragraphs()}
    parts = []
    for p in copyright.all_files_paragraphs():
        files = p["Files"]
        if "winpthreads/" in files and "tests_pthread" not in files:
            # Each field as the file writes it, continuation lines and all.
            body = p["License"] if p.license.text else texts.get(p.license.synopsis, p["License"])
            parts.append(f"Files: {files}\nCopyright: {p['Copyright']}\nLicense: {body}\n")
    return "\n".join(parts)


def gcc_exception():
    text = GCC_COPYRIGHT.read_text(encoding="utf-8")
    start = text.index("GCC RUNTIME LIBRARY EXCEPTION")
    end = text.index("copyleft\nrequirements of the license of GCC.", start)
    return text[start:end] + "copyleft\nrequirements of the license of GCC.\n"


def package_version(name):
    import subprocess
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], check=True,
                          capture_output=True, text=True).stdout


def write(record, output, archives):
    files = compiled_files(record, lambda archive, obj: pathlib.Path(archive).name in archives)
    components, parts = [], ["Third-party code linked into dilmora.exe\n"
                             "========================================\n"
                             "Qt itself is under the LGPL-3.0-only (LGPL-3.0-only.txt).\n"]
    # Qt itself first, as Debian's qt6-base that the cached Qt was built from.
    components.append({"name": "Qt", "version": package_version("qt6-base-dev").split("+")[0],
                       "license": "LGPL-3.0-only",
                       "copyright": "Copyright (C) The Qt Company Ltd. and other contributors.",
                       "homepage": "https://www.qt.io/"})
    for folder, entry in applying(record, files):
        name = entry["Name"]
        licence = entry.get("LicenseId") or entry.get("License", "")
        components.append({"name": name, "version": entry.get("Version", ""), "license": licence,
                           "copyright": entry.get("Copyright", "").strip(),
                           "homepage": entry.get("Homepage", "")})
        parts.append(f"\n\n{name} {entry.get('Version', '')}".rstrip()
                     + f"\nLicence: {entry.get('License', licence)}\n"
                     + f"{entry.get('Copyright', '').strip()}\n\n")
        parts.extend(licence_texts(folder, entry))
    mingw = package_version("mingw-w64-x86-64-dev").split("-")[0]
    gcc = package_version("gcc-mingw-w64-x86-64-posix-runtime").split("-")[0]
    components += [
        {"name": "mingw-w64 winpthreads", "version": mingw, "license": "MIT AND BSD-3-Clause",
         "copyright": "2011-2016 mingw-w64 project; 2010 Lockless Inc.",
         "homepage": "https://www.mingw-w64.org/"},
        {"name": "GCC runtime libraries (libstdc++, libgcc)", "version": gcc,
         "license": "GPL-3.0-or-later WITH GCC-exception-3.1",
         "copyright": "Free Software Foundation, Inc.", "homepage": "https://gcc.gnu.org/"}]
    parts.append(f"\n\nmingw-w64 winpthreads {mingw}\n\n{winpthreads_notice()}")
    parts.append(f"\n\nGCC runtime libraries {gcc} (libstdc++, libgcc)\n"
                 "Licence: GPL-3.0-or-later WITH GCC-exception-3.1. Their parts in\n"
                 "dilmora.exe are used under the GCC Runtime Library Exception:\n\n"
                 + gcc_exception())
    output.mkdir(parents=True, exist_ok=True)
    (output / "THIRD-PARTY-NOTICES.txt").write_text("".join(parts), encoding="utf-8")
    (output / "components.json").write_text(json.dumps(components, indent=1, ensure_ascii=False)
                                            + "\n", encoding="utf-8")


def check(record, notices, link_map):
    # The linker's map names each archive member it pulled in: "lib.a(member)".
    linked = set(re.findall(r"([^\s(]+\.a)\(([^)\s]+)\)", link_map.read_text(errors="replace")))
    members = {(pathlib.Path(archive).name, member) for archive, member in linked}
    files = compiled_files(record, lambda archive, obj: (pathlib.Path(archive).name,
                                                         pathlib.Path(obj).name) in members)
    text = notices.read_text(encoding="utf-8")
    missing = [entry["Name"] for folder, entry in applying(record, files)
               if f"\n{entry['Name']}" not in text]
    if not files or missing:
        sys.exit(f"{notices}: no notice for {', '.join(missing) or 'anything linked'}")
    print(f"{notices}: every attribution of the {len(files)} linked source files is there")


if __name__ == "__main__":
    if sys.argv[1:2] == ["write"] and len(sys.argv) >= 5:
        write(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]), set(sys.argv[4:]))
    elif sys.argv[1:2] == ["check"] and len(sys.argv) == 5:
        check(*map(pathlib.Path, sys.argv[2:5]))
    else:
        sys.exit(__doc__)
