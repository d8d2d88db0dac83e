"""IString and NumStr services over Python texts."""

import pytest

import dax64
from dax64 import strings as s


class TestIStrings:
    def test_length_and_cut(self):
        assert s.istr_len("Hello#2C World") == 12
        assert s.istr_len(b"AB#0D") == 3
        assert s.istr_mid("Hello#2C World", 6, 2) == "#2C "
        assert s.istr_mid("abc", 2) == "bc"
        assert s.istr_mid("abc", 2, 0) == ""

    def test_malformed_istring_names_the_escape(self):
        with pytest.raises(dax64.StringServiceError) as caught:
            s.istr_len("AB#4")
        assert (caught.value.code, caught.value.source, caught.value.description) == (
            0xE2090003, "Str.Str_IStr_Len", 'Incomplete escape "#4" at byte 3 of the IString')

    def test_cut_beyond_the_end_is_refused(self):
        with pytest.raises(dax64.StringServiceError) as caught:
            s.istr_mid("abc", 3, 5)
        assert (caught.value.code, caught.value.description) == (0xE2090004, "Length of the IString is exceeded")

    def test_pad_trim_find_compare_swap(self):
        assert s.istr_pad("7", "0", 3, 1) == "007"
        assert s.istr_pad("ab", "-", 4) == "ab--"
        assert s.istr_trim("xxabx", "X", 1) == "abx"
        assert s.istr_trim("abxx", "x", -1) == "ab"
        assert s.istr_find("abcabc", "c", 4) == 6
        assert s.istr_find("abc", "z") == 0
        assert s.istr_equal("AB", "#41#42")
        assert not s.istr_equal("ab", "AB")
        assert s.istr_equal("ab", "AB", case_sensitive=False)
        assert s.istr_swap("#01#02#03#04", 2) == "#03#04#01#02"
        with pytest.raises(dax64.StringServiceError) as caught:
            s.istr_swap("ab", 0)
        assert caught.value.description == "Invalid group: 0"

    def test_hex_and_bit_conversions(self):
        assert s.istr_to_hex("AT#0D") == "41540D"
        assert s.hex_to_istr("41540D") == "AT#0D"
        assert s.bits_to_hex("11111") == "1F"
        assert s.hex_to_bits("1F") == "00011111"
        with pytest.raises(dax64.StringServiceError) as caught:
            s.hex_to_istr("414")
        assert (caught.value.code, caught.value.description) == (0xE2100003, "Odd number of hexadecimal digits")

    def test_bytes_round_trip_through_istrings(self):
        every_byte = bytes(range(256))
        text = s.to_istring(every_byte)
        assert s.from_istring(text) == every_byte
        assert s.istr_len(text) == 256
        assert s.to_istring(b"") == "" and s.from_istring("") == b""
        assert s.canonical_istring("tab#09 e#e4") == "tab#09 e#E4"
        with pytest.raises(dax64.FormatError) as caught:
            s.from_istring("AB#4")
        assert caught.value.code == 0xE2100001

    def test_random_istring_stays_in_its_range(self):
        text = s.istr_random(50, "a", "c")
        assert s.istr_len(text) == 50 and set(text) <= set("abc")

    def test_latin1_text_passes_unchanged(self):
        assert s.istr_mid("\xe4\xf6\xfc", 2, 1) == "\xf6"


class TestNumStrs:
    def test_arithmetic_beyond_64_bits(self):
        assert s.numstr_add("18446744073709551615", "1") == "18446744073709551616"
        assert s.numstr_mul("FFFFFFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFFFFF", 16) == \
            "FFFFFFFFFFFFFFFFFFFE00000000000000000001"
        big = 3**200
        assert s.numstr_value(s.numstr_div(s.numstr(big), "7")) == big // 7
        assert s.numstr_mod("7", "2") == "1"
        assert s.numstr_op("0099", "add", "1") == "0100"
        assert s.numstr_op("", "ADD", "") == ""

    def test_compare_convert_random(self):
        assert s.numstr_compare("0010", "=", "10")
        assert s.numstr_compare("FF", ">", "FE", 16)
        assert not s.numstr_compare("1", "GE", "2")
        assert s.numstr_convert("ZZ", 36, 10) == "1295"
        assert s.numstr_convert("5", 10, 2, 8) == "00000101"
        value = s.numstr_random(3, "5", "9")
        assert len(value) == 3 and 5 <= int(value) <= 9

    def test_failures_carry_their_texts(self):
        with pytest.raises(dax64.StringServiceError) as caught:
            s.numstr_convert("1", 10, 40)
        assert (caught.value.code, caught.value.source, caught.value.description) == (
            0xE2090003, "Str.Str_NumStr_Conv", "Invalid base: 40")
        with pytest.raises(dax64.StringServiceError) as caught:
            s.numstr_random(2, "50", "40")
        assert (caught.value.code, caught.value.description) == (
            0xE2090005, "Specified minimum is greater than specified maximum")
        with pytest.raises(dax64.StringServiceError) as caught:
            s.numstr_div("12", "0")
        assert caught.value.code == 0xC0000094

    def test_python_int_conversions(self):
        assert s.numstr(255, 16) == "FF" and s.numstr(0) == "0"
        assert s.numstr_value("ff", 16) == 255 and s.numstr_value("") == 0
        with pytest.raises(ValueError):
            s.numstr(-1)
