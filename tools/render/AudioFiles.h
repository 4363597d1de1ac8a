#pragma once
// Audio files through libsndfile, and output files that appear only when complete.

#include "StereoAudio.h"

#include <string>

namespace QuillmereRender {

// Reads any file libsndfile reads. Mono is fed to both channels; of more than two
// channels the first two are kept. Throws ToolError naming the file.
StereoAudio readAudioFile (const std::string& path);

enum class AudioFormat { kWavFloat, kFlac24 };

// The format that the target's extension asks for (.wav or .flac, any case).
// Throws ToolError for any other extension.
AudioFormat audioFormatFor (const std::string& targetPath);

// Writes the audio in the given format. Throws ToolError.
void writeAudioFile (const std::string& path, AudioFormat format, const StereoAudio& audio);

// A temporary file beside the target, created at once (so an unwritable target is
// reported before any work), renamed over the target by commit() and removed
// otherwise, also when the program is interrupted.
class PendingFile
{
public:
	explicit PendingFile (const std::string& targetPath);
	~PendingFile ();
	PendingFile (const PendingFile&) = delete;
	PendingFile& operator= (const PendingFile&) = delete;

	const std::string& path () const { return temporaryPath; }
	const std::string& target () const { return targetPath; }
	void commit ();

	// Removes the temporary files of every PendingFile still open on SIGINT,
	// SIGTERM and SIGHUP, then ends the program.
	static void cleanUpOnSignals ();

private:
	std::string targetPath;
	std::string temporaryPath;
	int slot = -1;
	bool committed = false;
};

} // namespace QuillmereRender
