#!/usr/bin/python3
"""Lists what a Linux library imports (the libraries it needs and the symbol versions it asks of
them) and fails unless a manylinux wheel of TAG may hold it: glibc's own libraries alone, at
symbol versions no newer than the glibc the tag names (manylinux_2_36_x86_64: GLIBC_2.36).

  check_glibc_imports.py TAG LIBRARY
"""
import re
import subprocess
import sys

GLIBC_LIBRARIES = {"libc.so.6", "libm.so.6", "libpthread.so.0", "libdl.so.2", "librt.so.1",
                   "libresolv.so.2", "libutil.so.1", "ld-linux-x86-64.so.2",
                   "ld-linux-aarch64.so.1"}


def readelf(option, library):
    return subprocess.run(["readelf", option, "-W", library], check=True, capture_output=True,
                          text=True).stdout


def problems(tag, library):
    newest = tuple(int(n) for n in re.match(r"manylinux_(\d+)_(\d+)_", tag).groups())
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]", readelf("-d", library))
    # The version-needs section: "File: libc.so.6 ..." then "Name: GLIBC_2.14 ..." lines.
    versions = re.findall(r"Name: (\S+)", readelf("-V", library).split("'.gnu.version_r'")[-1])
    print(f"{library}: needs {' '.join(needed)}; symbol versions {' '.join(sorted(set(versions)))}")
    found = [f"imports {name}, which is not glibc" for name in needed
             if name not in GLIBC_LIBRARIES]
    for version in sorted(set(versions)):
        number = re.fullmatch(r"GLIBC_(\d+)\.(\d+)(?:\.\d+)?", version)
        if not number:
            found.append(f"asks for symbol version {version}, which is not glibc's")
        elif tuple(int(n) for n in number.groups()) > newest:
            found.append(f"asks for {version}, newer than the tag's glibc {newest[0]}.{newest[1]}")
    return found


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    faults = problems(*sys.argv[1:])
    for fault in faults:
        print(f"{sys.argv[2]}: {fault}", file=sys.stderr)
    sys.exit(1 if faults else 0)
