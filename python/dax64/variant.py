"""Automation VARIANTs and the support library's variants, as Python values.

``T_GetVariantA`` and ``T_SetVariantA`` take a ``VARIANT``: its layout is that of
the platform layer (and of Windows) for the same pointer size: a 16-bit type, three
reserved 16-bit words and an 8-byte value, or two pointers for a record, which
makes 16 bytes on 32-bit and 24 bytes on 64-bit builds.

Values that need no memory of their own (integers, floats, Booleans, dates) are
written into the VARIANT directly. Texts and byte strings need a BSTR or a safe
array made by the library's own allocator, which it does not export: they are
made as a support-library variant (``VekVarFromStrA``, ``VekVarFromBlob``) and
turned into a VARIANT by ``VekVarToVARIANT``. Every VARIANT the library filled is
released by ``VekVarToVARIANT`` of the empty variant, which clears what the
target held.

Python to VARIANT: ``None`` empty, ``bool`` VT_BOOL, ``int`` VT_I4 (VT_I8 beyond
32 bits), ``float`` VT_R8, ``datetime``/``date`` VT_DATE, ``str`` VT_BSTR (Latin-1),
``bytes`` a byte array. Back: the store's kinds become ``None``, ``int``, ``float``,
``bool``, ``datetime``, ``str`` and ``bytes``: a float stored in an attribute of no
declared type comes back as a float.
"""

from __future__ import annotations

import ctypes
import datetime as _dt
from typing import Union

from ._calls import check_status, encode
from ._native import libraries
from .errors import FrameworkError as _SupportError

__all__ = ["VARIANT", "VEKVARIANT", "Value", "OwnedVariant", "to_variant", "from_variant"]

Value = Union[None, bool, int, float, _dt.datetime, _dt.date, str, bytes]

VT_EMPTY, VT_NULL, VT_I4, VT_R8, VT_DATE, VT_BSTR, VT_BOOL, VT_I8 = 0, 1, 3, 5, 7, 8, 11, 20

VEK_VT_EMPTY, VEK_VT_NULL, VEK_VT_INT32, VEK_VT_R8, VEK_VT_DATE = 0, 1, 3, 5, 7
VEK_VT_WTEXT, VEK_VT_BOOL, VEK_VT_INT, VEK_VT_TEXT, VEK_VT_BLOB = 8, 11, 22, 0x100, 0x441

_EPOCH = _dt.datetime(1899, 12, 30)
_SECONDS_PER_DAY = 86400.0


class _Decimal(ctypes.Structure):
    _fields_ = [("reserved", ctypes.c_uint16), ("scale", ctypes.c_uint8), ("sign", ctypes.c_uint8),
                ("hi32", ctypes.c_uint32), ("lo64", ctypes.c_uint64)]


class _Record(ctypes.Structure):
    _fields_ = [("record", ctypes.c_void_p), ("record_info", ctypes.c_void_p)]


class _Value(ctypes.Union):
    _fields_ = [("llVal", ctypes.c_int64), ("lVal", ctypes.c_int32), ("dblVal", ctypes.c_double),
                ("boolVal", ctypes.c_int16), ("pointer", ctypes.c_void_p), ("record", _Record)]


class _Tagged(ctypes.Structure):
    _fields_ = [("vt", ctypes.c_uint16), ("reserved1", ctypes.c_uint16), ("reserved2", ctypes.c_uint16),
                ("reserved3", ctypes.c_uint16), ("value", _Value)]


class VARIANT(ctypes.Union):
    """The automation VARIANT; ``VARIANT().tagged.vt`` is VT_EMPTY."""

    _fields_ = [("tagged", _Tagged), ("decimal", _Decimal)]


assert ctypes.sizeof(VARIANT) == (24 if ctypes.sizeof(ctypes.c_void_p) == 8 else 16)


class _VekValue(ctypes.Union):
    _fields_ = [("int32_value", ctypes.c_int32), ("int_value", ctypes.c_int64), ("date_value", ctypes.c_double),
                ("double_value", ctypes.c_double),
                ("bool_value", ctypes.c_int32), ("pointer", ctypes.c_void_p)]


class VEKVARIANT(ctypes.Structure):
    """The support library's variant (``vek64_store.h``)."""

    _fields_ = [("type", ctypes.c_uint32), ("reserved", ctypes.c_uint32), ("value", _VekValue)]


def date_to_days(value: Union[_dt.datetime, _dt.date]) -> float:
    """An automation date: days since 1899-12-30, the time of day as the fraction
    (before the epoch the fraction still counts forwards from the day's midnight)."""
    if not isinstance(value, _dt.datetime):
        value = _dt.datetime(value.year, value.month, value.day)
    value = value.replace(tzinfo=None)
    midnight = value.replace(hour=0, minute=0, second=0, microsecond=0)
    days = (midnight - _EPOCH).days
    fraction = (value - midnight).total_seconds() / _SECONDS_PER_DAY
    return days - fraction if days < 0 else days + fraction


def days_to_date(days: float) -> _dt.datetime:
    """The datetime of an automation date, to the millisecond."""
    whole = int(days)
    fraction = abs(days - whole)
    milliseconds = round(fraction * _SECONDS_PER_DAY * 1000)
    return _EPOCH + _dt.timedelta(days=whole, milliseconds=milliseconds)


class OwnedVariant:
    """A VARIANT that this process may hand to the library and that is released
    (``VekVarToVARIANT`` of the empty value) when the block ends."""

    def __init__(self) -> None:
        self.variant = VARIANT()

    def pointer(self) -> ctypes.c_void_p:
        return ctypes.cast(ctypes.byref(self.variant), ctypes.c_void_p)

    def __enter__(self) -> "OwnedVariant":
        return self

    def __exit__(self, *_: object) -> None:
        self.clear()

    def clear(self) -> None:
        if self.variant.tagged.vt not in (VT_EMPTY, VT_NULL):
            libraries().VekVarToVARIANT(None, self.pointer())
        self.variant = VARIANT()


def to_variant(value: Value, target: OwnedVariant) -> None:
    """Writes a Python value into ``target``."""
    tagged = target.variant.tagged
    if value is None:
        tagged.vt = VT_EMPTY
    elif isinstance(value, bool):
        tagged.vt, tagged.value.boolVal = VT_BOOL, -1 if value else 0
    elif isinstance(value, int):
        if -(2**31) <= value < 2**31:
            tagged.vt, tagged.value.lVal = VT_I4, value
        elif -(2**63) <= value < 2**63:
            tagged.vt, tagged.value.llVal = VT_I8, value
        else:
            raise OverflowError(f"{value} does not fit a 64-bit integer")
    elif isinstance(value, float):
        tagged.vt, tagged.value.dblVal = VT_R8, value
    elif isinstance(value, (_dt.datetime, _dt.date)):
        tagged.vt, tagged.value.dblVal = VT_DATE, date_to_days(value)
    elif isinstance(value, (str, bytes, bytearray, memoryview)):
        _to_allocated_variant(value, target)
    else:
        raise TypeError(f"no attribute value can be made of {type(value).__name__}")


def _to_allocated_variant(value: Union[str, bytes, bytearray, memoryview], target: OwnedVariant) -> None:
    lib = libraries()
    vek = VEKVARIANT()
    try:
        if isinstance(value, str):
            data = encode(value) or b""
            status = lib.VekVarFromStrA(ctypes.byref(vek), data, len(data))
            check_status(status, _SupportError, "VekVarFromStrA")
        else:
            data = bytes(value)
            check_status(lib.VekVarFromBlob(ctypes.byref(vek), data, len(data)), _SupportError, "VekVarFromBlob")
        check_status(lib.VekVarToVARIANT(ctypes.byref(vek), target.pointer()), _SupportError, "VekVarToVARIANT")
    finally:
        lib.VekVarClear(ctypes.byref(vek))


def from_variant(source: OwnedVariant) -> Value:
    """The Python value of a VARIANT the library filled."""
    lib = libraries()
    vek = VEKVARIANT()
    try:
        check_status(lib.VekVarFromVARIANT(ctypes.byref(vek), source.pointer()), _SupportError, "VekVarFromVARIANT")
        return _from_vek(vek)
    finally:
        lib.VekVarClear(ctypes.byref(vek))


def _array_bytes(address: int, item_size: int) -> bytes:
    if not address:
        return b""
    return ctypes.string_at(address, libraries().VekArrayCountEx_(address) * item_size)


def _from_vek(vek: VEKVARIANT) -> Value:
    kind = vek.type
    if kind in (VEK_VT_EMPTY, VEK_VT_NULL):
        return None
    if kind == VEK_VT_INT32:
        return int(vek.value.int32_value)
    if kind == VEK_VT_INT:
        return int(vek.value.int_value)
    if kind == VEK_VT_R8:
        return float(vek.value.double_value)
    if kind == VEK_VT_BOOL:
        return vek.value.bool_value != 0
    if kind == VEK_VT_DATE:
        return days_to_date(vek.value.date_value)
    if kind == VEK_VT_TEXT:
        return _array_bytes(vek.value.pointer, 1).decode("latin-1")
    if kind == VEK_VT_WTEXT:
        return _array_bytes(vek.value.pointer, 2).decode("utf-16-le")
    if kind == VEK_VT_BLOB:
        return _array_bytes(vek.value.pointer, 1)
    raise TypeError(f"the attribute holds a value of kind 0x{kind:X}, which Python cannot take")
