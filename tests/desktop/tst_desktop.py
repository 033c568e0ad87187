#!/usr/bin/env python3
"""Lumivera on a real desktop: Xvfb, the openbox window manager, real clicks, keys and window-manager
actions, screenshots and the files on disk.

    tst_desktop.py --program <build>/Lumivera/lumivera [TestClass[.test_method] ...]

Each scenario copies the program folder into a scratch folder, writes the books it needs there, starts
its own X server and window manager and stops them at the end, whatever happens. Scenarios about
pictures run at device pixel ratio 1 on a 1920 x 1080 screen and at 2 (QT_SCALE_FACTOR=2) on a
3840 x 2160 one. When a scenario fails, its last screenshot and the program's output are kept in
desktop-failures/ under the working folder.
"""

import argparse
import contextlib
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import desktop as d  # noqa: E402

PROGRAM = None
SCREENS = {1: (1920, 1080), 2: (3840, 2160)}
SCALES = (1, 2)

# Card texts that pass the save checks (title, date and location).
CARD_1 = {"Titolo": "Primo piano", "Data": "01/03/2024", "Location": "Roma", "Fotografo": "Rossi"}
CARD_2 = {"Titolo": "Figura intera", "Data": "02/03/2024", "Location": "Milano"}

# A camera-sized photo: 4:3, larger than any screen here.
CAMERA = (4032, 3024)
# The photo area of the zoom window and the slide show: the screen (1920 x 1080 layout units at either
# scale) less 60 x 90.
PHOTO_AREA = (1860, 990)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def fitted(area, size, enlarge=False):
    """Where a picture of this size is drawn in an area (x, y, w, h): scaled down to fit, or to fill
    when enlarging is allowed, proportions kept, centred."""
    x, y, w, h = area
    ratio = max(size[0] / w, size[1] / h)
    if ratio < 1 and not enlarge:
        ratio = 1
    dw, dh = size[0] / ratio, size[1] / ratio
    return (x + (w - dw) / 2, y + (h - dh) / 2, dw, dh)


class Pictures:
    """Picture files made once per run and copied where a scenario needs them."""

    def __init__(self, folder):
        self.folder = folder

    def get(self, name, width, height, colour):
        path = os.path.join(self.folder, name)
        if not os.path.exists(path):
            d.make_picture(path, width, height, colour)
        return path


class DesktopCase(unittest.TestCase):
    """Runs the program on a desktop of its own; keeps the evidence when the scenario fails."""

    @classmethod
    def setUpClass(cls):
        # Under the working folder, so whatever a killed run left there goes at the next run.
        cls.root = os.path.join(os.getcwd(), "desktop-work", cls.__name__)
        shutil.rmtree(cls.root, ignore_errors=True)
        os.makedirs(cls.root)
        cls.pictures = Pictures(cls.root)
        # The evidence of this scenario's earlier failures goes; this run keeps its own.
        failures = os.path.join(os.getcwd(), "desktop-failures")
        if os.path.isdir(failures):
            for name in os.listdir(failures):
                if name.startswith(cls.__name__ + "."):
                    os.remove(os.path.join(failures, name))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    @contextlib.contextmanager
    def program(self, scale=1, books=(), photos=()):
        """Starts a desktop and the program on it with these books ((name, cards)) and card photos
        ((book, position, picture file)); yields the program, stops everything on the way out."""
        workdir = tempfile.mkdtemp(prefix=f"scale{scale}-", dir=self.root)
        with contextlib.ExitStack() as cleanup:
            cleanup.callback(shutil.rmtree, workdir, ignore_errors=True)
            desk = cleanup.enter_context(d.Desktop(*SCREENS[scale], workdir))
            lumivera = d.Lumivera(desk, PROGRAM, scale)
            for name, cards in books:
                lumivera.write_book(name, cards)
            for book, position, picture in photos:
                lumivera.put_photo(book, position, picture)
            with lumivera:
                try:
                    yield lumivera
                except Exception as error:
                    self._keep_evidence(desk, lumivera, scale)
                    output = lumivera.log_tail().strip()
                    error.add_note(f"(at scale {scale}; the program's output:)\n{output}" if output
                                   else f"(at scale {scale})")
                    raise

    def _keep_evidence(self, desk, lumivera, scale):
        folder = os.path.join(os.getcwd(), "desktop-failures")
        os.makedirs(folder, exist_ok=True)
        stem = os.path.join(folder, f"{self.id().rsplit('.', 2)[-2]}.{self._testMethodName}.scale{scale}")
        with contextlib.suppress(Exception):
            with open(stem + ".ppm", "wb") as f:
                f.write(desk.grab().ppm())
        with contextlib.suppress(OSError):
            shutil.copy(lumivera.log, stem + ".log")

    # What the user sees.
    def expect_colour(self, lumivera, window, rect, colour, what, timeout=d.PAINT_TIMEOUT):
        lumivera.wait_pixels(f"{what} to show {colour}", d.colour_look(window, rect, colour), timeout)

    def expect_maximised(self, window, scale, what):
        """Maximised by the window manager, wholly on the screen and as wide as it."""
        sw, sh = SCREENS[scale]

        def maximised():
            x, y, w, h = window.geometry()
            states = window.wm_states()
            if ({"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"} <= states and x >= 0
                    and y >= 0 and x + w <= sw and y + h <= sh and w == sw):
                return True
            seen[0] = (f"{what} has the window manager states {sorted(states)} and a client area of "
                       f"{w} x {h} at {x},{y} on the {sw} x {sh} screen")
            return False
        seen = [""]
        try:
            d.wait_for(f"{what} to be maximised", maximised, 5)
        except d.DesktopError as error:
            self.fail(f"{error}: {seen[0]}")

    def expect_centred_block(self, lumivera, window, colour, size, what, timeout=d.PAINT_TIMEOUT):
        """The picture, a block of one colour of the given logical size, lies in the middle of the
        window's client area: checked along the middle row and the middle column."""
        x, y, w, h = window.geometry()
        cx, cy = x + w // 2, y + h // 2
        bw, bh = size[0] * window.scale, size[1] * window.scale
        slack = 3 * window.scale

        def look(grab):
            across = d.runs(grab(x, cy, w, 1).pixels(), colour)
            down = d.runs(grab(cx, y, 1, h).pixels(), colour)
            ok = (len(across) == 1 and len(down) == 1 and abs(across[0][1] - bw) <= slack
                  and abs(down[0][1] - bh) <= slack and abs(across[0][0] + across[0][1] / 2 - w / 2) <= slack
                  and abs(down[0][0] + down[0][1] / 2 - h / 2) <= slack)
            return ok, (f"expected one {colour} block of {bw:.0f} x {bh:.0f} centred in the client area "
                        f"{w} x {h} at {x},{y}; the middle row shows {colour} at {across}, the middle "
                        f"column at {down} (start, length, from the client area's edge)")
        lumivera.wait_pixels(f"{what} to show the photo centred", look, timeout)

    def editor_on_card_1(self, lumivera):
        editor = lumivera.open_book(lumivera.login())
        editor.click(*d.EDITOR_NEXT)
        return editor

    def frame_rect(self, picture_size):
        return fitted(d.EDITOR_PHOTO, picture_size)

    def photo_rect(self, window, picture_size, enlarge=False):
        """Where the zoom window (shrinks only) or the slide show (enlarges too) draws a picture: in
        the photo area centred in the window's client area, in layout units from its corner."""
        _, _, w, h = window.geometry()
        area = ((w / window.scale - PHOTO_AREA[0]) / 2, (h / window.scale - PHOTO_AREA[1]) / 2, *PHOTO_AREA)
        return fitted(area, picture_size, enlarge)

    def load_photo(self, lumivera, editor, path):
        """"Carica foto", the file typed into the file window and Return."""
        editor.click(*d.EDITOR_LOAD_PHOTO)
        dialog = lumivera.window(d.PHOTO_DIALOG)
        dialog.activate()
        lumivera.desktop.type(path)
        lumivera.desktop.key("Return")
        dialog.wait_closed()

    def open_zoom(self, lumivera, editor):
        editor.click(*d.EDITOR_ZOOM)
        return lumivera.window(d.ZOOM)

    def open_slideshow(self, lumivera, editor):
        editor.click(*d.EDITOR_SLIDESHOW)
        return lumivera.window(d.SLIDESHOW)

    def close_by_clicking_photo(self, window):
        x, y, w, h = window.geometry()
        window.activate()
        window.desktop.click(x + w // 2, y + h // 2)
        window.wait_closed()


class MinimiseRestore(DesktopCase):
    """Minimising a window and restoring it changes nothing in it."""

    def test_editor_keeps_card(self):
        red = self.pictures.get("red.jpg", 800, 600, "#ff0000")
        with self.program(books=[("Giulia", [CARD_1, CARD_2])], photos=[("Giulia", 1, red)]) as lumivera:
            stored_photo = read_bytes(lumivera.photo_path("Giulia", 1))
            editor = self.editor_on_card_1(lumivera)
            self.expect_colour(lumivera, editor, self.frame_rect((800, 600)), "red", "the photo of card 1")
            editor.click(*d.EDITOR_TITLE)
            lumivera.desktop.key("ctrl+a")
            lumivera.desktop.type("Ritratto al tramonto")

            editor.minimise()
            editor.restore()
            lumivera.settled(editor.geometry())

            self.expect_colour(lumivera, editor, self.frame_rect((800, 600)), "red",
                               "the photo of card 1 after the restore", timeout=2)
            editor.click(*d.EDITOR_SAVE)
            self.assertEqual(lumivera.answer_message(), "Informazione",
                             "the save after the restore did not confirm")
            cards = d.read_cards(lumivera.archive("Giulia"))
            self.assertEqual([c["Titolo"] for c in cards], ["Ritratto al tramonto", CARD_2["Titolo"]],
                             "the save did not overwrite card 1 with the typed title")
            self.assertEqual(cards[0]["Fotografo"], CARD_1["Fotografo"])
            self.assertEqual(read_bytes(lumivera.photo_path("Giulia", 1)), stored_photo)
            self.assertFalse(os.path.exists(lumivera.photo_path("Giulia", 3)))

    def test_create_window_keeps_name(self):
        with self.program() as lumivera:
            launcher = lumivera.login()
            launcher.click(*d.LAUNCHER_CREATE)
            create = lumivera.window(d.CREATE)
            create.click(*d.CREATE_NAME)
            lumivera.desktop.type("Servizio estate")

            create.minimise()
            create.restore()
            lumivera.settled(create.geometry())

            create.click(*d.CREATE_APPLY)
            self.assertEqual(lumivera.answer_message(), "Informazione",
                             "creating the book after the restore did not confirm")
            self.assertEqual(os.path.getsize(lumivera.archive("Servizio estate")), 0)

    def test_open_window_keeps_selection(self):
        with self.program(books=[("Giulia", [CARD_1])]) as lumivera:
            launcher = lumivera.login()
            launcher.click(*d.LAUNCHER_OPEN)
            chooser = lumivera.window(d.OPEN)
            chooser.click(*d.OPEN_LIST_FIRST)

            chooser.minimise()
            chooser.restore()
            lumivera.settled(chooser.geometry())

            chooser.click(*d.OPEN_OPEN)
            outcome = d.wait_for("the editor or a message", lambda: (
                "editor" if lumivera.desktop.windows(d.EDITOR) else
                "warning" if lumivera.desktop.windows(d.WARNING) else None), d.WINDOW_TIMEOUT)
            self.assertEqual(outcome, "editor", "opening the book after the restore gave a warning")


class MaximisedViews(DesktopCase):
    """The zoom window and the slide show open maximised, wholly on the screen, the photo centred."""

    def test_zoom_and_slideshow_fill_the_screen(self):
        red = self.pictures.get("red-camera.jpg", *CAMERA, "#ff0000")
        for scale in SCALES:
            with self.subTest(scale=scale), self.program(scale, books=[("Giulia", [CARD_1])],
                                                         photos=[("Giulia", 1, red)]) as lumivera:
                editor = self.editor_on_card_1(lumivera)
                self.expect_colour(lumivera, editor, self.frame_rect(CAMERA), "red", "the photo frame")
                # A 4:3 photo fills the photo area's height.
                drawn = fitted((0, 0, *PHOTO_AREA), CAMERA)[2:]

                zoom = self.open_zoom(lumivera, editor)
                self.expect_maximised(zoom, scale, "the zoom window")
                self.expect_centred_block(lumivera, zoom, "red", drawn, "the zoom window")
                self.close_by_clicking_photo(zoom)

                show = self.open_slideshow(lumivera, editor)
                self.expect_maximised(show, scale, "the slide show")
                # The first card comes up at the first tick, six seconds after the show opens.
                self.expect_centred_block(lumivera, show, "red", drawn, "the slide show",
                                          timeout=6 + d.PAINT_TIMEOUT)
                self.close_by_clicking_photo(show)


class CardPreview(DesktopCase):
    """The print preview shows the card's photo once, as printed, wherever the page is scrolled."""

    @contextlib.contextmanager
    def preview_of_a_red_card(self, scale):
        """The program with one card whose photo is red, its preview shown; yields both."""
        red = self.pictures.get("red.jpg", 800, 600, "#ff0000")
        with self.program(scale, books=[("Giulia", [CARD_1])], photos=[("Giulia", 1, red)]) as lumivera:
            editor = self.editor_on_card_1(lumivera)
            self.expect_colour(lumivera, editor, self.frame_rect((800, 600)), "red", "the photo frame")
            editor.click(*d.EDITOR_PREVIEW)
            lumivera.window(d.PREVIEW_WINDOW).click(*d.PREVIEW_WINDOW_SHOW)
            yield lumivera, lumivera.window(d.PREVIEW)

    def test_photo_drawn_once_while_scrolling(self):
        for scale in SCALES:
            with self.subTest(scale=scale), self.preview_of_a_red_card(scale) as (lumivera, preview):

                # At 100 % a 4:3 photo fills the 188 mm width of its frame: 141 mm high.
                height = 141 / 25.4 * 96 * scale
                x, y, w, h = preview.geometry()
                column = (x + w // 2, y, 1, h)

                tops = set()

                def one_block(grab):
                    found = d.runs(grab(*column).pixels(), "red")
                    if len(found) == 1 and abs(found[0][1] - height) <= 3 * scale:
                        tops.add(found[0][0])
                        return True, ""
                    return False, f"the page's middle column shows red at {found} (start, length)"

                def expect_one_block(where):
                    lumivera.settled(column)
                    lumivera.wait_pixels(f"one red block {height:.0f} high {where}", one_block, timeout=5)

                expect_one_block("on opening")
                # Down, up to the top, and down again: wherever the page opens, it moves both ways.
                for step, button in enumerate([5] * 4 + [4] * 8 + [5] * 2):
                    lumivera.desktop.click(x + w // 2, y + h // 2, button)
                    expect_one_block(f"after {step + 1} wheel steps")
                self.assertGreater(len(tops), 2, "the wheel did not scroll the page")
                with lumivera.desktop.cover():
                    pass
                expect_one_block("after the window was covered and shown again")


    def test_opens_at_the_top_of_the_page(self):
        """Down the page's middle on opening: the white top of the sheet, 15 mm of it (10 mm of margin,
        5 mm to the bar), the royal-blue title bar, and the photo below; not the page from the photo
        down."""
        for scale in SCALES:
            with self.subTest(scale=scale), self.preview_of_a_red_card(scale) as (lumivera, preview):
                self.expect_maximised(preview, scale, "the preview")
                x, y, w, h = preview.geometry()
                column = (x + w // 2, y, 1, h)
                mm = 96 / 25.4 * scale

                def look(grab):
                    pixels = grab(*column).pixels()
                    bars = d.runs(pixels, "royal blue")
                    photo = d.runs(pixels, "red")
                    if not bars or not photo:
                        return False, f"the middle column shows royal blue at {bars} and red at {photo}"
                    top = bars[0][0]
                    white = 0
                    while top - white > 0 and d.is_colour(pixels[top - white - 1], "white"):
                        white += 1
                    ok = abs(white - 15 * mm) <= 3 * scale and photo[0][0] > top
                    return ok, (f"{white} white pixels above the title bar at {top} (expected {15 * mm:.0f}); "
                                f"red at {photo}")
                lumivera.settled(column)
                lumivera.wait_pixels("the top of the page on opening", look, timeout=5)


class ZoomActualSize(DesktopCase):
    """At actual size the zoom window shows one pixel of the photo on one pixel of the screen, at
    either scale; a drag moves the photo and leaves the window open; the wheel switches back and forth;
    Escape closes it."""

    # A photo of vertical stripes 100 pixels wide, red and blue by turns.
    STRIPE = 100

    def stripes(self):
        path = os.path.join(self.root, "stripes.jpg")
        if not os.path.exists(path):
            tile = os.path.join(self.root, "stripe.png")
            for args in (["-size", f"{self.STRIPE}x{CAMERA[1]}", "xc:red", "xc:blue", "+append", tile],
                         ["-size", f"{CAMERA[0]}x{CAMERA[1]}", f"tile:{tile}", "-quality", "95", path]):
                subprocess.run(["convert", *args], check=True, stdin=subprocess.DEVNULL, capture_output=True,
                               timeout=120)
        return path

    def expect_stripes(self, lumivera, row, width, what):
        """The middle row shows red stripes `width` screen pixels wide; returns their starts."""
        seen = []

        def look(grab):
            found = d.runs(grab(*row).pixels(), "red")[1:-1]  # the outer two may be cut by the edges
            seen[:] = [start for start, _ in found]
            ok = len(found) >= 3 and all(abs(length - width) <= 4 for _, length in found)
            return ok, f"red stripes (start, length) {found}, expected {width:.0f} wide"
        lumivera.settled(row)
        lumivera.wait_pixels(f"stripes {width:.0f} pixels wide {what}", look, timeout=5)
        return seen

    def test_one_photo_pixel_on_one_screen_pixel(self):
        stripes = self.stripes()
        for scale in SCALES:
            with self.subTest(scale=scale), self.program(scale, books=[("Giulia", [CARD_1])],
                                                         photos=[("Giulia", 1, stripes)]) as lumivera:
                editor = self.editor_on_card_1(lumivera)
                zoom = self.open_zoom(lumivera, editor)
                self.expect_maximised(zoom, scale, "the zoom window")
                x, y, w, h = zoom.geometry()
                cx, cy = x + w // 2, y + h // 2
                row = (x, cy, w, 1)
                fitted_width = self.STRIPE * fitted((0, 0, *PHOTO_AREA), CAMERA)[2] / CAMERA[0] * scale
                self.expect_stripes(lumivera, row, fitted_width, "fitted to the screen")

                zoom.activate()
                lumivera.desktop.key("space")
                before = self.expect_stripes(lumivera, row, self.STRIPE, "at actual size")

                # A drag 60 screen pixels to the left takes the stripes with it; the window stays.
                desk = lumivera.desktop
                desk.xdotool("mousemove", "--sync", str(cx), str(cy))
                desk.xdotool("mousedown", "1")
                desk.xdotool("mousemove", "--sync", str(cx - 30), str(cy))
                desk.xdotool("mousemove", "--sync", str(cx - 60), str(cy))
                desk.xdotool("mouseup", "1")
                after = self.expect_stripes(lumivera, row, self.STRIPE, "after the drag")
                self.assertTrue(zoom.viewable(), "the drag closed the zoom window")
                shift = (before[0] - after[0]) % (2 * self.STRIPE)
                self.assertLessEqual(abs(shift - 60), 4, f"the drag moved the stripes by {shift}, not 60")

                desk.click(cx, cy, 5)  # wheel down
                self.expect_stripes(lumivera, row, fitted_width, "after the wheel down")
                desk.click(cx, cy, 4)  # wheel up
                self.expect_stripes(lumivera, row, self.STRIPE, "after the wheel up")
                self.assertTrue(zoom.viewable())
                zoom.activate()
                desk.key("Escape")
                zoom.wait_closed()


class PhotoFollowsCard(DesktopCase):
    """Moving between cards whose photos have the same size shows each card's own photo."""

    def test_frame_zoom_and_slideshow_show_current_photo(self):
        red = self.pictures.get("red-camera.jpg", *CAMERA, "#ff0000")
        green = self.pictures.get("green-camera.jpg", *CAMERA, "#00ff00")
        for scale in SCALES:
            with self.subTest(scale=scale), self.program(
                    scale, books=[("Giulia", [CARD_1, CARD_2])],
                    photos=[("Giulia", 1, red), ("Giulia", 2, green)]) as lumivera:
                editor = self.editor_on_card_1(lumivera)
                frame = self.frame_rect(CAMERA)
                self.expect_colour(lumivera, editor, frame, "red", "the frame on card 1")
                editor.click(*d.EDITOR_NEXT)
                self.expect_colour(lumivera, editor, frame, "green", "the frame on card 2")

                zoom = self.open_zoom(lumivera, editor)
                self.expect_colour(lumivera, zoom, self.photo_rect(zoom, CAMERA), "green",
                                   "the zoom of card 2")
                self.close_by_clicking_photo(zoom)
                editor.click(*d.EDITOR_PREVIOUS)
                self.expect_colour(lumivera, editor, frame, "red", "the frame back on card 1")

                show = self.open_slideshow(lumivera, editor)
                slide = self.photo_rect(show, CAMERA, enlarge=True)
                for colour, card in (("red", 1), ("green", 2)):
                    self.expect_colour(lumivera, show, slide, colour, f"the slide show on card {card}",
                                       timeout=6 + d.PAINT_TIMEOUT)
                self.close_by_clicking_photo(show)


def is_marked(pixel):
    """A pixel of a list row drawn as chosen or current: the style tints such a row blue, from a
    saturated blue for the chosen one to a pale one for the current one, where the rest of the list is
    black text on white."""
    r, g, b = pixel
    return b - r >= 12


class BookDeletion(DesktopCase):
    """The open-book window shows no book as chosen until the user picks one; the question before a
    book is deleted names the book picked, and Return, which answers No, leaves the book on disk."""

    BOOKS = [("Anna", [CARD_1]), ("Giulia", [CARD_1, CARD_2])]

    def chosen_rows(self, lumivera, chooser):
        """The stretches (start, length) of the list's middle column that show a row as chosen, in pixels
        from the list's top (its frame left out), once the list has settled."""
        x, y, w, h = chooser.rect(*d.OPEN_LIST)
        column = (x + w // 2, y + 3, 1, h - 6)
        lumivera.settled(column)
        found, start = [], None
        pixels = lumivera.desktop.grab(*column).pixels()
        for i, pixel in enumerate(pixels + [None]):
            inside = pixel is not None and is_marked(pixel)
            if inside and start is None:
                start = i
            elif not inside and start is not None:
                found.append((start, i - start))
                start = None
        return found

    def ask_to_delete(self, lumivera, chooser, row):
        """Picks the list's row (from 0) with a click, presses the waste bin and returns the question
        box with the pixels of its client area."""
        x, y, w, h = d.OPEN_LIST_FIRST
        chooser.click(x, y + row * self.row_height, w, self.row_height)
        chosen = self.chosen_rows(lumivera, chooser)
        self.assertEqual(len(chosen), 1, f"one row should show as chosen after the click: {chosen}")
        self.assertLessEqual(abs(chosen[0][0] - row * self.row_height), 3,
                             f"the chosen row is not the one clicked: {chosen}")
        chooser.click(*d.OPEN_DELETE)
        question = lumivera.window(d.CONFIRMATION)
        rect = question.geometry()
        lumivera.settled(rect)
        return question, lumivera.desktop.grab(*rect)

    def answer_with_return(self, lumivera, chooser, question):
        question.activate()
        lumivera.desktop.key("Return")
        question.wait_closed()
        # Had the answer been Yes, the book would go and its confirmation would show at once.
        lumivera.settled(chooser.geometry())
        self.assertEqual(lumivera.desktop.windows(d.INFORMATION), [], "the book was deleted")

    def test_question_names_the_book_and_return_keeps_it(self):
        with self.program(books=self.BOOKS) as lumivera:
            before = {name: read_bytes(lumivera.archive(name)) for name, _ in self.BOOKS}
            launcher = lumivera.login()
            launcher.click(*d.LAUNCHER_OPEN)
            chooser = lumivera.window(d.OPEN)
            chooser.activate()
            self.assertEqual(self.chosen_rows(lumivera, chooser), [],
                             "a row shows as chosen before the user picked one")

            # The rows of the list, in pixels: the height of a row, once it is picked. The second row is
            # measured, so that the pick of the first that follows is no double-click, which opens a book.
            x, y, w, h = d.OPEN_LIST_FIRST
            chooser.click(x, y + h, w, h // 2)
            self.row_height = self.chosen_rows(lumivera, chooser)[0][1]

            anna, anna_shot = self.ask_to_delete(lumivera, chooser, 0)
            self.answer_with_return(lumivera, chooser, anna)
            giulia, giulia_shot = self.ask_to_delete(lumivera, chooser, 1)
            self.answer_with_return(lumivera, chooser, giulia)

            for name, content in before.items():
                self.assertEqual(read_bytes(lumivera.archive(name)), content, f"the book {name} changed")

            # The two questions differ only where they name the book: the same question above, then a
            # line of its own for each book.
            self.assertEqual((anna_shot.width, anna_shot.height), (giulia_shot.width, giulia_shot.height),
                             "the two questions differ in size")
            stride = anna_shot.stride
            differing = [row for row in range(anna_shot.height)
                         if anna_shot.data[row * stride:(row + 1) * stride]
                         != giulia_shot.data[row * stride:(row + 1) * stride]]
            self.assertTrue(differing, "the question does not name the book picked")
            band = differing[-1] - differing[0] + 1
            self.assertLessEqual(band, 30, f"the questions differ over {band} rows, not in one line of text")
            self.assertGreater(differing[0], anna_shot.height // 2,
                               f"the questions differ from row {differing[0]} of {anna_shot.height}, above "
                               "the question that both should ask alike")


def palette_file(path):
    """(bits per pixel, palette entries) of a PNG or BMP file, read from its headers."""
    data = read_bytes(path)
    if data.startswith(b"\x89PNG"):
        plte = data.index(b"PLTE")
        return data[24], struct.unpack(">I", data[plte - 4:plte])[0] // 3
    return struct.unpack("<H", data[28:30])[0], struct.unpack("<I", data[46:50])[0]


class PalettePictures(DesktopCase):
    """A two-colour palette picture whose colours are not black and white shows in its own colours."""

    # Each picture: one colour with a small yellow square in its corner, kept in a 1-bit palette; one
    # picture per card.
    SIZE = (640, 480)
    CASES = [("palette.png", "blue", "#0000ff", "PNG8",
              ["-define", "png:bit-depth=1", "-define", "png:color-type=3"]),
             ("palette.bmp", "green", "#00ff00", "BMP3", ["-depth", "1"])]

    def test_frame_zoom_and_slideshow(self):
        files = []
        for name, colour, value, coder, options in self.CASES:
            path = os.path.join(self.root, name)
            d.make_picture(f"{coder}:{path}", *self.SIZE, value, "-fill", "yellow", "-draw",
                           "rectangle 0,0 31,31", "+dither", "-colors", "2", "-type", "Palette", *options)
            self.assertEqual(palette_file(path), (1, 2), f"{name} is not a 1-bit picture with 2 colours")
            files.append((path, colour))
        for scale in SCALES:
            with self.subTest(scale=scale), \
                    self.program(scale, books=[("Giulia", [CARD_1, CARD_2])]) as lumivera:
                editor = lumivera.open_book(lumivera.login())
                for path, colour in files:
                    editor.click(*d.EDITOR_NEXT)
                    self.load_photo(lumivera, editor, path)
                    self.expect_colour(lumivera, editor, self.frame_rect(self.SIZE), colour,
                                       f"the frame with {os.path.basename(path)}")

                    zoom = self.open_zoom(lumivera, editor)
                    self.expect_colour(lumivera, zoom, self.photo_rect(zoom, self.SIZE), colour,
                                       f"the zoom of {os.path.basename(path)}")
                    self.close_by_clicking_photo(zoom)
                    editor.click(*d.EDITOR_SAVE)
                    self.assertEqual(lumivera.answer_message(), "Informazione")

                show = self.open_slideshow(lumivera, editor)
                slide = self.photo_rect(show, self.SIZE, enlarge=True)
                for (path, colour), card in zip(files, (1, 2)):
                    self.expect_colour(lumivera, show, slide, colour, f"the slide show on card {card}",
                                       timeout=6 + d.PAINT_TIMEOUT)
                self.close_by_clicking_photo(show)

class ChangedCards(DesktopCase):
    """What the user typed is never dropped or overwritten without a word."""

    def test_next_asks_before_leaving_a_typed_card(self):
        with self.program(books=[("Giulia", [CARD_1, CARD_2])]) as lumivera:
            editor = self.editor_on_card_1(lumivera)
            editor.click(*d.EDITOR_TITLE)
            lumivera.desktop.key("ctrl+a")
            lumivera.desktop.type("Ritratto in studio")
            editor.click(*d.EDITOR_NEXT)
            self.assertEqual(lumivera.answer_message("Escape"), "Conferma",
                             "moving on from a typed card asked no question")
            self.assertEqual(d.read_cards(lumivera.archive("Giulia"))[0]["Titolo"], CARD_1["Titolo"])

            # Escape kept the card as typed: Sì now saves what was typed, then moves on.
            editor.click(*d.EDITOR_NEXT)
            self.assertEqual(lumivera.answer_message(), "Conferma")
            self.assertEqual(lumivera.answer_message(), "Informazione", "Sì did not save the card")
            cards = d.read_cards(lumivera.archive("Giulia"))
            self.assertEqual([c["Titolo"] for c in cards], ["Ritratto in studio", CARD_2["Titolo"]])

    def test_two_copies_on_one_book(self):
        with self.program(books=[("Giulia", [CARD_1, CARD_2])]) as first:
            editor_a = self.editor_on_card_1(first)
            # Started once the first is at work, so its login window is the one the keys reach.
            with d.Lumivera(first.desktop, PROGRAM, 1, beside=first) as second:
                editor_b = self.editor_on_card_1(second)

                editor_a.click(*d.EDITOR_TITLE)
                first.desktop.key("ctrl+a")
                first.desktop.type("Titolo di A")
                editor_a.click(*d.EDITOR_SAVE)
                self.assertEqual(first.answer_message(), "Informazione")

                # The second copy still shows the old card 1: its save is stopped and the user told.
                editor_b.click(*d.EDITOR_TITLE)
                second.desktop.key("ctrl+a")
                second.desktop.type("Titolo di B")
                editor_b.click(*d.EDITOR_SAVE)
                self.assertEqual(second.answer_message(), "Avviso",
                                 "the second copy overwrote a card the first had changed")
                self.assertEqual(d.read_cards(first.archive("Giulia"))[0]["Titolo"], "Titolo di A")

                # Shown the other version, it saves on top of it.
                editor_b.click(*d.EDITOR_SAVE)
                self.assertEqual(second.answer_message("alt+m"), "Avviso")
                editor_b.click(*d.EDITOR_NOTE)
                second.desktop.type("Nota di B")
                editor_b.click(*d.EDITOR_SAVE)
                self.assertEqual(second.answer_message(), "Informazione")
                card = d.read_cards(first.archive("Giulia"))[0]
                self.assertEqual((card["Titolo"], card["Note"]), ("Titolo di A", "Nota di B"))

def jpeg_with_metadata(path, colour, make, model, taken, city):
    """A JPEG of one colour written by ImageMagick, with an EXIF block (make, model, capture time) and an
    XMP packet (city) put in after its start marker, as a camera and a photo manager would leave them."""
    d.make_picture(path, 640, 480, colour)
    texts = [t.encode("ascii") + b"\0" for t in (make, model, taken)]
    # Little-endian TIFF: IFD0 (Make, Model, the EXIF IFD) at 8, the EXIF IFD (DateTimeOriginal) at
    # 50, the texts from 68 on.
    data_at = 68
    offsets = [data_at, data_at + len(texts[0]), data_at + len(texts[0]) + len(texts[1])]
    tiff = b"II*\0" + struct.pack("<I", 8)
    tiff += struct.pack("<H", 3)
    tiff += struct.pack("<HHII", 0x010F, 2, len(texts[0]), offsets[0])
    tiff += struct.pack("<HHII", 0x0110, 2, len(texts[1]), offsets[1])
    tiff += struct.pack("<HHII", 0x8769, 4, 1, 50)
    tiff += struct.pack("<I", 0)
    tiff += struct.pack("<H", 1) + struct.pack("<HHII", 0x9003, 2, len(texts[2]), offsets[2])
    tiff += struct.pack("<I", 0)
    assert len(tiff) == data_at
    tiff += b"".join(texts)
    xmp = ('<?xpacket begin="\ufeff" id="W5M0MpCehiHzreSzNTczkc9d"?>'
           '<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF '
           'xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"><rdf:Description rdf:about="" '
           f'xmlns:photoshop="http://ns.adobe.com/photoshop/1.0/" photoshop:City="{city}"/>'
           '</rdf:RDF></x:xmpmeta><?xpacket end="w"?>').encode("utf-8")

    def app1(body):
        return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body

    picture = read_bytes(path)
    with open(path, "wb") as f:
        f.write(picture[:2] + app1(b"Exif\0\0" + tiff) + app1(b"http://ns.adobe.com/xap/1.0/\0" + xmp)
                + picture[2:])


class PhotoMetadata(DesktopCase):
    """"Carica foto" fills the card's empty fields from the photo's own metadata and leaves what the
    user typed."""

    def test_load_photo_fills_the_empty_fields(self):
        path = os.path.join(self.root, "backstage.jpg")
        jpeg_with_metadata(path, "#ff0000", "Canon", "Canon EOS R5", "2024:05:17 10:30:00", "Milano")
        with self.program(books=[("Giulia", [CARD_1])]) as lumivera:
            # The editor opens on a new card, its title field ready for typing.
            editor = lumivera.open_book(lumivera.login())
            editor.click(*d.EDITOR_TITLE)
            lumivera.desktop.type("Backstage")
            self.load_photo(lumivera, editor, path)
            self.expect_colour(lumivera, editor, self.frame_rect((640, 480)), "red", "the loaded photo")
            # The date and the location came from the photo, so the card saves as it is.
            editor.click(*d.EDITOR_SAVE)
            self.assertEqual(lumivera.answer_message(), "Informazione",
                             "the card filled by the photo was not saved")
            cards = d.read_cards(lumivera.archive("Giulia"))
            self.assertEqual(len(cards), 2)
            saved = {f: cards[1][f] for f in ("Titolo", "Data", "Location", "Fotocamera", "Fotografo")}
            self.assertEqual(saved, {"Titolo": "Backstage", "Data": "17/05/2024", "Location": "Milano",
                                     "Fotocamera": "Canon EOS R5", "Fotografo": ""})


class Overview(DesktopCase):
    """Ctrl+G in the editor opens the book's thumbnails; the card found there by its photo's colour and
    double-clicked comes up in the editor with its photo."""

    def test_find_a_card_by_its_thumbnail(self):
        grey = self.pictures.get("grey-portrait.jpg", 600, 800, "#808080")
        blue = self.pictures.get("blue-portrait.jpg", 600, 800, "#0000ff")
        cards = [dict(CARD_2, Titolo=f"Scatto {n}") for n in range(1, 13)]
        photos = [("Giulia", n, blue if n == 9 else grey) for n in range(1, 13)]
        for scale in SCALES:
            with self.subTest(scale=scale), self.program(scale, books=[("Giulia", cards)],
                                                          photos=photos) as lumivera:
                editor = lumivera.open_book(lumivera.login())
                editor.activate()
                lumivera.desktop.key("ctrl+g")
                overview = lumivera.window("^Provino \u2014 Giulia$")
                x, y, w, h = overview.geometry()
                found = []

                def blue_thumbnail(grab):
                    # A run of blue as wide as a thumbnail, on rows a few pixels apart.
                    shot = grab(x, y, w, h)
                    for row in range(y, y + h, 6 * scale):
                        line = [shot.pixel(px, row) for px in range(x, x + w)]
                        wide = [r for r in d.runs(line, "blue") if r[1] >= 80 * scale]
                        if wide:
                            found[:] = [x + wide[0][0] + wide[0][1] // 2, row]
                            return True, "a blue thumbnail"
                    return False, "no blue thumbnail in the window"
                lumivera.wait_pixels("the thumbnail of card 9", blue_thumbnail)
                # The window manager may still place and size the window, and the grid lays its cells
                # out again for the width it gets: the thumbnail is found again once all stands still.
                lumivera.settled((x, y, w, h))
                x, y, w, h = overview.geometry()
                lumivera.wait_pixels("the thumbnail of card 9 where it stays", blue_thumbnail)
                # Thumbnails of grey photos were drawn as well: the blue one is one among them.
                shot = lumivera.desktop.grab(x, found[1], w, 1)
                self.assertTrue([r for r in d.runs(shot.pixels(), "grey") if r[1] >= 80 * scale],
                                "the other thumbnails are not drawn")
                overview.activate()
                lumivera.desktop.xdotool("mousemove", str(found[0]), str(found[1] + 20 * scale),
                                         "click", "--repeat", "2", "--delay", "80", "1")
                self.expect_colour(lumivera, editor, self.frame_rect((600, 800)), "blue",
                                   "the editor's frame on the card chosen")


class KeyboardOnly(DesktopCase):
    """A book worked through with the keyboard alone: no click from the login to leaving the editor."""

    def test_login_walk_save_search_close(self):
        red = self.pictures.get("red-camera.jpg", *CAMERA, "#ff0000")
        green = self.pictures.get("green-camera.jpg", *CAMERA, "#00ff00")
        with self.program(books=[("Giulia", [CARD_1, CARD_2])],
                          photos=[("Giulia", 1, red), ("Giulia", 2, green)]) as lumivera:
            keys = lumivera.desktop.key
            launcher = lumivera.login()
            launcher.activate()
            keys("ctrl+o")
            chooser = lumivera.window(d.OPEN)
            chooser.activate()
            keys("Down", "Return")
            editor = lumivera.window(d.EDITOR)
            frame = self.frame_rect(CAMERA)

            keys("Next")
            self.expect_colour(lumivera, editor, frame, "red", "card 1 after Pag\u2193")
            keys("Next")
            self.expect_colour(lumivera, editor, frame, "green", "card 2 after Pag\u2193")
            keys("Prior")
            self.expect_colour(lumivera, editor, frame, "red", "card 1 after Pag\u2191")

            keys("ctrl+a")
            lumivera.desktop.type("Ritratto al mare")
            keys("ctrl+s")
            self.assertEqual(lumivera.answer_message(), "Informazione", "Ctrl+S did not save")
            self.assertEqual(d.read_cards(lumivera.archive("Giulia"))[0]["Titolo"], "Ritratto al mare")

            # The search: a title, Return through the criteria to the last, Tab to Cerca, Return; then
            # back to the list of hits and Return hands the hit to the editor.
            keys("ctrl+f")
            search = lumivera.window("^ Trova foto in book fotografico$")
            lumivera.desktop.type("Figura")
            keys(*["Return"] * 9, "Tab", "Return")
            keys("shift+Tab", "Return")
            search.wait_closed()
            self.expect_colour(lumivera, editor, frame, "green", "card 2 handed back by the search")

            keys("ctrl+p")
            preview = lumivera.window(d.PREVIEW_WINDOW)
            keys("Escape")
            preview.wait_closed()
            keys("ctrl+w")
            lumivera.window(d.LAUNCHER)
            editor.wait_closed()


def main():
    global PROGRAM
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the lumivera executable in its program folder")
    parser.add_argument("--store", help="the initial password store (default: the one in the program folder)")
    args, rest = parser.parse_known_args()
    PROGRAM = os.path.abspath(args.program)
    d.INITIAL_STORE = os.path.abspath(args.store) if args.store else None
    # A driver ended from outside stops the run, and its X servers and programs, on the way out.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
