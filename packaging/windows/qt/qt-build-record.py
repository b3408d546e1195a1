#!/usr/bin/env python3
"""Records, beside a freshly built Qt, what the notices of a program that
links it are made from:

    qt-build-record.py <qt6-base source> <build folder> <output folder>

writes into the output folder
  LICENSES/          Qt's own licence texts;
  attributions/      every qt_attribution.json of the source tree, at its path
                     relative to the source, with the licence files it names;
  archives.tsv       "<archive>\t<object>" for each object of each static
                     library (lib/libQt6Core.a, plugins/.../libqwindows.a, ...);
  objects.tsv        "<object>\t<file>" for every source file and header, under
                     a folder with an attribution file, that an object was
                     compiled from, as Ninja recorded the dependencies.
Paths of objects are relative to the build folder, files to the source.
"""
import json
import pathlib
import shutil
import subprocess
import sys


def ninja(build, *arguments):
    return subprocess.run(["ninja", "-C", str(build), "-t", *arguments], check=True,
                          capture_output=True, text=True).stdout


def copy_attributions(source, output):
    folders, source = [], source.resolve()
    for attribution in sorted(source.rglob("qt_attribution.json")):
        folder = attribution.parent
        folders.append(folder.relative_to(source))
        # The licence files sit beside the attribution file or in LICENSES/.
        target = output / "attributions" / folder.relative_to(source)
        target.mkdir(parents=True, exist_ok=True)
        for file in folder.iterdir():
            if file.is_file() and (file.name == "qt_attribution.json" or file.name.upper().startswith(
                    ("LICENSE", "COPYING", "COPYRIGHT", "NOTICE"))):
                shutil.copy2(file, target)
        for file in named_licence_files(folder):
            if file.is_file() and file.is_relative_to(source):
                destination = output / "attributions" / file.relative_to(source)
                destination.parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(file, destination)
    return folders


def named_licence_files(folder):
    # Some attribution files carry raw tabs inside strings.
    data = json.loads((folder / "qt_attribution.json").read_text(encoding="utf-8"), strict=False)
    for entry in data if isinstance(data, list) else [data]:
        names = entry.get("LicenseFile") or entry.get("LicenseFiles") or []
        for name in [names] if isinstance(names, str) else names:
            yield (folder / name).resolve()


def archives(build):
    rows = []
    for line in ninja(build, "targets", "all").splitlines():
        name = line.split(":")[0]
        if name.endswith(".a"):
            rows += [(name, o) for o in ninja(build, "inputs", name).split() if o.endswith((".o", ".obj"))]
    return rows


def objects(source, build, folders):
    source = source.resolve()
    prefixes = tuple(f"{folder}/" for folder in folders if str(folder) != ".")
    rows, current = set(), None
    for line in ninja(build, "deps").splitlines():
        if line and not line[0].isspace():
            current = line.split(":")[0]
        elif current and line.strip():
            path = pathlib.Path(line.strip())
            path = (path if path.is_absolute() else build / path).resolve()
            if path.is_relative_to(source):
                relative = str(path.relative_to(source))
                if relative.startswith(prefixes):
                    rows.add((current, relative))
    return sorted(rows)


def write(path, rows):
    path.write_text("".join("\t".join(row) + "\n" for row in rows), encoding="utf-8")


def main():
    source, build, output = (pathlib.Path(argument) for argument in sys.argv[1:4])
    output.mkdir(parents=True, exist_ok=True)
    shutil.copytree(source / "LICENSES", output / "LICENSES", dirs_exist_ok=True)
    folders = copy_attributions(source, output)
    write(output / "archives.tsv", archives(build))
    write(output / "objects.tsv", objects(source, build, folders))


if __name__ == "__main__":
    main()
