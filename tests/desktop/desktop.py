"""The desktop the desktop tests run Lumivera on, and the hands and eyes that use it.

An X server (Xvfb) with the openbox window manager, both started and stopped here; the real program
copied into a scratch folder with the books a test needs; real clicks, keys and window-manager actions
through xdotool; the pixels on the screen read straight from the X server.

Only the Python standard library is used. Every process started here runs in a process group of its
own and is killed with the test driver, even when the driver itself is killed.
"""

import contextlib
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# The password store delivered with the program holds this password.
INITIAL_PASSWORD = "lucepiumavelox"

# Generous: the program under test is a sanitizer build, and other tests run beside this one.
WINDOW_TIMEOUT = 60.0
PAINT_TIMEOUT = 15.0


class DesktopError(AssertionError):
    """Something the user would see did not happen."""


def _die_with_driver():
    # Runs in the child before exec: it is killed when the driver ends, however the driver ends.
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def _start(args, env, log_path):
    with open(log_path, "wb") as log:
        return subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                start_new_session=True, preexec_fn=_die_with_driver)


def _stop(process):
    """Ends a process started by _start together with its process group."""
    if process is None:
        return
    for sig, wait in ((signal.SIGTERM, 5), (signal.SIGKILL, 5)):
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, sig)
        try:
            process.wait(timeout=wait)
            return
        except subprocess.TimeoutExpired:
            continue


def wait_for(what, condition, timeout, interval=0.1):
    """Polls condition until it gives something true; returns it, or fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise DesktopError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


# --- Screenshots -------------------------------------------------------------------------------------

class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as a screenshot needs them.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class _Xlib:
    """The screen's pixels straight from the X server (XGetImage): a look at the part of the screen a
    check needs costs milliseconds, where a screenshot program takes seconds over a large screen."""

    def __init__(self, display_name):
        self.lib = ctypes.CDLL("libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XDefaultRootWindow.restype = ctypes.c_ulong
        self.lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.lib.XGetImage.restype = ctypes.POINTER(_XImage)
        self.lib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.lib.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.lib.XOpenDisplay(display_name.encode())
        if not self.display:
            raise DesktopError(f"cannot connect to the X server {display_name}")

    def grab(self, x, y, width, height):
        image = self.lib.XGetImage(self.display, self.lib.XDefaultRootWindow(self.display), x, y, width,
                                   height, 0xFFFFFFFF, 2)  # AllPlanes, ZPixmap
        if not image:
            raise DesktopError("the X server gave no screenshot")
        try:
            info = image.contents
            if (info.bits_per_pixel != 32 or info.byte_order != 0 or info.red_mask != 0xFF0000
                    or info.blue_mask != 0xFF):
                raise DesktopError("the screen is not 24-bit colour in 32-bit pixels")
            return Shot(x, y, info.width, info.height, info.bytes_per_line,
                        ctypes.string_at(info.data, info.bytes_per_line * info.height))
        finally:
            self.lib.XDestroyImage(image)

    def close(self):
        self.lib.XCloseDisplay(self.display)


class Shot:
    """A part of the screen: width x height pixels from (left, top), each stored as blue, green, red and
    a spare byte. Positions are screen positions."""

    def __init__(self, left, top, width, height, stride, data):
        self.left, self.top, self.width, self.height = left, top, width, height
        self.stride, self.data = stride, data

    def pixel(self, x, y):
        i = (y - self.top) * self.stride + (x - self.left) * 4
        return self.data[i + 2], self.data[i + 1], self.data[i]

    def pixels(self):
        """Every pixel, row after row."""
        return [self.pixel(x, y) for y in range(self.top, self.top + self.height)
                for x in range(self.left, self.left + self.width)]

    def ppm(self):
        rgb = bytearray(self.width * self.height * 3)
        for y in range(self.height):
            line = self.data[y * self.stride:y * self.stride + self.width * 4]
            out = y * self.width * 3
            for channel, source in enumerate((2, 1, 0)):
                rgb[out + channel:out + self.width * 3:3] = line[source::4]
        return b"P6\n%d %d\n255\n" % (self.width, self.height) + bytes(rgb)


# Plain colours as the photos of the tests hold them, and how far a shown pixel may stray from them
# (JPEG, smoothing).
COLOURS = {"red": (255, 0, 0), "green": (0, 255, 0), "blue": (0, 0, 255), "white": (255, 255, 255),
           "royal blue": (65, 105, 225), "grey": (128, 128, 128)}
TOLERANCE = 70


def is_colour(pixel, name):
    return all(abs(p - c) <= TOLERANCE for p, c in zip(pixel, COLOURS[name]))


def runs(pixels, name, min_length=3):
    """The stretches (start, length) of a line of pixels that show the colour, ignoring specks."""
    found, start = [], None
    for i, pixel in enumerate(pixels + [None]):
        inside = pixel is not None and is_colour(pixel, name)
        if inside and start is None:
            start = i
        elif not inside and start is not None:
            if i - start >= min_length:
                found.append((start, i - start))
            start = None
    return found


# --- The X session -----------------------------------------------------------------------------------

class Window:
    """A top-level window of the program, found by its caption; positions are in device pixels."""

    def __init__(self, desktop, wid, scale, panel=None):
        self.desktop = desktop
        self.wid = wid
        self.scale = scale
        self.panel = panel  # the logical size of a panel centred in the window, or None

    def geometry(self):
        """The client area on the screen: (x, y, width, height)."""
        info = self.desktop.output("xwininfo", "-id", str(self.wid))
        value = {key: int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))
                 for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
        return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"],
                value["Height"])

    def viewable(self):
        info = self.desktop.output("xwininfo", "-id", str(self.wid), check=False)
        return "IsViewable" in info

    def wm_states(self):
        """The window manager's state atoms of the window (_NET_WM_STATE_MAXIMIZED_VERT, ...)."""
        text = self.desktop.output("xprop", "-id", str(self.wid), "_NET_WM_STATE", check=False)
        return set(re.findall(r"_NET_WM_STATE_\w+", text))

    def point(self, x, y):
        """The screen position of a point given in the window's layout units, from its panel's corner."""
        gx, gy, gw, gh = self.geometry()
        s = self.scale
        ox = oy = 0
        if self.panel:
            ox = (gw // s - self.panel[0]) // 2
            oy = (gh // s - self.panel[1]) // 2
        return gx + round((ox + x) * s), gy + round((oy + y) * s)

    def rect(self, x, y, w, h):
        left, top = self.point(x, y)
        return left, top, round(w * self.scale), round(h * self.scale)

    def click(self, x, y, w, h):
        """A left click in the middle of a control at (x, y), w x h."""
        self.activate()
        px, py = self.point(x + w / 2, y + h / 2)
        self.desktop.click(px, py)

    def activate(self):
        self.desktop.xdotool("windowactivate", "--sync", str(self.wid))

    def minimise(self):
        self.desktop.xdotool("windowminimize", "--sync", str(self.wid))
        wait_for("the window to be minimised", lambda: not self.viewable(), WINDOW_TIMEOUT)

    def restore(self):
        self.desktop.xdotool("windowactivate", "--sync", str(self.wid))
        wait_for("the window to be restored", self.viewable, WINDOW_TIMEOUT)

    def wait_closed(self):
        wait_for(f"window {self.wid} to close", lambda: not self.viewable(), WINDOW_TIMEOUT)


class Desktop:
    """Xvfb with openbox on a free display; a context manager that stops both on the way out."""

    def __init__(self, width, height, workdir):
        self.size = (width, height)
        self.workdir = workdir
        self.xvfb = self.wm = self.xlib = None
        self.env = None

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    def _start(self):
        read_end, write_end = os.pipe()
        try:
            # -displayfd: the server picks a free display and writes its number when it is ready.
            with open(os.path.join(self.workdir, "x.log"), "wb") as log:
                self.xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                     f"{self.size[0]}x{self.size[1]}x24", "-dpi", "96", "-nolisten", "tcp", "-noreset"],
                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, pass_fds=(write_end,),
                    start_new_session=True, preexec_fn=_die_with_driver)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + WINDOW_TIMEOUT
            while not number.endswith(b"\n"):
                if time.monotonic() > deadline or self.xvfb.poll() is not None:
                    raise DesktopError("Xvfb did not start:\n" + self._log_tail("x.log"))
                ready, _, _ = select.select([read_end], [], [], 0.5)
                if ready:
                    chunk = os.read(read_end, 16)
                    if not chunk:
                        raise DesktopError("Xvfb did not start:\n" + self._log_tail("x.log"))
                    number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        home = os.path.join(self.workdir, "home")
        runtime = os.path.join(self.workdir, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": ":" + number.decode().strip(),
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "LANG": "C.UTF-8",
        }
        self.wm = _start(["openbox", "--sm-disable", "--config-file", os.path.join(HERE, "openbox-rc.xml")],
                         self.env, os.path.join(self.workdir, "openbox.log"))
        wait_for("the window manager", self._wm_running, WINDOW_TIMEOUT)

    def _wm_running(self):
        if self.wm.poll() is not None:
            raise DesktopError("openbox ended:\n" + self._log_tail("openbox.log"))
        return "window id" in self.output("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)

    def _log_tail(self, name):
        with contextlib.suppress(OSError), open(os.path.join(self.workdir, name), "rb") as f:
            return f.read()[-3000:].decode(errors="replace")
        return ""

    def stop(self):
        if self.xlib is not None:
            self.xlib.close()
            self.xlib = None
        _stop(self.wm)
        _stop(self.xvfb)
        self.wm = self.xvfb = None

    def output(self, *args, check=True, timeout=30):
        result = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise DesktopError(f"{' '.join(args)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace")

    def xdotool(self, *args):
        return self.output("xdotool", *args)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def key(self, *keys):
        self.xdotool("key", "--delay", "30", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def windows(self, caption, pid=None):
        """The visible windows whose caption matches the regular expression (of one process only, when
        its number is given)."""
        owner = ["--all", "--pid", str(pid)] if pid else []
        found = self.output("xdotool", "search", *owner, "--onlyvisible", "--name", caption, check=False)
        return [int(w) for w in found.split()]

    def grab(self, x=0, y=0, w=None, h=None):
        """The pixels of a part of the screen (the whole screen by default), cut to the screen."""
        w = self.size[0] - x if w is None else w
        h = self.size[1] - y if h is None else h
        left, top = max(x, 0), max(y, 0)
        right, bottom = min(x + w, self.size[0]), min(y + h, self.size[1])
        if right <= left or bottom <= top:
            return Shot(left, top, 0, 0, 0, b"")
        if self.xlib is None:
            self.xlib = _Xlib(self.env["DISPLAY"])
        return self.xlib.grab(left, top, right - left, bottom - top)

    def cover(self):
        """A window of another program over most of the screen, until the context ends."""
        return _Cover(self)


class _Cover:
    def __init__(self, desktop):
        self.desktop = desktop
        self.process = None

    def __enter__(self):
        w, h = self.desktop.size
        self.process = _start(["xmessage", "-name", "lumivera-cover", "-geometry", f"{w - 40}x{h - 80}+20+40",
                               "coperta"], self.desktop.env, os.devnull)
        wait_for("the covering window", lambda: self.desktop.windows("^lumivera-cover$"), WINDOW_TIMEOUT)
        return self

    def __exit__(self, *exc):
        _stop(self.process)


# --- The program -------------------------------------------------------------------------------------

# The card record: eighteen length-prefixed Windows-1252 fields, 3548 bytes in all.
FIELDS = ["Titolo", "Descrizione", "Data", "Location", "Fotografo", "Fotocamera", "Fotoritocco", "Abiti",
          "Accessori", "Trucco", "Giudizio", "Note", "File01", "File02", "File03", "Desc01", "Desc02",
          "Desc03"]
CAPACITY = [120, 250, 10, 50, 50, 50] + [250] * 12
RECORD_SIZE = sum(c + 1 for c in CAPACITY)


def card_bytes(**texts):
    record = bytearray()
    for name, capacity in zip(FIELDS, CAPACITY):
        text = texts.get(name, "").encode("cp1252")[:capacity]
        record += bytes([len(text)]) + text + bytes(capacity - len(text))
    return bytes(record)


def read_cards(path):
    """The cards of an archive file, each a dict of its field texts."""
    with open(path, "rb") as f:
        data = f.read()
    cards = []
    for start in range(0, len(data) - RECORD_SIZE + 1, RECORD_SIZE):
        card, offset = {}, start
        for name, capacity in zip(FIELDS, CAPACITY):
            length = min(data[offset], capacity)
            card[name] = data[offset + 1:offset + 1 + length].decode("cp1252").strip()
            offset += 1 + capacity
        cards.append(card)
    return cards


def make_picture(path, width, height, colour, *options):
    """A picture of one plain colour, written by ImageMagick (the format follows the options and name)."""
    subprocess.run(["convert", "-size", f"{width}x{height}", f"xc:{colour}", *options, path], check=True,
                   stdin=subprocess.DEVNULL, capture_output=True, timeout=120)


# Window captions (regular expressions) and the logical sizes of their centred panels.
LOGIN = "^ Lumivera - Accesso$"
LAUNCHER = "^ Lumivera$"
CREATE = "^ Lumivera - Creazione book fotografico$"
OPEN = "^ Lumivera - Apertura book fotografico$"
EDITOR = "^ Lumivera - Gestione book fotografico$"
ZOOM = "^ Fai clic sulla foto per chiudere questa finestra$"
SLIDESHOW = "^ Slide Show Book Fotografico$"
PREVIEW_WINDOW = "^ Anteprima di stampa$"
PREVIEW = "^ Anteprima di stampa - "
PHOTO_DIALOG = "^Selezionare un file di immagine in formato Jpeg o Bitmap\\.$"
INFORMATION = "^Informazione$"
WARNING = "^Avviso$"
CONFIRMATION = "^Conferma$"
PANELS = {LAUNCHER: (995, 692), CREATE: (995, 692), OPEN: (995, 692), EDITOR: (996, 692)}

# Controls: (x, y, width, height) in the layout units of their window's panel.
LAUNCHER_CREATE = (34, 518, 442, 79)
LAUNCHER_OPEN = (518, 518, 442, 79)
CREATE_NAME = (216, 234, 742, 34)
CREATE_APPLY = (752, 588, 193, 58)
OPEN_LIST = (34, 224, 926, 298)
OPEN_LIST_FIRST = (34, 224, 926, 20)
OPEN_OPEN = (758, 594, 193, 58)
OPEN_DELETE = (24, 156, 46, 45)
EDITOR_SAVE = (104, 26, 37, 39)
EDITOR_PREVIEW = (238, 28, 148, 32)
EDITOR_PREVIOUS = (614, 26, 37, 39)
EDITOR_NEXT = (700, 26, 37, 39)
EDITOR_SLIDESHOW = (837, 26, 37, 39)
EDITOR_PHOTO = (38, 103, 307, 409)
EDITOR_LOAD_PHOTO = (38, 534, 157, 40)
EDITOR_ZOOM = (304, 534, 42, 40)
EDITOR_TITLE = (364, 164, 600, 22)
EDITOR_NOTE = (86, 596, 878, 22)
PREVIEW_WINDOW_SHOW = (187, 248, 145, 28)

# The initial password store of the build, when the driver is told where it lies.
INITIAL_STORE = None


class Lumivera:
    """The program copied into a scratch folder of its own, with its books, run on a desktop."""

    def __init__(self, desktop, executable, scale=1, beside=None):
        """beside: another Lumivera whose program folder, books included, this copy shares (two copies
        of the program on one folder); its windows are told apart by process."""
        self.desktop = desktop
        self.scale = scale
        self.process = None
        if beside is not None:
            self.folder = beside.folder
            self.executable = beside.executable
            self.log = tempfile.mkstemp(prefix="lumivera-", suffix=".log", dir=desktop.workdir)[1]
            return
        self.folder = tempfile.mkdtemp(prefix="lumivera-", dir=desktop.workdir)
        source = os.path.dirname(os.path.abspath(executable))
        # The program keeps its books beside itself, so it runs from a copy of its folder: the program's
        # own files, without the books, photos, attachments or export a run of it may have left there.
        for name in os.listdir(source):
            path = os.path.join(source, name)
            if os.path.isfile(path) and not name.endswith(".wmn") and name != "Rove_Roruvorerud.xls":
                shutil.copy2(path, self.folder)
        # The store a build's program folder holds may carry a password chosen by hand; the scenarios log
        # in with the initial one.
        if INITIAL_STORE:
            shutil.copy2(INITIAL_STORE, os.path.join(self.folder, "unins000.dll"))
        self.executable = os.path.join(self.folder, os.path.basename(executable))
        self.log = self.folder + ".log"
        self.process = None

    # Books and photos, written before the program starts.
    def write_book(self, name, cards):
        with open(self.archive(name), "wb") as f:
            for card in cards:
                f.write(card_bytes(**card))

    def archive(self, name):
        return os.path.join(self.folder, name + ".wmn")

    def photo_path(self, book, position):
        return os.path.join(self.folder, "Book_Zudid", f"{book}_Foto_{position}.jpg")

    def put_photo(self, book, position, picture):
        os.makedirs(os.path.dirname(self.photo_path(book, position)), exist_ok=True)
        shutil.copy(picture, self.photo_path(book, position))

    # Running.
    def start(self):
        env = dict(self.desktop.env)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_SCALE_FACTOR": str(self.scale),
            "QT_AUTO_SCREEN_SCALE_FACTOR": "0",
            "ASAN_OPTIONS": "detect_leaks=0:abort_on_error=1:intercept_tls_get_addr=0",
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
        })
        self.process = _start([self.executable], env, self.log)

    def stop(self):
        _stop(self.process)
        self.process = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def log_tail(self):
        with contextlib.suppress(OSError), open(self.log, "rb") as f:
            return f.read()[-4000:].decode(errors="replace")
        return ""

    def _alive(self):
        if self.process.poll() is not None:
            raise DesktopError(f"the program ended (status {self.process.returncode}):\n{self.log_tail()}")

    def window(self, caption, timeout=WINDOW_TIMEOUT):
        """Waits for the program's visible window with this caption."""
        def find():
            self._alive()
            found = self.desktop.windows(caption, self.process.pid)
            return found[-1] if found else None
        wid = wait_for(f"the window {caption!r}", find, timeout)
        return Window(self.desktop, wid, self.scale, PANELS.get(caption))

    def message(self, timeout=WINDOW_TIMEOUT):
        """Waits for a message box; returns its caption."""
        def find():
            self._alive()
            for caption in (INFORMATION, WARNING, "^Errore$", CONFIRMATION):
                if self.desktop.windows(caption, self.process.pid):
                    return caption.strip("^$")
            return None
        return wait_for("a message box", find, timeout)

    def answer_message(self, key="Return"):
        """Waits for a message box and answers it with a key (its default button unless told);
        returns the box's caption."""
        caption = self.message()
        box = self.window("^" + caption + "$")
        box.activate()
        self.desktop.key(key)
        box.wait_closed()
        return caption

    def wait_pixels(self, what, look, timeout=PAINT_TIMEOUT):
        """Looks at the screen until it shows what is expected: look(grab) takes the parts of the screen
        it needs with grab(x, y, w, h) and answers (as expected?, what it saw). Fails on the deadline
        with what was seen last."""
        seen = [""]

        def attempt():
            self._alive()
            ok, seen[0] = look(self.desktop.grab)
            return ok
        try:
            wait_for(what, attempt, timeout, interval=0.1)
        except DesktopError as error:
            raise DesktopError(f"{error}: {seen[0]}") from None

    def settled(self, rect, timeout=PAINT_TIMEOUT):
        """Waits until a part of the screen (x, y, w, h) shows the same in two looks in a row."""
        previous = [None]

        def same(grab):
            pixels = grab(*rect).data
            steady = pixels == previous[0]
            previous[0] = pixels
            return steady, "it kept changing"
        self.wait_pixels("the screen to settle", same, timeout)

    # The road a user takes.
    def login(self):
        login = self.window(LOGIN)
        login.activate()
        self.desktop.type(INITIAL_PASSWORD)
        self.desktop.key("Return")
        return self.window(LAUNCHER)

    def open_book(self, launcher):
        """From the launcher, opens the first book of the list in the editor."""
        launcher.click(*LAUNCHER_OPEN)
        chooser = self.window(OPEN)
        chooser.click(*OPEN_LIST_FIRST)
        chooser.click(*OPEN_OPEN)
        return self.window(EDITOR)


def colour_look(window, rect, colour, inset=0.1):
    """A look for wait_pixels: the inner part of a control or picture at rect (layout units of the
    window; inset by a share of its size on each side) shows the colour at nine of ten sampled points."""
    def look(grab):
        x, y, w, h = window.rect(*rect)
        shot = grab(x, y, w, h)
        share = [inset + (1 - 2 * inset) * k / 8 for k in range(9)]
        points = [(x + int(w * a), y + int(h * b)) for a in share for b in share]
        points = [(px, py) for px, py in points if shot.left <= px < shot.left + shot.width
                  and shot.top <= py < shot.top + shot.height]
        if not points:
            return False, "the picture lies off the screen"
        hits = sum(is_colour(shot.pixel(px, py), colour) for px, py in points)
        middle = points[len(points) // 2]
        return (hits >= 0.9 * len(points),
                f"{hits} of {len(points)} points are {colour}; the middle shows RGB {shot.pixel(*middle)}")
    return look
