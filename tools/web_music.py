"""Turns the desktop's renderings of the two modules into the page's music: one loop of each,
exactly, encoded to Ogg Vorbis.

usage: web_music.py WAVDIR OUTDIR

WAVDIR holds un.wav and battle.wav as the `music` tool renders them through SDL_mixer, the
desktop's own player: a little silence (the device runs before the module is loaded), then more
than one pass of the song. The loop taken is the period of the rendering: the shortest P for
which everything after the music's first sound + P repeats the rendering P frames earlier,
checked frame for frame. It starts at the first sound, as the desktop's music starts when the
game plays it, and it includes what the desktop's player adds at each loop, so that the page
loops the music exactly as the desktop does. Fails if no such period is found.
"""
import os
import subprocess
import sys
import wave

import numpy as np

RATE = 22050


def read(path):
    w = wave.open(path)
    if w.getframerate() != RATE or w.getnchannels() != 2 or w.getsampwidth() != 2:
        raise SystemExit("%s: expected 22050 Hz 16-bit stereo" % path)
    return np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").reshape(-1, 2)


def find_loop(a, min_check=RATE):
    """(start, period) of the rendering a, or None."""
    sound = np.nonzero(np.any(a != 0, axis=1))[0]
    if len(sound) == 0:
        return None
    s = int(sound[0])
    last = len(a) - s - min_check  # at least a second of the next pass must be compared
    # candidates: frames equal to the first four frames of the music
    head = a[s:s + 4]
    for p in range(RATE, last + 1):
        if not np.array_equal(a[s + p:s + p + 4], head):
            continue
        if np.array_equal(a[s + p:], a[s:len(a) - p]):
            return s, p
    return None


def write_wav(path, frames):
    w = wave.open(path, "wb")
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(frames.astype("<i2").tobytes())
    w.close()


def main():
    src, out = sys.argv[1:3]
    os.makedirs(out, exist_ok=True)
    for name in ("un", "battle"):
        a = read(os.path.join(src, name + ".wav"))
        found = find_loop(a)
        if not found:
            raise SystemExit("%s.wav: no exact loop found in the rendering" % name)
        s, p = found
        loop = os.path.join(out, name + ".loop.wav")
        write_wav(loop, a[s:s + p])
        subprocess.run(["sox", loop, "-C", "4", os.path.join(out, name + ".ogg")], check=True)
        print("%s: music from frame %d, loop of %d frames (%.3f s)" % (name, s, p, p / RATE))


if __name__ == "__main__":
    main()
