#!/usr/bin/env python3
"""Writes the hostile inputs: damaged suite files (binary and XML property lists) and damaged string
tables, each aimed at one way a reader can be made to crash, hang, read out of bounds or swell.
The 50 MB table is made by the test itself, not kept here. Run: python3 tests/data/hostile/make_hostile.py

Files: store-*.plist are suite files (each must read as an empty store); table-*.strings are string
tables (each must read as missing, except where the test says otherwise)."""
import os
import plistlib
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from bplist import Bplist, be  # noqa: E402


def write(name, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def suite_objects():
    """A small signed-in suite: the writer, and the (key, value) pairs of its top dictionary."""
    w = Bplist()
    real = lambda v: w.add(b"\x23" + struct.pack(">d", v))  # noqa: E731
    values = [("widget_auth_status", "logged_in"), ("widget_currency_symbol", "EUR"),
              ("widget_income", 2500.0), ("widget_balance", -1234.5),
              ("widget_wallet_count", "3"), ("widget_wallet_mode", "multi")]
    return w, [(w.ascii(k), w.ascii(v) if isinstance(v, str) else real(v)) for k, v in values]


def one(make, key="x"):
    """The suite with one more entry, keyed `key`, whose value make(w) adds."""
    w, pairs = suite_objects()
    pairs.append((w.ascii(key), make(w)))
    return w.build(w.dict(pairs))


_w, _pairs = suite_objects()
GOOD = _w.build(_w.dict(_pairs))
TRAILER = len(GOOD) - 32
TABLE = struct.unpack(">Q", GOOD[-8:])[0]


def patched(data, at, value):
    return data[:at] + value + data[at + len(value):]


# --- Binary suite files ----------------------------------------------------------------------
write("store-intact.plist", GOOD)  # not hostile: the file the cut and patched ones come from
write("store-bad-magic.plist", b"bqlist00" + GOOD[8:])
write("store-bad-version.plist", b"bplist15" + GOOD[8:])
write("store-offset-into-header.plist", patched(GOOD, TABLE, bytes([3])))
write("store-offset-into-trailer.plist", patched(GOOD, TABLE + 1, bytes([TRAILER & 0xFF])))
write("store-offset-into-offset-table.plist", patched(GOOD, TABLE, bytes([TABLE & 0xFF])))
write("store-table-offset-into-header.plist", patched(GOOD, len(GOOD) - 8, be(2, 8)))
write("store-top-object-beyond-count.plist", patched(GOOD, len(GOOD) - 16, be(1 << 40, 8)))
write("store-object-count-huge.plist", patched(GOOD, len(GOOD) - 24, be((1 << 64) - 1, 8)))
write("store-ref-size-zero.plist", patched(GOOD, TRAILER + 7, bytes([0])))
write("store-offset-size-nine.plist", patched(GOOD, TRAILER + 6, bytes([9])))
write("store-trailing-garbage.plist", GOOD + b"garbage")


# References to objects not yet made: the array itself; a dictionary whose array holds it; the
# top dictionary, made right after its key "me".
write("store-self-referencing-array.plist", one(lambda w: w.array([len(w.objects)])))
write("store-mutually-referencing-containers.plist",
      one(lambda w: w.dict([(w.ascii("back"), w.array([len(w.objects) + 1]))])))
write("store-dictionary-contains-itself.plist", one(lambda w: len(w.objects), key="me"))
write("store-huge-array-count.plist", one(lambda w: w.add(b"\xAF\x13" + be(1 << 62, 8))))
write("store-string-length-overflows.plist",
      one(lambda w: w.add(b"\x5F\x13" + be((1 << 64) - 1, 8) + b"abc")))
write("store-utf16-length-overflows.plist",
      one(lambda w: w.add(b"\x6F\x13" + be(1 << 63, 8) + b"\x00a")))
write("store-data-length-past-end.plist", one(lambda w: w.add(b"\x4F\x12" + be(0xFFFFFF00, 4))))
write("store-count-marker-not-an-integer.plist", one(lambda w: w.add(b"\x5F\x23" + bytes(8))))


def real7():
    # A real whose eight bytes are cut to seven by the offset table that follows.
    w, pairs = suite_objects()
    top = w.dict(pairs + [(w.ascii("x"), len(w.objects) + 1)])
    w.add(b"\x23" + bytes(7))
    return w.build(top)


write("store-seven-byte-real.plist", real7())
write("store-two-byte-real.plist", one(lambda w: w.add(b"\x21\x3c\x00")))
write("store-integer-beyond-64-bits.plist", one(lambda w: w.add(b"\x14" + be(1, 8) + bytes(8))))
write("store-ascii-with-high-bytes.plist", one(lambda w: w.add(b"\x53\xff\xfe\x80")))
write("store-reference-past-last-object.plist", one(lambda w: w.array([250])))
write("store-null-and-fill-objects.plist", one(lambda w: w.array([w.add(b"\x00"), w.add(b"\x0f")])))


for kind, make_key in (("integer", lambda w: w.add(b"\x13" + struct.pack(">q", 7))),
                       ("array", lambda w: w.array([])), ("data", lambda w: w.add(b"\x41x"))):
    w, pairs = suite_objects()
    write("store-%s-key.plist" % kind, w.build(w.dict(pairs + [(make_key(w), w.ascii("value"))])))
w = Bplist()
write("store-top-is-array.plist",
      w.build(w.array([w.ascii("widget_auth_status"), w.ascii("logged_in")])))

# --- XML suite files -------------------------------------------------------------------------
HEAD = ('<?xml version="1.0" encoding="UTF-8"?>\n'
        '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
        '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n')
ENTRIES = ("<key>widget_auth_status</key><string>logged_in</string>"
           "<key>widget_income</key><real>2500</real>")


def xml(body):
    return HEAD + '<plist version="1.0">' + body + "</plist>\n"


write("store-xml-nesting-unclosed-5000.plist",
      xml("<dict>" + ENTRIES + "<key>deep</key>" + "<array>" * 5000))
write("store-xml-entity-expansion.plist",
      '<?xml version="1.0"?>\n<!DOCTYPE plist [\n<!ENTITY a "aaaaaaaaaa">\n'
      + "".join('<!ENTITY %s "%s">\n' % (chr(98 + i), ("&%s;" % chr(97 + i)) * 10)
                for i in range(8))
      + ']>\n<plist version="1.0"><dict><key>widget_auth_status</key><string>&i;</string>'
      "</dict></plist>\n")
write("store-xml-external-entity.plist",
      '<?xml version="1.0"?>\n<!DOCTYPE plist [<!ENTITY x SYSTEM "file:///etc/passwd">]>\n'
      '<plist version="1.0"><dict><key>widget_currency_symbol</key><string>&x;</string>'
      "</dict></plist>\n")
write("store-xml-top-is-array.plist", xml("<array>" + ENTRIES.replace("key>", "string>") + "</array>"))
write("store-xml-top-is-string.plist", xml("<string>logged_in</string>"))
write("store-xml-unclosed-dict.plist", xml("<dict>" + ENTRIES))
write("store-xml-nul-byte.plist", xml("<dict>" + ENTRIES.replace("logged_in", "logged_in\0") + "</dict>"))
write("store-xml-invalid-utf8.plist", xml("<dict>" + ENTRIES + "</dict>").encode() .replace(b"2500", b"25\xc3\x28"))
write("store-xml-key-without-value.plist", xml("<dict>" + ENTRIES + "<key>dangling</key></dict>"))
# A last update no calendar can hold is no last update at all: the store reads as an empty one.
write("store-xml-last-update-beyond-calendar.plist",
      xml("<dict><key>widget_last_update</key><string>1e300</string></dict>"))

# --- String tables ---------------------------------------------------------------------------
write("table-unterminated-string.strings", '"widget_income" = "Einnahmen;\n')
write("table-unterminated-comment.strings", '"widget_income" = "Einnahmen";\n/* never closed\n')
write("table-unterminated-escape.strings", '"widget_income" = "Einnahmen\\')
write("table-invalid-utf8.strings", b'"widget_income" = "Einnahmen \xc3\x28";\n')
write("table-overlong-utf8.strings", b'"widget_income" = "\xc0\xaf";\n')
write("table-encoded-surrogate-utf8.strings", b'"widget_income" = "\xed\xa0\x80";\n')


def entry(bom, codec, value):
    """widget_income = value: the text in `codec` after `bom`, the value's bytes as given."""
    return bom + '"widget_income" = "'.encode(codec) + value + '";'.encode(codec)


write("table-utf16-odd-length.strings",
      entry(b"\xff\xfe", "utf-16-le", "Einnahmen".encode("utf-16-le")) + b"\x00")
write("table-utf16-lone-high-surrogate.strings", entry(b"\xfe\xff", "utf-16-be", b"\xd8\x00"))
write("table-utf16-lone-low-surrogate.strings", entry(b"\xff\xfe", "utf-16-le", b"\x00\xdc"))
write("table-utf16-surrogate-at-end.strings", entry(b"\xff\xfe", "utf-16-le", b"x\x00") + b"\x3d\xd8")
write("table-utf32-beyond-unicode.strings", entry(b"\x00\x00\xfe\xff", "utf-32-be", be(0x110000, 4)))
write("table-nul-bytes.strings", b'"widget_income"\0= "Einnahmen";\n')
write("table-missing-semicolon.strings", '"widget_income" = "Einnahmen"\n"widget_expense" = "Ausgaben";\n')
write("table-binary-top-is-array.strings",
      plistlib.dumps(["widget_income", "Einnahmen"], fmt=plistlib.FMT_BINARY))
write("table-binary-truncated.strings",
      plistlib.dumps({"widget_income": "Einnahmen"}, fmt=plistlib.FMT_BINARY)[:-5])
write("table-xml-entity-expansion.strings",
      '<?xml version="1.0"?>\n<!DOCTYPE plist [<!ENTITY a "aaaaaaaaaaaaaaaa">'
      '<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]>\n'
      "<plist><dict><key>widget_income</key><string>&b;</string></dict></plist>\n")
# Read, not refused: an escaped lone surrogate becomes U+FFFD and NUL inside a string is text.
write("table-escaped-lone-surrogate.strings", '"widget_income" = "Ein\\UD800nahmen";\n')
write("table-nul-inside-string.strings", b'"widget_income" = "Ein\0nahmen";\n')
