"""How long an ordinary request to the preview takes alone, then while clients that send a byte a
second and open event streams outnumber the workers: N requests each way (default 100), with 32
slow senders and 24 streams. Usage: bench/serve_slow_clients.py PROGRAM [N]"""
import os, socket, statistics, sys, threading, time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "host", "serve"))
from preview_server import PreviewServer

here = os.path.dirname(os.path.abspath(__file__))
server = PreviewServer(sys.argv[1], os.path.join(here, "..", "samples", "container"))
n = int(sys.argv[2]) if len(sys.argv) > 2 else 100
stop = threading.Event()


def slow_sender():
    while not stop.is_set():  # a new one as soon as the server cuts the last
        try:
            with socket.create_connection(("127.0.0.1", server.port), timeout=10) as c:
                c.sendall(f"GET / HTTP/1.1\r\nHost: {server.hostport}\r\nX-Slow: ".encode())
                while not stop.wait(1):
                    c.sendall(b"a")
        except OSError:
            pass


def timed(count):
    times = []
    for _ in range(count):
        start = time.perf_counter()
        server.get("/api/state")
        times.append(time.perf_counter() - start)
    return times


try:
    server.screen()
    alone = timed(n)
    streams = []
    for _ in range(24):
        c = socket.create_connection(("127.0.0.1", server.port), timeout=10)
        c.sendall(f"GET /events HTTP/1.1\r\nHost: {server.hostport}\r\n\r\n".encode())
        streams.append(c)
    senders = [threading.Thread(target=slow_sender) for _ in range(32)]
    for t in senders:
        t.start()
    time.sleep(1)
    crowded = timed(n)
    stop.set()
    for t in senders:
        t.join()
    for c in streams:
        c.close()
    for name, xs in (("alone", alone), ("beside 32 slow senders and 24 streams", crowded)):
        print(f"{name}: median {statistics.median(xs) * 1000:.1f} ms, "
              f"max {max(xs) * 1000:.1f} ms over {n} requests")
finally:
    stop.set()
    server.close()
