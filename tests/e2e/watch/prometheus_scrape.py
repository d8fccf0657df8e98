#!/usr/bin/python3
"""A real Prometheus server (the prometheus program itself, on loopback, with a configuration
and data folder of its own, never the system's service) scrapes lanternactl watch, and a
projector's up, last read time and lamp hours (read over PJLink) come back through
Prometheus's query API.
Arguments: LANTERNACTL SIMULATOR. Exit 77, with a line saying so, where prometheus is absent."""

import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

PROMETHEUS = shutil.which("prometheus") or "/usr/bin/prometheus"
if not os.access(PROMETHEUS, os.X_OK):
    print("skipped: the prometheus program is not installed (Debian package prometheus)")
    sys.exit(77)

LANTERNACTL, SIMULATOR = sys.argv[1], sys.argv[2]


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for(what, condition, seconds=90):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.5)
    raise AssertionError(f"timed out waiting for {what}")


def query(port, expression):
    url = f"http://127.0.0.1:{port}/api/v1/query?" + urllib.parse.urlencode({"query": expression})
    try:
        answer = json.load(urllib.request.urlopen(url, timeout=5))
    except OSError:
        return None
    return answer["data"]["result"] if answer.get("status") == "success" else None


def main():
    folder = tempfile.mkdtemp(prefix="lanterna-prometheus-")
    metrics_port, prometheus_port = free_port(), free_port()
    sim = subprocess.Popen([SIMULATOR, "--address", "127.89.2.1", "--name", "ROOM-201",
                            "--lifetime", "300", "--no-secondary", "--pjlink", "--pjlink-no-search",
                            "--pjlink-lamps", "2345 1"], stdout=subprocess.PIPE, text=True)
    assert "listening on" in sim.stdout.readline()
    config = os.path.join(folder, "watch.ini")
    with open(config, "w") as out:
        out.write(f"[targets]\naddresses = 127.89.2.1\n[intervals]\npresence = 1\nhealth = 1\nbackup = 5\n"
                  f"[backup]\nrepository = {folder}/site\n"
                  f"[metrics]\naddress = 127.0.0.1:{metrics_port}\n")
    with open(os.path.join(folder, "prometheus.yml"), "w") as out:
        out.write(f"global:\n  scrape_interval: 1s\nscrape_configs:\n  - job_name: lanterna\n"
                  f"    static_configs:\n      - targets: ['127.0.0.1:{metrics_port}']\n")
    watcher = subprocess.Popen([LANTERNACTL, "watch", config], stderr=subprocess.DEVNULL,
                               env=dict(os.environ, LANTERNA_LANG="en"))
    prometheus = subprocess.Popen(
        [PROMETHEUS, f"--config.file={folder}/prometheus.yml",
         f"--storage.tsdb.path={folder}/data", f"--web.listen-address=127.0.0.1:{prometheus_port}"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        up = wait_for("up through Prometheus", lambda: query(
            prometheus_port, 'lanterna_projector_up{address="127.89.2.1"} == 1'))
        assert up[0]["metric"]["name"] == "ROOM-201", up
        read = wait_for("the last read time through Prometheus", lambda: query(
            prometheus_port, 'lanterna_projector_last_read_timestamp_seconds{name="ROOM-201"}'))
        assert abs(float(read[0]["value"][1]) - time.time()) < 600, read
        lamp = wait_for("the lamp hours through Prometheus", lambda: query(
            prometheus_port, 'lanterna_projector_lamp_hours{address="127.89.2.1"}'))
        assert lamp[0]["metric"]["name"] == "ROOM-201", lamp
        assert float(lamp[0]["value"][1]) == 2345, lamp
    finally:
        for process in (watcher, prometheus, sim):
            process.send_signal(signal.SIGTERM)
        for process in (watcher, prometheus, sim):
            try:
                process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(folder, ignore_errors=True)
    print("prometheus scrape: ok")


main()
