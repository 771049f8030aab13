#!/usr/bin/python3
"""What a release zip holds, read as a Windows user would get it: the program
and README.txt alone, the program for its architecture, stripped, needing no
DLL that Windows does not bring.

Usage: dist_zip.py ZIP ARCHITECTURE [ZIP ARCHITECTURE ...]
ARCHITECTURE is i686 or x86_64."""

import io
import struct
import sys
import zipfile

# Nothing else: the virtual card's driver and cardctl are for development under Wine.
MEMBERS = ["WaveSettings.exe", "README.txt"]
MACHINES = {"i686": 0x14C, "x86_64": 0x8664}
# DLLs every Windows has; anything else (the MinGW runtime's libstdc++-6.dll,
# libgcc_s_*.dll, libwinpthread-1.dll) would have to travel in the zip.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleacc.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll",
    "winmm.dll",
}


class Pe:
    """The headers, sections and imported DLL names of a PE image."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        (self.machine, sections, _, self.symbol_table, self.symbols, optional_size,
         _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.import_rva = struct.unpack_from("<I", data, directories + 8)[0]
        # Section names longer than eight characters sit in the string table after
        # the symbols, named "/offset" in the header; strip keeps that table.
        strings = self.symbol_table + 18 * self.symbols
        self.sections = []
        for i in range(sections):
            name, vsize, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i)
            name = name.rstrip(b"\0").decode()
            if name.startswith("/") and self.symbol_table:
                at = strings + int(name[1:])
                name = data[at:data.index(b"\0", at)].decode()
            self.sections.append((name, rva, max(vsize, raw_size), raw))

    def offset(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA %#x is in no section" % rva)

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode()

    def imports(self):
        names, at = [], self.offset(self.import_rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, at)
            if not any(descriptor):
                return names
            names.append(self.string(descriptor[3]))
            at += 20

    def debug_sections(self):
        return [name for name, _, _, _ in self.sections if name.startswith(".debug")]


def problems(zip_path, architecture):
    """What is wrong with the zip, as sentences; none when it is right."""
    found = []
    with zipfile.ZipFile(zip_path) as z:
        names = z.namelist()
        if sorted(names) != sorted(MEMBERS):
            return ["%s holds %s, not %s" % (zip_path, names, MEMBERS)]
        program = Pe(z.read("WaveSettings.exe"))
        readme = z.read("README.txt").decode("cp1252")
    if program.machine != MACHINES[architecture]:
        found.append("the program is for machine %#x, not %s" % (program.machine, architecture))
    if program.symbols or program.debug_sections():
        found.append("the program is not stripped: %d symbols, sections %s" % (program.symbols,
                                                                                program.debug_sections()))
    foreign = [dll for dll in program.imports() if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        found.append("the program needs DLLs Windows does not bring: %s" % foreign)
    if "driver" not in readme:
        found.append("README.txt does not say the program needs the card's driver")
    if "\r\n" not in readme or "\n" in readme.replace("\r\n", ""):
        found.append("README.txt's lines do not all end in CR LF")
    return found


def main():
    arguments = sys.argv[1:]
    if not arguments or len(arguments) % 2 or any(a not in MACHINES for a in arguments[1::2]):
        print(__doc__, file=sys.stderr)
        return 2
    failures = []
    for zip_path, architecture in zip(arguments[::2], arguments[1::2]):
        try:
            found = problems(zip_path, architecture)
        except (OSError, ValueError, zipfile.BadZipFile, struct.error) as error:
            found = ["%s: %s" % (type(error).__name__, error)]
        print("%s (%s): %s" % (zip_path, architecture, "; ".join(found) or "right"), flush=True)
        failures += found
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
