#!/usr/bin/env python3
"""Writes the small seed corpus in fuzz/corpus/: a few valid files of each
kind and a few near misses, so that fuzzing starts from inputs that reach
deep into each reader. Run it again after changing it; the fuzzer's own
finds go to fuzz/out/, not here."""
import os

here = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def scan(start, end, layout, lnb, oscillators, switch=None, eol=b"\r\n"):
    """A scan file over a few MHz; `oscillators` is (low, high)."""
    lines = [b"%d" % start, b"%d" % end, b"%d" % layout, b"%d" % lnb]
    pols = {1053: [0], 1054: [1], 1055: [0, 1], 1059: [0, 1]}[layout]
    for pol in pols:
        if switch is not None and start < switch < end:
            blocks = [(start, switch, oscillators[0]), (switch, end, oscillators[1])]
        elif switch is not None and end > switch:
            blocks = [(start, end, oscillators[1])]
        else:
            blocks = [(start, end, oscillators[0])]
        for first, last, lo in blocks:
            for f in range(first, last + 1):
                lines.append(b"%d,%.1f" % (abs(f - lo), 20 + pol * 5 + (f % 7) * 1.5))
    return eol.join(lines) + eol


# Scan files: each layout, single and two-band scans, other LNB types and
# line ends, and a few that stop early.
write("scanfile", "univ-h-low", scan(10700, 10704, 1053, 1044, (9750, 10600), 11700))
write("scanfile", "univ-v-high", scan(12000, 12003, 1054, 1044, (9750, 10600), 11700, b"\n"))
write("scanfile", "univ-hv-both", scan(11698, 11702, 1055, 1044, (9750, 10600), 11700))
write("scanfile", "quattro-hvp-both", scan(11748, 11751, 1059, 1048, (9750, 10750), 11750, b"\r"))
write("scanfile", "cband-hv", scan(3700, 3703, 1055, 1047, (5150, 0)))
write("scanfile", "lband-h", b"950\r\n952\r\n1053\r\n1058\r\n950,10\r\n951, 11.5 \r\n952,1e1\r\n")
write("scanfile", "no-comma", b"10700\r\n10701\r\n1053\r\n1044\r\n950 10\r\n")
write("scanfile", "out-of-range", b"10700\r\n10701\r\n1053\r\n1044\r\n2151,10\r\n")
write("scanfile", "unknown-lnb", b"10700\r\n10701\r\n1053\r\n1044.5\r\n")
write("scanfile", "short", b"10700\r\n10701\r\n1055\r\n1044\r\n950,1\r\n")

# The scan reader's two ways through a data line: the same scans, and data
# lines at the edges of the plain form ("digits,digits[.digits]" ended by
# LF or CR LF), which the shortcut must hand over to the general rules
# unchanged.
for name in ["univ-h-low", "univ-v-high", "univ-hv-both", "quattro-hvp-both", "cband-hv",
             "lband-h", "no-comma", "out-of-range", "short"]:
    with open(os.path.join(here, "corpus", "scanfile", name), "rb") as f:
        write("scanpaths", name, f.read())
edges = [b"950,137", b"0950,37.5", b"02150,1", b"2150,0", b"00000,1", b"000000,1",
         b"950,137.", b"950,.5", b"950,-1", b"950,+1", b"950,1e3", b"950, 1", b"950,1 ",
         b"950,1\t", b"950.4,1", b"950,1,2", b",1", b"950,", b"950,00",
         b"950,9007199254740993", b"950,18446744073709551615", b"950,99999999999999999999",
         b"950,0.1234567890123456789", b"950,1.0000000000000000000000001",
         b"950,123456789012345678.9", b"950,1" + b"0" * 400, b"2151,1"]
write("scanpaths", "plain-edges-lf", b"950\n%d\n1053\n1058\n" % (949 + len(edges))
      + b"\n".join(edges) + b"\n")
write("scanpaths", "plain-edges-crlf", b"950\r\n%d\r\n1053\r\n1058\r\n" % (949 + len(edges))
      + b"\r\n".join(edges))
write("scanpaths", "lone-cr-and-end", b"950\r\n952\r\n1053\r\n1058\r\n950,1\r951,2\n\r952,3\r")
write("scanpaths", "stops-at-plain", b"950\n953\n1053\n1058\n950,1\n951,2\n2200,3\n952,4\n")
write("scanpaths", "ends-early", b"950\n953\n1053\n1058\n950,1\n951,2\n")

# Map files: fixed columns, every polarisation letter, short lines and all
# three line ends.
def entry(name, type_, freq, pol):
    line = b"%-16s Beam Europe  TP 001     %-6s  %s%s 27500 3/4" % (name, type_, freq, pol)
    return line

write("mapfile", "lines-crlf", b"\r\n".join([
    entry(b"Demo TV 01", b"MPEG2", b"10.744", b"H"),
    entry(b"Demo Radio 02", b"DATA", b"11.307", b"V"),
    entry(b"Demo TV 03", b"mpeg4", b"12.109", b"L"),
]) + b"\r\n")
write("mapfile", "lone-cr-no-end", entry(b"A", b"MPEG4", b"10.700", b"R") + b"\r"
      + entry(b"B", b"DATA", b"12.750", b"h"))
write("mapfile", "short-and-lf", b"short line\r\n\r\nwith\nan lf inside\r\n" + b"x" * 60 + b"\r\n")
write("mapfile", "empty-lines", b"\r\n\r\r\n\r")

# Signal check: three settings bytes (time-out choice, polarisation, a port
# that fails and a typed time-out; the clock's pace, when the user stops the
# check and a line that fails once drained; the search's limit, 0 for the
# usual), then pieces as the reads hand them over: a length byte and that
# many bytes.
def check(settings, pace, pieces, limit=0):
    out = bytes([settings, pace, limit])
    for p in pieces:
        out += bytes([len(p)]) + p
    return out

write("signalcheck", "lock-then-ready", check(0x04, 1, [
    b"", b"00 Locked 5 12345\r\n", b"PAT found", b" SDT found\r\n", b"Rea", b"dy\r\n"]))
write("signalcheck", "noise-before-lock", check(0x13, 2, [
    b"", b"junk 01 Searching 123\r\n", b"xx00 Locked", b" 7 99999\r\n", b"No Sig", b"nal"]))
write("signalcheck", "aut-and-fragments", check(0x24, 0, [
    b"", b"00 Aut", b"o 5 12345\r\n", b"", b"00 Locked\r\n", b"found", b"Ready"]))
write("signalcheck", "never-locks", check(0x02, 3, [
    b"", b"01 Searching 123\r\n", b"", b"01 Searching 124\r\n"]))
write("signalcheck", "typed-timeout", check(0x80, 1, [
    b" 4 sec", b"", b"00 Locked 5 12345\r\n", b"PAT found Ready"]))
write("signalcheck", "port-fails", check(0x41, 0, [b"00 Locked 5 12345\r\n"]))
write("signalcheck", "silent-receiver", check(0x03, 1, [b"", b"", b""]))
write("signalcheck", "stopped-in-search", check(0x04, 1 | (20 << 2), [
    b"", b"00 Locked 5 12345\r\n", b"PAT found\r\n"]))
write("signalcheck", "short-search-limit", check(0x04, 1, [
    b"", b"00 Locked 5 12345\r\n", b"searching\r\n"], limit=5))
