#include "DecayAnalysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace QuillmereRender {

namespace {

const double kFloorDb = -150.0;
const double kPi = 3.14159265358979323846;

double toDb (double power)
{
	return power > 0.0 ? std::max (kFloorDb, 10.0 * std::log10 (power)) : kFloorDb;
}

struct LineFit
{
	double slope = 0.0, intercept = 0.0;
};

// Least squares over the samples of curve (one per step seconds) between two indices.
LineFit fitLine (const std::vector<double>& curve, size_t first, size_t last, double step)
{
	double sumT = 0, sumY = 0, sumTT = 0, sumTY = 0;
	const double count = static_cast<double> (last - first + 1);
	for (size_t i = first; i <= last; ++i)
	{
		const double t = static_cast<double> (i) * step;
		sumT += t;
		sumY += curve[i];
		sumTT += t * t;
		sumTY += t * curve[i];
	}
	LineFit fit;
	const double denominator = count * sumTT - sumT * sumT;
	if (denominator > 0.0)
	{
		fit.slope = (count * sumTY - sumT * sumY) / denominator;
		fit.intercept = (sumY - fit.slope * sumT) / count;
	}
	return fit;
}

size_t firstBelow (const std::vector<double>& curve, double level)
{
	for (size_t i = 0; i < curve.size (); ++i)
		if (curve[i] <= level)
			return i;
	return curve.size ();
}

void fft (std::vector<std::complex<double>>& data)
{
	const size_t n = data.size ();
	for (size_t i = 1, j = 0; i < n; ++i)
	{
		size_t bit = n >> 1;
		for (; j & bit; bit >>= 1)
			j ^= bit;
		j ^= bit;
		if (i < j)
			std::swap (data[i], data[j]);
	}
	for (size_t length = 2; length <= n; length <<= 1)
	{
		const std::complex<double> step = std::polar (1.0, -2.0 * kPi / static_cast<double> (length));
		for (size_t start = 0; start < n; start += length)
		{
			std::complex<double> w (1.0);
			for (size_t k = 0; k < length / 2; ++k)
			{
				const auto even = data[start + k];
				const auto odd = data[start + k + length / 2] * w;
				data[start + k] = even + odd;
				data[start + k + length / 2] = even - odd;
				w *= step;
			}
		}
	}
}

} // namespace

DecayAnalysis analyseDecay (const std::vector<float>& samples, double sampleRate, size_t directFrames)
{
	DecayAnalysis analysis;
	const size_t window = std::max<size_t> (1, static_cast<size_t> (analysis.windowSeconds * sampleRate));
	analysis.windowSeconds = static_cast<double> (window) / sampleRate;
	const size_t windows = (samples.size () + window - 1) / window;

	// Energy per window, then the energy remaining from each window on.
	std::vector<double> windowEnergy (windows, 0.0), reverberantEnergy (windows, 0.0);
	for (size_t i = 0; i < samples.size (); ++i)
	{
		const double energy = static_cast<double> (samples[i]) * samples[i];
		windowEnergy[i / window] += energy;
		if (i >= directFrames)
			reverberantEnergy[i / window] += energy;
	}
	std::vector<double> remaining (windows + 1, 0.0);
	for (size_t w = windows; w-- > 0;)
		remaining[w] = remaining[w + 1] + reverberantEnergy[w];

	analysis.energyDb.resize (windows);
	analysis.schroederDb.resize (windows);
	for (size_t w = 0; w < windows; ++w)
	{
		analysis.energyDb[w] = toDb (windowEnergy[w] / static_cast<double> (window));
		analysis.schroederDb[w] = remaining[0] > 0.0 ? toDb (remaining[w] / remaining[0]) : kFloorDb;
	}

	// A cut-off response bends the Schroeder curve down early; it stays within half a
	// dB of the true decay only down to 10 dB above the level where the response ends.
	const auto& curve = analysis.schroederDb;
	if (windows < 8)
		return analysis;
	const double ending = *std::max_element (analysis.energyDb.end () - 4, analysis.energyDb.end ());
	size_t lastClear = windows - 1;
	while (lastClear > 0 && analysis.energyDb[lastClear] < ending + 10.0)
		--lastClear;
	const double usableDownTo = curve[lastClear];
	struct Range
	{
		double bottomDb;
		const char* name;
	};
	const size_t start = firstBelow (curve, -5.0);
	for (const Range range : {Range {-35.0, "T30"}, Range {-25.0, "T20"}, Range {-15.0, "T10"}})
	{
		const size_t end = firstBelow (curve, range.bottomDb);
		if (range.bottomDb < usableDownTo || start >= curve.size () || end >= curve.size () || end <= start + 1)
			continue;
		const LineFit fit = fitLine (curve, start, end, analysis.windowSeconds);
		if (fit.slope < 0.0)
		{
			analysis.rt60 = -60.0 / fit.slope;
			analysis.rt60Method = range.name;
			analysis.fitSlopeDbPerSecond = fit.slope;
			analysis.fitInterceptDb = fit.intercept;
			analysis.fitStartSeconds = static_cast<double> (start) * analysis.windowSeconds;
		}
		break;
	}
	if (analysis.rt60 <= 0.0)
		analysis.rt60Method = "";
	return analysis;
}

Spectrogram computeSpectrogram (const std::vector<float>& samples, double sampleRate, int maxColumns)
{
	Spectrogram result;
	const size_t size = sampleRate > 96000.0 ? 4096 : 2048;
	const size_t hop = std::max<size_t> (size / 8, (samples.size () + maxColumns - 1) / maxColumns);
	result.bins = static_cast<int> (size / 2 + 1);
	result.binHz = sampleRate / static_cast<double> (size);
	result.hopSeconds = static_cast<double> (hop) / sampleRate;
	result.columns = static_cast<int> ((samples.size () + hop - 1) / hop);
	result.levelDb.assign (static_cast<size_t> (result.columns) * result.bins, static_cast<float> (kFloorDb));

	std::vector<double> hann (size);
	for (size_t i = 0; i < size; ++i)
		hann[i] = 0.5 - 0.5 * std::cos (2.0 * kPi * static_cast<double> (i) / static_cast<double> (size));

	std::vector<std::complex<double>> frame (size);
	float loudest = static_cast<float> (kFloorDb);
	for (int column = 0; column < result.columns; ++column)
	{
		// Each column's window is centred on its own time, so sounds line up with the decay above.
		const long begin = static_cast<long> (static_cast<size_t> (column) * hop) - static_cast<long> (size / 2);
		for (size_t i = 0; i < size; ++i)
		{
			const long at = begin + static_cast<long> (i);
			frame[i] = at >= 0 && at < static_cast<long> (samples.size ()) ? samples[static_cast<size_t> (at)] * hann[i] : 0.0;
		}
		fft (frame);
		for (int bin = 0; bin < result.bins; ++bin)
		{
			const float level = static_cast<float> (toDb (std::norm (frame[static_cast<size_t> (bin)])));
			result.levelDb[static_cast<size_t> (column) * result.bins + bin] = level;
			loudest = std::max (loudest, level);
		}
	}
	for (auto& level : result.levelDb)
		level -= loudest;
	return result;
}

} // namespace QuillmereRender
