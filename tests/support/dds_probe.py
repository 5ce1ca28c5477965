#!/usr/bin/python3
"""Independent look at a DDS file for the tests: Pillow decodes level 0, and
the file's size is checked against the DXT1 mip chain its header declares.

Prints one "key value" line each: width, height, mips, fourcc, chain (ok or
bad), mode. With --png OUT it also writes level 0 as an RGBA PNG."""
import struct
import sys

from PIL import Image


def block_bytes(fourcc):
    return {b"DXT1": 8, b"DXT3": 16, b"DXT5": 16}.get(fourcc)


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 128 or data[:4] != b"DDS ":
        print("error not a DDS file")
        return 1
    height, width = struct.unpack_from("<II", data, 12)
    mips = struct.unpack_from("<I", data, 28)[0] or 1
    fourcc = data[84:88]
    per_block = block_bytes(fourcc)
    expected = 128
    w, h = width, height
    for _ in range(mips):
        expected += max(1, (w + 3) // 4) * max(1, (h + 3) // 4) * (per_block or 0)
        w, h = max(1, w // 2), max(1, h // 2)
    image = Image.open(path)
    image.load()
    print("width", image.size[0])
    print("height", image.size[1])
    print("header_width", width)
    print("header_height", height)
    print("mips", mips)
    print("fourcc", fourcc.decode("latin-1"))
    print("chain", "ok" if per_block and expected == len(data) else "bad")
    print("mode", image.mode)
    if len(sys.argv) > 3 and sys.argv[2] == "--png":
        image.convert("RGBA").save(sys.argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main())
