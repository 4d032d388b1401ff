#!/usr/bin/python3
"""Runs commands through pipes the way the wizard runs sudo, and prints what it saw.

Each argument is a JSON object {"argv": [...], "answers": ["password", ...]}; the commands run one
after the other from this one process (so sudo's per-parent credential cache applies). Each
"[sudo]" prompt on the error stream is answered with the next answer and a line feed. One JSON
line per command: argv, rc, prompts, stdout, stderr, seconds.
"""
import json
import os
import select
import subprocess
import sys
import time


def drive(argv, answers, timeout=20.0):
    start = time.monotonic()
    proc = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE)
    streams = {proc.stdout.fileno(): "out", proc.stderr.fileno(): "err"}
    out, err, prompts = b"", b"", []
    while streams and time.monotonic() - start < timeout:
        ready, _, _ = select.select(list(streams), [], [], 0.2)
        for fd in ready:
            chunk = os.read(fd, 4096)
            if not chunk:
                del streams[fd]
            elif streams[fd] == "out":
                out += chunk
            else:
                err += chunk
                # A prompt is complete when a new "[sudo]" is followed by ": " at the end.
                if err.count(b"[sudo]") > len(prompts) and err.endswith(b": "):
                    prompts.append(err[err.rfind(b"[sudo]"):].decode())
                    answer = answers[len(prompts) - 1] if len(prompts) <= len(answers) else ""
                    try:
                        proc.stdin.write(answer.encode() + b"\n")
                        proc.stdin.flush()
                    except BrokenPipeError:
                        pass
    if streams:
        proc.kill()
    try:
        proc.stdin.close()
    except BrokenPipeError:
        pass
    rc = proc.wait()
    return {"argv": argv, "rc": rc, "prompts": prompts, "stdout": out.decode(errors="replace"),
            "stderr": err.decode(errors="replace"),
            "seconds": round(time.monotonic() - start, 2)}


if __name__ == "__main__":
    for spec in sys.argv[1:]:
        request = json.loads(spec)
        print(json.dumps(drive(request["argv"], request["answers"]), ensure_ascii=False),
              flush=True)
