#!/usr/bin/env python3
"""Writes the foundation test fixtures with Python's plistlib, an independent writer of the
platform's binary and XML layouts, and bplist/, xml/: lists named for what the reader must do with
them (accept-*, reject-*). Run from anywhere: python3 tests/data/foundation/make_fixtures.py"""
import datetime
import os
import plistlib
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from bplist import Bplist as Writer, be  # noqa: E402


def write(path, data):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


suite = {
    "widget_auth_status": "logged_in", "widget_currency_symbol": "\u20ac", "widget_period_type": "week",
    "widget_wallet_mode": "multi", "widget_wallet_names": "Cash, Bank", "widget_wallet_count": 3,
    "widget_last_update": 1700000000000.0, "widget_income": 2500.0, "widget_expense": 3734.56,
    "widget_balance": -1234.56, "widget_language": "de"}
write("container/Library/Preferences/group.app.example.plist",
      plistlib.dumps(suite, fmt=plistlib.FMT_BINARY))

TEXT_TABLE = """/* Widget texts */
"widget_period_day" = "Today";
"widget_period_month" = "This month"; // trailing comment
widget_income = "Income";
"widget_expense" = 'Expense';
"widget_balance";
"""
write("Widget.bundle/en.lproj/Localizable.strings", TEXT_TABLE.encode("utf-8"))

DE_TABLE = """"widget_period_day" = "Heute";
"widget_income" = "Einnahmen \\U2192 \\"gr\\u00fcn\\"";
"""
write("Widget.bundle/de.lproj/Localizable.strings", b"\xff\xfe" + DE_TABLE.encode("utf-16-le"))
write("Widget.bundle/pt-BR.lproj/Localizable.strings",
      b"\xfe\xff" + '"widget_period_day" = "Hoje \U0001F600\U000F0000\U0010FFFF";\n'.encode("utf-16-be"))
write("Widget.bundle/zh-Hans.lproj/Localizable.strings",
      plistlib.dumps({"widget_period_day": "\u4eca\u5929", "count": 3},
                     fmt=plistlib.FMT_BINARY))
write("Widget.bundle/fr.lproj/Localizable.strings",
      plistlib.dumps({"widget_period_day": "Aujourd\u2019hui"}, fmt=plistlib.FMT_XML))
# Not a localization: a file with the suffix.
write("Widget.bundle/notes.lproj", b"not a directory")

# --- Binary lists the reader must take or refuse, as the file name says (bplist/accept-*, reject-*)
def Bplist():  # four-byte offsets, and counts past 14 in four bytes
    return Writer(wide=True, offset_size=4)


def bplist(name, data):
    write("bplist/" + name + ".plist", data)


# Every kind of value, binary and XML alike (the XML form has no UIDs).
EVERY_KIND = {
    "yes": True, "word": 4000000000, "negative": -3, "huge": 2**64 - 1, "real": 1234.5,
    "date": datetime.datetime(2023, 11, 14, 22, 13, 20), "data": b"\x00\x01\xff",
    "text": "\u20ac \U0001F600", "many": list(range(300))}
write("xml/every-kind.plist", plistlib.dumps(EVERY_KIND, fmt=plistlib.FMT_XML))
write("bplist/every-kind.plist", plistlib.dumps(dict(EVERY_KIND, uid=plistlib.UID(7)),
                                                fmt=plistlib.FMT_BINARY))

w = Bplist()
shared = w.utf16([ord("a"), 0xD800, ord("b"), 0xDC00])
inner = w.array([shared, shared])
bplist("accept-shared-references-lone-surrogates", w.build(w.array([inner, inner, shared])))

w = Bplist()
GOOD = w.build(w.dict([(w.ascii("k"), w.add(b"\x10\x05"))]))
T = len(GOOD) - 32
for name, at, value, width in [
        ("no-objects", T + 8, 0, 8), ("top-index-is-count", T + 16, 3, 8),
        ("table-size-overflows", T + 8, 1 << 62, 8), ("table-runs-into-trailer", T + 8, 4, 8),
        ("offset-size-0", T + 6, 0, 1), ("offset-size-16", T + 6, 16, 1),
        ("table-at-trailer", T + 24, T, 8), ("table-offset-overflows", T + 24, 2**64 - 11, 8),
        ("marker-utf8-string", 8, 0x70, 1), ("marker-set", 8, 0xC0, 1),
        ("marker-unknown", 8, 0xF0, 1), ("marker-16-byte-real", 8, 0x24, 1),
        ("marker-16-byte-date", 8, 0x34, 1)]:
    bplist("reject-" + name, GOOD[:at] + be(value, width) + GOOD[at + width:])
bplist("accept-trailer-intact", GOOD)

for depth, verdict in [(512, "accept"), (513, "reject")]:
    w = Bplist()
    bplist("%s-nesting-%d" % (verdict, depth), w.build(w.nested(w.array([]), depth - 1)))

# 2^15 copies of one leaf: its text bytes (3 per UTF-16 unit) must stay within 8 MiB in all; one
# more byte tips it over. And 2^20 values in all (a tree of 2^19 leaves in an array), one more.
for kind, length, verdict in [("ascii", 256, "accept"), ("ascii", 257, "reject"),
                              ("data", 256, "accept"), ("data", 257, "reject"),
                              ("utf16", 85, "accept"), ("utf16", 86, "reject")]:
    w = Bplist()
    node = (w.ascii("x" * length) if kind == "ascii" else w.data(b"x" * length) if kind == "data"
            else w.utf16([ord("x")] * length))
    bplist("%s-expansion-%s-%d" % (verdict, kind, length), w.build(w.nested(node, 15, 2)))
for values, verdict in [(1 << 20, "accept"), ((1 << 20) + 1, "reject")]:
    w = Bplist()
    leaf = w.ascii("x")
    node = w.nested(leaf, 19, 2)
    top = w.array([node] if verdict == "accept" else [node, leaf])
    bplist("%s-expansion-values-%d" % (verdict, values), w.build(top))
w = Bplist()
bplist("reject-expansion-2-to-the-64", w.build(w.nested(w.ascii("leaf"), 64, 2)))

# --- XML lists the reader must take or refuse, as the file name says (xml/accept-*, reject-*) ---
def xml(name, body):
    write("xml/" + name + ".plist", ('<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE plist PUBLIC'
          ' "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
          '<plist version="1.0">' + body + "</plist>\n").encode())


# Numbers as the platform reads them: whole, in range, in the C locale; else the file is malformed.
for name, element in [
        ("integer-below-int64", "<integer>-9223372036854775809</integer>"),
        ("integer-above-uint64", "<integer>18446744073709551616</integer>"),
        ("integer-far-below", "<integer>-99999999999999999999999</integer>"),
        ("integer-fraction", "<integer>1.5</integer>"), ("integer-bare-hex-prefix", "<integer>0x</integer>"),
        ("integer-two-signs", "<integer>+-1</integer>"), ("integer-empty", "<integer></integer>"),
        ("integer-self-closed", "<integer/>"), ("integer-comment", "<integer><!-- 1 -->2</integer>"),
        ("real-letters", "<real>5abc</real>"), ("real-decimal-comma", "<real>1,5</real>"),
        ("real-hex", "<real>0x1p3</real>"), ("real-two-signs", "<real>--1</real>"),
        ("real-blank", "<real> </real>"), ("real-not-a-word", "<real>xnf</real>")]:
    xml("reject-" + name, "<array><true/>" + element + "</array>")
xml("accept-numbers", "<array><integer>-5</integer><integer> +010 </integer><integer>0x1F</integer>"
    "<integer>-9223372036854775808</integer><integer>18446744073709551615</integer>"
    "<real>0.1</real><real>-.5e1</real><real>-inf</real><real>1e400</real><real>NaN</real></array>")
# What CoreFoundation refuses and libplist would let through.
for name, body in [("key-without-value-in-nested-dict", "<dict><key>a</key><dict><key>b</key></dict></dict>"),
                   ("two-keys-in-a-row", "<dict><key>a</key><key>b</key><true/></dict>"),
                   ("two-top-objects", "<string>a</string><string>b</string>"),
                   ("unclosed-string", "<dict><key>a</key><string>b</dict>"),
                   ("unclosed-comment", "<!-- never closed <string/>"),
                   ("doctype-with-internal-subset", "<!DOCTYPE x [ ]><true/>"),
                   ("cut-tag", "<string>a</string")]:
    xml("reject-" + name, body)
# A tag cut off after the list: libplist stops reading at </plist> and would take it.
for name, tail in [("cut-tag", b'<x y="'), ("unclosed-comment", b"<!-- never closed")]:
    write("xml/reject-%s-after-the-list.plist" % name,
          b'<?xml version="1.0"?><plist version="1.0"><true/></plist>\n' + tail)
xml("accept-empty-dict-then-key", "<dict><key>a</key><dict/><key>b</key><true/></dict>")
for depth, verdict in [(512, "accept"), (513, "reject")]:
    xml("%s-nesting-%d" % (verdict, depth), "<array>" * depth + "<string>x</string>" + "</array>" * depth)

# --- Limits the first tests let through (each guards one comparison) ----------------------------
w = Bplist()
bplist("reject-string-length-past-end", w.build(w.add(w.marker(5, 40) + b"short")))
# One-byte offsets reach offset 255 at most: a table there is fine, one at 256 is not.
for table_at, verdict in [(255, "accept"), (256, "reject")]:
    w = Bplist()
    top = w.ascii("x" * (table_at - 14))
    data = w.build(top)
    table = len(data) - 32 - 4
    assert table == table_at
    bplist("%s-offset-size-1-table-at-%d" % (verdict, table_at),
           data[:table] + bytes([8]) + bytes(6) + bytes([1, 1]) + data[-24:])
write("xml/reject-overlong-utf8.plist", b'<?xml version="1.0"?><plist version="1.0"><string>\xc0\xaf'
      b"</string></plist>")
