#!/usr/bin/python3
"""Times a whole vantor conversion against the bare library calls of the
pipeline (bench_libcalls) and against ImageMagick, on 8-bit RGB PSDs of
2048x2048 and 4096x4096, and prints medians, ratios and peak memory.

Usage: bench/run.py BUILD_DIR [RUNS]"""
import math
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run(cmd, env=None):
    """Wall time in seconds and peak resident memory in MiB of one command."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(cmd))
    return elapsed, usage.ru_maxrss / 1024.0


def make_psd(path, size):
    # Plasma gives photograph-like detail, which is what DXT1 encoders see.
    subprocess.run(["/usr/bin/convert", "-size", f"{size}x{size}", "-seed", "7",
                    "plasma:fractal", "-depth", "8", "-type", "TrueColor", path], check=True)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    vantor = os.path.join(build, "vantor")
    libcalls = os.path.join(build, "bench", "bench_libcalls")
    work = tempfile.mkdtemp(prefix="vantor-bench-")
    env = dict(os.environ, XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=work)
    print(f"{'size':>10} {'tool':>12} {'median s':>9} {'peak MiB':>9} {'x vantor':>9}")
    for size in (2048, 4096):
        psd = os.path.join(work, f"plasma{size}.psd")
        make_psd(psd, size)
        mips = int(math.log2(size)) + 1
        tools = {
            "vantor": [vantor, "-i", psd, "-o", work, "-q"],
            "libcalls": [libcalls, psd, os.path.join(work, "libcalls.dds")],
            "imagemagick": ["/usr/bin/convert", psd + "[0]", "-define", "dds:compression=dxt1",
                            "-define", f"dds:mipmaps={mips}", os.path.join(work, "im.dds")],
        }
        results = {}
        for name, cmd in tools.items():
            times, peaks = [], []
            for _ in range(runs):
                t, m = run(cmd, env)
                times.append(t)
                peaks.append(m)
            results[name] = (statistics.median(times), max(peaks))
        base = results["vantor"][0]
        for name, (t, m) in results.items():
            print(f"{size:>10} {name:>12} {t:>9.3f} {m:>9.1f} {t / base:>9.2f}")
        v, l = results["vantor"], results["libcalls"]
        print(f"{size:>10} vantor/libcalls time {v[0] / l[0]:.3f}, peak memory {v[1] / l[1]:.3f}")
    subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
