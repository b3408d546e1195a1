#!/usr/bin/python3
"""Reads and sets the fields of a Windows executable's header that Dilmora's
build cares about, through pefile.

    pe-fields.py set-load-config <exe> <link map>
        points the header's load configuration entry at the structure named
        _load_config_used, whose address the linker's map gives (GNU ld 2.40
        does not do it by itself), and renews the header's checksum.
    pe-fields.py show <exe>
        prints the time stamp, the security flags and the load configuration's
        DependentLoadFlags, one "name value" per line.
"""
import re
import sys

import pefile

LOAD_CONFIG = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG"]
FLAGS = ("HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT")


def read(path):
    """The image's headers; the data directories are parsed when asked for."""
    with open(path, "rb") as file:
        data = file.read()
    try:
        return pefile.PE(data=data, fast_load=True)
    except pefile.PEFormatError as error:
        sys.exit(f"{path}: {error}")


def set_load_config(path, link_map):
    with open(link_map) as file:
        match = re.search(r"^\s+0x([0-9a-f]+)\s+_load_config_used$", file.read(), re.M)
    if not match:
        sys.exit(f"{link_map}: no _load_config_used")
    image = read(path)
    rva = int(match.group(1), 16) - image.OPTIONAL_HEADER.ImageBase
    size = image.get_dword_at_rva(rva)   # the structure's first field
    if size is None:
        sys.exit(f"{path}: address {rva:#x} is in no section")
    directory = image.OPTIONAL_HEADER.DATA_DIRECTORY[LOAD_CONFIG]
    directory.VirtualAddress, directory.Size = rva, size
    image.OPTIONAL_HEADER.CheckSum = image.generate_checksum()
    image.write(path)


def show(path):
    image = read(path)
    print(f"TimeDateStamp {image.FILE_HEADER.TimeDateStamp}")
    for name in FLAGS:
        print(f"{name} {int(getattr(image.OPTIONAL_HEADER, f'IMAGE_DLLCHARACTERISTICS_{name}'))}")
    image.parse_data_directories([LOAD_CONFIG])
    load_config = getattr(image, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    # DependentLoadFlags is Reserved1 to pefile, as to mingw-w64; a shorter
    # structure has none.
    flags = getattr(load_config.struct, "Reserved1", 0) if load_config else 0
    print(f"LoadConfigSize {image.OPTIONAL_HEADER.DATA_DIRECTORY[LOAD_CONFIG].Size}")
    print(f"DependentLoadFlags {flags:#x}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["set-load-config"] and len(sys.argv) == 4:
        set_load_config(sys.argv[2], sys.argv[3])
    elif sys.argv[1:2] == ["show"] and len(sys.argv) == 3:
        show(sys.argv[2])
    else:
        sys.exit(__doc__)
