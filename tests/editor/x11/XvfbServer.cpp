#include "XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace QuillmereTest {

XvfbServer* XvfbServer::shared (std::string& why)
{
	static std::string failure;
	static std::unique_ptr<XvfbServer> server = [] {
		std::unique_ptr<XvfbServer> started (new XvfbServer);
		if (!started->start (failure))
			started.reset ();
		return started;
	}();
	why = failure;
	return server.get ();
}

bool XvfbServer::start (std::string& why)
{
	// Xvfb picks a free display itself and writes its number to the pipe once it accepts
	// connections, so parallel test programs never race for one.
	int ready[2];
	if (::pipe (ready) != 0)
	{
		why = "pipe failed";
		return false;
	}
	// -noreset: by default the server resets whenever its last client leaves and refuses
	// connections meanwhile, which tests that open and close connections run into.
	std::string fd = std::to_string (ready[1]);
	const char* argv[] = {"Xvfb", "-displayfd", fd.c_str (), "-screen", "0", "1280x1024x24",
	                      "-nolisten", "tcp", "-noreset", nullptr};
	pid = ::fork ();
	if (pid == 0)
	{
		// A crashed test must not leave its server running.
		::prctl (PR_SET_PDEATHSIG, SIGTERM);
		::close (ready[0]);
		int quiet = ::open ("/dev/null", O_WRONLY);
		::dup2 (quiet, 2);
		::execvp ("Xvfb", const_cast<char**> (argv));
		::_exit (127);
	}
	::close (ready[1]);
	if (pid < 0)
	{
		::close (ready[0]);
		why = "fork failed";
		return false;
	}

	std::string number;
	pollfd waitFor {ready[0], POLLIN, 0};
	while (::poll (&waitFor, 1, 10000) > 0)
	{
		char c;
		if (::read (ready[0], &c, 1) != 1 || c == '\n')
			break;
		number += c;
	}
	::close (ready[0]);
	if (number.empty ())
	{
		int status = 0;
		bool exited = ::waitpid (pid, &status, WNOHANG) == pid;
		why = exited && WIFEXITED (status) && WEXITSTATUS (status) == 127 ? "Xvfb is not installed"
		                                                                     : "Xvfb did not start";
		if (!exited)
		{
			::kill (pid, SIGTERM);
			::waitpid (pid, &status, 0);
		}
		pid = -1;
		return false;
	}
	name = ":" + number;
	::setenv ("DISPLAY", name.c_str (), 1);
	return true;
}

XvfbServer::~XvfbServer ()
{
	if (pid <= 0)
		return;
	::kill (pid, SIGTERM);
	int status;
	while (::waitpid (pid, &status, 0) < 0 && errno == EINTR)
	{
	}
}

} // namespace QuillmereTest
