#!/usr/bin/env python3
"""Include loops between the modules of one folder.

A module is a .h/.cpp pair (the file name without its extension); module A depends on
module B when A's header or source includes B's header. Prints every group of modules that
reach each other (a loop) and exits 1 when there is one.

    scripts/include_loops.py shell shell/gui   # each folder's own files, not its subfolders
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def module_graph(top, folder):
    graph = {}
    for path in sorted((top / folder).glob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        edges = graph.setdefault(path.stem, set())
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = pathlib.PurePosixPath(target)
            if str(target.parent) == folder and target.stem != path.stem:
                edges.add(target.stem)
    return graph


def loops(graph):
    """The strongly connected components of more than one module (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main():
    top = pathlib.Path(__file__).resolve().parent.parent
    looped = False
    for folder in [f.rstrip("/") for f in sys.argv[1:]] or ["shell"]:
        found = loops(module_graph(top, folder))
        for group in found:
            print(f"{folder}/: loop of {len(group)} modules: {' '.join(group)}")
        if not found:
            print(f"{folder}/: no include loop")
        looped = looped or bool(found)
    return 1 if looped else 0


if __name__ == "__main__":
    sys.exit(main())
