// Placeholder bodies until the casts are written.
#include "failure.h"
#include "vek64_store.h"

namespace {
int32_t NotBuilt(const char *function) {
    return vek::Fail(VEK_E_TYPEMISMATCH, function, "Not built yet");
}
}  // namespace

VEK_API int32_t VEK_CALL VekVarCast(VEKVARIANT *, const VEKVARIANT *, uint32_t) {
    return NotBuilt("VekVarCast");
}
VEK_API int32_t VEK_CALL VekVarFromBool(VEKVARIANT *, int32_t) {
    return NotBuilt("VekVarFromBool");
}
VEK_API int32_t VEK_CALL VekVarFromDate(VEKVARIANT *, double) {
    return NotBuilt("VekVarFromDate");
}
VEK_API int32_t VEK_CALL VekVarFromBlob(VEKVARIANT *, const void *, int32_t) {
    return NotBuilt("VekVarFromBlob");
}
VEK_API int32_t VEK_CALL VekVarIsBlob(const VEKVARIANT *v) {
    return v != nullptr && v->type == VEK_VT_BLOB;
}
VEK_API int32_t VEK_CALL VekVarIsUnknown(const VEKVARIANT *) {
    return 0;
}
VEK_API int32_t VEK_CALL VekVarToBool(const VEKVARIANT *, int32_t *) {
    return NotBuilt("VekVarToBool");
}
VEK_API int32_t VEK_CALL VekVarToDate(const VEKVARIANT *, double *) {
    return NotBuilt("VekVarToDate");
}
VEK_API int32_t VEK_CALL VekBufCopy(void **, const void *, int32_t) {
    return NotBuilt("VekBufCopy");
}
VEK_API int32_t VEK_CALL VekVarToVARIANT(const VEKVARIANT *, void *) {
    return NotBuilt("VekVarToVARIANT");
}
VEK_API int32_t VEK_CALL VekVarFromVARIANT(VEKVARIANT *, const void *) {
    return NotBuilt("VekVarFromVARIANT");
}
