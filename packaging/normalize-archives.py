#!/usr/bin/env python3
"""Rewrites the archives CPack made so that they hold the same bytes wherever they are made.

CMake before 4.4 archives files in the order the file system lists them and with the owners it
gives them; here every member is in name order, owned by root, dated SOURCE_DATE_EPOCH, with
mode 755 or 644; in a .deb, its two tar members too, and Installed-Size counts the files' bytes
only (CPack adds the sizes the file system reports for folders, which differ between file
systems).
Usage: normalize-archives.py FILE.zip|FILE.tar.gz|FILE.deb ...
"""
import gzip
import io
import math
import os
import sys
import tarfile
import time
import zipfile

EPOCH = int(os.environ["SOURCE_DATE_EPOCH"])


def mode_of(mode, is_dir):
    return 0o755 if is_dir or mode & 0o111 else 0o644


def gzipped(data):
    out = io.BytesIO()
    with gzip.GzipFile(filename="", mode="wb", fileobj=out, mtime=0, compresslevel=9) as z:
        z.write(data)
    return out.getvalue()


def tar_of(members):
    """members: (TarInfo, bytes or None) in the order they are to be written."""
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.GNU_FORMAT) as tar:
        for info, data in members:
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            info.mtime = EPOCH
            info.mode = mode_of(info.mode, info.isdir())
            tar.addfile(info, io.BytesIO(data) if data is not None else None)
    return out.getvalue()


def read_tar(data):
    tar = tarfile.open(fileobj=io.BytesIO(data))
    return [(m, tar.extractfile(m).read() if m.isfile() else None) for m in tar.getmembers()]


def normal_tar_gz(data):
    return gzipped(tar_of(sorted(read_tar(data), key=lambda m: m[0].name)))


def normal_zip(data):
    source = zipfile.ZipFile(io.BytesIO(data))
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as target:
        for info in sorted(source.infolist(), key=lambda i: i.filename):
            member = zipfile.ZipInfo(info.filename, date_time=time.gmtime(EPOCH)[:6])
            member.create_system = 3  # Unix: the mode below is kept by unzip
            member.external_attr = mode_of(info.external_attr >> 16, info.is_dir()) << 16
            if info.is_dir():
                member.external_attr |= 0x10 | (0o040000 << 16)
                target.writestr(member, b"")
            else:
                member.external_attr |= 0o100000 << 16
                member.compress_type = zipfile.ZIP_DEFLATED
                target.writestr(member, source.read(info), compresslevel=9)
    return out.getvalue()


def ar_members(data):
    if not data.startswith(b"!<arch>\n"):
        sys.exit("normalize-archives: not an ar archive")
    members, at = [], 8
    while at < len(data):
        header = data[at:at + 60]
        size = int(header[48:58])
        members.append([header, data[at + 60:at + 60 + size]])
        at += 60 + size + (size % 2)
    return members


def normal_deb(data):
    members = ar_members(data)
    names = [header[:16].decode().strip().rstrip("/") for header, _ in members]

    def replace(name, body):
        header = members[names.index(name)][0]
        members[names.index(name)] = [header[:48] + str(len(body)).ljust(10).encode() +
                                      header[58:], body]

    files = sorted(read_tar(gzip.decompress(members[names.index("data.tar.gz")][1])),
                   key=lambda m: m[0].name)
    size = sum(len(content) for info, content in files if info.isfile())
    control = read_tar(gzip.decompress(members[names.index("control.tar.gz")][1]))
    for i, (info, content) in enumerate(control):
        if info.name.lstrip("./") == "control":
            lines = [line for line in content.decode().split("\n")
                     if not line.startswith("Installed-Size:")]
            lines.insert(-2, f"Installed-Size: {math.ceil(size / 1024)}")
            content = "\n".join(lines).encode()
            info.size = len(content)
            control[i] = (info, content)
    replace("control.tar.gz", gzipped(tar_of(control)))
    replace("data.tar.gz", gzipped(tar_of(files)))
    out = b"!<arch>\n"
    for header, content in members:
        out += header + content + (b"\n" if len(content) % 2 else b"")
    return out


def main():
    for path in sys.argv[1:]:
        with open(path, "rb") as f:
            data = f.read()
        if path.endswith(".zip"):
            data = normal_zip(data)
        elif path.endswith(".tar.gz"):
            data = normal_tar_gz(data)
        elif path.endswith(".deb"):
            data = normal_deb(data)
        else:
            sys.exit(f"normalize-archives: unknown kind of archive: {path}")
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
