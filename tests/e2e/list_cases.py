"""Prints the id of every end-to-end test case, one a line, for CTest to give each its own entry.

    python3 list_cases.py   (from this folder) Standard library only.
"""
import unittest


def ids(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from ids(item)
        else:
            yield item.id()


if __name__ == "__main__":
    loader = unittest.TestLoader()
    suite = loader.discover(".", pattern="test_*.py")
    if loader.errors:
        raise SystemExit("\n".join(map(str, loader.errors)))
    print("\n".join(sorted(ids(suite))))
