#!/usr/bin/python3
"""Remote-control figures with real clients, side by side in one run.

MEAS:VOLT? round trips through pyvisa-py and through a raw socket, taken in
alternating blocks against the same server; and *OPC? after a setpoint: when
it answers against when the supply received the frame (the simulated
supply's log), which it must not precede by more than the log's millisecond
nor follow by more than one poll cycle.
Usage: tools/bench/remote-clients-bench.py [BUILD_DIR]
"""
import datetime
import os
import re
import socket
import statistics
import subprocess
import sys
import tempfile
import time

import pyvisa

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
BLOCKS, PER_BLOCK, SETPOINTS = 20, 100, 20


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start(work, port):
    sim = subprocess.Popen([f"{BUILD}/tools/supplysim/tendrel-supply-sim", "--model", "3", "--link",
                            f"{work}/supply", "--log", f"{work}/frames.log"],
                           stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    sim.stdout.readline()
    env = dict(os.environ, TENDREL_SERIAL_PORTS=f"{work}/supply", XDG_CONFIG_HOME=f"{work}/config",
               QT_QPA_PLATFORM="offscreen")
    controller = subprocess.Popen([f"{BUILD}/tendrel-controller", "--scpi", f"127.0.0.1:{port}"], env=env,
                                  stderr=subprocess.DEVNULL)
    return sim, controller


def raw_client(port):
    deadline = time.monotonic() + 10
    while True:
        try:
            link = socket.create_connection(("127.0.0.1", port))
            link.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            return link, link.makefile("r", encoding="ascii", newline="\n")
        except OSError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def raw_ask(client, query):
    link, answers = client
    link.sendall((query + "\n").encode("ascii"))
    return answers.readline().strip()


def round_trips(ask):
    times = []
    for _ in range(PER_BLOCK):
        start = time.perf_counter()
        ask("MEAS:VOLT?")
        times.append(time.perf_counter() - start)
    return times


def frame_times(log):
    """The times the supply received each set-voltage frame, as epoch seconds."""
    today = datetime.date.today()
    times = []
    with open(log, encoding="ascii") as frames:
        for line in frames:
            found = re.match(r"(\d\d):(\d\d):(\d\d)\.(\d\d\d) set-voltage ", line)
            if found:
                h, m, s, ms = map(int, found.groups())
                times.append(datetime.datetime(today.year, today.month, today.day, h, m, s, ms * 1000).timestamp())
    return times


def main():
    with tempfile.TemporaryDirectory() as work:
        port = free_port()
        sim, controller = start(work, port)
        try:
            raw = raw_client(port)
            while raw_ask(raw, "SYST:LINK?") != "CONNECTED":
                time.sleep(0.1)
            visa = pyvisa.ResourceManager("@py").open_resource(
                f"TCPIP::127.0.0.1::{port}::SOCKET", read_termination="\n", write_termination="\n")
            raw_times, visa_times = [], []
            for _ in range(BLOCKS):
                raw_times += round_trips(lambda q: raw_ask(raw, q))
                visa_times += round_trips(visa.query)
            answered = []
            for i in range(SETPOINTS):
                volts = 5.0 + (i % 2)
                time.sleep(0.13 * (i % 4))  # at varied phases of the poll cycle
                raw_ask(raw, f"VOLT {volts};*OPC?")
                answered.append(time.time())
            time.sleep(0.5)
            received = frame_times(f"{work}/frames.log")[-SETPOINTS:]
            lag = [(a - r) * 1000 for a, r in zip(answered, received)]
        finally:
            controller.terminate()
            controller.wait()
            sim.terminate()
    ms = lambda values: f"median {statistics.median(values) * 1000:.3f} ms, max {max(values) * 1000:.3f} ms"
    print(f"MEAS:VOLT? raw socket: {ms(raw_times)} ({len(raw_times)} queries)")
    print(f"MEAS:VOLT? pyvisa-py:  {ms(visa_times)} ({len(visa_times)} queries)")
    print(f"*OPC? after VOLT, answer minus frame received: median {statistics.median(lag):.1f} ms, "
          f"min {min(lag):.1f} ms, max {max(lag):.1f} ms ({len(lag)} setpoints)")


main()
