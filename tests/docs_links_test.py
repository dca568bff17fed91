"""Every relative link of the documentation leads to a file that is there,
and every anchor into a Markdown file to one of its headings."""
import os
import re
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LINK = re.compile(r"\]\(([^)\s]+)\)")
SKIPPED = {".git", "build", "out"}


def markdown_files():
    for folder, subfolders, names in os.walk(ROOT):
        subfolders[:] = [s for s in subfolders if s not in SKIPPED]
        for name in names:
            if name.endswith(".md"):
                yield os.path.join(folder, name)


def anchors(path):
    """The anchors of a Markdown file's headings, as GitHub makes them."""
    with open(path, encoding="utf-8") as source:
        headings = [line.lstrip("#").strip() for line in source if line.startswith("#")]
    return {re.sub(r"[^\w\- ]", "", h.lower()).replace(" ", "-") for h in headings}


def broken_links(path):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    # Code is not prose: a lambda's "[](int)" is no link.
    text = re.sub(r"```.*?```", "", text, flags=re.S)
    text = re.sub(r"`[^`]*`", "", text)
    broken = []
    for target in LINK.findall(text):
        if re.match(r"[a-z]+:", target):
            continue
        file_part, _, anchor = target.partition("#")
        linked = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) \
            if file_part else path
        if not os.path.exists(linked):
            broken.append(target)
        elif anchor and linked.endswith(".md") and anchor not in anchors(linked):
            broken.append(target)
    return broken


class DocumentationLinks(unittest.TestCase):
    def test_every_relative_link_leads_somewhere(self):
        checked = 0
        for path in markdown_files():
            with self.subTest(file=os.path.relpath(path, ROOT)):
                self.assertEqual(broken_links(path), [])
            checked += 1
        self.assertGreaterEqual(checked, 6)

    def test_a_broken_link_and_a_missing_anchor_are_found(self):
        folder = os.path.join(ROOT, "build", "links-test")
        os.makedirs(folder, exist_ok=True)
        page = os.path.join(folder, "page.md")
        with open(page, "w", encoding="utf-8") as out:
            out.write("# A heading, with words\n[ok](page.md#a-heading-with-words) "
                      "[gone](nothing.md) [no anchor](page.md#elsewhere) "
                      "[web](https://example.org/x) `[](int)`\n```\n[](code.md)\n```\n")
        self.assertEqual(broken_links(page), ["nothing.md", "page.md#elsewhere"])


if __name__ == "__main__":
    unittest.main()
