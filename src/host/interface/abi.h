// Calling-convention words for the boundary between the plug-in and the frame server.
//
// The 32-bit Windows host is built with Microsoft's compiler. Every virtual slot it calls or
// offers is declared with its convention explicitly, so that GCC and the host's compiler agree
// on where `this` and the arguments go and on who pops the stack: stdcall for the ordinary
// slots, cdecl for the two variadic ones, and thiscall (`this` in ECX, the callee pops) for the
// deleting destructors, because Microsoft's compiler ignores a stdcall written on a destructor.
// Elsewhere the words expand to nothing.
#pragma once

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define VELMIRE_STDCALL __stdcall
#define VELMIRE_CDECL __cdecl
#define VELMIRE_THISCALL __thiscall
#else
#define VELMIRE_STDCALL
#define VELMIRE_CDECL
#define VELMIRE_THISCALL
#endif

#if defined(_WIN32)
#define VELMIRE_EXPORT
#else
#define VELMIRE_EXPORT __attribute__((visibility("default")))
#endif
