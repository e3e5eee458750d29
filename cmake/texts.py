#!/usr/bin/env python3
"""Makes a module's Texts.h from its catalog of fixed texts (texts.txt).

The catalog holds the texts a user reads, in UTF-8, one a line:
    # a comment for developers (kept in the header)
    kName = text
    kName = " text with blanks at either end "
    kList[0] = first item of an array
    Name(first, second) = text with {first} and {second} in it
A text is written as the inside of a C++ string literal (\\n, \\", \\\\);
@PROJECT_VERSION@ stands for the project's version. The header holds each
text as Shift_JIS, converted once through the program's own codec; a text
with {parameters} becomes a function of those parameters (Shift_JIS too).

usage: texts.py CATALOG NAMESPACE OUTPUT VERSION
"""
import re
import sys

catalog, namespace, output, version = sys.argv[1:5]
entry = re.compile(r'^(\w+)(?:\[(\d+)\]|\(([\w, ]*)\))?\s=\s(.*)$')
lines = ['#pragma once', '', '// Generated from %s by cmake/texts.py: edit the catalog, not this file.' % catalog,
         '', '#include "jconvert/cp932.h"', '', '#include <string>', '#include <string_view>', '',
         'namespace %s {' % namespace, '']
arrays = {}
order = []


def Literal(text):
    return 'jconvert::Utf8ToCp932("%s")' % text.replace('@PROJECT_VERSION@', version)


for number, raw in enumerate(open(catalog, encoding='utf-8').read().split('\n'), 1):
    line = raw.rstrip('\n')
    if line.startswith('#'):
        lines.append('//' + line[1:])
        continue
    if not line.strip():
        lines.append('')
        continue
    m = entry.match(line)
    if not m:
        sys.exit('%s:%d: not "name = text": %s' % (catalog, number, line))
    name, index, params, text = m.groups()
    if len(text) >= 2 and text.startswith('"') and text.endswith('"'):
        text = text[1:-1]
    if index is not None:
        if name not in arrays:
            arrays[name] = []
            lines.append('@array ' + name)
        arrays[name].append(Literal(text))
    elif params is not None:
        names = [p.strip() for p in params.split(',') if p.strip()]
        parts = re.split(r'\{(\w+)\}', text)
        pieces = []
        for i, part in enumerate(parts):
            if i % 2:
                if part not in names:
                    sys.exit('%s:%d: {%s} is no parameter of %s' % (catalog, number, part, name))
                pieces.append('std::string(%s)' % part)
            elif part:
                pieces.append(Literal(part))
        body = ' + '.join(pieces) if pieces else 'std::string()'
        args = ', '.join('std::string_view %s' % n for n in names)
        lines.append('inline std::string %s(%s)' % (name, args))
        lines.append('{')
        lines.append('    return %s;' % body)
        lines.append('}')
    else:
        lines.append('inline const std::string %s = %s;' % (name, Literal(text)))
result = []
for line in lines:
    if line.startswith('@array '):
        name = line[7:]
        result.append('inline const std::string %s[%d] = { %s };' % (name, len(arrays[name]), ', '.join(arrays[name])))
    else:
        result.append(line)
while result and result[-1] == '':
    result.pop()
result += ['', '} // namespace %s' % namespace, '']
text = '\n'.join(result)
try:
    if open(output, encoding='utf-8').read() == text:
        sys.exit(0)
except OSError:
    pass
open(output, 'w', encoding='utf-8').write(text)
