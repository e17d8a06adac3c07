"""Compiles a text score (data/music/*.txt) into a 4-channel, 31-sample ProTracker module.

usage: modc.py SCORE OUT.mod

Score syntax (one statement a line, ';' starts a comment):

  title Some title                 at most 20 characters
  sample N NAME WAVE key=value...  instrument N (1-31), synthesised here (see synth())
  order P P P ...                  the song: pattern numbers, 1-128 positions
  pattern P                        then rows until the next statement:
  RR | CELL | CELL | CELL | CELL   RR = row 00-63 (decimal, increasing; rows not given are empty)

A CELL is `NOTE SS EFF`: NOTE is C-1..B-3 (ProTracker octaves) or '---' (no note), SS is the
sample number in hex or '..', EFF is an effect and its parameter in hex (e.g. F06, C20, A04, EC3)
or '...'. Channels 0 and 3 play on the left, 1 and 2 on the right.

Waves (8-bit signed; one-shots start with two zero bytes, periodic waves fade in over one cycle):
  sine     cycle=BYTES h2= h3=   (soft lead: sine plus some 2nd and 3rd harmonic)
  pulse    cycle=BYTES duty=0..1
  triangle cycle=BYTES
  saw      cycle=BYTES
  noise    len=BYTES decay=BYTES tone=HZ rate=HZ   (snare or hat; `hp=1` keeps only the hiss)
  kick     len=BYTES f0=HZ f1=HZ drop=BYTES decay=BYTES rate=HZ
Shaping for the periodic waves: amp=0..1 (peak), cycles=N cycles of attack/decay before the
loop, decay=N cycles for the level to fall by e, sustain=0..1 level held in the loop.
sustain=0 makes a one-shot that fades out over `cycles` cycles. volume=0..64 is the default
volume stored in the sample header.
"""
import math
import re
import struct
import sys

PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]
NOTE_NAMES = ["C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"]
ROWS = 64
CHANNELS = 4


class ScoreError(Exception):
    pass


def note_period(tok):
    if tok == "---":
        return 0
    m = re.fullmatch(r"([A-G][-#])([1-3])", tok)
    if not m or m.group(1) not in NOTE_NAMES:
        raise ScoreError("bad note %r (C-1..B-3 or ---)" % tok)
    return PERIODS[(int(m.group(2)) - 1) * 12 + NOTE_NAMES.index(m.group(1))]


# ---------------------------------------------------------------- synthesis

def clamp8(v):
    return max(-127, min(127, int(round(v))))


def periodic(shape, p):
    """One cycle of `shape` sampled at `n` points, values in -1..1."""
    n = p["cycle"]
    out = []
    for i in range(n):
        t = i / n
        if shape == "sine":
            v = (math.sin(2 * math.pi * t) + p.get("h2", 0) * math.sin(4 * math.pi * t)
                 + p.get("h3", 0) * math.sin(6 * math.pi * t))
        elif shape == "pulse":
            v = 1.0 if t < p.get("duty", 0.5) else -1.0
        elif shape == "triangle":
            v = 4 * t if t < 0.25 else (2 - 4 * t if t < 0.75 else 4 * t - 4)
        elif shape == "saw":
            v = 2 * t if t < 0.5 else 2 * t - 2
        out.append(v)
    if shape == "pulse":  # centre the DC so the loop sits around zero
        mean = sum(out) / n
        out = [v - mean for v in out]
    peak = max(abs(v) for v in out)
    return [v / peak for v in out]


def synth_periodic(shape, p):
    cyc = periodic(shape, p)
    n = p["cycle"]
    amp = 127 * p.get("amp", 1.0)
    cycles = int(p.get("cycles", 0))
    decay = p.get("decay", 0)
    sustain = p.get("sustain", 1.0)
    data = []
    for c in range(cycles):
        if sustain == 0:  # one-shot: exponential fall, ending in silence
            env = math.exp(-c / decay) if decay else 1.0
            env *= 1 - c / cycles
        else:
            env = sustain + (1 - sustain) * (math.exp(-c / decay) if decay else 0)
        if c == 0:  # fade in over the first cycle: no click when a note starts
            data += [clamp8(amp * env * v * i / n) for i, v in enumerate(cyc)]
        else:
            data += [clamp8(amp * env * v) for v in cyc]
    if sustain == 0:
        data[:2] = [0, 0]
        return data, 0, 1
    loop_start = len(data)
    data += [clamp8(amp * sustain * v) for v in cyc]
    return data, loop_start // 2, n // 2


class Noise:
    def __init__(self, seed):
        self.s = seed

    def __call__(self):
        self.s = (self.s * 1103515245 + 12345) & 0x7FFFFFFF
        return ((self.s >> 8) & 0xFFFF) / 32768.0 - 1.0


def synth_noise(p):
    n = int(p["len"])
    rate = p.get("rate", 8363)
    rnd = Noise(int(p.get("seed", 1)))
    decay = p.get("decay", n / 4)
    tone = p.get("tone", 0)
    amp = 127 * p.get("amp", 1.0)
    prev = 0.0
    data = []
    for i in range(n):
        w = rnd()
        if p.get("hp"):
            w, prev = w - prev, w
            w *= 0.6
        env = math.exp(-i / decay) * (1 - i / n)
        v = w * env
        if tone:
            v = 0.55 * v + 0.6 * math.sin(2 * math.pi * tone * i / rate) * math.exp(-i / (decay * 0.6))
        data.append(clamp8(amp * max(-1.0, min(1.0, v))))
    data[:2] = [0, 0]
    return data, 0, 1


def synth_kick(p):
    n = int(p["len"])
    rate = p.get("rate", 8363)
    f0, f1, drop, decay = p["f0"], p["f1"], p["drop"], p["decay"]
    amp = 127 * p.get("amp", 1.0)
    phase = 0.0
    data = []
    for i in range(n):
        f = f1 + (f0 - f1) * math.exp(-i / drop)
        phase += 2 * math.pi * f / rate
        env = math.exp(-i / decay) * (1 - i / n)
        data.append(clamp8(amp * env * math.sin(phase)))
    data[:2] = [0, 0]
    return data, 0, 1


KEYS = {
    "sine": {"cycle", "h2", "h3"}, "pulse": {"cycle", "duty"}, "triangle": {"cycle"}, "saw": {"cycle"},
    "noise": {"len", "decay", "tone", "rate", "hp", "seed", "amp"},
    "kick": {"len", "f0", "f1", "drop", "decay", "rate", "amp"},
}
SHAPING = {"amp", "cycles", "decay", "sustain"}


def synth(wave, params):
    allowed = KEYS.get(wave, set()) | (SHAPING if wave in ("sine", "pulse", "triangle", "saw") else set())
    unknown = set(params) - allowed
    if wave in KEYS and unknown:
        raise ScoreError("%s does not take %s" % (wave, ", ".join(sorted(unknown))))
    if wave in ("sine", "pulse", "triangle", "saw"):
        if "cycle" not in params or int(params["cycle"]) % 2:
            raise ScoreError("%s needs an even cycle= length" % wave)
        params["cycle"] = int(params["cycle"])
        data, ls, ll = synth_periodic(wave, params)
    elif wave == "noise":
        data, ls, ll = synth_noise(params)
    elif wave == "kick":
        data, ls, ll = synth_kick(params)
    else:
        raise ScoreError("unknown wave %r" % wave)
    if len(data) % 2:
        data.append(0)
    if len(data) > 2 * 65535:
        raise ScoreError("sample too long")
    return data, ls, ll


# ---------------------------------------------------------------- score

class Song:
    def __init__(self):
        self.title = ""
        self.samples = {}   # n -> (name, data, volume, loop_start_words, loop_len_words)
        self.order = []
        self.patterns = {}  # p -> [[(period, sample, effect, param)] * 4] * 64


def parse_cell(text):
    toks = text.split()
    if len(toks) != 3:
        raise ScoreError("a cell is NOTE SS EFF, got %r" % text.strip())
    period = note_period(toks[0])
    smp = 0 if toks[1] == ".." else int(toks[1], 16)
    if not 0 <= smp <= 31:
        raise ScoreError("sample number %r out of range" % toks[1])
    if toks[2] == "...":
        eff, par = 0, 0
    else:
        m = re.fullmatch(r"([0-9A-F])([0-9A-F]{2})", toks[2])
        if not m:
            raise ScoreError("bad effect %r" % toks[2])
        eff, par = int(m.group(1), 16), int(m.group(2), 16)
    return period, smp, eff, par


def parse(text):
    song = Song()
    pattern = None
    last_row = -1
    for n, raw in enumerate(text.splitlines(), 1):
        line = raw.split(";", 1)[0].rstrip()
        if not line.strip():
            continue
        try:
            word = line.split()[0]
            if word == "title":
                song.title = line.split(None, 1)[1] if len(line.split()) > 1 else ""
                if len(song.title) > 20:
                    raise ScoreError("title longer than 20 characters")
                pattern = None
            elif word == "sample":
                parts = line.split()
                num, name, wave = int(parts[1]), parts[2], parts[3]
                params = {}
                for kv in parts[4:]:
                    k, v = kv.split("=")
                    params[k] = float(v)
                if not 1 <= num <= 31 or num in song.samples:
                    raise ScoreError("sample number %d invalid or repeated" % num)
                vol = int(params.pop("volume", 64))
                if not 0 <= vol <= 64:
                    raise ScoreError("volume must be 0..64")
                data, ls, ll = synth(wave, params)
                song.samples[num] = (name[:22], data, vol, ls, ll)
                pattern = None
            elif word == "order":
                song.order = [int(x) for x in line.split()[1:]]
                pattern = None
            elif word == "pattern":
                p = int(line.split()[1])
                if p in song.patterns:
                    raise ScoreError("pattern %d defined twice" % p)
                pattern = [[(0, 0, 0, 0)] * CHANNELS for _ in range(ROWS)]
                song.patterns[p] = pattern
                last_row = -1
            elif re.fullmatch(r"\d\d", word):
                if pattern is None:
                    raise ScoreError("row outside a pattern")
                fields = line.split("|")
                row = int(fields[0])
                if not last_row < row < ROWS:
                    raise ScoreError("row %d out of order or past 63" % row)
                last_row = row
                if len(fields) != CHANNELS + 1:
                    raise ScoreError("a row needs %d cells" % CHANNELS)
                pattern[row] = [parse_cell(f) for f in fields[1:]]
            else:
                raise ScoreError("unknown statement %r" % word)
        except (ScoreError, ValueError, IndexError) as e:
            raise ScoreError("line %d: %s" % (n, e))
    check(song)
    return song


def check(song):
    if not 1 <= len(song.order) <= 128:
        raise ScoreError("the order list needs 1..128 positions")
    npat = max(song.order) + 1
    for p in range(npat):
        if p not in song.patterns:
            raise ScoreError("pattern %d is used or below the highest used one, but not defined" % p)
    if set(song.patterns) - set(range(npat)):
        raise ScoreError("patterns past the highest order entry would be dropped")
    for p, pat in song.patterns.items():
        for r, row in enumerate(pat):
            for c, (_, smp, _, _) in enumerate(row):
                if smp and smp not in song.samples:
                    raise ScoreError("pattern %d row %d channel %d: sample %d undefined" % (p, r, c, smp))


# ---------------------------------------------------------------- module

def module_bytes(song):
    out = bytearray(song.title.encode("latin-1").ljust(20, b"\0"))
    for n in range(1, 32):
        if n in song.samples:
            name, data, vol, ls, ll = song.samples[n]
            if ls + ll > len(data) // 2:
                raise ScoreError("sample %d: loop past the end" % n)
            out += name.encode("latin-1").ljust(22, b"\0")
            out += struct.pack(">HBBHH", len(data) // 2, 0, vol, ls, ll)
        else:
            out += b"\0" * 22 + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    order = song.order + [0] * (128 - len(song.order))  # nothing stray past the song length
    out += bytes([len(song.order), 127]) + bytes(order) + b"M.K."
    assert len(out) == 1084
    for p in range(max(song.order) + 1):
        for row in song.patterns[p]:
            for period, smp, eff, par in row:
                out += bytes([(smp & 0xF0) | (period >> 8), period & 0xFF,
                              ((smp & 0x0F) << 4) | eff, par])
    for n in range(1, 32):
        if n in song.samples:
            out += bytes(v & 0xFF for v in song.samples[n][1])
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: modc.py SCORE OUT.mod")
    src, dst = sys.argv[1:3]
    try:
        song = parse(open(src, encoding="utf-8").read())
        data = module_bytes(song)
    except ScoreError as e:
        sys.exit("%s: %s" % (src, e))
    with open(dst, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
