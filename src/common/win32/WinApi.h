#pragma once
// <windows.h> for our Windows sources, without the min/max macros that break standard C++ and
// without the rarely used parts of the API.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
