#!/usr/bin/env python3
"""Screenshots of HTML pages in headless Chromium, at a desktop and at a phone width.

  page_screenshots.py OUT_DIR NAME=URL[@SELECTOR] ...

Writes OUT_DIR/NAME-desktop.png (1280 x 800), OUT_DIR/NAME-zoom200.png (the same window at 200 %
zoom) and OUT_DIR/NAME-phone.png (390 x 844, as a phone lays the page out), each of the top of
the page; with @SELECTOR that element has the focus (a
face then shows its larger view).
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "browser"))
from devtools import Chromium  # noqa: E402

# name, CSS width and height, phone, device pixels per CSS pixel ("zoom200": the desktop window
# at 200 % zoom).
WIDTHS = [("desktop", 1280, 800, False, 1), ("zoom200", 640, 400, False, 2), ("phone", 390, 844, True, 1)]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with Chromium() as browser:
        tab = browser.tab()
        for shot in sys.argv[2:]:
            name, _, url = shot.partition("=")
            url, _, selector = url.partition("@")
            for width_name, width, height, mobile, scale in WIDTHS:
                tab.viewport(width, height, mobile, scale)
                tab.open(url)
                if selector:
                    tab.eval(f"document.querySelector({selector!r}).focus()")
                path = os.path.join(out, f"{name}-{width_name}.png")
                tab.screenshot(path)
                print(path)


if __name__ == "__main__":
    main()
