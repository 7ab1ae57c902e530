#!/usr/bin/env bash
# Holds the tree to the drawing of the layers in docs/code.md, highest first:
# fails when src/ has a folder the drawing lacks or the other way round, and
# names every include of a header from a layer above the includer's. The build
# refuses those too (a layer exports only its own headers); this says which
# layer and why.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'EOF'
import pathlib, re, sys

drawing = []  # (layer, [folders]), highest first
block = pathlib.Path("docs/code.md").read_text().split("## Layers", 1)[1].split("```")[1]
for line in block.splitlines():
    match = re.match(r"src/([a-z]+)/", line)
    if match:
        drawing.append((match[1], []))
        line = line[match.end():]
    if drawing:
        drawing[-1][1].extend(re.findall(r"\b([a-z]+)/", line))

rank, layer_of = {}, {}
for position, (layer, folders) in enumerate(reversed(drawing)):
    rank[layer] = position
    for folder in folders:
        layer_of[folder] = layer

status = 0
drawn = {(layer, folder) for folder, layer in layer_of.items()}
present = {(path.parent.name, path.name) for path in pathlib.Path("src").glob("*/*") if path.is_dir()}
for layer, folder in sorted(present - drawn):
    print(f"src/{layer}/{folder}/ is not in the drawing of docs/code.md")
    status = 1
for layer, folder in sorted(drawn - present):
    print(f"docs/code.md draws src/{layer}/{folder}/, which does not exist")
    status = 1

include = re.compile(r'#include "([a-z]+)/')
for source in sorted(pathlib.Path("src").glob("*/*/*.[ch]*")):
    own = source.parts[1]
    for number, line in enumerate(source.read_text().splitlines(), 1):
        match = include.match(line)
        if match and match[1] in layer_of and rank[layer_of[match[1]]] > rank[own]:
            print(f"{source}:{number}: {own} includes from {layer_of[match[1]]}, a layer above it")
            status = 1
sys.exit(status)
EOF
