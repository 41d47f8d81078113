#!/usr/bin/env python3
"""The host program in real windows, driven as a person drives it.

Each case starts an X server of its own (Xvfb, on a display number it picks
itself), runs newsdesk on it with no UI script, finds the windows by their
titles and sends real key and mouse events through the XTEST extension
(xdotool). What the program saved is read back with feedparser; window
places are asked of the X server. Nothing waits a fixed time: every wait is
for a window to appear or the program to end, whichever comes first.

usage: real_windows.py NEWSDESK FEED WORK CASE
Exit status 77 (a skip) when Xvfb cannot start here.
"""
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import time

SKIP = 77
# Long enough for a loaded machine under the sanitizers; a hung program is
# a failure, not a wait.
LIMIT = 120

SETTINGS = "RSS ファイルの設定"
WELCOME = "RSS へようこそ"


def fail(message):
    print("real_windows: " + message, file=sys.stderr)
    sys.exit(1)


def start_xvfb():
    """(process, ':N'), or None when no X server can start."""
    if shutil.which("Xvfb") is None or shutil.which("xdotool") is None:
        return None
    read_end, write_end = os.pipe()
    try:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except OSError:
        os.close(read_end)
        os.close(write_end)
        return None
    os.close(write_end)
    # The server writes its display number once it accepts clients; it
    # closes the pipe without one when it cannot start.
    with os.fdopen(read_end, "rb") as pipe:
        number = pipe.readline().strip()
    if not number:
        server.wait()
        return None
    return server, ":" + number.decode()


class Session:
    def __init__(self, newsdesk, work, display):
        self.newsdesk = newsdesk
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            self.env.pop(name, None)
        self.env["DISPLAY"] = display
        self.env["XDG_CONFIG_HOME"] = os.path.join(work, "config")
        suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                    "real_windows.supp")
        self.env["LSAN_OPTIONS"] = ":".join(
            filter(None, [self.env.get("LSAN_OPTIONS"), "suppressions=" + suppressions]))
        # The X keyboard library copies a counted name with strndup, which
        # may stop before a terminator; strict string checks call that an
        # overflow. The program's own strings stay checked by the other tests.
        self.env["ASAN_OPTIONS"] = ":".join(
            filter(None, [self.env.get("ASAN_OPTIONS"), "strict_string_checks=0"]))
        self.program = None

    def start(self, *args):
        self.program = subprocess.Popen([self.newsdesk, *args], env=self.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        text=True)

    def finish(self):
        try:
            out, err = self.program.communicate(timeout=LIMIT)
        except subprocess.TimeoutExpired:
            self.program.kill()
            out, err = self.program.communicate()
            fail("the program did not end; stderr:\n" + err)
        return self.program.returncode, out, err

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                                text=True, timeout=LIMIT)
        if result.returncode != 0:
            fail("xdotool %s: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout.strip()

    def window(self, title):
        """Waits for the visible window of that title; its X id. Fails with
        the program's own words when it ends first."""
        def start_search():
            return subprocess.Popen(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                     "^" + title + "$"], env=self.env, stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, text=True)
        search = start_search()
        deadline = time.monotonic() + LIMIT
        try:
            while time.monotonic() < deadline:
                try:
                    out, _ = search.communicate(timeout=0.5)
                    if out.split():
                        return out.split()[-1]
                    # The search can end empty-handed when a window it was
                    # looking at goes away under it (the list redrawn while
                    # it opens): look again.
                    time.sleep(0.1)
                    search = start_search()
                except subprocess.TimeoutExpired:
                    pass
                if self.program.poll() is not None:
                    out, err = self.program.communicate()
                    fail("the program ended (status %d) before \"%s\" showed:\n%s" %
                         (self.program.returncode, title, err))
            fail("no window \"%s\" showed" % title)
        finally:
            if search.poll() is None:
                search.kill()
                search.wait()

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)

    def keys(self, window, *keys):
        self.focus(window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def type(self, window, text):
        self.focus(window)
        self.xdotool("type", "--clearmodifiers", text)

    def geometry(self, window):
        """(x, y, width, height) as the X server has it."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            name, _, value = line.partition("=")
            values[name] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def gone(self, window):
        """Waits until that window is no longer shown."""
        deadline = time.monotonic() + LIMIT
        while time.monotonic() < deadline:
            shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ".*"],
                                   env=self.env, capture_output=True, text=True).stdout.split()
            if window not in shown:
                return
            time.sleep(0.05)
        fail("window %s is still shown" % window)

    def owner(self, window):
        """The window the window manager is told this one belongs to."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XGetTransientForHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                             ctypes.POINTER(ctypes.c_ulong)]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            fail("cannot open the display to read a window's owner")
        owner = ctypes.c_ulong(0)
        x11.XGetTransientForHint(display, int(window), ctypes.byref(owner))
        x11.XCloseDisplay(display)
        return str(owner.value)

    def close_box(self, window):
        """What the window manager sends for the title bar's close box."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.c_void_p]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 12)]

        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            fail("cannot open the display to close a window")
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = int(window)
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
        x11.XFlush(display)
        x11.XCloseDisplay(display)


def read_feed(path_or_bytes):
    import feedparser
    return feedparser.parse(path_or_bytes)


def expect_end(session, status=0, out=None):
    got, stdout, stderr = session.finish()
    if got != status or (out is not None and stdout != out):
        fail("status %d (expected %d)\nstdout: %s\nstderr: %s" % (got, status, stdout, stderr))
    return stderr


def unchanged(feed, before):
    with open(feed, "rb") as f:
        if f.read() != before:
            fail("the feed was changed")


def case_type_a_title_and_press_enter(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    # The title field by its access key, as a person reaches it.
    session.keys(sheet, "alt+t", "ctrl+a")
    session.type(sheet, "Typed in a real window")
    session.keys(sheet, "Return")
    expect_end(session)
    parsed = read_feed(feed)
    if parsed.bozo or parsed.feed.get("title") != "Typed in a real window":
        fail("the saved title is %r" % parsed.feed.get("title"))
    if len(parsed.entries) != len(read_feed(before).entries):
        fail("the items changed")


ITEM = "RSS 項目の設定"


def case_double_clicked_item_opens_over_the_sheet(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    session.keys(sheet, "ctrl+Tab")
    # The first row of the items list, a little inside its left edge.
    session.xdotool("mousemove", "--window", sheet, "60", "185", "click", "--repeat", "2", "1")
    item = session.window(ITEM)
    sx, sy, sw, sh = session.geometry(sheet)
    ix, iy, iw, ih = session.geometry(item)
    if abs((ix + iw / 2) - (sx + sw / 2)) > 2 or abs((iy + ih / 2) - (sy + sh / 2)) > 2:
        fail("the item dialog %r is not centred over the sheet %r" %
             ((ix, iy, iw, ih), (sx, sy, sw, sh)))
    session.keys(item, "alt+t", "ctrl+a")
    session.type(item, "Changed by a double click")
    session.keys(item, "Return")
    sheet = session.window(SETTINGS)
    session.keys(sheet, "Return")
    expect_end(session)
    entries = read_feed(feed).entries
    titles = [e.get("title") for e in entries]
    if titles[0] != "Changed by a double click" or len(titles) != len(read_feed(before).entries):
        fail("the items are now %r" % titles)


def case_escape_cancels(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    session.keys(sheet, "alt+t")
    session.type(sheet, "Never saved")
    session.keys(sheet, "Escape")
    expect_end(session)
    unchanged(feed, before)


def case_close_box_cancels(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    session.keys(sheet, "alt+t")
    session.type(sheet, "Never saved")
    session.close_box(sheet)
    expect_end(session)
    unchanged(feed, before)


def case_dialog_opens_mid_screen(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    x, y, width, height = session.geometry(sheet)
    # The screen is 1280 x 1024 with no panels: the work area is all of it.
    if abs(x + width / 2 - 640) > 2 or abs(y + height / 2 - 512) > 2:
        fail("the dialog is at %d,%d (%d x %d), not mid-screen" % (x, y, width, height))
    session.keys(sheet, "Escape")
    expect_end(session)


def case_bare_program_opens_the_navigator(session, feed, before, display):
    session.start()
    navigator = session.window(WELCOME)
    session.keys(navigator, "Escape")
    expect_end(session, out="")


def case_display_going_away_cancels(session, feed, before, display):
    session.start("edit", feed)
    sheet = session.window(SETTINGS)
    session.keys(sheet, "alt+t")
    session.type(sheet, "Never saved")
    session.server.terminate()
    session.server.wait()
    stderr = expect_end(session, status=1)
    if stderr.count("\n") != 1 or "went away" not in stderr:
        fail("stderr: " + stderr)
    unchanged(feed, before)


class Accessibility:
    """The program's widgets as the desktop's accessibility bus shows them
    to a screen reader: roles and texts, read through the window system
    rather than from the program's own output."""

    def __init__(self):
        import dbus
        self.dbus = dbus
        session = dbus.SessionBus()
        address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
            dbus_interface="org.a11y.Bus")
        self.bus = dbus.bus.BusConnection(address)

    def _call(self, node, method):
        return getattr(self.bus.get_object(*node), method)(
            dbus_interface="org.a11y.atspi.Accessible")

    def name(self, node):
        return str(self.bus.get_object(*node).Get(
            "org.a11y.atspi.Accessible", "Name",
            dbus_interface="org.freedesktop.DBus.Properties"))

    def children(self, node):
        return [(str(bus), str(path)) for bus, path in self._call(node, "GetChildren")]

    def find(self, program, text):
        """The widget of the program showing that text, once it shows."""
        deadline = time.monotonic() + LIMIT
        while time.monotonic() < deadline:
            if program.poll() is not None:
                fail("the program ended before \"%s\" showed" % text)
            try:
                waiting = self.children(("org.a11y.atspi.Registry",
                                         "/org/a11y/atspi/accessible/root"))
                while waiting:
                    node = waiting.pop()
                    if self.name(node) == text:
                        return node
                    waiting.extend(self.children(node))
            except self.dbus.DBusException:
                pass  # a widget went away while it was being looked at
            time.sleep(0.1)
        fail("no widget shows \"%s\"" % text)

    def wait_for_name(self, node, text):
        deadline = time.monotonic() + LIMIT
        while time.monotonic() < deadline:
            if self.name(node) == text:
                return
            time.sleep(0.05)
        fail("the text is %r, not %r" % (self.name(node), text))


HINT = "ダイアログのいずれかのボタンの上にマウスを置いてください。それぞれの説明が表示されます。"


def case_navigator_hover_text_follows_the_pointer(session, feed, before, display):
    try:
        import dbus  # noqa: F401
    except ImportError:
        print("real_windows: python3-dbus is missing; skipped", file=sys.stderr)
        sys.exit(SKIP)
    accessibility = Accessibility()
    session.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    session.start("welcome")
    navigator = session.window(WELCOME)
    text = accessibility.find(session.program, HINT)
    # The middles of the first two buttons and a point between buttons, in
    # the navigator's client area as `dialog 11910 --controls` prints it.
    for x, y, expected in ((120, 116, "RSS ファイルを新規作成します。"),
                           (319, 116, "RSS ファイルを開いて編集します。"),
                           (219, 161, HINT)):
        session.xdotool("mousemove", "--window", navigator, str(x), str(y))
        accessibility.wait_for_name(text, expected)
    session.keys(navigator, "Escape")
    expect_end(session, out="")


FILE_LIST = "サイト内 RSS ファイルの一覧"
RENAME = "RSS ファイル名の変更"


def make_site(work, feed):
    site = os.path.join(work, "site")
    os.makedirs(site)
    with open(os.path.join(site, "newsdesk-site.json"), "w") as f:
        f.write('{"url": "https://ann.example/"}')
    shutil.copyfile(feed, os.path.join(site, "a.rss"))
    with open(os.path.join(site, "index.html"), "w") as f:
        f.write('<html><body><a href="a.rss">news</a></body></html>\n')
    return site


def case_file_list_keeps_the_size_a_person_gave_it(session, feed, before, display):
    site = make_site(os.path.dirname(feed), feed)
    session.start("--site", site, "files")
    listing = session.window(FILE_LIST)
    x, y, width, height = session.geometry(listing)
    session.xdotool("windowsize", "--sync", listing, str(width + 120), str(height + 80))
    if session.geometry(listing)[2:] != (width + 120, height + 80):
        fail("the list was not resized: %r" % (session.geometry(listing),))
    session.keys(listing, "Escape")
    expect_end(session, out="unchanged\n")
    session.start("--site", site, "files")
    listing = session.window(FILE_LIST)
    if session.geometry(listing) != (x, y, width + 120, height + 80):
        fail("the list opened at %r, not where it was left" % (session.geometry(listing),))
    session.keys(listing, "Escape")
    expect_end(session, out="unchanged\n")


def case_file_list_renames_a_feed(session, feed, before, display):
    site = make_site(os.path.dirname(feed), feed)
    session.start("--site", site, "files")
    listing = session.window(FILE_LIST)
    session.keys(listing, "alt+l", "space", "alt+r")
    rename = session.window(RENAME)
    session.keys(rename, "ctrl+a")
    session.type(rename, "b.rss")
    session.keys(rename, "Return")
    listing = session.window(FILE_LIST)
    session.keys(listing, "Escape")
    expect_end(session, out="changed\n")
    if os.path.exists(os.path.join(site, "a.rss")) or \
            not os.path.exists(os.path.join(site, "b.rss")):
        fail("a.rss was not renamed to b.rss")
    with open(os.path.join(site, "index.html")) as f:
        if 'href="b.rss"' not in f.read():
            fail("the page still links to a.rss")


BOX = "newsdesk"
LINKING_PAGES = "リンクしているページ"


def case_delete_asks_in_a_box_over_the_list(session, feed, before, display):
    site = make_site(os.path.dirname(feed), feed)
    session.start("--site", site, "files")
    listing = session.window(FILE_LIST)
    # No by its letter, alone or with Alt, keeps the feed; Enter takes the
    # default button, Yes, and deletes it. An answer is carried out before
    # the list takes the next key, so the feed is looked for once the next
    # box shows.
    for answer in ("n", "alt+n", "Return"):
        session.keys(listing, "alt+l", "space", "alt+d")
        box = session.window(BOX)
        if session.owner(box) != listing:
            fail("the box belongs to window %s, not to the list" % session.owner(box))
        lx, ly, lw, lh = session.geometry(listing)
        bx, by, bw, bh = session.geometry(box)
        if abs((bx + bw / 2) - (lx + lw / 2)) > 2 or abs((by + bh / 2) - (ly + lh / 2)) > 2:
            fail("the box %r is not centred over the list %r" %
                 ((bx, by, bw, bh), (lx, ly, lw, lh)))
        if not os.path.exists(os.path.join(site, "a.rss")):
            fail("a.rss was deleted before %s" % answer)
        session.keys(box, answer)
        session.gone(box)
    # The pages that linked to it, revised, are listed before the list is back.
    session.keys(session.window(LINKING_PAGES), "Return")
    session.keys(listing, "Escape")
    expect_end(session, out="changed\n")
    if os.path.exists(os.path.join(site, "a.rss")):
        fail("Yes did not delete a.rss")


CASES = {
    "delete_asks_in_a_box_over_the_list": case_delete_asks_in_a_box_over_the_list,
    "double_clicked_item_opens_over_the_sheet": case_double_clicked_item_opens_over_the_sheet,
    "display_going_away_cancels": case_display_going_away_cancels,
    "file_list_keeps_the_size_a_person_gave_it": case_file_list_keeps_the_size_a_person_gave_it,
    "file_list_renames_a_feed": case_file_list_renames_a_feed,
    "type_a_title_and_press_enter": case_type_a_title_and_press_enter,
    "escape_cancels": case_escape_cancels,
    "close_box_cancels": case_close_box_cancels,
    "dialog_opens_mid_screen": case_dialog_opens_mid_screen,
    "bare_program_opens_the_navigator": case_bare_program_opens_the_navigator,
    "navigator_hover_text_follows_the_pointer": case_navigator_hover_text_follows_the_pointer,
}

NEEDS_A_BUS = {"navigator_hover_text_follows_the_pointer"}


def main():
    newsdesk, source, work, case = sys.argv[1:5]
    if case not in CASES:
        fail("no case " + case)
    if case in NEEDS_A_BUS and "NEWSDESK_TEST_BUS" not in os.environ:
        # A message bus of the case's own, ended with it, so that the
        # accessibility bus it starts is never the desktop's.
        if shutil.which("dbus-run-session") is None:
            print("real_windows: dbus-run-session is missing; skipped", file=sys.stderr)
            return SKIP
        os.environ["NEWSDESK_TEST_BUS"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    feed = os.path.join(work, "feed.rss")
    shutil.copyfile(source, feed)
    with open(feed, "rb") as f:
        before = f.read()
    started = start_xvfb()
    if started is None:
        print("real_windows: Xvfb cannot start here; skipped", file=sys.stderr)
        return SKIP
    server, display = started
    session = Session(newsdesk, work, display)
    session.server = server
    try:
        CASES[case](session, feed, before, display)
    finally:
        if session.program and session.program.poll() is None:
            session.program.kill()
            session.program.wait()
        if server.poll() is None:
            server.terminate()
            server.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
