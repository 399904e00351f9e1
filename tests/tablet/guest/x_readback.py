"""What the X server says, read from the scenario's own process over one connection: under emulation a
poll then costs a round trip instead of a program's start (xrandr, xdotool and xinput took 0.1 to 0.6 s
each). The calls are libX11's, libXrandr's and libXi's, as those tools make them."""
import ctypes
from ctypes import POINTER, byref, c_int, c_uint, c_ulong, c_void_p

import xlib

ANY_PROPERTY_TYPE, IS_VIEWABLE, Z_PIXMAP, ALL_PLANES = 0, 2, 2, 0xFFFFFFFF
RR_CONNECTED = 0
# xrandr's names of the picture's turn.
ROTATIONS = {1: "normal", 2: "left", 4: "inverted", 8: "right"}


# A window or device that went between two requests is an answer, not the end of the process (Xlib's own
# handler exits): the handler counts the errors, and each read checks the count.
_errors = [0]
_ERROR_HANDLER = xlib.ERROR_HANDLER(lambda display, event: _errors.__setitem__(0, _errors[0] + 1) or 0)
xlib.XSetErrorHandler(ctypes.cast(_ERROR_HANDLER, c_void_p))


class XReadback:
    """One connection to the display `name`."""

    def __init__(self, name):
        self.display = xlib.XOpenDisplay(name.encode())
        if not self.display:
            raise AssertionError(f"cannot open the X display {name}")
        self.root = xlib.XDefaultRootWindow(self.display)
        major, minor = c_int(2), c_int(2)
        xlib.XIQueryVersion(self.display, byref(major), byref(minor))
        self._atoms = {}

    def close(self):
        if self.display:
            xlib.XCloseDisplay(self.display)
            self.display = None

    def _atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = xlib.XInternAtom(self.display, name.encode(), 0)
        return self._atoms[name]

    def _clean(self):
        """Whether no request since the last look failed."""
        xlib.XSync(self.display, 0)
        failed, _errors[0] = _errors[0], 0
        return failed == 0

    # --- windows --------------------------------------------------------------------------------

    def _text_property(self, window, name):
        kind, size, count, after = c_ulong(), c_int(), c_ulong(), c_ulong()
        data = POINTER(ctypes.c_uint8)()
        if xlib.XGetWindowProperty(self.display, window, self._atom(name), 0, 1024, 0, ANY_PROPERTY_TYPE, byref(kind),
                                 byref(size), byref(count), byref(after), byref(data)) != 0 or not data:
            return None
        try:
            return ctypes.string_at(data, count.value).decode(errors="replace") if size.value == 8 else None
        finally:
            xlib.XFree(data)

    def _children(self, window):
        root, parent, children, count = c_ulong(), c_ulong(), POINTER(c_ulong)(), c_uint()
        if not xlib.XQueryTree(self.display, window, byref(root), byref(parent), byref(children), byref(count)):
            return []
        try:
            return [children[i] for i in range(count.value)]
        finally:
            if children:
                xlib.XFree(children)

    def visible_windows_named(self, title):
        """The viewable windows whose title is `title`, in stacking order from the bottom, at any depth."""
        found, pending = [], self._children(self.root)
        while pending:
            window = pending.pop(0)
            attributes = xlib.WindowAttributes()
            if not xlib.XGetWindowAttributes(self.display, window, byref(attributes)):
                continue
            if attributes.map_state == IS_VIEWABLE:
                name = self._text_property(window, "_NET_WM_NAME") or self._text_property(window, "WM_NAME")
                if name == title:
                    found.append(window)
                pending[:0] = self._children(window)
        self._clean()
        return found

    def root_rect(self, window):
        """The window's (left, top, right, bottom) on the screen; None once it is gone."""
        attributes = xlib.WindowAttributes()
        x, y, child = c_int(), c_int(), c_ulong()
        ok = (xlib.XGetWindowAttributes(self.display, window, byref(attributes))
              and xlib.XTranslateCoordinates(self.display, window, self.root, 0, 0, byref(x), byref(y), byref(child)))
        if not self._clean() or not ok:
            return None
        return x.value, y.value, x.value + attributes.width, y.value + attributes.height

    def pointer(self):
        root, child, x, y, wx, wy, mask = c_ulong(), c_ulong(), c_int(), c_int(), c_int(), c_int(), c_uint()
        xlib.XQueryPointer(self.display, self.root, byref(root), byref(child), byref(x), byref(y), byref(wx),
                         byref(wy), byref(mask))
        return x.value, y.value

    def supporting_window_manager(self):
        """Whether a window manager names its check window on the root, as EWMH asks."""
        kind, size, count, after = c_ulong(), c_int(), c_ulong(), c_ulong()
        data = POINTER(ctypes.c_uint8)()
        xlib.XGetWindowProperty(self.display, self.root, self._atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, 0,
                              ANY_PROPERTY_TYPE, byref(kind), byref(size), byref(count), byref(after), byref(data))
        if data:
            xlib.XFree(data)
        return count.value == 1

    def opaque_share(self, window, area):
        """The share of the window's own pixels in `area` (x, y, w, h) that are mostly opaque: the panel's
        ARGB window keeps them, with a compositing manager and without."""
        x, y, w, h = area
        image = xlib.XGetImage(self.display, window, x, y, w, h, ALL_PLANES, Z_PIXMAP)
        self._clean()
        if not image:
            return 0.0
        try:
            info = image.contents
            if info.bits_per_pixel != 32 or info.depth != 32:
                return 0.0
            pixels = ctypes.string_at(info.data, info.bytes_per_line * h)
            opaque = sum(1 for row in range(h) for column in range(w)
                         if pixels[row * info.bytes_per_line + column * 4 + 3] >= 128)
            return opaque / (w * h)
        finally:
            xlib.XDestroyImage(image)

    # --- outputs ----------------------------------------------------------------------------------

    def screen(self, probe=False):
        """The screen's size, and each output's (connected, rotation, geometry or None) by name. `probe`
        asks the driver to look at its connectors again, as `xrandr --query` does; otherwise the server
        answers with what it knows (`xrandr --current`), which a hot-plug event has updated."""
        root, x, y, width, height, border, depth = (c_ulong(), c_int(), c_int(), c_uint(), c_uint(), c_uint(),
                                                    c_uint())
        xlib.XGetGeometry(self.display, self.root, byref(root), byref(x), byref(y), byref(width), byref(height),
                        byref(border), byref(depth))
        fetch = xlib.XRRGetScreenResources if probe else xlib.XRRGetScreenResourcesCurrent
        resources = fetch(self.display, self.root)
        outputs = {}
        try:
            for index in range(resources.contents.noutput):
                output = xlib.XRRGetOutputInfo(self.display, resources, resources.contents.outputs[index])
                info = output.contents
                rotation, geometry = "normal", None
                if info.crtc:
                    crtc = xlib.XRRGetCrtcInfo(self.display, resources, info.crtc)
                    if crtc.contents.mode:
                        c = crtc.contents
                        geometry = (c.x, c.y, c.width, c.height)
                        rotation = ROTATIONS.get(c.rotation & 0xF, "normal")
                    xlib.XRRFreeCrtcInfo(crtc)
                outputs[info.name.decode()] = (info.connection == RR_CONNECTED, rotation, geometry)
                xlib.XRRFreeOutputInfo(output)
        finally:
            xlib.XRRFreeScreenResources(resources)
        return (width.value, height.value), outputs

    # --- input devices ----------------------------------------------------------------------------

    def input_devices(self):
        """Each input device's (id, name) in the server's order, as xinput lists them: the enabled ones
        first, each newer one after the older."""
        count = c_int()
        devices = xlib.XIQueryDevice(self.display, 0, byref(count))  # all devices
        try:
            return [(devices[i].deviceid, devices[i].name.decode(errors="replace")) for i in range(count.value)]
        finally:
            xlib.XIFreeDeviceInfo(devices)

    def float_property(self, device, name, count):
        """The device's property of 32-bit floats; None while the device or the property is absent."""
        kind, size, items, after = c_ulong(), c_int(), c_ulong(), c_ulong()
        data = POINTER(ctypes.c_uint8)()
        status = xlib.XIGetProperty(self.display, device, self._atom(name), 0, count, 0, ANY_PROPERTY_TYPE,
                                   byref(kind), byref(size), byref(items), byref(after), byref(data))
        clean = self._clean()
        try:
            if status != 0 or not clean or size.value != 32 or kind.value != self._atom("FLOAT"):
                return None
            return tuple(ctypes.cast(data, POINTER(ctypes.c_float))[i] for i in range(items.value))
        finally:
            if data:
                xlib.XFree(data)
