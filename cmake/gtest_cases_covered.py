#!/usr/bin/env python3
"""Checks that the CTest entries of a GoogleTest program cover each of its cases once.

    gtest_cases_covered.py CASES_FILE COMMAND...

CASES_FILE holds one --gtest_filter pattern per entry; COMMAND runs the program,
to which --gtest_list_tests is added. Standard library only.
"""
import fnmatch
import subprocess
import sys
import tempfile


def listed_cases(command):
    # Through a file, not a pipe: a program run under Wine may start processes
    # that inherit its output and outlive it.
    with tempfile.TemporaryFile() as listing:
        subprocess.run(command + ["--gtest_list_tests"], check=True, stdout=listing, stdin=subprocess.DEVNULL,
                       timeout=300)
        listing.seek(0)
        output = listing.read().decode(errors="replace")
    suite, cases = None, []
    for line in output.splitlines():
        name = line.split("#")[0].strip()
        if not name:
            continue
        if not line.startswith(" "):
            suite = name
        elif suite is not None:
            cases.append(suite + name)
    return cases


def main():
    with open(sys.argv[1]) as file:
        filters = [line.strip() for line in file if line.strip()]
    cases = [case for case in listed_cases(sys.argv[2:]) if "DISABLED_" not in case]
    if not cases:
        print("FAIL: the program lists no cases")
        return 1
    failures = []
    for case in cases:
        matching = [f for f in filters if fnmatch.fnmatchcase(case, f)]
        if len(matching) != 1:
            failures.append(f"{case} is run by {len(matching)} entries: {matching}")
    for f in filters:
        if not any(fnmatch.fnmatchcase(case, f) for case in cases):
            failures.append(f"the entry for {f} runs no case")
    print(f"{len(cases)} cases, {len(filters)} entries")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
