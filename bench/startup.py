#!/usr/bin/env python3
"""Start-up time and peak memory of Wavesift against a minimal Qt window.

    python3 bench/startup.py <dir with startup_wavesift and startup_minimal> [runs]
                             [--before <dir with an older build's startup_wavesift>]
                             [--instructions]

Wavesift starts with the example files (EXAMPLES): the figure is the first
paint of the window that shows them, as a user who names the files on the
command line waits for it. Each Wavesift build is checked once to show all
three in the labels of its first paint. With --before an older build runs
with the same files, interleaved with the others, for a before-and-after
figure from one run. With --instructions each program first runs once
under valgrind's callgrind, which counts the instructions until the first
paint: a figure that a busy machine does not blur.

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


HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = [os.path.join(HERE, "..", "examples", name)
            for name in ("newest.scn", "reference.scn", "demo.map")]
EXAMPLES = [os.path.normpath(path) for path in EXAMPLES]


def check_files_shown(cmd, out):
    labels = [line[len("label-text "):] for line in out.splitlines()
              if line.startswith("label-text ")]
    for path in cmd[1:]:
        if not any(path in text for text in labels):
            sys.exit("%s did not show %s at its first paint; its labels:\n  %s"
                     % (cmd[0], path, "\n  ".join(labels)))


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
    # ms to first paint, of it ms until the application object exists, MiB,
    # and what the probe printed
    return (painted - start) / 1e6, (app - start) / 1e6, usage.ru_maxrss / 1024.0, out


def instructions(cmd):
    """Instructions the process runs until its first paint, under callgrind:
    unlike the time, the same from run to run on a busy machine."""
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run(
            ["valgrind", "--tool=callgrind",
             "--callgrind-out-file=" + os.path.join(folder, "callgrind.out")] + cmd,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    err = done.stderr.decode(errors="replace")
    if "first-paint-ns" not in done.stdout.decode() or "Collected :" not in err:
        sys.exit("%s did not paint its window under callgrind:\n%s" % (" ".join(cmd), err))
    return int(err.split("Collected :")[1].split()[0])


def count_instructions(programs):
    counts = {name: instructions(cmd) for name, cmd in programs.items()}
    print("instructions until the first paint (callgrind, one run each)")
    for name, count in counts.items():
        print("%-16s %8.1f M" % (name, count / 1e6))
    label = counts["  with a label"]
    for name in [n for n in counts if n.startswith("Wavesift")]:
        print("%-15s / with a label: %.2f" % (name, counts[name] / label))
    if "Wavesift before" in counts:
        print("Wavesift against the build before: %.3f"
              % (counts["Wavesift"] / counts["Wavesift before"]))
    print()


def main():
    args = sys.argv[1:]
    counting = "--instructions" in args
    if counting:
        args.remove("--instructions")
    before = None
    if "--before" in args:
        at = args.index("--before")
        before = args[at + 1]
        del args[at:at + 2]
    folder = args[0]
    runs = int(args[1]) if len(args) > 1 else 20
    minimal = os.path.join(folder, "startup_minimal")
    programs = {"minimal window": [minimal],
                "  with a label": [minimal, "label"],
                "Wavesift": [os.path.join(folder, "startup_wavesift")] + EXAMPLES}
    if before:
        programs["Wavesift before"] = [os.path.join(before, "startup_wavesift")] + EXAMPLES
    if counting:
        count_instructions(programs)
    results = {name: [] for name in programs}
    for name, cmd in programs.items():  # one warm-up each: disk cache
        out = run_once(cmd)[3]
        if cmd[1:] == EXAMPLES:
            check_files_shown(cmd, out)
    for _ in range(runs):
        for name, cmd in programs.items():
            results[name].append(run_once(cmd)[:3])

    # The median is the figure; the fastest run shows what the machine's
    # other load may have added to it.
    print("platform %s, %d runs each, Wavesift with %s"
          % (os.environ.get("QT_QPA_PLATFORM", "default"), runs,
             " ".join(os.path.basename(f) for f in EXAMPLES)))
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
    for name in [n for n in programs if n.startswith("Wavesift")]:
        w = figures[name]
        for base in ("minimal window", "  with a label"):
            b = figures[base]
            print("%-15s / %-14s start-up %.2f (fastest %.2f), memory %.2f"
                  % (name, base.strip() + ":", w[0] / b[0], w[1] / b[1], w[2] / b[2]))
    w, b = figures["Wavesift"], figures["  with a label"]
    t = w[0] / b[0]
    print("against the window with a label: start-up ratio %.2f %s (target 1.15)"
          % (t, "ok" if t <= 1.15 else "OVER TARGET"))
    b = figures["minimal window"]
    m = w[2] / b[2]
    print("against the minimal window: memory ratio %.2f %s (target 1.2)"
          % (m, "ok" if m <= 1.2 else "OVER TARGET"))
    if before:
        o = figures["Wavesift before"]
        print("Wavesift against the build before: first paint %.2f (fastest %.2f), memory %.2f"
              % (w[0] / o[0], w[1] / o[1], w[2] / o[2]))


if __name__ == "__main__":
    main()
