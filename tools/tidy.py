#!/usr/bin/env python3
"""Runs clang-tidy on every file given, skipping a file whose check has passed
before on the same input: the same configuration and clang-tidy, and the same
file as the compiler sees it with everything it includes (preprocessed, the
clone's own folder left out so that another clone shares the result). Prints
the warnings of the files that have any and fails when one has.

Usage: tools/tidy.py BUILD_DIR FILE...
"""
import concurrent.futures
import hashlib
import json
import os
import pathlib
import shlex
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CACHE = pathlib.Path(os.environ.get("XDG_CACHE_HOME", pathlib.Path.home() / ".cache")) / "tendrel-clang-tidy"


def preprocessing(entry):
    """The file's compile command, made to print the preprocessed file."""
    words = shlex.split(entry["command"])
    command, skip = [], False
    for word in words:
        if skip:
            skip = False
        elif word in ("-o", "-MT", "-MF"):
            skip = True
        elif word not in ("-c", "-MD"):
            command.append(word)
    return command + ["-E", "-P"]


def key(entry, setting):
    source = subprocess.run(preprocessing(entry), cwd=entry["directory"], capture_output=True, check=True).stdout
    digest = hashlib.sha256(setting)
    digest.update(os.path.relpath(entry["file"], ROOT).encode())
    digest.update(source.replace(str(ROOT).encode(), b"."))
    return digest.hexdigest()


def check(build, entry, setting):
    stamp = CACHE / key(entry, setting)
    if stamp.exists():
        return ""
    result = subprocess.run(["clang-tidy", "-p", build, "--quiet", entry["file"]], capture_output=True, text=True)
    found = [line for line in (result.stdout + result.stderr).splitlines() if "warning:" in line or "error:" in line]
    if result.returncode == 0 and not found:
        stamp.touch()
        return ""
    return result.stdout + result.stderr or f"{entry['file']}: clang-tidy failed\n"


def main():
    build, files = sys.argv[1], sys.argv[2:]
    entries = {os.path.realpath(e["file"]): e for e in json.loads((pathlib.Path(build) / "compile_commands.json").read_text())}
    missing = [f for f in files if os.path.realpath(f) not in entries]
    if missing:
        print("not in the build's compile commands: " + " ".join(missing))
        return 1
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, check=True).stdout
    setting = version + (ROOT / ".clang-tidy").read_bytes()
    CACHE.mkdir(parents=True, exist_ok=True)
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        reports = list(pool.map(lambda f: check(build, entries[os.path.realpath(f)], setting), files))
    failed = [report for report in reports if report]
    sys.stdout.write("".join(failed))
    checked = len(files)
    print(f"clang-tidy: {checked} files, {len(failed)} with warnings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
