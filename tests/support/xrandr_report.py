"""What xrandr reports of a display: the screen's size and each connected output's rotation."""
import re

ROTATIONS = ("normal", "left", "inverted", "right")


def screen_report(query):
    """The screen size and the rotation of each connected output, from `xrandr --query`'s text."""
    size = re.search(r"current (\d+) x (\d+)", query).groups()
    rotations = []
    # "default connected 600x800+0+0 left (normal left inverted right ...) 0mm x 0mm"; no word is normal.
    for rest in re.findall(r"^\S+ connected (?:primary )?\d+x\d+\+\d+\+\d+ (.*)$", query, re.MULTILINE):
        words = [word for word in rest.split() if not word.startswith("(0x")]
        rotations.append(words[0] if words and words[0] in ROTATIONS else "normal")
    return (int(size[0]), int(size[1])), rotations
