# SPDX-License-Identifier: MIT
# A pointer and a keyboard on the compositor's seat for the whole test (one that comes and goes with each
# command is gone before a client binds it).  Each command on stdin is answered "ok" once handled:
# move X Y (the output's units) | click | type TEXT (digits, '.', '-') | key CODE... (evdev codes)
# Usage: input.py PROTOCOLS_DIR OUTPUT_WIDTH OUTPUT_HEIGHT
import os, subprocess, sys, time
sys.path.insert(0, sys.argv[1])
from pywayland.client import Display
from protocols.wayland import WlSeat
from protocols.test_input import ZwlrVirtualPointerManagerV1, ZwpVirtualKeyboardManagerV1

display, found = Display(), {}
display.connect()
registry = display.get_registry()
registry.dispatcher["global"] = lambda _, name, interface, version: found.setdefault(interface, name)
display.roundtrip()
bind = lambda manager: registry.bind(found[manager.name], manager, 1)
seat = bind(WlSeat)
pointer, keyboard = bind(ZwlrVirtualPointerManagerV1).create_virtual_pointer(seat), bind(ZwpVirtualKeyboardManagerV1).create_virtual_keyboard(seat)
keymap = subprocess.run(["xkbcli", "compile-keymap", "--layout", "us"], capture_output=True, check=True).stdout + b"\0"
os.write(fd := os.memfd_create("keymap"), keymap)
keyboard.keymap(1, fd, len(keymap))  # XKB v1, before any key: sent with a key, as wtype does, it loses that key
display.roundtrip()
codes = {c: 2 + i for i, c in enumerate("1234567890")} | {"-": 12, ".": 52}
now = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF
for command, *args in map(str.split, sys.stdin):
    if command == "move":
        pointer.motion_absolute(now(), int(args[0]), int(args[1]), int(sys.argv[2]), int(sys.argv[3]))
        pointer.frame()
    for code in [codes[c] for c in args[0]] if command == "type" else map(int, args) if command == "key" else [0x110] * (command == "click"):
        for state in (1, 0):  # pressed, released
            keyboard.key(now(), code, state) if command != "click" else (pointer.button(now(), code, state), pointer.frame())
            display.roundtrip()
    display.roundtrip()
    time.sleep(0.1)  # for the client to draw
    print("ok", flush=True)
os._exit(0)  # pywayland's clean-up of the proxies crashes
