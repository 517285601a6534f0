# SPDX-License-Identifier: MIT
# A pointer and a keyboard for the compositor's seat, kept for the whole test
# (one that comes and goes with each command is gone before a client binds it).
# Reads commands from stdin and answers each with "ok" once the compositor has
# handled it:  move X Y (in the output's units) | click | type TEXT (digits,
# '.' and '-') | key CODE... (evdev codes).
# Usage: input.py PROTOCOLS_DIR OUTPUT_WIDTH OUTPUT_HEIGHT
import os, subprocess, sys, time

sys.path.insert(0, sys.argv[1])
from pywayland.client import Display
from protocols.wayland import WlSeat
from protocols.test_input import ZwlrVirtualPointerManagerV1, ZwpVirtualKeyboardManagerV1

width, height = int(sys.argv[2]), int(sys.argv[3])
display = Display()
display.connect()
registry, globals_ = display.get_registry(), {}
registry.dispatcher["global"] = lambda _, name, interface, version: globals_.setdefault(interface, name)
display.roundtrip()
seat = registry.bind(globals_["wl_seat"], WlSeat, 1)
pointer = registry.bind(globals_["zwlr_virtual_pointer_manager_v1"], ZwlrVirtualPointerManagerV1, 1).create_virtual_pointer(seat)
keyboard = registry.bind(globals_["zwp_virtual_keyboard_manager_v1"], ZwpVirtualKeyboardManagerV1, 1).create_virtual_keyboard(seat)
keymap = subprocess.run(["xkbcli", "compile-keymap", "--layout", "us"], capture_output=True, check=True).stdout + b"\0"
fd = os.memfd_create("keymap")
os.write(fd, keymap)
keyboard.keymap(1, fd, len(keymap))  # XKB v1
display.roundtrip()

codes = {c: 2 + i for i, c in enumerate("123456789")} | {"0": 11, "-": 12, ".": 52}
now = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF
for line in sys.stdin:
    command, *args = line.split()
    if command == "move":
        pointer.motion_absolute(now(), int(float(args[0])), int(float(args[1])), width, height)
        pointer.frame()
    elif command == "click":
        for state in (1, 0):
            pointer.button(now(), 0x110, state)  # BTN_LEFT
            pointer.frame()
            display.roundtrip()
    elif command in ("type", "key"):
        for code in [codes[c] for c in args[0]] if command == "type" else map(int, args):
            for state in (1, 0):
                keyboard.key(now(), code, state)
                display.roundtrip()
    display.roundtrip()
    time.sleep(0.1)  # for the client to draw
    print("ok", flush=True)
os._exit(0)  # pywayland's clean-up of the proxies crashes
