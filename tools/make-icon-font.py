#!/usr/bin/python3
"""Builds res/vantrel-icons.ttf, the ribbon's stand-in for "Segoe MDL2 Assets".

Windows 8.1 and Wine have no Segoe MDL2 Assets, so the program carries a small icon font of its own
and loads it privately when the system font is missing. Each glyph is taken from Google's Material
Icons (Apache License 2.0, Debian package fonts-material-design-icons-iconfont) and placed at the
Segoe MDL2 code point the ribbon draws, so the drawing code never needs to know which font it got.

The generated file is checked in; run this only after changing the table below:
    apt-get install fonts-material-design-icons-iconfont python3-fonttools
    /usr/bin/python3 tools/make-icon-font.py
"""
import os
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf"
CODEPOINTS = "/usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss"
FAMILY = "Vantrel Icons"
OUTPUT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "vantrel-icons.ttf"))

# Segoe MDL2 code point -> the Material icon drawn there.
GLYPHS = {
    0xE710: "add",                   # Add
    0xE711: "close",                 # Cancel
    0xE713: "settings",              # Setting
    0xE715: "mail",                  # Mail
    0xE71B: "link",                  # Link
    0xE721: "search",                # Search
    0xE72C: "refresh",               # Refresh
    0xE72D: "share",                 # Share
    0xE734: "star",                  # FavoriteStar
    0xE749: "print",                 # Print
    0xE74D: "delete",                # Delete
    0xE74E: "save",                  # Save
    0xE769: "pause",                 # Pause
    0xE772: "devices",               # Devices
    0xE774: "language",              # Globe
    0xE777: "restart_alt",           # UpdateRestore
    0xE7BA: "warning",               # Warning
    0xE7C3: "article",               # Page
    0xE7E8: "power_settings_new",    # PowerButton
    0xE7F4: "desktop_windows",       # TVMonitor
    0xE81C: "history",               # History
    0xE839: "network_check",         # Ethernet
    0xE895: "sync",                  # Sync
    0xE896: "download",              # Download
    0xE897: "help",                  # Help
    0xE8A1: "menu_book",             # PreviewLink
    0xE8A5: "description",           # Document
    0xE8A7: "open_in_new",           # OpenInNewWindow
    0xE8BD: "chat",                  # Message
    0xE8C8: "content_copy",          # Copy
    0xE8EA: "smartphone",            # CellPhone
    0xE8F1: "library_books",         # Library
    0xE8F2: "forum",                 # ChatBubbles
    0xE8FB: "done",                  # Accept
    0xE8FD: "format_list_bulleted",  # BulletedList
    0xE90F: "build",                 # Repair
    0xE946: "info",                  # Info
    0xE950: "memory",                # Component
    0xE968: "lan",                   # NetworkTower
    0xE977: "dns",                   # PC1
    0xE9CE: "contact_support",       # Unknown
    0xE9E9: "tune",                  # Equalizer
    0xEA18: "security",              # Shield
    0xEA90: "picture_as_pdf",        # PDF
}


def material_codepoints():
    table = {}
    with open(CODEPOINTS, encoding="utf-8") as f:
        for name, cp in re.findall(r'"([a-z0-9_]+)":\s*([0-9a-f]+)', f.read()):
            table.setdefault(name, int(cp, 16))
    return table


def main():
    names = material_codepoints()
    # The source's own time stamp is kept, so the same table always gives the same file.
    font = TTFont(SOURCE, recalcTimestamp=False)
    source_cmap = font.getBestCmap()
    wanted = {}
    for target, name in GLYPHS.items():
        if name not in names or names[name] not in source_cmap:
            sys.exit(f"{name}: not in {SOURCE}")
        wanted[target] = source_cmap[names[name]]

    options = subset.Options()
    options.layout_features = []
    options.notdef_outline = True
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.name_languages = [0x409]
    options.drop_tables += ["GSUB", "GPOS", "GDEF"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(glyphs=sorted(set(wanted.values())))
    subsetter.subset(font)

    # Only the Segoe code points stay in the character map, in a format 4 subtable for Windows and
    # one for Unicode, so GDI's lookups find exactly the glyphs the ribbon asks for.
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap = dict(wanted)
    font["cmap"].tables = [t for t in font["cmap"].tables if t.isUnicode() and t.format == 4]

    name = font["name"]
    for record in list(name.names):
        if record.nameID in (1, 4, 16, 21):
            name.removeNames(nameID=record.nameID)
    for nid, text in ((1, FAMILY), (2, "Regular"), (3, FAMILY + " Regular"), (4, FAMILY),
                      (6, FAMILY.replace(" ", "") + "-Regular")):
        name.setName(text, nid, 3, 1, 0x409)
        name.setName(text, nid, 1, 0, 0)
    name.setName("Derived from Material Icons by Google, Apache License 2.0; glyphs re-mapped for Vantrel.",
                 0, 3, 1, 0x409)

    font.save(OUTPUT)
    print(f"{OUTPUT}: {len(wanted)} code points, {os.path.getsize(OUTPUT)} bytes")


if __name__ == "__main__":
    main()
