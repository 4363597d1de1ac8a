#include "DemoSignal.h"

#include <cmath>
#include <cstdint>

namespace QuillmereRender {

namespace {

const double kPi = 3.14159265358979323846;
const double kTempoBeat = 0.5; // seconds per beat (120 bpm)

// A repeatable noise source, the same on every machine.
class Noise
{
public:
	float next ()
	{
		state = state * 1664525u + 1013904223u;
		return static_cast<float> (static_cast<std::int32_t> (state)) / 2147483648.0f;
	}

private:
	std::uint32_t state = 0x51a7e11u;
};

// Adds a mono event at startSeconds with a constant-power pan (-1 left .. +1 right).
template <typename Voice>
void addEvent (StereoAudio& audio, double startSeconds, double lengthSeconds, double pan,
               Voice&& voice)
{
	const double rate = audio.sampleRate;
	const size_t first = static_cast<size_t> (startSeconds * rate);
	const size_t count = static_cast<size_t> (lengthSeconds * rate);
	const double angle = (pan + 1.0) * kPi / 4.0;
	const float leftGain = static_cast<float> (std::cos (angle));
	const float rightGain = static_cast<float> (std::sin (angle));
	for (size_t n = 0; n < count && first + n < audio.frames (); ++n)
	{
		const float sample = voice (static_cast<double> (n) / rate);
		audio.left[first + n] += leftGain * sample;
		audio.right[first + n] += rightGain * sample;
	}
}

void addKick (StereoAudio& audio, double at)
{
	addEvent (audio, at, 0.35, 0.0, [phase = 0.0, last = 0.0] (double t) mutable {
		const double frequency = 48.0 + 110.0 * std::exp (-t * 28.0);
		phase += 2.0 * kPi * frequency * (t - last);
		last = t;
		return static_cast<float> (0.9 * std::sin (phase) * std::exp (-t * 9.0));
	});
}

void addSnare (StereoAudio& audio, double at, Noise& noise)
{
	addEvent (audio, at, 0.25, 0.1, [&noise] (double t) {
		const double tone = 0.35 * std::sin (2.0 * kPi * 185.0 * t) * std::exp (-t * 30.0);
		const double rattle = 0.45 * noise.next () * std::exp (-t * 22.0);
		return static_cast<float> (tone + rattle);
	});
}

void addHat (StereoAudio& audio, double at, Noise& noise)
{
	addEvent (audio, at, 0.06, -0.4, [&noise, previous = 0.0f] (double t) mutable {
		const float white = noise.next ();
		const float bright = white - previous; // a first difference tilts the noise upwards
		previous = white;
		return static_cast<float> (0.18 * bright * std::exp (-t * 70.0));
	});
}

// A plucked string: a few harmonics, the upper ones dying faster.
void addPluck (StereoAudio& audio, double at, double frequency, double pan)
{
	addEvent (audio, at, 1.2, pan, [frequency] (double t) {
		double sum = 0.0;
		for (int harmonic = 1; harmonic <= 6; ++harmonic)
		{
			const double partial = frequency * harmonic;
			const double decay = 3.0 + 2.5 * harmonic;
			sum += std::sin (2.0 * kPi * partial * t) * std::exp (-t * decay) / harmonic;
		}
		const double attack = t < 0.002 ? t / 0.002 : 1.0;
		return static_cast<float> (0.3 * attack * sum);
	});
}

} // namespace

StereoAudio makeDemoSignal (double sampleRate)
{
	StereoAudio audio;
	audio.sampleRate = sampleRate;
	audio.resize (static_cast<size_t> (5.0 * sampleRate));
	Noise noise;

	// Bar one: drums alone; bar two: notes alone; then one last hit into silence.
	for (int beat = 0; beat < 4; ++beat)
	{
		const double at = 0.05 + beat * kTempoBeat;
		if (beat % 2 == 0)
			addKick (audio, at);
		else
			addSnare (audio, at, noise);
		addHat (audio, at + kTempoBeat / 2.0, noise);
	}
	const double notes[] = {220.0, 277.18, 329.63, 440.0};
	for (int i = 0; i < 4; ++i)
		addPluck (audio, 2.05 + i * kTempoBeat * 0.5, notes[i], -0.5 + i / 3.0);
	addPluck (audio, 3.05, 110.0, 0.0);
	addSnare (audio, 4.05, noise);
	addKick (audio, 4.05);
	return audio;
}

} // namespace QuillmereRender
