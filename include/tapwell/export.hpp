// tapwell: what a shared build of the library exports. Every public function
// and class carries TAPWELL_API; nothing else leaves the shared library.
#pragma once

#if defined(TAPWELL_STATIC_DEFINE)
#define TAPWELL_API
#elif defined(_WIN32)
#if defined(TAPWELL_BUILDING)
#define TAPWELL_API __declspec(dllexport)
#else
#define TAPWELL_API __declspec(dllimport)
#endif
#else
#define TAPWELL_API __attribute__((visibility("default")))
#endif
