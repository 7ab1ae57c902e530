"""Every relative link of the README and the manual's pages leads somewhere:
to a file of the source tree and, after a '#', to a heading of that page, as
a forge's file view makes its anchors.
Usage: links-test.py SOURCE_DIR"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1]).resolve()
pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
link = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")


def prose(text):
    """The text outside fenced blocks and code spans."""
    text = re.sub(r"^```.*?^```", "", text, flags=re.M | re.S)
    return re.sub(r"`[^`\n]*`", "", text)


def anchors(page):
    found = set()
    for heading in re.findall(r"^#+\s+(.*)$", prose(page.read_text(encoding="utf-8")), flags=re.M):
        slug = re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")
        found.add(slug)
    return found


broken = []
for page in pages:
    for target in link.findall(prose(page.read_text(encoding="utf-8"))):
        if re.match(r"[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        destination = (page.parent / path).resolve() if path else page
        where = f"{page.relative_to(root)}: {target}"
        if not destination.is_relative_to(root) or not destination.exists():
            broken.append(where + " (no such file)")
        elif anchor and anchor not in anchors(destination):
            broken.append(where + " (no such heading)")
for line in broken:
    print("FAIL:", line)
print(f"{len(pages)} pages, {len(broken)} broken links")
sys.exit(1 if broken else 0)
