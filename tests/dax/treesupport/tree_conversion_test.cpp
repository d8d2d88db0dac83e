// DaxTreToCOs and DaxUnpackTree: the objects they hand out, read back the way the
// script hosts read them, and the inputs they refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dax/framework/script_host.h"
#include "dax64.h"
#include "vek64.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using dax_test::Language;
using dax_test::ScriptHost;
using dax_test::Value;

const ScriptHost kVBScript(Language::kVBScript);
const ScriptHost kJScript(Language::kJScript);

// The objects of a result array, each holding a reference of its own.
class Objects {
  public:
    ~Objects() { Reset(); }
    void **Out() {
        Reset();
        return reinterpret_cast<void **>(&array_);
    }
    SAFEARRAY *Array() const { return array_; }
    size_t Count() const { return array_ == nullptr ? 0 : array_->rgsabound[0].cElements; }
    IDispatch *At(size_t index) const { return static_cast<IDispatch **>(array_->pvData)[index]; }
    std::string Text(size_t index, const std::string &name) const {
        return kVBScript.Read(At(index), name).value.AsText();
    }

  private:
    void Reset() {
        if (array_ != nullptr)
            SafeArrayDestroy(array_);
        array_ = nullptr;
    }
    SAFEARRAY *array_ = nullptr;
};

std::string Packed(const std::string &records) {
    void *packed = nullptr;
    const int32_t size = VekCompressData(records.data(), static_cast<int32_t>(records.size()),
                                         &packed, VEK_PACK_ZLIB, -1);
    EXPECT_GT(size, 0);
    std::string bytes(static_cast<const char *>(packed), static_cast<size_t>(size));
    VekTextFree(static_cast<char *>(packed));
    return bytes;
}

int32_t Unpack(const std::string &packed, Objects &objects) {
    return DaxUnpackTree(packed.data(), static_cast<int32_t>(packed.size()), objects.Out());
}

TEST(DaxTreToCOs, PreOrderWithIdentitiesAndTypedValues) {
    const char *source = R"({"name": "Main", "attributes": {"Port": "COM1", "Rate": 9600},
        "children": [{"name": "A", "children": [{"name": "A1", "attributes": {"On": true}}]},
                     {"name": "B", "attributes": {"Big": {"$int64": 5}}}]})";
    Objects objects;
    ASSERT_EQ(DaxTreToCOs(source, objects.Out()), 4);
    ASSERT_EQ(objects.Count(), 4u);
    EXPECT_EQ(SafeArrayGetDim(objects.Array()), 1u);
    LONG low = -1;
    SafeArrayGetLBound(objects.Array(), 1, &low);
    EXPECT_EQ(low, 0);

    const Value port = kVBScript.Read(objects.At(0), "Port").value;
    EXPECT_EQ(port.Type(), VT_BSTR);
    EXPECT_EQ(port.AsText(), "COM1");
    const Value rate = kJScript.Read(objects.At(0), "Rate").value;
    EXPECT_EQ(rate.Type(), VT_I4);
    EXPECT_EQ(rate.AsI4(), 9600);
    EXPECT_EQ(kVBScript.Read(objects.At(2), "On").value.Type(), VT_BOOL);
    EXPECT_EQ(kVBScript.Read(objects.At(3), "Big").value.Type(), VT_I8);

    // Root, A, A1, B: each node's Parent_UUID is its parent's UUID; the root has none.
    const std::string root = objects.Text(0, "UUID");
    EXPECT_EQ(root.size(), 38u);
    EXPECT_EQ(kVBScript.Read(objects.At(0), "Parent_UUID").value.Type(), VT_EMPTY);
    EXPECT_EQ(objects.Text(1, "Parent_UUID"), root);
    EXPECT_EQ(objects.Text(2, "Parent_UUID"), objects.Text(1, "UUID"));
    EXPECT_EQ(objects.Text(3, "Parent_UUID"), root);
    EXPECT_NE(objects.Text(1, "UUID"), objects.Text(3, "UUID"));
    // Own properties in order: the node's values, then the identities.
    const std::vector<std::string> names = kJScript.ForIn(objects.At(1));
    EXPECT_EQ(names, (std::vector<std::string>{"UUID", "Parent_UUID"}));
    EXPECT_EQ(kJScript.ForIn(objects.At(0)), (std::vector<std::string>{"Port", "Rate", "UUID"}));
}

TEST(DaxTreToCOs, FailuresLeaveTheResultAlone) {
    void *untouched = reinterpret_cast<void *>(0x1234);
    EXPECT_EQ(DaxTreToCOs("{\"name\": ", &untouched), static_cast<int32_t>(VEK_E_BADDATA));
    EXPECT_EQ(untouched, reinterpret_cast<void *>(0x1234));
    EXPECT_EQ(DaxTreToCOs("/no/such/tree.json", &untouched),
              static_cast<int32_t>(VEK_E_FILENOTFOUND));
    EXPECT_EQ(untouched, reinterpret_cast<void *>(0x1234));
    EXPECT_LT(DaxTreToCOs("{\"name\": \"Main\"}", nullptr), 0);
}

TEST(DaxUnpackTree, RecordsBecomeObjects) {
    Objects objects;
    ASSERT_EQ(Unpack(Packed("000021Name=Port 1;Rate=9600000009Eq=a\\=b;;"), objects), 2);
    ASSERT_EQ(objects.Count(), 2u);
    EXPECT_EQ(objects.Text(0, "Name"), "Port 1");
    EXPECT_EQ(objects.Text(0, "Rate"), "9600");
    EXPECT_EQ(kJScript.ForIn(objects.At(0)), (std::vector<std::string>{"Name", "Rate"}));
    EXPECT_EQ(objects.Text(1, "Eq"), "a=b");
    EXPECT_EQ(kJScript.ForIn(objects.At(1)), std::vector<std::string>{"Eq"});
}

TEST(DaxUnpackTree, ShortTextsAndTheLastHeader) {
    Objects objects;
    for (const char *text : {"", "000000", "000003"}) {
        EXPECT_EQ(Unpack(Packed(text), objects), 0) << text;
        ASSERT_NE(objects.Array(), nullptr);
        EXPECT_EQ(objects.Count(), 0u);
    }
    // A header that ends where the text ends is not read, even a malformed one.
    EXPECT_EQ(Unpack(Packed("000003a=1000000"), objects), 1);
    EXPECT_EQ(Unpack(Packed("000003a=1xxxxxx"), objects), 1);
    // One character more and it is.
    EXPECT_EQ(Unpack(Packed("000003a=1000002b"), objects), static_cast<int32_t>(VEK_E_BADDATA));
    // An empty record before the last character makes an object without properties.
    EXPECT_EQ(Unpack(Packed("000003a=1000000;"), objects), 2);
    EXPECT_EQ(kJScript.ForIn(objects.At(1)), std::vector<std::string>{});
}

TEST(DaxUnpackTree, MalformedRecordsAreRefused) {
    Objects objects;
    for (const char *text : {"00003xa=1", "-00003a=1", "   003a=1", "000010a=1", "+00003a=1"}) {
        void *untouched = reinterpret_cast<void *>(0x1234);
        const std::string packed = Packed(text);
        EXPECT_EQ(DaxUnpackTree(packed.data(), static_cast<int32_t>(packed.size()), &untouched),
                  static_cast<int32_t>(VEK_E_BADDATA))
            << text;
        EXPECT_EQ(untouched, reinterpret_cast<void *>(0x1234));
    }
    // A record text that is no property list.
    EXPECT_EQ(Unpack(Packed("000005novalue"), objects), static_cast<int32_t>(VEK_E_BADDATA));
}

TEST(DaxUnpackTree, DamagedPackedInputIsRefused) {
    const std::string packed = Packed("000003a=1000003b=2");
    Objects objects;
    const auto size = static_cast<int32_t>(packed.size());
    EXPECT_EQ(DaxUnpackTree(packed.data(), size - 3, objects.Out()),
              static_cast<int32_t>(VEK_E_BADDATA));
    const std::string longer = packed + "junk";
    EXPECT_EQ(DaxUnpackTree(longer.data(), size + 4, objects.Out()),
              static_cast<int32_t>(VEK_E_BADDATA));
    EXPECT_EQ(DaxUnpackTree("not packed", 10, objects.Out()), static_cast<int32_t>(VEK_E_BADDATA));
    EXPECT_LT(DaxUnpackTree(packed.data(), -1, objects.Out()), 0);
    EXPECT_LT(DaxUnpackTree(nullptr, 10, objects.Out()), 0);
    EXPECT_EQ(objects.Array(), nullptr);
}

TEST(DaxUnpackTree, MoreThanTheBoundIsRefused) {
    // 256 MiB and one byte of zeros pack to a few hundred KiB.
    const std::string zeros((256u << 20) + 1, '0');
    const std::string packed = Packed(zeros);
    Objects objects;
    EXPECT_EQ(Unpack(packed, objects), static_cast<int32_t>(VEK_E_BADDATA));
}

// A file that daxpack wrote, named by TREECONV_PACKED_FILE, read in a process of
// its own (see tests/daxpack).
TEST(DaxUnpackTree, PackedFileOfDaxpack) {
    const char *path = std::getenv("TREECONV_PACKED_FILE");
    if (path == nullptr)
        GTEST_SKIP() << "TREECONV_PACKED_FILE not set";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::string packed((std::istreambuf_iterator<char>(file)), {});
    Objects objects;
    ASSERT_EQ(Unpack(packed, objects), 5);
    EXPECT_EQ(objects.Text(0, "Parity"), "none");
    EXPECT_EQ(objects.Text(1, "Name"), "Port;2");
    EXPECT_EQ(objects.Text(1, "Path"), "C:\\ports\\2");
    EXPECT_EQ(kJScript.ForIn(objects.At(3)), std::vector<std::string>{});
}

}  // namespace
