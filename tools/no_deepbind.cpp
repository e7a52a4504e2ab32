// Loaded first into an engine run under the sanitizers: the engine opens extensions with RTLD_DEEPBIND,
// which the AddressSanitizer runtime refuses, so the flag is dropped before the runtime's dlopen sees it.
#include <dlfcn.h>

extern "C" __attribute__((visibility("default"))) void *dlopen(const char *p_file, int p_flags) {
	using Open = void *(*)(const char *, int);
	static const Open next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "dlopen"));
	return next(p_file, p_flags & ~RTLD_DEEPBIND);
}
