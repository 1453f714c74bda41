#!/usr/bin/env python3
"""Draws the window's artwork with ImageMagick: the 21 tool glyphs of 16 x 16 (transparent
background) and the two 24-bit banners of the top panel. Run it from anywhere; it writes into
the folder it lives in. The generated files are kept in the repository, so building the program
needs neither Python nor ImageMagick."""

import os
import shlex
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
SERIF_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf"
SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

INK = "#1f1f1f"
PAPER = "white"
BLUE = "#2a5db0"
YELLOW = "#e8b830"
GREY = "#808080"


def page(x0, y0, x1, y1, fold=3):
    """A sheet of paper with a folded top-right corner."""
    return [
        f"-fill {PAPER} -stroke {INK} -draw \"polygon {x0},{y0} {x1 - fold},{y0} {x1},{y0 + fold} {x1},{y1} {x0},{y1}\"",
        f"-fill none -stroke {INK} -draw \"polyline {x1 - fold},{y0} {x1 - fold},{y0 + fold} {x1},{y0 + fold}\"",
    ]


def text_lines(x0, x1, ys, colour=GREY):
    return [f"-fill none -stroke {colour} -draw \"line {x0},{y} {x1},{y}\"" for y in ys]


def letter(char, font, size, x, y, colour=INK):
    return [f"-stroke none -fill {colour} -font {font} -pointsize {size} -draw \"text {x},{y} '{char}'\""]


def align(kind):
    """Five text lines, long and short in turn, the short ones placed by the alignment."""
    short = {"left": (1, 8), "right": (7, 14), "centre": (4, 11)}[kind]
    ops = []
    for i in range(5):
        a, b = (1, 14) if i % 2 == 0 else short
        y = 2 + i * 3
        ops.append(f"-fill none -stroke {INK} -draw \"line {a},{y} {b},{y}\"")
    return ops


def magnifier(cx=6, cy=6, r=4):
    return [
        f"-fill #d8ecff -stroke {INK} -strokewidth 1.5 -draw \"circle {cx},{cy} {cx + r},{cy}\"",
        f"-fill none -stroke {INK} -strokewidth 2.5 -draw \"line {cx + 3},{cy + 3} {cx + 8},{cy + 8}\"",
        "-strokewidth 1",
    ]


GLYPHS = [
    # 0 copy: two overlapping sheets
    page(1, 1, 9, 11) + text_lines(3, 7, [5, 7, 9]) + page(6, 5, 14, 15) + text_lines(8, 12, [9, 11, 13]),
    # 1 cut: scissors
    [
        f"-fill none -stroke {INK} -strokewidth 1.2 -draw \"line 5,1 10,10\" -draw \"line 10,1 5,10\"",
        f"-fill none -stroke {BLUE} -strokewidth 1.5 -draw \"circle 4,12 6,12\" -draw \"circle 11,12 13,12\"",
        "-strokewidth 1",
    ],
    # 2 paste: clipboard with a sheet on it
    [
        f"-fill #b07a3a -stroke #5a3a10 -draw \"rectangle 1,2 12,15\"",
        f"-fill {GREY} -stroke {INK} -draw \"rectangle 4,1 9,3\"",
    ] + page(6, 6, 15, 15) + text_lines(8, 13, [10, 12]),
    # 3 About: an information sign
    [
        f"-fill {BLUE} -stroke #1a3a70 -draw \"circle 7.5,7.5 7.5,0.5\"",
    ] + letter("i", SERIF_BOLD, 12, 5, 13, "white"),
    # 4 bold
    letter("B", SANS_BOLD, 14, 2, 14),
    # 5 italic
    letter("I", SERIF_ITALIC, 15, 3, 14),
    # 6 underline
    letter("U", SANS_BOLD, 12, 3, 12) + [f"-fill {INK} -stroke none -draw \"rectangle 2,14 13,15\""],
    # 7 unused
    [],
    # 8 bullets: three dots with lines beside them
    [
        f"-fill {INK} -stroke none -draw \"rectangle 1,2 3,4\" -draw \"rectangle 1,7 3,9\" -draw \"rectangle 1,12 3,14\"",
    ] + text_lines(6, 14, [3, 8, 13], INK),
    # 9 align left, 10 align right, 11 centre
    align("left"),
    align("right"),
    align("centre"),
    # 12 print: a printer with a sheet coming out
    page(4, 1, 11, 7, 2) + [
        f"-fill #c8c8c8 -stroke {INK} -draw \"rectangle 1,7 14,12\"",
        f"-fill {PAPER} -stroke {INK} -draw \"rectangle 4,11 11,15\"",
        f"-fill #30a030 -stroke none -draw \"rectangle 11,8 12,9\"",
    ],
    # 13 new: a blank sheet with a yellow spark
    page(3, 1, 13, 15, 4) + [f"-fill {YELLOW} -stroke #a07010 -draw \"circle 4,4 6,4\""],
    # 14 open: an opened folder
    [
        f"-fill #c89020 -stroke #6a4a08 -draw \"polygon 1,3 5,3 6,5 13,5 13,14 1,14\"",
        f"-fill {YELLOW} -stroke #6a4a08 -draw \"polygon 3,8 15,8 13,14 1,14\"",
    ],
    # 15 save: a floppy disk
    [
        f"-fill {BLUE} -stroke #102a60 -draw \"polygon 1,1 13,1 15,3 15,15 1,15\"",
        f"-fill {PAPER} -stroke none -draw \"rectangle 4,2 11,6\"",
        f"-fill #102a60 -stroke none -draw \"rectangle 9,3 10,5\"",
        f"-fill #d0d0d0 -stroke none -draw \"rectangle 4,10 12,14\"",
    ],
    # 16 insert picture: a framed landscape with a sun
    [
        f"-fill #a8d8ff -stroke {INK} -draw \"rectangle 1,2 14,13\"",
        f"-fill {YELLOW} -stroke none -draw \"circle 10,5 11.5,5\"",
        f"-fill #3a9a3a -stroke none -draw \"polygon 2,12 6,6 9,10 11,8 13,12\"",
    ],
    # 17 select font: a large and a small letter
    letter("A", SERIF_BOLD, 13, 0, 13) + letter("a", SANS_BOLD, 9, 9, 14, BLUE),
    # 18 find: a magnifying glass
    magnifier(),
    # 19 find next: the glass and an arrow to the right
    magnifier(5, 5, 3.5) + [
        f"-fill #30a030 -stroke none -draw \"polygon 9,1 13,4 9,7\"",
        f"-fill none -stroke #30a030 -strokewidth 1.5 -draw \"line 5,4 10,4\"",
        "-strokewidth 1",
    ],
    # 20 replace: "a" turning into "b"
    letter("a", SANS_BOLD, 9, 0, 8) + letter("b", SANS_BOLD, 9, 8, 15, BLUE) + [
        f"-fill none -stroke #30a030 -strokewidth 1.3 -draw \"line 5,10 10,5\"",
        f"-fill #30a030 -stroke none -draw \"polygon 8,3 12,3 12,7\"",
        "-strokewidth 1",
    ],
]


def run(command):
    subprocess.run(shlex.split(command), check=True)


def make_glyphs():
    folder = os.path.join(HERE, "glyphs")
    os.makedirs(folder, exist_ok=True)
    for index, ops in enumerate(GLYPHS):
        out = os.path.join(folder, f"glyph{index:02d}.png")
        drawing = " ".join(ops)
        run(f"convert -size 16x16 xc:none -strokewidth 1 {drawing} PNG32:{out}")


def paw(x, y, colour, scale=1.0):
    """A paw print: one pad and four toes."""
    def e(dx, dy, rx, ry):
        return (f"-draw \"ellipse {x + dx * scale:.1f},{y + dy * scale:.1f} "
                f"{rx * scale:.1f},{ry * scale:.1f} 0,360\" ")
    return (f"-fill {colour} -stroke none " + e(0, 4, 5, 4) + e(-6, -2, 2, 3) + e(-2, -5, 2, 3)
            + e(2, -5, 2, 3) + e(6, -2, 2, 3))


def logo(path, width, height, paw_x, paw_y, paw_scale, text_x, text_y, pointsize):
    """The maker's logo: a paw on a blue band and the program's name, drawn at its own size."""
    run(
        f"convert -size {width}x{height} gradient:'#20508f'-'#4a86cf' "
        f"{paw(paw_x, paw_y, '#f3d36b', paw_scale)} "
        f"-fill white -font {SANS_BOLD} -pointsize {pointsize} "
        f"-draw \"text {text_x},{text_y} 'Kennel Logbook'\" "
        "-alpha off -type TrueColor BMP3:" + path
    )


def make_banners():
    logo(os.path.join(HERE, "logo.bmp"), 205, 37, 18, 18, 1.0, 36, 25, 17)
    logo(os.path.join(HERE, "about-logo.bmp"), 273, 59, 28, 29, 1.6, 54, 38, 24)
    # The course banner reads as a link: blue underlined words on white.
    course = os.path.join(HERE, "recommended.bmp")
    run(
        "convert -size 149x37 xc:white "
        f"{paw(14, 18, BLUE)} "
        f"-fill '#0000ee' -font {SANS_BOLD} -pointsize 11 -draw \"text 28,16 'Recommended'\" "
        "-draw \"rectangle 28,18 113,18\" "
        f"-draw \"text 28,31 'training course'\" "
        "-draw \"rectangle 28,33 126,33\" "
        "-alpha off -type TrueColor BMP3:" + course
    )


if __name__ == "__main__":
    make_glyphs()
    make_banners()
