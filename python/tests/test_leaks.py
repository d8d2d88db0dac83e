"""A long loop of calls leaves the process's resident size flat: every text the
library hands out is released, every VARIANT cleared, every tree freed."""

import datetime
import os

import dax64
from dax64 import strings as s

_PAGE = os.sysconf("SC_PAGE_SIZE")


def _resident_bytes() -> int:
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * _PAGE


def _round(store, big_text, big_blob):
    assert s.istr_len(s.istr_mid(big_text, 2, 500)) == 500
    s.from_istring(s.to_istring(big_blob))
    s.numstr_mul("9" * 300, "7" * 300)
    store.set("Leak.Cfg.Port!Value", big_text)
    assert store.get("Leak.Cfg.Port!Value") == big_text
    store.set("Leak.Cfg.Port!Raw", big_blob)
    assert store.get("Leak.Cfg.Port!Raw") == big_blob
    store.set("Leak.Cfg.Port!When", datetime.datetime(2026, 12, 6, 8, 14, 19))
    store.get_text("Leak.Cfg.Port!Raw")
    list(store.search("Leak.Cfg.Port[#]!Value", big_text))
    try:
        store.get("Leak.Missing!Value")
    except dax64.TStoreError:
        pass
    with store.declare("Scratch", nodes={"A": {"B": [None, None]}}):
        store.copy("Leak.Cfg", "Scratch.A")


def test_resident_size_stays_flat():
    big_text = "p" * 1000
    big_blob = bytes(range(256)) * 4
    with dax64.TStore() as store:
        store.declare("Leak", attributes={"Value": str, "Raw": bytes, "When": datetime.datetime},
                      default_attribute="Value", nodes={"Cfg": {"Port": None}})
        for _ in range(300):  # warm up: caches and allocator pools reach their size
            _round(store, big_text, big_blob)
        before = _resident_bytes()
        for _ in range(3000):
            _round(store, big_text, big_blob)
        grown = _resident_bytes() - before
    # A leak of one text per round would add 3 MB; of every text, far more.
    assert grown < 1_500_000, f"resident size grew by {grown} bytes"
