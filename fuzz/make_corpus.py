#!/usr/bin/env python3
"""Writes the starting inputs of the fuzz targets into fuzz/corpus/<target>/start-*. Inputs that found
faults are kept beside them as found-* and are never rewritten. Run: python3 fuzz/make_corpus.py"""
import os
import plistlib
import struct
import datetime

HERE = os.path.dirname(os.path.abspath(__file__))


def start(target, name, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "start-" + name), "wb") as f:
        f.write(data)


SUITE = {
    "widget_auth_status": "logged_in", "widget_currency_symbol": "\u20ac", "widget_period_type": "week",
    "widget_wallet_mode": "multi", "widget_wallet_names": "Cash, Bank", "widget_wallet_count": "3",
    "widget_last_update": "1700000000000", "widget_income": 2500.0, "widget_expense": 3734.56,
    "widget_balance": -1234.56, "widget_language": "de"}
EVERY_KIND = {
    "text": "plain", "unicode \u00e9": "\u20ac \U0001F600", "int": 7, "negative": -42, "big": 2**40,
    "huge": 2**64 - 1, "real": 0.1, "yes": True, "no": False,
    "date": datetime.datetime(2023, 11, 14, 22, 13, 20), "data": b"\x00\x01\xff",
    "list": [1, "two", [3.0, {"four": 4}]], "long": "x" * 40, "many": list(range(20))}
UIDS = {"$objects": [plistlib.UID(1), plistlib.UID(300)]}
WIDE = {"k%03d" % i: i for i in range(300)}  # two-byte references

for fmt, target in ((plistlib.FMT_BINARY, "store_binary"), (plistlib.FMT_XML, "store_xml")):
    for name, value in (("suite", SUITE), ("every-kind", EVERY_KIND), ("empty-dict", {}),
                        ("top-array", ["widget_auth_status"]), ("wide", WIDE),
                        ("signed-out", {"widget_auth_status": "logged_out", "widget_income": 12})):
        start(target, name, plistlib.dumps(value, fmt=fmt))
start("store_binary", "uids", plistlib.dumps(UIDS, fmt=plistlib.FMT_BINARY))
start("store_xml", "comments-cdata-entities",
     '<?xml version="1.0" encoding="UTF-8"?>\n'
     '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
     '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
     '<plist version="1.0"><dict><!-- note -->'
     '<key>widget_currency_symbol</key><string>&#x20AC;&amp;<![CDATA[<b>]]></string>'
     '<key>widget_income</key><real>1e3</real><key>widget_balance</key><integer>-5</integer>'
     '<key>e</key><string/><key>n</key><array/></dict></plist>\n')
start("store_xml", "bom", "\ufeff" + plistlib.dumps({"a": "b"}).decode())

TABLE = ('/* comment */\n"widget_period_day" = "Today";  // trailing\n'
         "'single' = 'it\\'s';\nunquoted_token$1 = path/to:file.name-2;\n\"bare\";\n"
         '"escapes" = "\\a\\b\\f\\n\\r\\t\\v\\"\\\\\\101\\U20AC\\UD83D\\UDE00\\q";\n'
         '"sep" = "x"\u2028;\n')
start("strings_table", "text-as-is", b"\x00" + TABLE.encode())
for mode, name in ((1, "utf8-bom"), (2, "utf16le"), (3, "utf16be"), (4, "utf32le"), (5, "utf32be")):
    start("strings_table", "text-" + name, bytes([mode]) + TABLE.encode())
start("strings_table", "braced", b"\x00{ \"a\" = \"b\"; }")
start("strings_table", "raw-utf16le", b"\x00\xff\xfe" + '"k" = "\u00e9";'.encode("utf-16-le"))
start("strings_table", "raw-utf32be", b"\x00\x00\x00\xfe\xff" + '"k" = "v";'.encode("utf-32-be"))
start("strings_table", "binary", b"\x00" + plistlib.dumps({"a": "Alpha", "n": 3, "b": "\u00df"},
                                                        fmt=plistlib.FMT_BINARY))
start("strings_table", "xml", b"\x00" + plistlib.dumps({"a": "Alpha", "skip": []}))

for i, text in enumerate(["12", "+12", "-2", "", "+", "1.5", " 3", "3 ", "99999999999999999999",
                          "9223372036854775807", "-9223372036854775808", "1700000000000",
                          "1.7e12", "0", "-0", "007", "inf", "-infinity", "nan", "nan(12)",
                          "0x1p3", "1e400", "4e-320", "1,000", "five", ".5", "5.", "1e", "+.5e-3"]):
    start("number_conversions", "%02d" % i, text)


for i, (n, fmt) in enumerate([(3, "%@ wallets"), (-2, "%1$@ Konten"), (0, "100%% of %@"),
                              (12, "%d %s %n %x %@"), (5, "%"), (7, "%1$d %2$@ %1$@"),
                              (9, "no placeholder"), (2**63 - 1, "%@%@%@"), (1, "%%@ %1$%@")]):
    start("wallet_count_format", "%02d" % i, bytes([8]) + struct.pack("<q", n) + fmt.encode())

for i, name in enumerate(["de", "en", "ko", "ja", "", "..", ".", "../secret", "../../secret",
                          "de/", "./de", "sub/fr", "de/in", "de\0", "/tmp", "DE", "de-DE",
                          "de\\in", "\u00e9", "de.lproj", "..\\secret"]):
    start("localized_widget_string", "%02d" % i, name)
