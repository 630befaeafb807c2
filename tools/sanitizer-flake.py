#!/usr/bin/env python3
"""Exit 0 when every test CTest last recorded as failed failed only because
LeakSanitizer's own stop-the-world tracer crashed at the process's exit
("Tracer caught signal 11" ... "LeakSanitizer has encountered a fatal error")
after all its test functions had passed: the sanitizer failing, not the
program. Exit 1 when any failure is anything else (a leak report, a memory
error, undefined behaviour, a failed test function, a timeout).
  sanitizer-flake.py BUILD_DIR"""
import re
import sys
from pathlib import Path

temporary = Path(sys.argv[1]) / "Testing" / "Temporary"
failed_file = temporary / "LastTestsFailed.log"
if not failed_file.exists():
    sys.exit(1)
failed = [line.split(":", 1)[1].strip() for line in failed_file.read_text().splitlines() if ":" in line]
log = (temporary / "LastTest.log").read_text(errors="replace")
# One section per test: from its "N/M Testing: name" line to the next.
sections = {}
for match in re.finditer(r"^\d+/\d+ Testing: (\S+)\n(.*?)(?=^\d+/\d+ Testing: |\Z)", log, re.M | re.S):
    sections[match.group(1)] = match.group(2)
real_failure = ("FAIL!", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer: detected", "runtime error:", "Timeout")
for name in failed:
    text = sections.get(name, "")
    tracer_crash = "Tracer caught signal" in text and "LeakSanitizer has encountered a fatal error" in text
    totals = re.search(r"^Totals: \d+ passed, (\d+) failed", text, re.M)
    if not tracer_crash or (totals and totals.group(1) != "0") or any(mark in text for mark in real_failure):
        print(f"tuvrel: {name} failed under the sanitizers", file=sys.stderr)
        sys.exit(1)
    print(f"tuvrel: {name} passed, then LeakSanitizer's tracer crashed at its exit; running it again", file=sys.stderr)
sys.exit(0 if failed else 1)
