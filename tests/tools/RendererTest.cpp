// quillmere-render run as a user runs it, checked against the same settings driven
// directly through the host library.

#include "BundleFixture.h"
#include "ParameterChanges.h"
#include "PresetFiles.h"

#include <cairo.h>
#include <sndfile.h>

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const float kQuiet = 3.16227766e-5f; // -90 dBFS

struct Audio
{
	int rate = 0;
	int channels = 0;
	std::vector<float> left, right;
	size_t frames () const { return left.size (); }
};

Audio readFile (const std::string& path)
{
	Audio audio;
	SF_INFO info {};
	SNDFILE* file = sf_open (path.c_str (), SFM_READ, &info);
	if (!file)
	{
		ADD_FAILURE () << "cannot read " << path;
		return audio;
	}
	audio.rate = info.samplerate;
	audio.channels = info.channels;
	std::vector<float> interleaved (static_cast<size_t> (info.frames * info.channels));
	sf_readf_float (file, interleaved.data (), info.frames);
	sf_close (file);
	for (sf_count_t n = 0; n < info.frames; ++n)
	{
		audio.left.push_back (interleaved[static_cast<size_t> (n * info.channels)]);
		audio.right.push_back (interleaved[static_cast<size_t> (n * info.channels + info.channels - 1)]);
	}
	return audio;
}

// A short dry test signal: a decaying noise burst over a low tone.
std::vector<float> testSignal (int rate, double seconds, unsigned seed)
{
	std::vector<float> samples (static_cast<size_t> (seconds * rate));
	unsigned state = seed;
	for (size_t n = 0; n < samples.size (); ++n)
	{
		state = state * 1664525u + 1013904223u;
		const double noise = static_cast<int> (state) / 2147483648.0;
		const double t = static_cast<double> (n) / rate;
		samples[n] = static_cast<float> (0.4 * noise * std::exp (-t * 20.0) + 0.2 * std::sin (2 * M_PI * 220.0 * t));
	}
	return samples;
}

void writeFile (const std::string& path, int rate, const std::vector<std::vector<float>>& channels, int format)
{
	SF_INFO info {};
	info.samplerate = rate;
	info.channels = static_cast<int> (channels.size ());
	info.format = format;
	SNDFILE* file = sf_open (path.c_str (), SFM_WRITE, &info);
	ASSERT_TRUE (file) << sf_strerror (nullptr);
	std::vector<float> interleaved;
	for (size_t n = 0; n < channels[0].size (); ++n)
		for (const auto& channel : channels)
			interleaved.push_back (channel[n]);
	sf_writef_float (file, interleaved.data (), static_cast<sf_count_t> (channels[0].size ()));
	sf_close (file);
}

struct RunResult
{
	int status = -1;
	std::string errors;
};

// Runs the renderer with these arguments (no shell), collecting its stderr.
RunResult runRenderer (const std::vector<std::string>& args, const std::string& folder)
{
	const std::string errorsPath = folder + "/../stderr.txt";
	const pid_t child = fork ();
	if (child == 0)
	{
		const int errors = open (errorsPath.c_str (), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		const int nothing = open ("/dev/null", O_WRONLY);
		dup2 (errors, STDERR_FILENO);
		dup2 (nothing, STDOUT_FILENO);
		if (chdir (folder.c_str ()) != 0)
			_exit (127);
		std::vector<char*> argv {const_cast<char*> (QUILLMERE_RENDER)};
		for (const auto& arg : args)
			argv.push_back (const_cast<char*> (arg.c_str ()));
		argv.push_back (nullptr);
		execv (QUILLMERE_RENDER, argv.data ());
		_exit (127);
	}
	RunResult run;
	int status = 0;
	waitpid (child, &status, 0);
	run.status = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
	std::ifstream in (errorsPath);
	run.errors.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ());
	return run;
}

// The same render done directly with the host library: the preset file's state,
// the settings parsed by the effect, sent with the first block, and blocks of a
// size of our own.
Audio referenceRender (const std::vector<float>& left, const std::vector<float>& right, int rate,
                       const std::string& presetFile,
                       const std::vector<std::pair<std::string, std::string>>& settings, size_t frames)
{
	Audio out;
	auto effect = QuillmereTest::newEffect ();
	if (!effect)
		return out;
	QuillmereTools::PresetContents preset;
	std::string error;
	EXPECT_TRUE (QuillmereTools::readPresetFile (presetFile, preset, error)) << error;
	EXPECT_EQ (effect->setState (preset.componentState), kResultOk);
	ParameterChanges changes;
	for (const auto& [title, text] : settings)
	{
		const auto info = effect->findParameterByTitle (title);
		ParamValue value = 0;
		EXPECT_TRUE (info) << title;
		EXPECT_EQ (effect->textToValue (info->id, text, value), kResultOk) << text;
		effect->setParamNormalized (info->id, value);
		int32 index = 0;
		changes.addParameterData (info->id, index)->addPoint (0, value, index);
	}
	const int32 block = 300;
	EXPECT_EQ (effect->setupProcessing (rate, block), kResultOk);
	effect->setActive (true);
	effect->setProcessing (true);
	QuillmereTest::StereoBlock<float> in (block), result (block);
	for (size_t start = 0; start < frames; start += block)
	{
		for (int32 n = 0; n < block; ++n)
		{
			const size_t at = start + static_cast<size_t> (n);
			in.left[static_cast<size_t> (n)] = at < left.size () ? left[at] : 0.0f;
			in.right[static_cast<size_t> (n)] = at < right.size () ? right[at] : 0.0f;
		}
		effect->process (in.pointers (), 2, result.pointers (), 2, block, start == 0 ? &changes : nullptr);
		out.left.insert (out.left.end (), result.left.begin (), result.left.end ());
		out.right.insert (out.right.end (), result.right.begin (), result.right.end ());
	}
	out.left.resize (frames);
	out.right.resize (frames);
	out.rate = rate;
	out.channels = 2;
	return out;
}

bool audible (const Audio& audio, size_t frame)
{
	return std::fabs (audio.left[frame]) >= kQuiet || std::fabs (audio.right[frame]) >= kQuiet;
}

std::vector<std::string> filesIn (const std::string& folder)
{
	std::vector<std::string> names;
	for (const auto& entry : fs::directory_iterator (folder))
		names.push_back (entry.path ().filename ().string ());
	std::sort (names.begin (), names.end ());
	return names;
}

class Renderer : public ::testing::Test
{
protected:
	void SetUp () override
	{
		const auto* test = ::testing::UnitTest::GetInstance ()->current_test_info ();
		root = testing::TempDir () + "quillmere-render-" + test->name () + "-" + std::to_string (getpid ());
		folder = root + "/work";
		fs::remove_all (root);
		fs::create_directories (folder);
	}
	void TearDown () override { fs::remove_all (root); }

	std::string root, folder;
};

} // namespace

TEST_F (Renderer, MonoInputRendersLikeTheHostLibraryAndRingsOutBelowMinus90Dbfs)
{
	const int rate = 44100;
	const auto dry = testSignal (rate, 0.3, 7);
	writeFile (folder + "/in.wav", rate, {dry}, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
	const auto input = readFile (folder + "/in.wav"); // what 24-bit storage kept
	const std::vector<std::pair<std::string, std::string>> settings {{"Decay time", "1.2"}, {"Wet", "-3"}};

	const RunResult result = runRenderer ({"in.wav", "--preset", "vocal HALL", "--set", "Decay time=1.2", "--set",
	                              "wet=-3", "--output", "out.wav"},
	                             folder);
	ASSERT_EQ (result.status, 0) << result.errors;
	const Audio output = readFile (folder + "/out.wav");
	EXPECT_EQ (output.rate, rate);
	EXPECT_EQ (output.channels, 2);
	ASSERT_GT (output.frames (), input.frames () + static_cast<size_t> (0.2 * rate)) << "no tail";

	const size_t hold = static_cast<size_t> (rate); // the renderer waits this long for the tail to stay quiet
	const Audio reference = referenceRender (input.left, input.left, rate,
	                                         std::string (QUILLMERE_PRESET_DIR) + "/Vocal Hall.vstpreset",
	                                         settings, output.frames () + hold);
	ASSERT_EQ (reference.frames (), output.frames () + hold);
	size_t differing = 0;
	for (size_t n = 0; n < output.frames (); ++n)
		differing += output.left[n] != reference.left[n] || output.right[n] != reference.right[n];
	EXPECT_EQ (differing, 0u) << "samples that differ from the host library's render";

	// The file ends with the last audible sample; after it the tail stays below -90 dBFS.
	EXPECT_TRUE (audible (output, output.frames () - 1));
	for (size_t n = output.frames (); n < reference.frames (); ++n)
		ASSERT_FALSE (audible (reference, n)) << "audible again " << n - output.frames () << " frames after the end";
}

TEST_F (Renderer, WritesFlacAtTheInputRateAndDrawsTheImpulseResponse)
{
	const int rate = 48000;
	writeFile (folder + "/in.flac", rate, {testSignal (rate, 0.25, 1), testSignal (rate, 0.25, 2)},
	           SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
	const RunResult result = runRenderer ({"--preset", "Small Hall", "-o", "out.flac", "--ir", "ir.png", "in.flac"}, folder);
	ASSERT_EQ (result.status, 0) << result.errors;
	const Audio output = readFile (folder + "/out.flac");
	EXPECT_EQ (output.rate, rate);
	EXPECT_EQ (output.channels, 2);
	EXPECT_GT (output.frames (), static_cast<size_t> (0.25 * rate * 2));
	EXPECT_NE (output.left, output.right); // a stereo input stays stereo

	cairo_surface_t* picture = cairo_image_surface_create_from_png ((folder + "/ir.png").c_str ());
	EXPECT_EQ (cairo_surface_status (picture), CAIRO_STATUS_SUCCESS);
	EXPECT_GE (cairo_image_surface_get_width (picture), 800);
	cairo_surface_destroy (picture);
	EXPECT_EQ (filesIn (folder), (std::vector<std::string> {"in.flac", "ir.png", "out.flac"}));
}

TEST_F (Renderer, WithoutInputRendersTheDemoThroughDefault)
{
	const RunResult result = runRenderer ({"--output", "demo.wav"}, folder);
	ASSERT_EQ (result.status, 0) << result.errors;
	const Audio output = readFile (folder + "/demo.wav");
	EXPECT_EQ (output.rate, 48000);
	EXPECT_GT (output.frames (), static_cast<size_t> (5 * 48000));
	float peak = 0.0f;
	for (float s : output.left)
		peak = std::max (peak, std::fabs (s));
	EXPECT_GT (peak, 0.1f);
	EXPECT_LT (peak, 2.0f);
}

TEST_F (Renderer, BadInputGivesOneClearLineANonZeroExitAndLeavesNoFile)
{
	writeFile (folder + "/in.wav", 44100, {testSignal (44100, 0.1, 3)}, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
	{
		std::ofstream garbage (folder + "/garbage.wav");
		garbage << "this is not audio";
		std::ofstream keep (folder + "/keep.wav");
		keep << "an earlier render";
	}
	fs::create_directory (folder + "/taken.wav");
	struct Case
	{
		std::vector<std::string> args;
		std::string mentions;
	};
	const std::vector<Case> cases {
	    {{"missing.wav", "-o", "out.wav"}, "missing.wav"},
	    {{"garbage.wav", "-o", "out.wav"}, "garbage.wav"},
	    {{"in.wav", "--preset", "Cathedral", "-o", "out.wav"}, "\"Cathedral 1\", \"Cathedral 2\""},
	    {{"in.wav", "--preset", "garbage.wav", "-o", "out.wav"}, "not a VST 3 preset file"},
	    {{"in.wav", "--set", "Decay tim=2", "-o", "out.wav"}, "\"Decay time\""},
	    {{"in.wav", "--set", "Decay time=long", "-o", "out.wav"}, "long"},
	    {{"in.wav", "--set", "Decay time", "-o", "out.wav"}, "TITLE=TEXT"},
	    {{"in.wav", "-o", "no/such/folder/out.wav"}, "no/such/folder/out.wav"},
	    {{"in.wav", "-o", "out.mp3"}, ".wav or .flac"},
	    {{"in.wav", "-o", "taken.wav"}, "folder"},
	    {{"in.wav", "--ir", "no/such/ir.png", "-o", "out.wav"}, "no/such/ir.png"},
	    // A failure must not touch an existing output either.
	    {{"in.wav", "--preset", "Nope", "-o", "keep.wav"}, "Nope"},
	    {{"in.wav", "--frobnicate"}, "--frobnicate"},
	};
	for (const auto& c : cases)
	{
		std::string line;
		for (const auto& arg : c.args)
			line += arg + " ";
		SCOPED_TRACE (line);
		const RunResult result = runRenderer (c.args, folder);
		EXPECT_NE (result.status, 0);
		EXPECT_EQ (std::count (result.errors.begin (), result.errors.end (), '\n'), 1) << result.errors;
		EXPECT_NE (result.errors.find (c.mentions), std::string::npos) << result.errors;
		EXPECT_EQ (filesIn (folder), (std::vector<std::string> {"garbage.wav", "in.wav", "keep.wav", "taken.wav"}));
	}
	std::ifstream keep (folder + "/keep.wav");
	EXPECT_EQ (std::string (std::istreambuf_iterator<char> (keep), {}), "an earlier render");
}

TEST_F (Renderer, ListsPresetsInMenuOrderAndParametersWithTheirTexts)
{
	const std::string listing = root + "/listing.txt";
	auto capture = [&] (const std::vector<std::string>& args) {
		std::string line = std::string (QUILLMERE_RENDER);
		for (const auto& arg : args)
			line += " '" + arg + "'";
		EXPECT_EQ (std::system ((line + " > " + listing).c_str ()), 0);
		std::ifstream in (listing);
		return std::string (std::istreambuf_iterator<char> (in), {});
	};
	const std::string presets = capture ({"--list-presets"});
	EXPECT_EQ (presets.substr (0, 26), "Default\nAmbience\nDark Room");
	EXPECT_NE (presets.find ("Dim. expander A\n"), std::string::npos);
	EXPECT_EQ (std::count (presets.begin (), presets.end (), '\n'), 36);

	const std::string parameters = capture ({"--preset", "Chorus A", "--set", "Bypass Wet=on", "--list-params"});
	EXPECT_NE (parameters.find ("Early reflections    dB     -oo"), std::string::npos) << parameters;
	EXPECT_NE (parameters.find ("Bypass Wet                  On"), std::string::npos) << parameters;
	EXPECT_NE (parameters.find ("Decay time           sec    0.20"), std::string::npos) << parameters;
}
