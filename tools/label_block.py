"""One generator's block of labels in the strings file.

Each generator owns one block, marked by a start and an end comment, and
rewrites only that block, so generators can run in any order and the labels
written by hand stay as they are.
"""
import os
import re

STRINGS = os.path.join("content", "strings", "english.xml")


def xml_escape(text):
    return text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def write_label_block(start, end, labels, path=STRINGS):
    """Replaces the block between the comments (or adds it before </Strings>)."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    block = [start] + ['  <Label %s="%s" />' % (k, xml_escape(v)) for k, v in labels] + [end]
    pattern = re.compile(re.escape(start) + ".*?" + re.escape(end) + "\n", re.S)
    new = "\n".join(block) + "\n"
    if pattern.search(text):
        text = pattern.sub(lambda m: new, text)
    else:
        text = text.replace("</Strings>", new + "</Strings>")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
