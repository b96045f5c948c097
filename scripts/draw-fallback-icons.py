#!/usr/bin/python3
"""Draws the program's own fallback icons (share/icons/<size>/<name>.png).

They are used only where the icon theme lacks a name. Simple shapes drawn at
eight times the size and reduced, so the edges are smooth at 16 and 22 px.
Run again after changing a drawing: /usr/bin/python3 scripts/draw-fallback-icons.py
"""
from pathlib import Path

from PIL import Image, ImageDraw

S = 8  # drawing scale
OUT = Path(__file__).resolve().parent.parent / "share" / "icons"
INK = (60, 60, 60, 255)
PAPER = (250, 250, 250, 255)
BLUE = (52, 101, 164, 255)
GREEN = (78, 154, 6, 255)
YELLOW = (237, 212, 0, 255)
FOLDER = (233, 185, 110, 255)


def page(d, box=(3, 1, 13, 15)):
    x0, y0, x1, y1 = box
    d.polygon([(x0 * S, y0 * S), ((x1 - 3) * S, y0 * S), (x1 * S, (y0 + 3) * S),
               (x1 * S, y1 * S), (x0 * S, y1 * S)], fill=PAPER, outline=INK, width=S)
    d.line([((x1 - 3) * S, y0 * S), ((x1 - 3) * S, (y0 + 3) * S), (x1 * S, (y0 + 3) * S)],
           fill=INK, width=S)


def document_new(d):
    page(d)
    d.line([(5 * S, 8 * S), (11 * S, 8 * S)], fill=BLUE, width=S)
    d.line([(8 * S, 5 * S), (8 * S, 11 * S)], fill=BLUE, width=S)


def document_open(d):
    d.rectangle([1 * S, 4 * S, 15 * S, 14 * S], fill=FOLDER, outline=INK, width=S)
    d.rectangle([1 * S, 2 * S, 6 * S, 4 * S], fill=FOLDER, outline=INK, width=S)
    d.polygon([(3 * S, 7 * S), (15 * S, 7 * S), (14 * S, 14 * S), (1 * S, 14 * S)],
              fill=(252, 233, 79, 255), outline=INK)


def document_save(d):
    d.rectangle([2 * S, 2 * S, 14 * S, 14 * S], fill=BLUE, outline=INK, width=S)
    d.rectangle([4 * S, 2 * S, 12 * S, 7 * S], fill=PAPER, outline=INK, width=S)
    d.rectangle([5 * S, 10 * S, 11 * S, 14 * S], fill=(200, 200, 200, 255))


def document_print(d):
    d.rectangle([4 * S, 1 * S, 12 * S, 6 * S], fill=PAPER, outline=INK, width=S)
    d.rectangle([1 * S, 6 * S, 15 * S, 12 * S], fill=(136, 138, 133, 255), outline=INK, width=S)
    d.rectangle([4 * S, 10 * S, 12 * S, 15 * S], fill=PAPER, outline=INK, width=S)
    d.ellipse([12 * S, 7 * S, 13.5 * S, 8.5 * S], fill=GREEN)


def document_print_preview(d):
    page(d, (2, 1, 12, 15))
    d.ellipse([6 * S, 6 * S, 12 * S, 12 * S], fill=(200, 220, 240, 255), outline=INK, width=S)
    d.line([(11 * S, 11 * S), (15 * S, 15 * S)], fill=INK, width=2 * S)


def help_contents(d):
    d.ellipse([1 * S, 1 * S, 15 * S, 15 * S], fill=BLUE, outline=INK, width=S // 2)
    d.arc([5 * S, 3.5 * S, 11 * S, 9 * S], 180, 60, fill=PAPER, width=int(1.6 * S))
    d.line([(8 * S, 8.5 * S), (8 * S, 10 * S)], fill=PAPER, width=int(1.6 * S))
    d.ellipse([7 * S, 11 * S, 9 * S, 13 * S], fill=PAPER)


def image_x_generic(d):
    d.rectangle([1 * S, 2 * S, 15 * S, 14 * S], fill=(200, 225, 250, 255), outline=INK, width=S)
    d.polygon([(2 * S, 13 * S), (6 * S, 7 * S), (9 * S, 11 * S), (11 * S, 9 * S),
               (14 * S, 13 * S)], fill=GREEN)
    d.ellipse([10 * S, 4 * S, 13 * S, 7 * S], fill=YELLOW)


def computer(d):
    d.rectangle([1 * S, 2 * S, 15 * S, 11 * S], fill=(46, 52, 54, 255), outline=INK, width=S)
    d.rectangle([2.5 * S, 3.5 * S, 13.5 * S, 9.5 * S], fill=(114, 159, 207, 255))
    d.rectangle([6 * S, 11 * S, 10 * S, 13 * S], fill=INK)
    d.rectangle([3 * S, 13 * S, 13 * S, 15 * S], fill=(136, 138, 133, 255), outline=INK)


def dialog_warning(d):
    d.polygon([(8 * S, 1 * S), (15 * S, 15 * S), (1 * S, 15 * S)], fill=YELLOW, outline=INK,
              width=S)
    d.line([(8 * S, 6 * S), (8 * S, 11 * S)], fill=INK, width=int(1.6 * S))
    d.ellipse([7.2 * S, 12 * S, 8.8 * S, 13.6 * S], fill=INK)


def media_playback_start(d):
    d.polygon([(3 * S, 2 * S), (14 * S, 8 * S), (3 * S, 14 * S)], fill=GREEN, outline=INK,
              width=S)


ICONS = {
    "document-new": document_new,
    "document-open": document_open,
    "document-save": document_save,
    "document-print": document_print,
    "document-print-preview": document_print_preview,
    "help-contents": help_contents,
    "image-x-generic": image_x_generic,
    "computer": computer,
    "dialog-warning": dialog_warning,
    "media-playback-start": media_playback_start,
}

for size in (16, 22):
    (OUT / str(size)).mkdir(parents=True, exist_ok=True)
    for name, draw in ICONS.items():
        # Drawn on a 16-unit grid; the 22 px form keeps a 3 px margin.
        canvas = Image.new("RGBA", (16 * S, 16 * S), (0, 0, 0, 0))
        draw(ImageDraw.Draw(canvas))
        inner = size if size == 16 else 18
        icon = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        small = canvas.resize((inner, inner), Image.LANCZOS)
        icon.paste(small, ((size - inner) // 2, (size - inner) // 2))
        icon.save(OUT / str(size) / f"{name}.png", optimize=True)
