"""Reads the resources of a Windows program or library (a PE file) without Windows: what the
build's checks of the shipped binaries look at, from the native tree."""
import struct


class Image:
    """A PE file's machine, subsystem and its resources by type and number."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections = struct.unpack_from("<HH", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        # 2 for a program with windows, 3 for a console program.
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
        self.sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
                         for i in range(sections)]
        table = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.resources = self.offset(table) if table else None

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"address {rva:#x} is in no section")

    def entries(self, directory):
        """(number or None for a named entry, offset of what it points to, is a directory)."""
        named, numbered = struct.unpack_from("<HH", self.data, self.resources + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, self.resources + directory + 16 + 8 * i)
            yield (None if name & 0x80000000 else name), target & 0x7FFFFFFF, bool(target & 0x80000000)

    def resources_of(self, kind):
        """{number: bytes} of the resources of that type, in their first language."""
        found = {}
        if self.resources is None:
            return found
        for type_number, names, _ in self.entries(0):
            if type_number != kind:
                continue
            for number, languages, _ in self.entries(names):
                _, leaf, _ = next(self.entries(languages))
                rva, size = struct.unpack_from("<II", self.data, self.resources + leaf)
                found[number] = self.data[self.offset(rva):self.offset(rva) + size]
        return found
