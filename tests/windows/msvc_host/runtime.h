// What the test host uses of the C runtime (msvcrt.dll) and of KERNEL32.dll. The host is built
// without a C++ standard library, as a small program of the frame server's own compiler would
// see these functions.
#pragma once

#include <stdarg.h>

extern "C" {
struct FILE;

int __cdecl printf(const char* format, ...);
int __cdecl _vsnprintf(char* buffer, unsigned count, const char* format, va_list args);
int __cdecl fflush(FILE* stream);
FILE* __cdecl fopen(const char* path, const char* mode);
unsigned __cdecl fread(void* buffer, unsigned size, unsigned count, FILE* stream);
int __cdecl fclose(FILE* stream);
void* __cdecl malloc(unsigned size);
void __cdecl free(void* block);
void* __cdecl memcpy(void* to, const void* from, unsigned size);
void* __cdecl memset(void* to, int value, unsigned size);
int __cdecl memcmp(const void* a, const void* b, unsigned size);
unsigned __cdecl strlen(const char* s);
int __cdecl strcmp(const char* a, const char* b);
int __cdecl _strnicmp(const char* a, const char* b, unsigned size);
[[noreturn]] void __cdecl exit(int code);
int __cdecl __getmainargs(int* argc, char*** argv, char*** env, int wildcard, void* startup);

__declspec(dllimport) void* __stdcall LoadLibraryA(const char* path);
__declspec(dllimport) void* __stdcall GetProcAddress(void* module, const char* name);
__declspec(dllimport) int __stdcall FreeLibrary(void* module);

long _InterlockedIncrement(long volatile* value);
long _InterlockedDecrement(long volatile* value);
}
