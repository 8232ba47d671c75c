#!/usr/bin/env python3
"""start_screen.py WINDOW.xwd START.bmp: whether the window, as xwd saved it, shows the start screen.

The start screen is the 1000 x 650 window with the Start button, START.bmp (400 x 200, 24-bit,
magenta where it is see-through), centred at (500, 216): every pixel of the button that is not
see-through must be on the window as it is in the picture.
"""
import struct
import sys

WINDOW = (1000, 650)
BUTTON_CENTRE = (500, 216)
SEE_THROUGH = (255, 0, 255)


def read_xwd(path):
    """Width, height and a function giving the (r, g, b) of a pixel of an xwd file."""
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, ncolors = fields[14:17], fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth < 24:
        raise ValueError(f"{path}: a {depth}-bit picture of {bits_per_pixel} bits a pixel, not true colour")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]

    def pixel(x, y):
        at = start + y * bytes_per_line + x * step
        value = int.from_bytes(data[at:at + step], order)
        return tuple((value & mask) >> shift for mask, shift in zip(masks, shifts))

    return width, height, pixel


def read_bmp(path):
    """Width, height and the rows, top first, of (r, g, b) of an uncompressed 24-bit BMP."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError(f"{path}: {bits}-bit, compression {compression}, not plain 24-bit")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for row in range(abs(height)):
        at = offset + row * stride
        rows.append([(data[at + 3 * x + 2], data[at + 3 * x + 1], data[at + 3 * x]) for x in range(width)])
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def main(window_path, button_path):
    width, height, pixel = read_xwd(window_path)
    if (width, height) != WINDOW:
        print(f"the window is {width} x {height}, not {WINDOW[0]} x {WINDOW[1]}")
        return 1
    button_width, button_height, rows = read_bmp(button_path)
    left = BUTTON_CENTRE[0] - button_width // 2
    top = BUTTON_CENTRE[1] - button_height // 2
    opaque = wrong = 0
    first_wrong = None
    for y, row in enumerate(rows):
        for x, colour in enumerate(row):
            if colour == SEE_THROUGH:
                continue
            opaque += 1
            shown = pixel(left + x, top + y)
            if shown != colour:
                wrong += 1
                first_wrong = first_wrong or (left + x, top + y, shown, colour)
    if opaque == 0:
        print(f"{button_path} is all see-through")
        return 1
    if wrong:
        x, y, shown, colour = first_wrong
        print(f"{wrong} of the Start button's {opaque} pixels differ, first at ({x}, {y}): {shown}, not {colour}")
        return 1
    print(f"the start screen: all {opaque} pixels of the Start button at ({left}, {top}) as in {button_path}")
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
