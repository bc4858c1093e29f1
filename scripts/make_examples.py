#!/usr/bin/env python3
"""Writes the bundled sample data in examples/ from scratch.

The samples are a tiny Wine prefix in which FS9 and FSX are "installed", with
three aircraft folders: an FS9 AI aircraft, a clean FSX aircraft (the one that
scripts/run-sample.sh opens) and an FSX aircraft full of typical faults for the
validation report. Every name, livery and airline is invented; the binary
files are a few dozen bytes each and carry only the bytes Fernquill looks at.

Text files are written the way the simulators write them: Windows-1252 with
CR LF line ends. The two registry files are written the way Wine writes them:
LF line ends, non-ASCII as \\x escapes.

Run it from anywhere; it replaces examples/ (or the folder given as the only
argument) and gives the same bytes every time. Uses only the standard library.

git keeps no empty folders, so the empty "panel" folder of the faults sample is
made here and again by scripts/run-sample.sh in its scratch copy.
"""
import shutil
import struct
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
GAMES = "drive_c/Program Files (x86)/Microsoft Games"
FS9 = f"{GAMES}/Flight Simulator 9"
FSX = f"{GAMES}/Microsoft Flight Simulator X"
B738 = f"{FSX}/SimObjects/Airplanes/Brackenhold_B738"
FAULTS = f"{FSX}/SimObjects/Airplanes/Brackenhold_A320_Faults"
ATR = f"{FS9}/Aircraft/Brackenhold_ATR72"
APPDATA = "drive_c/users/fernquill/AppData/Roaming"
ADDONS = "drive_c/Addons/AI Traffic"

# Folders that must exist but stay empty (git drops them; run-sample.sh remakes them).
EMPTY_FOLDERS = [f"{FAULTS}/panel"]


# ---------------------------------------------------------------- writers

class Tree:
    def __init__(self, base: Path):
        self.base = base

    def path(self, rel: str) -> Path:
        p = self.base / rel
        p.parent.mkdir(parents=True, exist_ok=True)
        return p

    def text(self, rel: str, lines):
        """Windows-1252, CR LF after every line, as the simulators write."""
        data = "".join(line + "\r\n" for line in lines).encode("cp1252")
        self.path(rel).write_bytes(data)

    def unix_text(self, rel: str, lines):
        self.path(rel).write_bytes("".join(line + "\n" for line in lines).encode("ascii"))

    def binary(self, rel: str, data: bytes):
        self.path(rel).write_bytes(data)

    def folder(self, rel: str):
        (self.base / rel).mkdir(parents=True, exist_ok=True)

    def symlink(self, rel: str, target: str):
        self.path(rel).symlink_to(target)


def air_file(records):
    """A chain of records: 32-bit id, 32-bit data length, data (little-endian)."""
    return b"".join(struct.pack("<iI", rid, len(data)) + data for rid, data in records)


def air_type(value):
    """Data of the aircraft-type record 0x105: the type, 0 Normal, 1 Helicopter, 2 AI."""
    return struct.pack("<i", value)


def mdl_file(tag: bytes, radius: int) -> bytes:
    """A 48-byte RIFF-style model: format tag at offset 8, radius byte at offset 28."""
    assert len(tag) == 4 and 0 <= radius <= 255
    header = bytearray(28)  # the MDLH chunk's data
    header[0:4] = b"FQ01"    # invented marker, never read
    header[8] = radius        # offset 20 + 8 = 28 in the file
    body = tag + b"MDLH" + struct.pack("<I", len(header)) + bytes(header)
    data = b"RIFF" + struct.pack("<I", len(body)) + body
    assert data[8:12] == tag and data[28] == radius and len(data) == 48
    return data


def bmp_file() -> bytes:
    """A valid 1x1 24-bit bitmap (one dark green pixel)."""
    pixels = bytes((40, 110, 50, 0))  # BGR plus row padding to 4 bytes
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def dds_file() -> bytes:
    """A valid 4x4 DXT1 surface: 128-byte header and one 8-byte block."""
    pixel_format = struct.pack("<II4sIIIII", 32, 0x4, b"DXT1", 0, 0, 0, 0, 0)
    header = struct.pack("<IIIIIII", 124, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000, 4, 4, 8, 0, 0)
    header += bytes(44) + pixel_format + struct.pack("<IIIII", 0x1000, 0, 0, 0, 0)
    block = struct.pack("<HHI", 0x3366, 0x3366, 0)  # one flat colour
    data = b"DDS " + header + block
    assert len(data) == 136
    return data


# ---------------------------------------------------------------- prefix

TIME = "#time=1da2b3c4d5e6f70"


def registry(t: Tree):
    t.unix_text("wineprefix/system.reg", [
        "WINE REGISTRY Version 2",
        ";; All keys relative to REGISTRY\\\\Machine",
        "",
        "#arch=win64",
        "",
        "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\10.0] 1700000000",
        TIME,
        "\"SetupPath\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Microsoft Flight Simulator X\\\\\"",
        "\"SP2\"=dword:00000001",
        "",
        "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1700000000",
        TIME,
        "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"",
        "\"Language\"=dword:00000409",
        "",
        # The Windows version the prefix declares (Wine's "Windows 7" setting).
        "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1700000000",
        TIME,
        "\"CSDVersion\"=\"Service Pack 1\"",
        "\"CurrentBuildNumber\"=\"7601\"",
        "\"CurrentVersion\"=\"6.1\"",
        "\"EditionID\"=\"Professional\"",
        "\"ProductName\"=\"Windows 7 Professional\"",
        "",
        "[System\\\\ControlSet001\\\\Control\\\\ProductOptions] 1700000000",
        TIME,
        "\"ProductType\"=\"WinNT\"",
        "",
        "[System\\\\ControlSet001\\\\Control\\\\Windows] 1700000000",
        TIME,
        "\"CSDVersion\"=dword:00000100",
        "",
    ])
    appdata = "C:\\\\users\\\\fernquill\\\\AppData\\\\Roaming"
    t.unix_text("wineprefix/user.reg", [
        "WINE REGISTRY Version 2",
        ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000",
        "",
        "#arch=win64",
        "",
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000",
        TIME,
        f"\"AppData\"=\"{appdata}\"",
        "\"Local AppData\"=\"C:\\\\users\\\\fernquill\\\\AppData\\\\Local\"",
        "\"Personal\"=\"C:\\\\users\\\\fernquill\\\\Documents\"",
        "",
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders] 1700000000",
        TIME,
        "\"AppData\"=str(2):\"%USERPROFILE%\\\\AppData\\\\Roaming\"",
        "\"Local AppData\"=str(2):\"%USERPROFILE%\\\\AppData\\\\Local\"",
        "",
        "[Volatile Environment] 1700000000",
        TIME,
        f"\"APPDATA\"=\"{appdata}\"",
        "",
    ])
    # Wine remakes this link on start; run-sample.sh remakes it as well.
    t.symlink("wineprefix/dosdevices/c:", "../drive_c")


def fsx_cfg(t: Tree):
    t.text(f"wineprefix/{APPDATA}/Microsoft/FSX/fsx.cfg", [
        "[Main]",
        "User Objects=Airplane, Helicopter",
        "SimObjectPaths.0=SimObjects\\Airplanes",
        "SimObjectPaths.1=SimObjects\\Rotorcraft",
        "SimObjectPaths.2=C:\\Addons\\AI Traffic",
        "",
        "[GRAPHICS]",
        "TEXTURE_MAX_LOAD=1024",
        "",
    ])
    t.text(f"wineprefix/{ADDONS}/readme.txt", [
        "Add-on AI aircraft folders go here (fsx.cfg lists this folder).",
    ])
    t.text(f"wineprefix/{FSX}/SimObjects/Rotorcraft/readme.txt", [
        "No rotorcraft in the sample; the file keeps the folder in git.",
    ])


# Airlines as validation compares them: one ATC airline name per line.
FS9_AIRLINES = ["BRACKENHOLD", "FERNQUILL", "FERNWAY", "HEATHERJET", "MOSSLINE", "QUILLREGIONAL"]
FSX_AIRLINES = ["AEROTARN", "BRACKENHOLD", "FERNQUILL", "FERNWAY", "HEATHERJET", "MOSSLINE",
                "QUILLCARGO"]

# FS9 lacks the vapour trails and wing-tip vortices, so validating the FSX
# sample against FS9 lists them as missing effect files.
FS9_EFFECTS = ["fx_wake", "fx_spray", "fx_tchdrt", "fx_sparks", "fx_tchdwn", "fx_contrail_l",
               "fx_engstrt"]
FSX_EFFECTS = FS9_EFFECTS + ["fx_vaportrail_l", "fx_vaportrail_r", "fx_wingtipvortice_l",
                             "fx_wingtipvortice_r"]


def effect_file(t: Tree, rel: str, name: str):
    t.text(rel, [
        f"; Fernquill sample effect {name}: a placeholder, not a working effect.",
        "[Properties]",
        "Version=1",
        f"Name={name}",
    ])


def simulators(t: Tree):
    t.text(f"wineprefix/{FS9}/Aircraft/airlines.cfg", FS9_AIRLINES)
    t.text(f"wineprefix/{FSX}/airlines.cfg", FSX_AIRLINES)
    for name in FS9_EFFECTS:
        effect_file(t, f"wineprefix/{FS9}/Effects/{name}.fx", name)
    for name in FSX_EFFECTS:
        effect_file(t, f"wineprefix/{FSX}/Effects/{name}.fx", name)


# ---------------------------------------------------------------- aircraft

def fltsim(n, title, sim, model, texture, airline, flight, variation, reg, parking_codes,
           manufacturer, ui_type, texture_comment="", description=None, heavy="0"):
    lines = [
        f"[fltsim.{n}]",
        f"title={title}",
        f"sim={sim}",
        f"model={model}",
        "panel=",
        "sound=",
        f"texture={texture}{texture_comment}",
        "kb_checklists=",
        "kb_reference=",
        f"atc_id={reg}",
        f"atc_airline={airline}",
        f"atc_flight_number={flight}",
        f"atc_heavy={heavy}",
        "atc_parking_types=GATE,RAMP",
        f"atc_parking_codes={parking_codes}",
        f"ui_manufacturer={manufacturer}",
        f"ui_type={ui_type}",
        f"ui_variation={variation}",
        "ui_typerole=Commercial Airliner",
        "ui_createdby=© Brackenhold Tools (sample)",
    ]
    if description is not None:
        lines.append(f"description={description}")
    return lines + [""]


def exits(rows):
    return ["[exits]", f"number_of_exits={len(rows)}"] + \
        [f"exit.{i}={row}" for i, row in enumerate(rows)] + [""]


def effects_section(rows):
    return ["[effects]"] + rows + [""]


def b738(t: Tree):
    base = f"wineprefix/{B738}"
    liveries = [
        # n, title, sim, model, texture, airline, flight, variation, reg, parking
        (0, "Brackenhold 737-800 Fernquill Air", "Brackenhold_738", "", "fernquill",
         "FERNQUILL", "101", "Fernquill Air", "G-FQAA", "FQA"),
        (1, "Brackenhold 737-800 Brackenhold Airways", "Brackenhold_738", "", "brackenhold",
         "BRACKENHOLD", "2210", "Brackenhold Airways", "G-BKHA", "BKH,BKX"),
        (2, "Brackenhold 737-800 Aéro Tarn", "Brackenhold_738", "", "aerotarn",
         "AEROTARN", "87", "Aéro Tarn", "F-HATA", "ATN"),
        (3, "Brackenhold 737-800 Mossline retro", "Brackenhold_738", "", "mossline_retro",
         "MOSSLINE", "640", "Mossline (retro)", "EI-MSL", "MSL"),
        # the case differs from airlines.cfg on purpose: airlines match in capitals
        (4, "Brackenhold 737-800 Heather Jet (FS9 model)", "Brackenhold_738", "fs9", "",
         "HeatherJet", "12", "Heather Jet", "G-HTHR", "HJT"),
        (5, "Brackenhold 737-800F Quill Cargo (FS9 model)", "Brackenhold_738F", "fs9",
         "quillcargo", "QUILLCARGO", "3001", "Quill Cargo", "G-QCGO", "QCG"),
    ]
    lines = ["[Version]", "major=1", "minor=0", ""]
    for n, title, sim, model, texture, airline, flight, variation, reg, codes in liveries:
        comment = " // house colours" if n == 1 else ""
        description = None
        if n == 0:
            description = "Invented sample livery for Fernquill. No such airline exists."
        if n == 2:
            description = "Aéro Tarn: an invented airline // sample text"
        lines += fltsim(n, title, sim, model, texture, airline, flight, variation, reg, codes,
                        "Boeing", "737-800", comment, description)
    lines += ["[general]", "atc_type=BOEING", "atc_model=B738", "performance=Sample data only",
              "Category=Airplane", ""]
    lines += ["[airplane_geometry]", "wing_area=1341.0", "wing_span=117.5", "wing_root_chord=15.6",
              "wing_dihedral=6.0", ""]
    lines += exits([
        "0.4, 44.0, -7.0, 3.8, 0 //Main door",
        "0.4, 30.5, 7.0, 3.8, 1 //Galley service door",
        "0.6, -45.0, -7.0, 3.8, 1   //Rear cargo door",
    ])
    lines += effects_section([
        "wake=fx_wake",
        "water=fx_spray",
        "dirt=fx_tchdrt",
        "concrete=fx_sparks",
        "touchdown=fx_tchdwn, 1",
        "contrail=fx_contrail_l",
        "startup=fx_engstrt,1",
        "vaportrail_l=fx_vaportrail_l",
        "vaportrail_r=fx_vaportrail_r",
        "l_wingtipvortice=fx_wingtipvortice_l, 1",
        "r_wingtipvortice=fx_wingtipvortice_r, 1",
        "windshield_rain_effect_available=1",
    ])
    t.text(f"{base}/aircraft.cfg", lines)

    # the FSX model, and an FS9 model that two entries use
    t.text(f"{base}/model/Model.cfg", ["[models]", "normal=Brackenhold_738"])
    t.binary(f"{base}/model/Brackenhold_738.mdl", mdl_file(b"MDLX", 0))
    t.text(f"{base}/model.fs9/model.cfg", ["[models]", "normal=Brackenhold_738_fs9.mdl"])
    t.binary(f"{base}/model.fs9/Brackenhold_738_fs9.mdl", mdl_file(b"MDL9", 0x2C))

    # FSX flight models carry no aircraft-type record; the FS9-era freighter's does
    t.binary(f"{base}/Brackenhold_738.air", air_file([
        (0x101, b"FQ-SAMPLE\x00"),
        (0x3E8, b"B738 sample\x00"),
        (0x1F4, struct.pack("<f", 174200.0)),
    ]))
    t.binary(f"{base}/Brackenhold_738F.air", air_file([
        (0x101, b"FQ-SAMPLE\x00"),
        (0x105, air_type(0)),
        (0x106, struct.pack("<ff", 0.25, 0.5)),
    ]))

    for folder in ("texture.fernquill", "texture.brackenhold", "texture.aerotarn", "texture"):
        t.binary(f"{base}/{folder}/Brackenhold_738_T.dds", dds_file())
    t.binary(f"{base}/texture.fernquill/Brackenhold_738_L.dds", dds_file())
    t.binary(f"{base}/texture.quillcargo/Brackenhold_738_T.bmp", bmp_file())
    # no images of its own: it borrows the plain "texture" folder
    t.text(f"{base}/texture.mossline_retro/texture.cfg", [
        "[fltsim]",
        "fallback.1=..\\texture",
    ])


def faults(t: Tree):
    """An FSX aircraft whose validation report finds something in every group."""
    base = f"wineprefix/{FAULTS}"
    lines = []
    # numbered 0, 1, 3; entries 0 and 1 share a title; entry 1's texture folder
    # is missing; entry 3 flies for an airline that no airlines.cfg knows
    lines += fltsim(0, "Brackenhold A320 Fernway", "Brackenhold_A320", "", "fernway",
                    "FERNWAY", "450", "Fernway", "G-FWAY", "FWY", "Airbus", "A320")
    lines += fltsim(1, "Brackenhold A320 Fernway", "Brackenhold_A320", "", "mossline",
                    "MOSSLINE", "451", "Mossline", "EI-MSA", "MSL", "Airbus", "A320")
    lines += fltsim(3, "Brackenhold A320 Tarn Hopper", "Brackenhold_A320", "", "tarnhopper",
                    "TARNHOPPER", "9", "Tarn Hopper", "F-HTHP", "THP", "Airbus", "A320")
    lines += ["[general]", "atc_type=AIRBUS", "atc_model=A320", ""]
    lines += ["[airplane_geometry]", "wing_span=111.9", ""]
    lines += exits(["0.4, 36.0, -6.5, 3.6, 0 //Main door"])
    lines += effects_section([
        "wake=fx_wake",
        "touchdown=fx_tchdwn,1",
        "startup=fx_fernway_steam,1",  # no such effect file
        "contrail=fx_contrail_l",
    ])
    t.text(f"{base}/aircraft.cfg", lines)

    # saved by an editor that puts a UTF-8 byte-order mark in front
    t.binary(f"{base}/model/Model.cfg",
             b"\xef\xbb\xbf" + "[models]\r\nnormal=Brackenhold_A320\r\n".encode("cp1252"))
    t.binary(f"{base}/model/Brackenhold_A320.mdl", mdl_file(b"MDLX", 0))
    t.binary(f"{base}/Brackenhold_A320.air", air_file([
        (0x101, b"FQ-SAMPLE\x00"),
        (0x3E8, b"A320\x00\x00\x00\x00"),
    ]))
    t.binary(f"{base}/texture.fernway/Brackenhold_A320_T.dds", dds_file())
    t.binary(f"{base}/texture.tarnhopper/Brackenhold_A320_T.dds", dds_file())
    t.binary(f"{base}/texture.oldlivery/Brackenhold_A320_T.dds", dds_file())  # no entry uses it


def atr72(t: Tree):
    """An FS9 AI aircraft: MDL9 model with a radius byte, type record marking it AI."""
    base = f"wineprefix/{ATR}"
    lines = []
    liveries = [
        (0, "Brackenhold ATR 72 Fernway", "fernway", "FERNWAY", "1201", "Fernway", "G-FWAT", "FWY"),
        (1, "Brackenhold ATR 72 Heather Jet", "heather", "HEATHERJET", "77", "Heather Jet",
         "G-HTAT", "HJT"),
        (2, "Brackenhold ATR 72 Quill Regional", "quill", "QUILLREGIONAL", "305",
         "Quill Regional", "G-QRAT", "QRG"),
    ]
    for n, title, texture, airline, flight, variation, reg, codes in liveries:
        lines += fltsim(n, title, "Brackenhold_AT72", "", texture, airline, flight, variation,
                        reg, codes, "ATR", "72-500")
    lines += ["[General]", "atc_type=ATR", "atc_model=AT72", "performance=Sample data only", ""]
    lines += ["[airplane_geometry]", "wing_span=88.75", ""]
    lines += effects_section([
        "wake=fx_wake",
        "water=fx_spray",
        "dirt=fx_tchdrt",
        "concrete=fx_sparks",
        "touchdown=fx_tchdwn,1",
        "startup=fx_engstrt,1",
    ])
    t.text(f"{base}/aircraft.cfg", lines)
    t.text(f"{base}/model/model.cfg", ["[models]", "normal=Brackenhold_AT72"])
    t.binary(f"{base}/model/Brackenhold_AT72.mdl", mdl_file(b"MDL9", 0x1B))
    # the type record sits behind two others (lengths 10 and 0): header at 26, type at 34
    t.binary(f"{base}/Brackenhold_AT72.air", air_file([
        (0x101, b"FQ-SAMPLE\x00"),
        (0x102, b""),
        (0x105, air_type(2)),
        (0x3E8, b"AT72\x00\x00"),
    ]))
    for texture in ("fernway", "heather", "quill"):
        t.binary(f"{base}/texture.{texture}/Brackenhold_AT72_T.bmp", bmp_file())


def readme(t: Tree):
    (t.base / "README.md").write_text("""\
# Sample data

Everything here is invented for Fernquill and written by
`scripts/make_examples.py` (run it again to rebuild this folder; do not edit the
files by hand). No file comes from a simulator or any other product; the
airlines, registrations and liveries do not exist. `scripts/run-sample.sh`
starts Fernquill on a scratch copy of this folder.

`wineprefix/` is a tiny Wine prefix in which FS9 and FSX are "installed": the
registry (`system.reg`, `user.reg`), the `c:` drive link, each simulator's
`airlines.cfg` and a few placeholder effect files, and FSX's `fsx.cfg` with
three simulation-object folders. Text files are Windows-1252 with CR LF line
ends, as the simulators write them. The aircraft folders:

- `.../Microsoft Flight Simulator X/SimObjects/Airplanes/Brackenhold_B738`:
  the folder the sample run opens; six liveries, an FSX and an FS9 model, one
  `.air` file without and one with an aircraft-type record, a texture folder
  that borrows another through `texture.cfg`.
- `.../Microsoft Flight Simulator X/SimObjects/Airplanes/Brackenhold_A320_Faults`:
  made to fail validation: entries numbered 0, 1, 3, a duplicate title, a
  missing and an unused texture folder, an unknown airline, a missing effect
  file, a `Model.cfg` with a UTF-8 byte-order mark and an empty `panel` folder
  (git keeps no empty folders: the generator and the run script make it).
- `.../Flight Simulator 9/Aircraft/Brackenhold_ATR72`: an FS9 AI aircraft with
  an MDL9 model (radius byte 27) and an `.air` file of type AI.

Texture files are valid 1x1 bitmaps and 4x4 DXT1 surfaces; models and `.air`
files are a few dozen bytes holding only what Fernquill reads.
""", encoding="utf-8")


# ---------------------------------------------------------------- main

def main(argv):
    out = Path(argv[1]).resolve() if len(argv) > 1 else ROOT / "examples"
    if out.exists():
        # only ever replace a folder that this script wrote (or an empty one)
        if any(out.iterdir()) and not (out / "wineprefix" / "system.reg").exists():
            sys.exit(f"{out} exists and does not look like the sample folder; not touching it")
        shutil.rmtree(out)
    out.mkdir(parents=True)
    t = Tree(out)
    registry(t)
    fsx_cfg(t)
    simulators(t)
    b738(t)
    faults(t)
    atr72(t)
    for rel in EMPTY_FOLDERS:
        t.folder(f"wineprefix/{rel}")
    readme(t)
    print(f"Wrote {out}")


if __name__ == "__main__":
    main(sys.argv)
