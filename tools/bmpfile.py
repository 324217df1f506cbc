"""Writing BMP files from rows of pixels, for the scripts that draw the program's own bitmaps."""
import struct


def bmp24(pixels):
    """pixels: rows top to bottom of (r, g, b)."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    return header(width, height, 24, 0, len(data)) + data


def bmp1(bits):
    """bits: rows top to bottom of 0 (black) or 1 (white)."""
    height, width = len(bits), len(bits[0])
    stride = ((width + 31) // 32) * 4
    data = bytearray()
    for row in reversed(bits):
        line = bytearray(stride)
        for x, bit in enumerate(row):
            if bit:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return header(width, height, 1, len(palette), len(data)) + palette + data


def header(width, height, bpp, palette_size, image_size):
    offset = 14 + 40 + palette_size
    file_header = struct.pack('<2sIHHI', b'BM', offset + image_size, 0, 0, offset)
    colours = palette_size // 4
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0, image_size, 2835, 2835, colours, colours)
    return file_header + info
