#!/usr/bin/env python3
"""Builds the inputs and packages the end-to-end tests run.

Sound packages are built by scrpack when its path is given (the way users
build them); otherwise, and always for the damaged and hostile packages that
scrpack refuses to build, the layout is written here directly: the installer,
the screen saver, the picture, the text, then the 72-byte trailer.
"""
import argparse
import hashlib
import pathlib
import shutil
import struct
import subprocess
import sys

RED, BLUE = (0xD0, 0x20, 0x20), (0x20, 0x40, 0xD0)
GREEN, YELLOW = (0x20, 0xA0, 0x40), (0xE0, 0xC0, 0x20)
DARK_GREY, LIGHT_GREY = (0x40, 0x40, 0x40), (0xC0, 0xC0, 0xC0)

# Mixed line breaks, an empty line, a long line that must wrap, a character
# of the upper half of the code page, and a zero byte that ends the text.
TEXT = (b"Aurora screen saver\r\n"
        b"Version 1.0\n\n"
        b"Soft curtains of light drift across the screen while the computer rests; "
        b"they fade as soon as a key is pressed or the mouse moves.\r"
        b"Caf\xe9 edition\n"
        b"Enjoy!\r\n\x00This part is never shown.\r\n")
TEXT_LINES = (b"Aurora screen saver\nVersion 1.0\n\n"
              b"Soft curtains of light drift across the screen while the computer rests; "
              b"they fade as soon as a key is pressed or the mouse moves.\n"
              b"Caf\xe9 edition\nEnjoy!\n")

LONG_NAME = "Northern Lights Drifting Over Silent Frozen Fjords!"  # 51 characters


def screen_saver() -> bytes:
    """A stand-in .scr: an MZ header and 6000 bytes that include every value."""
    data = bytearray(b"MZ")
    block = b"screen saver"
    while len(data) < 6000:
        block = hashlib.sha256(block).digest()
        data += block
    data += bytes(range(256))
    return bytes(data)


def bmp_split(width: int, height: int, left, right) -> bytes:
    """A 24-bit bottom-up Windows bitmap, left half one colour, right half another."""
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for _ in range(height):
        row = bytearray()
        for x in range(width):
            r, g, b = left if x < width // 2 else right
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0, 14 + len(header))
    return file_header + header + bytes(rows)


def jpeg_split(path: pathlib.Path, left, right, grey=False) -> bytes:
    convert = shutil.which("convert")
    if convert is None:
        sys.exit("make_packages: ImageMagick's convert is needed for the JPEG fixture")
    colour = lambda c: "#%02X%02X%02X" % c
    subprocess.run([convert, "-size", "32x32", "xc:" + colour(left), "-size", "32x32", "xc:" + colour(right),
                    "+append", "-quality", "95", "-sampling-factor", "1x1"] +
                   (["-colorspace", "Gray"] if grey else []) + [str(path)], check=True)
    return path.read_bytes()


def length_prefixed(text: bytes, field: int, length=None) -> bytes:
    length = len(text) if length is None else length
    return (bytes((length,)) + text).ljust(field, b"\0")[:field]


def trailer(name: bytes, saver_size: int, picture_size=0, picture_type=b"", text_size=0,
            name_length=None) -> bytes:
    return (length_prefixed(name, 52, name_length) + struct.pack("<i", picture_size) +
            length_prefixed(picture_type, 8) + struct.pack("<ii", text_size, saver_size))


def hand_package(stub: bytes, saver: bytes, picture=b"", picture_type=b"", text=b"", name=b"",
                 **overrides) -> bytes:
    fields = dict(saver_size=len(saver), picture_size=len(picture), picture_type=picture_type,
                  text_size=len(text))
    fields.update(overrides)
    return stub + saver + picture + text + trailer(name, **fields)


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("--installer", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--scrpack", default="")
    parser.add_argument("--starfield", default="", help="a real screen saver to pack as StarfieldSetup.exe")
    args = parser.parse_args()

    out = pathlib.Path(args.out)
    inputs = out / "inputs"
    inputs.mkdir(parents=True, exist_ok=True)
    stub = pathlib.Path(args.installer).read_bytes()

    saver = screen_saver()
    (inputs / "saver.scr").write_bytes(saver)
    (inputs / "readme.txt").write_bytes(TEXT)
    (inputs / "readme.lines").write_bytes(TEXT_LINES)
    jpeg = jpeg_split(inputs / "picture.jpg", RED, BLUE)
    jpeg_split(inputs / "grey.jpg", DARK_GREY, LIGHT_GREY, grey=True)
    bmp = bmp_split(33, 17, GREEN, YELLOW)  # odd width: rows carry padding
    (inputs / "picture.bmp").write_bytes(bmp)

    def build(file: str, name: str, picture=None, text=None, saver_file="saver.scr") -> None:
        target = out / file
        if args.scrpack:
            command = [args.scrpack, "build", "--stub", args.installer, "--saver", str(inputs / saver_file),
                       "--name", name, "-o", str(target)]
            if picture:
                command += ["--picture", str(inputs / picture)]
            if text:
                command += ["--text", str(inputs / text)]
            target.unlink(missing_ok=True)
            subprocess.run(command, check=True)
        else:
            picture_bytes = (inputs / picture).read_bytes() if picture else b""
            picture_type = pathlib.Path(picture).suffix.encode() if picture else b""
            text_bytes = (inputs / text).read_bytes() if text else b""
            saver_bytes = (inputs / saver_file).read_bytes()
            target.write_bytes(hand_package(stub, saver_bytes, picture_bytes, picture_type, text_bytes, name.encode()))

    def write(file: str, data: bytes) -> None:
        (out / file).write_bytes(data)

    build("AuroraSetup.exe", "Aurora", "picture.jpg", "readme.txt")
    if args.starfield:
        shutil.copyfile(args.starfield, inputs / "Starfield.scr")
        build("StarfieldSetup.exe", "Starfield", "picture.jpg", "readme.txt", saver_file="Starfield.scr")
    build("MeadowSetup.exe", "Meadow", "picture.bmp")
    build("PlainSetup.exe", "Plain")
    build("GreySetup.exe", "Grey", "grey.jpg")
    build("LongNameSetup.exe", LONG_NAME)
    for name in ("E2eInstall", "E2eKeys", "E2eReplace", "E2eFolder", "E2eNoKey"):
        build(name + "Setup.exe", name, "picture.jpg", "readme.txt")

    # Counts that add up to more than the file holds.
    write("BROKEN-SETUP.exe", hand_package(stub, saver, name=b"Broken", saver_size=0x10000000))
    # A name length byte above 51: no title can be made from it.
    write("NamelessSetup.exe", hand_package(stub, saver, name=b"Nameless", name_length=60))
    # Pictures whose type and bytes disagree, each with a text that never loads.
    write("MislabelledSetup.exe", hand_package(stub, saver, bmp, b".jpg", TEXT, b"Mislabelled"))
    write("WrongTypeSetup.exe", hand_package(stub, saver, jpeg, b".bmp", TEXT, b"WrongType"))
    # Hostile pictures: each must end in its error box, never in a crash or
    # an attempt to allocate what the header claims.
    huge_bmp = struct.pack("<2sIHHI", b"BM", 0, 0, 0, 0) + struct.pack(
        "<IiiHHIIiiII", 40, 30000, 30000, 1, 24, 0, 0, 0, 0, 0, 0) + b"\x80" * 64
    write("HugeBitmapSetup.exe", hand_package(stub, saver, huge_bmp, b".bmp", TEXT, b"HugeBitmap"))
    sof = jpeg.index(b"\xff\xc0")
    huge_jpeg = jpeg[:sof + 5] + struct.pack(">HH", 65500, 65500) + jpeg[sof + 9:]
    write("HugeJpegSetup.exe", hand_package(stub, saver, huge_jpeg, b".jpg", TEXT, b"HugeJpeg"))
    # Cut inside the compressed data: no error, the picture as far as it goes.
    sos = jpeg.index(b"\xff\xda")
    write("CutJpegSetup.exe", hand_package(stub, saver, jpeg[:sos + 40], b".jpg", TEXT, b"CutJpeg"))
    # Cut inside the headers: the JPEG error comes while the banner still shows.
    write("CutHeaderSetup.exe", hand_package(stub, saver, jpeg[:sof + 4], b".jpg", TEXT, b"CutHeader"))
    # Counts that overflow when added up.
    write("OverflowSetup.exe", hand_package(stub, saver, name=b"Overflow", saver_size=0x7FFFFFFF,
                                            picture_size=0x7FFFFFFF, text_size=0x7FFFFFFF))
    # The empty name is a valid one: the file ".scr".
    write("EmptyNameSetup.exe", hand_package(stub, saver, name=b""))
    # Names that are no plain file name.
    write("EvilSetup.exe", hand_package(stub, saver, name=b"..\\evil"))
    write("DeviceSetup.exe", hand_package(stub, saver, name=b"CON"))


if __name__ == "__main__":
    main()
