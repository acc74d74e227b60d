"""A folder that answers as slowly as a sleeping file server: a small FUSE file
system spoken over /dev/fuse directly (no library), whose root holds folders
named "slow..." (any name beginning so exists). The first lookup of each such
name is answered after DELAY seconds; the answer is then cached, as a
server's would be once it woke. Everything else answers at once.

Run as a server:  python3 slow_share.py MOUNTPOINT DELAY EVENTS
Each lookup's wait and answer is appended to EVENTS as "<monotonic> waiting|answered NAME".
From a test, SlowShare(folder, delay) mounts it and always unmounts it again.
"""

import contextlib
import ctypes
import errno
import os
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

IN_HEADER = struct.Struct("<IIQQIIII")  # len, opcode, unique, nodeid, uid, gid, pid, padding
OUT_HEADER = struct.Struct("<IiQ")      # len, error, unique
LOOKUP, FORGET, GETATTR, OPENDIR, READDIR, RELEASEDIR, STATFS, INIT, INTERRUPT, DESTROY, BATCH_FORGET = \
    1, 2, 3, 27, 28, 29, 17, 26, 36, 38, 42
NO_REPLY = {FORGET, BATCH_FORGET, INTERRUPT}
ROOT = 1
CACHE = 3600  # seconds a lookup's answer may be kept by the kernel
MNT_DETACH = 2


def attr(node):
    mode = 0o40755  # every node is a folder
    now = int(time.time())
    # ino, size, blocks, atime, mtime, ctime, their nanoseconds, mode, nlink, uid, gid, rdev, blksize, flags
    return struct.pack("<QQQQQQIIIIIIIIII", node, 4096, 8, now, now, now, 0, 0, 0, mode, 2, 0, 0, 0, 4096, 0)


class Server:
    def __init__(self, device, delay, events):
        self.device, self.delay, self.events = device, delay, events
        self.nodes = {}  # name -> node id
        self.lock = threading.Lock()

    def reply(self, unique, error=0, body=b""):
        data = OUT_HEADER.pack(OUT_HEADER.size + len(body), -error, unique) + body
        with self.lock:
            try:
                os.write(self.device, data)
            except OSError:  # the request was interrupted or the mount is going
                pass

    def note(self, what):
        with open(self.events, "a") as out:
            out.write(f"{time.monotonic():.3f} {what}\n")

    def node_of(self, name):
        with self.lock:
            return self.nodes.setdefault(name, len(self.nodes) + 2)

    def entry(self, node):
        return struct.pack("<QQQQII", node, 0, CACHE, CACHE, 0, 0) + attr(node)

    def slow_lookup(self, unique, name):
        self.note(f"waiting {name}")
        time.sleep(self.delay)
        self.note(f"answered {name}")
        self.reply(unique, body=self.entry(self.node_of(name)))

    def handle(self, opcode, unique, node, body):
        if opcode == INIT:
            major, minor = struct.unpack_from("<II", body)
            self.reply(unique, body=struct.pack("<IIIIHHIIHHI7I", 7, min(minor, 31), 0, 0, 16, 12, 65536, 1,
                                                0, 0, 0, *([0] * 7)))
        elif opcode == LOOKUP:
            name = body.split(b"\0", 1)[0].decode("utf-8", "replace")
            if node == ROOT and name.startswith("slow"):
                threading.Thread(target=self.slow_lookup, args=(unique, name), daemon=True).start()
            else:
                self.reply(unique, errno.ENOENT)
        elif opcode == GETATTR:
            self.reply(unique, body=struct.pack("<QII", CACHE, 0, 0) + attr(node))
        elif opcode == OPENDIR:
            self.reply(unique, body=struct.pack("<QII", 0, 0, 0))
        elif opcode == READDIR:
            offset, size = struct.unpack_from("<QQI", body)[1:]
            entries = [(node, "."), (ROOT, "..")]
            if node == ROOT:
                with self.lock:
                    entries += [(n, name) for name, n in self.nodes.items()]
            out = b""
            for index, (ino, name) in enumerate(entries[offset:], start=offset + 1):
                raw = name.encode()
                record = struct.pack("<QQII", ino, index, len(raw), 4) + raw
                record += b"\0" * (-len(record) % 8)
                if len(out) + len(record) > size:
                    break
                out += record
            self.reply(unique, body=out)
        elif opcode == RELEASEDIR:
            self.reply(unique)
        elif opcode == STATFS:
            self.reply(unique, body=struct.pack("<QQQQQIIII6I", 1 << 20, 1 << 19, 1 << 19, 1000, 900, 4096, 255,
                                                4096, 0, *([0] * 6)))
        elif opcode == DESTROY:
            self.reply(unique)
            raise SystemExit(0)
        elif opcode not in NO_REPLY:
            self.reply(unique, errno.ENOSYS)

    def serve(self):
        while True:
            try:
                data = os.read(self.device, 1 << 17)
            except OSError as error:
                if error.errno in (errno.EINTR, errno.ENOENT, errno.EAGAIN):
                    continue
                return  # ENODEV: unmounted
            length, opcode, unique, node = IN_HEADER.unpack_from(data)[:4]
            self.handle(opcode, unique, node, data[IN_HEADER.size:length])


def main(mountpoint, delay, events):
    device = os.open("/dev/fuse", os.O_RDWR)
    libc = ctypes.CDLL(None, use_errno=True)
    options = f"fd={device},rootmode=40000,user_id={os.getuid()},group_id={os.getgid()}".encode()
    if libc.mount(b"lumivane-slow", mountpoint.encode(), b"fuse", 0, options) != 0:
        sys.exit(f"mount: {os.strerror(ctypes.get_errno())}")
    Path(events).touch()  # the sign that the mount is up
    Server(device, float(delay), events).serve()


@contextlib.contextmanager
def SlowShare(folder, delay):
    """Mounts the slow file system on folder/mount for the duration; yields
    (mount point, events file). Unmounted by path and the server ended by PID
    however the test ends."""
    mountpoint, events = Path(folder) / "mount", Path(folder) / "share-events"
    mountpoint.mkdir(parents=True)
    server = subprocess.Popen([sys.executable, __file__, str(mountpoint), str(delay), str(events)])
    try:
        deadline = time.monotonic() + 10
        while not events.exists():
            if server.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError(f"the slow file system did not mount (exit code {server.poll()})")
            time.sleep(0.05)
        yield mountpoint, events
    finally:
        # Detached even while a lookup still waits; the server's end then fails it.
        ctypes.CDLL(None).umount2(str(mountpoint).encode(), MNT_DETACH)
        server.kill()
        server.wait(timeout=10)


def events_of(path):
    """[(time, what, name)] of the events file."""
    rows = (line.split() for line in Path(path).read_text().splitlines())
    return [(float(t), what, name) for t, what, name in rows]


if __name__ == "__main__":
    main(*sys.argv[1:])
