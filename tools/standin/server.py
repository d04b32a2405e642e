#!/usr/bin/env python3
"""Stand-in for the operator's web hosts, reached by the client as its HTTP proxy.

Content comes from ROOT/<host>/<path>; ROOT/_rules.json can bend individual
responses (status, body, broken framing, stalls) so tests can drive the
client's failure paths. Every request is appended to a JSON-lines log.

Usage: server.py --root DIR [--port N] [--port-file FILE] --log FILE
"""

import argparse
import json
import mimetypes
import os
import posixpath
import select
import signal
import socket
import sys
import threading
import time
import traceback
from http import HTTPStatus
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import unquote, urlsplit

RULES_FILE = "_rules.json"
MAX_STALL = 600.0
CHUNK_SIZE = 512
# A fresh MimeTypes() uses only the built-in table, so answers do not depend
# on the host's /etc/mime.types.
_MIME = mimetypes.MimeTypes()


def normal_url(url):
    """The URL without a default port and with the host in lower case.

    Network stacks differ on whether a proxy request names port 80; tests
    compare addresses in this form."""
    parts = urlsplit(url)
    if parts.scheme.lower() not in ("http", "https") or not parts.hostname:
        return url
    default = 80 if parts.scheme.lower() == "http" else 443
    netloc = parts.hostname
    if parts.port not in (None, default):
        netloc += ":%d" % parts.port
    return parts._replace(scheme=parts.scheme.lower(), netloc=netloc).geturl()


class RuleError(Exception):
    pass


def content_type_for(path):
    ctype, _ = _MIME.guess_type(path)
    return ctype or "application/octet-stream"


def host_key(netloc):
    """Lower-case host without port or user info; '' when there is none."""
    if not netloc:
        return ""
    try:
        host = urlsplit("//" + netloc).hostname
    except ValueError:
        return ""
    return host or ""


def resolve_file(root, host, raw_path):
    """Map host + raw URL path to a file under root, or None if not allowed.

    Returns (file_path, is_dir_without_slash).
    """
    if not host or host in (".", "..") or "/" in host or "\\" in host or "\0" in host:
        return None, False
    decoded = unquote(raw_path or "/")
    if "\0" in decoded:
        return None, False
    segments = decoded.split("/")
    # Backslashes are separators to the client's platform; treat ".." hidden
    # behind them as an escape too.
    for seg in segments:
        if ".." in seg.replace("\\", "/").split("/"):
            return None, False
        if "\\" in seg:
            return None, False
    parts = [s for s in segments if s not in ("", ".")]
    base = os.path.join(root, host)
    full = os.path.normpath(os.path.join(base, *parts))
    root_n = os.path.normpath(root)
    if full != root_n and not full.startswith(root_n + os.sep):
        return None, False
    if decoded.endswith("/"):
        return os.path.join(full, "index.html"), False
    if os.path.isdir(full):
        return full, True
    return full, False


def load_rules(root):
    path = os.path.join(root, RULES_FILE)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return {}
    try:
        rules = json.loads(data.decode("utf-8"))
    except (ValueError, UnicodeDecodeError) as e:
        raise RuleError("%s is not valid JSON: %s" % (RULES_FILE, e))
    if not isinstance(rules, dict):
        raise RuleError("%s must hold a JSON object" % RULES_FILE)
    return rules


def _int_field(rule, name, minimum):
    v = rule.get(name)
    if v is None:
        return None
    if isinstance(v, bool) or not isinstance(v, int) or v < minimum:
        raise RuleError("rule field %r must be an integer >= %d" % (name, minimum))
    return v


def check_rule(rule):
    if not isinstance(rule, dict):
        raise RuleError("a rule must be a JSON object")
    known = {"status", "body", "no_length", "chunked", "truncate", "stall", "length"}
    unknown = set(rule) - known
    if unknown:
        raise RuleError("unknown rule fields: %s" % ", ".join(sorted(unknown)))
    status = _int_field(rule, "status", 100)
    if status is not None and status > 999:
        raise RuleError("rule field 'status' must be 100..999")
    if "body" in rule and not isinstance(rule["body"], str):
        raise RuleError("rule field 'body' must be a string")
    _int_field(rule, "truncate", 0)
    _int_field(rule, "length", 0)
    stall = rule.get("stall")
    if stall is not None and (isinstance(stall, bool) or not isinstance(stall, (int, float)) or stall < 0):
        raise RuleError("rule field 'stall' must be a non-negative number")
    return rule


class RequestLog:
    def __init__(self, path):
        self._lock = threading.Lock()
        self._f = open(path, "a", encoding="utf-8", newline="\n")

    def write(self, record):
        line = json.dumps(record, ensure_ascii=False) + "\n"
        with self._lock:
            if self._f.closed:
                return  # a straggling handler during shutdown
            self._f.write(line)
            self._f.flush()
            try:
                os.fsync(self._f.fileno())
            except OSError:
                pass

    def close(self):
        with self._lock:
            self._f.close()


class StandinServer(ThreadingHTTPServer):
    daemon_threads = True
    # Idle keep-alive connections must not hold up server_close().
    block_on_close = False

    def __init__(self, address, root, log):
        self.root = os.path.abspath(root)
        self.request_log = log
        self.stopping = threading.Event()
        self._conns = set()
        self._conns_lock = threading.Lock()
        super().__init__(address, StandinHandler)

    def track(self, sock, add):
        with self._conns_lock:
            if add:
                self._conns.add(sock)
            else:
                self._conns.discard(sock)

    def close_connections(self):
        """Wake every handler blocked on a client so the process can exit."""
        self.stopping.set()
        with self._conns_lock:
            conns = list(self._conns)
        for sock in conns:
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def handle_error(self, request, client_address):
        exc = sys.exc_info()[1]
        if isinstance(exc, OSError):
            return  # the client went away; routine for a proxy
        sys.stderr.write("standin: handler failure for %s:%s\n" % client_address[:2])
        traceback.print_exc()


class StandinHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "StandinOperator/1.0"
    # Reclaims threads of clients that hold idle keep-alive connections open.
    timeout = 300

    def setup(self):
        super().setup()
        self.server.track(self.connection, True)

    def finish(self):
        self.server.track(self.connection, False)
        try:
            super().finish()
        except OSError:
            pass

    def handle(self):
        try:
            super().handle()
        except OSError:
            self.close_connection = True

    def log_message(self, format, *args):
        pass

    def version_string(self):
        return self.server_version

    def __getattr__(self, name):
        # Any method is served and logged, not only those with a do_ method.
        if name.startswith("do_"):
            return self._serve
        raise AttributeError(name)

    # -- request side -----------------------------------------------------

    def _target(self):
        """(absolute url, host, raw path, query) of the request."""
        target = self.path
        lower = target[:8].lower()
        if lower.startswith("http://") or lower.startswith("https://"):
            parts = urlsplit(target)
            return target, host_key(parts.netloc), parts.path or "/", parts.query
        if target.startswith("/"):
            host_hdr = self.headers.get("Host", "")
            url = "http://" + host_hdr + target
            path, _, query = target.partition("?")
            path = path.split("#", 1)[0]
            return url, host_key(host_hdr), path or "/", query
        return target, "", "", ""

    def _drain_body(self):
        te = self.headers.get("Transfer-Encoding", "")
        if te and te.lower() != "identity":
            # Not worth decoding for a test server: the next request could
            # not be found reliably, so end the connection after answering.
            self.close_connection = True
            return
        length = self.headers.get("Content-Length")
        if not length:
            return
        try:
            remaining = int(length)
        except ValueError:
            self.close_connection = True
            return
        while remaining > 0:
            got = self.rfile.read(min(remaining, 65536))
            if not got:
                self.close_connection = True
                return
            remaining -= len(got)

    # -- response side ----------------------------------------------------

    def _serve(self):
        url, host, raw_path, query = self._target()
        self.server.request_log.write({
            "method": self.command,
            "url": url,
            "target": normal_url(url),
            "host": host,
            "path": raw_path,
            "query": query,
            "headers": [[k, v] for k, v in self.headers.items()],
            "time": time.time(),
        })
        self._drain_body()

        if self.command == "CONNECT" or not raw_path:
            self._plain(HTTPStatus.METHOD_NOT_ALLOWED, b"405 Method Not Allowed\n", "text/plain", close=True)
            return

        root = self.server.root
        try:
            rules = load_rules(root)
            rule = rules.get(host + raw_path)
            if rule is None:
                decoded = unquote(raw_path)
                if decoded != raw_path:
                    rule = rules.get(host + decoded)
            rule = check_rule(rule) if rule is not None else {}
        except RuleError as e:
            self._plain(500, ("standin: %s\n" % e).encode("utf-8"), "text/plain; charset=utf-8")
            return

        status = rule.get("status")
        body = None
        ctype = "text/plain; charset=utf-8"
        if "body" in rule:
            body = rule["body"].encode("utf-8")
            file_path, is_dir = resolve_file(root, host, raw_path)
            if file_path and not is_dir:
                ctype = content_type_for(file_path)
        else:
            file_path, is_dir = resolve_file(root, host, raw_path)
            if is_dir and not rule:
                location = "http://%s%s/" % (self.headers.get("Host") or host, raw_path)
                if query:
                    location += "?" + query
                self._plain(HTTPStatus.MOVED_PERMANENTLY, b"moved\n", "text/plain",
                            extra=[("Location", location)])
                return
            if file_path and not is_dir and os.path.isfile(file_path):
                try:
                    with open(file_path, "rb") as f:
                        body = f.read()
                    ctype = content_type_for(file_path)
                except OSError:
                    body = None
        if body is None:
            status = status or 404
            body = ("%d %s\n" % (status, _phrase(status))).encode("ascii")
        status = status or 200
        self._respond(status, body, ctype, rule)

    def _plain(self, status, body, ctype, close=False, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        if close:
            self.send_header("Connection", "close")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def _respond(self, status, body, ctype, rule):
        head_only = self.command == "HEAD"
        announced = rule.get("length")
        if announced is None:
            announced = len(body)

        self.send_response(status)
        self.send_header("Content-Type", ctype)

        if rule.get("stall") is not None:
            self.send_header("Content-Length", str(announced))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.flush()
            self._stall(min(float(rule["stall"]), MAX_STALL))
            return

        if rule.get("truncate") is not None:
            self.send_header("Content-Length", str(announced))
            self.send_header("Connection", "close")
            self.end_headers()
            if not head_only:
                self.wfile.write(body[:rule["truncate"]])
            return

        if rule.get("no_length"):
            self.send_header("Connection", "close")
            self.end_headers()
            if not head_only:
                self.wfile.write(body)
            return

        if rule.get("chunked"):
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            if not head_only:
                for i in range(0, len(body), CHUNK_SIZE):
                    piece = body[i:i + CHUNK_SIZE]
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.write(b"0\r\n\r\n")
            return

        self.send_header("Content-Length", str(announced))
        if announced != len(body):
            # The framing is wrong on purpose; what follows on this
            # connection could not be parsed, so end it.
            self.send_header("Connection", "close")
        self.end_headers()
        if not head_only:
            self.wfile.write(body)

    def _stall(self, seconds):
        """Hold the connection silent until timeout, client hang-up or shutdown."""
        self.close_connection = True
        sock = self.connection
        stopping = self.server.stopping
        deadline = time.monotonic() + seconds
        while not stopping.is_set():
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                return
            try:
                ready, _, _ = select.select([sock], [], [], min(remaining, 0.1))
                if ready:
                    if not sock.recv(1, socket.MSG_PEEK):
                        return  # client closed its end
                    # Client sent more (pipelined); keep waiting without spinning.
                    stopping.wait(min(remaining, 0.1))
            except (OSError, ValueError):
                return


def _phrase(status):
    try:
        return HTTPStatus(status).phrase
    except ValueError:
        return "Status"


def write_port_file(path, port):
    directory = os.path.dirname(os.path.abspath(path))
    tmp = os.path.join(directory, ".%s.%d.tmp" % (os.path.basename(path), os.getpid()))
    with open(tmp, "w", encoding="ascii") as f:
        f.write("%d\n" % port)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def parse_args(argv):
    p = argparse.ArgumentParser(description="Stand-in operator web server (HTTP proxy form).")
    p.add_argument("--root", required=True, help="content root: ROOT/<host>/<path>")
    p.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0 = ephemeral)")
    p.add_argument("--port-file", help="file that receives the bound port number")
    p.add_argument("--log", required=True, help="JSON-lines request log (appended)")
    return p.parse_args(argv)


def main(argv=None):
    args = parse_args(argv)
    if not os.path.isdir(args.root):
        sys.stderr.write("standin: root %r is not a directory\n" % args.root)
        return 2
    log = RequestLog(args.log)
    try:
        server = StandinServer(("127.0.0.1", args.port), args.root, log)
    except OSError as e:
        sys.stderr.write("standin: cannot bind 127.0.0.1:%d: %s\n" % (args.port, e))
        log.close()
        return 1

    def on_signal(signum, frame):
        if not server.stopping.is_set():
            server.close_connections()
            # shutdown() waits for serve_forever, which runs on this thread.
            threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)

    if args.port_file:
        write_port_file(args.port_file, server.server_address[1])

    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.close_connections()
        server.server_close()
        log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
