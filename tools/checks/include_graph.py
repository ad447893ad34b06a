#!/usr/bin/env python3
"""Prints which folders of src/ include which (core/base, core/plans, ui/base,
ui/plans, ...), with the number of includes on each edge, and fails when the
folders include each other in a cycle. A folder may include itself; an edge
that closes a loop between folders is what makes a layer impossible to build
or change alone, so such loops are listed and the exit status is 1.

    tools/checks/include_graph.py [src folder]   (default: src)
"""
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s+"((?:core|ui)/[^"]+)"', re.M)


def folder_of(path):
    parts = path.split('/')
    return '/'.join(parts[:2]) if len(parts) > 2 else parts[0]


def graph(src):
    edges = defaultdict(int)
    folders = set()
    for root, _, files in os.walk(src):
        for name in files:
            if not name.endswith(('.h', '.cpp')):
                continue
            full = os.path.join(root, name)
            rel = os.path.relpath(full, src).replace(os.sep, '/')
            here = folder_of(rel)
            folders.add(here)
            with open(full, encoding='utf-8', errors='replace') as f:
                for target in INCLUDE.findall(f.read()):
                    there = folder_of(target)
                    if there != here:
                        edges[(here, there)] += 1
    return folders, edges


def cycles(folders, edges):
    """Strongly connected components of more than one folder (Tarjan)."""
    succ = defaultdict(list)
    for a, b in edges:
        succ[a].append(b)
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in succ[v]:
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for v in sorted(folders | {b for _, b in edges}):
        if v not in index:
            visit(v)
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'src')
    folders, edges = graph(src)
    for here in sorted(folders):
        targets = sorted((b, n) for (a, b), n in edges.items() if a == here)
        print(f'{here} -> ' + (', '.join(f'{b} ({n})' for b, n in targets) if targets else '(nothing)'))
    loops = cycles(folders, edges)
    for loop in loops:
        print('cycle: ' + ' <-> '.join(loop))
        for a in loop:
            for b in loop:
                if (a, b) in edges:
                    print(f'  {a} -> {b} ({edges[(a, b)]})')
    print(f'{len(folders)} folders, {len(edges)} edges, {len(loops)} cycle(s)')
    return 1 if loops else 0


if __name__ == '__main__':
    sys.exit(main())
