#!/usr/bin/env python3
"""Lists code identifiers and file names that break the naming rules: a T/E
class prefix (TPlanStore, ERestoreFailed), the product tag KOVA, or a
form-designer component name (a widget kind plus a
number, or a click handler named after one), members declared in headers
under PascalCase names, T-prefixed class names inside texts, a "get" prefix
on a function declared or called in src/ (getPlanTitle: accessors are named
for what they return), and names left from form designers' frames and forms
(frameBible_, FrameDevDisplayTest, the object name "FormPrayerEdit").
Text in string literals is left out: user-visible texts, SQL, table names and
settings keys keep their own spelling. Exits 1 when anything is found.

    tools/checks/check_names.py [folder...]   (default: src tools tests bench fuzz)
"""
import os
import re
import sys

BAD = [
    (re.compile(r'^[TE][A-Z][a-z]\w*$'), 'T/E class prefix'),
    (re.compile(r'KOVA(?!RA_)'), 'product tag'),
    (re.compile(r'^Rz[A-Z]'), 'designer component name'),
    (re.compile(r'^[A-Z]\w*[a-z]1(\w*(Click|Change|Idle))?$'), 'designer component name'),
]
# Names from outside that look alike: Qt's and the C library's.
ALLOWED = {'Key_F1', 'Utf8', 'Big5', 'IBM437', 'IBM850', 'IBM866', 'Psalm119', 'BM_Psalm119'}
# A function whose name begins with "get": Qt's static dialogs and colour
# and margin getters are Qt's names, not ours.
GETTER = re.compile(r'\b(get[A-Z]\w*)\s*\(')
QT_GETTERS = {'getOpenFileName', 'getOpenFileNames', 'getSaveFileName', 'getExistingDirectory', 'getColor',
              'getFont', 'getText', 'getMultiLineText', 'getItem', 'getInt', 'getDouble', 'getContentsMargins',
              'getRgb', 'getRgbF', 'getHsv', 'getHsvF', 'getHsl', 'getHslF', 'getCmyk', 'getCmykF'}
# libsword's own API, called only from the SWORD plug-in.
SWORD_GETTERS = {'getBook', 'getBookCount', 'getBookNumberByOSISName', 'getChapterMax', 'getConfigEntry',
                 'getDescription', 'getLanguage', 'getMgr', 'getSections', 'getName', 'getLongName', 'getModule', 'getModules', 'getOSISName',
                 'getPreferredAbbreviation', 'getSystemVersificationMgr', 'getType', 'getVerseMax',
                 'getVersificationSystem'}
# A frame or form of a form designer in a name: a member or variable
# (frameBible_), a class or test suite (FrameDevDisplayTest), or an object
# name in a text ("FormPrayerEdit"). QWidget's and QFrame's own frame
# properties are Qt's names.
FRAME = re.compile(r'^(?:frame|Frame|Form)[A-Z]\w*$')
QT_FRAMES = {'frameFormat', 'frameGeometry', 'frameSize', 'frameWidth', 'frameRect', 'frameStyle', 'frameShadow',
             'frameShape', 'framePosition'}
FRAME_OBJECT_NAME = re.compile(r'"((?:frame|Frame|Form)[A-Z]\w*)"')
# A data member or variable declared in a header under a PascalCase name
# ("QAction* CopyAction = nullptr;"): members are in lowerCamelCase.
MEMBER = re.compile(r'^[ \t]+(?!(?:static|enum|constexpr|typedef|using|return|class|struct|friend|Q_\w+)\b)'
                    r'[\w:<>,*&() \t]*[\w>*&][ \t*&]+([A-Z][a-z]+[A-Z]\w*)[ \t]*(?:=[^;\n]*)?;[ \t]*$', re.M)
# T-prefixed class names inside texts, such as the class and operation that
# begin a message ("TKOVABible.GetVerseIndex Error: ..."): messages name the
# classes and functions of this code.
FOREIGN_IN_TEXT = re.compile(r'\bT(?:K?OVA|Form|Frame)[A-Z]\w*')
DECLARED_TYPE = re.compile(r'\b(?:class|struct|enum(?:\s+class)?|using|namespace)\s+([A-Za-z_]\w*)')
IDENT = re.compile(r'\b[A-Za-z_]\w*\b')


def code_only(text):
    text = re.sub(r'R"([^(\s]*)\((?:.|\n)*?\)\1"', '""', text)
    text = re.sub(r'"(?:\\.|[^"\\\n])*"', '""', text)
    text = re.sub(r"'(?:\\.|[^'\\\n])+'", "''", text)
    text = re.sub(r'/\*(?:.|\n)*?\*/', ' ', text)
    return re.sub(r'//[^\n]*', '', text)


def problems(path):
    found = []
    name = os.path.basename(path)
    if not re.fullmatch(r'[a-z0-9_]+(\.[a-z0-9_]+)*', name) and name not in ('CMakeLists.txt', 'README.md'):
        found.append((name, 'file name not in snake_case'))
    for rule, why in BAD:
        if rule.search(os.path.splitext(name)[0]):
            found.append((name, why))
    if not path.endswith(('.h', '.cpp')):
        return found
    source = open(path, encoding='utf-8', errors='replace').read()
    for ident in sorted(set(FOREIGN_IN_TEXT.findall(source))):
        found.append((ident, 'T-prefixed class name in a text'))
    for ident in sorted(set(FRAME_OBJECT_NAME.findall(source))):
        found.append((ident, 'frame or form name in a text'))
    code = code_only(source)
    if path.split(os.sep)[0] == 'src' or os.sep + 'src' + os.sep in path:
        foreign = QT_GETTERS | (SWORD_GETTERS if os.sep + 'sword' + os.sep + 'plugin' + os.sep in path else set())
        for ident in sorted(set(GETTER.findall(code)) - foreign):
            found.append((ident, '"get" prefix'))
    for ident in sorted(set(IDENT.findall(code)) - QT_FRAMES):
        if FRAME.match(ident):
            found.append((ident, 'frame or form name'))
    names = set(IDENT.findall(code)) - ALLOWED
    for ident in sorted(names):
        for rule, why in BAD:
            # the T/E prefix matters on names of types, not on words like
            # "Tests" used for something else
            if why == 'T/E class prefix' and not re.search(r'\b(?:class|struct|enum|using)\s+(?:class\s+)?' + ident + r'\b', code) \
                    and not re.search(r'\b' + ident + r'\s*[&*]', code):
                continue
            if rule.search(ident):
                found.append((ident, why))
    if path.endswith('.h'):
        for member in sorted(set(MEMBER.findall(code))):
            found.append((member, 'member not in lowerCamelCase'))
    return found


def main():
    folders = sys.argv[1:] or ['src', 'tools', 'tests', 'bench', 'fuzz']
    bad = 0
    for folder in folders:
        for dirpath, dirnames, filenames in os.walk(folder):
            dirnames[:] = [d for d in dirnames if d not in ('corpus',)]
            for f in sorted(filenames):
                path = os.path.join(dirpath, f)
                for ident, why in problems(path):
                    print(f'{path}: {ident}: {why}')
                    bad += 1
    print(f'{bad} name(s) against the rules')
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
