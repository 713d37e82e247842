#!/usr/bin/env python3
"""The folders of src/ and the #include arrows between them.

  scripts/include_graph.py               prints the graph in DOT
  scripts/include_graph.py --check       exits 1 on an include that goes up the
                                         layer order below, on a folder's private
                                         header included from elsewhere, or on Qt
                                         in a core folder
  scripts/include_graph.py --self-test   exits 1 unless --check rejects a few
                                         known bad includes

Render with: scripts/include_graph.py | dot -Tpng -o docs/include-graph.png
"""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
# The layer of each folder: a file may include only folders of lower layers
# (and its own). Folders of one layer know nothing of each other.
LAYERS = {
    "numeric": 0,
    "physics": 1,
    "model": 2,
    "calc": 3, "graph": 3, "import": 3,
    "fit": 4,
    "design": 5, "qtcanvas": 5,
    "ui": 6,
    "app": 7, "cli": 7,
}
CORE = {"numeric", "physics", "model", "calc", "graph", "import", "fit", "design"}
# Headers only their own folder may include: the settings file's readers and
# writers, so that every change of a project file goes through the document.
PRIVATE = {"model/settings_file.h", "model/settings_save.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def scan():
    """Every include of src/ as (folder, file, kind, target)."""
    includes = []
    for folder in sorted(os.listdir(ROOT)):
        path = os.path.join(ROOT, folder)
        if not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(path, name), encoding="utf-8") as f:
                text = f.read()
            for kind, target in INCLUDE.findall(text):
                includes.append((folder, name, kind, target))
    return includes


def folders_of(includes):
    return sorted({i[0] for i in includes})


def edges_of(includes):
    folders = set(folders_of(includes)) | set(LAYERS)
    edges = {}
    for folder, name, kind, target in includes:
        top = target.split("/")[0]
        if kind == '"' and top in folders and top != folder:
            edges.setdefault((folder, top), set()).add(f"{folder}/{name} -> {target}")
    return edges


def qt_users(includes):
    qt = {}
    for folder, name, kind, target in includes:
        if kind == "<" and re.match(r"Q[A-Za-z]*($|/)", target):
            qt.setdefault(folder, set()).add(f"{folder}/{name}")
    return qt


def check(includes, out=sys.stderr):
    errors = []
    for folder in folders_of(includes):
        if folder not in LAYERS:
            errors.append(f"folder {folder} has no layer in scripts/include_graph.py")
    for (s, t), why in sorted(edges_of(includes).items()):
        if s in LAYERS and t in LAYERS and LAYERS[t] >= LAYERS[s]:
            errors.append(f"{s} may not include {t}: " + "; ".join(sorted(why)))
    for folder, name, kind, target in includes:
        if kind == '"' and target in PRIVATE and target.split("/")[0] != folder:
            errors.append(f"{folder}/{name} may not include {target}: only its folder may")
    qt = qt_users(includes)
    for folder in sorted(CORE & set(qt)):
        errors.append(f"Qt in core folder {folder}: " + ", ".join(sorted(qt[folder])))
    for e in errors:
        print(e, file=out)
    return 1 if errors else 0


# Includes that must be refused, each added alone to the real tree.
BAD = [
    ("numeric", "regression.h", '"', "graph/axes.h"),
    ("physics", "creep_flow.h", '"', "import/units.h"),
    ("calc", "grid.cpp", '"', "fit/fit_types.h"),
    ("ui", "axis_dialog.cpp", '"', "model/settings_file.h"),
    ("cli", "cmd_set.cpp", '"', "model/settings_save.h"),
    ("model", "project.h", "<", "QString"),
]


def self_test():
    includes = scan()
    if check(includes):
        print("self-test: the tree itself does not pass", file=sys.stderr)
        return 1
    failed = [b for b in BAD if not check(includes + [b], out=open(os.devnull, "w"))]
    for b in failed:
        print(f"self-test: not refused: {b[0]}/{b[1]} -> {b[3]}", file=sys.stderr)
    return 1 if failed else 0


def dot(includes):
    folders, edges, qt = folders_of(includes), edges_of(includes), qt_users(includes)
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
    args = sys.argv[1:]
    if "--self-test" in args:
        sys.exit(self_test())
    sys.exit(check(scan()) if "--check" in args else dot(scan()))
