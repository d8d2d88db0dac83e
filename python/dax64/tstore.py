"""The T store as Python objects.

The store keeps named trees for the life of the process; paths name their nodes
(``"Lab.Cfg.Port[2]"``) and attribute paths their attributes
(``"Lab.Cfg.Port[2]!Baud"``). A :class:`TStore` is a view of that process-wide
store that remembers the trees it declared, so that leaving its ``with`` block
forgets them and frees their nodes::

    with dax64.TStore() as store:
        store.declare("Lab", attributes={"Value": str, "Baud": int},
                      default_attribute="Value")
        store.add("Lab.Cfg.Port")
        store.set("Lab.Cfg.Port!Baud", 115200)
        assert store.get("Lab.Cfg.Port!Baud") == 115200

Every failure raises :class:`~dax64.errors.TStoreError` with the library's code,
source and description.

Converting trees to and from other forms (the automation side's tree conversion)
is not offered yet: it comes with that side of the library.
"""

from __future__ import annotations

import datetime as _dt
from typing import Any, Dict, Iterator, List, Mapping, MutableMapping, Optional, Union

from ._calls import Text, call_int, call_text, encode, raise_last_error
from ._native import libraries
from .errors import TStoreError
from .variant import OwnedVariant, Value, from_variant, to_variant

__all__ = ["TStore", "Tree", "Item", "Variant", "Aliases"]

_E = TStoreError

ITEM, GROUP, ANY_NODE = 0, 128, 1
RAW, FORMATTED, NO_TEXT = 0x33, 0x15, 2
FAIL_IF_MISSING, EMPTY_IF_MISSING = 0x19, 0x1B
REPORT_NOTHING, IGNORE_NOTHING = 25, 27
_NO_T_OBJECT = 0xE2040020
_ALIAS_NOT_FOUND = 0xE2040001

_TYPE_NAMES: Dict[Any, str] = {
    str: "String",
    int: "Long",
    bool: "Boolean",
    _dt.datetime: "Date/Time",
    _dt.date: "Date/Time",
    bytes: "Binary",
}

_IF_TAKEN = {"twin": 3, "fail": 11, "skip": 41}
_COPY_WHAT = {"subtree": 53, "node": 37, "children": 43}
_PATH_OF = {
    "node": 39, "next": 33, "next_same_name": 31, "first_child": 19, "last_child": 23,
    "next_sibling": 29, "previous_sibling": 48, "parent": 47, "root": 49,
}


class Variant:
    """An attribute declared as ``Variant``: its type may change; ``default`` names the
    type its value starts with (a Python type or a type name)."""

    def __init__(self, default: Any = None) -> None:
        self.default = default


class Item:
    """An item node in a tree description, with attribute values by name."""

    def __init__(self, **attributes: Value) -> None:
        self.attributes = attributes


def _type_name(kind: Any) -> str:
    if isinstance(kind, str):
        return kind
    try:
        return _TYPE_NAMES[kind]
    except KeyError:
        raise TypeError(f"no attribute type for {kind!r}") from None


_ASCII_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")


def _ascii_lower(name: str) -> str:
    """Names compare ignoring the case of ASCII letters only, as the store compares them."""
    return name.translate(_ASCII_LOWER)


class Aliases(MutableMapping[str, str]):
    """The store's aliases as a mapping: ``aliases["DUT"] = "Lab.Cfg"``. A path that
    begins with an alias has it replaced by its text."""

    def __getitem__(self, alias: str) -> str:
        try:
            return call_text(_E, "T_GetAliasA", encode(alias))
        except TStoreError as error:
            if error.code == _ALIAS_NOT_FOUND:
                raise KeyError(alias) from None
            raise

    def __setitem__(self, alias: str, replacement: str) -> None:
        call_int(_E, "T_SetAliasA", encode(alias), encode(replacement))

    def __delitem__(self, alias: str) -> None:
        if alias not in self:
            raise KeyError(alias)
        call_int(_E, "T_DeleteAliasA", encode(alias))

    def __iter__(self) -> Iterator[str]:
        return iter(list(self._listing()))

    def __len__(self) -> int:
        return len(self._listing())

    def __contains__(self, alias: object) -> bool:
        return isinstance(alias, str) and _ascii_lower(alias) in self._names()

    def _listing(self) -> Dict[str, str]:
        listing = call_text(_E, "T_ListAliasesA")
        pairs = (line.split(" -> ", 1) for line in listing.splitlines() if " -> " in line)
        return {alias: replacement for alias, replacement in pairs}

    def _names(self) -> set:
        return {_ascii_lower(alias) for alias in self._listing()}


class Tree:
    """A tree this process declared: its root node and its name. Leaving its ``with``
    block (or :meth:`close`) forgets the tree in the store and frees its nodes."""

    def __init__(self, name: str, root: int) -> None:
        self.name = name
        self.root = root
        self._open = True

    def close(self) -> None:
        """Forgets the tree and frees its nodes (once; later calls do nothing). A tree
        the store no longer knows (after ``T_Terminate``) is only freed."""
        if not self._open:
            return
        self._open = False
        lib = libraries()
        try:
            if lib.T_RemoveA(encode(self.name)) < 0 and lib.ZamGetLastError() & 0xFFFFFFFF != _NO_T_OBJECT:
                raise_last_error(TStoreError, "T_RemoveA")
        finally:
            lib.VekTreeFree(self.root)

    def __enter__(self) -> "Tree":
        return self

    def __exit__(self, *_: object) -> None:
        self.close()

    def path(self, *sections: str) -> str:
        """A path below the root: ``tree.path("Cfg", "Port[2]")`` is ``"Lab.Cfg.Port[2]"``."""
        return ".".join((self.name,) + sections)


class TStore:
    """The process's T store, with the trees declared through this object."""

    def __init__(self) -> None:
        self.trees: Dict[str, Tree] = {}
        self.aliases = Aliases()

    # ---- Life --------------------------------------------------------------------

    def declare(
        self,
        name: str,
        attributes: Optional[Mapping[str, Any]] = None,
        default_attribute: Optional[str] = None,
        remove_first_twin_indexes: bool = False,
        nodes: Optional[Mapping[str, Any]] = None,
    ) -> Tree:
        """Makes a tree with a root group ``name`` and declares it.

        ``attributes`` maps attribute names to their type: ``str``, ``int``, ``bool``,
        ``datetime``, ``bytes``, a type name (``"Long"``), ``None`` (no type) or
        :class:`Variant`. ``nodes`` describes the nodes to add: a mapping is a group,
        a list makes twins, :class:`Item` an item with attribute values, ``None`` an
        item, and any other value an item holding it in the default attribute."""
        lib = libraries()
        root = call_int(_E, "VekTreeNewA", encode(name), GROUP)
        tree = Tree(name, root)
        try:
            self._declare_root(name, root, attributes or {}, default_attribute, remove_first_twin_indexes)
        except BaseException:
            lib.VekTreeFree(root)
            raise
        self.trees[name.lower()] = tree
        try:
            if nodes:
                self.build(name, nodes)
        except BaseException:
            self.forget(name)
            raise
        return tree

    def _declare_root(
        self, name: str, root: int, attributes: Mapping[str, Any], default: Optional[str], remove_first: bool
    ) -> None:
        lib = libraries()
        properties = lib.VekPropsNew()
        if not properties:
            raise MemoryError("no property list")
        try:
            settings: List[tuple] = [("Root Node", root)]
            for number, (attribute, kind) in enumerate(attributes.items(), start=1):
                settings.append((f"Attribute {number}", attribute))
                if isinstance(kind, Variant):
                    settings.append((f"Attribute {attribute} VarType", "Variant"))
                    if kind.default is not None:
                        settings.append((f"Attribute {attribute} Default Variant type", _type_name(kind.default)))
                elif kind is not None:
                    settings.append((f"Attribute {attribute} VarType", _type_name(kind)))
            if default is not None:
                settings.append(("Default Attribute", default))
            if remove_first:
                settings.append(("Remove First Twin Indexes", 1))
            for key, value in settings:
                if isinstance(value, int):
                    call_int(_E, "VekPropsSetInt32", properties, encode(key), value)
                else:
                    call_int(_E, "VekPropsSetTextA", properties, encode(key), encode(value))
            call_int(_E, "T_Declare", properties)
        finally:
            lib.VekPropsFree(properties)

    def build(self, parent: str, nodes: Mapping[str, Any]) -> None:
        """Adds the nodes a description gives below ``parent`` (see :meth:`declare`).
        The description is walked with an explicit stack, so depth costs no recursion."""
        pending = [(parent, nodes)]
        while pending:
            at, children = pending.pop()
            for name, description in children.items():
                for value in description if isinstance(description, list) else [description]:
                    path = f"{at}.{name}"
                    group = isinstance(value, Mapping)
                    call_int(_E, "T_AddNodeA", encode(path), GROUP if group else ITEM, -1, _IF_TAKEN["twin"])
                    added = self.path(f"{path}[-1]")
                    if group:
                        pending.append((added, value))
                    elif isinstance(value, Item):
                        for attribute, attribute_value in value.attributes.items():
                            self.set(f"{added}!{attribute}", attribute_value)
                    elif value is not None:
                        self.set(added, value)

    def forget(self, name: str) -> None:
        """Removes a tree this object declared and frees its nodes."""
        tree = self.trees.pop(name.lower(), None)
        if tree is None:
            raise KeyError(name)
        tree.close()

    def close(self) -> None:
        """Forgets every tree this object declared and frees their nodes."""
        while self.trees:
            _, tree = self.trees.popitem()
            tree.close()

    def __enter__(self) -> "TStore":
        return self

    def __exit__(self, *_: object) -> None:
        self.close()

    @staticmethod
    def terminate() -> None:
        """Forgets every tree and alias of the process (``T_Terminate``); the nodes stay
        their owners'."""
        call_int(_E, "T_Terminate")

    @staticmethod
    def overview() -> str:
        """The table of declared trees and their current nodes (``T_Present_T_Table``)."""
        return call_text(_E, "T_Present_T_Table")

    @staticmethod
    def check_name(name: Text) -> bool:
        """Whether the name is made of name characters only (``T_CheckNodeNameA``)."""
        return call_int(_E, "T_CheckNodeNameA", encode(name)) == 1

    @staticmethod
    def check_current_node(root_name: str) -> bool:
        """Whether the tree's current node and current path agree (``T_CheckCurrentNodeA``)."""
        return call_int(_E, "T_CheckCurrentNodeA", encode(root_name)) == 0

    # ---- Nodes -------------------------------------------------------------------

    def add(self, path: str, group: bool = False, position: int = -1, if_taken: str = "twin") -> None:
        """Adds an item (or a group); missing parent groups are made. ``position`` is
        1-based among the parent's children (-1: last). ``if_taken``: ``"twin"`` adds a
        twin, ``"fail"`` raises, ``"skip"`` adds nothing."""
        call_int(_E, "T_AddNodeA", encode(path), GROUP if group else ITEM, position, _IF_TAKEN[if_taken])

    def delete(self, identifier: str, with_children: bool = True, missing_ok: bool = False) -> int:
        """Deletes every node the identifier selects (``with_children`` False refuses
        groups that have children); returns the library's result."""
        return call_int(_E, "T_DeleteNodeA", encode(identifier), 7 if with_children else 9,
                        IGNORE_NOTHING if missing_ok else REPORT_NOTHING)

    def change_type(self, path: str, group: bool, delete_children: bool = False) -> None:
        """Makes the node a group or an item; a group with children becomes an item only
        with ``delete_children``."""
        call_int(_E, "T_ChangeNodeTypeA", encode(path), GROUP if group else ITEM, 7 if delete_children else 9)

    def exists(self, path: str) -> bool:
        """Whether the node (or the attribute, holding a value) exists."""
        return call_int(_E, "T_ExistsA", encode(path)) == 1

    def is_group(self, path: str) -> bool:
        return call_int(_E, "T_IsGroupA", encode(path)) == 1

    def position(self, path: str) -> int:
        """1-based position among the siblings."""
        return call_int(_E, "T_GetNodePositionA", encode(path))

    def count(self, identifier: str, kind: str = "any") -> int:
        """The number of nodes the identifier selects; ``kind``: ``"any"``, ``"item"``, ``"group"``."""
        return call_int(_E, "T_CountNodesA", encode(identifier), {"any": ANY_NODE, "item": ITEM, "group": GROUP}[kind])

    def path(self, identifier: str, what: str = "node", missing_ok: bool = False) -> Optional[str]:
        """The canonical path of the node the identifier names, or of its relative
        ``what``: node, next, next_same_name, first_child, last_child, next_sibling,
        previous_sibling, parent, root. With ``missing_ok`` a missing one is None."""
        found = call_text(_E, "T_GetFullPathA", encode(identifier), _PATH_OF[what],
                          IGNORE_NOTHING if missing_ok else REPORT_NOTHING)
        return found or None

    def child(self, path: str, position: int) -> str:
        """The path of the child at a 1-based position."""
        return call_text(_E, "T_GetChildFullPathA", encode(path), position)

    def handle(self, path: str) -> int:
        """The node's handle."""
        return call_int(_E, "T_GetNodeHandleA", encode(path))

    def path_of_handle(self, handle: int) -> str:
        return call_text(_E, "T_GetFullPathFromHA", handle)

    def copy(self, source: str, destination: str, position: int = -1, what: str = "subtree") -> None:
        """Copies the node (``what``: ``"subtree"``, ``"node"`` alone or its ``"children"``)
        below the group ``destination``, at a 1-based position (-1: last)."""
        call_int(_E, "T_CopyNodeA", encode(source), encode(destination), position, _COPY_WHAT[what])

    def move(self, source: str, destination: str, position: int = -1, what: str = "subtree") -> None:
        """Moves the node with its subtree (or its ``"children"``) below ``destination``."""
        call_int(_E, "T_MoveNodeA", encode(source), encode(destination), position, _COPY_WHAT[what])

    # ---- Attributes --------------------------------------------------------------

    def get(self, attribute_path: str, missing_ok: bool = False) -> Value:
        """The attribute's value as a Python value (``T_GetVariantA``): int, bool,
        datetime, str, bytes, or None for no value. With ``missing_ok`` a missing tree,
        node or attribute reads as None."""
        with OwnedVariant() as value:
            call_int(_E, "T_GetVariantA", encode(attribute_path),
                     EMPTY_IF_MISSING if missing_ok else FAIL_IF_MISSING, value.pointer())
            return from_variant(value)

    def set(self, attribute_path: str, value: Value) -> None:
        """Stores a Python value (``T_SetVariantA``); a declared attribute converts it to
        its type, and one that does not convert is refused with the old value kept."""
        with OwnedVariant() as variant:
            to_variant(value, variant)
            call_int(_E, "T_SetVariantA", encode(attribute_path), variant.pointer())

    def get_text(self, attribute_path: str, formatted: bool = False, missing_ok: bool = False) -> str:
        """The attribute as text (``T_GetA``): raw (binary values as IStrings) or formatted."""
        return call_text(_E, "T_GetA", encode(attribute_path), FORMATTED if formatted else RAW,
                         EMPTY_IF_MISSING if missing_ok else FAIL_IF_MISSING)

    def set_text(self, attribute_path: str, text: Text, formatted: bool = False, create: bool = False) -> None:
        """Writes the attribute from text (``T_SetA``; ``create``: ``T_SetCreateA``,
        which adds a missing node as an item first, raw only)."""
        if create:
            if formatted:
                raise ValueError("a node is created by raw writes only")
            call_int(_E, "T_SetCreateA", encode(attribute_path), encode(text))
        else:
            call_int(_E, "T_SetA", encode(attribute_path), encode(text), FORMATTED if formatted else RAW)

    def change_attribute_type(self, attribute_path: str, kind: Any, force: bool = False) -> None:
        """Retypes an undeclared or Variant attribute (``kind``: a Python type or type
        name); ``force`` stores the type's default when the value won't convert."""
        call_int(_E, "T_ChangeAttributeTypeA", encode(attribute_path), encode(_type_name(kind)), 1 if force else 0)

    # ---- Search ------------------------------------------------------------------

    def search(
        self,
        identifier: str,
        value: Union[str, bytes] = "",
        start: str = "",
        whole_value: bool = True,
        ignore_case: bool = False,
        formatted: bool = False,
    ) -> Iterator[str]:
        """The paths of the nodes whose path matches the attribute identifier and whose
        attribute holds ``value`` (equals it, or contains it when not ``whole_value``),
        in tree order. Each step searches on after the hit before it, so iterators do
        not disturb each other."""
        mode = FORMATTED if formatted else RAW
        at = start
        while True:
            hit = call_text(_E, "T_SearchA", encode(identifier), encode(value), encode(at), mode,
                            1 if whole_value else 0, 1 if ignore_case else 0)
            if not hit:
                return
            yield hit
            at = hit

    # ---- Diagnostics -------------------------------------------------------------

    @staticmethod
    def test_heap(label: str, count: int, size: int) -> int:
        """Allocates and frees ``count`` blocks of ``size`` bytes, printing its progress
        on standard output (``TestHeap``)."""
        return call_int(_E, "TestHeap", encode(label), count, size)
