// Placeholder bodies until the attribute formats are written.
#include "morph64.h"

MORPH_API int32_t MORPH_CALL FormatTGetA(void *, void *, const char *, char **, int32_t) {
    return MORPH_E_BAD_ARGUMENT;
}
MORPH_API int32_t MORPH_CALL FormatTSetA(const char *, void *, void *, const char *, int32_t) {
    return MORPH_E_BAD_ARGUMENT;
}
