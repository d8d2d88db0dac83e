// Calling conventions, export markers and load-order hooks of the three libraries.
//
// Every export uses the standard Windows calling convention (the callee pops its
// arguments; on x86_64 there is only one convention) and keeps an undecorated name.
#pragma once

#if defined(_WIN32)
#define PLATFORM_WINDOWS 1
#define PLATFORM_STDCALL __stdcall
#define PLATFORM_DLL_EXPORT __declspec(dllexport)
#define PLATFORM_DLL_IMPORT __declspec(dllimport)
// DllMain runs after the run-time has constructed every static object.
#define PLATFORM_INIT_PRIORITY(n)
#else
#define PLATFORM_WINDOWS 0
#define PLATFORM_STDCALL
#define PLATFORM_DLL_EXPORT __attribute__((visibility("default")))
#define PLATFORM_DLL_IMPORT
// On Linux the statics that the design orders get explicit priorities, and the
// load hooks run after all of them (see platform/module_hooks.h).
#define PLATFORM_INIT_PRIORITY(n) __attribute__((init_priority(n)))
#endif

// Declares an export of the library being built (`building` true) or an import of it.
// The public headers are C headers: C++ sees C linkage, C a plain declaration.
#if defined(__cplusplus)
#define PLATFORM_EXTERN_C extern "C"
#else
#define PLATFORM_EXTERN_C extern
#endif
#define PLATFORM_API_EXPORT PLATFORM_EXTERN_C PLATFORM_DLL_EXPORT
#define PLATFORM_API_IMPORT PLATFORM_EXTERN_C PLATFORM_DLL_IMPORT
