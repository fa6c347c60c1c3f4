#!/usr/bin/env python3
"""Writes small Windows program files (PE) with known version resources, for the
version reader's tests, its fuzzer's seed corpus and its benchmark:

    python3 tools/make_pe_files.py DIR           the test set below, into DIR
    python3 tools/make_pe_files.py --large DIR   DIR/large.dll only: 30 MB, the
                                                 resources after a 30 MB section

The test set:
    german.dll, german64.dll   PE32 and PE32+; German Unicode translation 040704B0,
                               all nine strings; version 5.0.0.1, flags 3 (Debug
                               PreRel), NT-Win32, DLL. Beside each, NAME.fields lists
                               where its offsets and lengths, its binary values and
                               its resource directories stand:
                                   field NAME FILE_OFFSET WIDTH
                                   value NAME FILE_OFFSET WIDTH
                                   dir NAME OFFSET_IN_RESOURCES
    v4_72.dll, v5_0_0_0.dll, font.dll, negative.dll
                               other fixed parts (versions, flags, systems, types)
    fixed_only.dll             a fixed part and strings, but no translation table
    no_resource.dll            no resource directory at all
    other_resources.dll        resources, but none of the version type
    shdocvw_*/shdocvw.dll      the browser library with FileVersion 4.71.1712.6,
                               4.72.3110.0, 5.00.2920.0, "", "abc", "5,00,2920,0",
                               " 5.00.2920.0"; one without version resource; and
                               shdocvw_upper/SHDOCVW.DLL (5.00.2920.0)

Standard library only; run by the build, never committed as output.
"""
import os
import struct
import sys

FILE_ALIGN = 0x200
SECTION_ALIGN = 0x1000
HIGH_BIT = 0x80000000


def align(n, a):
    return (n + a - 1) // a * a


def pad(b, a):
    return b + b"\0" * (align(len(b), a) - len(b))


def utf16(text):
    return text.encode("utf-16-le")


def version_words(v):
    a, b, c, d = v
    return (a << 16) | b, (c << 16) | d


class Block:
    """A block of the version resource: length, value length, type, key, value,
    children. tag names it in the field list."""

    def __init__(self, key, value=b"", text=False, value_length=None, children=(), tag=None):
        self.key = key
        self.value = value
        self.text = text
        self.value_length = len(value) if value_length is None else value_length
        self.children = list(children)
        self.tag = tag

    def serialize(self, base, fields):
        """The block's bytes; base is its offset from the resource start (a multiple
        of four), fields collects (kind, name, offset from the resource start, width)."""
        b = bytearray(6) + utf16(self.key) + b"\0\0"
        b = bytearray(pad(bytes(b), 4))
        value_at = len(b)
        b += self.value
        for child in self.children:
            b = bytearray(pad(bytes(b), 4))
            b += child.serialize(base + len(b), fields)
        struct.pack_into("<HHH", b, 0, len(b), self.value_length, 1 if self.text else 0)
        if self.tag:
            fields.append(("field", self.tag + ".wLength", base, 2))
            if not self.text:
                fields.append(("field", self.tag + ".wValueLength", base + 2, 2))
            if self.value and not self.text:
                fields.append(("value", self.tag, base + value_at, len(self.value)))
        return bytes(b)


def string_block(name, text, tag=None):
    value = utf16(text) + b"\0\0"
    return Block(name, value, text=True, value_length=len(value) // 2, tag=tag)


def version_resource(file_version, product_version=None, flags=0, os_word=0x40004, file_type=2,
                     subtype=0, translation=(0x0409, 0x04B0), strings=()):
    """A VS_VERSION_INFO block. translation None leaves out VarFileInfo (the strings,
    if any, then sit under 0409 Unicode)."""
    fms, fls = version_words(file_version)
    pms, pls = version_words(product_version or file_version)
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000, fms, fls, pms, pls, 0x3F, flags, os_word,
                        file_type, subtype, 0, 0)
    children = []
    if strings:
        code = "%04X%04X" % (translation or (0x0409, 0x04B0))
        entries = [string_block(n, t, tag="String" if i == 0 else None) for i, (n, t) in enumerate(strings)]
        table = Block(code, children=entries, tag="StringTable")
        children.append(Block("StringFileInfo", children=[table], tag="StringFileInfo"))
    if translation:
        var = Block("Translation", struct.pack("<HH", *translation), tag="Translation")
        children.append(Block("VarFileInfo", children=[var], tag="VarFileInfo"))
    return Block("VS_VERSION_INFO", fixed, children=children, tag="VS_VERSION_INFO")


def resource_section(rva, version, language, fields, dirs):
    """The .rsrc section's bytes at rva: a type directory with a named type, RT_STRING,
    RT_VERSION (when version is given) and RT_MANIFEST; each type's name and language
    directories; the data entries; the data."""
    other_data = b"not a version resource\0\0"
    types = [("name", "TAVI"), ("id", 6)] + ([("id", 16)] if version else []) + [("id", 24)]
    named = sum(1 for kind, _ in types if kind == "name")

    # Offsets from the start of the section, laid out in order.
    at_types = 0
    at_ver_names = at_types + 16 + 8 * len(types)
    at_ver_langs = at_ver_names + 16 + 8
    at_other_names = at_ver_langs + 16 + 8
    at_other_langs = at_other_names + 16 + 8
    at_ver_entry = at_other_langs + 16 + 8
    at_other_entry = at_ver_entry + 16
    at_type_name = at_other_entry + 16
    at_version = align(at_type_name + 2 + 2 * len("TAVI"), 4)

    vfields = []
    vbytes = version.serialize(0, vfields) if version else b""
    at_other = align(at_version + len(vbytes), 4)

    s = bytearray(at_other + len(other_data))

    def directory(at, named_count, entries):
        struct.pack_into("<IIHHHH", s, at, 0, 0, 4, 0, named_count, len(entries) - named_count)
        for i, (name, target) in enumerate(entries):
            struct.pack_into("<II", s, at + 16 + 8 * i, name, target)

    type_entries = []
    for kind, key in types:
        name = HIGH_BIT | at_type_name if kind == "name" else key
        target = HIGH_BIT | (at_ver_names if key == 16 else at_other_names)
        type_entries.append((name, target))
    directory(at_types, named, type_entries)
    directory(at_ver_names, 0, [(1, HIGH_BIT | at_ver_langs)])
    directory(at_ver_langs, 0, [(language, at_ver_entry)])
    directory(at_other_names, 0, [(1, HIGH_BIT | at_other_langs)])
    directory(at_other_langs, 0, [(0x0409, at_other_entry)])
    struct.pack_into("<IIII", s, at_ver_entry, rva + at_version, len(vbytes), 0, 0)
    struct.pack_into("<IIII", s, at_other_entry, rva + at_other, len(other_data), 0, 0)
    struct.pack_into("<H", s, at_type_name, len("TAVI"))
    s[at_type_name + 2:at_type_name + 2 + 8] = utf16("TAVI")
    s[at_version:at_version + len(vbytes)] = vbytes
    s[at_other:at_other + len(other_data)] = other_data

    if version:
        version_index = [k for _, k in types].index(16)
        fields += [("field", "types.NumberOfIdEntries", at_types + 14, 2),
                   ("field", "types.version.OffsetToData", at_types + 16 + 8 * version_index + 4, 4),
                   ("field", "names.OffsetToData", at_ver_names + 16 + 4, 4),
                   ("field", "languages.OffsetToData", at_ver_langs + 16 + 4, 4),
                   ("field", "data.OffsetToData", at_ver_entry, 4),
                   ("field", "data.Size", at_ver_entry + 4, 4)]
        fields += [(k, n, at_version + o, w) for k, n, o, w in vfields]
        dirs += [("types", at_types), ("names", at_ver_names), ("languages", at_ver_langs)]
    return bytes(s)


def pe_file(version=None, pe32plus=False, language=0x0409, resources=True, big_section=0):
    """A PE image: headers, a .text section (big_section bytes, else a few), and a
    .rsrc section that ends the file. Returns the bytes and the field list with file
    offsets."""
    e_lfanew = 0x80
    optional_size = 240 if pe32plus else 224
    section_count = 2 if resources else 1
    optional_at = e_lfanew + 24
    table_at = optional_at + optional_size
    headers_size = align(table_at + 40 * section_count, FILE_ALIGN)

    text_raw = align(big_section or 16, FILE_ALIGN)
    text_rva = SECTION_ALIGN
    rsrc_rva = align(text_rva + text_raw, SECTION_ALIGN)
    rsrc_file = headers_size + text_raw
    fields, dirs = [], []
    rsrc = resource_section(rsrc_rva, version, language, fields, dirs) if resources else b""
    rsrc_raw = align(len(rsrc), FILE_ALIGN)
    image_size = align(rsrc_rva + len(rsrc), SECTION_ALIGN)

    h = bytearray(headers_size)
    h[0:2] = b"MZ"
    struct.pack_into("<I", h, 0x3C, e_lfanew)
    h[e_lfanew:e_lfanew + 4] = b"PE\0\0"
    machine, characteristics = (0x8664, 0x2022) if pe32plus else (0x14C, 0x2102)
    struct.pack_into("<HHIIIHH", h, e_lfanew + 4, machine, section_count, 0, 0, 0, optional_size,
                     characteristics)
    o = optional_at
    struct.pack_into("<H", h, o, 0x20B if pe32plus else 0x10B)
    if pe32plus:
        struct.pack_into("<Q", h, o + 24, 0x180000000)
    else:
        struct.pack_into("<I", h, o + 28, 0x10000000)
    struct.pack_into("<II", h, o + 32, SECTION_ALIGN, FILE_ALIGN)
    struct.pack_into("<HHHHHH", h, o + 40, 5, 0, 1, 0, 5, 0)
    struct.pack_into("<II", h, o + 56, image_size, headers_size)
    struct.pack_into("<H", h, o + 68, 2)  # Windows GUI
    directories = o + (112 if pe32plus else 96)
    struct.pack_into("<I", h, directories - 4, 16)
    if resources:
        struct.pack_into("<II", h, directories + 16, rsrc_rva, len(rsrc))

    def section(i, name, rva, size, raw, at, flags):
        struct.pack_into("<8sIIIIIIHHI", h, table_at + 40 * i, name, size, rva, raw, at, 0, 0, 0, 0, flags)

    section(0, b".text", text_rva, big_section or 16, text_raw, headers_size, 0x60000020)
    if resources:
        section(1, b".rsrc", rsrc_rva, len(rsrc), rsrc_raw, rsrc_file, 0x40000040)

    out = [("field", "e_lfanew", 0x3C, 4), ("field", "NumberOfSections", e_lfanew + 6, 2),
           ("field", "SizeOfOptionalHeader", e_lfanew + 20, 2),
           ("field", "resources.VirtualAddress", directories + 16, 4)]
    if resources:
        rsrc_header = table_at + 40
        out += [("field", "rsrc.VirtualAddress", rsrc_header + 12, 4),
                ("field", "rsrc.SizeOfRawData", rsrc_header + 16, 4),
                ("field", "rsrc.PointerToRawData", rsrc_header + 20, 4)]
    out += [(k, n, rsrc_file + off, w) for k, n, off, w in fields]
    chunks = [bytes(h), bytes(text_raw), pad(rsrc, FILE_ALIGN)]
    return chunks, out, dirs


def write(path, chunks, fields=None, dirs=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        for c in chunks:
            f.write(c)
    if fields is not None:
        with open(os.path.splitext(path)[0] + ".fields", "w") as f:
            for kind, name, offset, width in fields:
                f.write("%s %s %d %d\n" % (kind, name, offset, width))
            for name, offset in dirs:
                f.write("dir %s %d\n" % (name, offset))


GERMAN_STRINGS = [
    ("CompanyName", "Müller & Söhne GmbH"),
    ("FileDescription", "Wörterbuch 中文 \U00020000"),
    ("FileVersion", "5.00.0001"),
    ("InternalName", "german"),
    ("LegalCopyright", "© 2001 Müller & Söhne"),
    ("LegalTrademarks", "Tavi™"),
    ("OriginalFilename", "GERMAN.DLL"),
    ("ProductName", "Tavi Wörterbuch"),
    ("ProductVersion", "5.00"),
]


def test_set(folder):
    german = version_resource((5, 0, 0, 1), flags=3, translation=(0x0407, 0x04B0), strings=GERMAN_STRINGS)
    for name, wide in (("german.dll", False), ("german64.dll", True)):
        chunks, fields, dirs = pe_file(german, pe32plus=wide, language=0x0407)
        write(os.path.join(folder, name), chunks, fields, dirs)

    fixed = {
        "v4_72.dll": dict(file_version=(4, 72, 3110, 0), os_word=0x10004, file_type=1),
        "v5_0_0_0.dll": dict(file_version=(5, 0, 0, 0), product_version=(6, 0, 2900, 5512), flags=0x3F,
                             os_word=0x12345, file_type=3, subtype=7),
        "font.dll": dict(file_version=(1, 2, 3, 4), flags=16, os_word=0x20002, file_type=4, subtype=3),
        "negative.dll": dict(file_version=(0xFFFF, 0xFFFE, 0x8000, 0xFFFF), flags=0x40, os_word=0x30003,
                             file_type=9, subtype=5),
    }
    for name, kw in fixed.items():
        write(os.path.join(folder, name), pe_file(version_resource(**kw))[0])

    fixed_only = version_resource((1, 0, 0, 0), file_type=1, translation=None,
                                  strings=[("CompanyName", "without translation"), ("FileVersion", "1.0")])
    write(os.path.join(folder, "fixed_only.dll"), pe_file(fixed_only)[0])
    write(os.path.join(folder, "no_resource.dll"), pe_file(resources=False)[0])
    write(os.path.join(folder, "other_resources.dll"), pe_file()[0])

    browser = {"4_71": "4.71.1712.6", "4_72": "4.72.3110.0", "5_00": "5.00.2920.0", "empty": "",
               "abc": "abc", "comma": "5,00,2920,0", "blank": " 5.00.2920.0"}
    for folder_name, text in browser.items():
        resource = version_resource((4, 72, 3110, 0), strings=[("FileVersion", text)])
        write(os.path.join(folder, "shdocvw_" + folder_name, "shdocvw.dll"), pe_file(resource)[0])
    write(os.path.join(folder, "shdocvw_no_version", "shdocvw.dll"), pe_file(resources=False)[0])
    upper = version_resource((5, 0, 2920, 0), strings=[("FileVersion", "5.00.2920.0")])
    write(os.path.join(folder, "shdocvw_upper", "SHDOCVW.DLL"), pe_file(upper)[0])


def large_file(folder):
    resource = version_resource((5, 0, 2920, 0), strings=GERMAN_STRINGS, translation=(0x0407, 0x04B0))
    write(os.path.join(folder, "large.dll"), pe_file(resource, big_section=30 * 1024 * 1024)[0])


def main(argv):
    if len(argv) == 2 and argv[0] == "--large":
        large_file(argv[1])
    elif len(argv) == 1 and not argv[0].startswith("-"):
        test_set(argv[0])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
