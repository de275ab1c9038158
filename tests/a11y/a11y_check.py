"""Checks the panel as a screen-reader user meets it, through the desktop's
accessibility bus only (see busclient.py). Run by a11y.sh inside a private
session bus with the accessibility bus, on a virtual display.

  a11y_check.py operate <zr7480sfp> <work folder>
      Demo mode: "Run In Demo Mode" by its name; channel 1's filter by its
      label, "Butterworth 2kHz" chosen with the keyboard; DDS Frequency and
      Clock Divider with value, unit and number format; the Command/Status
      page by its tab; both lamps with their states; About with its
      revisions and licence link; Close and Yes. On a bench with two cards:
      Auto Find, the card chosen in the tree by its name, Arm and Update,
      the sync lamp's change read and announced.
  a11y_check.py names <zr7480sfp> <work folder>
      Every window and dialog in turn (how-to-connect box, address dialog,
      its warning, the unavailable-card and no-card questions, selection
      dialog, both pages, About, licence viewer, exit question), each
      focusable control listed as the bus reads it; one read without a name
      a person would say fails.

Each step prints "ok" or "FAIL" with what the bus has. A window that does
not appear, or a step the way on needs, stops that run at once; any other
step that fails is recorded and the run goes on with the steps that do not
need it."""

import json
import os
import re
import signal
import sys

import pyatspi

import busclient as bus
from busclient import BusError, Missing, Unmet

PASSED = "a11y: every step passed"
CONNECT = "Tervix 7480 SFP: Select Function Card"
MAIN = "Tervix 7480 Soft Front Panel"
ABOUT = "About Tervix 7480 Soft Front Panel"
EXIT_QUESTION = "Tervix  SFP"
WARNING = "Tervix  SFP Warning message"
LICENCE = "Qt LGPL License"
ADDRESS = "Tervix 7480 SFP: Enter Function Card Address"
REVISION = re.compile(r"^\d+(\.\d+)+$")
DEMO_HARDWARE = {"Device Model": "7480-AA (DEMO)", "Revision": "1.0.1.0 (DEMO)", "Serial Number": "74809481 (DEMO)"}

# One carrier in VXI slot 4 with a 7480 in its slots 2 and 5, so that
# Auto Find asks which one; the serial line is no carrier.
TWO_CARDS = {
    "resources": [
        {
            "descriptor": "VXI0::3::INSTR",
            "interface": "VXI",
            "slot": 4,
            "carrier": {
                "modelId": 1987,
                "slots": [0, {"id": "0x7480", "option": "AA"}, 0, 0, {"id": "0x7480", "option": "AB"}],
            },
        },
        {"descriptor": "ASRL1::INSTR"},
    ]
}
NO_CARDS = {"resources": [{"descriptor": "ASRL1::INSTR"}]}


class Stop(Exception):
    """A step the rest of the run needs has failed."""


class TimeUp(BaseException):
    """The whole check took too long; no step catches this."""


def time_up(signum, frame):
    raise TimeUp()


class Steps:
    """Runs the steps of one check, prints and keeps their outcome."""

    def __init__(self):
        self.failed = []
        self.passed = 0

    def __call__(self, name, action, needs=()):
        """Runs action; a failure is recorded and the run goes on. A step
        that needs a failed one is not run."""
        blocked = [n for n in needs if n in self.failed]
        if blocked:
            print(f"skip  {name}: not reached, a step it needs failed")
            self.failed.append(name)
            return None
        try:
            result = action()
        except (Unmet, Missing, BusError) as problem:
            print(f"FAIL  {name}: {problem}")
            self.failed.append(name)
            return None
        print(f"ok    {name}")
        self.passed += 1
        return result

    def gate(self, name, action):
        """A step the rest of the run cannot do without."""
        before = len(self.failed)
        result = self(name, action)
        if len(self.failed) > before:
            raise Stop()
        return result


def fails(problem):
    raise Unmet(problem)


def expect(what, seen, wanted):
    if seen != wanted:
        raise Unmet(f'{what} reads "{seen}", expected "{wanted}"')


def run(exe, work, step, name, bench, body):
    """Starts the program (on bench, or the built-in one when None), runs
    body(program) and takes the program down; when a step the run needs
    failed, shows what the program wrote to stderr."""
    env = {"ZR_SIMBENCH_LOG": os.path.join(work, f"{name}.calls"), "ZR_SIMBENCH_FILE": ""}
    if bench is not None:
        env["ZR_SIMBENCH_FILE"] = os.path.join(work, f"{name}.json")
        with open(env["ZR_SIMBENCH_FILE"], "w") as out:
            json.dump(bench, out)
    try:
        program = step.gate(
            f"{name}: the program answers on the accessibility bus", lambda: bus.Program(exe, work, name, env)
        )
    except Stop:
        return
    try:
        body(program)
    except Stop:
        print(f"      {name}: the program's stderr:")
        for line in program.output().splitlines()[-20:]:
            print(f"        {line}")
    finally:
        program.stop()


def calls(program):
    """The bench's call log of the program's run."""
    with open(os.path.join(program.work, f"{program.name}.calls")) as log:
        return log.read()


def connect_box(program):
    """The how-to-connect box; the questions of the flow share its title."""
    return program.window(CONNECT, kind=lambda w: bus.says(w, "How to connect to"))


def selection_dialog(program):
    return program.window(CONNECT, kind=lambda w: w.getRole() == pyatspi.ROLE_DIALOG)


def press_named(win, name):
    bus.press(bus.find_named(win, name, pyatspi.ROLE_PUSH_BUTTON))


def answer(program, box, button):
    """Presses button in a box that ends the program: exit code 0."""
    press_named(box, button)
    code = program.exit_code()
    if code != 0:
        raise Unmet(f'exit code {code} after "{button}", expected 0')


def close_with_yes(program, main):
    press_named(main, "Close")
    answer(program, program.window(EXIT_QUESTION), "Yes")


def open_page(main, tab, control_on_page):
    bus.press(bus.find_named(main, tab, pyatspi.ROLE_PAGE_TAB))
    bus.wait_for(2, f'page "{tab}"', lambda: bus.find_named(main, control_on_page, pyatspi.ROLE_PUSH_BUTTON))


def choose_card(program, selection, card):
    """Moves through the tree with Down, as a user does, until the card of
    that name is selected; then OK."""
    trees = bus.wait_for(
        2, "the selection tree", lambda: [a for a in bus.walk(selection) if a.getRole() == pyatspi.ROLE_TREE]
    )
    tree = trees[0]
    bus.focus(tree)
    for _ in range(tree.childCount):
        if any(a.name == card and bus.has(a, pyatspi.STATE_SELECTED) for a in bus.walk(tree)):
            break
        bus.key("Down")
    else:
        cells = [a.name for a in bus.walk(tree) if a.getRole() == pyatspi.ROLE_TABLE_CELL and a.name]
        raise Missing(f'no card "{card}" selected with Down in the tree (it reads: {", ".join(cells)})')
    press_named(selection, "OK")
    return program.window(MAIN)


# --- operate --------------------------------------------------------------


def read_value(win, label, within, wanted, roles=None):
    control = bus.find(win, label, within=within, roles=roles)
    expect(f'"{label}"', bus.value_text(control), wanted)
    return control


def choose(combo, item):
    """Picks item in a combo box with the keyboard: focus, then Down or Up
    until it reads the item."""
    items = [c.name for c in bus.walk(combo) if c.getRole() == pyatspi.ROLE_LIST_ITEM]
    if item not in items:
        raise Unmet(f'{bus.describe(combo)} offers no "{item}" (offers: {", ".join(items)})')
    bus.focus(combo)
    now = items.index(combo.name) if combo.name in items else 0
    direction = "Down" if items.index(item) > now else "Up"
    for _ in range(len(items)):
        if combo.name == item:
            return
        bus.key(direction)
    expect("the box", combo.name, item)


def described(acc):
    """The control's help (its What's This text) is read as its description."""
    if not acc.description:
        raise Unmet(f"{bus.describe(acc)}: its help is not read (no description)")


def unit_read(acc, words):
    heard = " ".join([acc.name or "", acc.description or "", bus.value_text(acc) or ""])
    if not any(re.search(rf"\b{w}\b", heard, re.IGNORECASE) for w in words):
        raise Unmet(f"{bus.describe(acc)}: its unit ({' or '.join(words)}) is not read")


def format_read(acc, base):
    """The number format is read in words: in the control's description or
    by a part of it, such as its base button, not as a one-letter tag."""
    parts = [acc] + [c for c in bus.walk(acc) if bus.showing(c)]
    if not any(base in f"{p.name} {p.description}".lower() for p in parts):
        raise Unmet(f'number format "{base}" is not read: ' + "; ".join(bus.describe(p) for p in parts))


def value_read(acc, wanted):
    """The control's value as a number (the Value interface), as well as its text."""
    try:
        seen = acc.queryValue().currentValue
    except NotImplementedError:
        raise Unmet(f"{bus.describe(acc)}: no value") from None
    if seen != wanted:
        raise Unmet(f"{bus.describe(acc)}: value {seen:g}, expected {wanted:g}")


def format_changed(acc, base, text):
    """The number format chosen from the keyboard: the menu key in the
    field lists the formats, Down twice takes the second, Return chooses it;
    the value reads the same in it."""
    bus.focus(acc)
    for name in ("Menu", "Down", "Down", "Return"):
        bus.key(name)
    try:
        bus.wait_for(2, "the new format", lambda: _holds(format_read, acc, base))
    except Missing:
        format_read(acc, base)  # says what the control reads instead
    expect(bus.describe(acc), bus.value_text(acc), text)


def _holds(check, *args):
    try:
        check(*args)
        return True
    except Unmet:
        return False


def read_lamp(win, label, wanted):
    lamp = bus.find(win, label, within="Status")
    state = bus.lamp_state(lamp)
    if state != wanted:
        raise Unmet(f'lamp "{label}" reads {state}, expected {wanted} ({bus.describe(lamp)})')
    return lamp


def read_revisions(about):
    for label in ("Tervix Common Library", "Instrument Driver", "Soft Front Panel"):
        text = bus.value_text(bus.find(about, label))
        if not REVISION.match(text or ""):
            raise Unmet(f'"{label}" reads "{text}", expected a revision')
    for label, wanted in DEMO_HARDWARE.items():
        expect(f'"{label}"', bus.value_text(bus.find(about, label)), wanted)


def follow_licence_link(program, about):
    """"LGPL" is a link: the keyboard reaches it and it can be followed."""
    link = bus.find(about, "LGPL")
    if not bus.has(link, pyatspi.STATE_FOCUSABLE):
        raise Unmet(f"{bus.describe(link)}: a link the keyboard cannot reach")
    bus.do(link, "Press", "Click", "click", "jump")
    licence = program.window(LICENCE)
    press_named(licence, "Ok")
    program.gone(licence)


def operate_demo(program, step):
    main = step.gate(
        'how-to-connect box: "Run In Demo Mode" found by its name and pressed',
        lambda: (press_named(connect_box(program), "Run In Demo Mode"), program.window(MAIN))[1],
    )
    found = 'Configuration: "Filter" of "Channel 1" found by its label, reads "Butterworth 500Hz"'
    combo = step(found, lambda: read_value(main, "Filter", "Channel 1", "Butterworth 500Hz", [pyatspi.ROLE_COMBO_BOX]))
    step('Configuration: "Filter" reads its help as description', lambda: described(combo), needs=[found])
    step(
        'Configuration: "Butterworth 2kHz" chosen in it with the keyboard',
        lambda: choose(combo, "Butterworth 2kHz"),
        needs=[found],
    )
    found = 'Configuration: "DDS Frequency" found by its label, reads "1.2500e+07"'
    dds = step(found, lambda: read_value(main, "DDS Frequency", "Clock", "1.2500e+07"))
    step('Configuration: "DDS Frequency" reads its unit', lambda: unit_read(dds, ["Hz", "Hertz"]), needs=[found])
    step('Configuration: "DDS Frequency" reads its value as a number', lambda: value_read(dds, 12.5e6), needs=[found])
    found = 'Configuration: "Clock Divider" found by its label, reads "4"'
    divider = step(found, lambda: read_value(main, "Clock Divider", "Clock", "4"))
    step(
        'Configuration: "Clock Divider" reads its number format',
        lambda: format_read(divider, "unsigned decimal"),
        needs=[found],
    )
    step(
        'Configuration: "Clock Divider" number format changed from the keyboard to "hexadecimal", reads "4"',
        lambda: format_changed(divider, "hexadecimal", "4"),
        needs=[found],
    )
    step.gate('Command/Status page opened by its tab', lambda: open_page(main, "Command/Status", "Update"))
    step('Command/Status: lamp "DDS Error" found by its label, reads off', lambda: read_lamp(main, "DDS Error", "off"))
    step(
        'Command/Status: lamp "Sync Status" found by its label, reads off',
        lambda: read_lamp(main, "Sync Status", "off"),
    )
    about = step.gate("About opened by its button", lambda: (press_named(main, "About"), program.window(ABOUT))[1])
    step('About: revisions and the "(DEMO)" hardware read by their captions', lambda: read_revisions(about))
    step('About: the "LGPL" link reached and followed to the licence', lambda: follow_licence_link(program, about))
    step.gate('About closed with "OK"', lambda: (press_named(about, "OK"), program.gone(about)))
    step.gate('"Close", then "Yes" in the exit question: exit code 0', lambda: close_with_yes(program, main))


def lamp_announced(main, events):
    """After Arm, Update reads the card synchronised: the lamp reads on and
    its change reached the bus as an event."""
    read_lamp(main, "Sync Status", "off")
    press_named(main, "Arm")
    since = events.mark()
    press_named(main, "Update")
    lamp = bus.wait_for(2, 'lamp "Sync Status" on', lambda: _lamp_reads(main, "Sync Status", "on"))
    if not events.about(lamp, since):
        raise Unmet(f"the change of {bus.describe(lamp)} was not announced on the bus")
    read_lamp(main, "DDS Error", "off")


def _lamp_reads(main, label, wanted):
    try:
        return read_lamp(main, label, wanted)
    except Unmet:
        return None


def operate_bench(program, step, events):
    selection = step.gate(
        'how-to-connect box: "Auto Find" pressed; the selection dialog shows',
        lambda: (press_named(connect_box(program), "Auto Find"), selection_dialog(program))[1],
    )
    main = step.gate('selection tree: card "FC 5" chosen by its name', lambda: choose_card(program, selection, "FC 5"))
    step.gate(
        "the driver session is opened on card 5",
        lambda: re.search(r'^zr7480_init\(rsrcName="VXI0::3::INSTR", fcNumber=5,.*-> 0$', calls(program), re.M)
        or fails("no init of card 5 on the call log"),
    )
    step.gate("Command/Status page opened by its tab", lambda: open_page(main, "Command/Status", "Update"))
    step(
        'Command/Status: after "Arm" and "Update" lamp "Sync Status" reads on, its change announced',
        lambda: lamp_announced(main, events),
    )
    step.gate('"Close", then "Yes" in the exit question: exit code 0', lambda: close_with_yes(program, main))


def operate(exe, work, step):
    events = bus.Events()
    run(exe, work, step, "demo", None, lambda program: operate_demo(program, step))
    run(exe, work, step, "bench", TWO_CARDS, lambda program: operate_bench(program, step, events))


# --- names ----------------------------------------------------------------


def inside_combo(acc):
    """The items of a closed combo box's list are on the bus as showing."""
    return any(a.getRole() == pyatspi.ROLE_COMBO_BOX for a in bus.ancestors(acc))


def survey(win, title):
    """Prints each focusable control of win as the bus reads it; fails on
    those a screen reader reads without a name."""
    focusable = [
        a
        for a in bus.walk(win)
        if bus.has(a, pyatspi.STATE_FOCUSABLE) and bus.showing(a) and not inside_combo(a)
    ]
    print(f"      {title}:")
    for acc in focusable:
        print(f"        {bus.describe(acc)}")
    unnamed = [a for a in focusable if not bus.labels(a)]
    if unnamed:
        raise Unmet(f"{len(unnamed)} without a name: " + "; ".join(bus.describe(a) for a in unnamed))


def combo_offering(win, item):
    """The combo box of win with this item, found by what it offers."""
    for acc in bus.walk(win):
        if acc.getRole() == pyatspi.ROLE_COMBO_BOX and any(c.name == item for c in bus.walk(acc)):
            return acc
    raise Missing(f'no combo box offers "{item}"')


def open_licence(about):
    """"LGPL" followed by its action if it has one, else clicked where the
    bus says it is, so the viewer is reached either way."""
    link = bus.find(about, "LGPL")
    if bus.action_names(link):
        bus.do(link, "Press", "Click", "click", "jump")
    else:
        bus.click(link)


def names_found(program, step):
    """How-to-connect box, address dialog, its warning, the unavailable-card
    question, selection dialog, both pages, About, licence viewer, exit
    question."""
    box = step.gate("how-to-connect box shows", lambda: connect_box(program))
    step("how-to-connect box: every focusable control named", lambda: survey(box, CONNECT))
    step.gate('"Enter Address"', lambda: press_named(box, "Enter Address"))
    address = step.gate("address dialog shows", lambda: program.window(ADDRESS))
    step("address dialog: every focusable control named", lambda: survey(address, ADDRESS))
    step.gate('"OK" without a card number', lambda: press_named(address, "OK"))
    warning = step.gate("warning box shows", lambda: program.window(WARNING))
    step("warning box: every focusable control named", lambda: survey(warning, WARNING))
    step.gate('warning box: "OK"', lambda: press_named(warning, "OK"))
    address = step.gate("address dialog shows again", lambda: program.window(ADDRESS))
    step.gate('card number "FC 1" chosen', lambda: choose(combo_offering(address, "FC 1"), "FC 1"))
    step.gate('"OK" with an address the bench does not have', lambda: press_named(address, "OK"))
    question = step.gate(
        '"unavailable" question shows',
        lambda: program.window(CONNECT, kind=lambda w: bus.says(w, "Function Card is unavailable")),
    )
    step("unavailable question: every focusable control named", lambda: survey(question, "unavailable question"))
    step.gate('unavailable question: "Try Again"', lambda: press_named(question, "Try Again"))
    step.gate('how-to-connect box: "Auto Find"', lambda: press_named(connect_box(program), "Auto Find"))
    selection = step.gate("selection dialog shows", lambda: selection_dialog(program))
    step("selection dialog: every focusable control named", lambda: survey(selection, "selection dialog"))
    main = step.gate('card "FC 2" chosen', lambda: choose_card(program, selection, "FC 2"))
    step("main window, Configuration page: every focusable control named", lambda: survey(main, "Configuration"))
    step.gate("Command/Status page", lambda: open_page(main, "Command/Status", "Update"))
    step("main window, Command/Status page: every focusable control named", lambda: survey(main, "Command/Status"))
    about = step.gate("About shows", lambda: (press_named(main, "About"), program.window(ABOUT))[1])
    step("About: every focusable control named", lambda: survey(about, ABOUT))
    licence = step.gate('licence viewer shows after "LGPL"', lambda: (open_licence(about), program.window(LICENCE))[1])
    step("licence viewer: every focusable control named", lambda: survey(licence, LICENCE))
    step.gate('licence viewer: "Ok"', lambda: (press_named(licence, "Ok"), program.gone(licence)))
    step.gate('About: "OK"', lambda: (press_named(about, "OK"), program.gone(about)))
    question = step.gate("exit question shows", lambda: (press_named(main, "Close"), program.window(EXIT_QUESTION))[1])
    step("exit question: every focusable control named", lambda: survey(question, EXIT_QUESTION))
    step.gate('exit question: "Yes", exit code 0', lambda: answer(program, question, "Yes"))


def names_none(program, step):
    """The question after a search that found no card."""
    step.gate('how-to-connect box: "Auto Find"', lambda: press_named(connect_box(program), "Auto Find"))
    question = step.gate(
        '"No 7480 Function Card found" question shows',
        lambda: program.window(CONNECT, kind=lambda w: bus.says(w, "No 7480 Function Card found")),
    )
    step("no-card question: every focusable control named", lambda: survey(question, "no-card question"))
    step.gate('no-card question: "Cancel", exit code 0', lambda: answer(program, question, "Cancel"))


def names(exe, work, step):
    run(exe, work, step, "names", TWO_CARDS, lambda program: names_found(program, step))
    run(exe, work, step, "none", NO_CARDS, lambda program: names_none(program, step))


def main():
    check, exe, work = sys.argv[1:4]
    # The report, tracebacks included, goes to descriptor 3; the buses'
    # chatter on the standard streams goes to a log (a11y.sh).
    sys.stdout = sys.stderr = os.fdopen(3, "w", buffering=1)
    # Whatever hangs, the check ends well inside CTest's limit, and
    # a11y.sh takes every process down.
    seconds = 150
    signal.signal(signal.SIGALRM, time_up)
    signal.alarm(seconds)
    step = Steps()
    try:
        {"operate": operate, "names": names}[check](exe, work, step)
    except TimeUp:
        print(f"FAIL  the check took longer than {seconds}s")
        step.failed.append("time")
    total = step.passed + len(step.failed)
    if step.failed:
        print(f"a11y {check}: {len(step.failed)} of {total} steps failed")
        return 1
    print(f"{PASSED} ({total} steps)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
