#!/usr/bin/env python3
"""Fails when the product folders include each other's headers in a cycle.

Each folder of product code (the directory a file sits in) is a node; a
root-relative include of a header in another folder is an edge. Tests,
benchmarks and build trees are left out: they may reach any folder.
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
SKIP = {"tests", "bench", "build", "scripts", "cmake", "data", ".git"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_graph():
    graph = {}
    for dirpath, dirnames, filenames in os.walk(ROOT):
        rel = os.path.relpath(dirpath, ROOT)
        if rel.split(os.sep)[0] in SKIP or rel.startswith("build"):
            dirnames[:] = []
            continue
        for name in filenames:
            if not name.endswith((".h", ".cpp", ".rc")):
                continue
            with open(os.path.join(dirpath, name), encoding="utf-8", errors="replace") as f:
                text = f.read()
            for header in INCLUDE.findall(text):
                target = os.path.dirname(header)
                if not target or not os.path.isfile(os.path.join(ROOT, header)):
                    continue  # a header next to the file, or a system one
                if target != rel:
                    graph.setdefault(rel, {}).setdefault(target, f"{rel}/{name} -> {header}")
    return graph


def cycles(graph):
    """Strongly connected components with more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in graph.get(node, {}):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main():
    graph = folder_graph()
    bad = cycles(graph)
    for component in bad:
        print("include cycle between folders: " + ", ".join(component))
        for a in component:
            for b, example in sorted(graph.get(a, {}).items()):
                if b in component:
                    print(f"  {example}")
    if bad:
        return 1
    print(f"folder includes: no cycles ({len(graph)} folders)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
