#!/usr/bin/env python3
"""Checks the Windows build's programs and driver DLLs against the .def files.

    imports.py --def <def file> [--def <def file>]... <file>...

For each .def file (drivers/windows/) and each given DLL it names: the DLL
exports exactly the ordinals of the .def file and no name, so that an import
by name could not even load. Each given program (.exe) imports from those
DLLs by ordinal only, each operation by the ordinal the .def file gives its
name (the program's __imp_<name> symbol names the import slot); the panel,
zr7480sfp.exe, imports every operation of the .def files. Prints one line per
check and exits non-zero if any fails. Reads the PE files itself, so no
tool's output format is relied on.
"""
import argparse
import pathlib
import re
import struct
import sys


class Pe:
    """The parts of a 64-bit PE file the checks read."""

    def __init__(self, path):
        self.data = pathlib.Path(path).read_bytes()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: not a PE file")
        coff = pe + 4
        sections, self.symbols, self.symbolCount, optionalSize = struct.unpack_from("<2xH4xII H", self.data, coff)
        optional = coff + 20
        if struct.unpack_from("<H", self.data, optional)[0] != 0x20B:
            raise ValueError(f"{path}: not a 64-bit image")
        self.imageBase = struct.unpack_from("<Q", self.data, optional + 24)[0]
        # Data directories 0 (exports) and 1 (imports): RVA and size.
        self.exportDir, _, self.importDir, _ = struct.unpack_from("<4I", self.data, optional + 112)
        self.sections = []
        for i in range(sections):
            at = optional + optionalSize + 40 * i
            size, rva, rawSize, raw = struct.unpack_from("<4I", self.data, at + 8)
            self.sections.append((rva, max(size, rawSize), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} in no section")

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def exports(self):
        """The exported ordinals and the number of exported names."""
        if not self.exportDir:
            return set(), 0
        base, functions, names, table = struct.unpack_from("<4I", self.data, self.offset(self.exportDir) + 16)
        ordinals = {base + i for i in range(functions) if self.u32(table + 4 * i)}
        return ordinals, names

    def imports(self):
        """{dll (lower case): [(slot RVA, ordinal or None, name or None)]}."""
        result = {}
        at = self.importDir
        while self.importDir:
            lookup, _, _, name, slots = struct.unpack_from("<5I", self.data, self.offset(at))
            if not name:
                break
            entries = result.setdefault(self.text(name).lower(), [])
            table = lookup or slots
            for i in range(1 << 16):
                entry = struct.unpack_from("<Q", self.data, self.offset(table + 8 * i))[0]
                if not entry:
                    break
                if entry >> 63:
                    entries.append((slots + 8 * i, entry & 0xFFFF, None))
                else:
                    entries.append((slots + 8 * i, None, self.text(entry + 2)))
            at += 20
        return result

    def importSymbols(self):
        """{name: slot RVA} of the COFF symbols __imp_<name> the linker left."""
        result = {}
        if not self.symbols:
            return result
        strings = self.symbols + 18 * self.symbolCount
        i = 0
        while i < self.symbolCount:
            at = self.symbols + 18 * i
            raw, value, section, _, _, aux = struct.unpack_from("<8sIhHBB", self.data, at)
            if raw[:4] == b"\0\0\0\0":
                start = strings + struct.unpack_from("<I", raw, 4)[0]
                name = self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")
            else:
                name = raw.rstrip(b"\0").decode("ascii", "replace")
            if name.startswith("__imp_") and 0 < section <= len(self.sections):
                result[name[len("__imp_"):]] = self.sections[section - 1][0] + value
            i += 1 + aux
        return result


def readDef(path):
    """The DLL a .def file names and its {ordinal: name}."""
    text = pathlib.Path(path).read_text()
    dll = re.search(r"^LIBRARY\s+(\S+)", text, re.M).group(1).lower()
    ordinals = {int(o): n for n, o in re.findall(r"^\s+(\w+)\s+@(\d+)(?:\s+NONAME)?\s*$", text, re.M)}
    return dll, ordinals


def main(defs, files):
    failed = 0

    def check(ok, what):
        nonlocal failed
        print(f"  {'ok' if ok else 'FAILED'}: {what}")
        failed += not ok

    drivers = dict(readDef(d) for d in defs)
    for path in files:
        dll = path.name.lower()
        if dll in drivers:
            exported, names = Pe(path).exports()
            ordinals = drivers[dll]
            check(names == 0, f"{dll} exports no name ({names})")
            check(exported == set(ordinals), f"{dll} exports the ordinals {sorted(ordinals)} ({sorted(exported)})")

    for program in (f for f in files if f.suffix.lower() == ".exe"):
        pe = Pe(program)
        symbols = {slot: name for name, slot in pe.importSymbols().items()}
        used = set()
        for dll, ordinals in sorted(drivers.items()):
            for slot, ordinal, name in pe.imports().get(dll, []):
                meant = symbols.get(slot, "?")
                if name is not None:
                    check(False, f"{program.name} imports {name} from {dll} by name")
                elif ordinals.get(ordinal) != meant:
                    check(False, f"{program.name} imports {meant} from {dll} by ordinal {ordinal}, "
                          f"which {dll}'s .def file gives {ordinals.get(ordinal, 'nothing')}")
                else:
                    used.add((dll, ordinal))
        want = {(dll, o) for dll, ordinals in drivers.items() for o in ordinals}
        if program.name == "zr7480sfp.exe":
            check(used == want, f"{program.name} imports all {len(want)} driver operations, each by its ordinal"
                  f" ({len(used)})")
        else:
            check(True, f"{program.name} imports {len(used)} driver operations, each by its ordinal alone")
    return failed


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--def", dest="defs", action="append", required=True, help="a .def file")
    parser.add_argument("files", nargs="+", type=pathlib.Path, help="DLLs and programs to check")
    arguments = parser.parse_args()
    sys.exit(1 if main(arguments.defs, arguments.files) else 0)
