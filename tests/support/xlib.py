"""libX11, with the Shape, RandR and XInput 2 calls the tests make, through ctypes: each function's
argument and result types are declared here once, so that a caller passes X's handles and atoms whole
(ctypes would cut an undeclared 64-bit pointer or XID to an int). The tablet's rig ships it into the
guest. Standard library only."""
import contextlib
import ctypes
from ctypes import (POINTER, Structure, c_char_p, c_int, c_long, c_short, c_uint, c_uint8, c_ulong, c_ushort,
                    c_void_p)

# By their sonames, which the host and the tablet's guest share, with no lookup that needs tools.
_X11, _XEXT, _XI, _XRANDR = (ctypes.CDLL(name) for name in
                             ("libX11.so.6", "libXext.so.6", "libXi.so.6", "libXrandr.so.2"))


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


class WindowAttributes(Structure):
    _fields_ = [("x", c_int), ("y", c_int), ("width", c_int), ("height", c_int), ("border_width", c_int),
                ("depth", c_int), ("visual", c_void_p), ("root", c_ulong), ("class_", c_int),
                ("bit_gravity", c_int), ("win_gravity", c_int), ("backing_store", c_int),
                ("backing_planes", c_ulong), ("backing_pixel", c_ulong), ("save_under", c_int),
                ("colormap", c_ulong), ("map_installed", c_int), ("map_state", c_int),
                ("all_event_masks", c_long), ("your_event_mask", c_long), ("do_not_propagate_mask", c_long),
                ("override_redirect", c_int), ("screen", c_void_p)]


class XImage(Structure):
    _fields_ = [("width", c_int), ("height", c_int), ("xoffset", c_int), ("format", c_int),
                ("data", POINTER(c_uint8)), ("byte_order", c_int), ("bitmap_unit", c_int),
                ("bitmap_bit_order", c_int), ("bitmap_pad", c_int), ("depth", c_int), ("bytes_per_line", c_int),
                ("bits_per_pixel", c_int)]


class ScreenResources(Structure):
    _fields_ = [("timestamp", c_ulong), ("config_timestamp", c_ulong), ("ncrtc", c_int),
                ("crtcs", POINTER(c_ulong)), ("noutput", c_int), ("outputs", POINTER(c_ulong)),
                ("nmode", c_int), ("modes", c_void_p)]


class OutputInfo(Structure):
    _fields_ = [("timestamp", c_ulong), ("crtc", c_ulong), ("name", c_char_p), ("name_length", c_int),
                ("mm_width", c_ulong), ("mm_height", c_ulong), ("connection", c_ushort),
                ("subpixel_order", c_ushort), ("ncrtc", c_int), ("crtcs", c_void_p), ("nclone", c_int),
                ("clones", c_void_p), ("nmode", c_int), ("npreferred", c_int), ("modes", c_void_p)]


class CrtcInfo(Structure):
    _fields_ = [("timestamp", c_ulong), ("x", c_int), ("y", c_int), ("width", c_uint), ("height", c_uint),
                ("mode", c_ulong), ("rotation", c_ushort), ("noutput", c_int), ("outputs", c_void_p),
                ("rotations", c_ushort), ("npossible", c_int), ("possible", c_void_p)]


class DeviceInfo(Structure):
    _fields_ = [("deviceid", c_int), ("name", c_char_p), ("use", c_int), ("attachment", c_int),
                ("enabled", c_int), ("num_classes", c_int), ("classes", c_void_p)]


class XIAddMasterInfo(Structure):
    _fields_ = [("type", c_int), ("name", c_char_p), ("send_core", c_int), ("enable", c_int)]


CLIENT_MESSAGE = 33
XI_ADD_MASTER = 1

_P = c_void_p
XOpenDisplay = _declare(_X11, "XOpenDisplay", _P, c_char_p)
XCloseDisplay = _declare(_X11, "XCloseDisplay", c_int, _P)
XDefaultRootWindow = _declare(_X11, "XDefaultRootWindow", c_ulong, _P)
XCreateSimpleWindow = _declare(_X11, "XCreateSimpleWindow", c_ulong, _P, c_ulong, c_int, c_int, c_uint, c_uint, c_uint,
                               c_ulong, c_ulong)
XInternAtom = _declare(_X11, "XInternAtom", c_ulong, _P, c_char_p, c_int)
XSetSelectionOwner = _declare(_X11, "XSetSelectionOwner", c_int, _P, c_ulong, c_ulong, c_ulong)
XChangeProperty = _declare(_X11, "XChangeProperty", c_int, _P, c_ulong, c_ulong, c_ulong, c_int, c_int, c_char_p,
                           c_int)
XGetWindowProperty = _declare(_X11, "XGetWindowProperty", c_int, _P, c_ulong, c_ulong, c_long, c_long, c_int, c_ulong,
                              POINTER(c_ulong), POINTER(c_int), POINTER(c_ulong), POINTER(c_ulong),
                              POINTER(POINTER(c_uint8)))
XSendEvent = _declare(_X11, "XSendEvent", c_int, _P, c_ulong, c_int, c_long, _P)
XSync = _declare(_X11, "XSync", c_int, _P, c_int)
XFlush = _declare(_X11, "XFlush", c_int, _P)
XSelectInput = _declare(_X11, "XSelectInput", c_int, _P, c_ulong, c_long)
XPending = _declare(_X11, "XPending", c_int, _P)
XNextEvent = _declare(_X11, "XNextEvent", c_int, _P, _P)
XConnectionNumber = _declare(_X11, "XConnectionNumber", c_int, _P)
XFree = _declare(_X11, "XFree", c_int, _P)
ERROR_HANDLER = ctypes.CFUNCTYPE(c_int, _P, _P)
XSetErrorHandler = _declare(_X11, "XSetErrorHandler", _P, _P)
XQueryTree = _declare(_X11, "XQueryTree", c_int, _P, c_ulong, POINTER(c_ulong), POINTER(c_ulong),
                      POINTER(POINTER(c_ulong)), POINTER(c_uint))
XGetWindowAttributes = _declare(_X11, "XGetWindowAttributes", c_int, _P, c_ulong, POINTER(WindowAttributes))
XTranslateCoordinates = _declare(_X11, "XTranslateCoordinates", c_int, _P, c_ulong, c_ulong, c_int, c_int,
                                 POINTER(c_int), POINTER(c_int), POINTER(c_ulong))
XQueryPointer = _declare(_X11, "XQueryPointer", c_int, _P, c_ulong, POINTER(c_ulong), POINTER(c_ulong), POINTER(c_int),
                         POINTER(c_int), POINTER(c_int), POINTER(c_int), POINTER(c_uint))
XGetGeometry = _declare(_X11, "XGetGeometry", c_int, _P, c_ulong, POINTER(c_ulong), POINTER(c_int), POINTER(c_int),
                        POINTER(c_uint), POINTER(c_uint), POINTER(c_uint), POINTER(c_uint))
XGetImage = _declare(_X11, "XGetImage", POINTER(XImage), _P, c_ulong, c_int, c_int, c_uint, c_uint, c_ulong, c_int)
XDestroyImage = _declare(_X11, "XDestroyImage", c_int, POINTER(XImage))
XShapeGetRectangles = _declare(_XEXT, "XShapeGetRectangles", POINTER(XRectangle), _P, c_ulong, c_int, POINTER(c_int),
                               POINTER(c_int))
XRRGetScreenResources = _declare(_XRANDR, "XRRGetScreenResources", POINTER(ScreenResources), _P, c_ulong)
XRRGetScreenResourcesCurrent = _declare(_XRANDR, "XRRGetScreenResourcesCurrent", POINTER(ScreenResources), _P,
                                        c_ulong)
XRRFreeScreenResources = _declare(_XRANDR, "XRRFreeScreenResources", None, POINTER(ScreenResources))
XRRGetOutputInfo = _declare(_XRANDR, "XRRGetOutputInfo", POINTER(OutputInfo), _P, POINTER(ScreenResources), c_ulong)
XRRFreeOutputInfo = _declare(_XRANDR, "XRRFreeOutputInfo", None, POINTER(OutputInfo))
XRRGetCrtcInfo = _declare(_XRANDR, "XRRGetCrtcInfo", POINTER(CrtcInfo), _P, POINTER(ScreenResources), c_ulong)
XRRFreeCrtcInfo = _declare(_XRANDR, "XRRFreeCrtcInfo", None, POINTER(CrtcInfo))
XIQueryVersion = _declare(_XI, "XIQueryVersion", c_int, _P, POINTER(c_int), POINTER(c_int))
XIQueryDevice = _declare(_XI, "XIQueryDevice", POINTER(DeviceInfo), _P, c_int, POINTER(c_int))
XIFreeDeviceInfo = _declare(_XI, "XIFreeDeviceInfo", None, POINTER(DeviceInfo))
XIGetProperty = _declare(_XI, "XIGetProperty", c_int, _P, c_int, c_ulong, c_long, c_long, c_int, c_ulong,
                         POINTER(c_ulong), POINTER(c_int), POINTER(c_ulong), POINTER(c_ulong),
                         POINTER(POINTER(c_uint8)))
XIChangeHierarchy = _declare(_XI, "XIChangeHierarchy", c_int, _P, _P, c_int)


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
