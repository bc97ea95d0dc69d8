#!/usr/bin/python3
"""Draws every PNG image of the default skin from geometry.

Usage (from the source root, after `apt-get install python3-cairo`):
    /usr/bin/python3 scripts/make-skin.py [SKIN_ROOT]
SKIN_ROOT defaults to resources/themes/default. The images are committed;
the build packs them as they are and never runs this script, so run it
again and commit the result whenever a colour or a shape changes here.

Everything is drawn with cairo: antialiased, with real (straight) alpha,
transparent wherever nothing is drawn. Every image is drawn by one function
that takes the display scale, once for each scale of SCALES: the 100 % image
under its own name and the others beside it as image sets, named with the
scale before the extension ("fader_thumb@150.png"), which the program picks
for a window at that scale. An image of w x h pixels at 100 % has
px(w) x px(h) pixels at a scale, rounded as the program scales its sizes.

The tick marks in the fader grooves stand where the fader's thumb centre
rests for the positions 44, 38, 32, 24 and 0 (0, -6, -12, -20 and -127 dB),
computed exactly as the slider places its thumb; MainForm.xml puts its dB
scale labels at the same rows (see fader_tick_rows).
"""
import math
import os
import sys

import cairo

# Palette (the same values as the TextColor entries of global.xml).
WINDOW = 0x1D1F23
STRIP = 0x26292E
LINE = 0x34383E
CAPTION = 0x15171A
TEXT = 0xE8EAED
TEXT2 = 0x9AA0A6
DISABLED = 0x5F6368
ACCENT = 0x3DDC84
WARNING = 0xFFB020
MUTE = 0xE5484D
WELL = 0x111316  # the inside of grooves and fields
RAISED = 0x4A4F57  # caps, thumbs, knob rims

FADER_HEIGHT = 200
FADER_MAX = 44
SCALE_POSITIONS = (44, 38, 32, 24, 0)
# Display scales in percent; 100 is the skin's own size.
SCALES = (100, 125, 150, 175, 200)


def px(value, scale):
    """A pixel size at a scale, rounded half up like the program's MulDiv."""
    return int(math.floor(value * scale / 100 + 0.5))


def variant_name(name, scale):
    """The image set's file name: "a.png" is "a@150.png" at 150 %."""
    if scale == 100:
        return name
    stem, ext = os.path.splitext(name)
    return f"{stem}@{scale}{ext}"


def rgb(value, alpha=1.0):
    return ((value >> 16) & 255) / 255.0, ((value >> 8) & 255) / 255.0, (value & 255) / 255.0, alpha


def mix(a, b, t):
    """Colour between a and b (t = 0 gives a)."""
    out = 0
    for shift in (16, 8, 0):
        ca = (a >> shift) & 255
        cb = (b >> shift) & 255
        out |= int(round(ca + (cb - ca) * t)) << shift
    return out


def thumb_top(height, thumb_height, value, maximum=FADER_MAX):
    """Top row of a vertical slider's thumb, as the slider computes it."""
    travel = height - thumb_height
    return int(travel - value * travel / maximum)


def fader_tick_rows(thumb_height, scale=100):
    """Top rows of the thumb's centre line (px(1) rows thick) for the dB
    scale positions, with the fader and its thumb at a scale."""
    height = px(FADER_HEIGHT, scale)
    thumb = px(thumb_height, scale)
    line = max(1, px(1, scale))
    return [thumb_top(height, thumb, v) + thumb // 2 - line // 2 for v in SCALE_POSITIONS]


class Canvas:
    """An image of width x height pixels at 100 %, drawn at a scale: the
    drawing calls take 100 % coordinates; device_rect takes whole pixels
    of the scaled image, for lines that must land on exact rows."""

    def __init__(self, width, height, scale=100):
        self.scale = scale
        self.width = px(width, scale)
        self.height = px(height, scale)
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, self.width, self.height)
        self.cr = cairo.Context(self.surface)
        self.cr.set_antialias(cairo.ANTIALIAS_BEST)
        if scale != 100:
            self.cr.scale(self.width / width, self.height / height)

    def device_rect(self, x, y, w, h, value, alpha=1.0):
        cr = self.cr
        cr.save()
        cr.identity_matrix()
        cr.rectangle(x, y, w, h)
        self.colour(value, alpha)
        cr.fill()
        cr.restore()

    def colour(self, value, alpha=1.0):
        self.cr.set_source_rgba(*rgb(value, alpha))

    def rounded(self, x, y, w, h, r):
        cr = self.cr
        r = min(r, w / 2, h / 2)
        cr.new_sub_path()
        cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
        cr.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
        cr.close_path()

    def fill_rounded(self, x, y, w, h, r, value, alpha=1.0):
        self.rounded(x, y, w, h, r)
        self.colour(value, alpha)
        self.cr.fill()

    def stroke_rounded(self, x, y, w, h, r, value, width=1.0, alpha=1.0):
        # Strokes are centred on the path: inset by half the width so the
        # line stays inside the given box and lands on whole pixels.
        half = width / 2
        self.rounded(x + half, y + half, w - width, h - width, max(r - half, 0))
        self.colour(value, alpha)
        self.cr.set_line_width(width)
        self.cr.stroke()

    def rect(self, x, y, w, h, value, alpha=1.0):
        self.cr.rectangle(x, y, w, h)
        self.colour(value, alpha)
        self.cr.fill()

    def line(self, points, value, width, alpha=1.0, cap=cairo.LINE_CAP_ROUND):
        cr = self.cr
        cr.move_to(*points[0])
        for point in points[1:]:
            cr.line_to(*point)
        self.colour(value, alpha)
        cr.set_line_width(width)
        cr.set_line_cap(cap)
        cr.set_line_join(cairo.LINE_JOIN_ROUND)
        cr.stroke()

    def save(self, root, name):
        path = os.path.join(root, variant_name(name, self.scale))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self.surface.write_to_png(path)


# --- fader grooves --------------------------------------------------------

def groove(scale, width, thumb_height, channel_x, channel_w, tick_sides, enabled):
    """A fader background of the slider's exact size: a narrow channel over
    the thumb's travel and short ticks at the dB scale positions (on the
    rows of the thumb's centre line at this scale)."""
    c = Canvas(width, FADER_HEIGHT, scale)
    rows = fader_tick_rows(thumb_height)
    top = rows[0] - 3
    bottom = rows[-1] + 4
    if enabled:
        rim, well, tick, unity = LINE, WELL, mix(DISABLED, TEXT2, 0.4), TEXT2
    else:
        # Still readable under the veil that a disabled fader gets (global.xml).
        rim, well, tick, unity = mix(LINE, DISABLED, 0.3), mix(STRIP, WELL, 0.5), DISABLED, mix(DISABLED, TEXT2, 0.3)
    c.fill_rounded(channel_x, top, channel_w, bottom - top, channel_w / 2, rim)
    c.fill_rounded(channel_x + 1, top + 1, channel_w - 2, bottom - top - 2, (channel_w - 2) / 2, well)
    line = max(1, px(1, scale))
    for index, row in enumerate(fader_tick_rows(thumb_height, scale)):
        colour = unity if index == 0 else tick
        for x0, x1 in tick_sides:
            c.device_rect(px(x0, scale), row, px(x1, scale) - px(x0, scale), line, colour)
    return c


def draw_grooves(root, scale):
    for enabled, suffix in ((True, ""), (False, "_disable")):
        # Single faders: 29 wide, thumb 29x15, ticks on both sides.
        groove(scale, 29, 15, 12, 5, ((5, 10), (19, 24)), enabled).save(
            root, f"ControlPanel/slidarBar_single{suffix}.png")
        # Stereo pairs: two 15-wide faders side by side, ticks outside.
        groove(scale, 15, 10, 6, 4, ((1, 4),), enabled).save(
            root, f"ControlPanel/slidarBar_left{suffix}.png")
        groove(scale, 15, 10, 5, 4, ((11, 14),), enabled).save(
            root, f"ControlPanel/slidarBar_right{suffix}.png")


# --- fader thumbs ---------------------------------------------------------

def thumb(scale, width, height, pushed):
    c = Canvas(width, height, scale)
    body_top = mix(RAISED, TEXT, 0.18 if pushed else 0.08)
    body_bottom = mix(RAISED, TEXT, 0.08 if pushed else 0.0)
    c.fill_rounded(0, 0, width, height, 2.5, 0x0B0C0E, 0.85)
    gradient = cairo.LinearGradient(0, 1, 0, height - 1)
    gradient.add_color_stop_rgba(0, *rgb(body_top))
    gradient.add_color_stop_rgba(1, *rgb(body_bottom))
    c.rounded(1, 1, width - 2, height - 2, 1.5)
    c.cr.set_source(gradient)
    c.cr.fill()
    c.rect(2, 1, width - 4, 1, TEXT, 0.16)  # soft top edge
    # The centre line marks the position the fader reads: one row at 100 %
    # on an odd height, two on an even one, on whole rows at every scale.
    line = max(1, px(1 if height % 2 else 2, scale))
    inset = px(3, scale)
    c.device_rect(inset, c.height // 2 - line // 2, c.width - 2 * inset, line, TEXT)
    return c


def draw_thumbs(root, scale):
    thumb(scale, 29, 15, False).save(root, "ControlPanel/fader_thumb.png")
    thumb(scale, 29, 15, True).save(root, "ControlPanel/fader_thumb_pushed.png")
    thumb(scale, 15, 10, False).save(root, "ControlPanel/fader_thumb_small.png")
    thumb(scale, 15, 10, True).save(root, "ControlPanel/fader_thumb_small_pushed.png")


# --- mute and lock icons --------------------------------------------------

ICON = 24


def icon_base(scale, state):
    c = Canvas(ICON, ICON, scale)
    if state == "hot":
        c.fill_rounded(0, 0, ICON, ICON, 5, TEXT, 0.10)
    return c


def speaker(c, colour):
    cr = c.cr
    cr.move_to(5, 9.5)
    cr.line_to(8.5, 9.5)
    cr.line_to(12.5, 5.5)
    cr.line_to(12.5, 18.5)
    cr.line_to(8.5, 14.5)
    cr.line_to(5, 14.5)
    cr.close_path()
    c.colour(colour)
    cr.fill()


def sound_icon(scale, muted, state):
    c = icon_base(scale, state)
    if state == "disable":
        colour = DISABLED
    elif muted:
        colour = MUTE
    else:
        colour = TEXT
    speaker(c, colour)
    cr = c.cr
    if muted:
        c.line([(15.5, 9.5), (20.5, 14.5)], colour, 1.8)
        c.line([(20.5, 9.5), (15.5, 14.5)], colour, 1.8)
    else:
        cr.set_line_width(1.6)
        cr.set_line_cap(cairo.LINE_CAP_ROUND)
        c.colour(colour)
        cr.arc(12.5, 12, 3.8, -math.pi / 4, math.pi / 4)
        cr.stroke()
        cr.arc(12.5, 12, 7.2, -math.pi / 3.2, math.pi / 3.2)
        cr.stroke()
    return c


def padlock_icon(scale, unlocked, state):
    c = icon_base(scale, state)
    if state == "disable":
        colour = DISABLED
    elif unlocked:
        colour = WARNING
    else:
        colour = TEXT
    cr = c.cr
    # Body.
    c.fill_rounded(6, 11, 12, 9, 2, colour)
    c.rect(11, 14, 2, 3, CAPTION)  # key hole
    # Shackle: closed it enters the body on both sides, open it is lifted
    # and its right leg stands free, so the two differ in shape, not only
    # in colour.
    cr.set_line_width(1.9)
    cr.set_line_cap(cairo.LINE_CAP_BUTT)
    c.colour(colour)
    if unlocked:
        cr.move_to(9, 11)
        cr.line_to(9, 6.5)
        cr.arc(12, 6.5, 3, math.pi, 2 * math.pi)
        cr.line_to(15, 8)
    else:
        cr.move_to(9, 11)
        cr.line_to(9, 8.5)
        cr.arc(12, 8.5, 3, math.pi, 2 * math.pi)
        cr.line_to(15, 11)
    cr.stroke()
    return c


def draw_switch_icons(root, scale):
    for state, suffix in (("normal", ""), ("hot", "_hot"), ("disable", "_disable")):
        sound_icon(scale, False, state).save(root, f"ControlPanel/sound_on{suffix}.png")
        sound_icon(scale, True, state).save(root, f"ControlPanel/sound_off{suffix}.png")
        padlock_icon(scale, False, state).save(root, f"ControlPanel/volume_lock{suffix}.png")
        padlock_icon(scale, True, state).save(root, f"ControlPanel/volume_unlock{suffix}.png")


# --- gain knob ------------------------------------------------------------

def draw_knob(root, scale):
    """circle2.png, 30x30: the knob body under the pointer line that the
    control draws itself, with a dot for each of the seven gain steps on
    the 270-degree travel from lower left over the top to lower right."""
    c = Canvas(30, 30, scale)
    cr = c.cr
    cx = cy = 15
    for step in range(7):
        angle = math.radians(225 + 45 * step)  # clockwise from 12 o'clock
        x = cx + math.sin(angle) * 13.5
        y = cy - math.cos(angle) * 13.5
        cr.arc(x, y, 0.9 if 0 < step < 6 else 1.1, 0, 2 * math.pi)
        c.colour(TEXT2 if step in (0, 6) else DISABLED)
        cr.fill()
    cr.arc(cx, cy, 11, 0, 2 * math.pi)
    c.colour(0x0B0C0E, 0.9)
    cr.fill()
    body = cairo.RadialGradient(cx - 3, cy - 4, 1, cx, cy, 10.5)
    body.add_color_stop_rgba(0, *rgb(mix(RAISED, TEXT, 0.12)))
    body.add_color_stop_rgba(1, *rgb(mix(STRIP, RAISED, 0.5)))
    cr.arc(cx, cy, 10, 0, 2 * math.pi)
    cr.set_source(body)
    cr.fill()
    c.save(root, "ControlPanel/circle2.png")


# --- window parts ---------------------------------------------------------

def draw_shadow(root, scale):
    """bk_shadow.png, nine-patch with 30-pixel corners around a content box
    inset by 14 pixels: a soft shadow, slightly heavier below. Computed per
    pixel of the scaled image, with the window's scaled shadow insets."""
    c = Canvas(64, 64, scale)
    size = c.width
    inset = px(14, scale)
    data = c.surface.get_data()
    stride = c.surface.get_stride()
    x0, y0 = inset, inset - px(1, scale)
    x1, y1 = size - inset, size - inset + px(2, scale)
    blur = 5.5 * scale / 100
    for y in range(size):
        for x in range(size):
            dx = max(x0 - (x + 0.5), 0, (x + 0.5) - x1)
            dy = max(y0 - (y + 0.5), 0, (y + 0.5) - y1)
            distance = math.hypot(dx, dy)
            alpha = 0.42 * math.exp(-(distance / blur) ** 2) if distance > 0 else 0.42
            a = int(round(alpha * 255))
            offset = y * stride + x * 4
            data[offset:offset + 4] = bytes((0, 0, 0, a))  # black, premultiplied
    c.surface.mark_dirty()
    c.save(root, "public/bk/bk_shadow.png")


def draw_logo(root, scale):
    """The mark before the window title: three fader slots with their caps
    at different heights, the middle cap in the accent colour."""
    c = Canvas(18, 18, scale)
    for x, cap, colour in ((3, 10, TEXT2), (9, 4, ACCENT), (15, 8, TEXT2)):
        c.rect(x - 0.75, 2, 1.5, 14, DISABLED)
        c.fill_rounded(x - 3, cap - 2, 6, 4, 1.2, colour)
    c.save(root, "public/bk/logo.png")


def caption_button(scale, glyph, state):
    c = Canvas(40, 34, scale)
    if state == "hot":
        c.rect(0, 0, 40, 34, TEXT, 0.08)
    elif state == "pushed":
        c.rect(0, 0, 40, 34, TEXT, 0.15)
    colour = {"normal": TEXT2, "hot": TEXT, "pushed": TEXT, "disabled": DISABLED}[state]
    cx, cy = 20, 17
    if glyph == "close":
        c.line([(cx - 5, cy - 5), (cx + 5, cy + 5)], colour, 1.4)
        c.line([(cx + 5, cy - 5), (cx - 5, cy + 5)], colour, 1.4)
    elif glyph == "scenes":
        # A stored mixer setting: three slider rails with their caps at
        # different places, like the logo's faders laid on their side.
        for y, cap in ((cy - 5, cx + 3), (cy, cx - 3), (cy + 5, cx + 1)):
            c.line([(cx - 7, y), (cx + 7, y)], colour, 1.2)
            c.fill_rounded(cap - 2, y - 2, 4, 4, 1.2, colour)
    else:
        cr = c.cr
        teeth = 8
        cr.new_path()
        for i in range(teeth * 2):
            a0 = math.pi * 2 * i / (teeth * 2) - math.pi / 16
            a1 = math.pi * 2 * (i + 1) / (teeth * 2) - math.pi / 16
            r = 7.5 if i % 2 == 0 else 5.6
            cr.arc(cx, cy, r, a0, a1)
        cr.close_path()
        cr.new_sub_path()
        cr.arc_negative(cx, cy, 2.6, 2 * math.pi, 0)
        cr.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
        c.colour(colour)
        cr.fill()
    return c


def draw_caption_buttons(root, scale):
    for state in ("normal", "hot", "pushed"):
        caption_button(scale, "close", state).save(root, f"public/caption/btn_close_{state}.png")
    for state in ("normal", "hot", "pushed", "disabled"):
        caption_button(scale, "settings", state).save(root, f"public/caption/btn_settings_{state}.png")
    for state in ("normal", "hot", "pushed"):
        caption_button(scale, "scenes", state).save(root, f"public/caption/btn_scenes_{state}.png")


# --- settings window and menu parts ---------------------------------------

def draw_combo(root, scale):
    """120x20, drawn for the nine-patch corner 5,5,30,5: the arrow lives in
    the right 30 pixels, which are never stretched."""
    looks = {
        "normal": (WELL, mix(LINE, TEXT2, 0.25), TEXT2),
        "hot": (mix(WELL, STRIP, 0.5), mix(LINE, TEXT2, 0.55), TEXT),
        "pushed": (WELL, ACCENT, TEXT),
        "disabled": (mix(STRIP, WELL, 0.4), LINE, DISABLED),
    }
    for state, (fill, border, arrow) in looks.items():
        c = Canvas(120, 20, scale)
        c.fill_rounded(0, 0, 120, 20, 3, border)
        c.fill_rounded(1, 1, 118, 18, 2, fill)
        c.rect(91, 4, 1, 12, border, 0.7)
        c.line([(101.5, 8.5), (105, 12), (108.5, 8.5)], arrow, 1.4)
        c.save(root, f"public/combo/{state}.png")


def draw_checkboxes(root, scale):
    for checked in (False, True):
        for state in ("normal", "hot", "disabled"):
            c = Canvas(16, 16, scale)
            if checked:
                fill = {"normal": ACCENT, "hot": mix(ACCENT, TEXT, 0.3), "disabled": DISABLED}[state]
                c.fill_rounded(0, 0, 16, 16, 3, fill)
                c.line([(4, 8.2), (6.8, 11), (12, 5.2)], CAPTION, 1.8)
            else:
                border = {"normal": DISABLED, "hot": TEXT2, "disabled": LINE}[state]
                c.fill_rounded(0, 0, 16, 16, 3, border)
                c.fill_rounded(1.5, 1.5, 13, 13, 2, WELL)
            name = "checked" if checked else "unchecked"
            c.save(root, f"public/checkbox/{name}_{state}.png")


def draw_list_item(root, scale):
    # Selected entry: an accent bar on the left over a faint accent tint;
    # drawn for the corner 3,0,0,0 so the bar keeps its width.
    c = Canvas(8, 8, scale)
    c.rect(0, 0, 8, 8, ACCENT, 0.14)
    c.rect(0, 0, 3, 8, ACCENT)
    c.save(root, "public/list/item_selected.png")


def draw_scrollbars(root, scale):
    for state, colour in (("normal", RAISED), ("hot", mix(RAISED, TEXT, 0.2)), ("pushed", mix(RAISED, TEXT, 0.35))):
        c = Canvas(8, 24, scale)
        c.fill_rounded(1, 0, 6, 24, 3, colour)
        c.save(root, f"public/scrollbar/thumb_v_{state}.png")
        c = Canvas(24, 8, scale)
        c.fill_rounded(0, 1, 24, 6, 3, colour)
        c.save(root, f"public/scrollbar/thumb_h_{state}.png")
    c = Canvas(8, 8, scale)
    c.fill_rounded(1, 0, 6, 8, 3, WELL, 0.8)
    c.save(root, "public/scrollbar/rail_v.png")
    c = Canvas(8, 8, scale)
    c.fill_rounded(0, 1, 8, 6, 3, WELL, 0.8)
    c.save(root, "public/scrollbar/rail_h.png")


def draw_horizontal_slider(root, scale):
    c = Canvas(8, 2, scale)
    c.rect(0, 0, 8, 2, mix(LINE, TEXT2, 0.12))
    c.save(root, "public/slider/slider_hor_bk.png")
    c = Canvas(8, 14, scale)
    c.rect(0, 6, 8, 2, ACCENT)
    c.save(root, "public/slider/slider_hor_fore.png")
    for state, colour in (("normal", TEXT), ("pushed", mix(TEXT, ACCENT, 0.3)), ("disabled", DISABLED)):
        c = Canvas(12, 12, scale)
        c.cr.arc(6, 6, 6, 0, 2 * math.pi)
        c.colour(0x0B0C0E, 0.7)
        c.cr.fill()
        c.cr.arc(6, 6, 5, 0, 2 * math.pi)
        c.colour(colour)
        c.cr.fill()
        c.save(root, f"public/slider/thumb_{state}.png")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "themes", "default")
    for scale in SCALES:
        draw_grooves(root, scale)
        draw_thumbs(root, scale)
        draw_switch_icons(root, scale)
        draw_knob(root, scale)
        draw_shadow(root, scale)
        draw_logo(root, scale)
        draw_caption_buttons(root, scale)
        draw_combo(root, scale)
        draw_checkboxes(root, scale)
        draw_list_item(root, scale)
        draw_scrollbars(root, scale)
        draw_horizontal_slider(root, scale)
    for scale in SCALES:
        print(f"scale rows at {scale} %, 15-high thumb:", fader_tick_rows(15, scale))
        print(f"scale rows at {scale} %, 10-high thumb:", fader_tick_rows(10, scale))


if __name__ == "__main__":
    main()
