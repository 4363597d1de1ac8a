#pragma once
// Numbers behind the impulse-response picture: energy over time, the backward-
// integrated (Schroeder) decay with its RT60, and a spectrogram.

#include <cstddef>
#include <vector>

namespace QuillmereRender {

struct DecayAnalysis
{
	double windowSeconds = 0.005;
	std::vector<double> energyDb;   // mean square per window, dB re full scale
	std::vector<double> schroederDb; // reverberant energy still to come at each window start, dB re its total
	// RT60 from a straight-line fit of the Schroeder curve between -5 dB and -35 dB
	// (T30), or -25 dB (T20) or -15 dB (T10) when the response ends too soon for the
	// longer fit; rt60 <= 0 when none fits.
	double rt60 = 0.0;
	const char* rt60Method = "";
	double fitStartSeconds = 0.0;
	double fitInterceptDb = 0.0;  // fit line: interceptDb + slope * t
	double fitSlopeDbPerSecond = 0.0;
};

// The first directFrames samples (the direct sound) count in the energy but not in
// the Schroeder curve, so the RT60 describes the reverberation alone.
DecayAnalysis analyseDecay (const std::vector<float>& samples, double sampleRate,
                            std::size_t directFrames = 0);

struct Spectrogram
{
	int columns = 0;
	int bins = 0;              // 0 .. Nyquist
	double hopSeconds = 0.0;   // column c is centred on c * hopSeconds
	double binHz = 0.0;
	std::vector<float> levelDb; // column-major: levelDb[column * bins + bin], 0 dB = loudest cell

	float at (int column, int bin) const { return levelDb[static_cast<std::size_t> (column) * bins + bin]; }
};

// Hann-windowed short-time spectra of the signal, at most maxColumns of them.
Spectrogram computeSpectrogram (const std::vector<float>& samples, double sampleRate,
                                int maxColumns = 900);

} // namespace QuillmereRender
