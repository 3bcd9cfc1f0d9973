#!/usr/bin/python3
"""Asks the window manager to change a window's state, as a taskbar or pager does.

Usage: wm_request.py WINDOW_ID minimize|fullscreen|maximize
minimize sends WM_CHANGE_STATE (IconicState); fullscreen and maximize add the _NET_WM_STATE
states. Exits 1 when there is no display.
"""
import ctypes
import sys

SUBSTRUCTURE_NOTIFY = 1 << 19
SUBSTRUCTURE_REDIRECT = 1 << 20
CLIENT_MESSAGE = 33
ICONIC_STATE = 3
NET_WM_STATE_ADD = 1
SOURCE_PAGER = 2


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    window, request = int(sys.argv[1], 0), sys.argv[2]
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(XEvent)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        return 1

    def atom(name):
        return x.XInternAtom(display, name.encode(), 0)

    event = XEvent()
    message = event.xclient
    message.type = CLIENT_MESSAGE
    message.window = window
    message.format = 32
    if request == "minimize":
        message.message_type = atom("WM_CHANGE_STATE")
        message.data[0] = ICONIC_STATE
    else:
        states = {"fullscreen": ["_NET_WM_STATE_FULLSCREEN"],
                  "maximize": ["_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"]}
        message.message_type = atom("_NET_WM_STATE")
        message.data[0] = NET_WM_STATE_ADD
        for i, name in enumerate(states[request]):
            message.data[1 + i] = atom(name)
        message.data[3] = SOURCE_PAGER
    x.XSendEvent(display, x.XDefaultRootWindow(display), 0,
                 SUBSTRUCTURE_NOTIFY | SUBSTRUCTURE_REDIRECT, ctypes.byref(event))
    x.XFlush(display)
    x.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main())
