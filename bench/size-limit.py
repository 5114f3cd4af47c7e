#!/usr/bin/python3
"""Size estimate and fitting under a limit, measured on frame sets of RGB PNGs.

For each set: a plain save (gifmaker-cli -d 10), --estimate (its error and its
time against the save's; each the median of three runs), then --max-size at 25%, 50% and 75% of the plain
file's size: whether the file is under the limit, how much of it it uses, the
time against the save's (wall time, and processor time, which other work on a
shared machine disturbs less), and butteraugli against the source frames beside the
best a user gets by changing one setting by hand (the highest quality whose
file fits; when none does, the largest size).

Usage: /usr/bin/python3 bench/size-limit.py CLI SETDIR... (e.g. build/bin/gifmaker-cli
       /tmp/gifbench-corpus/{slideshow,pan,screen,big} /tmp/gifbench-own/*)
Needs python3-pil and butteraugli (Debian packages)."""
import glob
import os
import resource
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageSequence

DELAY_CS = 10


def run(cli, args):
    """Runs the command; returns (wall seconds, processor seconds) and the result."""
    start, used = time.monotonic(), resource.getrusage(resource.RUSAGE_CHILDREN)
    res = subprocess.run([cli] + args, capture_output=True, text=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = after.ru_utime + after.ru_stime - used.ru_utime - used.ru_stime
    return (time.monotonic() - start, cpu), res


def median_run(cli, args, runs=3):
    """The run of median wall time among `runs` (start-up and the disk cache
    make single short runs vary by a third on a shared machine)."""
    timed = sorted((run(cli, args) for _ in range(runs)), key=lambda r: r[0][0])
    return timed[runs // 2]


def ratio(t, base):
    """Wall time over the base's, and processor time over the base's (steadier on a busy machine)."""
    return "%.2f (cpu %.2f)" % (t[0] / base[0], t[1] / base[1])


def shown_frames(gif, count, size):
    """The picture a viewer shows at each source frame's time, at the source size."""
    frames, ends, t = [], [], 0
    with Image.open(gif) as im:
        for fr in ImageSequence.Iterator(im):
            t += fr.info.get("duration", DELAY_CS * 10)
            frames.append(fr.convert("RGB").resize(size, Image.BICUBIC))
            ends.append(t)
    out, j = [], 0
    for i in range(count):
        while j + 1 < len(frames) and ends[j] <= i * DELAY_CS * 10:
            j += 1
        out.append(frames[j])
    return out


def butteraugli(paths, gif):
    with Image.open(paths[0]) as first:
        size = first.size
    shown = shown_frames(gif, len(paths), size)
    picks = sorted({0, len(paths) // 2, len(paths) - 1})
    dists = []
    with tempfile.TemporaryDirectory() as tmp:
        for i in picks:
            out = os.path.join(tmp, "%d.png" % i)
            shown[i].save(out)
            res = subprocess.run(["butteraugli", paths[i], out], capture_output=True, text=True)
            dists.append(float(res.stdout.split()[0]))
    return sum(dists) / len(dists)


def by_hand(cli, paths, limit, tmp, width, height):
    """The best one setting gives: the highest quality that fits, else the largest size."""
    out = os.path.join(tmp, "hand.gif")
    lo, hi, best = 1, 85, None
    while lo <= hi:
        q = (lo + hi) // 2
        run(cli, ["-d", str(DELAY_CS), "-q", str(q), "-o", out] + paths)
        if os.path.getsize(out) <= limit:
            best, lo = q, q + 1
        else:
            hi = q - 1
    if best is not None:
        run(cli, ["-d", str(DELAY_CS), "-q", str(best), "-o", out] + paths)
        return "quality %d" % best, butteraugli(paths, out)
    lo, hi, best = 1, 99, None
    while lo <= hi:
        s = (lo + hi) // 2
        size = "%dx%d" % (max(1, width * s // 100), max(1, height * s // 100))
        run(cli, ["-d", str(DELAY_CS), "-s", size, "-o", out] + paths)
        if os.path.getsize(out) <= limit:
            best, lo = size, s + 1
        else:
            hi = s - 1
    if best is None:
        return "nothing", float("nan")
    run(cli, ["-d", str(DELAY_CS), "-s", best, "-o", out] + paths)
    return best, butteraugli(paths, out)


def main():
    cli, sets = sys.argv[1], sys.argv[2:]
    print("| set | save | estimate (error, time / save) | limit | file / limit | time / save | changed | "
          "butteraugli fitted · by hand (setting) |")
    print("|---|---|---|---|---|---|---|---|")
    with tempfile.TemporaryDirectory() as tmp:
        for d in sets:
            name = os.path.basename(d.rstrip("/"))
            paths = sorted(glob.glob(os.path.join(d, "*.png")))
            with Image.open(paths[0]) as first:
                width, height = first.size
            plain = os.path.join(tmp, "plain.gif")
            t_save, _ = median_run(cli, ["-d", str(DELAY_CS), "-o", plain] + paths)
            full = os.path.getsize(plain)
            t_est, res = median_run(cli, ["--estimate", "-d", str(DELAY_CS)] + paths)
            estimate = int(res.stdout.split("(")[1].split()[0])
            est = "%+.1f%%, %s" % (100.0 * (estimate - full) / full, ratio(t_est, t_save))
            for share in (25, 50, 75):
                limit = full * share // 100
                out = os.path.join(tmp, "fit.gif")
                if os.path.exists(out):
                    os.remove(out)
                t_fit, res = run(cli, ["-d", str(DELAY_CS), "--max-size", str(limit), "-o", out] + paths)
                if res.returncode != 0:
                    print("| %s | | | %d%% | exit %d | | %s | |" % (name, share, res.returncode, res.stderr.strip()))
                    continue
                size = os.path.getsize(out)
                changed = res.stderr.strip().split(": ", 2)[-1]
                fitted = butteraugli(paths, out)
                hand, hand_score = by_hand(cli, paths, limit, tmp, width, height)
                print("| %s | %.2f s · %d | %s | %d%% (%d) | %.3f%s | %s | %s | %.2f · %.2f (%s) |" % (
                    name, t_save[0], full, est, share, limit, size / limit, "" if size <= limit else " OVER",
                    ratio(t_fit, t_save), changed, fitted, hand_score, hand), flush=True)


if __name__ == "__main__":
    main()
