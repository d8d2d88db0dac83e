"""A test bench's view of the T store: a device under test described as a tree of
ports and settings, read and written by path, as a pytest test file would.

Run: DAX64_LIBRARY_PATH=build/native/lib python -m pytest examples/test_device_tree.py
"""

import datetime

import pytest

import dax64
from dax64 import Item


@pytest.fixture
def bench():
    """The bench: one device with two serial ports, a bus and its settings."""
    with dax64.TStore() as store:
        store.declare(
            "Bench",
            attributes={"Value": str, "Baud": int, "Enabled": bool, "Calibrated": datetime.datetime,
                        "Init": bytes},
            default_attribute="Value",
            nodes={
                "Device": {
                    "Port": [Item(Value="COM1", Baud=9600, Enabled=True),
                             Item(Value="COM2", Baud=115200, Enabled=False)],
                    "Bus": {"Address": "0x50", "Speed": "400k"},
                    "Settings": {"Timeout": "250", "Retries": "3"},
                },
            },
        )
        store.aliases["DUT"] = "Bench.Device"
        yield store
        del store.aliases["DUT"]


def test_ports_are_read_by_path(bench):
    assert bench.count("DUT.Port[#]") == 2
    assert bench.get("DUT.Port[1]") == "COM1"
    assert bench.get("DUT.Port[2]!Baud") == 115200
    assert [bench.get(f"{hit}!Baud") for hit in bench.search("DUT.Port[#]!Value", "COM", whole_value=False)] \
        == [9600, 115200]


def test_settings_are_written_and_kept_typed(bench):
    bench.set("DUT.Port[1]!Baud", 57600)
    bench.set("DUT.Port[2]!Enabled", True)
    bench.set("DUT.Port[1]!Init", b"AT\r\n")
    bench.set("DUT.Port[1]!Calibrated", datetime.datetime(2026, 12, 6, 8, 14, 19))
    assert bench.get("DUT.Port[1]!Baud") == 57600
    assert bench.get("DUT.Port[2]!Enabled") is True
    assert bench.get_text("DUT.Port[1]!Init") == "AT#0D#0A"
    assert bench.get("DUT.Port[1]!Calibrated").year == 2026


def test_a_wrong_setting_is_refused_and_the_old_value_kept(bench):
    with pytest.raises(dax64.TStoreError) as refused:
        bench.set("DUT.Port[1]!Baud", "fast")
    assert refused.value.code == 0xC0020005
    assert bench.get("DUT.Port[1]!Baud") == 9600


def test_a_spare_port_is_copied_from_the_first_and_removed_again(bench):
    bench.copy("DUT.Port[1]", "DUT", position=-1)
    assert bench.get("DUT.Port[3]") == "COM1"
    bench.set("DUT.Port[3]", "COM3")
    bench.delete("DUT.Port[3]")
    assert bench.count("DUT.Port[#]") == 2
