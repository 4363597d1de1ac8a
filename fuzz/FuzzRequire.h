#pragma once
// How every fuzzer states a rule.

#include <cstdio>
#include <cstdlib>

// A broken rule is a finding: print it and abort, so libFuzzer saves the input.
#define FUZZ_REQUIRE(condition, what)                                                              \
	do                                                                                             \
	{                                                                                              \
		if (!(condition))                                                                          \
		{                                                                                          \
			std::fprintf (stderr, "fuzz rule broken: %s (%s:%d)\n", what, __FILE__, __LINE__);    \
			std::abort ();                                                                         \
		}                                                                                          \
	} while (0)
