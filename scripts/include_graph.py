#!/usr/bin/env python3
"""The folders of src/ and the #include arrows between them.

  scripts/include_graph.py            prints the graph in DOT
  scripts/include_graph.py --check    exits 1 on a cycle between folders, on
                                      Qt in a core folder, or on a core folder
                                      that includes a window or program folder

Render with: scripts/include_graph.py | dot -Tpng -o docs/include-graph.png
"""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
CORE = {"model", "numeric", "physics", "import", "calc", "fit", "graph", "design"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def scan():
    folders = sorted(d for d in os.listdir(ROOT) if os.path.isdir(os.path.join(ROOT, d)))
    edges, qt = {}, {}
    for folder in folders:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(ROOT, folder, name), encoding="utf-8") as f:
                text = f.read()
            for kind, target in INCLUDE.findall(text):
                top = target.split("/")[0]
                if kind == '"' and top in folders and top != folder:
                    key = (folder, top)
                    edges.setdefault(key, set()).add(f"{folder}/{name} -> {target}")
                elif kind == "<" and re.match(r"Q[A-Za-z]*($|/)", target):
                    qt.setdefault(folder, set()).add(f"{folder}/{name}")
    return folders, edges, qt


def cycles(folders, edges):
    graph = {f: sorted(t for (s, t) in edges if s == f) for f in folders}
    found, state = [], {}

    def visit(node, path):
        state[node] = 1
        for nxt in graph[node]:
            if state.get(nxt) == 1:
                found.append(path[path.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[node] = 2

    for f in folders:
        if f not in state:
            visit(f, [f])
    return found


def check(folders, edges, qt):
    errors = []
    for c in cycles(folders, edges):
        errors.append("cycle: " + " -> ".join(c))
    for folder in sorted(CORE & set(qt)):
        errors.append(f"Qt in core folder {folder}: " + ", ".join(sorted(qt[folder])))
    for (s, t), why in sorted(edges.items()):
        if s in CORE and t not in CORE:
            errors.append(f"core folder {s} includes {t}: " + "; ".join(sorted(why)))
    for e in errors:
        print(e, file=sys.stderr)
    return 1 if errors else 0


def dot(folders, edges, qt):
    print("digraph includes {")
    print('  rankdir=BT; node [shape=box, style="rounded,filled", fontname="Helvetica"];')
    for f in folders:
        colour = "#dbe8f6" if f in CORE else "#f6e3c8"
        label = f + ("\\n(Qt)" if f in qt else "")
        print(f'  "{f}" [label="{label}", fillcolor="{colour}"];')
    for (s, t), why in sorted(edges.items()):
        print(f'  "{s}" -> "{t}" [label="{len(why)}", fontsize=9];')
    print("}")
    return 0


if __name__ == "__main__":
    graph = scan()
    sys.exit(check(*graph) if "--check" in sys.argv[1:] else dot(*graph))
