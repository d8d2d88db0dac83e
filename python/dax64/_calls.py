"""Calling exports: texts in, texts out, failures raised.

Texts cross the boundary as 8-bit texts that meet Python's ``str`` as Latin-1
(each character is the byte of the same value); ``bytes`` pass unchanged. Every
text an export returns is copied into Python and released with ``VekTextFree``
at once, so no caller ever holds a library text.

Integer exports fail with a negative result. A text export fails with null, which
is also its empty text: the thread's error information is cleared before the
call, and a null result with an error set afterwards is the failure.
"""

from __future__ import annotations

import ctypes
from typing import Callable, Optional, Type, Union

from ._native import libraries
from .errors import DaxError

Text = Union[str, bytes, bytearray, None]

__all__ = ["Text", "encode", "take_text", "call_int", "call_text", "raise_last_error", "check_status"]


def encode(text: Text) -> Optional[bytes]:
    """A text argument as the library's 8-bit text (None stays the null text)."""
    if text is None:
        return None
    if isinstance(text, (bytes, bytearray)):
        return bytes(text)
    if isinstance(text, str):
        return text.encode("latin-1")
    raise TypeError(f"a text is expected, not {type(text).__name__}")


def decode(raw: bytes) -> str:
    return raw.decode("latin-1")


def take_bytes(address: Optional[int]) -> bytes:
    """The bytes of a counted text or byte array, which is released."""
    if not address:
        return b""
    lib = libraries()
    try:
        return ctypes.string_at(address, lib.VekArrayCountEx_(address))
    finally:
        lib.VekTextFree(address)


def take_text(address: Optional[int]) -> str:
    """The characters of a returned counted text, which is released."""
    return decode(take_bytes(address))


def last_error() -> tuple:
    """The calling thread's error information: (code, source, description)."""
    lib = libraries()
    code = lib.ZamGetLastError() & 0xFFFFFFFF
    source = take_text(lib.ZamGetLastErrorSourceA())
    description = take_text(lib.ZamGetLastErrorDescriptionA())
    return code, source, description


def raise_last_error(error_class: Type[DaxError], export: str, status: Optional[int] = None) -> None:
    """Raises the thread's error information as ``error_class``.

    ``status`` is what the export returned; when the thread's code differs (the
    export failed without describing it) the error carries the status alone."""
    code, source, description = last_error()
    if status is not None and (status & 0xFFFFFFFF) != code:
        code, source, description = status & 0xFFFFFFFF, "", ""
    raise error_class(code, source, description, export)


def _is_failure(status: int) -> bool:
    return (status & 0xC0000000) == 0xC0000000


def check_status(status: int, error_class: Type[DaxError], export: str) -> int:
    """Support-library statuses: a failure has both top bits set."""
    if _is_failure(status & 0xFFFFFFFF):
        raise_last_error(error_class, export, status)
    return status


def call_int(error_class: Type[DaxError], export: str, *arguments) -> int:
    """Calls an integer export; a negative result is raised."""
    function: Callable = getattr(libraries(), export)
    result = function(*arguments)
    if result < 0:
        raise_last_error(error_class, export, result)
    return result


def call_text_raw(error_class: Type[DaxError], export: str, *arguments) -> bytes:
    """Calls a text export and returns the bytes of its text (b"" for null)."""
    lib = libraries()
    function: Callable = getattr(lib, export)
    lib.ZamSetErrorInfo(None)
    address = function(*arguments)
    if not address:
        if lib.ZamGetLastError() != 0:
            raise_last_error(error_class, export)
        return b""
    return take_bytes(address)


def call_text(error_class: Type[DaxError], export: str, *arguments) -> str:
    """Calls a text export and returns its text ("" for null without an error)."""
    return decode(call_text_raw(error_class, export, *arguments))
