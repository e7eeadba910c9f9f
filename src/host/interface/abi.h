// Calling-convention words for the boundary between the plug-in and the frame server.
//
// The 32-bit Windows host is built with Microsoft's compiler. Every virtual slot it calls or
// offers is declared stdcall explicitly (the two variadic ones cdecl), so that GCC and the
// host's compiler agree on argument order and on who pops the stack. Elsewhere the words
// expand to nothing.
#pragma once

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define VELMIRE_STDCALL __stdcall
#define VELMIRE_CDECL __cdecl
#else
#define VELMIRE_STDCALL
#define VELMIRE_CDECL
#endif

#if defined(_WIN32)
#define VELMIRE_EXPORT
#else
#define VELMIRE_EXPORT __attribute__((visibility("default")))
#endif
