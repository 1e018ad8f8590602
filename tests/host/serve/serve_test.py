"""The preview server without a browser: hostile requests, many clients at once, clients that
send slowly beside event streams that last, a port in use, every address, a container made anew,
and a store rewritten (sometimes half-written) ten times a second.
Usage: serve_test.py PROGRAM CONTAINER"""
import os, select, shutil, socket, subprocess, sys, threading, time, unittest

from preview_server import PreviewServer


def raw(port, request):
    """The status of a request sent byte for byte as given."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(request)
        answer = b""
        while b"\r\n" not in answer and (chunk := s.recv(4096)):
            answer += chunk
    return int(answer.split(b" ")[1]) if answer else 0


def eventually(condition, seconds=30):
    """Whether condition() comes to hold, asked again and again for at most `seconds`."""
    deadline = time.time() + seconds
    while not condition():
        if time.time() > deadline:
            return False
        time.sleep(0.05)
    return True


class ServeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = PreviewServer(sys.argv[1], sys.argv[2])

    @classmethod
    def tearDownClass(cls):
        cls.server.close()

    def test_hostile_requests_are_refused(self):
        s = self.server
        self.server.screen()
        good = f"Host: {s.hostport}\r\n"
        cases = [
            (f"GET / HTTP/1.1\r\n{good}\r\n", 200),
            (f"GET / HTTP/1.1\r\nHost: localhost:{s.port}\r\n\r\n", 200),
            (f"GET / HTTP/1.1\r\nHost: evil.example:{s.port}\r\n\r\n", 403),
            (f"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 403),
            ("GET / HTTP/1.1\r\n\r\n", 400),
            (f"GET / HTTP/1.1\r\n{good}{good}\r\n", 400),
            (f"GET /../../etc/passwd HTTP/1.1\r\n{good}\r\n", 404),
            (f"GET /picture/../../etc/passwd HTTP/1.1\r\n{good}\r\n", 404),
            (f"GET /picture/%2e%2e%2fCMakeLists.txt HTTP/1.1\r\n{good}\r\n", 404),
            (f"GET /picture/v999-0.png HTTP/1.1\r\n{good}\r\n", 404),
            (f"GET /resources/en.lproj/Localizable.strings HTTP/1.1\r\n{good}\r\n", 404),
            (f"POST /api/settings HTTP/1.1\r\n{good}Content-Type: text/plain\r\n"
             "Content-Length: 2\r\n\r\n{}", 415),
            (f"POST /api/settings HTTP/1.1\r\n{good}Content-Type: application/json\r\n"
             "Content-Length: 22\r\n\r\n{\"language\": \"../../\"}", 400),
            (f"POST /api/settings HTTP/1.1\r\n{good}Content-Type: application/json\r\n"
             "Content-Length: 100000\r\n\r\n", 413),
            (f"GET / HTTP/1.1\r\n{good}" + "X-A: b\r\n" * 63 + "\r\n", 200),  # 64 headers
            (f"GET / HTTP/1.1\r\n{good}" + "X-A: b\r\n" * 64 + "\r\n", 431),
            (f"POST /api/reload HTTP/1.1\r\n{good}Content-Type: application/json\r\n"
             "Transfer-Encoding: chunked\r\n\r\n2\r\n{}\r\n0\r\n\r\n", 411),
            (f"POST /api/reload HTTP/1.1\r\n{good}Content-Type: application/json\r\n\r\n", 411),
            (f"GET /{'a' * 9000} HTTP/1.1\r\n{good}\r\n", 414),
        ]
        for request, status in cases:
            with self.subTest(request=request[:60]):
                self.assertEqual(raw(s.port, request.encode()), status)

    def test_a_hundred_clients_at_once(self):
        results = []

        def client():
            try:
                screen = self.server.screen()
                status, png = self.server.get(screen["tiles"][0]["picture"])
                results.append(status == 200 and png.startswith(b"\x89PNG"))
            except Exception as e:  # a refused or broken connection counts as a failure
                results.append(repr(e))

        threads = [threading.Thread(target=client) for _ in range(100)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        self.assertEqual(results, [True] * 100)

    def test_slow_senders_and_event_streams_leave_workers_for_requests(self):
        s = self.server
        request = f"GET /events HTTP/1.1\r\nHost: {s.hostport}\r\n\r\n".encode()

        def next_event(stream):
            for line in stream:  # ends at the socket's time-out
                if line.startswith(b"data:"):
                    return int(line.split()[1])

        def slow_sender(cut):  # a head begun, then one byte every half second
            with socket.create_connection(("127.0.0.1", s.port), timeout=10) as c:
                c.sendall(f"GET / HTTP/1.1\r\nHost: {s.hostport}\r\nX-Slow: ".encode())
                start = time.time()
                try:
                    while time.time() - start < 30:  # bounded: the server cuts it long before
                        c.sendall(b"a")
                        if select.select([c], [], [], 0.5)[0]:
                            c.recv(4096)  # the refusal, or the end
                            break
                    else:
                        return
                except OSError:
                    pass
                cut.append(time.time() - start)

        # More of each than there are workers.
        streams = [socket.create_connection(("127.0.0.1", s.port), timeout=20) for _ in range(20)]
        for c in streams:
            c.sendall(request)
        readers = [c.makefile("rb") for c in streams]
        seen = [next_event(r) for r in readers]
        self.assertNotIn(None, seen)
        cut = []
        senders = [threading.Thread(target=slow_sender, args=(cut,)) for _ in range(20)]
        for t in senders:
            t.start()
        start = time.time()
        while time.time() - start < 7:  # longer than a request may take to come
            self.assertEqual(s.get("/api/state")[0], 200)
            time.sleep(0.05)
        for t in senders:
            t.join()
        self.assertEqual(len(cut), 20, "a slow sender was never cut")
        # The streams outlived that deadline: each still tells of a change.
        s.store("widget_auth_status=logged_in", "widget_balance=2468")
        for r, before in zip(readers, seen):
            self.assertGreater(next_event(r) or 0, before)
        for r, c in zip(readers, streams):
            r.close()
            c.close()

    def test_a_second_server_on_the_port_fails_and_a_stopped_ones_port_is_taken_again(self):
        s = self.server
        second = subprocess.run([sys.argv[1], "--container", s.container, "serve", "--port",
                                 str(s.port)], capture_output=True, text=True, timeout=30)
        self.assertEqual(second.returncode, 1)
        self.assertIn(f"cannot listen on 127.0.0.1:{s.port}: in use", second.stderr)

        first = PreviewServer(sys.argv[1], sys.argv[2])
        with socket.create_connection(("127.0.0.1", first.port), timeout=10) as c:
            c.sendall(f"GET / HTTP/1.1\r\nHost: {first.hostport}\r\nConnection: close\r\n\r\n"
                      .encode())
            while c.recv(4096):  # the server closes first: its port stays in TIME_WAIT
                pass
        first.close()
        again = PreviewServer(sys.argv[1], sys.argv[2], port=first.port)
        try:
            self.assertEqual(again.get("/")[0], 200)
        finally:
            again.close()

    def test_listening_on_every_address_prints_urls_that_are_answered(self):
        every = PreviewServer(sys.argv[1], sys.argv[2], listen="0.0.0.0")
        try:
            self.assertEqual(every.hostport, f"127.0.0.1:{every.port}")
            self.assertEqual(every.get("/")[0], 200)
            # As a browser elsewhere names this machine; sent over loopback all the same.
            for url in every.others:
                host = url.split("//")[1].rstrip("/")
                self.assertEqual(raw(every.port, f"GET / HTTP/1.1\r\nHost: {host}\r\n\r\n".encode()),
                                 200, host)
            for host in ("evil.example", "localhost.evil.example", "203.0.113.9"):
                self.assertEqual(raw(every.port, f"GET / HTTP/1.1\r\nHost: {host}:{every.port}\r\n\r\n"
                                     .encode()), 403, host)
        finally:
            every.close()

    def test_the_page_follows_a_container_moved_away_or_deleted_and_made_again(self):
        s = self.server
        s.post("/api/settings", {"mode": "live"})
        s.store("widget_auth_status=logged_in", "widget_balance=16180")
        self.assertTrue(eventually(lambda: "16,180" in s.texts()), s.texts())
        for take_away, balance in ((lambda c: os.rename(c, c + ".moved"), "31,337"),
                                   (shutil.rmtree, "27,182")):
            take_away(s.container)  # the page shows the path empty, then what is made there
            self.assertTrue(eventually(lambda: "Sign in" in s.texts()), s.texts())
            shutil.copytree(s.sample, s.container)
            s.store("widget_auth_status=logged_in", "widget_balance=" + balance.replace(",", ""))
            self.assertTrue(eventually(lambda: balance in s.texts()), s.texts())

    def test_as_the_phone_a_timeline_is_kept_until_its_reload_date(self):
        s = self.server
        s.post("/api/settings", {"mode": "phone"})
        s.store("widget_auth_status=logged_in", "widget_balance=777")
        s.post("/api/reload", {})
        tiles = {t["kind"]: t for t in s.screen()["tiles"] if t["family"] == "small"}
        self.assertEqual(tiles["TamsaAddTransactionWidget"]["policy"], "never")
        self.assertIsNone(tiles["TamsaAddTransactionWidget"]["nextReload"])
        s.store("widget_balance=888")
        time.sleep(0.3)
        self.assertIn("777", s.texts())
        s.post("/api/clock", {"move": "set", "at": tiles["TamsaWidget"]["nextReload"]})
        self.assertIn("888", s.texts())
        s.store("widget_balance=999")
        self.assertIn("888", s.texts())
        s.post("/api/reload", {})
        self.assertIn("999", s.texts())
        s.post("/api/settings", {"mode": "live"})

    def test_store_rewritten_ten_times_a_second_shows_the_last_good_write(self):
        s = self.server
        for i in range(15):
            if i % 5 == 4:  # half a suite, as a writer that does not rename would leave it
                with open(s.suite, "r+b") as f:
                    f.truncate(20)
                tiles = s.screen()["tiles"]
                self.assertTrue(all("picture" in t for t in tiles), tiles)
            s.store("widget_auth_status=logged_in", f"widget_balance={1000 + i}")
            time.sleep(0.1)
        s.store("widget_auth_status=logged_in", "widget_balance=4321")
        deadline = time.time() + 1
        while "4,321" not in s.texts() and time.time() < deadline:
            time.sleep(0.05)
        self.assertIn("4,321", s.texts())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
