// Result codes shared by the DVB library, the codecs and the filters: 32-bit HRESULT-style values,
// 0 done, 1 nothing done, negative for failures. On Windows the platform's own definitions are used,
// so neutral code and Windows code agree on one type; code that needs more of the platform
// includes its headers itself.
#pragma once

#include <cstdint>

#ifdef _WIN32
// The platform's own type and codes without the whole of <windows.h>: HRESULT is LONG there, and
// LONG is long on Windows, so the two declarations are one; the codes come from <winerror.h>.
typedef long HRESULT;
#include <winerror.h>
#else
typedef int32_t HRESULT;
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#endif

static_assert(sizeof(HRESULT) == 4, "HRESULT is a 32-bit code");
