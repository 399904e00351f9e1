"""Prints the unittest ids CTest gives an entry each, one a line: every case, or with --per-class-with-setup
one id per class that sets up something for all its cases (setUpClass: its own X server, say), so that
the class starts it once.

    python3 list_tests.py [--per-class-with-setup]   (from the tests' folder) Standard library only.
"""
import sys
import unittest


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


def entry(case, per_class_with_setup):
    own_setup = type(case).setUpClass.__func__ is not unittest.TestCase.setUpClass.__func__
    return case.id().rsplit(".", 1)[0] if per_class_with_setup and own_setup else case.id()


if __name__ == "__main__":
    loader = unittest.TestLoader()
    suite = loader.discover(".", pattern="test_*.py")
    if loader.errors:
        raise SystemExit("\n".join(map(str, loader.errors)))
    per_class = "--per-class-with-setup" in sys.argv[1:]
    print("\n".join(sorted({entry(case, per_class) for case in cases(suite)})))
