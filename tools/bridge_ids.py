"""The command bridge's ids and geometry, read from the game's own header.

Code/Game/BridgeIds.h holds every bridge and command id and the places both the
game and the layout use; the generators read them here instead of writing the
numbers a second time. Every "kName = number" of the header is read, comments
left out.
"""
import os
import re

HEADER = os.path.join("Code", "Game", "BridgeIds.h")
_ENTRY = re.compile(r"\b(k[A-Za-z0-9]+)\s*=\s*(-?\d+)\s*[,;]")


def read_ids(path=HEADER):
    with open(path, encoding="utf-8") as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    ids = {}
    for name, value in _ENTRY.findall(text):
        if name in ids and ids[name] != int(value):
            raise SystemExit("%s: %s is given two values" % (path, name))
        ids[name] = int(value)
    return Ids(ids, path)


class Ids(dict):
    """The header's numbers by name; a name the header lacks stops the generator."""

    def __init__(self, values, path):
        super().__init__(values)
        self.path = path

    def __missing__(self, name):
        raise SystemExit("%s has no %s: the generator and the header disagree" % (self.path, name))
