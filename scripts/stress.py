#!/usr/bin/env python3
"""Runs the timing-sensitive tests of a CTest build many times, side by side,
with a load beside them, and counts the failures of each.

A test that watches a thread, a timer or the clock carries the CTest label
"timing". Each is run --runs times, --jobs at once (more than the machine's
cores, so that runs are preempted at any point), while the allocation-failure
sweep runs over and over beside them and busy loops keep every core wanted.
The output of every failed run is kept under <build>/stress/. Exits 1 on any
failure.
"""
import argparse
import json
import os
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor, as_completed

LOAD_TEST = "dorne_sweep_allocFailure"


def ctest_tests(build, args):
    """The tests that ctest selects with args, with command and properties."""
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1", *args],
                         check=True, capture_output=True, text=True).stdout
    tests = []
    for t in json.loads(out)["tests"]:
        if "command" not in t:  # a test whose executable is not built
            sys.exit(f"stress: {t['name']} has no command: build the tests first")
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(os.environ)
        for entry in props.get("ENVIRONMENT", []):
            key, _, value = entry.partition("=")
            env[key] = value
        tests.append({"name": t["name"], "command": t["command"], "env": env,
                      "cwd": props.get("WORKING_DIRECTORY", build),
                      "timeout": float(props.get("TIMEOUT", 600))})
    return tests


def run_once(test, log_dir, index):
    """Runs the test once; returns (passed, seconds). A failed run's output is kept."""
    started = time.monotonic()
    try:
        proc = subprocess.run(test["command"], cwd=test["cwd"], env=test["env"],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=test["timeout"])
        passed, output = proc.returncode == 0, proc.stdout
        verdict = f"exit code {proc.returncode}"
    except subprocess.TimeoutExpired as e:
        passed, output = False, e.stdout or b""
        verdict = f"timed out after {test['timeout']:.0f} s"
    seconds = time.monotonic() - started
    if not passed:
        path = os.path.join(log_dir, f"{test['name']}.{index}.log")
        with open(path, "wb") as f:
            f.write(output)
            f.write(f"\n--- {verdict} ---\n".encode())
    return passed, seconds


def busy_loops(count):
    """count processes that spin until killed: a race that needs a starved
    thread shows only when the cores are wanted by more than the tests."""
    # They end with this script however it ends (PR_SET_PDEATHSIG, SIGKILL).
    spin = ("import ctypes; ctypes.CDLL(None).prctl(1, 9); import os\n"
            "if os.getppid() == 1: raise SystemExit\n"
            "while True: pass")
    return [subprocess.Popen([sys.executable, "-c", spin]) for _ in range(count)]


class Load:
    """Runs the load test over and over on a thread of its own until stopped."""

    def __init__(self, test):
        self.test, self.rounds, self.failures = test, 0, 0
        self.stopping = threading.Event()
        self.proc = None
        self.thread = threading.Thread(target=self.loop, daemon=True)

    def loop(self):
        while not self.stopping.is_set():
            self.proc = subprocess.Popen(self.test["command"], cwd=self.test["cwd"],
                                         env=self.test["env"], stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
            code = self.proc.wait()
            if self.stopping.is_set():
                break
            self.rounds += 1
            self.failures += code != 0

    def stop(self):
        self.stopping.set()
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
        self.thread.join()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="the CTest build folder")
    parser.add_argument("--runs", type=int, default=200, help="runs of each test (200)")
    parser.add_argument("--jobs", type=int, default=2 * os.cpu_count(),
                        help="runs at once (twice the cores)")
    parser.add_argument("--label", default="timing", help="CTest label of the tests (timing)")
    parser.add_argument("-R", "--regex", help="only the tests whose names match")
    parser.add_argument("--busy", type=int, default=os.cpu_count() // 2,
                        help="busy loops beside the tests (half the cores)")
    parser.add_argument("--no-load", action="store_true", help="run nothing beside the tests")
    opts = parser.parse_args()

    select = ["-L", opts.label] + (["-R", opts.regex] if opts.regex else [])
    tests = ctest_tests(opts.build, select)
    if not tests:
        sys.exit(f"stress: no test with label {opts.label!r} in {opts.build}")
    load = None
    if not opts.no_load:
        found = ctest_tests(opts.build, ["-R", f"^{LOAD_TEST}$"])
        if not found:
            sys.exit(f"stress: the load {LOAD_TEST} is not in {opts.build}")
        load = Load(found[0])

    log_dir = os.path.join(opts.build, "stress")
    os.makedirs(log_dir, exist_ok=True)
    for name in os.listdir(log_dir):
        os.remove(os.path.join(log_dir, name))

    # Round-robin order: every test is in flight beside every other one all
    # through the run, not one test after another.
    jobs = [(t, i) for i in range(opts.runs) for t in tests]
    results = {t["name"]: {"runs": 0, "failures": 0, "seconds": []} for t in tests}
    print(f"stress: {len(tests)} tests x {opts.runs} runs, {opts.jobs} at once on "
          f"{os.cpu_count()} cores, load: "
          f"{f'{LOAD_TEST} and {opts.busy} busy loops' if load else 'none'}", flush=True)
    started = time.monotonic()
    spinners = []
    if load:
        load.thread.start()
        spinners = busy_loops(opts.busy)
    done = 0
    try:
        with ThreadPoolExecutor(max_workers=opts.jobs) as pool:
            futures = {pool.submit(run_once, t, log_dir, i): t["name"] for t, i in jobs}
            for future in as_completed(futures):
                passed, seconds = future.result()
                r = results[futures[future]]
                r["runs"] += 1
                r["failures"] += not passed
                r["seconds"].append(seconds)
                done += 1
                if not passed:
                    print(f"  FAILED {futures[future]} (log in {log_dir})", flush=True)
                if done % max(1, len(jobs) // 20) == 0:
                    print(f"  {done}/{len(jobs)} runs, {time.monotonic() - started:.0f} s",
                          flush=True)
    finally:
        for spinner in spinners:
            spinner.kill()
            spinner.wait()
        if load:
            load.stop()

    width = max(len(n) for n in results)
    print(f"\n{'test':<{width}}  {'runs':>5}  {'failures':>8}  {'mean s':>7}  {'max s':>7}")
    for name in sorted(results):
        r = results[name]
        print(f"{name:<{width}}  {r['runs']:>5}  {r['failures']:>8}  "
              f"{sum(r['seconds']) / len(r['seconds']):>7.2f}  {max(r['seconds']):>7.2f}")
    if load:
        print(f"load: {LOAD_TEST} ran {load.rounds} times beside them "
              f"({load.failures} failed)")
    failed = sum(r["failures"] for r in results.values())
    print(f"{time.monotonic() - started:.0f} s in all")
    print(f"stress: {len(jobs) - failed} passed, {failed} failed")
    return 1 if failed or (load and load.failures) else 0


if __name__ == "__main__":
    sys.exit(main())
