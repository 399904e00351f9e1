"""libX11, with the Shape and XInput 2 calls the tests make, through ctypes: each function's argument
and result types are declared here once, so that a caller passes X's handles and atoms whole (ctypes
would cut an undeclared 64-bit pointer or XID to an int). Standard library only."""
import contextlib
import ctypes
import ctypes.util
from ctypes import POINTER, Structure, c_char_p, c_int, c_long, c_short, c_uint, c_ulong, c_ushort, c_void_p


def _library(name):
    return ctypes.CDLL(ctypes.util.find_library(name))


_X11, _XEXT, _XI = _library("X11"), _library("Xext"), _library("Xi")


def _declare(library, name, result, *arguments):
    function = getattr(library, name)
    function.restype = result
    function.argtypes = list(arguments)
    return function


class XRectangle(Structure):
    _fields_ = [("x", c_short), ("y", c_short), ("width", c_ushort), ("height", c_ushort)]


class ClientMessageEvent(Structure):
    """XClientMessageEvent, padded to the size of an XEvent."""
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("window", c_ulong), ("message_type", c_ulong), ("format", c_int), ("data", c_long * 5),
                ("pad", c_long * 12)]


class PointerEvent(Structure):
    """XButtonEvent, XMotionEvent and XCrossingEvent share their fields up to y_root; `tail` holds the rest of
    each (state, button, same_screen / state, is_hint, same_screen / mode, detail, same_screen, focus, state)."""
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("window", c_ulong), ("root", c_ulong), ("subwindow", c_ulong), ("time", c_ulong), ("x", c_int),
                ("y", c_int), ("x_root", c_int), ("y_root", c_int), ("tail", c_uint * 5), ("pad", c_long * 12)]


class XIAddMasterInfo(Structure):
    _fields_ = [("type", c_int), ("name", c_char_p), ("send_core", c_int), ("enable", c_int)]


CLIENT_MESSAGE = 33
XI_ADD_MASTER = 1

XOpenDisplay = _declare(_X11, "XOpenDisplay", c_void_p, c_char_p)
XCloseDisplay = _declare(_X11, "XCloseDisplay", c_int, c_void_p)
XDefaultRootWindow = _declare(_X11, "XDefaultRootWindow", c_ulong, c_void_p)
XCreateSimpleWindow = _declare(_X11, "XCreateSimpleWindow", c_ulong, c_void_p, c_ulong, c_int, c_int, c_uint, c_uint,
                               c_uint, c_ulong, c_ulong)
XInternAtom = _declare(_X11, "XInternAtom", c_ulong, c_void_p, c_char_p, c_int)
XSetSelectionOwner = _declare(_X11, "XSetSelectionOwner", c_int, c_void_p, c_ulong, c_ulong, c_ulong)
XChangeProperty = _declare(_X11, "XChangeProperty", c_int, c_void_p, c_ulong, c_ulong, c_ulong, c_int, c_int,
                           c_char_p, c_int)
XSendEvent = _declare(_X11, "XSendEvent", c_int, c_void_p, c_ulong, c_int, c_long, c_void_p)
XSync = _declare(_X11, "XSync", c_int, c_void_p, c_int)
XFree = _declare(_X11, "XFree", c_int, c_void_p)
ERROR_HANDLER = ctypes.CFUNCTYPE(c_int, c_void_p, c_void_p)
XSetErrorHandler = _declare(_X11, "XSetErrorHandler", c_void_p, c_void_p)
XShapeGetRectangles = _declare(_XEXT, "XShapeGetRectangles", POINTER(XRectangle), c_void_p, c_ulong, c_int,
                               POINTER(c_int), POINTER(c_int))
XIChangeHierarchy = _declare(_XI, "XIChangeHierarchy", c_int, c_void_p, c_void_p, c_int)


@contextlib.contextmanager
def connection(display_name=None):
    """A connection of its own to the display (DISPLAY's when None), closed at the end."""
    display = XOpenDisplay(display_name.encode() if display_name else None)
    if not display:
        raise RuntimeError(f"cannot open the display {display_name or ''}".rstrip())
    try:
        yield display
    finally:
        XCloseDisplay(display)
