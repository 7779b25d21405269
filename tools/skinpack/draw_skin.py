#!/usr/bin/env python3
"""Draws the reader's own skin, "Thread-bound Book": the description sici.ini and its 37 bitmaps.

The look is that of a thread-bound book: an indigo cover for the window frame with a paper title
slip behind the caption, warm paper faces, ink text, indigo for what is hot or selected and a
touch of cinnabar on the close button. Shapes are flat colours and 1-pixel lines, so that a
screen that scales by whole numbers keeps them sharp.

Frame order, key colour and caption button placement follow docs/skin.md. The output is the same
on every run (no dates, no randomness), and the packed skin is built from the committed output,
so run this after a change and commit what it writes.

    python3 tools/skinpack/draw_skin.py [out_dir]     (default: assets/skin of this repository)
"""

import os
import struct
import sys

KEY = (255, 0, 255)  # transparent where a section says Trans=1

# Paper and ink.
PAPER = (242, 235, 221)         # faces of windows and buttons
PAPER_LIGHT = (250, 246, 237)   # raised surfaces: buttons, the page of a tab control
PAPER_DARK = (229, 220, 202)    # grooves and tabs in the back
PAPER_WHITE = (255, 252, 245)
MENU = (248, 244, 235)
MENU_BAR = (237, 229, 213)
LINE = (150, 138, 116)          # the outline of controls
LINE_LIGHT = (206, 196, 176)    # separators
LINE_SOFT = (184, 172, 150)
INK = (31, 27, 22)
INK_GREY = (104, 97, 86)        # inactive caption text; readable on the title slip
DISABLED = (166, 158, 144)      # disabled marks and arrows

# Indigo, the accent.
INDIGO = (47, 68, 104)
INDIGO_EDGE = (28, 40, 62)
INDIGO_HOT = (74, 97, 138)
INDIGO_PRESSED = (22, 33, 52)
INDIGO_TINT = (224, 229, 238)   # hot faces that carry ink text
INDIGO_TINT_DEEP = (205, 213, 228)
INDIGO_SOFT = (150, 162, 188)

# The frame of an inactive window: faded cover cloth.
SLATE = (118, 124, 137)
SLATE_EDGE = (92, 97, 108)
SLATE_GLYPH = (226, 224, 219)

CINNABAR = (168, 52, 38)
CINNABAR_DEEP = (128, 36, 26)

SLIP = (249, 245, 234)
SLIP_LINE = (150, 136, 110)

SCROLL = (236, 229, 215)        # the scroll-bar groove and its arrow buttons
SCROLL_HOT = (222, 213, 196)
THUMB = (184, 174, 156)
THUMB_HOT = (152, 142, 124)

CAPTION_HEIGHT = 28
BORDER = 4
CAPTION_BUTTON = (24, 18)       # width, height
CAPTION_BUTTON_TOP = (CAPTION_HEIGHT - CAPTION_BUTTON[1]) // 2
CAPTION_BUTTON_GAP = 2
SLIP_END = 8                    # the title slip reaches this far beyond the caption text


class Canvas:
    def __init__(self, width, height, fill=KEY):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def px(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.px(xx, yy, colour)

    def hline(self, x, y, w, colour):
        self.fill(x, y, w, 1, colour)

    def vline(self, x, y, h, colour):
        self.fill(x, y, 1, h, colour)

    def box(self, x, y, w, h, colour):
        self.hline(x, y, w, colour)
        self.hline(x, y + h - 1, w, colour)
        self.vline(x, y, h, colour)
        self.vline(x + w - 1, y, h, colour)

    def round_corners(self, x, y, w, h, colour=KEY):
        for cx, cy in ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)):
            self.px(cx, cy, colour)

    def paste(self, other, x, y):
        for yy in range(other.height):
            for xx in range(other.width):
                self.px(x + xx, y + yy, other.rows[yy][xx])

    def transposed(self):
        out = Canvas(self.height, self.width)
        for y in range(self.height):
            for x in range(self.width):
                out.rows[x][y] = self.rows[y][x]
        return out


def strip(frames):
    """Frames of equal size side by side, as the skin reads them."""
    width, height = frames[0].width, frames[0].height
    assert all(f.width == width and f.height == height for f in frames)
    out = Canvas(width * len(frames), height)
    for i, frame in enumerate(frames):
        out.paste(frame, i * width, 0)
    return out


def bmp_bytes(canvas):
    """A Windows DIB: 24 bits a pixel, uncompressed, rows bottom up, each padded to 4 bytes."""
    row_size = (canvas.width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(canvas.rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


# --- The window frame ---------------------------------------------------------------------

def cover(active):
    return (INDIGO, INDIGO_EDGE) if active else (SLATE, SLATE_EDGE)


def caption_bar(active):
    fill, edge = cover(active)
    c = Canvas(32, CAPTION_HEIGHT, fill)
    c.hline(0, 0, c.width, edge)
    c.vline(0, 0, c.height, edge)
    c.vline(c.width - 1, 0, c.height, edge)
    return c


def side_border(active, right):
    fill, edge = cover(active)
    c = Canvas(BORDER, 16, fill)
    c.vline(BORDER - 1 if right else 0, 0, c.height, edge)
    return c


def bottom_border(active):
    fill, edge = cover(active)
    c = Canvas(32, BORDER, fill)
    c.hline(0, BORDER - 1, c.width, edge)
    c.vline(0, 0, BORDER, edge)
    c.vline(c.width - 1, 0, BORDER, edge)
    return c


def title_slip():
    """The paper label behind the caption text, like the title slip on a book's cover. It is
    stretched to the text's height and width; its ends keep their size."""
    c = Canvas(2 * SLIP_END + 4, 20, SLIP)
    c.box(0, 0, c.width, c.height, SLIP_LINE)
    return c


def menu_bar():
    c = Canvas(16, 20, MENU_BAR)
    c.hline(0, c.height - 1, c.width, LINE_LIGHT)
    return c


# --- Caption buttons: 0 normal, 1 hot, 2 pressed, 3 the window inactive -------------------------

GLYPH = 9                          # glyphs are 9 x 9, centred
GLYPH_X = (CAPTION_BUTTON[0] - GLYPH) // 2
GLYPH_Y = (CAPTION_BUTTON[1] - GLYPH) // 2


def glyph_close(c, face, colour):
    for i in range(GLYPH):
        c.px(GLYPH_X + i, GLYPH_Y + i, colour)
        c.px(GLYPH_X + GLYPH - 1 - i, GLYPH_Y + i, colour)


def glyph_maximise(c, face, colour):
    c.box(GLYPH_X, GLYPH_Y, GLYPH, GLYPH, colour)
    c.hline(GLYPH_X, GLYPH_Y + 1, GLYPH, colour)


def glyph_restore(c, face, colour):
    # A window in front of another: the one behind shows its top and right edges only.
    size = GLYPH - 2
    c.box(GLYPH_X + 2, GLYPH_Y, size, size, colour)
    c.hline(GLYPH_X + 2, GLYPH_Y + 1, size, colour)
    c.fill(GLYPH_X, GLYPH_Y + 2, size, size, face)
    c.box(GLYPH_X, GLYPH_Y + 2, size, size, colour)
    c.hline(GLYPH_X, GLYPH_Y + 3, size, colour)


def glyph_minimise(c, face, colour):
    c.hline(GLYPH_X, GLYPH_Y + GLYPH - 2, GLYPH, colour)
    c.hline(GLYPH_X, GLYPH_Y + GLYPH - 1, GLYPH, colour)


def caption_button(glyph, close):
    hot, pressed = (CINNABAR, CINNABAR_DEEP) if close else (INDIGO_HOT, INDIGO_PRESSED)
    states = [(INDIGO, PAPER), (hot, PAPER_WHITE), (pressed, PAPER_WHITE), (SLATE, SLATE_GLYPH)]
    frames = []
    for face, mark in states:
        c = Canvas(*CAPTION_BUTTON, face)
        glyph(c, face, mark)
        frames.append(c)
    return strip(frames)


# --- Push, check and radio buttons ----------------------------------------------------------

def push_button():
    """0 normal, 1 hot, 2 pressed, 3 disabled, 4 default or focused."""
    def frame(edge, face, shade=None, top_shade=None, ring=None):
        c = Canvas(24, 24, face)
        if shade:
            c.hline(1, c.height - 2, c.width - 2, shade)
        if top_shade:
            c.hline(1, 1, c.width - 2, top_shade)
        if ring:
            c.box(1, 1, c.width - 2, c.height - 2, ring)
        c.box(0, 0, c.width, c.height, edge)
        c.round_corners(0, 0, c.width, c.height)
        return c

    return strip([
        frame(LINE, PAPER_LIGHT, shade=PAPER_DARK),
        frame(INDIGO, INDIGO_TINT, shade=INDIGO_TINT_DEEP),
        frame(INDIGO, INDIGO_TINT_DEEP, top_shade=INDIGO_SOFT),
        frame(LINE_LIGHT, PAPER),
        frame(INDIGO, PAPER_LIGHT, ring=INDIGO_SOFT),
    ])


MARK_STATES = [(LINE, PAPER_WHITE, INK), (INDIGO, INDIGO_TINT, INK), (INDIGO, INDIGO_TINT_DEEP, INK),
               (LINE_LIGHT, PAPER, DISABLED)]


def check_box():
    """0-3 unchecked normal, hot, pressed, disabled; 4-7 the same checked. 13 x 13 each."""
    frames = []
    for checked in (False, True):
        for edge, face, mark in MARK_STATES:
            c = Canvas(13, 13, face)
            c.box(0, 0, 13, 13, edge)
            if checked:
                tick = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]
                for x, y in tick:
                    c.px(x, y, mark)
                    c.px(x, y + 1, mark)
            frames.append(c)
    return strip(frames)


def radio_button():
    """As the check box, round: what lies outside the circle is the key colour."""
    def inside(x, y, radius):
        dx, dy = x + 0.5 - 6.5, y + 0.5 - 6.5
        return dx * dx + dy * dy <= radius * radius

    frames = []
    for checked in (False, True):
        for edge, face, mark in MARK_STATES:
            c = Canvas(13, 13)
            for y in range(13):
                for x in range(13):
                    if not inside(x, y, 6.2):
                        continue
                    rim = any(not inside(x + dx, y + dy, 6.2) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                    c.px(x, y, edge if rim else face)
                    if checked and inside(x, y, 2.6):
                        c.px(x, y, mark)
            frames.append(c)
    return strip(frames)


# --- Controls ---------------------------------------------------------------------------------

def framed(w, h, edge, face):
    c = Canvas(w, h, face)
    c.box(0, 0, w, h, edge)
    return c


def progress_groove():
    return framed(16, 14, LINE, PAPER_DARK)


def progress_chunk():
    return Canvas(8, 12, INDIGO)


def group_box_edge():
    return Canvas(8, 16, PAPER)


def group_box():
    c = Canvas(16, 16)
    c.box(0, 0, 16, 16, LINE_SOFT)
    c.round_corners(0, 0, 16, 16)
    return c


def tabs():
    """0 normal, 1 hot, 2 selected: the selected tab opens into the page below it."""
    def tab(face, accent, joins_page):
        c = Canvas(24, 22, face)
        c.hline(0, 0, c.width, LINE)
        c.vline(0, 0, c.height, LINE)
        c.vline(c.width - 1, 0, c.height, LINE)
        if accent:
            c.hline(1, 1, c.width - 2, accent)
            c.hline(1, 2, c.width - 2, accent)
        if not joins_page:
            c.hline(0, c.height - 1, c.width, LINE)
        c.px(0, 0, KEY)
        c.px(c.width - 1, 0, KEY)
        return c

    return strip([tab(PAPER_DARK, None, False), tab(PAPER_LIGHT, INDIGO_SOFT, False), tab(PAPER_LIGHT, INDIGO, True)])


def status_bar_edges():
    return framed(12, 12, LINE_LIGHT, PAPER)


def tab_pane():
    return framed(16, 16, LINE, PAPER_LIGHT)


def tool_bars():
    c = Canvas(16, 24, PAPER)
    c.hline(0, 0, c.width, PAPER_WHITE)
    c.hline(0, c.height - 1, c.width, LINE_LIGHT)
    return c


def arrow(c, cx, cy, direction, colour):
    """A triangle of 4 rows (7, 5, 3, 1 pixels) pointing `direction`, its base centred on cx or cy."""
    for row in range(4):
        half = 3 - row
        for i in range(-half, half + 1):
            if direction == "down":
                c.px(cx + i, cy - 2 + row, colour)
            elif direction == "up":
                c.px(cx + i, cy + 1 - row, colour)
            elif direction == "right":
                c.px(cx - 2 + row, cy + i, colour)
            else:
                c.px(cx + 1 - row, cy + i, colour)


def combo_button():
    """0 normal, 1 hot, 2 pressed, 3 disabled; a separator line on the left."""
    frames = []
    for face, mark in ((PAPER_LIGHT, INK), (INDIGO_TINT, INK), (INDIGO_TINT_DEEP, INK), (PAPER, DISABLED)):
        c = Canvas(17, 20, face)
        c.vline(0, 0, c.height, LINE_LIGHT)
        arrow(c, 9, 10, "down", mark)
        frames.append(c)
    return strip(frames)


def sunk_edge():
    """0 normal, 1 focused. Only the rim is drawn; the field shows through the key colour."""
    normal = Canvas(12, 12)
    normal.box(0, 0, 12, 12, LINE)
    focused = Canvas(12, 12)
    focused.box(0, 0, 12, 12, INDIGO)
    focused.box(1, 1, 10, 10, INDIGO_SOFT)
    return strip([normal, focused])


def header_bar():
    c = Canvas(16, 20, MENU_BAR)
    c.hline(0, 0, c.width, PAPER_WHITE)
    c.vline(c.width - 1, 0, c.height, LINE_LIGHT)
    c.hline(0, c.height - 1, c.width, LINE_SOFT)
    return c


def menu_item():
    """The highlighted item of a popup menu: its text is written in the selection's colour."""
    return framed(16, 20, INDIGO_EDGE, INDIGO)


def menu_background():
    return framed(16, 16, LINE, MENU)


def scroll_arrows():
    """0-3 up, down, left, right; 4-7 hot; 8-11 pressed."""
    frames = []
    for face, mark in ((SCROLL, INK_GREY), (SCROLL_HOT, INK), (INDIGO, PAPER_WHITE)):
        for direction in ("up", "down", "left", "right"):
            c = Canvas(16, 16, face)
            arrow(c, 8, 8, direction, mark)
            frames.append(c)
    return strip(frames)


def horz_groove():
    c = Canvas(16, 16, SCROLL)
    c.hline(0, 0, c.width, LINE_LIGHT)
    return c


def horz_thumb():
    """0 normal, 1 hot, 2 pressed: a slim bar with the groove's key colour around it."""
    frames = []
    for face in (THUMB, THUMB_HOT, INDIGO):
        c = Canvas(16, 16)
        c.fill(1, 4, 14, 8, face)
        c.round_corners(1, 4, 14, 8)
        frames.append(c)
    return strip(frames)


def track_thumb_horz():
    """0 normal, 1 hot, 2 pressed: upright, for a track bar that lies across."""
    frames = []
    for edge, face in ((LINE, PAPER_LIGHT), (INDIGO, INDIGO_TINT), (INDIGO_EDGE, INDIGO)):
        c = framed(11, 20, edge, face)
        c.round_corners(0, 0, 11, 20)
        frames.append(c)
    return strip(frames)


def track():
    return framed(16, 4, LINE, PAPER_DARK)


def up_down():
    """0 normal, 1 hot, 2 pressed: the faces of the two spin buttons."""
    return strip([framed(16, 16, LINE, PAPER_LIGHT), framed(16, 16, INDIGO, INDIGO_TINT),
                  framed(16, 16, INDIGO, INDIGO_TINT_DEEP)])


def each_frame_transposed(image, frames):
    w = image.width // frames
    parts = []
    for i in range(frames):
        part = Canvas(w, image.height)
        for y in range(image.height):
            part.rows[y] = image.rows[y][i * w:(i + 1) * w]
        parts.append(part.transposed())
    return strip(parts)


# --- The description -----------------------------------------------------------------------------

def rgb(colour):
    return "%d %d %d" % colour


def image_section(name, file, frames=1, edges=(0, 0, 0, 0), trans=0, tile=0, image_key="Image", extra=()):
    lines = ["[%s]" % name, "%s=%s" % (image_key, file),
             "LeftWidth=%d" % edges[0], "RightWidth=%d" % edges[1],
             "TopHeight=%d" % edges[2], "BottomHeight=%d" % edges[3],
             "Frame=%d" % frames, "Trans=%d" % trans, "Tile=%d" % tile]
    return lines + list(extra)


def build():
    bitmaps = {}

    def side(name, make):
        bitmaps[name] = strip([make(True), make(False)])

    side("top.bmp", caption_bar)
    side("bottom.bmp", bottom_border)
    side("left.bmp", lambda active: side_border(active, right=False))
    side("right.bmp", lambda active: side_border(active, right=True))
    bitmaps["textback.bmp"] = title_slip()
    bitmaps["menubar.bmp"] = menu_bar()
    bitmaps["close.bmp"] = caption_button(glyph_close, close=True)
    bitmaps["maximize.bmp"] = caption_button(glyph_maximise, close=False)
    bitmaps["restore.bmp"] = caption_button(glyph_restore, close=False)
    bitmaps["minimize.bmp"] = caption_button(glyph_minimise, close=False)
    bitmaps["button.bmp"] = push_button()
    bitmaps["check.bmp"] = check_box()
    bitmaps["radio.bmp"] = radio_button()

    colours = [
        ("ButtonFace", PAPER), ("WindowText", INK), ("Scrollbar", SCROLL), ("HilightText", PAPER_WHITE),
        ("Hilight", INDIGO), ("Menubar", MENU_BAR), ("Menu", MENU), ("MenuText", INK), ("ButtonText", INK),
        ("ButtonHilight", PAPER_WHITE), ("Buttonlight", PAPER_LIGHT), ("ButtonShadow", LINE_SOFT),
        ("ButtonDkShadow", LINE), ("MenuBarText", INK), ("TitleTextActive", INK), ("TitleTextNoActive", INK_GREY),
    ]
    right_edge = BORDER + CAPTION_BUTTON_GAP
    step = CAPTION_BUTTON[0] + CAPTION_BUTTON_GAP
    lines = ["; Thread-bound Book: the poetry reader's own skin, drawn by tools/skinpack/draw_skin.py",
             "[TitlebarSkin]", "SkinName=Thread-bound Book", "",
             "[Colours]"] + ["%s=%s" % (key, rgb(value)) for key, value in colours] + [""]

    lines += ["[Personality]"]
    for prefix, file in (("Left", "left.bmp"), ("Right", "right.bmp"), ("Top", "top.bmp"), ("Bottom", "bottom.bmp")):
        ends = 4 if prefix in ("Top", "Bottom") else 0
        lines += ["%s=%s" % (prefix, file), "%sFrame=2" % prefix, "%sStretch=1" % prefix, "%sTrans=0" % prefix,
                  "%sTopHeight=%d" % (prefix, ends), "%sBotHeight=%d" % (prefix, ends)]
    lines += ["TextBack=textback.bmp", "Textbackground=1", "TXTBackleft=%d" % SLIP_END, "TXTBackRight=%d" % SLIP_END,
              "TextAlignment=0", "TextShift=%d" % (BORDER + 6 + SLIP_END), "TextShiftVert=0",
              "TextRightClip=%d" % (right_edge + 3 * step + 8),
              "Fonts=Noto Serif CJK SC", "FontHeight=14",
              "ActiveText=%s" % rgb(INK), "InActiveText=%s" % rgb(INK_GREY),
              "menuBar=menubar.bmp", "TileMenu=1", "TileLeftMenu=0", "TileRightMenu=0", ""]

    # Close, maximise, restore and minimise from the right edge leftwards; maximise and restore
    # share a place and show one at a time.
    buttons = [("close.bmp", 0, 0, right_edge + step - CAPTION_BUTTON_GAP),
               ("maximize.bmp", 1, 1, right_edge + 2 * step - CAPTION_BUTTON_GAP),
               ("restore.bmp", 1, 2, right_edge + 2 * step - CAPTION_BUTTON_GAP),
               ("minimize.bmp", 2, 0, right_edge + 3 * step - CAPTION_BUTTON_GAP)]
    for i, (file, action, visibility, x) in enumerate(buttons):
        lines += ["[Button%d]" % i, "ButtonImage=%s" % file, "Frame=4", "Align=1", "Xcoord=%d" % x,
                  "Ycoord=%d" % CAPTION_BUTTON_TOP, "Action=%d" % action, "Visibility=%d" % visibility, ""]

    lines += ["[Buttons]", "Bitmap=button.bmp", "Frame=5", "LeftWidth=4", "RightWidth=4", "TopHeight=4", "BottomHeight=4",
              "Trans=1", "Tile=0", "CheckButton=check.bmp", "CheckButtonFrame=8",
              "RadioButton=radio.bmp", "RadioButtonFrame=8", ""]

    horz_scroll_thumb = horz_thumb()
    track_thumb = track_thumb_horz()
    sections = [
        ("Progress", "progress.bmp", progress_groove(), dict(edges=(2, 2, 2, 2), image_key="Bitmap")),
        ("Progress.Chunk", "progresschunk.bmp", progress_chunk(), {}),
        ("GroupBoxEdge", "groupboxedge.bmp", group_box_edge(), {}),
        ("GroupBox", "groupbox.bmp", group_box(), dict(edges=(2, 2, 2, 2), trans=1)),
        ("Tabs", "tabs.bmp", tabs(), dict(frames=3, edges=(3, 3, 3, 1), trans=1)),
        ("StatusBarEdges", "statusbaredges.bmp", status_bar_edges(), dict(edges=(2, 2, 2, 2))),
        ("Tab.Pane", "tabpane.bmp", tab_pane(), dict(edges=(2, 2, 2, 2))),
        ("ToolBars", "toolbars.bmp", tool_bars(), dict(edges=(0, 0, 1, 1))),
        ("ComboButton", "combobutton.bmp", combo_button(), dict(frames=4, edges=(1, 0, 0, 0))),
        ("SunkEdge", "sunkedge.bmp", sunk_edge(), dict(frames=2, edges=(2, 2, 2, 2), trans=1)),
        ("Headerbar", "headerbar.bmp", header_bar(), dict(edges=(0, 1, 1, 1))),
        ("MenuItem", "menuitem.bmp", menu_item(), dict(edges=(2, 2, 2, 2))),
        ("MenuBackground", "menubackground.bmp", menu_background(), dict(edges=(2, 2, 2, 2))),
        ("Scrollbar", "scrollbar.bmp", scroll_arrows(), dict(frames=12)),
        ("HorzScroll", "horzscroll.bmp", horz_groove(), dict(edges=(0, 0, 1, 0))),
        ("VertScroll", "vertscroll.bmp", horz_groove().transposed(), dict(edges=(1, 0, 0, 0))),
        ("HorzScrollThumb", "horzscrollthumb.bmp", horz_scroll_thumb,
         dict(frames=3, edges=(2, 2, 5, 5), trans=1, extra=["FrameCount=3"])),
        ("VertScrollThumb", "vertscrollthumb.bmp", each_frame_transposed(horz_scroll_thumb, 3),
         dict(frames=3, edges=(5, 5, 2, 2), trans=1, extra=["FrameCount=3"])),
        ("Trackbar.ThumbHorz", "trackthumbhorz.bmp", track_thumb, dict(frames=3, edges=(2, 2, 2, 2), trans=1)),
        ("Trackbar.ThumbVert", "trackthumbvert.bmp", each_frame_transposed(track_thumb, 3),
         dict(frames=3, edges=(2, 2, 2, 2), trans=1)),
        ("Track", "track.bmp", track(), dict(edges=(2, 2, 1, 1))),
        ("TRACKVERT", "trackvert.bmp", track().transposed(), dict(edges=(1, 1, 2, 2))),
        ("UpDown.Horz", "updownhorz.bmp", up_down(), dict(frames=3, edges=(2, 2, 2, 2))),
        ("UpDown.Vert", "updownvert.bmp", up_down(), dict(frames=3, edges=(2, 2, 2, 2))),
    ]
    for name, file, image, options in sections:
        bitmaps[file] = image
        lines += image_section(name, file, **options) + [""]

    ini = ("\r\n".join(lines).rstrip("\r\n") + "\r\n").encode("ascii")
    return ini, {name: bmp_bytes(image) for name, image in bitmaps.items()}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "skin")
    os.makedirs(out, exist_ok=True)
    ini, bitmaps = build()
    with open(os.path.join(out, "sici.ini"), "wb") as f:
        f.write(ini)
    for name, data in sorted(bitmaps.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print("%s: sici.ini and %d bitmaps" % (os.path.normpath(out), len(bitmaps)))


if __name__ == "__main__":
    main()
