#!/usr/bin/env python3
"""Checks a built Windows program file of the tool without running it.

  check_program_file.py --machine i386|amd64 [--shipped] Nerbo.exe

- the PE header: the machine asked for, the optional header of that width
  (PE32 for i386, PE32+ for amd64) and the console subsystem;
- the imports: only DLLs that every Windows from 7 on has;
- the application manifest: asInvoker, and the UTF-8 code page;
- the version resource: the tool's names and version 1.3.4;
- the icons, listed and extracted with wrestool (icoutils): exactly the icon
  groups 1 and 2, each holding one icon of 32x32 pixels in 16 colours (4 bits
  per pixel), whose image says the same;
- with --shipped (the program users get): no debugging information.
Prints one line per fault and exits 1 when there is any.
"""
import argparse
import re
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

MACHINES = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}
CONSOLE_SUBSYSTEM = 3
ICON, GROUP_ICON, VERSION, MANIFEST = 3, 14, 16, 24
# DLLs of every Windows from 7 on; a MinGW runtime DLL or the universal C
# runtime (missing on a Windows 7 without updates) is a fault.
SYSTEM_DLLS = {"kernel32.dll", "advapi32.dll", "msvcrt.dll", "user32.dll"}
VERSION_STRINGS = {
    "CompanyName": "Vesk",
    "ProductName": "Nerbo",
    "FileVersion": "1.3.4",
    "ProductVersion": "1.3.4",
    "OriginalFilename": "Nerbo.exe",
}
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_SETTINGS_2019 = "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}"


class PeFile:
    """The headers, sections and imports of a PE file."""

    def __init__(self, data):
        self.data = data
        self.fault = None
        if data[:2] != b"MZ":
            self.fault = "no MZ signature"
            return
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            self.fault = "no PE signature at 0x%x" % pe_offset
            return
        (self.machine, sections, symbols_at, symbols, optional_size) = struct.unpack_from(
            "<HHxxxxIIH", data, pe_offset + 4)
        optional = pe_offset + 24
        (self.magic,) = struct.unpack_from("<H", data, optional)
        # The subsystem sits at the same offset in PE32 and PE32+ headers.
        (self.subsystem,) = struct.unpack_from("<H", data, optional + 68)
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.import_rva, _ = struct.unpack_from("<II", data, directories + 8)
        # Long section names are "/<offset>" into the string table that
        # follows the symbols.
        strings = symbols_at + 18 * symbols
        self.sections = []
        for index in range(sections):
            at = optional + optional_size + 40 * index
            name = data[at:at + 8].rstrip(b"\0").decode("ascii", "replace")
            if name.startswith("/") and name[1:].isdigit() and symbols_at:
                start = strings + int(name[1:])
                name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
            virtual_size, rva, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((name, rva, max(virtual_size, raw_size), raw_at))

    def offset(self, rva):
        for _, start, size, raw_at in self.sections:
            if start <= rva < start + size:
                return raw_at + rva - start
        raise ValueError("address 0x%x is in no section" % rva)

    def text_at(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii", "replace")

    def imported_dlls(self):
        dlls = []
        at = self.offset(self.import_rva) if self.import_rva else None
        while at is not None:
            name_rva = struct.unpack_from("<I", self.data, at + 12)[0]
            if name_rva == 0:
                break
            dlls.append(self.text_at(name_rva))
            at += 20
        return dlls


def check_header(pe, machine_name):
    if pe.fault:
        return [pe.fault]
    faults = []
    want_machine, want_magic = MACHINES[machine_name]
    if pe.machine != want_machine:
        faults.append("machine 0x%x, expected 0x%x" % (pe.machine, want_machine))
    if pe.magic != want_magic:
        faults.append("optional header magic 0x%x, expected 0x%x" % (pe.magic, want_magic))
    if pe.subsystem != CONSOLE_SUBSYSTEM:
        faults.append("subsystem %d, expected %d (console)" % (pe.subsystem, CONSOLE_SUBSYSTEM))
    return faults


def check_imports(pe):
    return ["imports from %s, which not every Windows has" % dll
            for dll in pe.imported_dlls() if dll.lower() not in SYSTEM_DLLS]


def check_debug_sections(pe):
    return ["debugging information in section %s" % name
            for name, _, _, _ in pe.sections if name.startswith(".debug")]


def wrestool(*arguments):
    return subprocess.run(["wrestool", *arguments], check=True, capture_output=True).stdout


def listed_names(listing, resource_type):
    pattern = r"--type=%d --name=(\S+)" % resource_type
    return sorted(re.findall(pattern, listing.decode("ascii", "replace")))


def check_manifest(program, listing):
    if listed_names(listing, MANIFEST) != ["1"]:
        return ["no application manifest (resource type 24, id 1)"]
    try:
        root = ElementTree.fromstring(wrestool("-x", "--raw", "--type=%d" % MANIFEST, "--name=1", program))
    except ElementTree.ParseError as error:
        return ["the manifest is not well-formed XML: %s" % error]
    faults = []
    levels = [element.get("level") for element in root.iter(ASM_V3 + "requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        faults.append("manifest execution level %s, expected asInvoker" % levels)
    pages = [element.text for element in root.iter(WINDOWS_SETTINGS_2019 + "activeCodePage")]
    if pages != ["UTF-8"]:
        faults.append("manifest code page %s, expected UTF-8" % pages)
    return faults


def version_node(data, at):
    """One node of a version resource: (key, value bytes, children), its end."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if kind == 1 else value_length
    value = data[value_at:value_at + value_size]
    children = []
    child_at = (value_at + value_size + 3) & ~3
    while child_at < at + length:
        child, child_end = version_node(data, child_at)
        children.append(child)
        child_at = (child_end + 3) & ~3
    return (key, value, children), at + max(length, 6)


def check_version(program, listing):
    if listed_names(listing, VERSION) != ["1"]:
        return ["no version resource (resource type 16, id 1)"]
    data = wrestool("-x", "--raw", "--type=%d" % VERSION, "--name=1", program)
    (key, fixed, children), _ = version_node(data, 0)
    faults = []
    signature, _, file_high, file_low, product_high, product_low = struct.unpack_from("<IIIIII", fixed, 0)
    if key != "VS_VERSION_INFO" or signature != 0xFEEF04BD:
        return ["the version resource has no fixed file information"]
    version = ((1 << 16) | 3, 4 << 16)
    if (file_high, file_low) != version or (product_high, product_low) != version:
        faults.append("fixed file information is not version 1.3.4.0")
    strings = {}
    for child_key, _, tables in children:
        if child_key == "StringFileInfo":
            for _, _, entries in tables:
                for name, value, _ in entries:
                    strings[name] = value.decode("utf-16-le").rstrip("\0")
    for name, want in VERSION_STRINGS.items():
        if strings.get(name) != want:
            faults.append("version string %s is %r, expected %r" % (name, strings.get(name), want))
    for name in ("FileDescription", "LegalCopyright"):
        if not strings.get(name):
            faults.append("version string %s is missing" % name)
    return faults


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
    parser.add_argument("--shipped", action="store_true", help="require a file without debugging information")
    parser.add_argument("program")
    options = parser.parse_args()
    if shutil.which("wrestool") is None:
        print("wrestool (icoutils) is needed to read the resources")
        return 1

    with open(options.program, "rb") as program_file:
        pe = PeFile(program_file.read())
    faults = check_header(pe, options.machine)
    if not pe.fault:
        faults += check_imports(pe)
        if options.shipped:
            faults += check_debug_sections(pe)
    listing = wrestool("-l", options.program)
    faults += check_manifest(options.program, listing)
    faults += check_version(options.program, listing)
    groups = listed_names(listing, GROUP_ICON)
    if groups != ["1", "2"]:
        faults.append("icon groups %s, expected 1 and 2" % groups)
    for name in groups:
        faults += check_icon_group(options.program, name)

    for fault in faults:
        print("%s: %s" % (options.program, fault))
    if not faults:
        print("%s: %s console program, imports %s, manifest, version 1.3.4, icon groups 1 and 2%s"
              % (options.program, options.machine, ", ".join(pe.imported_dlls()),
                 ", no debugging information" if options.shipped else ""))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
