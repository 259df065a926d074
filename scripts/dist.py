#!/usr/bin/env python3
"""Writes the release: the archives players download and their checksums.

  scripts/dist.py [--out DIR] [--win32 DIR] [--linux-qlmk FILE]

writes into DIR (default dist/):
  quillmark-<version>-win32.zip         quillmark.exe, qlmk.exe, language/, README.txt (CRLF),
                                        LICENSE.txt, THIRD-PARTY-NOTICES.txt
  quillmark-<version>-linux-x86_64.tar.gz
                                        qlmk with qlmksfx.exe and restore.exe beside it (so that
                                        patch build and backup work from the folder), and the same
                                        texts
  SHA256SUMS                            sha256sum's format

from the programs the win32 build (default build/win32) and the host release build (default
build/host-release/qlmk/qlmk) have built. Each archive holds one folder, quillmark-<version>.

The archives are reproducible: two runs over the same programs give the same bytes, whatever
the clock, time zone or umask. Entries come in a fixed order with fixed owners and modes, and
every time in them is SOURCE_DATE_EPOCH (from the environment, else the time of the source
tree's last commit). Before writing, the programs are checked: each carries the version of the
top CMakeLists.txt, no Windows program's header holds a link time (0 or SOURCE_DATE_EPOCH),
no program holds the source or build folder's path, and every library a program links has its
notice under resources/dist/notices/. After writing, each archive's list of entries is read back
and compared with the list expected from the sources (the language files from
resources/language/languages.txt, when it exists).

Exit status 0 when everything was written and checked; otherwise 1 and one line per problem.
"""

import argparse
import gzip
import hashlib
import io
import os
import re
import struct
import subprocess
import sys
import tarfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NOTICES = os.path.join(ROOT, "resources", "dist", "notices")

# Libraries whose notice goes into an archive when a program of it links them: found by a
# shared library's name among an ELF program's needs, or by a text the library compiles into
# every program that links it statically.
LIBRARIES = [
    # (notice file, ELF sonames, texts inside statically linked programs)
    ("zlib.txt", ["libz.so"], [b"Jean-loup Gailly", b"inflate 1."]),
    ("libjpeg-turbo.txt", ["libjpeg.so", "libturbojpeg.so"], [b"libjpeg-turbo Project"]),
    ("libpng.txt", ["libpng16.so", "libpng.so"], [b"libpng version"]),
    ("giflib.txt", ["libgif.so"], [b"Image is defective, decoding aborted"]),
]
# Compiled in from headers, with nothing to find in the programs: always named.
ALWAYS = ["stb.txt"]
WINDOWS_RUNTIME = "mingw-w64.txt"
# Shared libraries of the system itself, which every Linux has and nothing ships.
SYSTEM_SONAMES = ["libc.so", "libm.so", "libstdc++.so", "libgcc_s.so", "ld-linux", "libpthread.so", "libdl.so"]


class DistError(Exception):
    pass


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        m = re.search(r"project\(\s*\w+\s+VERSION\s+([0-9.]+)", f.read())
    if not m:
        raise DistError("CMakeLists.txt: no project(... VERSION ...)")
    return m.group(1)


def source_date_epoch():
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if not value:
        try:
            value = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], check=True,
                                   capture_output=True, text=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError) as e:
            raise DistError("no SOURCE_DATE_EPOCH and no git history to take it from (%s)" % e)
    if not value.isdigit() or int(value) < 315532800:  # zip times start in 1980
        raise DistError("SOURCE_DATE_EPOCH is not a time after 1980: %r" % value)
    return int(value)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise DistError("%s: %s (build the win32 and host-release presets first)" % (path, e.strerror))


def pe_time_stamp(data, path):
    if data[:2] != b"MZ" or len(data) < 0x40:
        raise DistError("%s: not a Windows program" % path)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if pe + 12 > len(data) or data[pe:pe + 4] != b"PE\0\0":
        raise DistError("%s: not a Windows program" % path)
    return struct.unpack_from("<I", data, pe + 8)[0]


def elf_needed(path):
    try:
        out = subprocess.run(["readelf", "-d", path], check=True, capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        raise DistError("%s: readelf cannot read it (%s)" % (path, e))
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", out)


def notices_for(programs):
    """The notice files for the programs {name: (path, bytes)} of an archive, in a fixed order."""
    names = list(ALWAYS)
    if any(data[:2] == b"MZ" for _, data in programs.values()):
        names.append(WINDOWS_RUNTIME)
    unknown = []
    for name, (path, data) in sorted(programs.items()):
        needed = [] if data[:2] == b"MZ" else elf_needed(path)
        for soname in needed:
            known = any(soname.startswith(s) for _, sonames, _ in LIBRARIES for s in sonames)
            if not known and not any(soname.startswith(s) for s in SYSTEM_SONAMES):
                unknown.append("%s links %s, which has no notice in resources/dist/notices" % (name, soname))
        for notice, sonames, texts in LIBRARIES:
            linked = any(n.startswith(s) for n in needed for s in sonames) or any(t in data for t in texts)
            if linked and notice not in names:
                names.append(notice)
    if unknown:
        raise DistError("; ".join(unknown))
    order = [n for n, _, _ in LIBRARIES[:1]] + ALWAYS + [WINDOWS_RUNTIME] + [n for n, _, _ in LIBRARIES[1:]]
    return sorted(names, key=order.index)


def notices_text(version, names):
    rule = "=" * 78 + "\n"
    text = ("Quillmark %s contains the following libraries of others. Their licences\n"
            "and notices follow, one after the other.\n\n" % version)
    for name in names:
        with open(os.path.join(NOTICES, name), encoding="utf-8") as f:
            text += rule + "\n" + f.read().rstrip("\n") + "\n\n"
    return text


def check_program(name, path, data, epoch, windows):
    problems = []
    for folder in {ROOT, os.path.realpath(ROOT)}:
        if folder.encode() in data:
            problems.append("%s holds the build path %s" % (name, folder))
    if windows:
        stamp = pe_time_stamp(data, path)
        if stamp not in (0, epoch):
            problems.append("%s: the PE header's time stamp %d is neither 0 nor SOURCE_DATE_EPOCH (%d): the "
                            "linker wrote its clock into it" % (name, stamp, epoch))
    return problems


def language_files(win32):
    """The language files the win32 build wrote, and those languages.txt says it must write."""
    folder = os.path.join(win32, "bin", "language")
    built = sorted(f for f in os.listdir(folder) if f.upper().endswith(".INI")) if os.path.isdir(folder) else []
    expected = []
    listing = os.path.join(ROOT, "resources", "language", "languages.txt")
    if os.path.exists(listing):
        with open(listing, encoding="utf-8") as f:
            for line in f:
                fields = line.split("#", 1)[0].split()
                if fields:
                    for code in [fields[0]] + fields[2:]:
                        expected += ["QLMK%s.INI" % code, "QLSX%s.INI" % code]
    return built, sorted(expected)


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def zip_bytes(top, entries, epoch):
    """entries: [(relative name, bytes or None for a folder, executable)] in archive order."""
    stamp = time.gmtime(epoch)[:6]
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        for name, data, executable in entries:
            info = zipfile.ZipInfo(top + "/" + name, date_time=stamp)
            info.create_system = 3  # Unix, so that the modes below are read
            if data is None:
                info.external_attr = (0o40755 << 16) | 0x10
                z.writestr(info, b"")
            else:
                info.external_attr = (0o100755 if executable else 0o100644) << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                z.writestr(info, data, compresslevel=9)
    return out.getvalue()


def tar_gz_bytes(top, entries, epoch):
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.USTAR_FORMAT) as t:
        for name, data, executable in entries:
            info = tarfile.TarInfo(top + "/" + name)
            info.mtime = epoch
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            if data is None:
                info.type = tarfile.DIRTYPE
                info.mode = 0o755
                t.addfile(info)
            else:
                info.size = len(data)
                info.mode = 0o755 if executable else 0o644
                t.addfile(info, io.BytesIO(data))
    out = io.BytesIO()
    with gzip.GzipFile(filename="", mode="wb", fileobj=out, mtime=0, compresslevel=9) as g:
        g.write(raw.getvalue())
    return out.getvalue()


def listed(path):
    if path.endswith(".zip"):
        with zipfile.ZipFile(path) as z:
            return [i.filename for i in z.infolist()]
    with tarfile.open(path, "r:gz") as t:
        return [m.name + ("/" if m.isdir() else "") for m in t.getmembers()]


def write_whole(path, data):
    """Writes beside the target and renames, so a reader never sees half an archive."""
    temp = path + ".part"
    with open(temp, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(temp, path)


def main():
    parser = argparse.ArgumentParser(description="Write the release archives and their checksums.")
    parser.add_argument("--out", default=os.path.join(ROOT, "dist"))
    parser.add_argument("--win32", default=os.path.join(ROOT, "build", "win32"))
    parser.add_argument("--linux-qlmk", default=os.path.join(ROOT, "build", "host-release", "qlmk", "qlmk"))
    args = parser.parse_args()

    version = project_version()
    epoch = source_date_epoch()
    top = "quillmark-" + version

    windows = {
        "quillmark.exe": os.path.join(args.win32, "bin", "quillmark.exe"),
        "qlmk.exe": os.path.join(args.win32, "qlmk", "qlmk.exe"),
        "qlmksfx.exe": os.path.join(args.win32, "bin", "qlmksfx.exe"),
        "restore.exe": os.path.join(args.win32, "bin", "restore.exe"),
    }
    programs = {name: (path, read(path)) for name, path in windows.items()}
    programs["qlmk"] = (args.linux_qlmk, read(args.linux_qlmk))

    problems = []
    for name, (path, data) in sorted(programs.items()):
        problems += check_program(name, path, data, epoch, name.endswith(".exe"))
    built_version = read(os.path.join(args.win32, "resources", "program_version.h"))
    if b'"%s"' % version.encode() not in built_version:
        problems.append("the win32 build carries another version than %s: rebuild it" % version)
    try:
        said = subprocess.run([args.linux_qlmk, "--version"], check=True, capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        said = str(e)
    if said.strip() != "qlmk " + version:
        problems.append("%s --version says %r, not 'qlmk %s': rebuild it" % (args.linux_qlmk, said.strip(), version))
    built, expected = language_files(args.win32)
    if built != expected:
        problems.append("the win32 build's bin/language holds %s, languages.txt asks for %s" % (built, expected))
    if problems:
        raise DistError("\n".join(problems))

    with open(os.path.join(ROOT, "resources", "dist", "README.txt"), encoding="utf-8") as f:
        readme = f.read().replace("@VERSION@", version)
    with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as f:
        licence = f.read()

    def texts(contents, names, line_end):
        return [("README.txt", line_end(readme.replace("@CONTENTS@", contents)).encode("utf-8"), False),
                ("LICENSE.txt", line_end(licence).encode("utf-8"), False),
                ("THIRD-PARTY-NOTICES.txt", line_end(notices_text(version, names)).encode("utf-8"), False)]

    win_contents = ("  quillmark.exe   the editor\n"
                    "  qlmk.exe        the command-line tool, for a command prompt and scripts\n"
                    "  language\\       the texts of the editor and the patcher in other languages\n"
                    "  README.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt")
    # The editor carries the two stub programs inside it, so their libraries count too; qlmk.exe
    # takes them out of quillmark.exe beside it, so the zip needs no stub files of its own.
    win_programs = {n: programs[n] for n in ("quillmark.exe", "qlmk.exe", "qlmksfx.exe", "restore.exe")}
    win_entries = [("", None, False),
                   ("quillmark.exe", programs["quillmark.exe"][1], True),
                   ("qlmk.exe", programs["qlmk.exe"][1], True)]
    if built:
        win_entries.append(("language/", None, False))
        win_entries += [("language/" + f, read(os.path.join(args.win32, "bin", "language", f)), False) for f in built]
    win_entries += texts(win_contents, notices_for(win_programs), crlf)

    linux_contents = ("  qlmk            the command-line tool (Linux, x86-64)\n"
                      "  qlmksfx.exe     the patcher program, which qlmk patch build writes out\n"
                      "  restore.exe     the restore program, which qlmk backup writes out\n"
                      "  README.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt")
    linux_entries = [("", None, False),
                     ("qlmk", programs["qlmk"][1], True),
                     ("qlmksfx.exe", programs["qlmksfx.exe"][1], False),
                     ("restore.exe", programs["restore.exe"][1], False)]
    linux_programs = {n: programs[n] for n in ("qlmk", "qlmksfx.exe", "restore.exe")}
    linux_entries += texts(linux_contents, notices_for(linux_programs), lambda t: t)

    # What each archive must hold, from the sources alone.
    text_names = ["README.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"]
    win_layout = ["", "quillmark.exe", "qlmk.exe"]
    if expected:
        win_layout += ["language/"] + ["language/" + f for f in expected]
    linux_layout = ["", "qlmk", "qlmksfx.exe", "restore.exe"]

    os.makedirs(args.out, exist_ok=True)
    archives = {
        "%s-win32.zip" % top: (zip_bytes(top, win_entries, epoch), win_layout + text_names),
        "%s-linux-x86_64.tar.gz" % top: (tar_gz_bytes(top, linux_entries, epoch), linux_layout + text_names),
    }
    sums = ""
    for name, (data, layout) in sorted(archives.items()):
        path = os.path.join(args.out, name)
        write_whole(path, data)
        want = [top + "/" + entry for entry in layout]
        got = listed(path)
        if got != want:
            raise DistError("%s: holds %s, expected %s" % (path, got, want))
        sums += "%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
        print("%s: %d bytes, %d entries" % (path, len(data), len(got)))
        for entry in got:
            print("  " + entry)
    write_whole(os.path.join(args.out, "SHA256SUMS"), sums.encode())
    print("%s:\n%s" % (os.path.join(args.out, "SHA256SUMS"), sums), end="")


if __name__ == "__main__":
    try:
        main()
    except DistError as e:
        for line in str(e).splitlines():
            print("dist: " + line, file=sys.stderr)
        sys.exit(1)
