#!/usr/bin/env python3
"""scripts/install-deps while another apt holds the locks, run against stand-ins for apt-get,
dpkg-query, id and sleep (sleep returns at once and records its argument): the package lists are
fetched again every 10 seconds for up to 10 minutes, and the install waits on the dpkg lock."""
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "scripts/install-deps").resolve()

STUBS = {
    # Every package is missing; the caller is root, so no sudo.
    "dpkg-query": "exit 1",
    "id": "echo 0",
    "sleep": 'echo "sleep $*" >> "$LOG"',
    # "update" fails (lists lock held) as long as the countdown file holds a number above 0.
    "apt-get": """echo "apt-get $* stdin=$([ -t 0 ] && echo tty || echo other)" >> "$LOG"
if [ "$1" = update ]; then
  left=$(cat "$FAILS")
  if [ "$left" -gt 0 ]; then echo $((left - 1)) > "$FAILS"; exit 100; fi
fi
exit 0""",
}


def run(failing_updates):
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        for name, body in STUBS.items():
            stub = folder / name
            stub.write_text("#!/bin/bash\n" + body + "\n")
            stub.chmod(0o755)
        (folder / "fails").write_text(str(failing_updates))
        env = dict(os.environ, PATH=f"{folder}:{os.environ['PATH']}", LOG=str(folder / "log"),
                   FAILS=str(folder / "fails"))
        done = subprocess.run(["bash", str(SCRIPT)], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=60)
        log = (folder / "log").read_text().splitlines() if (folder / "log").exists() else []
        return done.returncode, log


class InstallDepsWaitsForOtherApt(unittest.TestCase):
    def test_update_is_tried_again_every_ten_seconds_until_it_succeeds(self):
        code, log = run(failing_updates=3)
        self.assertEqual(code, 0)
        updates = [line for line in log if line.startswith("apt-get update")]
        self.assertEqual(len(updates), 4)
        self.assertEqual([line for line in log if line.startswith("sleep")], ["sleep 10"] * 3)
        installs = [line for line in log if line.startswith("apt-get install")]
        self.assertEqual(len(installs), 1)
        self.assertIn(" -o DPkg::Lock::Timeout=600 ", installs[0])
        self.assertIn(" -y ", installs[0])
        self.assertTrue(installs[0].endswith("stdin=other"))
        self.assertEqual(log[-1], installs[0])  # installed only after the lists were fetched

    def test_gives_up_after_ten_minutes(self):
        code, log = run(failing_updates=1000)
        self.assertNotEqual(code, 0)
        self.assertEqual(len([line for line in log if line.startswith("apt-get update")]), 60)
        self.assertEqual(sum(int(line.split()[1]) for line in log if line.startswith("sleep")), 590)
        self.assertFalse([line for line in log if line.startswith("apt-get install")])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
