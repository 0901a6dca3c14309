#!/usr/bin/env python3
"""Checks a Windows package: exactly Glimmora3D.scr, Glimmora3D.exe and
README.txt; the two programs the same bytes, GUI programs for the
package's machine (i386 for win32, x86-64 for win64); the read-me in CR LF
lines telling how to install and remove the saver.

    package_check.py ZIP win32|win64
"""
import struct
import sys
import zipfile

MACHINES = {"win32": (0x14C, 0x10B), "win64": (0x8664, 0x20B)}   # machine, optional-header magic
GUI_SUBSYSTEM = 2


def pe_facts(data):
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    return machine, magic, subsystem


def main():
    path, arch = sys.argv[1], sys.argv[2]
    errors = []
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad:
            errors.append(f"corrupt member {bad}")
        names = sorted(z.namelist())
        if names != ["Glimmora3D.exe", "Glimmora3D.scr", "README.txt"]:
            errors.append(f"members {names}")
        else:
            scr, exe, readme = z.read("Glimmora3D.scr"), z.read("Glimmora3D.exe"), z.read("README.txt")
            if scr != exe:
                errors.append("Glimmora3D.exe differs from Glimmora3D.scr")
            try:
                machine, magic, subsystem = pe_facts(scr)
                if (machine, magic) != MACHINES[arch]:
                    errors.append(f"machine 0x{machine:x} / magic 0x{magic:x} is not {arch}")
                if subsystem != GUI_SUBSYSTEM:
                    errors.append(f"subsystem {subsystem} is not GUI")
            except (ValueError, struct.error) as e:
                errors.append(f"Glimmora3D.scr: {e}")
            text = readme.decode("ascii", errors="replace")
            if readme.count(b"\n") == 0 or readme.count(b"\n") != readme.count(b"\r\n"):
                errors.append("README.txt lines do not all end in CR LF")
            if "@VERSION@" in text:
                errors.append("README.txt still has @VERSION@ where the version goes")
            for phrase in ("Install", "System32", "Removing", "Glimmora3D.exe", "Run As EXE"):
                if phrase not in text:
                    errors.append(f"README.txt does not mention {phrase!r}")
    if errors:
        for e in errors:
            print(f"{path}: {e}", file=sys.stderr)
        return 1
    print(f"{path}: {len(names)} files, {arch}, ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
