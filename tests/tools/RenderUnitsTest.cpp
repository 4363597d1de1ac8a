// The renderer's own units where a mistake would not show in one end-to-end run:
// the RT60 measurement, the spectrogram, preset lookup and the command line.

#include "CommandLine.h"
#include "DecayAnalysis.h"
#include "PresetLibrary.h"
#include "StereoAudio.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace QuillmereRender;
namespace fs = std::filesystem;

namespace {
// Noise whose level falls by 60 dB in rt60 seconds.
std::vector<float> decayingNoise (double rt60, double rate, double seconds)
{
	std::vector<float> samples (static_cast<size_t> (seconds * rate));
	unsigned state = 12345;
	for (size_t n = 0; n < samples.size (); ++n)
	{
		state = state * 1664525u + 1013904223u;
		const double noise = static_cast<int> (state) / 2147483648.0;
		const double t = static_cast<double> (n) / rate;
		samples[n] = static_cast<float> (0.5 * noise * std::pow (10.0, -3.0 * t / rt60));
	}
	return samples;
}
} // namespace

TEST (DecayAnalysis, MeasuresTheRt60OfAnExponentialDecay)
{
	for (double rt60 : {0.3, 1.5, 6.0})
	{
		SCOPED_TRACE (rt60);
		const auto analysis = analyseDecay (decayingNoise (rt60, 48000.0, rt60 * 1.5), 48000.0);
		EXPECT_NEAR (analysis.rt60, rt60, rt60 * 0.04);
		EXPECT_STREQ (analysis.rt60Method, "T30");
		EXPECT_NEAR (analysis.schroederDb.front (), 0.0, 1e-9);
		EXPECT_NEAR (analysis.energyDb.front (), 20.0 * std::log10 (0.5) - 4.77, 1.0); // noise of peak 0.5
	}
}

TEST (DecayAnalysis, TheDirectSoundAndAGapBeforeTheReverbDoNotBendTheFit)
{
	// A loud first sample, then 50 ms of nothing, then the reverberation.
	const double rate = 48000.0;
	auto response = decayingNoise (1.0, rate, 1.0);
	response.insert (response.begin (), static_cast<size_t> (0.05 * rate), 0.0f);
	response[0] = 1.0f;
	const auto analysis = analyseDecay (response, rate, 1);
	EXPECT_STREQ (analysis.rt60Method, "T30");
	EXPECT_NEAR (analysis.rt60, 1.0, 0.04);
	EXPECT_GT (analysis.energyDb.front (), -25.0); // the energy still shows the direct sound
}

TEST (DecayAnalysis, ResponsesCutShortFallBackToShorterFitsUnbiased)
{
	// Cut where the level is 39 dB down, the Schroeder curve bends from about -29 dB on.
	const auto t20 = analyseDecay (decayingNoise (2.0, 48000.0, 0.65 * 2.0), 48000.0);
	EXPECT_STREQ (t20.rt60Method, "T20");
	EXPECT_NEAR (t20.rt60, 2.0, 2.0 * 0.05);
	// Cut 30 dB down: only the first 10 dB of the fit range are straight.
	const auto t10 = analyseDecay (decayingNoise (2.0, 48000.0, 0.5 * 2.0), 48000.0);
	EXPECT_STREQ (t10.rt60Method, "T10");
	EXPECT_NEAR (t10.rt60, 2.0, 2.0 * 0.08);
	const auto tooShort = analyseDecay (decayingNoise (2.0, 48000.0, 0.15 * 2.0), 48000.0);
	EXPECT_LE (tooShort.rt60, 0.0);
	const auto silence = analyseDecay (std::vector<float> (4800, 0.0f), 48000.0);
	EXPECT_LE (silence.rt60, 0.0);
	EXPECT_STREQ (silence.rt60Method, "");
}

TEST (DecayAnalysis, SpectrogramPutsASineInItsBin)
{
	const double rate = 48000.0;
	std::vector<float> sine (24000);
	for (size_t n = 0; n < sine.size (); ++n)
		sine[n] = static_cast<float> (std::sin (2.0 * M_PI * 3000.0 * n / rate));
	const Spectrogram s = computeSpectrogram (sine, rate, 50);
	ASSERT_GT (s.columns, 0);
	EXPECT_LE (s.columns, 50);
	const int middle = s.columns / 2; // the first column's window is half before the start
	int loudest = 0;
	for (int bin = 0; bin < s.bins; ++bin)
		if (s.at (middle, bin) > s.at (middle, loudest))
			loudest = bin;
	EXPECT_NEAR (loudest * s.binHz, 3000.0, s.binHz);
	EXPECT_NEAR (s.at (middle, loudest), 0.0, 0.5);
	EXPECT_LT (s.at (middle, s.bins / 2), -60.0f);
	EXPECT_NEAR (s.at (0, loudest), -6.0, 0.5);
}

class Library : public ::testing::Test
{
protected:
	void SetUp () override
	{
		// ctest runs tests side by side: each process gets folders of its own.
		const std::string unique = std::to_string (getpid ());
		first = testing::TempDir () + "presets-first-" + unique;
		second = testing::TempDir () + "presets-second-" + unique;
		for (const auto& folder : {first, second})
		{
			fs::remove_all (folder);
			fs::create_directories (folder);
		}
		for (const char* name : {"Small Hall", "Vocal Hall", "Plate", "Cathedral 1", "Cathedral 2"})
			std::ofstream (first + "/" + name + ".vstpreset") << "x";
		std::ofstream (second + "/plate.VSTPRESET") << "x";  // same name, other folder: shadowed
		std::ofstream (second + "/My Own.vstpreset") << "x";
		std::ofstream (second + "/notes.txt") << "x";
	}
	void TearDown () override
	{
		fs::remove_all (first);
		fs::remove_all (second);
	}
	std::string first, second;
};

TEST_F (Library, FindsNamesInAnyCaseInFolderOrderAndMenuOrderFirst)
{
	const PresetLibrary library ({first, second}, {"Plate", "Vocal Hall", "Not There"});
	std::vector<std::string> names;
	for (const auto& entry : library.entries ())
		names.push_back (entry.name);
	EXPECT_EQ (names, (std::vector<std::string> {"Plate", "Vocal Hall", "Cathedral 1", "Cathedral 2",
	                                              "Small Hall", "My Own"}));
	ASSERT_TRUE (library.find ("  pLATE "));
	EXPECT_EQ (library.find ("plate")->path, first + "/Plate.vstpreset");
	EXPECT_TRUE (library.find ("my own"));
	EXPECT_FALSE (library.find ("notes"));
	EXPECT_FALSE (library.find ("Cathedral"));
}

TEST_F (Library, SuggestsCloseNamesForTyposAndParts)
{
	const PresetLibrary library ({first, second}, {});
	using V = std::vector<std::string>;
	EXPECT_EQ (library.closeMatches ("cathedral"), (V {"Cathedral 1", "Cathedral 2"}));
	EXPECT_EQ (library.closeMatches ("Palte"), (V {"Plate"}));
	const auto halls = library.closeMatches ("halll");
	EXPECT_NE (std::find (halls.begin (), halls.end (), "Small Hall"), halls.end ());
	EXPECT_NE (std::find (halls.begin (), halls.end (), "Vocal Hall"), halls.end ());
	EXPECT_TRUE (library.closeMatches ("xyzzy").empty ());
	EXPECT_EQ (editDistance ("Kitten", "sitting"), 3u);
}

TEST (CommandLine, ReadsEveryOptionInBothForms)
{
	const char* argv[] = {"quillmere-render", "in.wav", "--preset=Plate", "-o", "out.flac",
	                      "--set", "Decay time=4.5", "-s", "Wet=-3=x", "--ir=ir.png", "--list-params"};
	const RenderOptions options = parseCommandLine (11, argv);
	EXPECT_EQ (options.inputPath, "in.wav");
	EXPECT_EQ (options.preset, "Plate");
	EXPECT_EQ (options.outputPath, "out.flac");
	ASSERT_EQ (options.settings.size (), 2u);
	EXPECT_EQ (options.settings[0], (std::pair<std::string, std::string> {"Decay time", "4.5"}));
	EXPECT_EQ (options.settings[1], (std::pair<std::string, std::string> {"Wet", "-3=x"}));
	EXPECT_EQ (options.impulsePicturePath, "ir.png");
	EXPECT_TRUE (options.listParameters);
	EXPECT_FALSE (options.listPresets);
}

TEST (CommandLine, RefusesWhatItCannotUnderstand)
{
	const char* missingValue[] = {"quillmere-render", "--output"};
	EXPECT_THROW (parseCommandLine (2, missingValue), ToolError);
	const char* twoInputs[] = {"quillmere-render", "a.wav", "b.wav"};
	EXPECT_THROW (parseCommandLine (3, twoInputs), ToolError);
	const char* noEquals[] = {"quillmere-render", "--set", "=3"};
	EXPECT_THROW (parseCommandLine (3, noEquals), ToolError);
	const char* dashInput[] = {"quillmere-render", "--", "--odd-name.wav"};
	EXPECT_EQ (parseCommandLine (3, dashInput).inputPath, "--odd-name.wav");
}
