#pragma once
// An Xvfb server of the test's own on a free display, started once for the test program
// and stopped at its end. DISPLAY points at it while it runs.

#include <string>
#include <sys/types.h>

namespace QuillmereTest {

class XvfbServer
{
public:
	// The server of this test program, started on first use; null when Xvfb cannot run
	// (not installed), with the reason in `why`.
	static XvfbServer* shared (std::string& why);
	~XvfbServer ();

	const std::string& display () const { return name; }

private:
	XvfbServer () = default;
	bool start (std::string& why);

	pid_t pid = -1;
	std::string name;
};

} // namespace QuillmereTest

// Skips the current test when there is no Xvfb; otherwise DISPLAY names our server.
#define QUILLMERE_REQUIRE_XVFB()                                                              \
	do                                                                                        \
	{                                                                                         \
		std::string xvfbWhy;                                                                  \
		if (!QuillmereTest::XvfbServer::shared (xvfbWhy))                                     \
			GTEST_SKIP () << xvfbWhy;                                                         \
	} while (0)
