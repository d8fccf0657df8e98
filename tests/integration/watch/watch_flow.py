#!/usr/bin/python3
"""lanternactl watch on loopback: two simulated projectors and one address where nothing
answers; presence, a git commit per change with its message in words, metrics read by the
reference parser, alert mails received by a real SMTP server (silence; a lamp past its
threshold and a lamp error read over PJLink with the PJLink password book; drift from a
template taken on SIGHUP), SIGTERM.
Arguments: LANTERNACTL SIMULATOR. Exit 77 where a Python package it needs is missing."""

import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

try:
    from aiosmtpd.controller import Controller
    from prometheus_client.parser import text_string_to_metric_families
except ImportError as missing:
    print(f"skipped: {missing.name} is not installed (python3-aiosmtpd, python3-prometheus-client)")
    sys.exit(77)

LANTERNACTL, SIMULATOR = sys.argv[1], sys.argv[2]
ENV = dict(os.environ, LANTERNA_LANG="en")


class Mailbox:
    def __init__(self):
        self.messages = []

    async def handle_DATA(self, server, session, envelope):
        self.messages.append(envelope.content.decode("utf-8", "replace"))
        return "250 OK"


def wait_for(what, condition, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError(f"timed out waiting for {what}")


def start_projector(address, name, *extra):
    sim = subprocess.Popen([SIMULATOR, "--address", address, "--name", name, "--lifetime", "300",
                            "--no-secondary", *extra], stdout=subprocess.PIPE, text=True)
    assert "listening on" in sim.stdout.readline()
    return sim


def git_log(repo):
    run = subprocess.run(["git", "-C", repo, "log", "--format=%an <%ae>%n%B%n--"],
                         capture_output=True, text=True)
    return run.stdout if run.returncode == 0 else ""


def main():
    folder = tempfile.mkdtemp(prefix="lanterna-watch-")
    repo = os.path.join(folder, "site")
    mailbox = Mailbox()
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        smtp_port = probe.getsockname()[1]
    smtp = Controller(mailbox, hostname="127.0.0.1", port=smtp_port)
    smtp.start()
    projectors = [start_projector("127.89.1.1", "ROOM-201", "--pjlink", "--pjlink-no-search",
                                  "--pjlink-password", "lamp-room", "--pjlink-lamps", "3100 1",
                                  "--pjlink-errors", "020000"),
                  start_projector("127.89.1.2", "HALL-1F")]
    book = os.path.join(folder, "pjlink-book")
    with open(os.open(book, os.O_WRONLY | os.O_CREAT, 0o600), "w") as out:
        out.write("127.89.1.1 lamp-room\n")
    config = os.path.join(folder, "watch.ini")
    template = os.path.join(folder, "template.ini")
    settings = f"""[targets]
addresses = 127.89.1.1-3
[pjlink]
book = {book}
[thresholds]
lamp-hours = 3000
[intervals]
presence = 1
health = 1
backup = 2
[backup]
repository = {repo}
[metrics]
address = 127.0.0.1:0
[mail]
relay = smtp://127.0.0.1:{smtp_port}
from = watch@example.org
to = ops@example.org
grace = 0
language = en
"""
    with open(config, "w") as out:
        out.write(settings)
    # A bad configuration is refused at start with its line and key.
    with open(os.path.join(folder, "bad.ini"), "w") as out:
        out.write("[targets]\naddresses = 127.89.1.1\n[intervals]\npresence = soon\n")
    bad = subprocess.run([LANTERNACTL, "watch", os.path.join(folder, "bad.ini")],
                         capture_output=True, text=True, env=ENV)
    assert bad.returncode == 1 and "bad.ini:4: [intervals] presence:" in bad.stderr, bad.stderr

    watcher = subprocess.Popen([LANTERNACTL, "watch", config], stderr=subprocess.PIPE,
                               text=True, env=ENV)
    log = []
    reader = threading.Thread(target=lambda: log.extend(watcher.stderr), daemon=True)
    reader.start()
    try:
        url = wait_for("the metrics address", lambda: next(
            (m.group(1) for line in list(log)
             if (m := re.search(r"metrics: (http://\S+)", line))), None))
        wait_for("the first commit", lambda: "first backup" in git_log(repo))
        assert "lanterna watch <lanterna-watch@" in git_log(repo)
        # Health over PJLink: one mail of its round tells both the lamp and the new error.
        health = wait_for("a health alert mail", lambda: next(
            (m for m in mailbox.messages if "lamp at 3100 hours" in m), None))
        assert "ROOM-201 (127.89.1.1): a new error: lamp=error" in health, health

        # The template is ROOM-201's settings as first backed up, taken on a reload.
        first = next(name for name in os.listdir(repo) if name.startswith("ROOM-201_"))
        with open(os.path.join(repo, first)) as kept, open(template, "w") as out:
            out.write(kept.read())
        with open(config, "w") as out:
            out.write(settings.replace("[backup]\n", f"[backup]\ntemplate = {template}\n"))
        watcher.send_signal(signal.SIGHUP)
        wait_for("the reload", lambda: any("configuration reloaded" in line for line in log))
        # The watcher may be reading the projector at that moment: the change is tried again.
        wait_for("the change of community", lambda: subprocess.run(
            [LANTERNACTL, "set", "127.89.1.1", "community=ops1"],
            capture_output=True, env=ENV).returncode == 0)
        wait_for("the commit of the change",
                 lambda: "ROOM-201: community public → ops1" in git_log(repo))
        message = git_log(repo)
        assert "127.89.1.3: not read (not answering)" in message, message

        drift = wait_for("a template drift mail", lambda: next(
            (m for m in mailbox.messages if "drifts from the template" in m), None))
        assert "ROOM-201 (127.89.1.1): drifts from the template" in drift, drift
        assert "community ops1 → public" in drift, drift
        assert "HALL-1F" not in drift, drift

        text = urllib.request.urlopen(url, timeout=10).read().decode()
        samples = {(s.name, s.labels.get("address")): s.value
                   for family in text_string_to_metric_families(text) for s in family.samples}
        up = {address: value for (name, address), value in samples.items()
              if name == "lanterna_projector_up"}
        assert up == {"127.89.1.1": 1.0, "127.89.1.2": 1.0, "127.89.1.3": 0.0}, up
        assert samples[("lanterna_projector_lamp_hours", "127.89.1.1")] == 3100.0, samples
        # The lamp's part (the second) in error: its warning and error bits.
        assert samples[("lanterna_projector_error_flags", "127.89.1.1")] == 12.0, samples
        assert samples[("lanterna_projector_power_state", "127.89.1.1")] == 1.0, samples
        assert ("lanterna_projector_lamp_hours", "127.89.1.2") not in samples, samples
        assert samples[("lanterna_projector_template_drift_settings", "127.89.1.1")] == 1.0
        assert samples[("lanterna_projector_template_drift_settings", "127.89.1.2")] == 0.0

        assert any("127.89.1.3 (127.89.1.3): not answering" in m for m in mailbox.messages)
        for message in mailbox.messages:
            assert "lamp-room" not in message
        assert not any("lamp-room" in line for line in log)

        for name in os.listdir(repo):
            if name.endswith(".ini") or name == "index.csv":
                assert os.stat(os.path.join(repo, name)).st_mode & 0o077 == 0, name

        # A projector that stops answering keeps its last file: nothing to commit.
        projectors[1].kill()
        projectors[1].wait()
        marker = len(log)
        wait_for("a backup round without HALL-1F", lambda: any(
            "backup round finished" in line and "2 of 3 projectors failed" in line
            for line in log[marker:]))
        assert any(name.startswith("HALL-1F_") for name in os.listdir(repo)), os.listdir(repo)
        status = subprocess.run(["git", "-C", repo, "status", "--porcelain"],
                                capture_output=True, text=True)
        assert status.stdout == "", status.stdout

        marker = len(log)
        watcher.send_signal(signal.SIGHUP)
        wait_for("the second reload",
                 lambda: any("configuration reloaded" in line for line in log[marker:]))
        watcher.send_signal(signal.SIGTERM)
        assert watcher.wait(timeout=60) == 0
        reader.join(timeout=10)
        assert any(re.search(r"stopping(: the \w+ round was (finished|abandoned)| between)", line)
                   for line in log), log
        assert all(re.match(r"<[0-7]>", line) for line in log), log
    finally:
        if watcher.poll() is None:
            watcher.kill()
        for sim in projectors:
            sim.kill()
        smtp.stop()
        subprocess.run(["rm", "-rf", folder])
    print("watch flow: ok")


main()
