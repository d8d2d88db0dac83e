"""IStrings and NumStrs as functions over Python texts.

An IString writes bytes as text: ``#`` and two hexadecimal digits stand for one
byte, any other character for itself (``"AT#0D#0A"`` is ``b"AT\\r\\n"``).
Positions and lengths count characters of the bytes, 1-based. IString arguments
may be ``str`` or ``bytes``; results are ``str`` in the canonical form the
library writes (printable ASCII other than ``#`` plain, every other byte
``#XX``). :func:`to_istring` and :func:`from_istring` convert between Python
bytes and IStrings.

A NumStr is a non-negative whole number of any length written in a base of
2..36 (``"0"``-``"9"``, then ``"A"``-``"Z"``). :func:`numstr` and :func:`numstr_value`
convert between Python ints and NumStrs.

Every failure raises :class:`~dax64.errors.StringServiceError` (or
:class:`~dax64.errors.FormatError` for the format library's conversions).
"""

from __future__ import annotations

import ctypes
import string
from ._calls import Text, call_int, call_text, check_status, encode, take_bytes, take_text
from ._native import libraries
from .errors import FormatError, StringServiceError

__all__ = [
    "istr_len", "istr_mid", "istr_pad", "istr_trim", "istr_find", "istr_equal", "istr_swap",
    "istr_random", "hex_to_istr", "istr_to_hex", "bits_to_hex", "hex_to_bits",
    "to_istring", "from_istring", "canonical_istring",
    "numstr_op", "numstr_add", "numstr_sub", "numstr_mul", "numstr_div", "numstr_mod",
    "numstr_compare", "numstr_random", "numstr_convert", "numstr", "numstr_value",
]

_E = StringServiceError

# ---- IStrings ---------------------------------------------------------------------


def istr_len(istr: Text) -> int:
    """The number of characters (bytes) the IString denotes (``Str_IStr_LenA``)."""
    return call_int(_E, "Str_IStr_LenA", encode(istr))


def istr_mid(istr: Text, start: int, count: int = -1) -> str:
    """Characters ``start`` .. ``start + count - 1`` (1-based; -1: the rest) (``Str_IStr_MidA``)."""
    return call_text(_E, "Str_IStr_MidA", encode(istr), start, count)


def istr_pad(istr: Text, padding: Text, length: int, position: int = -1) -> str:
    """Copies of ``padding`` inserted before ``position`` (-1: at the end) until the
    IString has ``length`` characters (``Str_IStr_PaddA``)."""
    return call_text(_E, "Str_IStr_PaddA", encode(istr), encode(padding), position, length)


def istr_trim(istr: Text, trimmed: Text = " ", side: int = 1) -> str:
    """Whole repetitions of ``trimmed`` removed from the start (side 1) or the end
    (side -1), letter case ignored (``Str_IStr_TrimA``)."""
    return call_text(_E, "Str_IStr_TrimA", encode(istr), encode(trimmed), side)


def istr_find(istr: Text, searched: Text, start: int = 1) -> int:
    """1-based position of ``searched`` at or after ``start``, 0 when absent (``Str_IStr_InstrA``)."""
    return call_int(_E, "Str_IStr_InstrA", encode(istr), encode(searched), start)


def istr_equal(first: Text, second: Text, case_sensitive: bool = True) -> bool:
    """Whether the two IStrings denote the same bytes (``Str_IStr_CmpA`` with ``"="``)."""
    return call_int(_E, "Str_IStr_CmpA", encode(first), b"=", encode(second), 1 if case_sensitive else 0) == 1


def istr_swap(istr: Text, group: int = 1) -> str:
    """The groups of ``group`` characters in reverse order (``Str_IStr_SwapA``)."""
    return call_text(_E, "Str_IStr_SwapA", encode(istr), group)


def istr_random(length: int, minimum: Text = "", maximum: Text = "", exclude: Text = "") -> str:
    """``length`` random bytes, each between the one-character IStrings ``minimum``
    and ``maximum``, the whole differing from ``exclude`` (``Str_IStr_RandomA``)."""
    return call_text(_E, "Str_IStr_RandomA", length, encode(minimum), encode(maximum), encode(exclude))


def hex_to_istr(hex_text: Text) -> str:
    """Hexadecimal text to IString (``Str_HexStrToIStrA``)."""
    return call_text(_E, "Str_HexStrToIStrA", encode(hex_text))


def istr_to_hex(istr: Text) -> str:
    """IString to hexadecimal text, upper-case digits (``Str_IStrToHexStrA``)."""
    return call_text(_E, "Str_IStrToHexStrA", encode(istr))


def bits_to_hex(bits: Text) -> str:
    """Bit text to hexadecimal text, zeros added in front to whole digits (``Str_BitStrToHexStrA``)."""
    return call_text(_E, "Str_BitStrToHexStrA", encode(bits))


def hex_to_bits(hex_text: Text) -> str:
    """Hexadecimal text to bit text (``Str_HexStrToBitStrA``)."""
    return call_text(_E, "Str_HexStrToBitStrA", encode(hex_text))


def from_istring(istr: Text) -> bytes:
    """The bytes an IString denotes (``FormatIStrToRawA``)."""
    lib = libraries()
    buffer = ctypes.c_void_p()
    try:
        check_status(lib.FormatIStrToRawA(encode(istr), ctypes.byref(buffer)), FormatError, "FormatIStrToRawA")
    finally:
        raw = take_bytes(buffer.value)
    return raw


def to_istring(raw: bytes) -> str:
    """Bytes as a canonical IString (``CFormatRawToIStr``)."""
    lib = libraries()
    data = bytes(raw)
    buffer = ctypes.c_void_p(lib.VekTextNewA(data, len(data)) if data else None)
    output = ctypes.c_void_p()
    try:
        check_status(lib.CFormatRawToIStr(buffer, ctypes.byref(output)), FormatError, "CFormatRawToIStr")
    finally:
        lib.VekTextFree(buffer)
        text = take_text(output.value)
    return text


def canonical_istring(istr: Text) -> str:
    """The IString in canonical form (``FormatOutputA`` with ``"RAW2HEX.HEX2RAW"``)."""
    lib = libraries()
    output = ctypes.c_void_p()
    try:
        status = lib.FormatOutputA(encode(istr), b"RAW2HEX.HEX2RAW", ctypes.byref(output), 0)
        check_status(status, FormatError, "FormatOutputA")
    finally:
        text = take_text(output.value)
    return text


# ---- NumStrs ----------------------------------------------------------------------


def numstr_op(a: Text, op: str, b: Text, base: int = 10) -> str:
    """``a op b`` with op one of ADD, SUB, MUL, DIV, MOD, AND, OR, XOR (``Str_NumStr_ArithmOpA``).
    The empty NumStr (0) comes back as ``""``."""
    return call_text(_E, "Str_NumStr_ArithmOpA", encode(a), encode(op), encode(b), base)


def numstr_add(a: Text, b: Text, base: int = 10) -> str:
    return numstr_op(a, "ADD", b, base)


def numstr_sub(a: Text, b: Text, base: int = 10) -> str:
    return numstr_op(a, "SUB", b, base)


def numstr_mul(a: Text, b: Text, base: int = 10) -> str:
    return numstr_op(a, "MUL", b, base)


def numstr_div(a: Text, b: Text, base: int = 10) -> str:
    return numstr_op(a, "DIV", b, base)


def numstr_mod(a: Text, b: Text, base: int = 10) -> str:
    return numstr_op(a, "MOD", b, base)


def numstr_compare(a: Text, op: str, b: Text, base: int = 10) -> bool:
    """Whether ``a op b`` holds; op one of ``<  <=  =  <>  >=  >`` or LT, LE, EQ, NE, GE, GT
    (``Str_NumStr_CmpA``)."""
    return call_int(_E, "Str_NumStr_CmpA", encode(a), encode(op), encode(b), base) == 1


def numstr_random(length: int, minimum: Text = "", maximum: Text = "", excluded: Text = "", base: int = 10) -> str:
    """A random NumStr of ``length`` digits between ``minimum`` and ``maximum`` (empty: no
    bound), differing from ``excluded`` (``Str_NumStr_RandomA``)."""
    return call_text(_E, "Str_NumStr_RandomA", length, encode(minimum), encode(maximum), encode(excluded), base)


def numstr_convert(text: Text, from_base: int, to_base: int, length: int = -1) -> str:
    """The NumStr in ``to_base``, padded with leading zeros to ``length`` (-1: as long as
    it takes) (``Str_NumStr_ConvA``)."""
    return call_text(_E, "Str_NumStr_ConvA", encode(text), from_base, to_base, length)


_DIGITS = string.digits + string.ascii_uppercase


def numstr(value: int, base: int = 10) -> str:
    """A non-negative Python int as a NumStr (computed in Python)."""
    if value < 0:
        raise ValueError("NumStrs are not negative")
    if not 2 <= base <= 36:
        raise ValueError("the base is outside 2..36")
    digits = []
    while True:
        value, digit = divmod(value, base)
        digits.append(_DIGITS[digit])
        if value == 0:
            return "".join(reversed(digits))


def numstr_value(text: Text, base: int = 10) -> int:
    """A NumStr as a Python int (the empty NumStr is 0)."""
    raw = encode(text) or b""
    return int(raw.decode("ascii"), base) if raw else 0
