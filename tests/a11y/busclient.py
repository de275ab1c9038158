"""The panel as a screen reader reaches it: through the desktop's
accessibility bus (AT-SPI), with pyatspi. Nothing here looks at the
program's widgets, pixels or source; what is not on the bus does not exist
for these checks.

Every wait has a short limit: a window gets ten seconds to appear, a
control in a window that is shown a second and a half, so a missing control
fails at once, saying what the window holds instead."""

import os
import re
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

WINDOW_SECONDS = 10
CONTROL_SECONDS = 1.5

# X keysyms sent through the registry, as a screen reader's key echo does.
KEYS = {"Tab": 0xFF09, "Return": 0xFF0D, "Up": 0xFF52, "Down": 0xFF54, "Menu": 0xFF67}

# Roles whose checked state a screen reader reads; Qt 6.4 sends no
# "checkable" state, the role says it.
CHECKED_ROLES = (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_RADIO_BUTTON)

# What a change of a lamp, a value or a name sends on the bus.
ANNOUNCEMENTS = (
    "object:state-changed",
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:property-change:accessible-value",
    "object:value-changed",
    "object:text-changed",
)


# A call the program did not answer in time (a modal loop inside an
# action, a hang) or an object that went away.
BusError = GLib.Error


class Missing(Exception):
    """A window or control the check needs is not on the bus: it cannot go on."""


class Unmet(Exception):
    """The bus does not give a user what the check expects."""


def pump(seconds=0.0):
    """Lets pyatspi take in what arrived from the bus (events, replies)."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(seconds, what, probe):
    """probe() until it gives something; objects that vanish while a window
    closes or opens count as not there yet."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except BusError:
            found = None
        if found:
            return found
        if time.monotonic() >= end:
            raise Missing(f"{what}: not within {seconds:g}s")
        pump(0.05)


def children(acc):
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield child


def walk(acc):
    """acc and every descendant, depth first in the bus's order."""
    yield acc
    for child in children(acc):
        yield from walk(child)


def has(acc, state):
    return acc.getState().contains(state)


def showing(acc):
    return has(acc, pyatspi.STATE_SHOWING)


def related(acc, relation):
    targets = []
    for rel in acc.getRelationSet():
        if rel.getRelationType() == relation:
            targets.extend(rel.getTarget(i) for i in range(rel.getNTargets()))
    return targets


def ancestors(acc):
    parent = acc.parent
    while parent is not None and parent.getRole() != pyatspi.ROLE_APPLICATION:
        yield parent
        parent = parent.parent


def same(a, b):
    return a is b or (a.path == b.path and a.get_process_id() == b.get_process_id())


def text_of(acc):
    try:
        text = acc.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def action_names(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def labels(acc):
    """What a screen reader speaks as the control's label. A combo box's
    name is its current item on this platform, so only its labels count;
    a group box's title that the toolkit hands down to the controls inside
    it names the group, not the control."""
    outer = [a for a in ancestors(acc) if a.getRole() in (pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING)]
    outer_names = {a.name for a in outer if a.name}
    heard = [
        t.name
        for t in related(acc, pyatspi.RELATION_LABELLED_BY)
        if t.name and not any(same(t, a) for a in outer)
    ]
    own = acc.name
    if own and acc.getRole() != pyatspi.ROLE_COMBO_BOX and own not in outer_names:
        heard.insert(0, own)
    return heard


def plain(label):
    """A label as compared: without mnemonic marks, blanks and a final colon."""
    return label.replace("&", "").strip().rstrip(":").strip()


def value_text(acc):
    """The value a screen reader reads for the control."""
    role = acc.getRole()
    if role == pyatspi.ROLE_COMBO_BOX:
        return acc.name
    return text_of(acc) or acc.name


def short(text, limit=70):
    text = " ".join((text or "").split())
    return text if len(text) <= limit else text[: limit - 3] + "..."


def describe(acc):
    """One line: role, name, labels, description, value, as the bus has them."""
    role = acc.getRoleName()
    parts = [f'{role} "{short(acc.name)}"']
    by = [t.name for t in related(acc, pyatspi.RELATION_LABELLED_BY)]
    if by:
        parts.append("labelled by " + ", ".join(f'"{n}"' for n in by))
    if acc.description:
        parts.append(f'description "{short(acc.description)}"')
    text = text_of(acc)
    if text is not None and text != acc.name:
        parts.append(f'text "{short(text)}"')
    try:
        parts.append(f"value {acc.queryValue().currentValue:g}")
    except NotImplementedError:
        pass
    if acc.getRole() in CHECKED_ROLES or has(acc, pyatspi.STATE_CHECKABLE):
        parts.append("checked" if has(acc, pyatspi.STATE_CHECKED) else "not checked")
    return ", ".join(parts)


def says(win, text):
    """Whether a label of win reads text."""
    return any(text in (a.name or "") for a in walk(win) if a.getRole() == pyatspi.ROLE_LABEL)


def is_caption(acc):
    """A plain label that names something else: not a value labelled by a
    caption of its own, nor a lamp drawn as a label (which has a state)."""
    if acc.getRole() != pyatspi.ROLE_LABEL or has(acc, pyatspi.STATE_CHECKABLE) or has(acc, pyatspi.STATE_CHECKED):
        return False
    outer = list(ancestors(acc))
    return all(any(same(t, a) for a in outer) for t in related(acc, pyatspi.RELATION_LABELLED_BY))


def group(root, title):
    """The showing group (or page) whose name is title, searched from root."""
    for acc in walk(root):
        if acc.name == title and showing(acc) and acc.getRole() in (
            pyatspi.ROLE_PANEL,
            pyatspi.ROLE_GROUPING,
            pyatspi.ROLE_PAGE_TAB,
            pyatspi.ROLE_FILLER,
        ):
            return acc
    shown = sorted({a.name for a in walk(root) if a.getRole() == pyatspi.ROLE_PANEL and a.name})
    raise Missing(f'no group "{title}" (groups: {", ".join(shown) or "none"})')


def controls_in(root):
    return [a for a in walk(root) if showing(a) and not is_caption(a) and not same(a, root)]


def find(root, label, within=None, roles=None):
    """The one showing control under root (in the group named within) that a
    screen reader reads with this label. Fails at once, naming what is there."""
    scope = group(root, within) if within else root

    def matches():
        return [
            a
            for a in controls_in(scope)
            if (roles is None or a.getRole() in roles) and plain(label) in [plain(t) for t in labels(a)]
        ]

    end = time.monotonic() + CONTROL_SECONDS
    found = matches()
    while not found and time.monotonic() < end:
        pump(0.1)
        found = matches()
    where = f' in "{within}"' if within else ""
    if not found:
        near = [describe(a) for a in controls_in(scope) if a.getRole() not in (pyatspi.ROLE_LIST_ITEM,)]
        near = [n for n in near if not n.startswith(("filler \"\"", "panel \"\"", "list \"\""))] or near
        raise Missing(f'no control{where} is read as "{label}"; the bus has: ' + "; ".join(near[:12]))
    if len(found) > 1:
        raise Unmet(f'{len(found)} controls{where} are read as "{label}": ' + "; ".join(describe(a) for a in found))
    return found[0]


def find_named(root, name, role):
    """A showing object of this role whose own name is name (buttons, tabs, cells)."""

    def probe():
        for acc in walk(root):
            if acc.getRole() == role and plain(acc.name) == plain(name) and showing(acc):
                return acc
        return None

    try:
        return wait_for(CONTROL_SECONDS, f'{root.getRoleName()} "{root.name}"', probe)
    except Missing:
        same_role = [f'"{a.name}"' for a in walk(root) if a.getRole() == role and showing(a)]
        raise Missing(
            f'no {Atspi.role_get_name(role)} named "{name}" in "{root.name}" '
            f'({Atspi.role_get_name(role)}s there: {", ".join(same_role) or "none"})'
        ) from None


def do(acc, *names):
    """Runs the first of the named actions the object offers."""
    offered = action_names(acc)
    for name in names:
        if name in offered:
            acc.queryAction().doAction(offered.index(name))
            pump(0.1)
            return
    raise Unmet(f'{describe(acc)}: no action {" or ".join(names)} (offers: {", ".join(offered) or "none"})')


def press(acc):
    do(acc, "Press", "Click", "press", "click")


def key(name):
    pyatspi.Registry.generateKeyboardEvent(KEYS[name], None, pyatspi.KEY_SYM)
    pump(0.08)


def focus(acc, tabs=60):
    """Gives acc the keyboard focus: through the bus where it offers that,
    else with Tab as a user at the keyboard does."""
    if "SetFocus" in action_names(acc):
        do(acc, "SetFocus")
        wait_for(2, f"focus on {describe(acc)}", lambda: has(acc, pyatspi.STATE_FOCUSED))
        return
    for _ in range(tabs):
        if has(acc, pyatspi.STATE_FOCUSED):
            return
        key("Tab")
        pump(0.05)
    raise Unmet(f"{describe(acc)}: not reached with {tabs} presses of Tab")


def click(acc):
    """A left click in the middle of the object, through the registry, as a
    screen reader's mouse routing does for objects that offer no action."""
    x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + w // 2, y + h // 2, "b1c")
    pump(0.2)


ON_OFF = re.compile(r"\b(on|off)\b", re.IGNORECASE)


def lamp_state(acc):
    """'on' or 'off' as a screen reader can read it: checked or not, or the
    word in the lamp's name, description or text."""
    if acc.getRole() in CHECKED_ROLES or has(acc, pyatspi.STATE_CHECKABLE):
        return "on" if has(acc, pyatspi.STATE_CHECKED) else "off"
    for text in (acc.name, acc.description, text_of(acc) or ""):
        found = ON_OFF.findall(text or "")
        if found:
            return found[-1].lower()
    raise Unmet(f"{describe(acc)}: its on/off state is not readable")


class Events:
    """Events the bus delivers while a check runs, to see whether a change
    was announced."""

    def __init__(self):
        self.seen = []
        for kind in ANNOUNCEMENTS:
            pyatspi.Registry.registerEventListener(self._take, kind)

    def _take(self, event):
        self.seen.append((event.type, event.source))

    def mark(self):
        pump()
        return len(self.seen)

    def about(self, acc, since, seconds=2):
        """The events for acc after mark since, waiting up to seconds for one."""

        def probe():
            return [kind for kind, source in self.seen[since:] if source is not None and same(source, acc)]

        try:
            return wait_for(seconds, "announcement", probe)
        except Missing:
            return []


class Program:
    """The panel's executable started on the virtual display, reached only
    through the bus; stdout and stderr go to files in work."""

    def __init__(self, exe, work, name, env=None):
        self.name = name
        self.work = work
        self.err = os.path.join(work, f"{name}.err")
        environment = dict(os.environ, **(env or {}))
        with open(os.path.join(work, f"{name}.out"), "w") as out, open(self.err, "w") as err:
            self.process = subprocess.Popen([exe], env=environment, stdout=out, stderr=err)
        self.app = wait_for(WINDOW_SECONDS, f"{name}: the program on the accessibility bus", self._find_app)
        # Read everything live: a cached name or state could hide a change.
        self.app.set_cache_mask(Atspi.Cache.NONE)

    def _find_app(self):
        if self.process.poll() is not None:
            raise Missing(f"the program ended with exit code {self.process.returncode} before it reached the bus")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.process.pid:
                    return app
            except GLib.Error:
                continue
        return None

    def window(self, title, kind=None, seconds=WINDOW_SECONDS):
        """The showing top-level window of this title; kind, a test of the
        window, tells apart windows of one title."""

        def probe():
            if self.process.poll() is not None:
                raise Missing(f'the program ended with exit code {self.process.returncode}; no window "{title}"')
            for win in children(self.app):
                if win.name == title and showing(win) and (kind is None or kind(win)):
                    return win
            return None

        try:
            return wait_for(seconds, f'window "{title}"', probe)
        except Missing as missing:
            shown = [f'{w.getRoleName()} "{w.name}"' for w in children(self.app) if showing(w)]
            raise Missing(f"{missing} (shown: {', '.join(shown) or 'none'})") from None

    def gone(self, win, seconds=WINDOW_SECONDS):
        wait_for(seconds, f'window "{win.name}" to close', lambda: self.process.poll() is not None or not showing(win))

    def exit_code(self, seconds=WINDOW_SECONDS):
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Missing(f"the program still runs {seconds}s later") from None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def output(self):
        with open(self.err, errors="replace") as err:
            return err.read()
