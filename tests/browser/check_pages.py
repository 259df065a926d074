#!/usr/bin/env python3
"""Opens qlmk's HTML pages in headless Chromium and checks what a user would see.

  check_pages.py gallery PAGE [--sheet heroes.json] [--cards N] [--hostile TEXT]...
                 [--filter HASH]...            the export's index.html or patch show --html
  check_pages.py report PAGE --heroes N [--faces N] [--hostile TEXT]...
                                               patch diff --html, import --dry-run --html

On every page: no request leaves the page (each one is file: or data:), nothing logs an error
or breaks the policy, the inline style and script are the ones the policy's hashes allow, every
face has loaded at its own size (82 or 52) with an alternative text, each hostile text shows as
text (and made no element: only the page's own kinds of element and attributes exist). On a
gallery: the number of cards, and for each --filter (an address hash such as
"q=talia&class=archer") the cards left shown, against what the sheet says (or the whole count
without a sheet); without JavaScript every card shows. On a report: the number of heroes
listed and the summary. Exit status 0 when every check passed; each failure is printed.
"""

import argparse
import base64
import hashlib
import json
import os
import re
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Chromium  # noqa: E402

# The kinds of element and attribute the pages are made of; anything else was made from a text.
ELEMENTS = {"html", "head", "meta", "title", "style", "script", "body", "header", "h1", "h2", "p", "main",
            "form", "label", "input", "select", "option", "div", "article", "figure", "figcaption", "img",
            "span", "dl", "dt", "dd", "section", "ul", "li", "table", "thead", "tbody", "tr", "th", "td"}
ATTRIBUTES = {"lang", "charset", "http-equiv", "content", "name", "id", "class", "role", "hidden", "type",
              "autocomplete", "spellcheck", "value", "tabindex", "src", "width", "height", "alt", "aria-label",
              "aria-live", "aria-hidden", "scope", "data-alignment", "data-class", "data-sex", "data-side"}

PAGE_FACTS = """(() => {
  const all = [...document.querySelectorAll('*')];
  const images = [...document.images];
  return {
    elements: [...new Set(all.map(e => e.localName))],
    attributes: [...new Set(all.flatMap(e => e.getAttributeNames()))],
    policy: (document.querySelector('meta[http-equiv="Content-Security-Policy"]') || {}).content || '',
    styles: [...document.querySelectorAll('style')].map(s => s.textContent),
    scripts: [...document.querySelectorAll('script')].map(s => s.textContent),
    images: images.map(i => ({src: i.getAttribute('src').slice(0, 60), alt: i.alt, complete: i.complete,
                              w: i.naturalWidth, h: i.naturalHeight, width: i.width})),
    missing: document.querySelectorAll('.none').length,
    texts: [...document.querySelectorAll('.name, .keyword, .bio, h2, td, dd')].map(e => e.textContent),
  };
})()"""

VISIBLE_CARDS = """[...document.querySelectorAll('.card')].filter(c => c.offsetParent !== null).length"""


class Checks:
    def __init__(self):
        self.failures = 0

    def expect(self, ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            self.failures += 1


def csp_hash(text):
    return "sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()


def check_page(check, tab, url, name, hostile):
    tab.requests.clear()
    tab.problems.clear()
    tab.open(url)
    facts = tab.eval(PAGE_FACTS)
    outside = [u for u in tab.requests if not (u.startswith("file:") or u.startswith("data:"))]
    check.expect(tab.requests and not outside, f"{name}: {len(tab.requests)} requests, all file: or data:"
                 + (f" (not: {outside[:3]})" if outside else ""))
    check.expect(not tab.problems, f"{name}: no errors or policy violations" +
                 (f" ({tab.problems[:3]})" if tab.problems else ""))
    policy = facts["policy"]
    check.expect("default-src 'none'" in policy and "img-src 'self' data:" in policy,
                 f"{name}: the policy forbids everything but the page's own pictures")
    for style in facts["styles"]:
        check.expect(f"style-src '{csp_hash(style)}'" in policy, f"{name}: the policy allows the inline style by hash")
    for script in facts["scripts"]:
        check.expect(f"script-src '{csp_hash(script)}'" in policy, f"{name}: the policy allows the script by hash")
    if not facts["scripts"]:
        check.expect("script-src 'none'" in policy, f"{name}: the policy allows no script")
    bad = [i for i in facts["images"] if not (i["complete"] and i["w"] == i["h"] == i["width"] and i["w"] in (82, 52))]
    check.expect(facts["images"] and not bad, f"{name}: all {len(facts['images'])} faces loaded at 82 or 52 pixels"
                 + (f" (not: {bad[:2]})" if bad else ""))
    check.expect(all(i["alt"] for i in facts["images"]), f"{name}: every face has an alternative text")
    strange = set(facts["elements"]) - ELEMENTS
    check.expect(not strange, f"{name}: only the page's own kinds of element" + (f" (also: {strange})" if strange else ""))
    strange = set(facts["attributes"]) - ATTRIBUTES
    check.expect(not strange, f"{name}: only the page's own attributes" + (f" (also: {strange})" if strange else ""))
    for text in hostile:
        check.expect(any(text in t for t in facts["texts"]), f"{name}: {text!r} shows as text")
    return facts


def sheet_matches(rows, hash_text):
    """The records the filter in the address should leave shown, worked out from the sheet."""
    params = dict(urllib.parse.parse_qsl(hash_text))
    q = params.get("q", "").strip().lower()
    shown = []
    for row in rows:
        text = "\n".join((row["name"], row["keyword"], row["biography"])).lower()
        if q and q not in text:
            continue
        values = {"alignment": row["alignment"], "class": row["class"], "sex": row["sex"]}
        if any(params.get(k) and params[k] != (values[k] or "none") for k in values):
            continue
        shown.append(row["record"])
    return shown


def gallery(check, tab, args):
    url = "file://" + os.path.abspath(args.page)
    rows = None
    if args.sheet:
        with open(args.sheet, encoding="utf-8") as f:
            rows = json.load(f)
    cards = len(rows) if rows is not None else args.cards
    check_page(check, tab, url, "gallery", args.hostile)
    check.expect(tab.eval("document.querySelectorAll('.card').length") == cards, f"gallery: {cards} cards")
    check.expect(tab.eval(VISIBLE_CARDS) == cards, "gallery: every card shows without a filter")
    check.expect(tab.eval("!document.getElementById('filter').hidden"), "gallery: the script shows the filter")
    larger = tab.eval("(() => { const face = document.querySelector('.face[tabindex]'); face.focus();"
                      " const shown = face.querySelector('img').getBoundingClientRect().width;"
                      " face.blur(); return [document.activeElement === document.body, shown,"
                      " face.querySelector('img').getBoundingClientRect().width]; })()")
    check.expect(larger[1] >= 2 * larger[2] and larger[2] in (82, 52),
                 f"gallery: a face reached by keyboard shows larger ({larger[2]} -> {larger[1]} pixels)")
    for hash_text in args.filter:
        tab.open(url + "#" + hash_text)
        want = len(sheet_matches(rows, hash_text)) if rows is not None else None
        got = tab.eval(VISIBLE_CARDS)
        status = tab.eval("document.getElementById('shown').textContent")
        if want is None:
            check.expect(0 < got < cards, f"gallery#{hash_text}: the address narrows the cards to {got} of {cards}")
        else:
            check.expect(got == want and got < cards, f"gallery#{hash_text}: {got} cards shown, the sheet says {want}")
        check.expect(str(got) in status, f"gallery#{hash_text}: the status says so ({status!r})")
        controls = tab.eval("Object.fromEntries(['q','alignment','class','sex'].map(n => "
                            "[n, document.getElementById('filter').elements[n].value]))")
        params = dict(urllib.parse.parse_qsl(hash_text))
        check.expect(all(controls[k] == v for k, v in params.items()),
                     f"gallery#{hash_text}: the controls show the filter ({controls})")
    if args.filter:
        # A change of the address on the open page filters again; clearing it shows everything.
        got = tab.eval("new Promise(r => { addEventListener('hashchange', () => setTimeout(() => r("
                       + VISIBLE_CARDS + ")), {once: true}); location.hash = ''; })")
        check.expect(got == cards, f"gallery: clearing the address shows all {cards} cards again")
        # Typing into the search box filters and writes the filter into the address.
        typed = tab.eval("(() => { const q = document.getElementById('filter').elements.q; q.value = 'zzzz-none';"
                         " q.dispatchEvent(new Event('input', {bubbles: true}));"
                         " return [" + VISIBLE_CARDS + ", location.hash]; })()")
        check.expect(typed == [0, "#q=zzzz-none"], f"gallery: typing filters and updates the address ({typed})")
    tab.scripts_enabled(False)
    tab.open(url + "#q=zzzz-none")
    check.expect(tab.eval(VISIBLE_CARDS) == cards, "gallery without JavaScript: every card shows")
    check.expect(tab.eval("getComputedStyle(document.getElementById('filter')).display") == "none",
                 "gallery without JavaScript: the filter, which could not work, stays hidden")
    tab.scripts_enabled(True)


def report(check, tab, args):
    url = "file://" + os.path.abspath(args.page)
    facts = check_page(check, tab, url, "report", args.hostile)
    heroes = tab.eval("document.querySelectorAll('section.change').length")
    check.expect(heroes == args.heroes, f"report: {heroes} heroes listed, expected {args.heroes}")
    summary = tab.eval("document.querySelector('.summary').textContent")
    check.expect(re.search(rf"(?<!\d){args.heroes} hero", summary) is not None, f"report: the summary says so ({summary!r})")
    if args.faces is not None:
        check.expect(re.search(rf"(?<!\d){args.faces} faces? changed", summary) is not None,
                     f"report: the summary counts {args.faces} faces changed")
    check.expect(facts["missing"] == args.missing, f"report: {facts['missing']} placeholders for missing faces, expected {args.missing}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("kind", choices=["gallery", "report"])
    parser.add_argument("page")
    parser.add_argument("--sheet")
    parser.add_argument("--cards", type=int)
    parser.add_argument("--heroes", type=int)
    parser.add_argument("--faces", type=int)
    parser.add_argument("--missing", type=int, default=0)
    parser.add_argument("--hostile", action="append", default=[])
    parser.add_argument("--filter", action="append", default=[])
    args = parser.parse_args()
    check = Checks()
    with Chromium() as browser:
        tab = browser.tab()
        (gallery if args.kind == "gallery" else report)(check, tab, args)
    print(f"{args.page}: " + ("every check passed" if not check.failures else f"{check.failures} checks FAILED"))
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
