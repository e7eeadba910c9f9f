#!/usr/bin/python3
"""Writes the release's zip archives with the same bytes for the same inputs: entries in name
order, every time SOURCE_DATE_EPOCH (at least 1980, the zip format's first), fixed permissions.

  pack.py zip OUT.zip ENTRY=FILE...
      an archive of these files under these names
  pack.py wheel OUTDIR VERSION PLATFORM LIBRARY README LICENSE
      the VapourSynth wheel velmire-VERSION-py3-none-PLATFORM.whl: LIBRARY as
      vapoursynth/plugins/<its name>, and the metadata (README as the description)

Python 3.11's standard library alone, as Debian 12 has it.
"""
import base64
import hashlib
import os
import sys
import time
import zipfile

SUMMARY = "Velmire cross-colour reduction: a VapourSynth plug-in"


def entry_time():
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "315532800")), 315532800)
    return time.gmtime(epoch)[:6]


def write_zip(path, entries):
    """entries: name -> bytes; libraries get mode 755, the rest 644."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=entry_time())
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so the permissions below are read
            mode = 0o755 if name.endswith((".so", ".dll")) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            archive.writestr(info, entries[name])


def read(path):
    with open(path, "rb") as f:
        return f.read()


def record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}\n"


def wheel(outdir, version, platform, library, readme, license_file):
    info = f"velmire-{version}.dist-info"
    metadata = (
        "Metadata-Version: 2.1\n"
        "Name: velmire\n"
        f"Version: {version}\n"
        f"Summary: {SUMMARY}\n"
        "Author: The Velmire developers\n"
        "License: MIT\n"
        "Classifier: License :: OSI Approved :: MIT License\n"
        "Classifier: Topic :: Multimedia :: Video\n"
        "Requires-Python: >=3.12\n"
        "Requires-Dist: vapoursynth>=74\n"
        "Description-Content-Type: text/markdown\n"
        "\n").encode() + read(readme)
    tag = f"py3-none-{platform}"
    wheel_file = ("Wheel-Version: 1.0\n"
                  "Generator: velmire scripts/release/pack.py\n"
                  "Root-Is-Purelib: false\n"
                  f"Tag: {tag}\n").encode()
    entries = {
        "vapoursynth/plugins/" + os.path.basename(library): read(library),
        f"{info}/METADATA": metadata,
        f"{info}/WHEEL": wheel_file,
        f"{info}/LICENSE": read(license_file),
    }
    record = "".join(record_line(name, entries[name]) for name in sorted(entries))
    entries[f"{info}/RECORD"] = (record + f"{info}/RECORD,,\n").encode()
    path = os.path.join(outdir, f"velmire-{version}-{tag}.whl")
    write_zip(path, entries)
    return path


def main(argv):
    if len(argv) >= 3 and argv[1] == "zip":
        entries = {}
        for pair in argv[3:]:
            name, _, source = pair.partition("=")
            entries[name] = read(source)
        write_zip(argv[2], entries)
    elif len(argv) == 8 and argv[1] == "wheel":
        wheel(*argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
