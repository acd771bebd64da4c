# SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads the running program through the accessibility bus, as a screen reader does, and drives it
with keys. Prints one line per check, "PASS: ..." or "FAIL: ...", and "DONE" at the end.

Usage: atspi-check.py WINDOW-ID EXPECTED-WIZARD-FIELDS-FILE
"""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

window = sys.argv[1]
failures = 0


def check(ok, what, detail=""):
    global failures
    print(("PASS: " if ok else "FAIL: ") + what + (f" ({detail})" if detail and not ok else ""), flush=True)
    if not ok:
        failures += 1


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=False)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "80", text], check=False)


def role(node):
    try:
        return node.get_role_name()
    except GLib.Error:
        return ""


def name(node):
    try:
        return node.get_name() or ""
    except GLib.Error:
        return ""


def states(node):
    try:
        return node.get_state_set()
    except GLib.Error:
        return None


def showing(node):
    s = states(node)
    return s is not None and s.contains(Atspi.StateType.SHOWING)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    try:
        count = node.get_child_count()
    except GLib.Error:
        return
    for i in range(count):
        try:
            child = node.get_child_at_index(i)
        except GLib.Error:
            continue
        yield from walk(child, depth + 1)


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and name(app).lower().startswith("yorvsaldrix"):
            return app
    return None


# Everything a screen reader is told: focus moves and notifications that appear, in order.
heard = []


def on_event(event):
    source = event.source
    if event.type.startswith("object:state-changed:showing") and event.detail1 == 1 and role(source) == "notification":
        heard.append(("notification", name(source)))
    elif event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
        description = ""
        try:
            description = source.get_description() or ""
        except GLib.Error:
            pass
        heard.append(("focus", role(source), name(source), description))


listener = Atspi.EventListener.new(on_event)
listener.register("object:state-changed:showing")
listener.register("object:state-changed:focused")


def pump(seconds):
    """Lets events arrive for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(predicate, seconds=30):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        if predicate():
            return True
        time.sleep(0.05)
    return False


def spoken_notifications():
    return [entry[1] for entry in heard if entry[0] == "notification"]


def find(app, wanted_role, wanted_name=None, only_showing=True):
    for node in walk(app):
        if role(node) == wanted_role and (wanted_name is None or name(node) == wanted_name):
            if not only_showing or showing(node):
                return node
    return None


app = None
if not wait_for(lambda: application() is not None, 60):
    check(False, "the program is on the accessibility bus")
    print("DONE")
    sys.exit(1)
app = application()
check(True, "the program is on the accessibility bus")

# The tree and its name.
tree = None
wait_for(lambda: find(application(), "tree table") is not None or find(application(), "tree") is not None, 30)
tree = find(app, "tree table") or find(app, "tree")
check(tree is not None and name(tree) == "Sections and options", "the tree is named", tree and name(tree))

# No object of the window is of an unknown role, and every one that takes input has a name.
unknown = []
unnamed = []
for node in walk(app):
    if role(node) == "unknown":
        unknown.append(name(node) or "(unnamed)")
    elif role(node) in ("push button", "check box", "toggle button", "text", "menu item", "check menu item") \
            and not name(node).strip():
        unnamed.append(role(node))
check(not unknown, "no object is of an unknown role", unknown)
check(not unnamed, "every object that takes input is named", unnamed)
roles = [role(node) for node in walk(app)]
check("separator" in roles, "the menus' lines are separators", sorted(set(roles)))

# A name mark, heard on the focused cell: the file's last section holds only an option without a
# name, so a save would write neither.
heard.clear()
press("ctrl+End")
mark = "Not saved: the section has no option with a name"
ok = wait_for(lambda: any(e[0] == "focus" and e[3] == mark for e in heard), 20)
check(ok, "the focused cell's name mark is its description", heard)
pump(1)
check(mark not in spoken_notifications(), "the name mark is read with the cell, not said again", heard)

# Find: the field's name, then the count once the typing stops, spoken once.
heard.clear()
press("ctrl+f")
ok = wait_for(lambda: any(e[0] == "focus" and e[2] == "Text to find" for e in heard), 20)
check(ok, "the find field is named", heard)
ok = wait_for(lambda: "Find bar opened" in " ".join(spoken_notifications()), 20)
check(ok, "opening the find bar is spoken", spoken_notifications())
heard.clear()
type_text("value")
ok = wait_for(lambda: any("of 2" in text for text in spoken_notifications()), 20)
pump(1.5)
counts = [text for text in spoken_notifications() if "of 2" in text or "No matches" in text]
check(ok and len(counts) == 1, "the find count is spoken once, after the typing", spoken_notifications())
heard.clear()
press("Return", "Return")
ok = wait_for(lambda: any("continued from the top" in text for text in spoken_notifications()), 20)
check(ok, "the wrap message is spoken", spoken_notifications())
heard.clear()
type_text("zz")
ok = wait_for(lambda: any("No matches" in text for text in spoken_notifications()), 20)
check(ok, "No matches is spoken", spoken_notifications())
press("Escape")
pump(0.5)

# The wizard: every field on every page has a name, and the expected ones are there.
expected = {}
with open(sys.argv[2], encoding="utf-8") as f:
    for line in f:
        line = line.rstrip("\n")
        if line and not line.startswith("#"):
            page, field = line.split("\t", 1)
            expected.setdefault(int(page), []).append(field)

interactive = {"push button", "text", "check box", "spin button", "toggle button", "radio button", "combo box",
               "entry", "password text", "link"}


def wizard():
    for node in walk(application()):
        if role(node) in ("dialog", "frame", "window") and name(node) == "Export Wizard" and showing(node):
            return node
    return None


# Close and Export CDPlayer.iNi share their letter: the second C reaches Export.
press("alt+f")
pump(0.5)
press("c", "c", "Return")
ok = wait_for(lambda: wizard() is not None, 30)
check(ok, "the export wizard opens")
for page in range(5):
    pump(0.5)
    dialog = wizard()
    fields = [node for node in walk(dialog) if role(node) in interactive and showing(node)]
    unnamed = [role(node) for node in fields if not name(node).strip()]
    check(not unnamed, f"wizard page {page + 1}: every field is named", unnamed)
    names = {name(node) for node in fields}
    missing = [field for field in expected.get(page, []) if field not in names]
    check(not missing, f"wizard page {page + 1}: its fields are there", f"missing {missing}, found {sorted(names)}")
    if page == 1:
        heard.clear()
        arrow = find(dialog, "push button", "Swap artist and title, left arrow") or find(
            dialog, "push button", "Swap artist and title, right arrow")
        if arrow is not None:
            arrow.do_action(0)
        ok = wait_for(lambda: any(" first, then " in text for text in spoken_notifications()), 20)
        check(ok, "the artist and title order is spoken after a swap", spoken_notifications())
    if page < 4:
        press("alt+n")
press("Escape")
pump(0.3)

print("DONE", flush=True)
sys.exit(1 if failures else 0)
