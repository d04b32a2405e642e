"""Tests for the stand-in operator server and its content builder.

The server runs as a real subprocess; requests go over a plain socket in the
absolute form a client sends to its proxy, so framing is checked byte by byte.
"""

import hashlib
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import uuid
from urllib.parse import quote, unquote

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "server.py")
MAKE_CONTENT = os.path.join(HERE, "make_content.py")
DEFAULT_CONTENT = os.path.join(HERE, "default")

sys.path.insert(0, HERE)
import make_content  # noqa: E402

# Guards against a hung test; no assertion depends on these durations.
SOCKET_GUARD = 10.0
PROCESS_GUARD = 10.0

STATS = "tj.8266tj.test"
PORTAL = "www.8266.test"


# -- a minimal HTTP/1.1 client over a raw socket ---------------------------

class Response:
    def __init__(self, status, headers, body):
        self.status = status
        self.headers = headers  # list of (name, value)
        self.body = body

    def header(self, name):
        values = [v for k, v in self.headers if k.lower() == name.lower()]
        return values[0] if values else None


class Conn:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=SOCKET_GUARD)
        self.rfile = self.sock.makefile("rb")

    def close(self):
        self.rfile.close()
        self.sock.close()

    def send(self, url, headers=None, method="GET"):
        lines = ["%s %s HTTP/1.1" % (method, url)]
        if headers is None:
            headers = [("Host", _host_of(url))]
        lines += ["%s: %s" % kv for kv in headers]
        self.sock.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("utf-8"))

    def read_head(self):
        status_line = self.rfile.readline()
        if not status_line:
            raise ConnectionError("connection closed before a status line")
        m = re.match(rb"HTTP/1\.[01] (\d{3})", status_line)
        if not m:
            raise AssertionError("bad status line %r" % status_line)
        headers = []
        while True:
            line = self.rfile.readline()
            if line in (b"\r\n", b""):
                break
            name, _, value = line.decode("latin-1").partition(":")
            headers.append((name.strip(), value.strip()))
        return int(m.group(1)), headers

    def read_to_eof(self):
        chunks = []
        while True:
            b = self.rfile.read1(65536)
            if not b:
                return b"".join(chunks)
            chunks.append(b)

    def read_chunked(self):
        body = []
        while True:
            size = int(self.rfile.readline().split(b";")[0].strip(), 16)
            if size == 0:
                self.rfile.readline()  # blank line after the last chunk
                return b"".join(body)
            body.append(self.rfile.read(size))
            self.assert_crlf()

    def assert_crlf(self):
        if self.rfile.read(2) != b"\r\n":
            raise AssertionError("chunk not followed by CRLF")

    def request(self, url, headers=None, method="GET"):
        """Full request/response following the framing the server announces."""
        self.send(url, headers, method)
        status, hdrs = self.read_head()
        resp = Response(status, hdrs, None)
        if resp.header("Transfer-Encoding"):
            resp.body = self.read_chunked()
        elif resp.header("Content-Length") is not None:
            resp.body = self.rfile.read(int(resp.header("Content-Length")))
        else:
            resp.body = self.read_to_eof()
        return resp


def _host_of(url):
    return url.split("://", 1)[1].split("/", 1)[0]


def get(port, url, headers=None):
    c = Conn(port)
    try:
        return c.request(url, headers)
    finally:
        c.close()


# -- server process ---------------------------------------------------------

class ServerProcess:
    def __init__(self, root):
        self.work = tempfile.mkdtemp(prefix="standin-run-")
        self.log = os.path.join(self.work, "requests.jsonl")
        self.port_file = os.path.join(self.work, "port")
        self.proc = subprocess.Popen(
            [sys.executable, SERVER, "--root", root, "--port-file", self.port_file,
             "--log", self.log],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.port = self._wait_for_port()

    def _wait_for_port(self):
        deadline = time.monotonic() + PROCESS_GUARD
        while time.monotonic() < deadline:
            if os.path.exists(self.port_file):
                with open(self.port_file) as f:
                    text = f.read()
                if not re.fullmatch(r"\d+\n", text):
                    raise AssertionError("port file holds %r" % text)
                return int(text)
            if self.proc.poll() is not None:
                raise AssertionError("server exited early: %s" % self.proc.stderr.read().decode())
            time.sleep(0.02)
        self.kill()
        raise AssertionError("server never wrote its port file")

    def log_records(self):
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def stop(self, sig=signal.SIGTERM):
        """Signal the server and return (exit code, stderr text)."""
        self.proc.send_signal(sig)
        try:
            rc = self.proc.wait(timeout=PROCESS_GUARD)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("server did not exit after signal %d" % sig)
        err = self.proc.stderr.read().decode("utf-8", "replace")
        self.proc.stderr.close()
        shutil.rmtree(self.work, ignore_errors=True)
        return rc, err

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.proc.stderr and not self.proc.stderr.closed:
            self.proc.stderr.close()
        shutil.rmtree(self.work, ignore_errors=True)


def write_file(root, rel, data):
    path = os.path.join(root, *rel.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return data


def write_rules(root, rules):
    # Atomic so a request never reads half a file.
    tmp = os.path.join(root, "_rules.json.tmp")
    with open(tmp, "w", encoding="utf-8") as f:
        if isinstance(rules, str):
            f.write(rules)
        else:
            json.dump(rules, f, ensure_ascii=False)
    os.replace(tmp, os.path.join(root, "_rules.json"))


class ServerTestBase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.base = tempfile.mkdtemp(prefix="standin-test-")
        cls.root = os.path.join(cls.base, "root")
        os.makedirs(cls.root)
        cls.files = {
            "active": write_file(cls.root, STATS + "/active.htm", os.urandom(40)),
            "notice": write_file(cls.root, STATS + "/notice/pelux.txt", "公告|测试".encode("gbk")),
            "config": write_file(cls.root, STATS + "/update/ConfigPelux.htm", os.urandom(1500)),
            "index": write_file(cls.root, PORTAL + "/index.html", os.urandom(64)),
            "spaced": write_file(cls.root, PORTAL + "/dir x/f.bin", os.urandom(33)),
            "noext": write_file(cls.root, PORTAL + "/data/blob", os.urandom(17)),
            "subindex": write_file(cls.root, PORTAL + "/pelux/index.html", os.urandom(21)),
        }
        # Targets for escape attempts: beside the host folders and outside ROOT.
        cls.secret = write_file(cls.root, "secret.txt", b"inside-root-secret")
        write_file(cls.base, "outside.txt", b"outside-root-secret")
        cls.server = ServerProcess(cls.root)

    @classmethod
    def tearDownClass(cls):
        cls.server.kill()
        shutil.rmtree(cls.base, ignore_errors=True)

    def tearDown(self):
        try:
            os.remove(os.path.join(self.root, "_rules.json"))
        except FileNotFoundError:
            pass

    @property
    def port(self):
        return self.server.port

    def log_for(self, url):
        return [r for r in self.server.log_records() if r["url"] == url]


class ContentTests(ServerTestBase):
    def test_files_served_with_exact_body_length_and_type(self):
        cases = [
            # (request target, Host header, file key, Content-Type)
            ("http://%s/active.htm?tag=web8266&ver=3.0.1.2&count=1" % STATS, STATS, "active", "text/html"),
            ("http://TJ.8266TJ.test:80/notice/pelux.txt", "TJ.8266TJ.test:80", "notice", "text/plain"),
            ("http://%s/" % PORTAL, PORTAL, "index", "text/html"),
            ("http://%s" % PORTAL, PORTAL, "index", "text/html"),
            ("http://%s/pelux/" % PORTAL, PORTAL, "subindex", "text/html"),
            ("http://%s/dir%%20x/f.bin" % PORTAL, PORTAL, "spaced", "application/octet-stream"),
            ("http://%s/data/blob" % PORTAL, PORTAL, "noext", "application/octet-stream"),
            ("/update/ConfigPelux.htm?x=1", STATS, "config", "text/html"),
        ]
        for target, host, key, ctype in cases:
            with self.subTest(target=target):
                r = get(self.port, target, [("Host", host)])
                self.assertEqual(r.status, 200)
                self.assertEqual(r.body, self.files[key])
                self.assertEqual(r.header("Content-Length"), str(len(self.files[key])))
                self.assertEqual(r.header("Content-Type").split(";")[0], ctype)

    def test_missing_and_escaping_paths_are_404(self):
        cases = [
            ("http://%s/nothing-here.htm" % STATS, STATS),
            ("http://unknown.test/active.htm", "unknown.test"),
            ("http://%s/../secret.txt" % STATS, STATS),
            ("http://%s/%%2e%%2e/secret.txt" % STATS, STATS),
            ("http://%s/notice/../../secret.txt" % STATS, STATS),
            ("http://%s/..%%2f..%%2foutside.txt" % STATS, STATS),
            ("http://%s/..%%5csecret.txt" % STATS, STATS),
            ("/../../outside.txt", STATS),
            ("/secret.txt", ".."),
        ]
        c = Conn(self.port)
        try:
            for target, host in cases:
                with self.subTest(target=target, host=host):
                    # One connection for all: a 404 must keep correct framing.
                    r = c.request(target, [("Host", host)])
                    self.assertEqual(r.status, 404)
                    self.assertEqual(r.header("Content-Length"), str(len(r.body)))
                    self.assertGreater(len(r.body), 0)
                    self.assertNotIn(b"secret", r.body)
        finally:
            c.close()
        logged = {rec["url"] for rec in self.server.log_records()}
        self.assertIn("http://%s/../secret.txt" % STATS, logged)

    def test_directory_without_slash_redirects(self):
        r = get(self.port, "http://%s/pelux?cid=4224" % PORTAL)
        self.assertEqual(r.status, 301)
        self.assertEqual(r.header("Location"), "http://%s/pelux/?cid=4224" % PORTAL)
        self.assertEqual(r.header("Content-Length"), str(len(r.body)))

    def test_log_records_request_as_received(self):
        token = uuid.uuid4().hex
        url = "http://%s/active.htm?tag=web8266&ver=3.0.1.2&count=1&t=%s" % (STATS, token)
        headers = [
            ("Accept-Language", "zh-cn "),  # trailing space is what the client sends
            ("Content-Type", "application/x-www-form-urlencoded"),
            ("User-Agent", "ZPA"),
            ("Host", STATS),
            ("X-Dup", "first"),
            ("Proxy-Connection", "Keep-Alive"),
            ("X-Dup", "second"),
        ]
        before = time.time()
        r = get(self.port, url, headers)
        after = time.time()
        self.assertEqual(r.status, 200)
        records = self.log_for(url)
        self.assertEqual(len(records), 1)
        rec = records[0]
        self.assertEqual(rec["method"], "GET")
        self.assertEqual(rec["host"], STATS)
        self.assertEqual(rec["path"], "/active.htm")
        self.assertEqual(rec["query"], "tag=web8266&ver=3.0.1.2&count=1&t=" + token)
        self.assertEqual(rec["headers"], [list(h) for h in headers])
        self.assertIsInstance(rec["time"], float)
        self.assertTrue(before <= rec["time"] <= after)

    def test_log_rebuilds_url_for_origin_form(self):
        token = uuid.uuid4().hex
        r = get(self.port, "/missing-%s.htm?q=%s" % (token, token), [("Host", "Tj.8266tj.test:8080")])
        self.assertEqual(r.status, 404)
        rec, = self.log_for("http://Tj.8266tj.test:8080/missing-%s.htm?q=%s" % (token, token))
        self.assertEqual(rec["host"], STATS)
        self.assertEqual(rec["path"], "/missing-%s.htm" % token)
        self.assertEqual(rec["query"], "q=" + token)

    def test_log_target_drops_only_the_default_port(self):
        token = uuid.uuid4().hex
        cases = [
            ("http://TJ.8266tj.test:80/a-%s.htm?x=1" % token, "http://tj.8266tj.test/a-%s.htm?x=1" % token),
            ("http://tj.8266tj.test:8080/b-%s.htm" % token, "http://tj.8266tj.test:8080/b-%s.htm" % token),
            ("http://tj.8266tj.test/c-%s.htm" % token, "http://tj.8266tj.test/c-%s.htm" % token),
        ]
        for sent, target in cases:
            with self.subTest(sent=sent):
                get(self.port, sent, [("Host", STATS)])
                rec, = self.log_for(sent)
                self.assertEqual(rec["target"], target)

    def test_keep_alive_serves_several_requests_on_one_connection(self):
        c = Conn(self.port)
        try:
            order = ["active", "notice", "active", "config"]
            paths = {"active": "/active.htm", "notice": "/notice/pelux.txt",
                     "config": "/update/ConfigPelux.htm"}
            for key in order:
                r = c.request("http://%s%s" % (STATS, paths[key]))
                self.assertEqual(r.status, 200)
                self.assertEqual(r.body, self.files[key])
                self.assertNotEqual((r.header("Connection") or "").lower(), "close")
        finally:
            c.close()

    def test_pipelined_requests_are_answered_in_order(self):
        c = Conn(self.port)
        try:
            c.send("http://%s/notice/pelux.txt" % STATS)
            c.send("http://%s/active.htm" % STATS)
            for key in ("notice", "active"):
                status, hdrs = c.read_head()
                length = int(dict((k.lower(), v) for k, v in hdrs)["content-length"])
                self.assertEqual(status, 200)
                self.assertEqual(c.rfile.read(length), self.files[key])
        finally:
            c.close()


class RuleTests(ServerTestBase):
    CONFIG = "http://%s/update/ConfigPelux.htm" % STATS
    KEY = STATS + "/update/ConfigPelux.htm"

    def test_status_and_body_rules_keep_framing(self):
        text = "更新配置暂不可用"
        cases = [
            # (rule, url, status, body)
            ({"status": 500}, self.CONFIG, 500, self.files["config"]),
            ({"status": 503, "body": text}, self.CONFIG, 503, text.encode("utf-8")),
            ({"body": text}, self.CONFIG, 200, text.encode("utf-8")),
            ({"status": 500}, "http://%s/update/none.htm" % STATS, 500, None),
            ({"chunked": True}, "http://%s/update/none.htm" % STATS, 404, None),
        ]
        c = Conn(self.port)
        try:
            for rule, url, status, body in cases:
                with self.subTest(rule=rule, url=url):
                    write_rules(self.root, {url[len("http://"):]: rule})
                    r = c.request(url)
                    self.assertEqual(r.status, status)
                    if body is not None:
                        self.assertEqual(r.body, body)
                    else:
                        self.assertIn(str(status).encode(), r.body)
                    if not rule.get("chunked"):
                        self.assertEqual(r.header("Content-Length"), str(len(r.body)))
        finally:
            c.close()

    def test_no_length_sends_body_then_closes(self):
        write_rules(self.root, {self.KEY: {"no_length": True}})
        c = Conn(self.port)
        try:
            c.send(self.CONFIG)
            status, hdrs = c.read_head()
            names = {k.lower(): v for k, v in hdrs}
            self.assertEqual(status, 200)
            self.assertNotIn("content-length", names)
            self.assertNotIn("transfer-encoding", names)
            self.assertEqual(names.get("connection", "").lower(), "close")
            self.assertEqual(c.read_to_eof(), self.files["config"])
        finally:
            c.close()

    def test_chunked_body_and_connection_stays_usable(self):
        write_rules(self.root, {self.KEY: {"chunked": True}})
        c = Conn(self.port)
        try:
            c.send(self.CONFIG)
            status, hdrs = c.read_head()
            names = {k.lower(): v for k, v in hdrs}
            self.assertEqual(status, 200)
            self.assertEqual(names.get("transfer-encoding"), "chunked")
            self.assertNotIn("content-length", names)
            sizes = []
            body = b""
            while True:
                size = int(c.rfile.readline().strip(), 16)
                sizes.append(size)
                if size == 0:
                    self.assertEqual(c.rfile.readline(), b"\r\n")
                    break
                body += c.rfile.read(size)
                c.assert_crlf()
            self.assertEqual(body, self.files["config"])
            self.assertGreater(len(sizes), 2, "expected the 1500-byte file in several chunks")
            r = c.request("http://%s/active.htm" % STATS)
            self.assertEqual(r.body, self.files["active"])
        finally:
            c.close()

    def test_announced_length_differs_from_body(self):
        full = self.files["config"]
        cases = [
            # (rule, announced Content-Length, bytes on the wire before close)
            ({"truncate": 100}, len(full), full[:100]),
            ({"truncate": 0}, len(full), b""),
            ({"truncate": 100, "length": 5000}, 5000, full[:100]),
            ({"length": len(full) + 200}, len(full) + 200, full),
            ({"length": 10}, 10, full),
        ]
        for rule, announced, wire in cases:
            with self.subTest(rule=rule):
                write_rules(self.root, {self.KEY: rule})
                c = Conn(self.port)
                try:
                    c.send(self.CONFIG)
                    status, hdrs = c.read_head()
                    names = {k.lower(): v for k, v in hdrs}
                    self.assertEqual(status, 200)
                    self.assertEqual(names.get("content-length"), str(announced))
                    self.assertEqual(c.read_to_eof(), wire)
                finally:
                    c.close()

    def test_exact_length_rule_keeps_connection_alive(self):
        write_rules(self.root, {self.KEY: {"length": len(self.files["config"])}})
        c = Conn(self.port)
        try:
            for _ in range(2):
                r = c.request(self.CONFIG)
                self.assertEqual(r.body, self.files["config"])
        finally:
            c.close()

    def test_stall_sends_headers_then_closes_without_body(self):
        write_rules(self.root, {self.KEY: {"stall": 0.3}})
        c = Conn(self.port)
        try:
            c.send(self.CONFIG)
            status, hdrs = c.read_head()
            names = {k.lower(): v for k, v in hdrs}
            self.assertEqual(status, 200)
            self.assertEqual(names.get("content-length"), str(len(self.files["config"])))
            self.assertEqual(c.read_to_eof(), b"")
        finally:
            c.close()

    def test_stall_ends_when_client_abandons(self):
        # A 600 s stall: only noticing the client's hang-up lets the server
        # close in time for the socket guard.
        write_rules(self.root, {self.KEY: {"stall": 600}})
        c = Conn(self.port)
        try:
            c.send(self.CONFIG)
            status, _ = c.read_head()
            self.assertEqual(status, 200)
            c.sock.shutdown(socket.SHUT_WR)
            self.assertEqual(c.read_to_eof(), b"")
        finally:
            c.close()
        # Stalls run on their own thread: other requests are unaffected.
        self.assertEqual(get(self.port, "http://%s/active.htm" % STATS).body, self.files["active"])

    def test_stall_does_not_block_other_requests(self):
        write_rules(self.root, {self.KEY: {"stall": 600}})
        stalled = Conn(self.port)
        try:
            stalled.send(self.CONFIG)
            self.assertEqual(stalled.read_head()[0], 200)
            r = get(self.port, "http://%s/notice/pelux.txt" % STATS)
            self.assertEqual(r.body, self.files["notice"])
        finally:
            stalled.close()

    def test_rules_are_reread_on_every_request(self):
        steps = [
            ({self.KEY: {"status": 500, "body": "one"}}, 500, b"one"),
            ({self.KEY: {"body": "two"}}, 200, b"two"),
            ({"other.test/x": {"status": 500}}, 200, None),
            (None, 200, None),
            ("{not json", 500, None),
        ]
        c = Conn(self.port)
        try:
            for rules, status, body in steps:
                with self.subTest(rules=rules):
                    if rules is None:
                        os.remove(os.path.join(self.root, "_rules.json"))
                    else:
                        write_rules(self.root, rules)
                    r = c.request(self.CONFIG)
                    self.assertEqual(r.status, status)
                    if body is not None:
                        self.assertEqual(r.body, body)
                    elif status == 200:
                        self.assertEqual(r.body, self.files["config"])
                    else:
                        self.assertIn(b"_rules.json", r.body)
        finally:
            c.close()

    def test_rule_answers_are_logged(self):
        token = uuid.uuid4().hex
        url = self.CONFIG + "?t=" + token
        write_rules(self.root, {self.KEY: {"status": 500, "no_length": True}})
        c = Conn(self.port)
        try:
            c.send(url)
            self.assertEqual(c.read_head()[0], 500)
            c.read_to_eof()
        finally:
            c.close()
        rec, = self.log_for(url)
        self.assertEqual(rec["path"], "/update/ConfigPelux.htm")
        self.assertEqual(rec["query"], "t=" + token)


class ShutdownTests(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="standin-test-")
        self.addCleanup(shutil.rmtree, self.root, True)
        write_file(self.root, STATS + "/update/ConfigPelux.htm", os.urandom(300))
        write_rules(self.root, {STATS + "/update/ConfigPelux.htm": {"stall": 600}})

    def test_signal_during_stall_and_idle_keep_alive_exits_cleanly(self):
        for sig in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=sig):
                server = ServerProcess(self.root)
                idle = stalled = None
                try:
                    idle = Conn(server.port)
                    idle.request("http://%s/update/ConfigPelux.htm.none" % STATS)
                    stalled = Conn(server.port)
                    stalled.send("http://%s/update/ConfigPelux.htm" % STATS)
                    self.assertEqual(stalled.read_head()[0], 200)
                    rc, err = server.stop(sig)
                    self.assertEqual(rc, 0)
                    self.assertEqual(err, "")
                    self.assertEqual(stalled.read_to_eof(), b"")
                finally:
                    for c in (idle, stalled):
                        if c:
                            c.close()
                    server.kill()


class MakeContentTests(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="standin-make-")
        self.addCleanup(shutil.rmtree, self.tmp, True)
        self.exe = os.path.join(self.tmp, "client.exe")
        self.exe_bytes = write_file(self.tmp, "client.exe", os.urandom(5000))

    def test_version_key_matches_md5_of_file(self):
        digest = hashlib.md5(self.exe_bytes).hexdigest()
        cases = [("3.0.1.2", "3012"), ("10.2.0.15", "102015"), ("7", "7")]
        for version, digits in cases:
            with self.subTest(version=version):
                key = make_content.version_key(self.exe, version)
                self.assertEqual(len(key), 32)
                self.assertEqual(key, digest[:32 - len(digits)] + digits)

    def test_version_key_rejects_non_numeric_version(self):
        for version in ("", "3.0.x", "3..1"):
            with self.subTest(version=version):
                with self.assertRaises(ValueError):
                    make_content.version_key(self.exe, version)

    def test_cli_builds_fresh_root_with_update_config(self):
        out = os.path.join(self.tmp, "root")
        write_file(out, "stale.test/old.htm", b"old")
        res = subprocess.run([sys.executable, MAKE_CONTENT, "--exe", self.exe, "--out", out],
                             capture_output=True, timeout=PROCESS_GUARD)
        self.assertEqual(res.returncode, 0, res.stderr)
        key = hashlib.md5(self.exe_bytes).hexdigest()[:28] + "3012"
        self.assertEqual(res.stdout.decode().strip(), key)
        self.assertFalse(os.path.exists(os.path.join(out, "stale.test")))
        with open(os.path.join(out, STATS, "update", "ConfigPelux.htm"), "rb") as f:
            config = f.read()
        self.assertEqual(config, b"[VerKey]\r\nPelux=" + key.encode() +
                         b"\r\nUpdAddr=http://tj.8266tj.test/update/Pelux.exe\r\n")
        with open(os.path.join(out, STATS, "update", "Pelux.exe"), "rb") as f:
            self.assertEqual(f.read(), self.exe_bytes)
        for dirpath, _, names in os.walk(DEFAULT_CONTENT):
            for name in names:
                rel = os.path.relpath(os.path.join(dirpath, name), DEFAULT_CONTENT)
                with open(os.path.join(DEFAULT_CONTENT, rel), "rb") as a, \
                        open(os.path.join(out, rel), "rb") as b:
                    self.assertEqual(a.read(), b.read(), rel)

    def test_refuses_to_overwrite_default_content(self):
        for out in (DEFAULT_CONTENT, HERE):
            with self.subTest(out=out):
                with self.assertRaises(ValueError):
                    make_content.build(self.exe, out)
        self.assertTrue(os.path.isfile(os.path.join(DEFAULT_CONTENT, STATS, "webgame.htm")))


class DefaultContentTests(unittest.TestCase):
    def read(self, rel):
        with open(os.path.join(DEFAULT_CONTENT, *rel.split("/")), "rb") as f:
            return f.read()

    def test_notice_is_short_gbk_in_seven_fields_and_current(self):
        raw = self.read(STATS + "/notice/pelux.txt")
        self.assertLess(len(raw), 1024)
        text = raw.decode("gbk")
        fields = text.split("|", 6)
        self.assertEqual(len(fields), 7)
        year, month, day = (int(x) for x in fields[1].split(" ")[0].split("-"))
        self.assertGreaterEqual((year, month, day), time.localtime()[:3])
        self.assertTrue(fields[2], "title must not be empty")
        self.assertTrue(fields[3].startswith("http://"))
        self.assertRegex(fields[6], r"^\d+$")

    def test_pages_issue_the_page_commands(self):
        login = self.read(PORTAL + "/pelux/client/index_v2.html").decode("utf-8")
        for command in ('"app://loadgame|"', '"app://exitgame"', '"app://minimize"'):
            self.assertIn(command, login)
        hall = self.read(STATS + "/webgame.htm").decode("utf-8")
        links = re.findall(r'href="(app://entergame\|[^"]*)"', hall)
        self.assertGreaterEqual(len(links), 2)
        for link in links:
            name = link[len("app://entergame|"):].split("|")[0].replace("/", "")
            self.assertRegex(name, r"^[a-z]")

    @unittest.skipUnless(shutil.which("node"), "node not installed")
    def test_login_page_builds_loadgame_the_launcher_can_split(self):
        html = self.read(PORTAL + "/pelux/client/index_v2.html").decode("utf-8")
        script = re.search(r'<script type="text/javascript">(.*?)</script>', html, re.S).group(1)
        cases = [("12", "电信专区", "player_01"), ("1", "双线一区", "a|b-c 服-x")]
        calls = "".join("console.log(buildLoadGame(%s));" % json.dumps(list(c))[1:-1]
                        for c in cases)
        res = subprocess.run(["node", "-e", script + calls], capture_output=True,
                             timeout=PROCESS_GUARD)
        self.assertEqual(res.returncode, 0, res.stderr)
        for (server, zone, account), url in zip(cases, res.stdout.decode("utf-8").splitlines()):
            with self.subTest(account=account):
                # Split the way the launcher does: word at 6-13, info from 15
                # to the next "|", UTF-8 percent-decoding, then the key fields.
                self.assertTrue(url.startswith("app:"))
                self.assertEqual(url[6:14], "loadgame")
                bar = url.index("|", 15)
                info = unquote(url[15:bar])
                k = info.find("服-")
                m = info.find("-", k + 2)
                middle = info[k + 2:m]
                self.assertEqual(info[:k].replace("S", ""), server)
                self.assertEqual(middle[middle.index("》") + 1:][:4], zone)
                self.assertEqual(info[m + 1:], account)
                game = url[bar + 1:]
                self.assertTrue(game.startswith("http://%s/" % PORTAL))
                self.assertIn("account=" + quote(account, safe=""), game)


if __name__ == "__main__":
    unittest.main()
