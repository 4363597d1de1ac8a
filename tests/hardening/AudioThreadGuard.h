#pragma once
// Catches allocation, locking and blocking system calls made on a thread while it is
// inside a marked audio section. Linked into a test program of its own, whose malloc,
// free, operator new and delete, mutex and sleep functions it replaces; the plug-in
// module resolves those globally, so its calls are caught too. In sanitizer builds the
// sanitizer's allocator hooks take the place of the replaced allocator (locks are then
// not checked).

#include <cstddef>

namespace AudioThreadGuard {

// Marks the calling thread as inside the plug-in's audio call for its lifetime.
class Section
{
public:
	Section ();
	~Section ();
	Section (const Section&) = delete;
	Section& operator= (const Section&) = delete;
};

// How many forbidden calls were made inside sections since the last reset, and the
// name of the first of them (a string literal; null when there was none).
long violationCount ();
const char* firstViolation ();
void reset ();

// Whether lock and system-call interception is active in this build.
bool checksLocks ();

// Makes one forbidden call per kind inside a section, to prove the guard sees them.
// Returns how many were expected to be caught.
int provokeViolations ();

} // namespace AudioThreadGuard
