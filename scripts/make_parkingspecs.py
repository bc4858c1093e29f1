#!/usr/bin/env python3
"""Writes data/parkingspecs.mdb, the airline list of the parking-code picker.

Every airline and code is invented. The file is a minimal Access (Jet 4)
database: one table parkingSpecs (Airline TEXT(255), Code TEXT(50)), no
indexes, and the bare system catalog that mdbtools' libmdb needs to find it.
Access itself is not needed to read it; Fernquill reads it with libmdb.

The layout is the one tests/common/MdbWriter.cpp writes, byte for byte (a
test reads this file back and rebuilds it with that writer):
page 0 header, page 1 the usage maps, page 2 the MSysObjects definition,
page 3 its rows, page 4 the parkingSpecs definition, pages 5+ its rows.

Run it from anywhere; it replaces data/parkingspecs.mdb (or the file given as
the only argument) and gives the same bytes every time. Uses only the
standard library.
"""
import struct
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# (Airline, Code). Codes are at most five characters, as atc_parking_codes wants.
AIRLINES = [
    ("Aerotarn", "ATN"),
    ("Aerotarn Cargo", "ATC"),
    ("Aérolignes Brumeuses", "ABR"),
    ("Alderwick Air", "ALW"),
    ("Bracken & Moor Express", "BMX"),
    ("Brackenhold Airways", "BKH"),
    ("Brackenhold Connect", "BKC"),
    ("Cairnlight", "CRL"),
    ("Corrie Skies", "CSK"),
    ("Dunmere Air Services", "DMS"),
    ("Eastfell Aviation", "EFA"),
    ("Emberline", "EMB"),
    ("Fen O'Malley Air", "FOM"),
    ("Fernquill Air", "FQ"),
    ("Fernquill Express", "FQX"),
    ("Fernway", "FWY"),
    ("Fernway Regional", "FWR"),
    ("Gorsewing", "GSW"),
    ("Harrowgate Flyers", "HGF"),
    ("Heatherjet", "HJT"),
    ("Holloway Air Freight", "HAF"),
    ("Inchmoor Island Air", "IIA"),
    ("Juniper Coast", "JPC"),
    ("Kestrelfold", "KSF"),
    ("Lochan Airlink", "LCH"),
    ("Marrowdale Air", "MDA"),
    ("Mossline", "MSL"),
    ("Mossline Retro", "MSR"),
    ("Nethercombe Airways", "NCA"),
    ("Oakenshaw Air", "OKS"),
    ("O'Rourke Island Hopper", "ORH"),
    ("Peatbog Pelican", "PBP"),
    ("Quillcargo", "QCG"),
    ("Rowan Skyways", "RSW"),
    ("Saltmarsh Air", "SMA"),
    ("Sedgeworth 100% Charter", "SWC"),
    ("Tarnhopper", "TNH"),
    ("Thistledown Air", "TDA"),
    ("Under_Wood Aero", "UWA"),
    ("Vale of Yarrow Air", "VYA"),
    ("Wyndmere", "WYN"),
    ("Yewbarrow Air Taxi", "YAT"),
]

PAGE = 4096
INT16, INT32, TEXT, OLE = 0x03, 0x04, 0x0A, 0x0B
CATALOG_DEF_PAGE, CATALOG_DATA_PAGE, TABLE_DEF_PAGE, FIRST_DATA_PAGE = 2, 3, 4, 5

# RC4 keystream of the Jet 4 header key; header bytes 0x18..0x97 are stored
# XOR-ed with it.
HEADER_KEYSTREAM = bytes.fromhex(
    "b56f03626108c255eba96772433f009c7a9f90ff809a31c579baed30bcdfcc9d63d9e4c37b42fb8abc4e86fbec375d449cfac65e"
    "28e613b68a6054947b36f572dfb177f41343cfafb1333461795b92b57c2a05f17c99011b98fd124f4a946c3e60265f95f8d08924"
    "8567c61f2744d2eecf65edff07c746a178160cede92d62d4")


def u16(v):
    return struct.pack("<H", v)


def u32(v):
    return struct.pack("<I", v)


def encode_text(s):
    """One byte a character after FF FE when all fit a byte and that is shorter, else UTF-16LE."""
    if "\0" in s:
        raise ValueError("NUL in a text value")
    if len(s) > 2 and all(ord(c) <= 0xFF for c in s):
        return b"\xff\xfe" + bytes(ord(c) for c in s)
    if s.startswith("\ufeff"):
        raise ValueError("a text may not begin with U+FEFF")
    return s.encode("utf-16-le")


class Column:
    def __init__(self, name, type_, number, var_index=0, fixed=False, fixed_offset=0, length=0):
        self.name, self.type, self.number = name, type_, number
        self.var_index, self.fixed = var_index, fixed
        self.fixed_offset, self.length = fixed_offset, length


def table_definition_page(table_type, row_count, columns, used_map, free_map):
    d = bytearray(0x3F)
    d[0], d[1] = 0x02, 0x01
    d[0x10:0x14] = u32(row_count)
    d[0x28] = table_type
    variable = sum(0 if c.fixed else 1 for c in columns)
    d[0x29:0x2B] = u16(len(columns))
    d[0x2B:0x2D] = u16(variable)
    d[0x2D:0x2F] = u16(len(columns))
    d[0x37:0x3B] = u32(used_map)
    d[0x3B:0x3F] = u32(free_map)
    for c in columns:
        e = bytearray(25)
        e[0] = c.type
        e[5:7] = u16(c.number)
        e[7:9] = u16(0 if c.fixed else c.var_index)
        e[9:11] = u16(c.number)
        if c.type == TEXT:
            e[11:13] = u16(0x0409)
            e[16] = 0x01
        e[15] = 0x03 if c.fixed else 0x02
        e[21:23] = u16(c.fixed_offset if c.fixed else 0)
        e[23:25] = u16(c.length)
        d += e
    for c in columns:
        name = c.name.encode("utf-16-le")
        d += u16(len(name)) + name
    d[0x08:0x0C] = u32(len(d) - 8)
    assert len(d) <= PAGE
    return bytes(d) + bytes(PAGE - len(d))


def encode_row(columns, values):
    fixed_size = max([c.fixed_offset + c.length for c in columns if c.fixed] or [0])
    variable = sum(0 if c.fixed else 1 for c in columns)
    row = bytearray(u16(len(columns))) + bytearray(fixed_size)
    starts = [0] * variable
    mask = bytearray((len(columns) + 7) // 8)
    for c, v in zip(columns, values):
        if v is not None:
            mask[c.number // 8] |= 1 << (c.number % 8)
        if c.fixed:
            if v is not None:
                row[2 + c.fixed_offset:2 + c.fixed_offset + c.length] = v[:c.length]
            continue
        starts[c.var_index] = len(row)
        if v is not None:
            row += v
    row += u16(len(row))
    for i in reversed(range(variable)):
        row += u16(starts[i])
    row += u16(variable)
    row += mask
    return bytes(row)


def data_page(owner, rows):
    p = bytearray(PAGE)
    p[0], p[1] = 0x01, 0x01
    p[4:8] = u32(owner)
    p[12:14] = u16(len(rows))
    pos = PAGE
    for i, r in enumerate(rows):
        pos -= len(r)
        p[pos:pos + len(r)] = r
        p[14 + 2 * i:16 + 2 * i] = u16(pos)
    free = pos - (14 + 2 * len(rows))
    assert free >= 0, "page overflow"
    p[2:4] = u16(free)
    return bytes(p)


def pack_rows(rows):
    pages, used = [[]], 14
    for r in rows:
        need = len(r) + 2
        if len(pages[-1]) == 255 or used + need > PAGE:
            pages.append([])
            used = 14
        pages[-1].append(r)
        used += need
    return pages


def usage_map(bitmap_bytes, pages_used):
    m = bytearray(5 + bitmap_bytes)  # type 0, first page covered 0
    for p in pages_used:
        m[5 + p // 8] |= 1 << (p % 8)
    return bytes(m)


def header_page():
    p = bytearray(PAGE)
    p[0:20] = b"\x00\x01\x00\x00Standard Jet DB\x00"
    p[0x14] = 0x01
    plain = bytearray(128)
    plain[0x3C - 0x18:0x3E - 0x18] = u16(1252)
    plain[0x6E - 0x18:0x70 - 0x18] = u16(0x0409)
    for i in range(128):
        p[0x18 + i] = plain[i] ^ HEADER_KEYSTREAM[i]
    return bytes(p)


def jet4_database(table_name, columns, rows):
    """columns: [(name, max_chars)]; rows: lists of str or None (NULL)."""
    user_columns = [Column(name, TEXT, i, var_index=i, length=chars * 2)
                    for i, (name, chars) in enumerate(columns)]
    user_rows = []
    for row in rows:
        assert len(row) == len(columns)
        for v, (_, chars) in zip(row, columns):
            assert v is None or len(v) <= chars, "value longer than its column"
        user_rows.append(encode_row(user_columns, [None if v is None else encode_text(v) for v in row]))
    user_pages = pack_rows(user_rows)
    page_count = FIRST_DATA_PAGE + len(user_pages)
    bitmap_bytes = max(64, (page_count + 7) // 8)

    catalog_columns = [
        Column("Id", INT32, 0, fixed=True, fixed_offset=0, length=4),
        Column("Name", TEXT, 1, var_index=0, length=510),
        Column("Type", INT16, 2, fixed=True, fixed_offset=4, length=2),
        Column("Flags", INT32, 3, fixed=True, fixed_offset=6, length=4),
        Column("LvProp", OLE, 4, var_index=1, length=0),
    ]

    def catalog_row(id_, name, flags):
        return encode_row(catalog_columns, [u32(id_), encode_text(name), u16(1), u32(flags), None])

    user_page_numbers = [FIRST_DATA_PAGE + i for i in range(len(user_pages))]
    out = header_page()
    out += data_page(0, [usage_map(bitmap_bytes, [CATALOG_DATA_PAGE]), usage_map(bitmap_bytes, []),
                         usage_map(bitmap_bytes, user_page_numbers), usage_map(bitmap_bytes, [])])
    out += table_definition_page(0x53, 2, catalog_columns, (1 << 8) | 0, (1 << 8) | 1)
    out += data_page(CATALOG_DEF_PAGE, [catalog_row(CATALOG_DEF_PAGE, "MSysObjects", 0x80000002),
                                        catalog_row(TABLE_DEF_PAGE, table_name, 0)])
    out += table_definition_page(0x4E, len(rows), user_columns, (1 << 8) | 2, (1 << 8) | 3)
    for page_rows in user_pages:
        out += data_page(TABLE_DEF_PAGE, page_rows)
    return out


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "data" / "parkingspecs.mdb"
    for _, code in AIRLINES:
        assert 1 <= len(code) <= 5 and "," not in code and " " not in code
    data = jet4_database("parkingSpecs", [("Airline", 255), ("Code", 50)], [list(r) for r in AIRLINES])
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(data)
    print(f"{target}: {len(AIRLINES)} airlines, {len(data)} bytes")


if __name__ == "__main__":
    main()
