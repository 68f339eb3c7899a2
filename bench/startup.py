#!/usr/bin/env python3
"""Start-up time and peak memory of Wavesift against a minimal Qt window.

    python3 bench/startup.py <dir with startup_wavesift and startup_minimal> [runs]

Both programs are built the same way (Release, same compiler and Qt) with
bench/startup_probe.cpp linked in. The probe prints the monotonic clock the
moment the first window has been painted and ends the process at once.

- Start-up time: from just before this script starts the process (same
  monotonic clock) to that first paint. It includes loading the shared
  libraries, the platform plugin and the fonts: all a user waits for.
- Peak memory: the largest resident set of the process over its life
  (ru_maxrss from wait4), which ends right after the first paint.

"of it: app" is the part until the application object exists (loading the
libraries, the platform plugin); the rest is building and painting the
window.

The runs of the programs alternate so that a busy machine slows both
alike; the medians are compared.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(cmd, tries=2):
    with tempfile.TemporaryFile() as out_file, tempfile.TemporaryFile() as err_file:
        start = time.monotonic_ns()
        proc = subprocess.Popen(cmd, stdout=out_file, stderr=err_file)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)  # reaped here
        out_file.seek(0)
        err_file.seek(0)
        out, err = out_file.read().decode(), err_file.read()
    if proc.returncode != 0 or "first-paint-ns" not in out:
        # A shared X server can go away under us; one retry, then give up.
        if tries > 1:
            return run_once(cmd, tries - 1)
        sys.exit("%s did not paint its window (exit %d):\n%s"
                 % (" ".join(cmd), proc.returncode, err.decode(errors="replace")))
    painted = int(out.split("first-paint-ns")[1].split()[0])
    app = int(out.split("app-ns")[1].split()[0])
    # ms to first paint, of it ms until the application object exists, MiB
    return (painted - start) / 1e6, (app - start) / 1e6, usage.ru_maxrss / 1024.0


def main():
    folder = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    minimal = os.path.join(folder, "startup_minimal")
    programs = {"minimal window": [minimal],
                "  with a label": [minimal, "label"],
                "Wavesift": [os.path.join(folder, "startup_wavesift")]}
    results = {name: [] for name in programs}
    for name, cmd in programs.items():  # one warm-up each: disk cache
        run_once(cmd)
    for _ in range(runs):
        for name, cmd in programs.items():
            results[name].append(run_once(cmd))

    # The median is the figure; the fastest run shows what the machine's
    # other load may have added to it.
    print("platform %s, %d runs each"
          % (os.environ.get("QT_QPA_PLATFORM", "default"), runs))
    print("%-16s %22s %11s %14s" % ("", "first paint ms", "of it: app", "peak RSS MiB"))
    print("%-16s %11s %10s %11s %14s" % ("", "median", "fastest", "median", "median"))
    figures = {}
    for name, samples in results.items():
        ms = statistics.median(s[0] for s in samples)
        fastest = min(s[0] for s in samples)
        app = statistics.median(s[1] for s in samples)
        mib = statistics.median(s[2] for s in samples)
        figures[name] = (ms, fastest, mib)
        print("%-16s %11.1f %10.1f %11.1f %14.1f" % (name, ms, fastest, app, mib))
    for base in ("minimal window", "  with a label"):
        b, w = figures[base], figures["Wavesift"]
        print("Wavesift / %-14s start-up %.2f (fastest %.2f), memory %.2f"
              % (base.strip() + ":", w[0] / b[0], w[1] / b[1], w[2] / b[2]))
    w, b = figures["Wavesift"], figures["minimal window"]
    t, m = w[0] / b[0], w[2] / b[2]
    print("against the minimal window: start-up ratio %.2f %s, memory ratio %.2f %s (target 1.2)"
          % (t, "ok" if t <= 1.2 else "OVER TARGET", m, "ok" if m <= 1.2 else "OVER TARGET"))


if __name__ == "__main__":
    main()
