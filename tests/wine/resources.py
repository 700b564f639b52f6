"""The resources of the built sudoku.exe, read from the file: every resource in one language
(Russian, the language of the version strings), the version strings with the company and the
copyright, and the icon with 32-bit images from 16 to 256 pixels.
Usage: resources.py SUDOKU_EXE VENDOR"""
import struct
import sys

RT_ICON_GROUP, RT_VERSION, RUSSIAN = 14, 16, 0x0419


def resources(data):
    """(type, name, language, bytes) of every resource of a PE32+ or PE32 file."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    directories = 112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96  # PE32+, PE32
    rva, _ = struct.unpack_from("<II", data, optional + directories + 2 * 8)  # data directory 2: resources

    def offset(addr):
        for i in range(sections):
            vsize, vaddr, _, raw = struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
            if vaddr <= addr < vaddr + max(vsize, 1):
                return raw + addr - vaddr
        raise ValueError(f"RVA {addr:#x} in no section")

    base = offset(rva)

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + at + 16 + 8 * i)
            yield name, target

    out = []
    for rtype, t in entries(0):
        for name, n in entries(t & 0x7FFFFFFF):
            for lang, leaf in entries(n & 0x7FFFFFFF):
                addr, size = struct.unpack_from("<II", data, base + leaf)
                out.append((rtype, name, lang, data[offset(addr):offset(addr) + size]))
    return out


def main():
    exe, vendor = sys.argv[1], sys.argv[2]
    with open(exe, "rb") as f:
        res = resources(f.read())
    errors = []
    langs = sorted({lang for _, _, lang, _ in res})
    if langs != [RUSSIAN]:
        errors.append("resource languages %s, not Russian (0x0419) alone" % [hex(x) for x in langs])
    version = [b for t, _, _, b in res if t == RT_VERSION]
    if len(version) != 1:
        errors.append(f"{len(version)} version resources")
    else:
        text = version[0].decode("utf-16-le", "replace")
        for key, value in (("CompanyName", vendor), ("LegalCopyright", "© 2026 " + vendor),
                           ("ProductName", "Судоку")):
            if f"{key}\0{value}\0" not in text.replace("\0\0", "\0"):
                errors.append(f"the version strings lack {key} = {value}")
        if "041904B0" not in text or struct.pack("<HH", RUSSIAN, 1200) not in version[0]:
            errors.append("the version strings are not Russian (041904B0, translation 0x0419 1200)")
    groups = [b for t, _, _, b in res if t == RT_ICON_GROUP]
    if len(groups) != 1:
        errors.append(f"{len(groups)} icon groups")
    else:
        count = struct.unpack_from("<H", groups[0], 4)[0]
        images = [struct.unpack_from("<BBxxHH", groups[0], 6 + 14 * i) for i in range(count)]
        sizes = sorted(w or 256 for w, _, _, _ in images)
        if sizes[0] != 16 or sizes[-1] != 256 or any(bits != 32 for _, _, _, bits in images):
            errors.append(f"icon images {[(w or 256, bits) for w, _, _, bits in images]} (size, bits): "
                          "want 32-bit images from 16 to 256 px")
    if errors:
        print("FAILED: " + "; ".join(errors))
        sys.exit(1)
    print(f"passed: {len(res)} resources in Russian; version strings and icon ({sizes}) as wanted")


main()
