// The exports a script can call, one line each. Arguments: t text, i int32 (or
// uint32), p pointer handle, o output text (char ** or a counted byte array's
// void **), v VARIANT * (variant_argument.h), a SAFEARRAY ** of objects the call
// stores (object_array.h). A function whose symbol a library
// lacks is reported at the call. Each entry takes the type of the export from the
// library's own header: an entry whose letters do not fit that type does not compile,
// and the call goes through a pointer of exactly that type.
#include "calls/signature.h"
#include "dax64.h"
#include "dax64_server.h"
#include "morph64.h"
#include "vek64.h"
#include "vek64_objects.h"
#include "vek64_store.h"

namespace daxhost {

namespace {

constexpr auto kVek = Library::kVek;
constexpr auto kMorph = Library::kMorph;
constexpr auto kDax = Library::kDax;

constexpr auto kStatus = ResultKind::kStatus;
constexpr auto kNumber = ResultKind::kNumber;
constexpr auto kCode = ResultKind::kCode;
constexpr auto kText = ResultKind::kText;

constexpr auto kInspects = ErrorUse::kInspects;

#define DAXHOST_EXPORT(name, ...) DeclaredExport<decltype(&name)>(#name, __VA_ARGS__)

constexpr Signature kSignatures[] = {
    // Host functions of the support library: the thread's error information.
    DAXHOST_EXPORT(ZamGetLastError, kVek, kCode, "", kInspects),
    DAXHOST_EXPORT(ZamGetLastErrorSourceA, kVek, kText, "", kInspects),
    DAXHOST_EXPORT(ZamGetLastErrorDescriptionA, kVek, kText, "", kInspects),
    DAXHOST_EXPORT(ZamSetErrorInfo, kVek, kNumber, "p", kInspects),
    // (code, source, description, help_link, dump, dump_size, inner_error)
    DAXHOST_EXPORT(ZamSetErrorInfoA, kVek, kStatus, "itttpip"),

    // Text helpers of the support library.
    DAXHOST_EXPORT(VekTextNewA, kVek, kText, "ti"),
    DAXHOST_EXPORT(VekStrnSearchA, kVek, kNumber, "titiii"),
    DAXHOST_EXPORT(VekStrnSearchRevA, kVek, kNumber, "titiii"),
    DAXHOST_EXPORT(VekStrnCompA, kVek, kNumber, "titii"),
    // (value, radix, width, fill, flags, buffer, buffer_size): pass a null buffer
    // so that the result is a counted text the host may free.
    DAXHOST_EXPORT(VekInt32ToStrnA, kVek, kText, "iiiiipi"),

    // Class registration of the support library: (ProgID, part) of a registered class.
    DAXHOST_EXPORT(ZamGetCOMClassEntryA, kVek, kText, "ti"),
    // (ProgID, flags, class id): a null class id removes the one the ProgID names.
    DAXHOST_EXPORT(ZamUnregisterCOMClassA, kVek, kStatus, "tip"),

    // The format library.
    DAXHOST_EXPORT(FormatOutputA, kMorph, kStatus, "ttoi"),
    DAXHOST_EXPORT(FormatIStrToRawA, kMorph, kStatus, "to"),

    // IString services of the system.
    DAXHOST_EXPORT(Str_IStr_LenA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(Str_IStr_MidA, kDax, kText, "tii"),
    DAXHOST_EXPORT(Str_IStr_PaddA, kDax, kText, "ttii"),
    DAXHOST_EXPORT(Str_IStr_TrimA, kDax, kText, "tti"),
    DAXHOST_EXPORT(Str_IStr_InstrA, kDax, kStatus, "tti"),
    DAXHOST_EXPORT(Str_IStr_CmpA, kDax, kStatus, "ttti"),
    DAXHOST_EXPORT(Str_IStr_SwapA, kDax, kText, "ti"),
    DAXHOST_EXPORT(Str_HexStrToIStrA, kDax, kText, "t"),
    DAXHOST_EXPORT(Str_IStrToHexStrA, kDax, kText, "t"),
    DAXHOST_EXPORT(Str_BitStrToHexStrA, kDax, kText, "t"),
    DAXHOST_EXPORT(Str_HexStrToBitStrA, kDax, kText, "t"),
    DAXHOST_EXPORT(Str_IStr_RandomA, kDax, kText, "ittt"),

    // Host functions of the support library: property lists and tree roots.
    DAXHOST_EXPORT(VekPropsNew, kVek, ResultKind::kPointer, ""),
    DAXHOST_EXPORT(VekPropsSetInt32, kVek, kStatus, "pti"),
    DAXHOST_EXPORT(VekPropsSetTextA, kVek, kStatus, "ptt"),
    DAXHOST_EXPORT(VekPropsFree, kVek, ResultKind::kVoid, "p"),
    DAXHOST_EXPORT(VekTreeNewA, kVek, kStatus, "ti"),
    DAXHOST_EXPORT(VekTreeFree, kVek, kStatus, "i"),
    // Tree files, property texts, UUID texts and packing.
    DAXHOST_EXPORT(VekTreeLoadA, kVek, kStatus, "ti"),
    DAXHOST_EXPORT(VekTreeSaveA, kVek, kStatus, "iti"),
    DAXHOST_EXPORT(VekTreeToTextA, kVek, kText, "i"),
    DAXHOST_EXPORT(VekTextToPropsA, kVek, ResultKind::kPointer, "ttii"),
    DAXHOST_EXPORT(VekPropsToTextA, kVek, kText, "ptii"),
    DAXHOST_EXPORT(VekUuidToStrnA, kVek, kText, "tpi"),
    // (data, size, output, flags, level or limit)
    DAXHOST_EXPORT(VekCompressData, kVek, kStatus, "tioii"),
    DAXHOST_EXPORT(VekDecompressData, kVek, kStatus, "tioii"),

    // The T store: trees, their overview and aliases.
    DAXHOST_EXPORT(T_CheckNodeNameA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_Declare, kDax, kStatus, "p"),
    DAXHOST_EXPORT(T_RemoveA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_Terminate, kDax, kStatus, ""),
    DAXHOST_EXPORT(T_Present_T_Table, kDax, kText, ""),
    DAXHOST_EXPORT(TestHeap, kDax, kStatus, "tii"),
    DAXHOST_EXPORT(T_SetAliasA, kDax, kStatus, "tt"),
    DAXHOST_EXPORT(T_GetAliasA, kDax, kText, "t"),
    DAXHOST_EXPORT(T_ListAliasesA, kDax, kText, ""),
    DAXHOST_EXPORT(T_DeleteAliasA, kDax, kStatus, "t"),

    // The T store: building nodes and asking about them.
    DAXHOST_EXPORT(T_AddNodeA, kDax, kStatus, "tiii"),
    DAXHOST_EXPORT(T_DeleteNodeA, kDax, kStatus, "tii"),
    DAXHOST_EXPORT(T_ChangeNodeTypeA, kDax, kStatus, "tii"),
    DAXHOST_EXPORT(T_ExistsA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_IsGroupA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_GetNodePositionA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_CountNodesA, kDax, kStatus, "ti"),
    DAXHOST_EXPORT(T_GetFullPathA, kDax, kText, "tii"),
    DAXHOST_EXPORT(T_GetChildFullPathA, kDax, kText, "ti"),
    DAXHOST_EXPORT(T_GetNodeHandleA, kDax, kStatus, "t"),
    DAXHOST_EXPORT(T_GetFullPathFromHA, kDax, kText, "i"),
    DAXHOST_EXPORT(T_CheckCurrentNodeA, kDax, kStatus, "t"),

    // The T store: attributes.
    DAXHOST_EXPORT(T_GetA, kDax, kText, "tii"),
    DAXHOST_EXPORT(T_GetVariantA, kDax, kStatus, "tiv"),
    DAXHOST_EXPORT(T_SetA, kDax, kStatus, "tti"),
    DAXHOST_EXPORT(T_SetVariantA, kDax, kStatus, "tv"),
    DAXHOST_EXPORT(T_SetCreateA, kDax, kStatus, "tt"),
    DAXHOST_EXPORT(T_ChangeAttributeTypeA, kDax, kStatus, "tti"),

    // The T store: copying, moving and search.
    DAXHOST_EXPORT(T_CopyNodeA, kDax, kStatus, "ttii"),
    DAXHOST_EXPORT(T_MoveNodeA, kDax, kStatus, "ttii"),
    DAXHOST_EXPORT(T_SearchA, kDax, kText, "tttiii"),
    DAXHOST_EXPORT(T_SearchNextA, kDax, kText, ""),

    // Tree conversion: the objects are shown after the call.
    DAXHOST_EXPORT(DaxTreToCOs, kDax, kStatus, "ta"),
    // (packed data as a text, its size, objects)
    DAXHOST_EXPORT(DaxUnpackTree, kDax, kStatus, "tia"),

    // NumStr services of the system.
    DAXHOST_EXPORT(Str_NumStr_ArithmOpA, kDax, kText, "ttti"),
    DAXHOST_EXPORT(Str_NumStr_CmpA, kDax, kStatus, "ttti"),
    DAXHOST_EXPORT(Str_NumStr_RandomA, kDax, kText, "ittti"),
    DAXHOST_EXPORT(Str_NumStr_ConvA, kDax, kText, "tiii"),

    // Test exports of the system (testing builds only).
    DAXHOST_EXPORT(DaxTestFault, kDax, kStatus, "i"),
    DAXHOST_EXPORT(DaxTestFaultText, kDax, kText, "ti"),

    // The COM server entry points (HRESULTs); identifiers and out objects are pointers.
    DAXHOST_EXPORT(DllGetClassObject, kDax, kCode, "ppp", kInspects),
    DAXHOST_EXPORT(DllCanUnloadNow, kDax, kCode, "", kInspects),
    DAXHOST_EXPORT(DllLockModule, kDax, kNumber, "i", kInspects),
    DAXHOST_EXPORT(DllRegisterServer, kDax, kCode, "", kInspects),
    DAXHOST_EXPORT(DllUnregisterServer, kDax, kCode, "", kInspects),
};

#undef DAXHOST_EXPORT

}  // namespace

std::span<const Signature> AllSignatures() {
    return kSignatures;
}

}  // namespace daxhost
