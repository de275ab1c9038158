"""Takes the README's screenshots (scripts/screenshots.sh runs it inside a
private session bus on a virtual display). The panel is reached through the
accessibility bus (tests/a11y/busclient.py): each window is waited for
until the bus shows it, each control is clicked in the middle of where the
bus says it is, and a window is captured once two captures in a row agree,
so it has finished painting.

Usage: screenshots.py <zr7480sfp executable> <output folder> <work folder>"""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "a11y"))
import busclient as bus  # noqa: E402
import pyatspi  # noqa: E402

CONNECT = "Tervix 7480 SFP: Select Function Card"
MAIN = "Tervix 7480 Soft Front Panel"
ABOUT = "About Tervix 7480 Soft Front Panel"
PAINT_SECONDS = 10


def x_window(title):
    """The X window id of the shown window whose whole title is title."""

    def probe():
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", f"^({re.escape(title)})$"],
            capture_output=True,
            text=True,
        ).stdout.split()
        return found[-1] if found else None

    return bus.wait_for(bus.WINDOW_SECONDS, f'X window "{title}"', probe)


def shot(title, name, out):
    """The window with its frame, into out/name.png."""
    window = x_window(title)

    def capture():
        return subprocess.run(["import", "-window", window, "-frame", "rgb:-"], capture_output=True, check=True).stdout

    end = time.monotonic() + PAINT_SECONDS
    before = capture()
    while True:
        bus.pump(0.2)
        now = capture()
        if now == before:
            break
        if time.monotonic() > end:
            raise bus.Missing(f'"{title}" still changes after {PAINT_SECONDS}s')
        before = now
    subprocess.run(["import", "-window", window, "-frame", os.path.join(out, f"{name}.png")], check=True)
    print(f"{name}.png: {title}", flush=True)


def click(acc, count=1):
    """count clicks of the left button in the middle of acc, where the bus
    places it on the screen."""
    x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + w // 2, y + h // 2, "b1d" if count == 2 else "b1c")
    bus.pump(0.2)


def connect_box(program):
    """The how-to-connect box; the selection dialog shares its title."""
    return program.window(CONNECT, kind=lambda w: bus.says(w, "How to connect to"))


def default_bench(program, out):
    """Auto Find on the built-in bench: the box, the tree, the first card's
    window on both pages, About."""
    box = connect_box(program)
    shot(CONNECT, "connect", out)
    click(bus.find_named(box, "Auto Find", pyatspi.ROLE_PUSH_BUTTON))
    program.gone(box)
    selection = program.window(CONNECT, kind=lambda w: w.getRole() == pyatspi.ROLE_DIALOG)
    shot(CONNECT, "select", out)
    # The first card of the tree: an LXI carrier's, whose host the title names.
    card = bus.wait_for(
        bus.CONTROL_SECONDS,
        "a 7480 in the tree",
        lambda: next((a for a in bus.walk(selection) if a.getRole() == pyatspi.ROLE_TABLE_CELL and a.name == "7480"), None),
    )
    click(card, count=2)
    main = program.window(f"{MAIN}: fc-lab-01.example")
    shot(main.name, "configuration", out)
    click(bus.find_named(main, "Command/Status", pyatspi.ROLE_PAGE_TAB))
    bus.find_named(main, "Update", pyatspi.ROLE_PUSH_BUTTON)
    shot(main.name, "status", out)
    click(bus.find_named(main, "About", pyatspi.ROLE_PUSH_BUTTON))
    program.window(ABOUT)
    shot(ABOUT, "about", out)


def demo_at_scale_2(program, out):
    """Demo mode at scale factor 2: the Configuration page. Qt 6.4 places
    its controls on the bus in unscaled pixels here, so the button is
    pressed through its action."""
    bus.press(bus.find_named(connect_box(program), "Run In Demo Mode", pyatspi.ROLE_PUSH_BUTTON))
    program.window(MAIN)
    shot(MAIN, "configuration-scale2", out)


def main():
    # Messages go to descriptor 3; the buses' to standard output and error.
    sys.stdout = sys.stderr = os.fdopen(3, "w", buffering=1)
    exe, out, work = sys.argv[1:4]
    runs = [
        ("default", {"ZR_SIMBENCH_FILE": ""}, default_bench),
        ("scale2", {"ZR_SIMBENCH_FILE": "/nonexistent", "QT_SCALE_FACTOR": "2"}, demo_at_scale_2),
    ]
    for name, env, body in runs:
        program = bus.Program(exe, work, name, env)
        try:
            body(program, out)
        except (bus.Missing, bus.Unmet, bus.BusError) as problem:
            print(f"screenshots: {name}: {problem}")
            print(program.output())
            return 1
        finally:
            program.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
