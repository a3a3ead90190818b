"""What the packaging tests share: running tools, skipping, failing with a list."""
import os
import shutil
import subprocess
import sys

# ctest reads this exit status as "skipped" (SKIP_RETURN_CODE).
SKIP = 77


def require_tools(*tools):
    missing = [t for t in tools if shutil.which(t) is None]
    if missing:
        print(f"SKIPPED: {', '.join(missing)} not installed (scripts/install-deps.sh installs them)")
        sys.exit(SKIP)


def run(arguments, **kwargs):
    """Runs a command; returns the completed process (text mode, output captured)."""
    environment = dict(os.environ)
    environment.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    # The editor starts Qt even for --help; no display is needed for that.
    environment.setdefault("QT_QPA_PLATFORM", "offscreen")
    environment.update(kwargs.pop("env", {}))
    return subprocess.run(arguments, capture_output=True, text=True, env=environment, timeout=300, **kwargs)


def output_of(arguments, **kwargs):
    result = run(arguments, **kwargs)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, arguments))} failed ({result.returncode}):\n"
                             f"{result.stdout}{result.stderr}")
    return result.stdout


class Failures:
    """Collects every failed check so one run shows them all."""

    def __init__(self):
        self.messages = []

    def check(self, condition, message):
        if not condition:
            self.messages.append(message)
        return condition

    def finish(self):
        for message in self.messages:
            print(f"FAIL: {message}")
        if self.messages:
            sys.exit(1)
        print("all checks passed")
