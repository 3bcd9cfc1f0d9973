#!/usr/bin/python3
"""Finds the program's title bar in a screenshot of weston's screen.

Usage: import -window WESTON_WINDOW -depth 8 rgb:- | title_bar.py SCREEN_WIDTH
Prints "LEFT TOP WIDTH CROSS_X CROSS_Y CROSS_DARKEST" and exits 0, or exits 1 when no title bar
shows. LEFT, TOP and WIDTH are those of the topmost long run of the window colour: the title bar
inside its border. CROSS_X and CROSS_Y are the middle of the close button's cross, the rightmost
mark drawn on the title bar; CROSS_DARKEST the highest of the red, green and blue of its darkest
pixel (0 where it is drawn black, as for an active window; about 190 for an inactive one).
"""
import sys

WINDOW = bytes.fromhex("efefef")
LONG_RUN = 300
MARK_BELOW = 0xD0  # text and cross, active or not; the border and background are lighter


def pixels(data, width, y):
    return [data[i : i + 3] for i in range(3 * width * y, 3 * width * (y + 1), 3)]


def title_row(data, width):
    for y in range(len(data) // (3 * width)):
        run = 0
        for x, pixel in enumerate(pixels(data, width, y) + [b""]):
            if pixel == WINDOW:
                run += 1
            elif run >= LONG_RUN:
                return x - run, y, run
            else:
                run = 0
    return None


def cross(data, width, left, top, run):
    # The title bar's rows, above the window's menu bar: the window is over 20 times as wide as
    # its title bar is high, at every scale.
    rows = range(top, min(top + run // 20, len(data) // (3 * width)))
    marked = {}
    for y in rows:
        for x, pixel in enumerate(pixels(data, width, y)[left : left + run], start=left):
            if max(pixel) < MARK_BELOW:
                marked.setdefault(x, []).append((y, max(pixel)))
    if not marked:
        return None
    # The cross is one mark: the columns leftwards from the rightmost marked one, without a gap.
    right = x = max(marked)
    while x - 1 in marked:
        x -= 1
    found = [point for column in range(x, right + 1) for point in marked[column]]
    ys = [y for y, _ in found]
    return (x + right) / 2, (min(ys) + max(ys)) / 2, min(level for _, level in found)


def main():
    width = int(sys.argv[1])
    data = sys.stdin.buffer.read()
    bar = title_row(data, width)
    if bar is None:
        return 1
    mark = cross(data, width, *bar) or (-1, -1, 255)
    print(*bar, *(round(value, 1) for value in mark))
    return 0


if __name__ == "__main__":
    sys.exit(main())
