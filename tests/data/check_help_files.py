#!/usr/bin/python3
"""Checks the shipped help files, documents and PDF sources.

Run from the repository root:  /usr/bin/python3 tests/data/check_help_files.py
Exit code 0 when everything is in order, 1 otherwise (each problem is listed).

What is checked:
- data/info/*.html: valid UTF-8; every topic marker has exactly the form the help viewer parses;
  the first topic is "Inhalt" and links to every other topic of its file; titles are unique;
  every "topic:" link points to an existing topic; no <html>/<head>/<body>.
- data/text/*.doc: RTF in pure ASCII with balanced braces, German code page, the disclaimer note.
- data/pdfsrc/*.html: valid UTF-8, a link to the official text where a law is summarised.
- every document the main menu opens exists.
"""
import os
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
INFO = os.path.join(ROOT, "data", "info")
TEXT = os.path.join(ROOT, "data", "text")
PDFSRC = os.path.join(ROOT, "data", "pdfsrc")

HELP_FILES = ["VESTRAL.html", "Lexikon.html", "Tips.html", "Links.html"]
PROGRAM_TOPICS = [
    "Hauptauswahl", "Einstellungen", "Kaufen oder Mieten", "Hypothekentilgungsplan", "Bausparvertrag",
    "Ratenkreditberechnung", "Ratenkredit-Berechnung", "Angebotsvergleich", "Einkommensteuerberechnung",
    "Abschreibung bei Eigennutzung", "Bedienung", "Export",
    # help topics set by the other calculators
    "Mögliche Belastung", "Kosten beim Hausbau", "Kosten beim Hauskauf", "Finanzierung bei Eigennutzung",
    "Finanzierung bei Vermietung", "Hypothekenzielwert", "Splittfinanzierung", "Abschreibung bei Vermietung",
    "Wert der AfA berechnen", "Grundbesitzwert berechnen",
    "Grundbesitzwert mit Ertragswertverfahren und Mindestwert", "Mietrendite errechnen - Netto",
    "Mietrendite errechnen - Brutto - Methode 1", "Verkehrswertberechnung", "Stromverbrauch berechnen",
    "Wasserverbrauch berechnen", "Abwasserverbrauch berechnen", "Gasverbrauch berechnen",
    "Energiekennzahl berechnen",
]
DOCS = ["Architektenvertrag", "Ausschreibung", "Abnahmeprotokoll", "Bauvertrag", "Nachbesserung",
        "Wohnungsmietvertrag", "Abmahnung", "FristloseKuendigung", "Wohnungsuebergabe",
        "NebenkostenAbrechnung", "Baukostenindex"]
PDFS = ["Energiesparen", "EigZulG", "EStG", "EstDV"]
MIN_LEXIKON_TERMS = 60
MIN_TIPS = 10

# The one marker form the viewer understands: title and keywords separated by " | keywords: ",
# keywords separated by "; ", no "|" inside, nothing else on the line.
MARKER = re.compile(r"^<!-- topic: ([^|;<>]+?) \| keywords: ([^|<>]*?) -->$")
ANY_MARKER = re.compile(r"<!--\s*topic")
LINK = re.compile(r'href="topic:([^"]*)"')

problems = []


def problem(where, text):
    problems.append(f"{where}: {text}")


def read_utf8(path):
    with open(path, "rb") as f:
        raw = f.read()
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError as e:
        problem(path, f"not valid UTF-8 ({e})")
        return raw.decode("utf-8", "replace")


def parse_topics(name):
    """Returns [(title, keywords, body)] of one help file."""
    path = os.path.join(INFO, name)
    text = read_utf8(path)
    if text.startswith("\ufeff"):
        problem(name, "starts with a byte order mark")
    if re.search(r"<(html|head|body)\b", text, re.I):
        problem(name, "contains <html>, <head> or <body>")
    topics = []
    current = None
    for no, line in enumerate(text.split("\n"), 1):
        if ANY_MARKER.search(line):
            m = MARKER.match(line)
            if not m:
                problem(f"{name}:{no}", f"malformed topic marker: {line!r}")
                continue
            title, kw = m.group(1), m.group(2)
            if title != title.strip() or not title:
                problem(f"{name}:{no}", f"title with surrounding blanks: {title!r}")
            keywords = [k for k in kw.split("; ")]
            if any(not k or k != k.strip() or ";" in k for k in keywords):
                problem(f"{name}:{no}", f"keywords not separated by '; ': {kw!r}")
            current = [title, keywords, []]
            topics.append(current)
        elif current is None:
            if line.strip():
                problem(f"{name}:{no}", "text before the first topic marker")
        else:
            current[2].append(line)
    return [(t, k, "\n".join(b)) for t, k, b in topics]


def check_help():
    files = {}
    for name in HELP_FILES:
        path = os.path.join(INFO, name)
        if not os.path.exists(path):
            problem(name, "missing")
            continue
        topics = parse_topics(name)
        if not topics:
            problem(name, "no topics")
            continue
        titles = [t for t, _, _ in topics]
        dups = {t for t in titles if titles.count(t) > 1}
        if dups:
            problem(name, f"duplicate titles: {sorted(dups)}")
        if titles[0] != "Inhalt":
            problem(name, f"first topic is {titles[0]!r}, not 'Inhalt'")
        files[name] = topics
        for t, _, body in topics:
            if not body.strip():
                problem(name, f"topic {t!r} is empty")
            if body.count("<table") != body.count("</table>") or body.count("<ul") != body.count("</ul>"):
                problem(name, f"topic {t!r}: unbalanced <table> or <ul>")

    # links
    for name, topics in files.items():
        titles = {t for t, _, _ in topics}
        contents_links = set()
        for t, _, body in topics:
            for target in LINK.findall(body):
                if "#" in target:
                    fname, ttl = target.split("#", 1)
                    if fname not in files:
                        problem(name, f"topic {t!r} links to unknown file {fname!r}")
                        continue
                    if ttl not in {x for x, _, _ in files[fname]}:
                        problem(name, f"topic {t!r} links to missing topic {target!r}")
                else:
                    if target not in titles:
                        problem(name, f"topic {t!r} links to missing topic {target!r}")
                    if t == "Inhalt":
                        contents_links.add(target)
        for t in titles - {"Inhalt"} - contents_links:
            problem(name, f"contents page does not link to {t!r}")

    if "VESTRAL.html" in files:
        titles = {t for t, _, _ in files["VESTRAL.html"]}
        for t in PROGRAM_TOPICS:
            if t not in titles:
                problem("VESTRAL.html", f"program help topic {t!r} missing")
    if "Lexikon.html" in files:
        n = len(files["Lexikon.html"]) - 1
        if n < MIN_LEXIKON_TERMS:
            problem("Lexikon.html", f"only {n} terms")
        terms = [t for t, _, _ in files["Lexikon.html"][1:]]
        # the contents page lists the terms alphabetically
        body = files["Lexikon.html"][0][2]
        order = [x for x in LINK.findall(body) if x in terms]
        if order != sorted(order, key=german_key):
            problem("Lexikon.html", "contents page is not in alphabetical order")
    if "Tips.html" in files and len(files["Tips.html"]) - 1 < MIN_TIPS:
        problem("Tips.html", "fewer than 10 tips")
    if "Links.html" in files:
        body = "\n".join(b for _, _, b in files["Links.html"])
        for url in ["https://www.gesetze-im-internet.de/estg/", "https://www.gesetze-im-internet.de/eigzulg/"]:
            if url not in body:
                problem("Links.html", f"no link to {url}")


def german_key(s):
    s = s.lower()
    for a, b in (("ä", "a"), ("ö", "o"), ("ü", "u"), ("ß", "ss")):
        s = s.replace(a, b)
    return s


def check_rtf():
    for doc in DOCS:
        path = os.path.join(TEXT, doc + ".doc")
        if not os.path.exists(path):
            problem(doc + ".doc", "missing")
            continue
        raw = open(path, "rb").read()
        if any(b > 127 for b in raw):
            problem(doc + ".doc", "contains non-ASCII bytes (umlauts must be escaped)")
        text = raw.decode("ascii", "replace")
        if not text.startswith("{\\rtf1\\ansi\\ansicpg1252"):
            problem(doc + ".doc", "does not start with {\\rtf1\\ansi\\ansicpg1252")
        depth = 0
        i = 0
        while i < len(text):
            c = text[i]
            if c == "\\":
                i += 2
                continue
            if c == "{":
                depth += 1
            elif c == "}":
                depth -= 1
                if depth < 0:
                    break
            i += 1
        if depth != 0:
            problem(doc + ".doc", f"unbalanced braces ({depth})")
        if not text.rstrip().endswith("}"):
            problem(doc + ".doc", "does not end with }")
        # the disclaimer, as RTF escapes: "Unverbindliches Muster \endash  bitte im Einzelfall rechtlich pr\'fcfen lassen."
        if "Unverbindliches Muster" not in text or "rechtlich pr\\'fcfen lassen." not in text:
            problem(doc + ".doc", "disclaimer note missing")


def check_pdfsrc():
    for name in PDFS:
        path = os.path.join(PDFSRC, name + ".html")
        if not os.path.exists(path):
            problem(name + ".html", "missing")
            continue
        text = read_utf8(path)
        if name != "Energiesparen":
            if "gesetze-im-internet.de" not in text:
                problem(name + ".html", "no link to the official text")
            if "kein Gesetzestext" not in text:
                problem(name + ".html", "no note that this is not the law text")


check_help()
check_rtf()
check_pdfsrc()
if problems:
    print("\n".join(problems))
    print(f"{len(problems)} problem(s)")
    sys.exit(1)
print("help files, documents and PDF sources: all checks passed")
