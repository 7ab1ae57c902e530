"""The few HTTP requests the metrics test makes, with nothing but the standard library."""
import json
import socket
import sys
import urllib.error
import urllib.parse
import urllib.request


def status(url, method="GET"):
    try:
        with urllib.request.urlopen(urllib.request.Request(url, method=method), timeout=2) as answer:
            return answer.status
    except urllib.error.HTTPError as error:
        return error.code


def get(url):
    with urllib.request.urlopen(url, timeout=2) as answer:
        if answer.headers["Content-Type"] != "text/plain; version=0.0.4; charset=utf-8":
            raise SystemExit("Content-Type: " + answer.headers["Content-Type"])
        return answer.read().decode()


def query(server, expression):
    url = server + "/api/v1/query?" + urllib.parse.urlencode({"query": expression})
    with urllib.request.urlopen(url, timeout=2) as answer:
        result = json.load(answer)["data"]["result"]
    return result[0]["value"][1] if result else ""


def oversized(host, port):
    """A request whose headers never end is cut off, not buffered."""
    with socket.create_connection((host, int(port)), timeout=5) as link:
        try:
            link.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\n")
            for _ in range(64):
                link.sendall(b"X-Filler: " + b"a" * 1000 + b"\r\n")
            return "closed" if link.recv(1) == b"" else "answered"
        except (ConnectionResetError, BrokenPipeError):
            return "closed"


def crowd(host, port, clients):
    """Past the bound a connection is closed at once; the others' slots come back when they go."""
    links = [socket.create_connection((host, int(port)), timeout=1) for _ in range(int(clients) + 1)]
    try:
        links[-1].settimeout(1)
        try:
            refused = links[-1].recv(1) == b""
        except ConnectionResetError:
            refused = True
        except socket.timeout:
            refused = False
    finally:
        for link in links:
            link.close()
    return "bounded" if refused else "unbounded"


if __name__ == "__main__":
    command, *arguments = sys.argv[1:]
    print({"status": status, "get": get, "query": query, "oversized": oversized, "crowd": crowd}[command](*arguments))
