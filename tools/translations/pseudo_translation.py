#!/usr/bin/env python3
"""Makes a pseudo translation from a Qt Linguist catalogue.

Every translation is its source text with the letters accented, each word
made about 30 % longer and the whole wrapped in brackets: "[Ópéñ Hélp~~]".
A window shown with it tells at a glance which texts escaped the
translation functions (they have no brackets), which ones are cut (a
bracket is missing) and whether the layout copes with longer texts.

Kept intact: placeholders (%1, %L1, %n, %s, %d, %%), the "&" that marks a
menu letter and the letter after it, "&&", file patterns (*.kova2bak),
markup (<b>, &amp;) and the
white space around the text; the brackets go inside the markup that opens
and closes it. A text of several parts joined by "|" (a
short and a long hint) gets brackets around each part.

Usage: pseudo_translation.py SOURCE.ts OUTPUT.ts
"""
import math
import re
import sys
import xml.etree.ElementTree as ET

ACCENTS = str.maketrans('aeiouyAEIOUYnNcC', 'áéíóúýÁÉÍÓÚÝñÑçÇ')

# Pieces that must reach the program unchanged.
PROTECTED = re.compile(
    r'%(?:L?\d+|L?n|%|[-+ #0]*\d*(?:\.\d+)?[sdiufxXc])'  # placeholders
    r'|<[^>]*>'                                           # markup
    r'|&(?:[A-Za-z]+|#\d+);'                              # entities
    r'|&&'                                                # a literal "&"
    r'|&\S'                                               # menu letter
    r'|\*\.\w+'                                            # file pattern
)


def lengthen(word):
    """The word accented and padded to about 130 % of its length."""
    return word.translate(ACCENTS) + '~' * math.ceil(len(word) * 0.3)


def pseudo_part(text):
    # White space and the markup around the words stay outside the brackets,
    # so that a bracket shows inside the paragraph it belongs to.
    lead = re.match(r'\s*(?:<[^>]*>\s*)*', text).group(0)
    trail = re.search(r'(?:\s*<[^>]*>)*\s*$', text[len(lead):]).group(0)
    core = text[len(lead):len(text) - len(trail)]
    if not core:
        return text
    out, pos = [], 0
    for m in PROTECTED.finditer(core):
        out.append(re.sub(r'[^\W\d_]+', lambda w: lengthen(w.group(0)), core[pos:m.start()]))
        out.append(m.group(0))
        pos = m.end()
    out.append(re.sub(r'[^\W\d_]+', lambda w: lengthen(w.group(0)), core[pos:]))
    return lead + '[' + ''.join(out) + ']' + trail


def pseudo(text):
    return '|'.join(pseudo_part(part) for part in text.split('|'))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tree = ET.parse(sys.argv[1])
    root = tree.getroot()
    root.set('language', 'en')
    for message in root.iter('message'):
        source = message.findtext('source') or ''
        translation = message.find('translation')
        if translation is None:
            translation = ET.SubElement(message, 'translation')
        translation.attrib.pop('type', None)
        if message.get('numerus') == 'yes':
            for form in list(translation):
                translation.remove(form)
            translation.text = None
            for _ in range(2):
                ET.SubElement(translation, 'numerusform').text = pseudo(source)
        else:
            translation.text = pseudo(source)
    tree.write(sys.argv[2], encoding='utf-8', xml_declaration=True)


if __name__ == '__main__':
    main()
