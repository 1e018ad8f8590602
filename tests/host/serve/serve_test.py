"""The preview server without a browser: hostile requests, many clients at once, and a store
rewritten (sometimes half-written) ten times a second. Usage: serve_test.py PROGRAM CONTAINER"""
import json, socket, sys, threading, time, unittest

from preview_server import PreviewServer


def raw(port, request):
    """The status of a request sent byte for byte as given."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(request)
        answer = b""
        while b"\r\n" not in answer:
            chunk = s.recv(4096)
            if not chunk:
                break
            answer += chunk
    return int(answer.split(b" ")[1]) if answer else 0


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
            (f"GET / HTTP/1.1\r\n{good}" + "X-A: b\r\n" * 80 + "\r\n", 431),
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
