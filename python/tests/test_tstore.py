"""The T store as objects: trees from descriptions, nodes, typed attributes, search,
aliases, and the trees' lifetime."""

import datetime

import pytest

import dax64


class TestTrees:
    def test_description_builds_groups_twins_and_items(self, lab):
        assert lab.count("Lab.*") == 5
        assert lab.count("Lab.Cfg.Port[#]", "item") == 3
        assert lab.is_group("Lab.Cfg.Bus") and not lab.is_group("Lab.Cfg.Port[1]")
        assert lab.get("Lab.Cfg.Port[1]!Baud") == 9600
        assert lab.get("Lab.Cfg.Port[2]") == "COM2"
        assert lab.position("Lab.Cfg.Bus") == 4

    def test_leaving_the_block_forgets_the_tree_and_frees_its_nodes(self):
        with dax64.TStore() as store:
            tree = store.declare("Gone", nodes={"A": None})
            handle = store.handle("Gone.A")
            assert store.path_of_handle(handle) == "Gone.A[1]"
        assert "Gone" not in dax64.TStore.overview()
        with pytest.raises(dax64.TStoreError) as caught:
            dax64.TStore().path_of_handle(handle)
        assert caught.value.code == 0xE204001A
        tree.close()  # a second close does nothing

    def test_tree_as_context_manager_and_after_terminate(self, store):
        with store.declare("Solo") as tree:
            assert tree.path("Cfg", "Port[2]") == "Solo.Cfg.Port[2]"
            assert store.exists("Solo")
        assert not store.exists("Solo")
        with store.declare("Twice"):
            dax64.TStore.terminate()  # the store forgets it first; closing only frees it
        store.trees.clear()
        assert "Twice" not in dax64.TStore.overview()

    def test_root_name_taken_is_refused_and_frees_the_new_root(self, lab):
        with pytest.raises(dax64.TStoreError) as caught:
            lab.declare("LAB")
        assert caught.value.code == 0xE2040004
        assert lab.count("Lab.*") == 5

    def test_unknown_attribute_type(self, store):
        with pytest.raises(TypeError):
            store.declare("Odd", attributes={"X": list})


class TestNodes:
    def test_add_with_each_handling_of_a_taken_name(self, lab):
        lab.add("Lab.Cfg.Bus", group=True, if_taken="skip")
        assert lab.count("Lab.Cfg.Bus[#]") == 1
        with pytest.raises(dax64.TStoreError) as caught:
            lab.add("Lab.Cfg.Port", if_taken="fail")
        assert (caught.value.code, caught.value.source, caught.value.description) == (
            0xE204001B, "T.T_AddNode", "Node Lab.Cfg.Port has twins")
        lab.add("Lab.Deep.Er.Node")
        assert lab.is_group("Lab.Deep.Er")
        with pytest.raises(dax64.TStoreError) as caught:
            lab.add("Lab.Cfg.Port", position=0)
        assert (caught.value.code, caught.value.description) == (0xE204000F, "Invalid position: 0")

    def test_paths_and_relatives(self, lab):
        assert lab.path("Lab.Cfg.Port[-1]") == "Lab.Cfg[1].Port[3]"
        assert lab.path("Lab.Cfg", "last_child") == "Lab.Cfg[1].Bus[1]"
        assert lab.path("Lab.Cfg.Port[1]", "parent") == "Lab.Cfg[1]"
        assert lab.path("Lab", "parent", missing_ok=True) is None
        assert lab.child("Lab.Cfg", 2) == "Lab.Cfg.Port[2]"  # the given path and the child's section
        with pytest.raises(dax64.TStoreError) as caught:
            lab.path("Lab.Nope")
        assert caught.value.code == 0xE2040017

    def test_copy_move_delete(self, lab):
        lab.copy("Lab.Cfg", "Lab")
        assert lab.count("Lab.Cfg[2].*") == 4
        lab.move("Lab.Cfg[2].Port[2]", "Lab", 1)
        assert lab.path("Lab", "first_child") == "Lab.Port[1]"
        with pytest.raises(dax64.TStoreError) as caught:
            lab.move("Lab.Cfg[1]", "Lab.Cfg[1].Bus")
        assert caught.value.code == 0xE204000E
        lab.delete("Lab.Cfg[#]")
        assert not lab.exists("Lab.Cfg")
        assert lab.delete("Lab.Cfg", missing_ok=True) >= 0
        with pytest.raises(dax64.TStoreError) as caught:
            lab.delete("Lab.Missing")
        assert caught.value.code == 0xE2040017

    def test_change_type_keeps_children_unless_told(self, lab):
        lab.add("Lab.Grp.Child")
        with pytest.raises(dax64.TStoreError):
            lab.change_type("Lab.Grp", group=False)
        lab.change_type("Lab.Grp", group=False, delete_children=True)
        assert not lab.is_group("Lab.Grp") and not lab.exists("Lab.Grp.Child")

    def test_names_and_current_node(self, lab):
        assert dax64.TStore.check_name("Port 1 (A)")
        assert not dax64.TStore.check_name("Port.1")
        assert dax64.TStore.check_current_node("Lab")


class TestAttributes:
    @pytest.mark.parametrize("attribute, value", [
        ("Baud", 115200),
        ("Baud", -5),
        ("On", True),
        ("On", False),
        ("When", datetime.datetime(2024, 2, 29, 8, 30, 15)),
        ("When", datetime.datetime(1850, 6, 1, 6, 0)),
        ("Raw", bytes(range(256))),
        ("Value", "Port \"COM1\"\t\xe4"),
        ("Any", 2**40),
        ("Any", None),
    ])
    def test_typed_values_read_back_as_written(self, lab, attribute, value):
        lab.set(f"Lab.Cfg.Port[2]!{attribute}", value)
        got = lab.get(f"Lab.Cfg.Port[2]!{attribute}")
        assert got == value and type(got) is type(value)

    def test_declared_types_convert_or_refuse(self, lab):
        lab.set("Lab.Cfg.Port[1]!Baud", "57600")
        assert lab.get("Lab.Cfg.Port[1]!Baud") == 57600
        with pytest.raises(dax64.TStoreError) as caught:
            lab.set("Lab.Cfg.Port[1]!Baud", "fast")
        assert (caught.value.code, caught.value.source, caught.value.description) == (
            0xC0020005, "Vek.VekVarCast", 'Cannot convert "fast" to a 32-bit integer')
        assert lab.get("Lab.Cfg.Port[1]!Baud") == 57600
        lab.set("Lab.Cfg.Port[1]!When", datetime.date(2026, 12, 6))
        assert lab.get_text("Lab.Cfg.Port[1]!When") == "2026-12-06"
        lab.set("Lab.Cfg.Port[1]!Any", 2.5)
        assert lab.get("Lab.Cfg.Port[1]!Any") == 2.5

    def test_texts_raw_formatted_and_created(self, lab):
        lab.set_text("Lab.Cfg.Port[1]!Raw", "AT#0D#0A")
        assert lab.get("Lab.Cfg.Port[1]!Raw") == b"AT\r\n"
        assert lab.get_text("Lab.Cfg.Port[1]!Raw") == "AT#0D#0A"
        with pytest.raises(dax64.TStoreError) as caught:
            lab.set_text("Lab.Cfg.Port[1]!Baud", "x", formatted=True)
        assert (caught.value.code, caught.value.description) == (0xE2040023, 'Cannot parse "x" as a 32-bit integer')
        lab.set_text("Lab.Cfg.Modem!Value", "COM3", create=True)
        assert lab.get("Lab.Cfg.Modem") == "COM3"

    def test_missing_nodes_fail_or_read_as_nothing(self, lab):
        with pytest.raises(dax64.TStoreError) as caught:
            lab.get("Lab.Nope!Value")
        assert caught.value.code == 0xE204001A
        assert lab.get("Lab.Nope!Value", missing_ok=True) is None
        assert lab.get_text("Lab.Nope!Value", missing_ok=True) == ""
        with pytest.raises(dax64.TStoreError) as caught:
            lab.get("Lab.Cfg.Port[1]!Nope")
        assert caught.value.family == 0x2204

    def test_retyping_an_untyped_attribute(self, lab):
        lab.set("Lab.Cfg.Port[1]!Any", "12")
        lab.change_attribute_type("Lab.Cfg.Port[1]!Any", int)
        assert lab.get("Lab.Cfg.Port[1]!Any") == 12
        with pytest.raises(dax64.TStoreError) as caught:
            lab.change_attribute_type("Lab.Cfg.Port[1]!Baud", str)
        assert caught.value.code == 0xE2040005

    def test_variant_attribute_starts_with_its_default_type(self, store):
        store.declare("V", attributes={"Flag": dax64.Variant(bool)}, nodes={"N": dax64.Item()})
        assert store.get("V.N!Flag") is False


class TestSearchAndAliases:
    def test_search_iterates_over_hits_independently(self, lab):
        hits = lab.search("Lab.Cfg.Port[#]!Value", "COM1")
        other = lab.search("Lab.Cfg.Port[#]!Value", "COM", whole_value=False)
        assert next(hits) == "Lab.Cfg[1].Port[1]"
        assert list(other) == ["Lab.Cfg[1].Port[1]", "Lab.Cfg[1].Port[2]", "Lab.Cfg[1].Port[3]"]
        assert list(hits) == ["Lab.Cfg[1].Port[3]"]
        assert list(lab.search("Lab.Cfg.Port[#]!Value", "com2", ignore_case=True)) == ["Lab.Cfg[1].Port[2]"]
        assert list(lab.search("Lab.Cfg.Port[#]!Value", "COM9")) == []

    def test_aliases_behave_as_a_mapping(self, lab):
        lab.aliases["DUT"] = "Lab.Cfg"
        assert lab.aliases["dut"] == "Lab.Cfg" and "Dut" in lab.aliases
        assert dict(lab.aliases) == {"DUT": "Lab.Cfg"}
        assert lab.get("DUT.Port[2]") == "COM2"
        del lab.aliases["DUT"]
        assert len(lab.aliases) == 0
        with pytest.raises(KeyError):
            lab.aliases["DUT"]
        with pytest.raises(KeyError):
            del lab.aliases["DUT"]
        with pytest.raises(dax64.TStoreError) as caught:
            lab.aliases[""] = "Lab"
        assert caught.value.code == 0xE2040005
