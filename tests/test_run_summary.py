#!/usr/bin/env python3
"""How a test run went, from ctest's JUnit report: each suite's passed, failed and
skipped tests, the failed ones by name, and the time, ending with the totals on a line
of their own.

    test_run_summary.py RESULTS.xml SECONDS

The Windows suite's tests are those whose names begin with "Windows."; the others are
Linux's. A test that ctest did not run for any reason but its own choice to skip (its
program missing, a fixture that failed) counts as failed, as ctest counts it."""

import sys
import xml.etree.ElementTree as ElementTree

WINDOWS_PREFIX = "Windows."


def outcome(case):
    status = case.get("status")
    if status == "run":
        return "passed"
    if status == "disabled":
        return "skipped"
    if status == "notrun":
        skipped = case.find("skipped")
        reason = skipped.get("message", "") if skipped is not None else ""
        return "skipped" if reason.startswith("SKIP_") else "failed"
    return "failed"


def main():
    results, seconds = sys.argv[1], int(sys.argv[2])
    suites = {}
    for case in ElementTree.parse(results).getroot().iter("testcase"):
        name = case.get("name")
        suite = "Windows" if name.startswith(WINDOWS_PREFIX) else "Linux"
        counts = suites.setdefault(suite, {"passed": 0, "failed": 0, "skipped": 0, "failures": []})
        result = outcome(case)
        counts[result] += 1
        if result == "failed":
            counts["failures"].append(name)

    print("\nHow the tests went:")
    for suite in ("Linux", "Windows"):
        if suite not in suites:
            continue
        counts = suites[suite]
        print(f"  {suite:8} {counts['passed']:4} passed, {counts['failed']} failed, "
              f"{counts['skipped']} skipped")
        for name in counts["failures"]:
            print(f"           failed: {name}")
    took = f"{seconds // 60} min {seconds % 60:02} s" if seconds >= 60 else f"{seconds} s"
    print(f"  The tests took {took}.")
    total = {key: sum(counts[key] for counts in suites.values()) for key in ("passed", "failed", "skipped")}
    print(f"Total: {total['passed']} passed, {total['failed']} failed, {total['skipped']} skipped")


if __name__ == "__main__":
    main()
