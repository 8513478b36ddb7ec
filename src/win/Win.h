// The one way into the Windows headers: <windows.h> and the other system headers the program
// uses, in an order that works. No other file includes a header of the Windows SDK itself.
#pragma once

// The macros come from the build (the quaylite_defs target), before any header: the C++ library
// of mingw-w64 fixes its own _WIN32_WINNT as soon as any standard header is read.
#if !defined(UNICODE) || !defined(_UNICODE) || !defined(NOMINMAX) || !defined(WIN32_LEAN_AND_MEAN) || \
    !defined(STRICT) || !defined(_WIN32_WINNT)
#error "build through the quaylite_defs target: it defines the Windows macros"
#endif

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
// clang-format on
