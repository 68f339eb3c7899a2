#!/usr/bin/env python3
"""Writes the example data: two scans of the same made-up satellite taken
some time apart, the map of its transmissions, and a history: six scans of
one afternoon under history/, taken while the dish was turned step by step
into its best position and a little past it.

    python3 examples/make_examples.py            # rewrite the files
    python3 examples/make_examples.py --check    # fail if they are stale

The history's files are named by the time they were taken, and their
modification times are set to it, so that the history window orders them
by time as it would order a real afternoon's scans.

Everything is synthetic and the output is the same on every run: the noise
comes from a fixed linear congruential generator, not from the system.

Both scans are universal-LNB scans (code 1044) of both polarisations (layout
1055 "hv") from 10700 to 12750 MHz, so each holds four blocks: horizontal
low band (sky 10700..11700, oscillator 9750), horizontal high band
(11700..12750, oscillator 10600), then the same two for vertical. A data line
is "intermediate frequency,level" with the intermediate frequency
|sky - oscillator|.
"""
import calendar
import math
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
START, STOP, SWITCH = 10700, 12750, 11700
LO_LOW, LO_HIGH = 9750, 10600

# The transponder plan: a channel every 19.5 MHz with alternating
# polarisation, as many Ku-band satellites have it. Some channels are unused
# so that the humps stand apart; a few are circularly polarised feeds, which a
# linear LNB sees at reduced level on both polarisations.
TYPES = ["MPEG2 ", "MPEG4 ", "mpeg4 ", "MPEG2 ", "MPEG4 ", "DATA  ", "ANALOG"]


class Lcg:
    """Small deterministic generator, identical on every platform."""

    def __init__(self, seed):
        self.x = seed

    def next(self):
        self.x = (self.x * 1103515245 + 12345) % 2**31
        return self.x / 2**31


def plan():
    rng = Lcg(2026)
    channels = []
    for k in range(106):
        freq = round(START + 14 + 19.5 * k)
        if freq > STOP - 14:
            break
        roll = rng.next()
        width = 24 + int(rng.next() * 12)   # MHz
        height = 180 + int(rng.next() * 320)  # above the noise floor
        kind = TYPES[int(rng.next() * len(TYPES))]
        if roll < 0.35:
            continue                        # unused channel
        pol = "H" if k % 2 == 0 else "V"
        channels.append({"freq": freq, "pol": pol, "width": width,
                         "height": height, "type": kind})
    channels[7]["pol"] = "L"
    channels[44]["pol"] = "R"
    return channels


def changed(channels):
    """The newer scan: the dish moved a little and the satellite changed."""
    newer = [dict(c) for c in channels]
    newer[3]["height"] = newer[3]["height"] * 45 // 100     # weaker
    newer[10]["height"] = newer[10]["height"] * 45 // 100
    newer[17]["height"] = min(newer[17]["height"] + 250, 700)  # stronger
    newer[24]["height"] = min(newer[24]["height"] + 250, 700)
    del newer[30]                                          # gone
    newer.append({"freq": 12528, "pol": "V", "width": 30,  # new
                  "height": 420, "type": "MPEG4 "})
    return newer


def hump(offset, width):
    """Transponder shape: flat top, cosine skirts, nothing beyond."""
    half = width / 2
    a = abs(offset)
    if a <= 0.7 * half:
        return 1.0
    if a >= 1.15 * half:
        return 0.0
    return 0.5 + 0.5 * math.cos(math.pi * (a - 0.7 * half) / (0.45 * half))


def level(channels, pol, sky, rng, gain=1.0):
    # Noise floor with a gentle ripple of the LNB and receiver gain.
    value = 140 + 25 * math.sin(sky / 170.0) + 12 * (rng.next() - 0.5)
    for c in channels:
        if abs(sky - c["freq"]) > c["width"]:
            continue
        h = c["height"] if c["pol"] == pol else \
            c["height"] // 2 if c["pol"] in "LR" else 0
        value += gain * h * hump(sky - c["freq"], c["width"]) * (0.96 + 0.08 * rng.next())
    return max(0, min(1000, round(value)))


def scan_text(channels, seed, gain=1.0):
    rng = Lcg(seed)
    lines = [str(START), str(STOP), "1055", "1044"]
    for pol in "HV":
        for first, last, lo in ((START, SWITCH, LO_LOW), (SWITCH, STOP, LO_HIGH)):
            for sky in range(first, last + 1):
                lines.append("%d,%d" % (abs(sky - lo), level(channels, pol, sky, rng, gain)))
    return "".join(line + "\r\n" for line in lines)


# The afternoon of the history: a scan every 20 minutes from 14:00 (UTC),
# the dish's pointing error in degrees at each, and the share of the
# transmissions' strength that reaches the LNB at that error (half at 0.6
# degrees, as for a dish of some 80 cm in the Ku band).
AFTERNOON = (2026, 6, 13, 14, 0)
POINTING = [-1.0, -0.7, -0.4, -0.05, 0.3, 0.6]


def history():
    """name -> (text, modification time in seconds since 1970)"""
    channels = changed(plan())
    start = calendar.timegm(AFTERNOON + (0, 0, 0, 0))
    scans = {}
    for n, error in enumerate(POINTING):
        when = start + n * 20 * 60
        name = time.strftime("history/%Y-%m-%d_%H%M.scn", time.gmtime(when))
        gain = 0.5 ** ((error / 0.6) ** 2)
        scans[name] = (scan_text(channels, 11 + n, gain), when)
    return scans


def map_text(channels):
    # Fixed columns: name 1-16, free text 17-40, type 41-46, frequency in GHz
    # 49-54, polarisation 55, symbol rate and error correction after it.
    rows = []
    for n, c in enumerate(sorted(channels, key=lambda c: c["freq"]), 1):
        if c["type"] == "ANALOG":
            name = "Demo Analog %02d" % n
        elif c["type"] == "DATA  ":
            name = "Demo Data %02d" % n
        else:
            name = "Demo TV %02d" % n
        note = "Beam Europe  TP %03d" % ((c["freq"] - START) * 10 // 195 + 1)
        ghz = "%02d.%03d" % divmod(c["freq"], 1000)
        rate = "" if c["type"] == "ANALOG" else " 27500 3/4"
        rows.append("%-16.16s%-24.24s%-6.6s  %s%s%s" % (name, note, c["type"], ghz, c["pol"], rate))
    return "".join(r + "\r\n" for r in rows)


def outputs():
    """name -> (text, modification time or None)"""
    old = plan()
    new = changed(old)
    listed = {c["freq"]: c for c in old}
    listed.update({c["freq"]: c for c in new})
    files = {
        "reference.scn": (scan_text(old, 1), None),
        "newest.scn": (scan_text(new, 2), None),
        "demo.map": (map_text(list(listed.values())), None),
    }
    files.update(history())
    return files


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for name, (text, when) in outputs().items():
        path = os.path.join(HERE, name)
        data = text.encode("latin-1")
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
            if when is not None:
                os.utime(path, (when, when))
    if stale:
        print("stale, rerun examples/make_examples.py: " + " ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
