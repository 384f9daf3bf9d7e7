#!/usr/bin/env python3
"""Checks a built Windows program file of the tool without running it.

  check_program_file.py --machine i386|amd64 Nerbo.exe

- the PE header: the machine asked for, the optional header of that width
  (PE32 for i386, PE32+ for amd64) and the console subsystem;
- the icons, listed and extracted with wrestool (icoutils): exactly the icon
  groups 1 and 2, each holding one icon of 32x32 pixels in 16 colours (4 bits
  per pixel), whose image says the same.
Prints one line per fault and exits 1 when there is any.
"""
import argparse
import re
import shutil
import struct
import subprocess
import sys

MACHINES = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}
CONSOLE_SUBSYSTEM = 3
GROUP_ICON, ICON = 14, 3


def check_header(data, machine_name):
    faults = []
    want_machine, want_magic = MACHINES[machine_name]
    if data[:2] != b"MZ":
        return ["no MZ signature"]
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        return ["no PE signature at 0x%x" % pe_offset]
    (machine,) = struct.unpack_from("<H", data, pe_offset + 4)
    optional = pe_offset + 24
    (magic,) = struct.unpack_from("<H", data, optional)
    # The subsystem sits at the same offset in PE32 and PE32+ headers.
    (subsystem,) = struct.unpack_from("<H", data, optional + 68)
    if machine != want_machine:
        faults.append("machine 0x%x, expected 0x%x" % (machine, want_machine))
    if magic != want_magic:
        faults.append("optional header magic 0x%x, expected 0x%x" % (magic, want_magic))
    if subsystem != CONSOLE_SUBSYSTEM:
        faults.append("subsystem %d, expected %d (console)" % (subsystem, CONSOLE_SUBSYSTEM))
    return faults


def wrestool(*arguments):
    return subprocess.run(["wrestool", *arguments], check=True, capture_output=True).stdout


def listed_names(listing, resource_type):
    pattern = r"--type=%d --name=(\S+)" % resource_type
    return sorted(re.findall(pattern, listing.decode("ascii", "replace")))


def check_icon_group(program, name):
    group = wrestool("-x", "--raw", "--type=%d" % GROUP_ICON, "--name=%s" % name, program)
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    if (reserved, kind, count) != (0, 1, 1):
        return ["icon group %s: header %r, expected one icon" % (name, (reserved, kind, count))]
    width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
    faults = []
    if (width, height, colours, bits) != (32, 32, 16, 4):
        faults.append("icon group %s: %dx%d, %d colours, %d bits, expected 32x32, 16 colours, 4 bits"
                      % (name, width, height, colours, bits))
    image = wrestool("-x", "--raw", "--type=%d" % ICON, "--name=%d" % icon_id, program)
    if len(image) != size:
        faults.append("icon %d: %d bytes, the group says %d" % (icon_id, len(image), size))
    # The image is a device-independent bitmap of twice the height (colour
    # bits, then the mask).
    header_size, bitmap_width, bitmap_height, _, bitmap_bits = struct.unpack_from("<IiiHH", image, 0)
    if (header_size, bitmap_width, bitmap_height, bitmap_bits) != (40, 32, 64, 4):
        faults.append("icon %d: bitmap %r, expected a 32x32 image of 4 bits"
                      % (icon_id, (header_size, bitmap_width, bitmap_height, bitmap_bits)))
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--machine", choices=sorted(MACHINES), required=True)
    parser.add_argument("program")
    options = parser.parse_args()
    if shutil.which("wrestool") is None:
        print("wrestool (icoutils) is needed to read the icons")
        return 1

    with open(options.program, "rb") as program_file:
        faults = check_header(program_file.read(), options.machine)
    listing = wrestool("-l", options.program)
    groups = listed_names(listing, GROUP_ICON)
    if groups != ["1", "2"]:
        faults.append("icon groups %s, expected 1 and 2" % groups)
    for name in groups:
        faults += check_icon_group(options.program, name)

    for fault in faults:
        print("%s: %s" % (options.program, fault))
    if not faults:
        print("%s: %s console program with icon groups 1 and 2 (32x32, 16 colours)"
              % (options.program, options.machine))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
