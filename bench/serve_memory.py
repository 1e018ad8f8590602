"""Memory of the preview server while the store is rewritten ten times a second and every change
is drawn, for a minute (or SECONDS): resident memory sampled every five seconds, then the growth
from the first sample after warm-up to the last. Usage: bench/serve_memory.py PROGRAM [SECONDS]"""
import os, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "host", "serve"))
from preview_server import PreviewServer

here = os.path.dirname(os.path.abspath(__file__))
server = PreviewServer(sys.argv[1], os.path.join(here, "..", "samples", "container"))
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60


def rss_kib():
    with open(f"/proc/{server.proc.pid}/status") as f:
        return next(int(l.split()[1]) for l in f if l.startswith("VmRSS"))


try:
    samples, start, i = [], time.time(), 0
    while time.time() - start < seconds:
        server.store(f"widget_balance={1000 + i % 500}")
        server.screen()
        i += 1
        if i % 50 == 1:
            samples.append(rss_kib())
            print(f"{time.time() - start:6.1f} s  {samples[-1]} KiB", flush=True)
        time.sleep(max(0.0, start + i * 0.1 - time.time()))
    warm = samples[1] if len(samples) > 1 else samples[0]
    print(f"writes {i}, resident after warm-up {warm} KiB, at the end {samples[-1]} KiB, "
          f"growth {samples[-1] - warm} KiB")
finally:
    server.close()
