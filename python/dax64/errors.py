"""Errors raised by the package: the library's failures with their code, source and
description as the calling thread's error information gave them.

The class says which family of exports failed, so that a test can catch every
failure of the T store with ``except TStoreError``; the code says where the
failure came from (a T store call can fail with a support-library code such as
0xC0020005 when a value does not convert).
"""

from __future__ import annotations

from typing import Optional

__all__ = [
    "DaxError",
    "StringServiceError",
    "TStoreError",
    "FormatError",
    "FrameworkError",
    "family_of",
]

STRING_SERVICES_FAMILY = 0x2209
T_STORE_FAMILY = 0x2204
FORMAT_FAMILY = 0x2210
FRAMEWORK_FAMILY = 0x220F


def family_of(code: int) -> int:
    """The family number of an error code (0x2204 for 0xE2040017)."""
    return (code >> 16) & 0x3FFF


class DaxError(Exception):
    """A failure reported by one of the libraries.

    ``code`` is the unsigned 32-bit error code (``0xE2040017``), ``source`` and
    ``description`` the texts of the thread's error information (empty when it had
    none). ``str(error)`` reads like the script host's failure line:
    ``0xE2040017 [T.T_Object.Locate] No node was found to match identifier``.
    """

    def __init__(self, code: int, source: str = "", description: str = "", export: Optional[str] = None):
        self.code = code & 0xFFFFFFFF
        self.source = source
        self.description = description
        self.export = export
        super().__init__(f"0x{self.code:08X} [{source}] {description}".rstrip())

    @property
    def family(self) -> int:
        """The family number of the code (0x2209, 0x2204, 0x2210, 0x220F, ...)."""
        return family_of(self.code)

    def __reduce__(self):  # keeps the fields when an error crosses processes
        return (type(self), (self.code, self.source, self.description, self.export))


class StringServiceError(DaxError):
    """A failure of an IString or NumStr service (``Str_...`` exports)."""


class TStoreError(DaxError):
    """A failure of the T store (``T_...`` exports)."""


class FormatError(DaxError):
    """A failure of the format library (IString and hexadecimal conversions)."""


class FrameworkError(DaxError):
    """A failure of the exported-call frame or the support library's host functions."""
