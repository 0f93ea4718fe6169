#!/usr/bin/env python3
"""Prints the include graph of src/ between folders (platform/win32 a node of its own) and
fails when folders include each other, directly or around a circle.

    python3 scripts/layers.py"""
import os
import re
import sys

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def node(path):
    folder = os.path.dirname(path)
    return folder if folder else None


def main():
    edges = {}
    for root, _, files in os.walk(SRC):
        for name in files:
            here = node(os.path.relpath(os.path.join(root, name), SRC))
            with open(os.path.join(root, name), errors='replace') as source:
                for target in INCLUDE.findall(source.read()):
                    there = node(target)
                    if there and there != here:
                        edges.setdefault(here, set()).add(there)
    for here in sorted(edges):
        print(f'{here:16} -> {", ".join(sorted(edges[here]))}')

    # A folder is on a circle when it can reach itself.
    def reach(start):
        seen, stack = set(), list(edges.get(start, ()))
        while stack:
            current = stack.pop()
            if current not in seen:
                seen.add(current)
                stack.extend(edges.get(current, ()))
        return seen

    circles = sorted(n for n in edges if n in reach(n))
    print(f'folders on a circle: {", ".join(circles) if circles else "none"}')
    return 1 if circles else 0


if __name__ == '__main__':
    sys.exit(main())
