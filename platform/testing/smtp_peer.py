#!/usr/bin/python3
"""A real SMTP server on loopback for the mail tests and the mail benchmark.

Makes a throw-away certificate authority and a server certificate for
127.0.0.1/localhost with openssl, then serves STARTTLS (or implicit TLS with
--implicit-tls) and, with --user, requires AUTH LOGIN over TLS; with --plain
it offers no encryption and takes AUTH LOGIN over the plain session. Every
login attempt adds a line to logins.log in --maildir. Recipients
named by --refuse are answered with 550. Each accepted mail is stored in
--maildir as NNNN.eml with NNNN.json beside it (envelope sender, recipients,
whether the session was encrypted and authenticated). Prints "PORT n" and
"CAFILE path" once it listens; stops when its standard input closes and then
prints a summary."""
import argparse
import json
import os
import pathlib
import socket
import ssl
import subprocess
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def make_certificates(folder):
    folder.mkdir(parents=True, exist_ok=True)
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    run = lambda *args: subprocess.run(["openssl", *args], check=True, capture_output=True)
    run("req", "-x509", *ec, "-keyout", str(folder / "ca.key"), "-out", str(folder / "ca.pem"), "-days", "2",
        "-subj", "/CN=Payroll Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("req", *ec, "-keyout", str(folder / "server.key"), "-out", str(folder / "server.csr"), "-subj", "/CN=localhost")
    (folder / "server.ext").write_text(
        "subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    run("x509", "-req", "-in", str(folder / "server.csr"), "-CA", str(folder / "ca.pem"), "-CAkey",
        str(folder / "ca.key"), "-CAcreateserial", "-out", str(folder / "server.pem"), "-days", "2",
        "-extfile", str(folder / "server.ext"))
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(str(folder / "server.pem"), str(folder / "server.key"))
    return context


class Store:
    def __init__(self, maildir, refused):
        self.maildir = maildir
        self.refused = {address.lower() for address in refused}
        self.count = 0
        self.refusals = 0
        self.lock = threading.Lock()

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.refused:
            with self.lock:
                self.refusals += 1
            return "550 5.1.1 Mailbox unavailable: " + address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            number = self.count
        stem = self.maildir / ("%04d" % number)
        stem.with_suffix(".eml").write_bytes(envelope.original_content)
        stem.with_suffix(".json").write_text(json.dumps({
            "from": envelope.mail_from,
            "to": envelope.rcpt_tos,
            "tls": session.ssl is not None or server.transport.get_extra_info("ssl_object") is not None,
            "authenticated": bool(session.authenticated),
        }))
        return "250 Message accepted"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--maildir", required=True)
    parser.add_argument("--certs", help="folder for the certificates (default: maildir/../certs)")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--plain", action="store_true")
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    maildir = pathlib.Path(args.maildir)
    maildir.mkdir(parents=True, exist_ok=True)
    certs = pathlib.Path(args.certs) if args.certs else maildir.parent / "certs"
    context = make_certificates(certs)
    port = args.port
    if port == 0:
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]

    def authenticate(server, session, envelope, mechanism, auth_data):
        with open(maildir / "logins.log", "a") as log:
            log.write(mechanism + "\n")
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login.decode() == args.user and auth_data.password.decode() == args.password)
        return AuthResult(success=ok, handled=False)

    store = Store(maildir, args.refuse)
    options = dict(hostname="127.0.0.1", port=port, server_hostname="localhost")
    if args.implicit_tls:
        options["ssl_context"] = context
    elif not args.plain:
        options.update(tls_context=context, require_starttls=True)
    if args.user:
        options.update(authenticator=authenticate, auth_required=True, auth_require_tls=not args.plain,
                       auth_exclude_mechanism=["PLAIN"])
    controller = Controller(store, **options)
    controller.start()
    print("PORT %d" % port, flush=True)
    print("CAFILE %s" % (certs / "ca.pem"), flush=True)
    sys.stdin.read()
    controller.stop()
    print("messages=%d refused=%d" % (store.count, store.refusals), flush=True)


if __name__ == "__main__":
    main()
