"""A pointer for a compositor without input devices, through the wlroots virtual-pointer
protocol, spoken on the wire directly. Reads lines "X Y" on its standard input and clicks the
left button there, in the compositor's layout of WIDTH×HEIGHT; prints "ok" once each click has
reached the compositor.

    virtualpointer.py WIDTH HEIGHT"""

import os
import socket
import struct
import sys

BTN_LEFT = 0x110


class Connection:
    def __init__(self):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(
            os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
        )
        self.next_id = 2
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, *args):
        body = b""
        for arg in args:
            if isinstance(arg, str):
                data = arg.encode() + b"\0"
                body += struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)
            else:
                body += struct.pack("=I", arg)
        self.sock.sendall(struct.pack("=IHH", obj, opcode, 8 + len(body)) + body)

    def events(self):
        while True:
            while len(self.buffer) >= 8:
                obj, opcode, size = struct.unpack("=IHH", self.buffer[:8])
                if len(self.buffer) < size:
                    break
                body, self.buffer = self.buffer[8:size], self.buffer[size:]
                yield obj, opcode, body
            chunk = self.sock.recv(4096)
            if not chunk:
                raise SystemExit("the compositor hung up")
            self.buffer += chunk

    def roundtrip(self, on_event=lambda obj, opcode, body: None):
        callback = self.new_id()
        self.send(1, 0, callback)  # wl_display.sync
        for obj, opcode, body in self.events():
            if obj == 1 and opcode == 0:  # wl_display.error
                raise SystemExit("protocol error: " + body[12:].split(b"\0")[0].decode())
            if obj == callback:
                return
            on_event(obj, opcode, body)


def main():
    width, height = int(sys.argv[1]), int(sys.argv[2])
    wayland = Connection()
    registry = wayland.new_id()
    wayland.send(1, 1, registry)  # wl_display.get_registry
    found = {}

    def global_(obj, opcode, body):
        if obj == registry and opcode == 0:
            name, length = struct.unpack("=II", body[:8])
            found[body[8 : 8 + length - 1].decode()] = name

    wayland.roundtrip(global_)
    manager = wayland.new_id()
    interface = "zwlr_virtual_pointer_manager_v1"
    wayland.send(registry, 0, found[interface], interface, 1, manager)  # wl_registry.bind
    pointer = wayland.new_id()
    wayland.send(manager, 0, 0, pointer)  # create_virtual_pointer on the default seat
    wayland.roundtrip()
    print("ok", flush=True)
    for line in sys.stdin:
        x, y = (int(v) for v in line.split())
        wayland.send(pointer, 1, 0, x, y, width, height)  # motion_absolute
        wayland.send(pointer, 4)  # frame
        for state in (1, 0):
            wayland.send(pointer, 2, 0, BTN_LEFT, state)  # button
            wayland.send(pointer, 4)
        wayland.roundtrip()
        print("ok", flush=True)


if __name__ == "__main__":
    main()
