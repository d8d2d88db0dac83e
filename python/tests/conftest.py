"""Fixtures: a T store whose trees are gone after each test, and a clean thread error."""

from __future__ import annotations

import datetime

import pytest

import dax64


@pytest.fixture(autouse=True)
def _clean_error():
    dax64.support.clear_error()
    yield


@pytest.fixture
def store():
    with dax64.TStore() as opened:
        yield opened
    for alias in list(opened.aliases):
        del opened.aliases[alias]


@pytest.fixture
def lab(store):
    """Lab: Value (String, default), Baud (Long), Raw (Binary), When (Date/Time),
    On (Boolean), Any (no type); Cfg with three Ports and a Bus group."""
    store.declare(
        "Lab",
        attributes={"Value": str, "Baud": int, "Raw": bytes, "When": datetime.datetime, "On": bool, "Any": None},
        default_attribute="Value",
        nodes={"Cfg": {"Port": [dax64.Item(Value="COM1", Baud=9600), "COM2", "COM1"], "Bus": {}}},
    )
    return store
