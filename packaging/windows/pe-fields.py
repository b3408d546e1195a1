#!/usr/bin/env python3
"""Reads and sets the fields of a 64-bit Windows executable's header that
Dilmora's build cares about.

    pe-fields.py set-load-config <exe> <link map>
        points the header's load configuration entry at the structure named
        _load_config_used, whose address the linker's map gives (GNU ld 2.40
        does not do it by itself).
    pe-fields.py show <exe>
        prints the time stamp, the security flags and the load configuration's
        DependentLoadFlags, one "name value" per line.
"""
import re
import struct
import sys

LOAD_CONFIG = 10            # index of the load configuration in the data directories
DEPENDENT_LOAD_FLAGS = 78   # offset of DependentLoadFlags in the 64-bit structure
FLAGS = {"HIGH_ENTROPY_VA": 0x20, "DYNAMIC_BASE": 0x40, "NX_COMPAT": 0x100}


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            sys.exit("not a PE image")
        sections, self.time_stamp = struct.unpack_from("<HI", data, pe + 6)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        self.optional = pe + 24
        if struct.unpack_from("<H", data, self.optional)[0] != 0x20B:
            sys.exit("not a 64-bit (PE32+) image")
        self.image_base = struct.unpack_from("<Q", data, self.optional + 24)[0]
        self.checksum_offset = self.optional + 64
        self.dll_characteristics = struct.unpack_from("<H", data, self.optional + 70)[0]
        self.directory = self.optional + 112 + 8 * LOAD_CONFIG
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<8sIIII", data, table + 40 * i) for i in range(sections)]

    def file_offset(self, rva):
        for _, virtual_size, address, raw_size, raw_pointer in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_pointer + rva - address
        sys.exit(f"address {rva:#x} is in no section")

    def load_config(self):
        return struct.unpack_from("<II", self.data, self.directory)


def set_load_config(path, link_map):
    match = re.search(r"^\s+0x([0-9a-f]+)\s+_load_config_used$", open(link_map).read(), re.M)
    if not match:
        sys.exit(f"{link_map}: no _load_config_used")
    data = bytearray(open(path, "rb").read())
    image = Image(data)
    rva = int(match.group(1), 16) - image.image_base
    size = struct.unpack_from("<I", data, image.file_offset(rva))[0]
    struct.pack_into("<II", data, image.directory, rva, size)
    struct.pack_into("<I", data, image.checksum_offset, checksum(data, image.checksum_offset))
    open(path, "wb").write(data)


def checksum(data, field):
    """The header's checksum as Windows computes it, the field itself as zero."""
    padded = bytes(data[:field]) + b"\0\0\0\0" + bytes(data[field + 4:]) + b"\0" * (len(data) % 2)
    total = sum(struct.unpack(f"<{len(padded) // 2}H", padded))
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def show(path):
    image = Image(open(path, "rb").read())
    print(f"TimeDateStamp {image.time_stamp}")
    for name, bit in FLAGS.items():
        print(f"{name} {int(bool(image.dll_characteristics & bit))}")
    rva, size = image.load_config()
    flags = 0
    if rva and size >= DEPENDENT_LOAD_FLAGS + 2:
        flags = struct.unpack_from("<H", image.data, image.file_offset(rva) + DEPENDENT_LOAD_FLAGS)[0]
    print(f"LoadConfigSize {size}")
    print(f"DependentLoadFlags {flags:#x}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["set-load-config"] and len(sys.argv) == 4:
        set_load_config(sys.argv[2], sys.argv[3])
    elif sys.argv[1:2] == ["show"] and len(sys.argv) == 3:
        show(sys.argv[2])
    else:
        sys.exit(__doc__)
