"""The support library's host functions: the thread's error information, text
search and comparison, wildcard matching, number texts, and the exported-call
frame's test faults.

Failures raise :class:`~dax64.errors.FrameworkError`.
"""

from __future__ import annotations

import ctypes
from typing import Optional, Tuple

from ._calls import Text, call_int, call_text, check_status, encode, last_error as _last_error, take_text
from ._native import libraries
from .errors import DaxError, FrameworkError

__all__ = [
    "last_error", "clear_error", "set_error", "find", "rfind", "compare", "wildcard_match",
    "parse_int", "format_int", "test_fault", "test_fault_text",
]

_E = FrameworkError
IGNORE_CASE = 1


def last_error() -> Optional[DaxError]:
    """The calling thread's error information as a :class:`DaxError`, or None when it
    holds none (``ZamGetLastError``, ``ZamGetLastErrorSourceA``, ``ZamGetLastErrorDescriptionA``)."""
    code, source, description = _last_error()
    return DaxError(code, source, description) if code else None


def clear_error() -> None:
    """Clears the calling thread's error information (``ZamSetErrorInfo(NULL)``)."""
    libraries().ZamSetErrorInfo(None)


def set_error(code: int, source: Text = None, description: Text = None) -> int:
    """Makes new error information the thread's current one (``ZamSetErrorInfoA``); a
    null description takes the text of the code's family. Returns the raised code."""
    status = libraries().ZamSetErrorInfoA(code if code < 2**31 else code - 2**32, encode(source),
                                          encode(description), None, None, 0, None)
    return status & 0xFFFFFFFF


def _length(text: Optional[bytes]) -> int:
    return len(text) if text is not None else 0


def find(text: Text, pattern: Text, start: int = 0, ignore_case: bool = False) -> int:
    """0-based offset of ``pattern`` in ``text`` at or after ``start``, or -1 (``VekStrnSearchA``)."""
    a, b = encode(text), encode(pattern)
    return libraries().VekStrnSearchA(a, _length(a), b, _length(b), IGNORE_CASE if ignore_case else 0, start)


def rfind(text: Text, pattern: Text, start: int = -1, ignore_case: bool = False) -> int:
    """0-based offset of the last ``pattern`` that begins at or before ``start`` (-1:
    anywhere), or -1 (``VekStrnSearchRevA``)."""
    a, b = encode(text), encode(pattern)
    return libraries().VekStrnSearchRevA(a, _length(a), b, _length(b), IGNORE_CASE if ignore_case else 0, start)


def compare(a: Text, b: Text, ignore_case: bool = False) -> int:
    """-1, 0 or 1 as ``a`` sorts before, equal to or after ``b`` by bytes (``VekStrnCompA``)."""
    x, y = encode(a), encode(b)
    result = libraries().VekStrnCompA(x, _length(x), y, _length(y), IGNORE_CASE if ignore_case else 0)
    return (result > 0) - (result < 0)


def wildcard_match(text: Text, pattern: Text, ignore_case: bool = False) -> bool:
    """Whether the whole text matches the pattern of the store's wildcards: ``?`` one
    character, ``*`` any run, ``{a-z}`` a set, ``#`` a decimal number, ``<...>`` one or
    more of a set (``VekStrnWCompA``)."""
    x, y = encode(text), encode(pattern)
    status = libraries().VekStrnWCompA(x, _length(x), y, _length(y), IGNORE_CASE if ignore_case else 0, None)
    return check_status(status, _E, "VekStrnWCompA") == 0


def parse_int(text: Text, radix: int = 10) -> Tuple[int, int]:
    """The 64-bit number at the start of ``text`` and the count of characters used
    (``VekStrnToInt64A``); (0, 0) when no digit is there."""
    raw = encode(text) or b""
    consumed = ctypes.c_int32()
    value = libraries().VekStrnToInt64A(raw, len(raw), radix, ctypes.byref(consumed))
    check_status(consumed.value, _E, "VekStrnToInt64A")
    return value, consumed.value


def format_int(value: int, radix: int = 10, width: int = 0, fill: str = "0", unsigned: bool = False) -> str:
    """The digits of a 64-bit number in ``radix``, padded on the left with ``fill``
    to ``width`` (``VekInt64ToStrnA``)."""
    lib = libraries()
    lib.ZamSetErrorInfo(None)
    address = lib.VekInt64ToStrnA(value, radix, width, ord(fill), 1 if unsigned else 0, None, 0)
    if not address:
        check_status(lib.ZamGetLastError(), _E, "VekInt64ToStrnA")
    return take_text(address)


def test_fault(kind: int) -> int:
    """Provokes a failure of the given kind inside the exported-call frame (testing
    builds only): 1 access violation, 2 division by zero, 3 standard exception,
    4 other exception, 5 raise, 6 raise without raise bits, 7 internal error,
    8 out of memory; others succeed (``DaxTestFault``)."""
    return call_int(_E, "DaxTestFault", kind)


def test_fault_text(text: Text, kind: int) -> str:
    """The text export of the same faults (``DaxTestFaultText``)."""
    return call_text(_E, "DaxTestFaultText", encode(text), kind)
