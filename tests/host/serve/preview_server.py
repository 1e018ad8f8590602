"""Starts `tamsa-widgets serve` on a free port (or the one given) over a copy of the sample
container, for the preview's tests; the clock is fixed so that timelines and reload dates are
known."""
import json, os, queue, shutil, subprocess, tempfile, threading, urllib.request

NOW = "2026-03-14T09:41:00Z"


class PreviewServer:
    def __init__(self, program, sample_container, listen=None, port=0):
        self.program = program
        self.sample = sample_container
        self.dir = tempfile.mkdtemp()
        self.container = os.path.join(self.dir, "container")
        shutil.copytree(sample_container, self.container)
        self.suite = os.path.join(self.container, "Library/Preferences/group.com.tamsaledger.app.plist")
        self.proc = subprocess.Popen(
            [program, "--container", self.container, "--now", NOW, "--language", "en", "serve",
             "--port", str(port), "--scale", "1"] + (["--listen", listen] if listen else []),
            stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()  # what it prints, "" at the end; read with a bound
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        try:
            line = self.lines.get(timeout=60)
            assert line, f"serve did not start (status {self.proc.wait(timeout=10)})"
            self.hostport = line.split("http://")[1].split("/")[0]
            self.port = int(self.hostport.rsplit(":", 1)[1])
            self.url = "http://" + self.hostport
            # Listening on every address, a second line names the URLs for other machines.
            others = self.lines.get(timeout=10) if listen in ("0.0.0.0", "::") else ""
            self.others = [w for w in others.split() if w.startswith("http://")]
        except BaseException:
            self.proc.kill()
            self.proc.wait()
            shutil.rmtree(self.dir, ignore_errors=True)
            raise

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line)
        self.lines.put("")

    def store(self, *items):
        subprocess.run([self.program, "--container", self.container, "store", "set", "--force", *items],
                       check=True, stdout=subprocess.DEVNULL)

    def get(self, path):
        with urllib.request.urlopen(self.url + path, timeout=10) as r:
            return r.status, r.read()

    def post(self, path, body):
        req = urllib.request.Request(self.url + path, json.dumps(body).encode(),
                                     {"Content-Type": "application/json"})
        with urllib.request.urlopen(req, timeout=10) as r:
            return json.loads(r.read())

    def screen(self):
        return json.loads(self.get("/api/screen")[1])

    def texts(self, kind="TamsaWidget", family="medium"):
        for t in self.screen()["tiles"]:
            if t["kind"] == kind and t["family"] == family:
                return " ".join(t.get("texts", []))
        return ""

    def close(self):
        self.proc.terminate()
        status = self.proc.wait(timeout=10)
        self.reader.join(timeout=10)
        self.proc.stdout.close()
        shutil.rmtree(self.dir, ignore_errors=True)
        assert status == 0, f"serve ended with status {status}"  # a sanitizer's report, say
