#!/usr/bin/env python3
"""Checks the running workbench from outside, as a screen reader sees it.

Talks to the program over the AT-SPI accessibility bus through libatspi and
reads every property with a call of its own: Qt 6.4's AT-SPI bridge crashes on
org.freedesktop.DBus.Properties.GetAll. libatspi never sends GetAll, so nothing
here may use Gio.DBusProxy, dbus-python's property helpers or similar.

Usage: atspi_check.py [--pid PID] [--timeout SECONDS]
Exit code 0 when every check passed, 1 otherwise.
"""

import argparse
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# get_action_name has no undeprecated twin that the bindings can reach.
warnings.simplefilter("ignore", DeprecationWarning)

TITLE = "ABC- und ABCD-Chiffre"
KEYWORD = "KIRSCHBLUETENAST"
GRID_ROW_0 = "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP"

# Every control of the main window: layout name (the accessible description),
# layout parent, what it shows at start, enabled at start. What it shows is
# the accessible name for buttons, labels and frames, the text contents for
# edits (NAME / TEXT). An edit titled by a static text is named by it.
NAME, TEXT = "name", "text"
CONTROLS = [
    ("Panel1", "Form1", None, True),
    ("Label1", "Panel1", (NAME, "Decoding ABC(D)-Chiffre"), True),
    ("GroupBox1", "Panel1", (NAME, "Eingabe-Bereich"), True),
    ("Memo1", "GroupBox1", None, True),  # the sample message, checked below
    ("GroupBox2", "GroupBox1", (NAME, "Steuerung"), True),
    ("BitBtn1", "GroupBox2", (NAME, "Schließen"), True),
    ("RadioGroup1", "GroupBox2", (NAME, "Verfahrens-Auswahl"), True),
    ("BitBtn2", "GroupBox2", (NAME, "Eingabetext bereinigen"), False),
    ("BitBtn3", "GroupBox2", (NAME, "Eingabetext löschen"), True),
    ("BitBtn4", "GroupBox2", (NAME, "Fünfer-Gruppen schalten"), False),
    ("Button1", "GroupBox2", (NAME, "Substitution"), False),
    ("ComboBox1", "GroupBox2", (NAME, KEYWORD), True),
    ("GroupBox4", "GroupBox2", (NAME, "Transpositionstext"), True),
    ("Memo2", "GroupBox4", (TEXT, ""), True),
    ("Edit1", "GroupBox2", (TEXT, "?????"), False),
    ("Edit2", "GroupBox2", (TEXT, "???"), False),
    ("BitBtn5", "GroupBox2", (NAME, "Restmatrix abschneiden"), False),
    ("BitBtn6", "GroupBox2", (NAME, "Transpositions-Key setzen"), True),
    ("StaticText5", "GroupBox2", (NAME, "Plaintextzeichen"), True),
    ("Button2", "GroupBox2", (NAME, "Transposition"), False),
    ("BitBtn7", "GroupBox2", (NAME, "Wiederholen"), False),
    ("StaticText6", "GroupBox2", (NAME, "Substitutionszeichen"), True),
    ("BitBtn8", "GroupBox2", (NAME, "Fünfer-Gruppen Transposition"), False),
    ("GroupBox5", "GroupBox2", (NAME, "Sustiutionstext"), True),
    ("Memo3", "GroupBox5", (TEXT, ""), True),
    ("BitBtn9", "GroupBox2", (NAME, "Fünfer-Gruppen Substitution"), False),
    ("Edit5", "GroupBox2", (TEXT, "???"), False),
    ("Edit6", "GroupBox2", (TEXT, "???"), False),
    ("StaticText9", "GroupBox2", (NAME, "Spaltenanzahl:"), True),
    ("StaticText10", "GroupBox2", (NAME, "Zeilenanzahl:"), True),
    ("Edit7", "GroupBox2", (TEXT, KEYWORD), True),
    ("StaticText1", "Panel1", (NAME, "Begonnen am: "), True),
    ("StaticText2", "Panel1", (NAME, "25.09.2018"), True),
    ("GroupBox3", "Panel1", (NAME, "Transposition"), True),
    ("Edit3", "Panel1", (TEXT, ""), False),
    ("StaticText7", "Panel1", (NAME, "numerische Einschreibefolge"), True),
    ("StaticText8", "Panel1", (NAME, "alphabetische Folge"), True),
    ("Edit4", "Panel1", (TEXT, ""), False),
    ("StatusBar1", "Form1", None, True),
    ("StaticText3", "Form1", (NAME, "Aktueller Arbeitsstand"), True),
    ("StaticText4", "Form1", (NAME, "09.03.2021"), True),
]
TITLED_EDITS = {"Edit1": "StaticText5", "Edit2": "StaticText6", "Edit3": "StaticText7",
                "Edit4": "StaticText8", "Edit5": "StaticText9", "Edit6": "StaticText10"}
STATUS_PANELS = ["Aktueller Status:", "unbekannt", "Anzahl Plaitextzeichen:", "", "Keyword:",
                 KEYWORD, "Verfahren:", "ABC-Chiffre", "", "", "", "", ""]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def text_of(accessible):
    return Atspi.Text.get_text(accessible, 0, -1)


def enabled(accessible):
    accessible.clear_cache()
    states = accessible.get_state_set()
    return (states.contains(Atspi.StateType.ENABLED), states.contains(Atspi.StateType.SENSITIVE))


def find_application(pid, timeout):
    """The program (by process id, or any) once its main window is on the bus."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            try:  # an application that is still starting may not answer yet
                app = desktop.get_child_at_index(i)
                if app is None or (pid and app.get_process_id() != pid):
                    continue
                windows = [app.get_child_at_index(j) for j in range(app.get_child_count())]
                window = next((w for w in windows if w and w.get_name() == TITLE), None)
                if window is not None:
                    return app, window
            except GLib.Error:
                pass
        time.sleep(0.2)
    return None, None


def collect(window):
    """Every described accessible below the window by its description; the
    grid's 2205 items and the keyword list's items are not walked."""
    found, pending = {}, [window]
    while pending:
        accessible = pending.pop()
        description = accessible.get_description()
        if description:
            check(description not in found, f"two accessibles described {description!r}")
            found[description] = accessible
        if accessible.get_role() in (Atspi.Role.TABLE, Atspi.Role.LIST):
            continue
        pending.extend(accessible.get_child_at_index(i) for i in range(accessible.get_child_count()))
    return found


def check_controls(found):
    for name, parent, shows, is_enabled in CONTROLS:
        accessible = found.get(name)
        if not check(accessible is not None, f"{name}: not found by its description"):
            continue
        check(accessible.get_parent().get_description() == parent, f"{name}: parent is not {parent}")
        if shows:
            kind, expected = shows
            actual = accessible.get_name() if kind == NAME else text_of(accessible)
            check(actual == expected, f"{name}: {kind} {actual!r}, expected {expected!r}")
        check(enabled(accessible) == (is_enabled, is_enabled),
              f"{name}: ENABLED/SENSITIVE {enabled(accessible)}, expected {is_enabled}")
    for edit, title in TITLED_EDITS.items():
        if edit in found and title in found:
            check(found[edit].get_name() == found[title].get_name(), f"{edit}: not named by {title}")

    if "Memo1" in found:
        lines = text_of(found["Memo1"]).split("\n")
        groups = " ".join(lines).split()
        check(len(lines) == 13 and len(groups) == 99
              and all(len(g) == 5 and g.isalpha() and g.isupper() for g in groups)
              and all(line.endswith(" ") and len(line.split()) == 8 for line in lines[:-1]),
              "Memo1: no sample message of 13 lines and 99 five-letter groups")
    if "ComboBox1" in found:
        combo = found["ComboBox1"]
        lists = [combo.get_child_at_index(i) for i in range(combo.get_child_count())]
        lists = [c for c in lists if c.get_role() == Atspi.Role.LIST]
        check(len(lists) == 1 and lists[0].get_child_count() == 163
              and lists[0].get_child_at_index(0).get_name() == KEYWORD,
              f"ComboBox1: no list of 163 keywords starting with {KEYWORD}")
    if "RadioGroup1Item0" in found and "RadioGroup1Item1" in found:
        items = [found[f"RadioGroup1Item{i}"] for i in (0, 1)]
        check([i.get_name() for i in items] == ["ABC-Chiffre", "ABCD-Chiffre"]
              and [i.get_state_set().contains(Atspi.StateType.CHECKED) for i in items] == [True, False],
              "RadioGroup1: items are not ABC-Chiffre (selected) and ABCD-Chiffre")
    else:
        check(False, "RadioGroup1: items not found")
    if "StatusBar1" in found:
        bar = found["StatusBar1"]
        panels = [bar.get_child_at_index(i) for i in range(bar.get_child_count())]
        check([p.get_name() for p in panels] == STATUS_PANELS,
              f"StatusBar1: panels {[p.get_name() for p in panels]}, expected {STATUS_PANELS}")


def check_grid(found):
    grid = found.get("TranspositionGrid")
    if not check(grid is not None and grid.get_role() == Atspi.Role.TABLE, "grid: no table described TranspositionGrid"):
        return
    check(grid.get_parent().get_description() == "GroupBox3", "grid: not inside GroupBox3")
    rows, columns = Atspi.Table.get_n_rows(grid), Atspi.Table.get_n_columns(grid)
    if check((rows, columns) == (45, 45), f"grid: {rows} x {columns}, expected 45 x 45"):
        row = "".join(Atspi.Table.get_accessible_at(grid, 0, c).get_name() for c in range(45))
        check(row == GRID_ROW_0, f"grid: row 0 reads {row!r}, expected {GRID_ROW_0!r}")


def press(button, name):
    """Presses a button through its AT-SPI action."""
    actions = [Atspi.Action.get_action_name(button, i) for i in range(Atspi.Action.get_n_actions(button))]
    if check("Press" in actions, f"{name}: no Press action in {actions}"):
        Atspi.Action.do_action(button, actions.index("Press"))
        return True
    return False


def wait_for(condition, seconds=5):
    deadline = time.monotonic() + seconds
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.1)
    return condition()


def check_press(found):
    """The key button pressed through its AT-SPI action sets the key."""
    button, columns = found.get("BitBtn6"), found.get("Edit5")
    if button is None or columns is None or not press(button, "BitBtn6"):
        return
    wait_for(lambda: text_of(columns) == "16")
    check(text_of(columns) == "16", f"Press on BitBtn6: Edit5 shows {text_of(columns)!r}, expected '16'")
    check(enabled(button) == (False, False), "Press on BitBtn6: BitBtn6 still enabled")


def check_warning(app, found):
    """A warning is an alert (or dialog) of its own beside the main window's
    frame: cleaning an emptied input area opens one."""
    clear, clean, memo = found.get("BitBtn3"), found.get("BitBtn2"), found.get("Memo1")
    if None in (clear, clean, memo) or not press(clear, "BitBtn3"):
        return
    if not check(wait_for(lambda: text_of(memo) == ""), "Press on BitBtn3: Memo1 not emptied"):
        return
    if not press(clean, "BitBtn2"):
        return

    def box():
        windows = [app.get_child_at_index(i) for i in range(app.get_child_count())]
        return next((w for w in windows if w and w.get_name() == "Achtung"), None)

    warning = box() if wait_for(lambda: box() is not None) else None
    if not check(warning is not None, "Press on BitBtn2: no window 'Achtung'"):
        return
    check(warning.get_role() in (Atspi.Role.ALERT, Atspi.Role.DIALOG),
          f"warning: role {warning.get_role_name()!r}, expected 'alert' or 'dialog'")
    buttons, pending = [], [warning]
    while pending:
        accessible = pending.pop()
        if accessible.get_role() == Atspi.Role.PUSH_BUTTON:
            buttons.append(accessible)
        pending.extend(accessible.get_child_at_index(i) for i in range(accessible.get_child_count()))
    if check(len(buttons) == 1, f"warning: {len(buttons)} buttons, expected OK alone") and press(buttons[0], "OK"):
        check(wait_for(lambda: box() is None), "warning: still open after OK")


def check_key_search_window(app, found):
    """A click into the input area and Ctrl+F, as a person would give them,
    open the key search as a dialog of its own beside the main window's
    frame."""
    memo = found.get("Memo1")
    if memo is None:
        return

    def dialog():
        windows = [app.get_child_at_index(i) for i in range(app.get_child_count())]
        return next((w for w in windows if w and w.get_description() == "KeySearchDialog"), None)

    # The click makes the window active (there is no window manager), which
    # window-wide shortcuts need.
    area = Atspi.Component.get_extents(memo, Atspi.CoordType.SCREEN)
    Atspi.generate_mouse_event(area.x + area.width // 2, area.y + area.height // 2, "b1c")
    if not check(wait_for(lambda: memo.clear_cache() or memo.get_state_set().contains(Atspi.StateType.FOCUSED)),
                 "a click into Memo1 gives it no focus"):
        return
    control_mask, f = 1 << 2, 0x66  # X modifier mask, X keysym
    Atspi.generate_keyboard_event(control_mask, None, Atspi.KeySynthType.LOCKMODIFIERS)
    Atspi.generate_keyboard_event(f, None, Atspi.KeySynthType.SYM)
    Atspi.generate_keyboard_event(control_mask, None, Atspi.KeySynthType.UNLOCKMODIFIERS)
    if check(wait_for(lambda: dialog() is not None), "Ctrl+F: no window described KeySearchDialog"):
        check(dialog().get_role() == Atspi.Role.DIALOG,
              f"key search: role {dialog().get_role_name()!r}, expected 'dialog'")
        check(dialog().get_name() == "Schlüssel suchen", f"key search: named {dialog().get_name()!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, default=0, help="process id of the program")
    parser.add_argument("--timeout", type=float, default=20, help="seconds to wait for its window")
    args = parser.parse_args()
    # Calls answer within 0.8 s by default: too short on a loaded machine.
    Atspi.set_timeout(10000, 15000)

    app, window = find_application(args.pid, args.timeout)
    if app is None:
        print(f"FAIL: no application with the window {TITLE!r} on the accessibility bus")
        return 1
    check(app.get_name() == "abc-workbench", f"application named {app.get_name()!r}")
    check(window.get_description() == "Form1", "main window: not described Form1")
    # Screen readers list and announce windows by the role frame.
    check(window.get_role() == Atspi.Role.FRAME, f"main window: role {window.get_role_name()!r}, expected 'frame'")
    found = collect(window)
    check_controls(found)
    check_grid(found)
    check_press(found)  # from here on what the checks above read changes
    check_warning(app, found)
    check_key_search_window(app, found)

    for failure in failures:
        print(f"FAIL: {failure}")
    print(f"{len(failures)} failed" if failures else f"all checks passed ({len(found)} accessibles)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
