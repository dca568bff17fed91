// Memory a map keeps for reuse is off limits while it is kept: under
// AddressSanitizer a use of it is reported as a use after release.
// Elsewhere the marks compile to nothing.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define MAPBENCH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAPBENCH_ASAN 1
#endif
#endif

#ifdef MAPBENCH_ASAN
#include <sanitizer/asan_interface.h>
#define MAPBENCH_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define MAPBENCH_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define MAPBENCH_POISON(address, size) ((void)(address), (void)(size))
#define MAPBENCH_UNPOISON(address, size) ((void)(address), (void)(size))
#endif
