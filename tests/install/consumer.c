/* A program built against an installed dax64 tree: it declares a tree, writes and
 * reads an attribute, converts an IString, and checks a failure's code and text. */
#include <stdio.h>
#include <string.h>

#include <dax64.h>
#include <morph64.h>
#include <vek64.h>
#include <vek64_store.h>

static int check(int ok, const char *what) {
    if (!ok)
        fprintf(stderr, "consumer: %s failed\n", what);
    return ok ? 0 : 1;
}

int main(void) {
    int failures = 0;
    int32_t root = VekTreeNewA("Main", 128);
    void *cfg = VekPropsNew();
    VekPropsSetInt32(cfg, "Root Node", root);
    VekPropsSetTextA(cfg, "Attribute 1", "Value");
    failures += check(T_Declare(cfg) == 0, "T_Declare");
    VekPropsFree(cfg);
    failures += check(T_SetCreateA("Main.Cfg.Port!Value", "COM1") == 0, "T_SetCreateA");
    char *value = T_GetA("Main.Cfg.Port!Value", 0x33, 0x19);
    failures += check(value != NULL && strcmp(value, "COM1") == 0, "T_GetA");
    VekTextFree(value);

    char *hex = NULL;
    failures += check(FormatOutputA("AT#0D", "RAW2HEX", &hex, 0) == 0 && strcmp(hex, "41540D") == 0,
                      "FormatOutputA");
    VekTextFree(hex);

    char *sum = Str_NumStr_ArithmOpA("18446744073709551615", "ADD", "1", 10);
    failures +=
        check(sum != NULL && strcmp(sum, "18446744073709551616") == 0, "Str_NumStr_ArithmOpA");
    VekTextFree(sum);

    failures += check(T_GetA("Main.Nope!Value", 0x33, 0x19) == NULL, "T_GetA of a missing node");
    char *description = ZamGetLastErrorDescriptionA();
    failures += check((uint32_t)ZamGetLastError() == 0xE204001Au && description != NULL,
                      "the failure's error information");
    VekTextFree(description);

    T_RemoveA("Main");
    VekTreeFree(root);
    if (failures == 0)
        printf("consumer: ok\n");
    return failures == 0 ? 0 : 1;
}
