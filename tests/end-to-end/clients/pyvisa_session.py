"""A pyvisa session through pyvisa-py against the controller on PORT."""
import socket
import sys
import time

import pyvisa

port = int(sys.argv[1])
resource = f"TCPIP::127.0.0.1::{port}::SOCKET"
manager = pyvisa.ResourceManager("@py")


def open_session():
    deadline = time.monotonic() + 10
    while True:
        try:
            return manager.open_resource(resource, read_termination="\n", write_termination="\n", timeout=3000)
        except pyvisa.errors.VisaIOError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def check(condition, what):
    if not condition:
        raise SystemExit(f"pyvisa session: {what}")


supply = open_session()
deadline = time.monotonic() + 10
while supply.query("SYST:LINK?") != "CONNECTED":
    check(time.monotonic() < deadline, "no supply identified")
    time.sleep(0.1)

check(supply.query("*IDN?").startswith("Tendrel Electronics,Tolvik,0,"), "*IDN?")
check(supply.query("*TST?") == "0", "*TST?")
check(supply.query("*OPT?") == "0", "*OPT?")
supply.write("*CLS;*ESE 60;*SRE 32")
supply.write("INST:NSEL 1;VOLT 5;CURR 1")
check(supply.query("*OPC?") == "1", "*OPC? after the setpoints")
volts, amperes = supply.query_ascii_values("VOLT?;CURR?", separator=";")
check(abs(volts - 5.0) < 0.07 and abs(amperes - 1.0) < 0.016, f"setpoints {volts} {amperes}")

supply.write("OUTP ON")
check(supply.query("*OPC?") == "1", "*OPC? after OUTP ON")
check(supply.query("OUTP:MODE?") in ("CV", "CC"), "the output on once complete")
check(int(supply.query("STAT:OPER:COND?")) in (256, 1024), "OPERation condition")
check(supply.query_ascii_values("MEAS:VOLT?")[0] > 0, "a voltage measured")

supply.write("VOLT 999")
status = int(supply.query("*STB?"))
check(status & 4 and status & 32 and status & 64, f"status byte {status}")
check(supply.query("SYST:ERR:COUN?") == "1", "one error counted")
check(supply.query("SYST:ERR?") == '-222,"Data out of range"', "the error read back")
check(int(supply.query("*ESR?")) & 16, "execution error in the event register")

supply.write("OUTP OFF;*WAI")
check(supply.query("OUTP:MODE?") == "OFF", "the output off after *WAI")

# A program file sent as a block, as pyvisa sends binary data; then run and stopped.
program = b"""{"format": "tendrel-program", "version": 1,
  "steps": [{"voltage_V": 5, "current_A": 1, "output": true, "duration_s": 60}]}"""
supply.write_binary_values("PROG:LOAD ", list(program), datatype="B")
supply.write("PROG:STAR")
check(supply.query("SYST:ERR?") == '0,"No error"', "the program loaded and started")
check(supply.query("PROG:STAT?") == "RUNNING", "the program runs")
supply.write("PROG:STOP")
check(supply.query("PROG:STAT?;REAS?") == 'IDLE;"stopped"', "the program stopped")

# Four clients take every place; the next hears why at once instead of timing out.
others = [socket.create_connection(("127.0.0.1", port)) for _ in range(3)]
time.sleep(0.2)
extra = open_session()
answer = extra.read()
check(answer.startswith('-200,"Execution error;too many clients'), f"fifth client: {answer}")
extra.close()
for other in others:
    other.close()
supply.close()
print("pyvisa session passed")

# What drivers of other supplies send, line by line: answered at once (*OPC?
# when complete) and never refused.
with open(sys.argv[2], encoding="ascii") as listing:
    lines = [line.strip() for line in listing if line.strip() and not line.startswith("#")]

def replay_client():
    """A raw connection, once the server has let go of the clients above."""
    deadline = time.monotonic() + 10
    while True:
        link = socket.create_connection(("127.0.0.1", port), timeout=3)
        answers = link.makefile("r", encoding="ascii", newline="\n")
        link.sendall(b"*IDN?\n")
        if answers.readline().startswith("Tendrel Electronics,"):
            return link, answers
        link.close()
        check(time.monotonic() < deadline, "no place for the replay")
        time.sleep(0.1)


link, answers = replay_client()
with link:
    for line in lines:
        start = time.monotonic()
        link.sendall((line + "\n").encode("ascii"))
        if "?" in line:
            answers.readline()
            took = time.monotonic() - start
            check("*OPC?" in line or took < 0.05, f"{line!r} answered after {took * 1000:.0f} ms")
        link.sendall(b"SYST:ERR?\n")
        error = answers.readline().strip()
        check(error == '0,"No error"', f"{line!r} refused: {error}")
print(f"{len(lines)} driver lines replayed")
