"""Load a project module that lives outside the test library (art/, cmake/) without putting its folder on the path."""
import runpy
import types


def load_module(name, path):
    return types.SimpleNamespace(**runpy.run_path(str(path), run_name=name))
