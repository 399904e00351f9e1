"""Load a project module that lives outside the test library (art/, cmake/) without putting its folder on the path."""
import importlib.util


def load_module(name, path):
    found = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module
