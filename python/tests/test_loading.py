"""Where the package looks for the libraries, and what it says when they are missing."""

from pathlib import Path

import pytest

import dax64
from dax64 import _native


def test_the_environment_variable_comes_first_then_the_package_then_prefixes(monkeypatch, tmp_path):
    monkeypatch.setenv(_native.ENV_VARIABLE, f"{tmp_path}/a:{tmp_path}/b")
    folders = _native._candidate_folders()
    assert folders[:2] == [tmp_path / "a", tmp_path / "b"]
    package = Path(_native.__file__).resolve().parent
    assert folders[2:4] == [package / "lib", package]
    assert Path("/usr/local/lib") in folders


def test_a_folder_without_the_libraries_is_reported(tmp_path):
    (tmp_path / "libvek64.so").write_bytes(b"not a library")
    (tmp_path / "libmorph64.so").write_bytes(b"")
    (tmp_path / "libdax64.so").write_bytes(b"")
    with pytest.raises(dax64.LibraryNotFound):
        _native.Libraries(tmp_path)


def test_only_declared_exports_are_handed_out():
    libraries = dax64.libraries()
    assert libraries.has("T_GetA") and libraries.T_GetA.restype is not None
    with pytest.raises(AttributeError):
        libraries.NoSuchExport
