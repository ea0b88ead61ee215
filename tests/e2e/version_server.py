# HTTPS servers on 127.0.0.1 for the update check, with a certificate authority made for
# the run: one server whose certificate that authority signed, one with a certificate of
# its own that nobody trusts. The first path segment picks the answer, so that a site
# base of https://127.0.0.1:PORT/<answer> makes the version file /<answer>/vers/md.txt.
#   version_server.py <folder> -- <command...>   runs the command with MELODANE_TEST_SITE,
#   MELODANE_UNTRUSTED_SITE and MELODANE_TEST_CA (a PEM file) in its environment

import http.server
import os
import ssl
import subprocess
import sys
import threading
import time

BODIES = {"current": b"3.0", "crlf": b"3.0\r\n", "older": b"2.9", "big": b"3" * (1 << 20)}


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        answer = self.path.strip("/").split("/")[0]
        if answer == "hang":  # accepts, reads the request, never answers
            time.sleep(30)
            return
        if answer == "drip":  # a byte a second, forever
            for byte in b"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n3.0" * 10:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
                time.sleep(1)
            return
        if answer.startswith("to-"):  # a redirect, to http:// or to https://
            scheme = answer[3:]
            port = self.server.server_address[1] if scheme == "https" else 9
            self.send_response(302)
            self.send_header("Location", f"{scheme}://127.0.0.1:{port}/older/vers/md.txt")
            self.end_headers()
            return
        body = BODIES.get(answer, b"Not Found")
        self.send_response(200 if answer in BODIES else 404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            self.wfile.write(body)
        except (ConnectionError, ssl.SSLError):  # a client that stops reading a body too big
            pass


def openssl(*arguments):
    subprocess.run(["openssl", *arguments], check=True, capture_output=True)


def make_certificates(folder):
    # The authority, a server certificate it signs, and one signed by nobody.
    key = ["-newkey", "rsa:2048", "-nodes", "-days", "2"]
    openssl("req", "-x509", *key, "-subj", "/CN=Melodane Test CA", "-keyout",
            f"{folder}/ca.key", "-out", f"{folder}/ca.pem",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=keyCertSign")
    openssl("req", *key, "-subj", "/CN=127.0.0.1", "-keyout", f"{folder}/server.key",
            "-out", f"{folder}/server.csr")
    with open(f"{folder}/san.txt", "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", f"{folder}/server.csr", "-CA", f"{folder}/ca.pem",
            "-CAkey", f"{folder}/ca.key", "-CAcreateserial", "-days", "2",
            "-extfile", f"{folder}/san.txt", "-out", f"{folder}/server.pem")
    openssl("req", "-x509", *key, "-subj", "/CN=127.0.0.1", "-addext",
            "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1", "-keyout", f"{folder}/self.key",
            "-out", f"{folder}/self.pem")


def serve(certificate, key):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"https://127.0.0.1:{server.server_address[1]}"


if __name__ == "__main__":
    folder, command = sys.argv[1], sys.argv[sys.argv.index("--") + 1:]
    os.makedirs(folder, exist_ok=True)
    make_certificates(folder)
    env = dict(os.environ, MELODANE_TEST_CA=f"{folder}/ca.pem",
               MELODANE_TEST_SITE=serve(f"{folder}/server.pem", f"{folder}/server.key"),
               MELODANE_UNTRUSTED_SITE=serve(f"{folder}/self.pem", f"{folder}/self.key"))
    sys.exit(subprocess.run(command, env=env).returncode)
