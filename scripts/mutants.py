#!/usr/bin/env python3
"""The mutants of scripts/mutate.sh: small changes to the product's sources
in camera/, control/ and ui/ (a comparison flipped, a condition negated, a
constant changed, a statement dropped), one at a time.

  mutants.py list                 one mutant a line: id, file, line number,
                                  what, then the line's new text, tab-separated
  mutants.py apply FILE LINE      replaces line LINE of FILE with the text in
                                  the environment variable MUTANT_TEXT

Comments, preprocessor lines, static assertions and the insides of string
and character literals are left alone.
"""
import os
import re
import subprocess
import sys


OPERATORS = [
    ('==', '!='), ('!=', '=='), ('<=', '<'), ('>=', '>'), ('&&', '||'), ('||', '&&'),
]
LONE = [  # one-character operators, not part of a longer one
    (r'(?<![<>=!\-])<(?![<=])', '<='), (r'(?<![<>=\-])>(?![>=])', '>='),
]


def masked(line):
    # Blanks out literals and a trailing comment, keeping the columns.
    out = re.sub(r'"(\\.|[^"\\])*"', lambda m: '"' + ' ' * (len(m.group()) - 2) + '"', line)
    out = re.sub(r"'(\\.|[^'\\])*'", lambda m: "'" + ' ' * (len(m.group()) - 2) + "'", out)
    at = out.find('//')
    return out if at < 0 else out[:at] + ' ' * (len(out) - at)


def skipped(code):
    s = code.strip()
    return (not s or s.startswith('#') or s.startswith('static_assert') or s.startswith('*')
            or s.startswith('ON_') or s.startswith('BEGIN_MESSAGE_MAP') or 'template <' in s)


def replace(line, start, end, text):
    return line[:start] + text + line[end:]


def line_mutants(line, code):
    for old, new in OPERATORS:
        for m in re.finditer(re.escape(old), code):
            yield 'flip %s to %s' % (old, new), replace(line, m.start(), m.end(), new)
    for pattern, new in LONE:
        for m in re.finditer(pattern, code):
            if re.search(r'#include|template|static_cast|std::', code):
                continue
            yield 'widen %s to %s' % (m.group(), new), replace(line, m.start(), m.end(), new)
    for m in re.finditer(r'!(?!=)', code):
        yield 'drop a negation', replace(line, m.start(), m.end(), '')
    for m in re.finditer(r'(?<=[\w)\]]) ([+-]) (?=[\w(])', code):
        other = '-' if m.group(1) == '+' else '+'
        yield 'flip %s to %s' % (m.group(1), other), replace(line, m.start(1), m.end(1), other)
    for m in re.finditer(r'(?<![\w.])(\d+)(?![\w.])', code):
        value = int(m.group(1))
        new = {0: '1', 1: '0'}.get(value, str(value + 1))
        yield 'constant %d to %s' % (value, new), replace(line, m.start(1), m.end(1), new)
    for m in re.finditer(r'\b(TRUE|FALSE)\b', code):
        new = 'FALSE' if m.group(1) == 'TRUE' else 'TRUE'
        yield '%s to %s' % (m.group(1), new), replace(line, m.start(1), m.end(1), new)
    s = code.strip()
    statement = re.match(r'^(?!return\b|if\b|else\b|for\b|while\b|case\b|do\b)'
                         r'([\w:]+(\.|->)?)+\s*(\(.*\)|=[^=].*|\+\+|--)\s*;$', s)
    if statement or s in ('break;', 'continue;') or re.match(r'^(\+\+|--)\w+;$', s):
        # An empty block, not an empty statement: it compiles as the body of
        # an if as well.
        indent = line[:len(line) - len(line.lstrip())]
        yield 'drop the statement', indent + '{}'


def product_files():
    return sorted(f for f in subprocess.run(['git', 'ls-files', 'camera', 'control', 'ui'],
                                             capture_output=True, text=True, check=True).stdout.split()
                   if f.endswith('.cpp'))


def list_mutants():
    count = 0
    for path in product_files():
        lines = open(path).read().split('\n')
        for number, line in enumerate(lines, 1):
            code = masked(line)
            if skipped(code):
                continue
            for what, new in line_mutants(line, code):
                count += 1
                print('%d\t%s\t%d\t%s\t%s' % (count, path, number, what, new))


def apply_mutant(path, number):
    lines = open(path).read().split('\n')
    lines[number - 1] = os.environ['MUTANT_TEXT']
    open(path, 'w').write('\n'.join(lines))


if __name__ == '__main__':
    if sys.argv[1:2] == ['list']:
        list_mutants()
    elif sys.argv[1:2] == ['apply'] and len(sys.argv) == 4:
        apply_mutant(sys.argv[2], int(sys.argv[3]))
    else:
        sys.exit(__doc__)
