#!/usr/bin/env python3
"""Lists string literals in the UI sources that look like user-visible text
but do not go through Qt's translation functions.

A literal counts as translated when it is the text argument of tr(),
QCoreApplication::translate(), the core's translatedText() and
translatedCount(), QT_TR_NOOP() or QT_TRANSLATE_NOOP(). Literals
that are clearly not prose are skipped: object names and other identifiers
(no blank and a lower-case first letter), markup, paths, settings keys,
format-only strings. What is left is a list to read, not a verdict: a text
that is data (a stored caption, a file format) is reported too. A literal
can be marked as not for translation with a trailing // notr comment.

Usage: find_untranslated.py [folder ...]   (default: src/ui; src/core works too)
Prints one line per literal and a count at the end.
"""
import os
import re
import sys

TRANSLATING = re.compile(r'(\btr|\btranslate|\btranslatedText|\btranslatedCount|QT_TR_NOOP|QT_TRANSLATE_NOOP|QT_TR_N_NOOP|QT_TRANSLATE_N_NOOP)\s*\($')
NOT_TEXT_CALLS = re.compile(
    r'(setObjectName|findChild|findChildren|QLatin1String|QLatin1Char|setProperty|property|'
    r'QIcon::fromTheme|qputenv|qgetenv|setStyleSheet|QFont|QKeySequence|value|setValue|'
    r'qWarning|qDebug|qCritical|fprintf|Exception|contains|startsWith|endsWith|arg|'
    r'QUrl|QRegularExpression|QColor|QDateTime::fromString|toString|fromString|indexOf|'
    r'setMimeData|mimeData|hasFormat|setData|data|IniFile|readString|writeString|readInteger|'
    r'writeInteger|readBool|writeBool|section|key)\s*\($')


def literals(text):
    """Yields (offset, literal body, text before the literal on its statement)."""
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            i = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            i = n if j < 0 else j + 2
        elif c == "'":
            j = i + 1
            while j < n and text[j] != "'":
                j += 2 if text[j] == '\\' else 1
            i = j + 1
        elif c == '"':
            raw = i > 0 and text[i - 1] == 'R'
            if raw:
                close = text.find('(', i)
                delim = ')' + text[i + 1:close] + '"'
                j = text.find(delim, close)
                body = text[close + 1:j]
                end = j + len(delim)
            else:
                j = i + 1
                while j < n and text[j] != '"':
                    j += 2 if text[j] == '\\' else 1
                body = text[i + 1:j]
                end = j + 1
            yield i, body, end
            i = end
        else:
            i += 1


def looks_like_text(body):
    if not re.search(r'[A-Za-z]{2}', body):
        return False
    if body.lstrip().startswith('<') or '://' in body or body.startswith(('.', '/', ':/')):
        return False
    if ' ' not in body and not re.match(r'[A-Z&]', body):
        return False  # identifiers, keys, object names, file names
    if re.fullmatch(r'[A-Za-z0-9_.\-]+\.(kova2|hlp|ini|lock|txt|rtf|qm|png|svg|html?)', body):
        return False
    if re.fullmatch(r'[A-Z][A-Za-z0-9]*', body) and re.search(r'[a-z][A-Z]', body):
        return False  # CamelCase names
    return True


def check(path):
    text = open(path, encoding='utf-8').read()
    found = []
    for start, body, end in literals(text):
        line_start = text.rfind('\n', 0, start) + 1
        line_end = text.find('\n', end)
        line = text[line_start:line_end if line_end >= 0 else len(text)]
        if line.lstrip().startswith('#') or '// notr' in line:
            continue
        before = text[max(0, start - 400):start]
        # Adjacent literals continue the one before them.
        stripped = re.sub(r'("(?:[^"\\]|\\.)*"\s*)+$', '', before.rstrip())
        head = stripped.rstrip()
        # The text argument of translate()/QT_TRANSLATE_NOOP() follows a context.
        head = re.sub(r'(translate|translatedText|translatedCount|QT_TRANSLATE_NOOP|QT_TRANSLATE_N_NOOP)\s*\(\s*"[^"]*"\s*,\s*$', r'\1(', head)
        head = re.sub(r'(translate|QT_TRANSLATE_NOOP|QT_TRANSLATE_N_NOOP)\s*\(\s*[A-Za-z_:]+\s*,\s*$', r'\1(', head)
        head = re.sub(r'QStringLiteral\s*\($', '', head).rstrip()
        if TRANSLATING.search(head) or NOT_TEXT_CALLS.search(head):
            continue
        if re.search(r'(translate|QT_TRANSLATE_NOOP)\s*\($', head + '('):
            pass
        if not looks_like_text(body):
            continue
        found.append((text.count('\n', 0, start) + 1, body))
    return found


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folders = sys.argv[1:] or [os.path.join(root, 'src', 'ui')]
    count = 0
    for folder in folders:
        for dirpath, _, files in os.walk(folder):
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.join(dirpath, name)
                for line, body in check(path):
                    print(f'{os.path.relpath(path, root)}:{line}: "{body}"')
                    count += 1
    print(f'{count} literal(s) outside the translation functions')


if __name__ == '__main__':
    main()
