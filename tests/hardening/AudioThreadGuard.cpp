#include "AudioThreadGuard.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <new>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <time.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLMERE_GUARD_USES_SANITIZER_HOOKS 1
// From the sanitizer runtime (declared here: GCC installs no sanitizer headers).
extern "C" int __sanitizer_install_malloc_and_free_hooks (
    void (*mallocHook) (const volatile void*, size_t), void (*freeHook) (const volatile void*));
#else
#define QUILLMERE_GUARD_USES_SANITIZER_HOOKS 0
#endif

namespace {
thread_local bool insideAudioSection = false;
std::atomic<long> violations {0};
std::atomic<const char*> firstName {nullptr};

// Must not allocate or lock: it runs inside malloc and pthread_mutex_lock.
inline void note (const char* what)
{
	if (!insideAudioSection)
		return;
	if (violations.fetch_add (1, std::memory_order_relaxed) == 0)
		firstName.store (what, std::memory_order_relaxed);
}
} // namespace

namespace AudioThreadGuard {

Section::Section () { insideAudioSection = true; }
Section::~Section () { insideAudioSection = false; }

long violationCount () { return violations.load (); }
const char* firstViolation () { return firstName.load (); }
void reset ()
{
	violations.store (0);
	firstName.store (nullptr);
}
bool checksLocks () { return !QUILLMERE_GUARD_USES_SANITIZER_HOOKS; }

int provokeViolations ()
{
	int expected = 0;
	Section section;
	// volatile keeps the compiler from pairing and removing the new and delete.
	int* volatile number = new int (1);
	delete number;
	expected += 2;
	void* volatile block = std::malloc (16);
	std::free (block);
	expected += 2;
	if (checksLocks ())
	{
		pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
		pthread_mutex_lock (&mutex);
		pthread_mutex_unlock (&mutex);
		sched_yield ();
		expected += 2;
	}
	return expected;
}

} // namespace AudioThreadGuard

#if QUILLMERE_GUARD_USES_SANITIZER_HOOKS

namespace {
void onMalloc (const volatile void*, size_t) { note ("malloc (sanitizer hook)"); }
void onFree (const volatile void* p)
{
	if (p)
		note ("free (sanitizer hook)");
}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks (onMalloc, onFree);
} // namespace

#else

// glibc's own allocator entry points, so these replacements never recurse.
extern "C" {
void* __libc_malloc (size_t);
void __libc_free (void*);
void* __libc_calloc (size_t, size_t);
void* __libc_realloc (void*, size_t);
void* __libc_memalign (size_t, size_t);

void* malloc (size_t size)
{
	note ("malloc");
	return __libc_malloc (size);
}

void free (void* pointer)
{
	if (pointer)
		note ("free");
	__libc_free (pointer);
}

void* calloc (size_t count, size_t size)
{
	note ("calloc");
	return __libc_calloc (count, size);
}

void* realloc (void* pointer, size_t size)
{
	note ("realloc");
	return __libc_realloc (pointer, size);
}

void* memalign (size_t alignment, size_t size)
{
	note ("memalign");
	return __libc_memalign (alignment, size);
}

void* aligned_alloc (size_t alignment, size_t size)
{
	note ("aligned_alloc");
	return __libc_memalign (alignment, size);
}

int posix_memalign (void** out, size_t alignment, size_t size)
{
	note ("posix_memalign");
	if (alignment < sizeof (void*) || (alignment & (alignment - 1)) != 0)
		return EINVAL;
	void* pointer = __libc_memalign (alignment, size);
	if (!pointer)
		return ENOMEM;
	*out = pointer;
	return 0;
}
} // extern "C"

void* operator new (size_t size)
{
	note ("operator new");
	if (void* pointer = __libc_malloc (size ? size : 1))
		return pointer;
	throw std::bad_alloc ();
}
void* operator new[] (size_t size)
{
	note ("operator new[]");
	if (void* pointer = __libc_malloc (size ? size : 1))
		return pointer;
	throw std::bad_alloc ();
}
void* operator new (size_t size, const std::nothrow_t&) noexcept
{
	note ("operator new (nothrow)");
	return __libc_malloc (size ? size : 1);
}
void* operator new[] (size_t size, const std::nothrow_t&) noexcept
{
	note ("operator new[] (nothrow)");
	return __libc_malloc (size ? size : 1);
}
void* operator new (size_t size, std::align_val_t alignment)
{
	note ("operator new (aligned)");
	if (void* pointer = __libc_memalign (static_cast<size_t> (alignment), size ? size : 1))
		return pointer;
	throw std::bad_alloc ();
}
void* operator new[] (size_t size, std::align_val_t alignment)
{
	note ("operator new[] (aligned)");
	if (void* pointer = __libc_memalign (static_cast<size_t> (alignment), size ? size : 1))
		return pointer;
	throw std::bad_alloc ();
}
void operator delete (void* pointer) noexcept
{
	if (pointer)
		note ("operator delete");
	__libc_free (pointer);
}
void operator delete[] (void* pointer) noexcept
{
	if (pointer)
		note ("operator delete[]");
	__libc_free (pointer);
}
void operator delete (void* pointer, size_t) noexcept { operator delete (pointer); }
void operator delete[] (void* pointer, size_t) noexcept { operator delete[] (pointer); }
void operator delete (void* pointer, std::align_val_t) noexcept { operator delete (pointer); }
void operator delete[] (void* pointer, std::align_val_t) noexcept { operator delete[] (pointer); }
void operator delete (void* pointer, size_t, std::align_val_t) noexcept { operator delete (pointer); }
void operator delete[] (void* pointer, size_t, std::align_val_t) noexcept
{
	operator delete[] (pointer);
}

// Locks and blocking calls: noted, then passed on to the C library's own function.
namespace {
template <typename Function>
Function nextDefinition (Function& cached, const char* name)
{
	if (!cached)
		cached = reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
	return cached;
}
} // namespace

#define QUILLMERE_FORWARD(ret, name, params, args)                                                 \
	ret name params                                                                                \
	{                                                                                              \
		note (#name);                                                                              \
		static ret (*next) params = nullptr;                                                       \
		return nextDefinition (next, #name) args;                                                  \
	}

extern "C" {
QUILLMERE_FORWARD (int, pthread_mutex_lock, (pthread_mutex_t * m), (m))
QUILLMERE_FORWARD (int, pthread_mutex_trylock, (pthread_mutex_t * m), (m))
QUILLMERE_FORWARD (int, pthread_rwlock_rdlock, (pthread_rwlock_t * l), (l))
QUILLMERE_FORWARD (int, pthread_rwlock_wrlock, (pthread_rwlock_t * l), (l))
QUILLMERE_FORWARD (int, pthread_cond_wait, (pthread_cond_t * c, pthread_mutex_t* m), (c, m))
QUILLMERE_FORWARD (int, sem_wait, (sem_t * s), (s))
QUILLMERE_FORWARD (int, sched_yield, (), ())
QUILLMERE_FORWARD (int, nanosleep, (const timespec* t, timespec* r), (t, r))
QUILLMERE_FORWARD (int, usleep, (useconds_t u), (u))
QUILLMERE_FORWARD (ssize_t, write, (int fd, const void* b, size_t n), (fd, b, n))
QUILLMERE_FORWARD (ssize_t, read, (int fd, void* b, size_t n), (fd, b, n))
} // extern "C"

#endif
