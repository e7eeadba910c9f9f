#!/usr/bin/python3
"""Lists what a Linux program or library imports (the libraries it needs and the symbol versions
it asks of them) and fails unless a manylinux wheel of TAG may hold it: built for the tag's
processor, glibc's own libraries alone, at symbol versions no newer than the glibc the tag names
(manylinux_2_36_aarch64: GLIBC_2.36). The further LIBRARY names are allowed as well, with any
symbol version: what a program outside a wheel may ask of the system (the tool's libpng).

  check_glibc_imports.py TAG FILE [LIBRARY...]
"""
import re
import subprocess
import sys

GLIBC_LIBRARIES = {"libc.so.6", "libm.so.6", "libpthread.so.0", "libdl.so.2", "librt.so.1",
                   "libresolv.so.2", "libutil.so.1", "ld-linux-x86-64.so.2",
                   "ld-linux-aarch64.so.1"}
# The processor of a tag, as readelf -h names it.
MACHINES = {"x86_64": "Advanced Micro Devices X86-64", "aarch64": "AArch64"}


def readelf(option, path):
    return subprocess.run(["readelf", option, "-W", path], check=True, capture_output=True,
                          text=True).stdout


def problems(tag, path, allowed):
    found = re.fullmatch(r"manylinux_(\d+)_(\d+)_(\w+)", tag)
    newest, processor = (int(found[1]), int(found[2])), found[3]
    machine = re.search(r"Machine:\s+(.+)", readelf("-h", path))[1].strip()
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]", readelf("-d", path))
    # The version-needs section: "File: libc.so.6 ..." then its "Name: GLIBC_2.14 ..." lines.
    versions, library = set(), None
    for line in readelf("-V", path).split("'.gnu.version_r'")[-1].splitlines():
        if field := re.search(r"(File|Name): (\S+)", line):
            if field[1] == "File":
                library = field[2]
            elif library not in allowed:
                versions.add(field[2])
    print(f"{path}: {machine}; needs {' '.join(needed)}; "
          f"symbol versions {' '.join(sorted(versions))}")
    found = [] if machine == MACHINES[processor] else [f"is built for {machine}, not {processor}"]
    found += [f"imports {name}, which is not glibc" for name in needed
              if name not in GLIBC_LIBRARIES | allowed]
    for version in sorted(versions):
        number = re.fullmatch(r"GLIBC_(\d+)\.(\d+)(?:\.\d+)?", version)
        if not number:
            found.append(f"asks for symbol version {version}, which is not glibc's")
        elif tuple(int(n) for n in number.groups()) > newest:
            found.append(f"asks for {version}, newer than the tag's glibc {newest[0]}.{newest[1]}")
    return found


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    faults = problems(sys.argv[1], sys.argv[2], set(sys.argv[3:]))
    for fault in faults:
        print(f"{sys.argv[2]}: {fault}", file=sys.stderr)
    sys.exit(1 if faults else 0)
