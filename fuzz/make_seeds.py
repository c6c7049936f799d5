#!/usr/bin/env python3
"""Writes the hand-made seed inputs of fuzz/corpus/<target>/.

The targets read their inputs with libFuzzer's FuzzedDataProvider: numbers and choices
from the end of the input (each read takes the last bytes still unread), texts from the
front. Seed() below builds such an input from the reads in the order the target makes
them, so each seed names what it sets. Inputs that libFuzzer finds are saved as they
are; this script only adds or rewrites the files it names ("seed-*").

Usage: fuzz/make_seeds.py [target...]      (default: every target below)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


class Seed:
    """An input: front bytes, then the numbered reads packed at the end."""

    def __init__(self):
        self.front = b""
        self.tail = []  # bytes in the order they are read (from the end)

    def number(self, low, high, value):
        """ConsumeIntegralInRange(low, high) returning value."""
        assert low <= value <= high, (low, high, value)
        span, offset, size = high - low, 0, 0
        while offset < 64 and (span >> offset) > 0:
            offset += 8
            size += 1
        v = value - low
        self.tail += [(v >> (8 * (size - 1 - i))) & 0xFF for i in range(size)]
        return self

    def flag(self, value):
        """ConsumeBool()."""
        self.tail.append(1 if value else 0)
        return self

    def short(self, value):
        """ConsumeIntegral<short>()."""
        return self.number(-32768, 32767, value)

    def text(self, data):
        """ConsumeBytesAsString(n) (n read before) or the remaining bytes."""
        self.front += data.encode("latin-1") if isinstance(data, str) else data
        return self

    def bytes(self):
        return self.front + bytes(reversed(self.tail))


def write(target, name, seed):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(seed.bytes() if isinstance(seed, Seed) else seed)


# ---- datenorm: today (year, month, day), within-contract flag, then the typed text ----
def date_seed(typed, today=(2004, 6, 15), spare=0):
    days = [31, 29 if today[0] % 4 == 0 and (today[0] % 100 or today[0] % 400 == 0) else 28,
            31, 30, 31, 30, 31, 31, 30, 31, 30, 31][today[1] - 1]
    s = Seed().number(1980, 2099, today[0]).number(1, 12, today[1]).number(1, days, today[2])
    return s.flag(True).number(0, 8, spare).text(typed)


def date_seed_raw(typed, size, length):
    s = Seed().number(1980, 2099, 2004).number(1, 12, 6).number(1, 30, 15).flag(False)
    return s.number(0, 1100, size).number(-5, 1100, length).text(typed)


def datenorm():
    typed = ["1.2.04", "1/2/4", "1-2-4", "1 2 4", "24.12.", "5", "abc", "1.1.78", "1.1.79",
             "1.1.0", "1.1.100", "1.1.99", "31.4.2004", "30.2.2003", "0.13.2004", "010104",
             "-5.3", "5..3", "1.2.3.4", "1a.b2.2004", "31:12\\1999", "29.2.2100",
             "99999999999.1.1", "1.99999999999.1", "1.1.2147483648", "1.1.12345",
             "0000000000000031.0000000000012.0000000002004", " . / \\ - :"]
    for t in typed:
        names = {"/": "_sl_", " ": "_sp_", "\\": "_bs_", ":": "_co_"}
        name = "".join(c if c.isalnum() or c in ".-" else names.get(c, "_") for c in t)[:32]
        write("datenorm", "typed-" + name, date_seed(t))
    write("datenorm", "end-of-february", date_seed("31", today=(2003, 2, 10)))
    write("datenorm", "long-text", date_seed("1" * 200 + ".7." + "9" * 50))
    write("datenorm", "small-buffer", date_seed_raw("1.2.2004", 5, 8))
    write("datenorm", "length-past-buffer", date_seed_raw("1.2.2004", 11, 600))
    write("datenorm", "zero-length", date_seed_raw("1.2.2004", 20, 0))
    write("datenorm", "negative-length", date_seed_raw("1.2.2004", 20, -3))
    write("datenorm", "overlong-text", date_seed_raw("12." * 300, 1000, 900))


# ---- textfield: routine, code page, then the routine's counts and its field ----------
KLEGRO, NSUCHE, SQUEEZE, TRIM = range(4)
CODE_PAGES = {1252: 0, 1250: 1, 1251: 2}
WHOLE, PART, ZERO, NEGATIVE = 7, 2, 1, 0


def field_seed(routine, page, mode, cut, text, thin=None):
    s = Seed().number(0, 3, routine).number(0, 2, CODE_PAGES[page])
    s.number(0, 7, mode).number(0, 2048, cut)
    if thin is not None:
        s.flag(thin)
    return s.text(text)


def search_seed(text, pattern, n=(WHOLE, 0), m=(WHOLE, 0)):
    s = Seed().number(0, 3, NSUCHE).number(0, 2, 0)
    s.number(0, 7, n[0]).number(0, 2048, n[1]).number(0, 7, m[0]).number(0, 2048, m[1])
    s.flag(False).number(0, 2048, 0).number(0, 255, len(pattern)).flag(False)
    return s.text(pattern).text(text)


def textfield():
    write("textfield", "klegro-ascii", field_seed(KLEGRO, 1252, WHOLE, 0, "c:\\vornix\\damen\\mas"))
    write("textfield", "klegro-nul", field_seed(KLEGRO, 1252, WHOLE, 0, "abc\0def"))
    write("textfield", "klegro-part", field_seed(KLEGRO, 1252, PART, 3, "abcdef"))
    write("textfield", "klegro-1252", field_seed(KLEGRO, 1252, WHOLE, 0, b"\xe4\xf6\xfc\xdf\xff\x9a"))
    write("textfield", "klegro-1250", field_seed(KLEGRO, 1250, WHOLE, 0, b"\xb3\xb9\xbf\x9c\x9f"))
    write("textfield", "klegro-1251", field_seed(KLEGRO, 1251, WHOLE, 0, b"\xe0\xff\xb8\x83"))
    write("textfield", "klegro-negative", field_seed(KLEGRO, 1252, NEGATIVE, 0, "abc"))
    write("textfield", "klegro-zero", field_seed(KLEGRO, 1252, ZERO, 0, "abc"))
    write("textfield", "nsuche-count", search_seed("Copy #### charts?", "####"))
    write("textfield", "nsuche-case", search_seed("c:\\vornix\\damen", "VORNIX"))
    write("textfield", "nsuche-longer", search_seed("abc", "abcd"))
    write("textfield", "nsuche-last", search_seed("aaaaab", "ab"))
    write("textfield", "nsuche-negative", search_seed("abc", "b", n=(NEGATIVE, 3)))
    write("textfield", "nsuche-empty", search_seed("abc", "", m=(ZERO, 0)))
    write("textfield", "squeeze-path", field_seed(SQUEEZE, 1252, WHOLE, 0, "C:\\vornix\\DAMEN   \\mas\\AB      .mas", False))
    write("textfield", "squeeze-nul", field_seed(SQUEEZE, 1252, WHOLE, 0, "AB  CD\0\0.mas", False))
    write("textfield", "squeeze-blank", field_seed(SQUEEZE, 1252, WHOLE, 0, " " * 12, False))
    write("textfield", "squeeze-part", field_seed(SQUEEZE, 1252, PART, 4, "A B C D", False))
    write("textfield", "trim-nul", field_seed(TRIM, 1252, WHOLE, 0, "C:\\ab.x\0\0\0\0", False))
    write("textfield", "trim-blank", field_seed(TRIM, 1252, WHOLE, 0, "   ", False))
    write("textfield", "trim-negative", field_seed(TRIM, 1252, NEGATIVE, 2, "abc", False))


# ---- sort: taupp or c4sort, the parameters, then the records -------------------------
def sort_seed(length, count, first, last, records, alphabet=256):
    s = Seed().number(0, 15, 1)
    special = {45: 2, 40: 3}
    if length in special:
        s.number(0, 15, special[length])
    elif 1 <= length <= 24:
        s.number(0, 15, 4).number(1, 24, length)
    elif 1022 <= length <= 1026:
        s.number(0, 15, 1).number(1022, 1026, length)
    else:
        s.number(0, 15, 0).short(length)
    if 0 <= count <= 400:
        s.number(0, 7, 1).number(0, 400, count)
    else:
        s.number(0, 7, 0).short(count)
    column_seed(s, length, first)
    s.flag(True)
    column_seed(s, length, last)
    return s.number(1, 256, alphabet).text(records)


def column_seed(s, length, column):
    if 1 <= column <= max(length, 1):
        s.number(0, 15, 3).number(1, max(length, 1), column)
    elif 1 <= column <= 1024:
        s.number(0, 15, 2).number(1, 1024, column)
    elif 1022 <= column <= 1026:
        s.number(0, 15, 1).number(1022, 1026, column)
    else:
        s.number(0, 15, 0).number(-32768, 0, column)


def list_line(name, date, time):
    # name (8), tab, dd.mm.yy, time: the shape of the chart lists' lines
    line = "%-8s\t%s  %s" % (name, date, time)
    key = date[6:8] + date[3:5] + date[0:2] + time[0:2] + time[3:5]
    line = (line + " " * 45)[:25] + key
    return (line + " " * 45)[:45]


def sort():
    lines = [list_line(n, d, t) for n, d, t in [
        ("MUSTER", "07.03.04", "09:05"), ("ANNA", "31.12.99", "23:59"),
        ("ZORA", "01.01.04", "00:00"), ("BERTA", "15.06.04", "12:30"),
        ("ANNA2", "31.12.99", "23:59"), ("KLAUS", "07.03.04", "09:04")]]
    write("sort", "by-name", sort_seed(45, len(lines), 1, 8, "".join(lines)))
    write("sort", "by-date", sort_seed(45, len(lines), 26, 35, "".join(lines)))
    systems = "".join(("%-32s%-8s" % (d, n)) for d, n in [
        ("Damen", "DAMEN"), ("Herren", "HERREN"), ("Kinder", "KINDER"), ("Damen", "DAMEN2")])
    write("sort", "systems", sort_seed(40, 4, 1, 32, systems))
    write("sort", "all-equal", sort_seed(4, 9, 1, 4, "AAAA" * 9))
    write("sort", "ascending", sort_seed(2, 10, 1, 2, "".join("%02d" % i for i in range(10))))
    write("sort", "descending", sort_seed(2, 10, 1, 2, "".join("%02d" % i for i in range(9, -1, -1))))
    write("sort", "bytes-unsigned", sort_seed(1, 4, 1, 1, b"\x80\x7f\xff\x00"))
    write("sort", "small-alphabet", sort_seed(3, 60, 2, 3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 3))
    write("sort", "length-1025", sort_seed(1025, 2, 1, 1, "x" * 2050))
    write("sort", "last-1025", sort_seed(8, 3, 1, 1025, "x" * 24))
    write("sort", "first-0", sort_seed(8, 3, 0, 4, "x" * 24))
    write("sort", "key-past-record", sort_seed(4, 5, 3, 9, "dcbaDCBA12349876wxyz"))
    write("sort", "key-reversed", sort_seed(6, 5, 5, 2, "abcdefghijklmnopqrstuvwxyz1234"))
    write("sort", "count-1", sort_seed(4, 1, 1, 4, "zyxw"))
    write("sort", "count-negative", sort_seed(4, -7, 1, 4, "zyxw"))
    write("sort", "length-negative", sort_seed(-4, 5, 1, 4, "zyxw"))
    write("sort", "taupp", Seed().number(0, 15, 0).number(-8, 3000, 5).text("abcde"))


# ---- ini: reader, places, field size, name lengths, fault; then names and files --------
VALUE, INTEGER, LOGICAL, MERGE = range(4)
HERE_, PARENT, PRODUCT = 1, 2, 4  # the places: .\, ..\, \vornix\
NO_FAULT, WRITE_FAILS, RENAME_FAILS = 0, 4, 5


def ini_seed(section, key, ini, add="", reader=VALUE, ini_at=HERE_, add_at=0, value_size=80,
             section_length=None, key_length=None, fault=NO_FAULT, nth=1, times=1):
    """section_length/key_length: None for the name's own length, negative, or longer."""
    s = Seed().number(0, 3, reader).number(0, 7, ini_at).number(0, 7, add_at)
    if 1 <= value_size <= 200:
        s.number(0, 7, 1).number(1, 200, value_size)
    else:
        s.number(0, 7, 0).number(-2, 4, value_size)
    for name, length in ((section, section_length), (key, key_length)):
        if length is None:
            s.number(0, 7, 7).number(0, 255, 0)
        elif length < 0:
            s.number(0, 7, 0).number(0, 255, -1 - length)
        else:
            s.number(0, 7, 1).number(0, 255, length - len(name))
    s.number(0, 5, fault).number(1, 4, nth).number(1, 3, times)
    s.number(0, 100, len(section)).number(0, 160, len(key)).number(0, 8192, len(ini))
    return s.text(section).text(key).text(ini).text(add)


def ini():
    path = "[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=C\r\n"
    options = "[OPTIONS]\r\nSHOW_ALIAS=1\r\n"
    seeds = {
        "value": ini_seed("PATH", "DRIVES", path + options),
        "empty-value": ini_seed("PATH", "DRIVES", "[PATH]\nDRIVES=\n"),
        "empty-integer": ini_seed("PATH", "DRIVES", "[PATH]\nDRIVES=\n", reader=INTEGER),
        "blank-separator": ini_seed("PATH", "DRIVES", "[PATH]\nDRIVES = ACD\n"),
        "blank-column-1": ini_seed("PATH", "DRIVES", "[PATH]\n DRIVES=ACD\n"),
        "key-prefix": ini_seed("PATH", "DRIVE", "[PATH]\nDRIVES=ACD\n"),
        "second-section": ini_seed("PATH", "KEY", "[PATH]\nA=1\n[X]\n[PATH]\nKEY=2\n"),
        "above-header": ini_seed("PATH", "DRIVES", "DRIVES=A\n[OTHER]\nDRIVES=B\n[PATH]\n"),
        "comment": ini_seed("PATH", "DRIVES", "[PATH]\n;DRIVES=X\nDRIVES=AC ; remark\n"),
        "integer-3": ini_seed("PATH", "N", "[PATH]\nN=3\n", reader=INTEGER),
        "integer-minus-2": ini_seed("PATH", "N", "[PATH]\nN=  -2\n", reader=INTEGER),
        "integer-letter": ini_seed("PATH", "N", "[PATH]\nN=C\n", reader=INTEGER),
        "integer-11-digits": ini_seed("PATH", "N", "[PATH]\nN=12345678901\n", reader=INTEGER),
        "integer-overflow": ini_seed("PATH", "N", "[PATH]\nN=9999999999\n", reader=INTEGER),
        "logical": ini_seed("OPTIONS", "SHOW_ALIAS", path + options, reader=LOGICAL),
        "logical-0": ini_seed("OPTIONS", "SHOW_ALIAS", "[OPTIONS]\nSHOW_ALIAS=0\n", reader=LOGICAL),
        "add-sets": ini_seed("PATH", "DRIVES", path, "[PATH]\r\nDRIVES=AB\r\n", add_at=HERE_),
        "add-removes": ini_seed("PATH", "STARTUPDRIVE", path, "[PATH]\nSTARTUPDRIVE=\n", add_at=HERE_),
        "add-new-section": ini_seed("NEW", "K", path, "[NEW]\nK=v w \n", add_at=HERE_),
        "add-bad-header": ini_seed("PATH", "DRIVES", path, "[PATH\nDRIVES=AB\n", add_at=HERE_),
        "add-empty-header": ini_seed("PATH", "DRIVES", path, "[]\nDRIVES=AB\n", add_at=HERE_),
        "add-no-section": ini_seed("PATH", "DRIVES", path, "DRIVES=AB\n[PATH]\n=X\nNOEQUALS\n", add_at=HERE_),
        "add-case": ini_seed("PATH", "drives", path, "[path]\ndrives=ab\n", add_at=HERE_),
        "add-write-fails": ini_seed("PATH", "DRIVES", path, "[PATH]\nDRIVES=AB\nNEW=1\n", add_at=HERE_, fault=WRITE_FAILS),
        "add-rename-fails": ini_seed("PATH", "DRIVES", path, "[PATH]\nDRIVES=AB\n", add_at=HERE_, fault=RENAME_FAILS, nth=2),
        "add-beside-other": ini_seed("PATH", "DRIVES", path, "[PATH]\nDRIVES=AB\n", ini_at=HERE_ | PRODUCT, add_at=PRODUCT),
        "parent": ini_seed("PATH", "DRIVES", path, ini_at=PARENT),
        "product-dir": ini_seed("PATH", "DRIVES", path, "[PATH]\nDRIVES=Z\n", ini_at=PRODUCT, add_at=PRODUCT | PARENT),
        "no-ini": ini_seed("PATH", "DRIVES", "", "[PATH]\nDRIVES=AB\n", ini_at=0, add_at=HERE_),
        "line-ends": ini_seed("PATH", "DRIVES", "[PATH]\rA=1\r\nDRIVES=CR\rB=2\n", "[PATH]\rB=3\r", add_at=HERE_),
        "long-lines": ini_seed("PATH", "K", "[PATH]\nK=" + "v" * 300 + "\n", "[PATH]\nL=" + "w" * 700 + "\n", add_at=HERE_),
        "nul-bytes": ini_seed("PA\0H", "K\0", "[PA\0H]\nK\0=x\0 \0\n", "[PA\0H]\nK\0=y\0z\n", add_at=HERE_),
        "small-field": ini_seed("PATH", "DRIVES", path, value_size=2),
        "no-field": ini_seed("PATH", "DRIVES", path, value_size=0),
        "section-79": ini_seed("S" * 79, "K", "[" + "S" * 79 + "]\nK=1\n"),
        "key-127": ini_seed("PATH", "K" * 127, "[PATH]\n" + "K" * 127 + "=1\n"),
        "key-126": ini_seed("PATH", "K" * 126, "[PATH]\n" + "K" * 126 + "=1\n"),
        "negative-section": ini_seed("PATH", "DRIVES", path, section_length=-5),
        "longer-key": ini_seed("PATH", "DRIVES", path, key_length=200),
        "merge": ini_seed("", "", path, "[PATH]\nDRIVES=AB\n", reader=MERGE, add_at=HERE_),
        "merge-creates": ini_seed("", "", "", "[NEW]\nA=1\n", reader=MERGE, ini_at=0, add_at=HERE_),
        "merge-bad-length": ini_seed("", "", path, "[PATH]\nDRIVES=AB\n", reader=MERGE, add_at=HERE_, section_length=-3),
        "merge-long-length": ini_seed("", "", path, "[PATH]\nDRIVES=AB\n", reader=MERGE, add_at=HERE_, section_length=2),
        "merge-fails": ini_seed("", "", path, "[PATH]\nDRIVES=AB\n", reader=MERGE, add_at=HERE_, fault=WRITE_FAILS, times=3),
    }
    for name, seed in seeds.items():
        write("ini", name, seed)


# ---- resource: a compiled resource (.res), as windres writes it ----------------------
def compiled(script, *includes):
    """The .res that windres makes of a script (include folders relative to ROOT)."""
    import subprocess
    import tempfile
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.res")
        command = ["x86_64-w64-mingw32-windres", "-O", "res", "-i", os.path.join(ROOT, script),
                   "-o", out]
        for include in includes:
            command += ["-I", os.path.join(ROOT, include)]
        subprocess.run(command, check=True)
        with open(out, "rb") as f:
            return f.read()


def resource():
    program = compiled("resources/chartxfer.rc", "resources")
    write("resource", "chartxfer", program)
    write("resource", "model-dialogs", compiled("tests/dialog/resources/model_dialogs.rc",
                                                "tests/dialog/resources", "resources"))
    empty = program[:32]
    write("resource", "empty", empty)
    write("resource", "cut-in-a-dialog", program[:program.find(b"\xff\xff\x05\x00") + 200])


# ---- wildcard: file names, patterns (in the folder or whole paths), cut points -------
def find_seed(names, patterns, aliases=False, cut=0, span=1):
    """patterns: (text, in_folder) pairs."""
    s = Seed().number(0, 8, len(names))
    for name in names:
        s.number(1, 24, len(name))
    s.flag(aliases).number(0, 3, len(patterns))
    for text, in_folder in patterns:
        s.number(0, 300, len(text)).flag(in_folder)
    s.number(0, 255, cut).number(0, 255, span)
    for name in names:
        s.text(name)
    for text, _ in patterns:
        s.text(text)
    return s


def wildcard():
    charts = ["Muster.mas", "Messtabelle.mas", "ab cd.mas", "Ab.c.mas", "KURZ", "x.MAS.bak"]
    seeds = {
        "charts": find_seed(charts, [("*.mas", True), ("????????.mas", True), ("MUSTER.MAS", True)]),
        "no-extension": find_seed(["HILFEN", "DAMEN", "vornix_s.kon", "a"], [("*.", True), ("?????", True), ("*.?", True)], cut=2, span=3),
        "dots": find_seed(["a..b", "x.y.z", ".mas", "a b.c d"], [("*.*.", True), ("a.*", True), ("*.z", True)], cut=1, span=0),
        "aliases": find_seed(charts, [("AL000001.X1", True), ("al*", True), ("*~*", True)], aliases=True),
        "code-page": find_seed(["\xe4rger.mas", "\xc4RGER2.mas", "\xdf.txt", "\x9a\xff"], [("\xc4*", True), ("*\xe4*", True)]),
        "paths": find_seed(["f.mas"], [("C:\\w\\..\\*", False), ("C:\\nowhere\\*", False), ("C:\\w\\f.mas\\*", False)]),
        "odd-paths": find_seed(["f"], [("", False), ("\\\\?\\C:\\w\\*", False), ("Q:\\*", False)]),
        "stars": find_seed(["aaaaaaaaaaaaaaaaaaaaaaab"], [("*a*a*a*a*a*a*a*a*a*a*a*c", True), ("<<<<>>>>\"", True)]),
        "long-pattern": find_seed(["f"], [("?" * 300, True), ("C:\\" + "d\\" * 140 + "*", False)]),
    }
    for name, seed in seeds.items():
        write("wildcard", name, seed)


# ---- scan: entries (name, folder?, time, size), pattern, maximum count, name buffer ----
SCAN_PATTERNS = {"*": 0, "*.mas": 1, "*.": 2, "*.*": 3}


def scan_entry(s, name, folder=False, hidden_system=False, when=None, size=0):
    """when: seconds since 1970 (1980..2099 are checked exactly) or None for 7.3.2004."""
    when = 1078650300 if when is None else when
    s.number(1, 255, len(name)).number(0, 3, 0 if folder else 1)
    if folder:
        s.flag(hidden_system)
    plausible = 315532800 <= when <= 4102444799
    s.number(0, 7, 1 if plausible else 0)
    if plausible:
        s.number(315532800, 4102444799, when)
    else:
        s.number(-2 ** 63, 2 ** 63 - 1, when * 1000000000)
    if size <= 20000:
        s.flag(True).number(0, 20000, size)
    else:
        s.flag(False).number(0, 2 ** 64 - 1, size)


def scan_seed(entries, pattern="*", max_count=10, name_size=40, fault=0, nth=1):
    """fault: 0 none, 2 the nth find-next fails, 3 the find-first fails."""
    s = Seed().number(0, 10, len(entries))
    for entry in entries:
        scan_entry(s, **entry)
    fuzzed = pattern not in SCAN_PATTERNS
    s.number(0, 4, 4 if fuzzed else SCAN_PATTERNS[pattern]).number(0, 300, len(pattern) if fuzzed else 0)
    s.number(-2, 12, max_count).number(-2, 40, name_size).number(0, 3, fault).number(1, 13, nth)
    for entry in entries:
        s.text(entry["name"])
    if fuzzed:
        s.text(pattern)
    return s


def scan():
    charts = [dict(name="Muster.mas", size=1234), dict(name="Messtabelle.mas", size=99),
              dict(name=".mas", size=5), dict(name="Ab.c.mas", size=7), dict(name="leer.mas"),
              dict(name="gross.mas", size=10 ** 8), dict(name="riesig.mas", size=2 ** 40 + 3),
              dict(name="DAMEN", folder=True), dict(name="Hilfen", folder=True),
              dict(name="SYS", folder=True, hidden_system=True)]
    seeds = {
        "charts": scan_seed(charts, "*.mas"),
        "all": scan_seed(charts, "*"),
        "folders": scan_seed(charts, "*."),
        "full-array": scan_seed(charts, "*", max_count=3),
        "no-room": scan_seed(charts, "*", max_count=0, name_size=0),
        "negative-count": scan_seed(charts[:3], "*", max_count=-2, name_size=-2),
        "small-name-buffer": scan_seed([dict(name="Messtabelle.mas")], "*", name_size=5),
        "long-name": scan_seed([dict(name="x" * 230 + ".mas"), dict(name="y" * 250)], "*"),
        "times": scan_seed([dict(name="a.mas", when=0), dict(name="b.mas", when=-5000000000),
                            dict(name="c.mas", when=4102444799), dict(name="d.mas", when=9000000000),
                            dict(name="e.mas", when=315532800)], "*.*"),
        "code-page": scan_seed([dict(name="\xe4rger.mas"), dict(name="\xdf.mas"), dict(name="\xff\x9a", folder=True)], "*"),
        "pattern": scan_seed(charts, "M*.?AS"),
        "long-pattern": scan_seed(charts[:2], "*" * 205 + ".mas"),
        "nul-pattern": scan_seed(charts[:2], "*.mas\0xyz"),
        "next-fails": scan_seed(charts, "*", fault=2, nth=4),
        "first-fails": scan_seed(charts, "*", fault=3),
    }
    for name, seed in seeds.items():
        write("scan", name, seed)


TARGETS = {"datenorm": datenorm, "textfield": textfield, "sort": sort, "ini": ini,
           "resource": resource, "wildcard": wildcard, "scan": scan}

if __name__ == "__main__":
    for name in sys.argv[1:] or TARGETS:
        TARGETS[name]()
