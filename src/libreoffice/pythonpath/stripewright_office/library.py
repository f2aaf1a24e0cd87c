"""libstripewright through ctypes: one item encoded at a time, the type list and the faces.

The library is found at the path in the environment variable STRIPEWRIGHT_LIBRARY when that is
set (a build tree), otherwise by its SONAME. It keeps no state and may be called from any
thread."""
import ctypes
import os
import threading

SONAME = "libstripewright.so.1"

_OK, _BAD_DATA, _UNKNOWN_TYPE, _BUFFER_TOO_SMALL, _INVALID_ARGUMENT, _NO_MEMORY = range(6)

# The data reaches the library as a NUL-terminated string, so a NUL inside it would cut the item
# short and make a bar code of only its beginning.
NUL_MESSAGE = "Error- the data holds a NUL character (code 0), which cannot be bar coded here"


class EncodeError(ValueError):
    """The item cannot be encoded; the text is the message to show."""


class LibraryMissing(RuntimeError):
    """The library cannot be loaded."""


def _bind(path):
    lib = ctypes.CDLL(path)
    lib.stripewright_version.restype = ctypes.c_char_p
    lib.stripewright_version.argtypes = []
    lib.stripewright_type_count.restype = ctypes.c_size_t
    lib.stripewright_type_count.argtypes = []
    for name in ("stripewright_type_name", "stripewright_type_caption"):
        getattr(lib, name).restype = ctypes.c_char_p
        getattr(lib, name).argtypes = [ctypes.c_size_t]
    lib.stripewright_type_takes_checksum.restype = ctypes.c_int
    lib.stripewright_type_takes_checksum.argtypes = [ctypes.c_char_p]
    lib.stripewright_face_name.restype = ctypes.c_char_p
    lib.stripewright_face_name.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    lib.stripewright_encode_alloc.restype = ctypes.c_int
    lib.stripewright_encode_alloc.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int,
                                              ctypes.POINTER(ctypes.c_void_p)]
    lib.stripewright_free.restype = None
    lib.stripewright_free.argtypes = [ctypes.c_void_p]
    return lib


_lock = threading.Lock()
_lib = None


def _library():
    global _lib
    if _lib is None:
        with _lock:
            if _lib is None:
                path = os.environ.get("STRIPEWRIGHT_LIBRARY") or SONAME
                try:
                    _lib = _bind(path)
                except (OSError, AttributeError) as e:
                    raise LibraryMissing(
                        "The Stripewright library %s cannot be loaded (%s); install the package "
                        "libstripewright1." % (path, e)) from None
    return _lib


def _utf8(text):
    # A lone surrogate goes through as it is; the library refuses text that is not UTF-8.
    return text.encode("utf-8", "surrogatepass")


def encode(type_name, data, checksum=False):
    """The font string for one item; EncodeError with the message when it cannot be encoded."""
    if "\0" in data:
        raise EncodeError(NUL_MESSAGE)
    lib = _library()
    result = ctypes.c_void_p()
    status = lib.stripewright_encode_alloc(_utf8(type_name), _utf8(data), 1 if checksum else 0,
                                           ctypes.byref(result))
    if status == _NO_MEMORY or not result.value:
        raise MemoryError("out of memory encoding a bar code")
    try:
        text = ctypes.string_at(result.value).decode("utf-8", "replace")
    finally:
        lib.stripewright_free(result)
    if status != _OK:
        raise EncodeError(text)
    return text


def types():
    """[(name, caption)] of every type, in the catalogue's order."""
    lib = _library()
    return [(lib.stripewright_type_name(i).decode(), lib.stripewright_type_caption(i).decode())
            for i in range(lib.stripewright_type_count())]


def takes_checksum(type_name):
    """True when the type takes the optional check character."""
    return _library().stripewright_type_takes_checksum(_utf8(type_name)) == 1


def face_name(type_name, height="normal"):
    """The face that draws the type at a bar height ("short", "normal" or "tall")."""
    face = _library().stripewright_face_name(_utf8(type_name), _utf8(height))
    if face is None:
        raise EncodeError("no face for bar code type %r at height %r" % (type_name, height))
    return face.decode("utf-8")


def version():
    return _library().stripewright_version().decode()
