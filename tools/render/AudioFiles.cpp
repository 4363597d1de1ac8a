#include "AudioFiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace QuillmereRender {

namespace {

std::string lowerExtension (const std::string& path)
{
	const size_t slash = path.find_last_of ('/');
	const size_t dot = path.find_last_of ('.');
	if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
		return {};
	std::string extension = path.substr (dot);
	for (auto& c : extension)
		c = static_cast<char> (std::tolower (static_cast<unsigned char> (c)));
	return extension;
}

} // namespace

StereoAudio readAudioFile (const std::string& path)
{
	struct stat info {};
	if (stat (path.c_str (), &info) != 0)
		throw ToolError ("cannot read " + path + ": " + std::strerror (errno));
	if (S_ISDIR (info.st_mode))
		throw ToolError ("cannot read " + path + ": it is a folder");

	SF_INFO format {};
	SNDFILE* file = sf_open (path.c_str (), SFM_READ, &format);
	if (!file)
		throw ToolError ("cannot read " + path + ": " + sf_strerror (nullptr));
	if (format.channels < 1 || format.samplerate <= 0)
	{
		sf_close (file);
		throw ToolError ("cannot read " + path + ": no audio in it");
	}
	if (format.channels > 2)
		std::fprintf (stderr, "quillmere-render: %s has %d channels; using the first two\n",
		              path.c_str (), format.channels);

	StereoAudio audio;
	audio.sampleRate = format.samplerate;
	const size_t channels = static_cast<size_t> (format.channels);
	std::vector<float> interleaved (4096 * channels);
	sf_count_t got = 0;
	while ((got = sf_readf_float (file, interleaved.data (), 4096)) > 0)
	{
		for (sf_count_t n = 0; n < got; ++n)
		{
			const float* frame = &interleaved[static_cast<size_t> (n) * channels];
			audio.left.push_back (frame[0]);
			audio.right.push_back (channels > 1 ? frame[1] : frame[0]);
		}
	}
	const int status = sf_error (file);
	sf_close (file);
	if (status != SF_ERR_NO_ERROR)
		throw ToolError ("cannot read " + path + ": " + sf_error_number (status));
	return audio;
}

AudioFormat audioFormatFor (const std::string& targetPath)
{
	const std::string extension = lowerExtension (targetPath);
	if (extension == ".wav")
		return AudioFormat::kWavFloat;
	if (extension == ".flac")
		return AudioFormat::kFlac24;
	throw ToolError ("cannot write " + targetPath + ": the output must end in .wav or .flac");
}

void writeAudioFile (const std::string& path, AudioFormat format, const StereoAudio& audio)
{
	SF_INFO info {};
	info.samplerate = static_cast<int> (audio.sampleRate);
	info.channels = 2;
	info.format = format == AudioFormat::kFlac24 ? (SF_FORMAT_FLAC | SF_FORMAT_PCM_24)
	                                             : (SF_FORMAT_WAV | SF_FORMAT_FLOAT);
	SNDFILE* file = sf_open (path.c_str (), SFM_WRITE, &info);
	if (!file)
		throw ToolError ("cannot write " + path + ": " + sf_strerror (nullptr));
	// Integer formats clip rather than wrap around.
	sf_command (file, SFC_SET_CLIPPING, nullptr, SF_TRUE);

	std::vector<float> interleaved;
	const size_t chunk = 8192;
	bool complete = true;
	for (size_t start = 0; start < audio.frames () && complete; start += chunk)
	{
		const size_t count = std::min (chunk, audio.frames () - start);
		interleaved.resize (count * 2);
		for (size_t n = 0; n < count; ++n)
		{
			interleaved[2 * n] = audio.left[start + n];
			interleaved[2 * n + 1] = audio.right[start + n];
		}
		complete = sf_writef_float (file, interleaved.data (), static_cast<sf_count_t> (count)) ==
		           static_cast<sf_count_t> (count);
	}
	const std::string problem = complete ? "" : sf_strerror (file);
	if (sf_close (file) != 0 && complete)
		throw ToolError ("cannot write " + path);
	if (!complete)
		throw ToolError ("cannot write " + path + ": " + problem);
}

//------------------------------------------------------------------------ PendingFile

namespace {

// Paths a signal handler may unlink; plain arrays, since the handler may not allocate.
const int kMaxPending = 8;
char pendingPaths[kMaxPending][4096];
volatile sig_atomic_t pendingInUse[kMaxPending];

void removePendingAndExit (int signalNumber)
{
	for (int i = 0; i < kMaxPending; ++i)
		if (pendingInUse[i])
			unlink (pendingPaths[i]);
	signal (signalNumber, SIG_DFL);
	raise (signalNumber);
}

} // namespace

void PendingFile::cleanUpOnSignals ()
{
	for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
		signal (signalNumber, removePendingAndExit);
}

PendingFile::PendingFile (const std::string& target) : targetPath (target)
{
	struct stat info {};
	if (stat (target.c_str (), &info) == 0 && S_ISDIR (info.st_mode))
		throw ToolError ("cannot write " + target + ": it is a folder");

	const size_t slash = target.find_last_of ('/');
	const std::string folder = slash == std::string::npos ? "" : target.substr (0, slash + 1);
	const std::string name = slash == std::string::npos ? target : target.substr (slash + 1);
	std::string pattern = folder + "." + name + ".partial-XXXXXX";
	const int descriptor = mkstemp (pattern.data ());
	if (descriptor < 0)
		throw ToolError ("cannot write " + target + ": " + std::strerror (errno));
	close (descriptor);
	temporaryPath = pattern;

	for (int i = 0; i < kMaxPending && slot < 0; ++i)
	{
		if (!pendingInUse[i] && temporaryPath.size () < sizeof (pendingPaths[i]))
		{
			std::strcpy (pendingPaths[i], temporaryPath.c_str ());
			pendingInUse[i] = 1;
			slot = i;
		}
	}
}

PendingFile::~PendingFile ()
{
	if (slot >= 0)
		pendingInUse[slot] = 0;
	if (!committed)
		unlink (temporaryPath.c_str ());
}

void PendingFile::commit ()
{
	// mkstemp made the file private; give it the permissions a new file would get.
	const mode_t mask = umask (0);
	umask (mask);
	chmod (temporaryPath.c_str (), 0666 & ~mask);
	if (std::rename (temporaryPath.c_str (), targetPath.c_str ()) != 0)
		throw ToolError ("cannot write " + targetPath + ": " + std::strerror (errno));
	committed = true;
	if (slot >= 0)
		pendingInUse[slot] = 0;
}

} // namespace QuillmereRender
