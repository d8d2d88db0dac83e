"""Loading the three shared libraries and declaring the exports the package calls.

The libraries are looked for, in this order:

1. the folder named by the environment variable ``DAX64_LIBRARY_PATH``;
2. next to the package (``dax64/lib/`` or the package folder itself), where a
   wheel that bundles them puts them;
3. the lib folder of the installation prefix that this Python runs from, and the
   usual prefixes ``/usr/local`` and ``/usr`` (where ``cmake --install`` puts them);
4. the system loader's own search (``LD_LIBRARY_PATH``, the ld.so cache).

``libvek64`` and ``libmorph64`` are loaded first and globally, so that ``libdax64``
finds them whatever its run path says.
"""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import sys
import threading
from pathlib import Path
from typing import Callable, Dict, List, Optional, Sequence

__all__ = ["Libraries", "libraries", "LibraryNotFound", "ENV_VARIABLE"]

ENV_VARIABLE = "DAX64_LIBRARY_PATH"

_WINDOWS = os.name == "nt"
_NAMES = ("vek64", "morph64", "dax64")


class LibraryNotFound(OSError):
    """None of the places searched holds the three libraries."""


def _file_name(name: str) -> str:
    return f"{name}.dll" if _WINDOWS else f"lib{name}.so"


def _candidate_folders() -> List[Path]:
    folders: List[Path] = []
    configured = os.environ.get(ENV_VARIABLE)
    if configured:
        folders.extend(Path(part) for part in configured.split(os.pathsep) if part)
    here = Path(__file__).resolve().parent
    folders += [here / "lib", here]
    for prefix in dict.fromkeys([sys.prefix, sys.base_prefix, "/usr/local", "/usr"]):
        folders += [Path(prefix) / "lib", Path(prefix) / "lib64"]
        folders += list((Path(prefix) / "lib").glob("*-linux-gnu"))
    return folders


def _find_folder() -> Optional[Path]:
    for folder in _candidate_folders():
        if all((folder / _file_name(name)).is_file() for name in _NAMES):
            return folder
    return None


def _load(path_or_name: str) -> ctypes.CDLL:
    if _WINDOWS:
        return ctypes.WinDLL(path_or_name)  # type: ignore[attr-defined]
    return ctypes.CDLL(path_or_name, mode=ctypes.RTLD_GLOBAL)


c_char_p = ctypes.c_char_p
c_void_p = ctypes.c_void_p
c_int32 = ctypes.c_int32
c_uint32 = ctypes.c_uint32
c_int64 = ctypes.c_int64
c_double = ctypes.c_double
c_uint8 = ctypes.c_uint8

# Text results stay raw addresses (c_void_p): the package reads them and hands them
# back to VekTextFree, which a c_char_p result would make impossible.
_TEXT = c_void_p

# name: (result type, argument types)
_VEK_EXPORTS = {
    "VekTextFree": (None, [c_void_p]),
    "VekTextLength": (c_int32, [c_void_p]),
    "VekTextNewA": (_TEXT, [c_char_p, c_int32]),
    "VekArrayCountEx_": (c_int32, [c_void_p]),
    "ZamAllocMem": (c_void_p, [c_uint32]),
    "ZamFreeMem": (c_int32, [c_void_p]),
    "ZamSetErrorInfo": (c_int32, [c_void_p]),
    "ZamSetErrorInfoA": (c_int32, [c_int32, c_char_p, c_char_p, c_char_p, c_void_p, c_uint32, c_void_p]),
    "ZamGetLastError": (c_int32, []),
    "ZamGetLastErrorSourceA": (_TEXT, []),
    "ZamGetLastErrorDescriptionA": (_TEXT, []),
    "VekStrnSearchA": (c_int32, [c_char_p, c_int32, c_char_p, c_int32, c_uint32, c_int32]),
    "VekStrnSearchRevA": (c_int32, [c_char_p, c_int32, c_char_p, c_int32, c_uint32, c_int32]),
    "VekStrnCompA": (c_int32, [c_char_p, c_int32, c_char_p, c_int32, c_uint32]),
    "VekStrnWCompA": (c_int32, [c_char_p, c_int32, c_char_p, c_int32, c_uint32, c_void_p]),
    "VekStrnToInt64A": (c_int64, [c_char_p, c_int32, c_int32, ctypes.POINTER(c_int32)]),
    "VekInt64ToStrnA": (_TEXT, [c_int64, c_int32, c_int32, c_int32, c_uint32, c_void_p, c_int32]),
    "VekPropsNew": (c_void_p, []),
    "VekPropsFree": (None, [c_void_p]),
    "VekPropsSetTextA": (c_int32, [c_void_p, c_char_p, c_char_p]),
    "VekPropsSetInt32": (c_int32, [c_void_p, c_char_p, c_int32]),
    "VekTreeNewA": (c_int32, [c_char_p, c_int32]),
    "VekTreeFree": (c_int32, [c_int32]),
    "VekVarInit": (None, [c_void_p]),
    "VekVarClear": (None, [c_void_p]),
    "VekVarFromStrA": (c_int32, [c_void_p, c_char_p, c_int32]),
    "VekVarFromBlob": (c_int32, [c_void_p, c_char_p, c_int32]),
    "VekVarToVARIANT": (c_int32, [c_void_p, c_void_p]),
    "VekVarFromVARIANT": (c_int32, [c_void_p, c_void_p]),
}

_MORPH_EXPORTS = {
    "FormatOutputA": (c_int32, [c_char_p, c_char_p, ctypes.POINTER(c_void_p), c_int32]),
    "FormatIStrToRawA": (c_int32, [c_char_p, ctypes.POINTER(c_void_p)]),
    "CFormatRawToIStr": (c_int32, [c_void_p, ctypes.POINTER(c_void_p)]),
}

_DAX_EXPORTS = {
    "Str_IStr_LenA": (c_int32, [c_char_p]),
    "Str_IStr_MidA": (_TEXT, [c_char_p, c_int32, c_int32]),
    "Str_IStr_PaddA": (_TEXT, [c_char_p, c_char_p, c_int32, c_int32]),
    "Str_IStr_TrimA": (_TEXT, [c_char_p, c_char_p, c_int32]),
    "Str_IStr_InstrA": (c_int32, [c_char_p, c_char_p, c_int32]),
    "Str_IStr_CmpA": (c_int32, [c_char_p, c_char_p, c_char_p, c_int32]),
    "Str_IStr_SwapA": (_TEXT, [c_char_p, c_int32]),
    "Str_HexStrToIStrA": (_TEXT, [c_char_p]),
    "Str_IStrToHexStrA": (_TEXT, [c_char_p]),
    "Str_BitStrToHexStrA": (_TEXT, [c_char_p]),
    "Str_HexStrToBitStrA": (_TEXT, [c_char_p]),
    "Str_IStr_RandomA": (_TEXT, [c_int32, c_char_p, c_char_p, c_char_p]),
    "Str_NumStr_ArithmOpA": (_TEXT, [c_char_p, c_char_p, c_char_p, c_int32]),
    "Str_NumStr_CmpA": (c_int32, [c_char_p, c_char_p, c_char_p, c_int32]),
    "Str_NumStr_RandomA": (_TEXT, [c_int32, c_char_p, c_char_p, c_char_p, c_int32]),
    "Str_NumStr_ConvA": (_TEXT, [c_char_p, c_int32, c_int32, c_int32]),
    "T_CheckNodeNameA": (c_int32, [c_char_p]),
    "T_Declare": (c_int32, [c_void_p]),
    "T_RemoveA": (c_int32, [c_char_p]),
    "T_Terminate": (c_int32, []),
    "T_Present_T_Table": (_TEXT, []),
    "TestHeap": (c_int32, [c_char_p, c_uint32, c_int32]),
    "T_SetAliasA": (c_int32, [c_char_p, c_char_p]),
    "T_GetAliasA": (_TEXT, [c_char_p]),
    "T_ListAliasesA": (_TEXT, []),
    "T_DeleteAliasA": (c_int32, [c_char_p]),
    "T_AddNodeA": (c_int32, [c_char_p, c_int32, c_int32, c_int32]),
    "T_DeleteNodeA": (c_int32, [c_char_p, c_int32, c_int32]),
    "T_ChangeNodeTypeA": (c_int32, [c_char_p, c_int32, c_int32]),
    "T_ExistsA": (c_int32, [c_char_p]),
    "T_IsGroupA": (c_int32, [c_char_p]),
    "T_GetNodePositionA": (c_int32, [c_char_p]),
    "T_CountNodesA": (c_int32, [c_char_p, c_int32]),
    "T_GetFullPathA": (_TEXT, [c_char_p, c_int32, c_int32]),
    "T_GetChildFullPathA": (_TEXT, [c_char_p, c_int32]),
    "T_GetNodeHandleA": (c_int32, [c_char_p]),
    "T_GetFullPathFromHA": (_TEXT, [c_int32]),
    "T_CheckCurrentNodeA": (c_int32, [c_char_p]),
    "T_CopyNodeA": (c_int32, [c_char_p, c_char_p, c_int32, c_int32]),
    "T_MoveNodeA": (c_int32, [c_char_p, c_char_p, c_int32, c_int32]),
    "T_SearchA": (_TEXT, [c_char_p, c_char_p, c_char_p, c_int32, c_uint8, c_int32]),
    "T_SearchNextA": (_TEXT, []),
    "T_GetA": (_TEXT, [c_char_p, c_int32, c_int32]),
    "T_GetVariantA": (c_int32, [c_char_p, c_int32, c_void_p]),
    "T_SetA": (c_int32, [c_char_p, c_char_p, c_int32]),
    "T_SetVariantA": (c_int32, [c_char_p, c_void_p]),
    "T_SetCreateA": (c_int32, [c_char_p, c_char_p]),
    "T_ChangeAttributeTypeA": (c_int32, [c_char_p, c_char_p, c_int32]),
}

# Present only in testing builds of the library.
_OPTIONAL_DAX_EXPORTS = {
    "DaxTestFault": (c_int32, [c_int32]),
    "DaxTestFaultText": (_TEXT, [c_char_p, c_int32]),
}


def _declare(library: ctypes.CDLL, exports: dict, into: Dict[str, Callable], optional: bool = False) -> None:
    for name, (result, arguments) in exports.items():
        try:
            function = getattr(library, name)
        except AttributeError:
            if optional:
                continue
            raise
        function.restype = result
        function.argtypes = arguments
        into[name] = function


class Libraries:
    """The three loaded libraries; exports are reached as attributes (``lib.T_GetA``)."""

    def __init__(self, folder: Optional[Path] = None) -> None:
        self.folder = folder if folder is not None else _find_folder()
        paths: Sequence[str]
        if self.folder is not None:
            paths = [str(self.folder / _file_name(name)) for name in _NAMES]
        else:
            found = [ctypes.util.find_library(name) for name in _NAMES]
            if not all(found):
                raise LibraryNotFound(
                    "the dax64 libraries were not found: set "
                    f"{ENV_VARIABLE} to the folder that holds {_file_name('dax64')}"
                )
            paths = [str(path) for path in found]
        try:
            self.vek, self.morph, self.dax = (_load(path) for path in paths)
        except OSError as error:
            raise LibraryNotFound(f"the dax64 libraries could not be loaded: {error}") from error
        # Only declared functions are handed out: a symbol looked up through another
        # library's handle (which also searches its dependencies) would come without
        # its result type and cut 64-bit results and addresses to an int.
        self._functions: Dict[str, Callable] = {}
        _declare(self.vek, _VEK_EXPORTS, self._functions)
        _declare(self.morph, _MORPH_EXPORTS, self._functions)
        _declare(self.dax, _DAX_EXPORTS, self._functions)
        _declare(self.dax, _OPTIONAL_DAX_EXPORTS, self._functions, optional=True)

    def has(self, name: str) -> bool:
        """Whether ``name`` is a declared export of the loaded libraries (test exports
        are present in testing builds only)."""
        return name in self._functions

    def __getattr__(self, name: str) -> Callable:
        functions = self.__dict__.get("_functions", {})
        if name in functions:
            return functions[name]
        raise AttributeError(f"{name} is not a declared export of the dax64 libraries")


_lock = threading.Lock()
_loaded: Optional[Libraries] = None


def libraries() -> Libraries:
    """The process's libraries, loaded on first use."""
    global _loaded
    if _loaded is None:
        with _lock:
            if _loaded is None:
                _loaded = Libraries()
    return _loaded
