#!/usr/bin/env python3
"""Counts the non-blank, non-comment lines of C, C++, Python, shell and CMake files that
git tracks, tests/ against everything else, and prints the tests' share of the code.

    python3 bench/test_share.py [--max PERCENT]

With --max it exits 1 when the share is above PERCENT."""
import os
import subprocess
import sys

C_LIKE = {'.c', '.cc', '.cpp', '.h', '.hpp'}
HASH_COMMENTS = {'.py', '.sh', '.cmake'}


def kind(path):
    ext = os.path.splitext(path)[1]
    if ext in C_LIKE:
        return 'c'
    if ext in HASH_COMMENTS or os.path.basename(path) == 'CMakeLists.txt' or path == '.ci/run':
        return 'hash'
    return None


def count(path, language):
    lines = 0
    in_block = False
    with open(path, errors='replace') as source:
        for line in source:
            text = line.strip()
            if not text:
                continue
            if language == 'c':
                if in_block:
                    in_block = '*/' not in text
                    continue
                if text.startswith('//'):
                    continue
                if text.startswith('/*'):
                    in_block = '*/' not in text
                    continue
            elif text.startswith('#') and not text.startswith('#!'):
                continue
            lines += 1
    return lines


def main():
    root = subprocess.run(['git', 'rev-parse', '--show-toplevel'], capture_output=True,
                          text=True, check=True).stdout.strip()
    files = subprocess.run(['git', 'ls-files'], cwd=root, capture_output=True, text=True,
                           check=True).stdout.split()
    totals = {}
    for path in files:
        language = kind(path)
        if not language or not os.path.isfile(os.path.join(root, path)):
            continue
        group = '/'.join(path.split('/')[:2]) if path.startswith('tests/') else 'code'
        totals[group] = totals.get(group, 0) + count(os.path.join(root, path), language)
    code = totals.pop('code', 0)
    tests = sum(totals.values())
    for group in sorted(totals):
        print(f'{group:14} {totals[group]:6}')
    share = 100.0 * tests / code if code else 0.0
    print(f'{"tests":14} {tests:6}\n{"code":14} {code:6}\nshare          {share:5.1f}%')
    if len(sys.argv) == 3 and sys.argv[1] == '--max' and share > float(sys.argv[2]):
        print(f'the tests are above {sys.argv[2]}% of the code', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
