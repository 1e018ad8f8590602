#!/usr/bin/env python3
"""Writes the foundation test fixtures with Python's plistlib, an independent writer of the
platform's binary and XML layouts. Run from anywhere: python3 tests/data/foundation/make_fixtures.py"""
import os
import plistlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(path, data):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


suite = {
    "widget_auth_status": "logged_in",
    "widget_currency_symbol": "\u20ac",
    "widget_period_type": "week",
    "widget_wallet_mode": "multi",
    "widget_wallet_names": "Cash, Bank",
    "widget_wallet_count": 3,
    "widget_last_update": 1700000000000.0,
    "widget_income": 2500.0,
    "widget_expense": 3734.56,
    "widget_balance": -1234.56,
    "widget_language": "de",
}
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
      b"\xfe\xff" + '"widget_period_day" = "Hoje";\n'.encode("utf-16-be"))
write("Widget.bundle/zh-Hans.lproj/Localizable.strings",
      plistlib.dumps({"widget_period_day": "\u4eca\u5929", "count": 3},
                     fmt=plistlib.FMT_BINARY))
write("Widget.bundle/fr.lproj/Localizable.strings",
      plistlib.dumps({"widget_period_day": "Aujourd\u2019hui"}, fmt=plistlib.FMT_XML))
# Not a localization: a file with the suffix.
write("Widget.bundle/notes.lproj", b"not a directory")
