"""Failures carry the library's code, source and description, in the class of the
family that failed; the frame turns faults into errors."""

import pickle

import pytest

import dax64
from dax64 import support


def test_error_carries_code_source_description_and_family():
    with pytest.raises(dax64.StringServiceError) as caught:
        dax64.strings.numstr_sub("3", "10")
    error = caught.value
    assert (error.code, error.source, error.description) == (
        0xE2090009, "Str.NumStrSub", "NumStrSub(3,10,10) failed: result would be negative")
    assert error.family == 0x2209 and error.export == "Str_NumStr_ArithmOpA"
    assert str(error) == "0xE2090009 [Str.NumStrSub] NumStrSub(3,10,10) failed: result would be negative"
    assert isinstance(error, dax64.DaxError)
    copy = pickle.loads(pickle.dumps(error))
    assert (type(copy), copy.code, copy.description) == (type(error), error.code, error.description)


@pytest.mark.skipif(not dax64.libraries().has("DaxTestFault"), reason="not a testing build")
class TestFrame:
    def test_hardware_faults_come_back_as_windows_codes(self):
        with pytest.raises(dax64.FrameworkError) as caught:
            support.test_fault(1)
        assert caught.value.code == 0xC0000005
        assert caught.value.description.startswith("O.S. exception C0000005h at address ")
        assert caught.value.description.endswith(": Access violation")
        with pytest.raises(dax64.FrameworkError) as caught:
            support.test_fault(2)
        assert caught.value.code == 0xC0000094
        assert caught.value.description.endswith(": Integer division by 0")

    def test_raised_family_error_takes_the_family_text(self):
        with pytest.raises(dax64.FrameworkError) as caught:
            support.test_fault(5)
        assert (caught.value.code, caught.value.source, caught.value.description) == (
            0xE2090003, "Test.DaxTestFault", "Data is invalid")

    def test_text_export_success_empty_and_failure(self):
        assert support.test_fault_text("Port \"COM1\"\t\xe4", 0) == "Port \"COM1\"\t\xe4"
        assert support.test_fault_text("", 0) == ""
        with pytest.raises(dax64.FrameworkError) as caught:
            support.test_fault_text("abc", 5)
        assert caught.value.code == 0xE2090003

    def test_success_leaves_the_last_error_in_place(self):
        with pytest.raises(dax64.DaxError):
            support.test_fault(5)
        assert support.test_fault(0) == 0
        last = support.last_error()
        assert (last.code, last.source, last.description) == (0xE2090003, "Test.DaxTestFault", "Data is invalid")
        support.clear_error()
        assert support.last_error() is None


def test_set_error_takes_the_family_text_without_a_description():
    assert support.set_error(0x22040017, "Here") == 0xE2040017
    last = support.last_error()
    assert (last.code, last.source, last.description) == (
        0xE2040017, "Here", "No node was found to match identifier")
