"""How soon a store change reaches a page of the preview: from the end of `store set` to the
server-sent event, and to the new screen fetched with the new amount, over N writes (default 20).
Usage: bench/serve_latency.py PROGRAM [N]"""
import os, statistics, sys, time, urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "host", "serve"))
from preview_server import PreviewServer

here = os.path.dirname(os.path.abspath(__file__))
server = PreviewServer(sys.argv[1], os.path.join(here, "..", "samples", "container"))
n = int(sys.argv[2]) if len(sys.argv) > 2 else 20
try:
    events = urllib.request.urlopen(server.url + "/events", timeout=10)
    events.readline(), events.readline()  # the first event: the version now
    to_event, to_screen = [], []
    for i in range(n):
        amount = 10000 + i
        server.store("widget_auth_status=logged_in", f"widget_balance={amount}")
        start = time.perf_counter()
        while not events.readline().startswith(b"data:"):
            pass
        to_event.append(time.perf_counter() - start)
        while f"{amount:,}" not in server.texts():
            pass
        to_screen.append(time.perf_counter() - start)
        time.sleep(0.2)
    for name, xs in (("event", to_event), ("screen", to_screen)):
        print(f"{name}: median {statistics.median(xs) * 1000:.1f} ms, "
              f"max {max(xs) * 1000:.1f} ms over {n} writes")
finally:
    server.close()
