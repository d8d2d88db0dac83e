"""dax64 for Python: the script-support libraries through ctypes.

- :mod:`dax64.strings`: IStrings and NumStrs as functions over Python texts;
- :class:`dax64.TStore`: the T store as objects (trees, nodes, typed attributes,
  searches, aliases);
- :mod:`dax64.support`: the thread's error information, text helpers, wildcards;
- :mod:`dax64.errors`: :class:`DaxError` and its subclass per family.

The libraries are found through ``DAX64_LIBRARY_PATH``, next to the package, or
where ``cmake --install`` put them (see :mod:`dax64._native`).
"""

from . import strings, support, variant
from ._native import ENV_VARIABLE, LibraryNotFound, libraries
from .errors import DaxError, FormatError, FrameworkError, StringServiceError, TStoreError
from .tstore import Aliases, Item, TStore, Tree, Variant

__version__ = "0.1.0"

__all__ = [
    "strings", "support", "variant", "libraries", "LibraryNotFound", "ENV_VARIABLE",
    "DaxError", "StringServiceError", "TStoreError", "FormatError", "FrameworkError",
    "TStore", "Tree", "Item", "Variant", "Aliases",
]
