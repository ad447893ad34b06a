#!/usr/bin/env python3
"""Writes the English forms of the core's texts about a number of things.

Reads the program's English catalogue (a Qt Linguist .ts file) and writes,
for every message with plural forms whose context is in the core
(kovara::core::...), one C++ initializer line:

    {"context", "disambiguation", "source", "singular", "plural"},

The core includes the lines, so that its texts read "1 day" and "2 days" in
English also where no catalogue is loaded (the core alone, its tests). Fails
when a plural text of the catalogue, the core's or the UI's, lacks its two
English forms (an update of the catalogue adds new ones empty).

Usage: english_plurals.py kovara_en.ts OUTPUT.inc
"""
import sys
import xml.etree.ElementTree as ET


def literal(text):
    out = []
    for ch in text:
        if ch in '\\"':
            out.append('\\' + ch)
        elif ch == '\n':
            out.append('\\n')
        elif ord(ch) < 0x20:
            out.append('\\x%02x""' % ord(ch))
        else:
            out.append(ch)
    return '"' + ''.join(out) + '"'


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    lines = []
    for context in ET.parse(sys.argv[1]).getroot().iter('context'):
        name = context.findtext('name') or ''
        for message in context.iter('message'):
            if message.get('numerus') != 'yes':
                continue
            source = message.findtext('source') or ''
            forms = [f.text or '' for f in message.iter('numerusform')]
            # Every plural text, the UI's too: without its English forms
            # the program would read "1 days".
            if len(forms) != 2 or not all(forms):
                sys.exit(f'{sys.argv[1]}: "{source}" ({name}) needs its two English forms')
            if not name.startswith('kovara::core::'):
                continue
            fields = [name, message.findtext('comment') or '', source] + forms
            lines.append('{' + ', '.join(literal(f) for f in fields) + '},\n')
    with open(sys.argv[2], 'w', encoding='utf-8') as out:
        out.write('// Made by tools/translations/english_plurals.py; do not edit.\n')
        out.writelines(lines)


if __name__ == '__main__':
    main()
