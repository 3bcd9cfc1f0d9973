#!/usr/bin/python3
"""Prints the texts shown in a window of a running program, read from the accessibility tree.

Usage: window_text.py PID TITLE [--values | --active | --document | NAME]
Prints the name of every label, text and button inside the program's top-level window called
TITLE, one a line, and exits 0; exits 1 when there is no such window. With --values, an input
box's line is its name, "=", and the text it holds; a result box's, its description (the
caption beside it), "=", and its name (the result it shows). With --active, prints nothing and exits 1 also when the window is not the active
one. With NAME, prints instead the screen position "X Y" of the middle of the control of that
name (exits 1 when there is none). With --document, prints the longest text the window holds
(an editor's document), as it is. A TITLE that ends in "*" stands for any title that begins so
("*": any window of the program).
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

SHOWN_ROLES = {Atspi.Role.LABEL, Atspi.Role.TEXT, Atspi.Role.STATIC, Atspi.Role.PUSH_BUTTON}


def held_text(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def texts_of(node, values, depth=0):
    if node is None or depth > 30:
        return
    try:
        role = node.get_role()
        name = node.get_name() or ""
        if values and role == Atspi.Role.TEXT:
            name += "=" + held_text(node)
        elif values and role == Atspi.Role.LABEL and node.get_description() not in ("", name):
            name = node.get_description() + "=" + name
    except gi.repository.GLib.Error:
        return
    if role in SHOWN_ROLES and name:
        yield name
    for i in range(node.get_child_count()):
        yield from texts_of(node.get_child_at_index(i), values, depth + 1)


def documents_of(node, depth=0):
    if node is None or depth > 30:
        return
    try:
        if node.get_role() == Atspi.Role.TEXT:
            yield held_text(node)
    except gi.repository.GLib.Error:
        return
    for i in range(node.get_child_count()):
        yield from documents_of(node.get_child_at_index(i), depth + 1)


def centre_of(node, name, depth=0):
    if node is None or depth > 30:
        return None
    try:
        if node.get_name() == name and node.get_role() in SHOWN_ROLES:
            box = node.get_extents(Atspi.CoordType.SCREEN)
            return f"{box.x + box.width // 2} {box.y + box.height // 2}"
    except gi.repository.GLib.Error:
        return None
    for i in range(node.get_child_count()):
        found = centre_of(node.get_child_at_index(i), name, depth + 1)
        if found:
            return found
    return None


def titled(name, title):
    name = name or ""
    return name == title or (title.endswith("*") and name.startswith(title[:-1]))


def main():
    pid, title = int(sys.argv[1]), sys.argv[2]
    values = sys.argv[3:] == ["--values"]
    active = sys.argv[3:] == ["--active"]
    document = sys.argv[3:] == ["--document"]
    wanted = sys.argv[3] if len(sys.argv) > 3 and not (values or active or document) else None
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is None or app.get_process_id() != pid:
                continue
        except gi.repository.GLib.Error:
            continue
        for j in range(app.get_child_count()):
            window = app.get_child_at_index(j)
            if window is not None and titled(window.get_name(), title):
                if document:
                    texts = list(documents_of(window))
                    if not texts:
                        continue
                    sys.stdout.write(max(texts, key=len))
                    return 0
                if active:
                    return 0 if window.get_state_set().contains(Atspi.StateType.ACTIVE) else 1
                if wanted is not None:
                    found = centre_of(window, wanted)
                    if found is None:
                        return 1
                    print(found)
                    return 0
                for text in texts_of(window, values):
                    print(text)
                return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
