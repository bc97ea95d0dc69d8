#!/usr/bin/env python3
"""Writes the ZIP archives that the markup tests read back.

usage: make_zip_fixtures.py OUTPUT_DIR CMAKE

A small file tree (nested folders, an empty file, a large compressible
file, a UTF-8 name) is packed by three real tools: Info-ZIP's zip,
Python's zipfile (stored and deflated) and CMake's archive writer. A skin
archive with the paths the program uses is written as well.
"""
import os
import shutil
import subprocess
import sys
import zipfile

TREE_FILES = {
    "top.txt": b"top level text\r\n",
    "empty.txt": b"",
    "nested/deeper/leaf.xml": b'<Window size="10,10"><VBox/></Window>\n',
    "big/compressible.bin": b"".join(b"line %06d of a large compressible file\n" % i for i in range(60000)),
    "\u00fcn\u00efcode/\u540d\u524d.txt".encode(): "unicode name \u540d\u524d\n".encode(),
}

SKIN_FILES = {
    "resources/themes/default/ControlPanel/MainForm.xml":
        b'<?xml version="1.0" encoding="utf-8"?>\n<Window size="800,600"><VBox name="main"/></Window>\n',
    "resources/themes/default/global.xml":
        b'<Global defaultfontcolor="white"><Font id="archive_font" name="Arial" size="13"/>'
        b'<TextColor name="white" value="#FFFFFFFF"/></Global>',
    "resources/themes/default/bom.xml": b"\xef\xbb\xbf<Window/>",
    "resources/lang/zh_CN/gdstrings.ini":
        b"\xef\xbb\xbf; language strings\r\nSTRING_OK = OK\r\nSTRING_TWO_LINES = first\\nsecond\r\n",
}


def write_tree(root):
    for name, data in TREE_FILES.items():
        path = os.path.join(root, os.fsdecode(name) if isinstance(name, bytes) else name)
        os.makedirs(os.path.dirname(path) or root, exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def tree_members(root):
    members = []
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files):
            members.append(os.path.relpath(os.path.join(folder, name), root))
    return members


def python_zip(path, root, compression):
    with zipfile.ZipFile(path, "w", compression) as archive:
        for member in tree_members(root):
            archive.write(os.path.join(root, member), member.replace(os.sep, "/"))


def write_seeds(seeds, cmake, env):
    """Small archives of every kind as a starting corpus for the ZIP fuzzer."""
    small = os.path.join(seeds, "small")
    os.makedirs(os.path.join(small, "dir"))
    with open(os.path.join(small, "a.txt"), "wb") as f:
        f.write(b"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n")
    with open(os.path.join(small, "dir", "e.txt"), "wb") as f:
        pass
    subprocess.run(["zip", "-q", "-r", "-X", "../zip.zip", "."], cwd=small, env=env, check=True)
    subprocess.run(["zip", "-q", "-r", "-X", "-P", "secret", "../zip-encrypted.zip", "."], cwd=small, env=env,
                   check=True)
    subprocess.run([cmake, "-E", "tar", "cf", "../cmake.zip", "--format=zip", "a.txt", "dir/e.txt"], cwd=small,
                   check=True)
    for name, compression in (("python-stored.zip", zipfile.ZIP_STORED), ("python-deflated.zip", zipfile.ZIP_DEFLATED)):
        python_zip(os.path.join(seeds, name), small, compression)
    shutil.rmtree(small)


def main():
    out, cmake = sys.argv[1], sys.argv[2]
    tree = os.path.join(out, "tree")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(tree)
    write_tree(tree)
    if shutil.which("zip") is None:
        sys.exit("the zip program is missing (Debian package zip)")
    env = dict(os.environ, LC_ALL="C.UTF-8")
    subprocess.run(["zip", "-q", "-r", "-X", os.path.join(out, "zip-tool.zip"), "."], cwd=tree, env=env, check=True)
    subprocess.run(["zip", "-q", "-r", "-X", "-P", "secret", os.path.join(out, "zip-tool-encrypted.zip"), "."],
                   cwd=tree, env=env, check=True)
    python_zip(os.path.join(out, "python-stored.zip"), tree, zipfile.ZIP_STORED)
    python_zip(os.path.join(out, "python-deflated.zip"), tree, zipfile.ZIP_DEFLATED)
    subprocess.run([cmake, "-E", "tar", "cf", os.path.join(out, "cmake-tar.zip"), "--format=zip", "--mtime=2024-01-01"]
                   + tree_members(tree), cwd=tree, check=True)
    write_seeds(os.path.join(out, "seeds"), cmake, env)
    with zipfile.ZipFile(os.path.join(out, "skin.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in SKIN_FILES.items():
            archive.writestr(name, data)
    with zipfile.ZipFile(os.path.join(out, "sanitise.zip"), "w") as archive:
        for name in ["C:/abs/x.txt", "/lead.txt", "x\\..\\y.txt", "dir/../z.txt", "D:\\\\d:/twice.txt",
                     "plain/name.txt"]:
            info = zipfile.ZipInfo("placeholder")
            info.filename = name
            archive.writestr(info, name.encode())
    with open(os.path.join(out, "stamp"), "w") as f:
        f.write("ok\n")


if __name__ == "__main__":
    main()
