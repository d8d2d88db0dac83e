"""The support library's host functions: text search and comparison, wildcards,
number texts, and the library's own VARIANT conversions."""

import ctypes
import datetime

import pytest

import dax64
from dax64 import support
from dax64.variant import OwnedVariant, date_to_days, days_to_date, from_variant, to_variant


def test_search_and_compare_bytes():
    assert support.find("hello", "l") == 2
    assert support.find("hello", "L", ignore_case=True) == 2
    assert support.find("hello", "x") == -1
    assert support.rfind("hello", "l") == 3
    assert support.compare("abc", "ABD", ignore_case=True) == -1
    assert support.compare("abc", "ABC", ignore_case=True) == 0
    assert support.compare(b"\xff", b"a") == 1


def test_wildcards_match_whole_texts_and_refuse_malformed_patterns():
    assert support.wildcard_match("Port12", "Port#")
    assert support.wildcard_match("port[3]", "PORT?3?", ignore_case=True)
    assert not support.wildcard_match("Port12x", "Port#")
    with pytest.raises(dax64.FrameworkError) as caught:
        support.wildcard_match("a", "{a-")
    assert caught.value.code == 0xC0070057 and caught.value.description.startswith("Malformed pattern")


def test_number_texts():
    assert support.parse_int("-12ab") == (-12, 3)
    assert support.parse_int("FFFFFFFFFF", 16) == (0xFFFFFFFFFF, 10)
    assert support.parse_int("xyz") == (0, 0)
    assert support.format_int(255, 16, 4) == "00FF"
    assert support.format_int(-1, 16, unsigned=True) == "FFFFFFFFFFFFFFFF"
    with pytest.raises(dax64.FrameworkError) as caught:
        support.format_int(5, 99)
    assert (caught.value.code, caught.value.description) == (0xC0070057, "Invalid radix: 99")


@pytest.mark.parametrize("value", [
    None, True, False, 7, -(2**31), 2**31, -(2**63), "", "COM1 \xe4", b"", b"\x00\xff",
    datetime.datetime(2026, 12, 6, 8, 14, 19), datetime.datetime(1850, 6, 1, 18, 0),
])
def test_variants_made_and_read_by_the_library_round_trip(value):
    with OwnedVariant() as variant:
        to_variant(value, variant)
        assert from_variant(variant) == value


def test_variant_layout_and_unrepresentable_values():
    assert ctypes.sizeof(dax64.variant.VARIANT) == (24 if ctypes.sizeof(ctypes.c_void_p) == 8 else 16)
    with pytest.raises(OverflowError):
        to_variant(2**64, OwnedVariant())
    with pytest.raises(TypeError):
        to_variant([1], OwnedVariant())


def test_automation_dates_count_days_from_1899_12_30():
    assert date_to_days(datetime.date(1899, 12, 30)) == 0
    assert date_to_days(datetime.datetime(2024, 2, 29, 12)) == 45351.5
    assert date_to_days(datetime.datetime(1899, 12, 29, 6)) == -1.25
    assert days_to_date(-1.25) == datetime.datetime(1899, 12, 29, 6)
