#pragma once
// The one door to <windows.h>. Every file that needs the Windows API
// includes this header instead, so that all of them see the same, small API
// of the oldest systems we run on (Windows 95 and NT 4).
//
// The build defines _WIN32_WINNT and WINVER for every target that links the
// Windows backend: any C runtime header included before this one would
// otherwise have set them to the toolchain's newer default.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0400
#endif
#ifndef WINVER
#define WINVER 0x0400
#endif

#if _WIN32_WINNT != 0x0400 || WINVER != 0x0400
#error "windows_api.h: the Windows API level must be 0x0400; include this header first or define it in the build"
#endif

#include <windows.h>
