"""An X server of our own for the real window's test and benchmark: Xvfb on a free display, and
its screen dumps (xwd) read back as pictures.
"""
import os
import struct
import subprocess
import time


def start(size=(1920, 1080), log=subprocess.DEVNULL):
    """Starts Xvfb (24 bits, no key repeat: a hold a busy machine stretches stays one press);
    returns (process, DISPLAY)."""
    rfd, wfd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(wfd), "-screen", "0", "%dx%dx24" % size,
                             "-nolisten", "tcp", "-ardelay", "60000"],
                            pass_fds=(wfd,), stdout=subprocess.DEVNULL, stderr=log)
    os.close(wfd)
    number, deadline = b"", time.time() + 15
    while not number.endswith(b"\n") and time.time() < deadline:
        chunk = os.read(rfd, 16)
        if not chunk:
            break
        number += chunk
    os.close(rfd)
    if not number.strip():
        stop(xvfb)
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + number.decode().strip()


def stop(process):
    """Ends a process politely, then not."""
    if process and process.poll() is None:
        process.terminate()
        try:
            return process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return None


def parse_xwd(data):
    """A Z-pixmap XWD dump of a TrueColor screen with 24 or 32 bits a pixel, as a PIL picture."""
    from PIL import Image
    fields = struct.unpack(">25I", data[:100])
    header_size, version, fmt, width, height = fields[0], fields[1], fields[2], fields[4], fields[5]
    byte_order, bpp, bytes_per_line = fields[7], fields[11], fields[12]
    masks, ncolors = fields[14:17], fields[19]
    if version != 7 or fmt != 2 or bpp not in (24, 32):
        raise ValueError("unexpected xwd dump: version %d format %d %d bpp" % (version, fmt, bpp))
    if masks != (0xFF0000, 0xFF00, 0xFF):
        raise ValueError("unexpected colour masks %x %x %x" % masks)
    raw = ("BGR" if byte_order == 0 else "RGB") if bpp == 24 else ("BGRX" if byte_order == 0 else "XRGB")
    return Image.frombuffer("RGB", (width, height), data[header_size + 12 * ncolors:], "raw", raw,
                            bytes_per_line, 1)
