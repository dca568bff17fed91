"""The report's layers build on the ones below and never reach up: the data
model, the analysis, the rendering, the sections, the command line."""
import ast
import os
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE = os.path.join(ROOT, "bench", "reporting")
LAYERS = ["model", "analysis", "render", "sections", "commands"]


def imported_layers(path, layer):
    """The layers a module imports from, by relative or absolute import."""
    found = set()
    for node in ast.walk(ast.parse(open(path).read(), path)):
        if isinstance(node, ast.ImportFrom):
            parts = (node.module or "").split(".")
            if node.level == 1:
                parts = [layer] + parts
            elif node.level == 0 and parts[0] == "reporting":
                parts = parts[1:]
            found.update(p for p in parts[:1] if p in LAYERS)
            if node.level >= 1 and not node.module:
                found.update(a.name for a in node.names if a.name in LAYERS)
    return found


class LayersTest(unittest.TestCase):
    def test_every_module_imports_only_its_own_layer_and_those_below(self):
        modules = 0
        for rank, layer in enumerate(LAYERS):
            folder = os.path.join(PACKAGE, layer)
            for name in sorted(os.listdir(folder)):
                if not name.endswith(".py"):
                    continue
                modules += 1
                for used in imported_layers(os.path.join(folder, name), layer):
                    self.assertLessEqual(LAYERS.index(used), rank,
                                         "%s/%s reaches up into %s" % (layer, name, used))
        self.assertGreater(modules, 20)


if __name__ == "__main__":
    unittest.main()
