#include "ImpulsePicture.h"

#include "DecayAnalysis.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace QuillmereRender {

namespace {

const int kWidth = 1200;
const int kHeight = 940;
const double kLeftMargin = 84.0;
const double kPlotRight = 1110.0;

struct Colour
{
	double r, g, b;
};
const Colour kBackground {0.09, 0.10, 0.12};
const Colour kPanel {0.12, 0.13, 0.16};
const Colour kGrid {0.25, 0.27, 0.31};
const Colour kText {0.88, 0.89, 0.91};
const Colour kDimText {0.62, 0.64, 0.68};
const Colour kLeftColour {0.31, 0.76, 0.97};
const Colour kRightColour {1.00, 0.69, 0.30};

struct Panel
{
	double x, y, width, height;
};
const Panel kDecayPanel {kLeftMargin, 96.0, kPlotRight - kLeftMargin, 370.0};
const Panel kSpectrumPanel {kLeftMargin, 530.0, kPlotRight - kLeftMargin, 350.0};
const double kDecayTopDb = 0.0;
const double kDecayBottomDb = -100.0;
const double kSpectrumRangeDb = 90.0;
const double kLowestHz = 20.0;

void setColour (cairo_t* cr, const Colour& c, double alpha = 1.0)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, alpha);
}

void text (cairo_t* cr, double x, double y, const std::string& s, double size, const Colour& c,
           double alignX = 0.0, bool bold = false)
{
	cairo_select_font_face (cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
	                        bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, size);
	cairo_text_extents_t extents;
	cairo_text_extents (cr, s.c_str (), &extents);
	setColour (cr, c);
	cairo_move_to (cr, x - alignX * extents.x_advance, y);
	cairo_show_text (cr, s.c_str ());
}

std::string format (const char* pattern, double value)
{
	char buffer[64];
	std::snprintf (buffer, sizeof (buffer), pattern, value);
	return buffer;
}

// A tick step of 1, 2 or 5 times a power of ten giving about `count` ticks.
double niceStep (double span, int count)
{
	const double raw = span / count;
	const double power = std::pow (10.0, std::floor (std::log10 (raw)));
	for (double m : {1.0, 2.0, 5.0, 10.0})
		if (m * power >= raw)
			return m * power;
	return 10.0 * power;
}

class TimeAxis
{
public:
	TimeAxis (const Panel& panel, double seconds) : panel (panel), seconds (std::max (seconds, 1e-3)) {}
	double x (double t) const { return panel.x + panel.width * t / seconds; }

	void draw (cairo_t* cr) const
	{
		const double step = niceStep (seconds, 10);
		for (double t = 0.0; t <= seconds + 1e-9; t += step)
		{
			setColour (cr, kGrid);
			cairo_set_line_width (cr, 1.0);
			cairo_move_to (cr, std::round (x (t)) + 0.5, panel.y);
			cairo_line_to (cr, std::round (x (t)) + 0.5, panel.y + panel.height);
			cairo_stroke (cr);
			text (cr, x (t), panel.y + panel.height + 16, format (step < 0.1 ? "%.2f" : step < 1.0 ? "%.1f" : "%.0f", t),
			      11, kDimText, 0.5);
		}
		text (cr, panel.x + panel.width, panel.y + panel.height + 32, "time (s)", 11, kDimText, 1.0);
	}

private:
	Panel panel;
	double seconds;
};

void fillPanel (cairo_t* cr, const Panel& p)
{
	setColour (cr, kPanel);
	cairo_rectangle (cr, p.x, p.y, p.width, p.height);
	cairo_fill (cr);
}

double decayY (double db)
{
	const double clamped = std::clamp (db, kDecayBottomDb, kDecayTopDb);
	return kDecayPanel.y + kDecayPanel.height * (kDecayTopDb - clamped) / (kDecayTopDb - kDecayBottomDb);
}

void plotCurve (cairo_t* cr, const TimeAxis& axis, const std::vector<double>& curve, double step,
                const Colour& colour, double alpha, double width)
{
	if (curve.empty ())
		return;
	cairo_save (cr);
	cairo_rectangle (cr, kDecayPanel.x, kDecayPanel.y, kDecayPanel.width, kDecayPanel.height);
	cairo_clip (cr);
	setColour (cr, colour, alpha);
	cairo_set_line_width (cr, width);
	cairo_set_line_join (cr, CAIRO_LINE_JOIN_ROUND);
	for (size_t i = 0; i < curve.size (); ++i)
	{
		const double x = axis.x ((static_cast<double> (i) + 0.5) * step);
		if (i == 0)
			cairo_move_to (cr, x, decayY (curve[i]));
		else
			cairo_line_to (cr, x, decayY (curve[i]));
	}
	cairo_stroke (cr);
	cairo_restore (cr);
}

void plotFit (cairo_t* cr, const TimeAxis& axis, const DecayAnalysis& a, const Colour& colour)
{
	if (a.rt60 <= 0.0)
		return;
	// The fitted line, from where the fit starts down to -60 dB below its intercept.
	const double t0 = a.fitStartSeconds;
	const double t1 = (-60.0 - a.fitInterceptDb) / a.fitSlopeDbPerSecond;
	cairo_save (cr);
	cairo_rectangle (cr, kDecayPanel.x, kDecayPanel.y, kDecayPanel.width, kDecayPanel.height);
	cairo_clip (cr);
	const double dashes[] = {6.0, 4.0};
	cairo_set_dash (cr, dashes, 2, 0.0);
	setColour (cr, colour, 0.9);
	cairo_set_line_width (cr, 1.5);
	cairo_move_to (cr, axis.x (t0), decayY (a.fitInterceptDb + a.fitSlopeDbPerSecond * t0));
	cairo_line_to (cr, axis.x (t1), decayY (a.fitInterceptDb + a.fitSlopeDbPerSecond * t1));
	cairo_stroke (cr);
	cairo_restore (cr);
}

std::string rt60Text (const char* side, const DecayAnalysis& a)
{
	if (a.rt60 <= 0.0)
		return std::string (side) + "  RT60 not measurable";
	return std::string (side) + "  RT60 " + format ("%.2f s", a.rt60) + " (" + a.rt60Method + ")";
}

void legendEntry (cairo_t* cr, double x, double y, const Colour& colour, const std::string& label)
{
	setColour (cr, colour);
	cairo_set_line_width (cr, 3.0);
	cairo_move_to (cr, x, y - 4);
	cairo_line_to (cr, x + 22, y - 4);
	cairo_stroke (cr);
	text (cr, x + 30, y, label, 13, kText, 0.0, true);
}

void drawDecayPanel (cairo_t* cr, const StereoAudio& ir, double seconds)
{
	// The impulse passes the dry path in its own first sample: that is the direct sound.
	const DecayAnalysis left = analyseDecay (ir.left, ir.sampleRate, 1);
	const DecayAnalysis right = analyseDecay (ir.right, ir.sampleRate, 1);
	const TimeAxis axis (kDecayPanel, seconds);

	fillPanel (cr, kDecayPanel);
	for (double db = kDecayTopDb; db >= kDecayBottomDb; db -= 10.0)
	{
		setColour (cr, kGrid);
		cairo_set_line_width (cr, 1.0);
		cairo_move_to (cr, kDecayPanel.x, std::round (decayY (db)) + 0.5);
		cairo_line_to (cr, kDecayPanel.x + kDecayPanel.width, std::round (decayY (db)) + 0.5);
		cairo_stroke (cr);
		text (cr, kDecayPanel.x - 8, decayY (db) + 4, format ("%.0f", db), 11, kDimText, 1.0);
	}
	axis.draw (cr);
	text (cr, kDecayPanel.x, kDecayPanel.y - 10, "Decay", 15, kText, 0.0, true);
	text (cr, kDecayPanel.x + 62, kDecayPanel.y - 10,
	      "thin: energy in 5 ms windows (dBFS)   thick: reverberant energy still to come (Schroeder, dB)   dashed: RT60 fit",
	      11, kDimText);
	text (cr, kDecayPanel.x - 44, kDecayPanel.y + kDecayPanel.height / 2, "dB", 11, kDimText, 0.5);

	plotCurve (cr, axis, left.energyDb, left.windowSeconds, kLeftColour, 0.35, 1.0);
	plotCurve (cr, axis, right.energyDb, right.windowSeconds, kRightColour, 0.35, 1.0);
	plotCurve (cr, axis, left.schroederDb, left.windowSeconds, kLeftColour, 1.0, 2.5);
	plotCurve (cr, axis, right.schroederDb, right.windowSeconds, kRightColour, 1.0, 2.5);
	plotFit (cr, axis, left, kLeftColour);
	plotFit (cr, axis, right, kRightColour);

	// Legend in the panel's top-right corner, on a backing so curves don't run through it.
	const double boxX = kDecayPanel.x + kDecayPanel.width - 300, boxY = kDecayPanel.y + 12;
	setColour (cr, kBackground, 0.85);
	cairo_rectangle (cr, boxX - 10, boxY - 4, 300, 50);
	cairo_fill (cr);
	legendEntry (cr, boxX, boxY + 16, kLeftColour, rt60Text ("Left ", left));
	legendEntry (cr, boxX, boxY + 38, kRightColour, rt60Text ("Right", right));
}

// Dark blue through purple and orange to pale yellow, for 0 (quiet) .. 1 (loud).
void heatColour (double v, unsigned char& r, unsigned char& g, unsigned char& b)
{
	static const double stops[][3] = {
	    {0.02, 0.02, 0.06}, {0.16, 0.05, 0.35}, {0.50, 0.10, 0.50}, {0.85, 0.25, 0.30},
	    {0.98, 0.55, 0.15}, {0.99, 0.90, 0.55}};
	const int last = 5;
	const double position = std::clamp (v, 0.0, 1.0) * last;
	const int i = std::min (last - 1, static_cast<int> (position));
	const double f = position - i;
	r = static_cast<unsigned char> (255.0 * (stops[i][0] + f * (stops[i + 1][0] - stops[i][0])));
	g = static_cast<unsigned char> (255.0 * (stops[i][1] + f * (stops[i + 1][1] - stops[i][1])));
	b = static_cast<unsigned char> (255.0 * (stops[i][2] + f * (stops[i + 1][2] - stops[i][2])));
}

double frequencyAtRow (int row, int rows, double nyquist)
{
	const double fraction = 1.0 - (row + 0.5) / rows; // bottom row = lowest frequency
	return kLowestHz * std::pow (nyquist / kLowestHz, fraction);
}

void drawSpectrumPanel (cairo_t* cr, const StereoAudio& ir, double seconds)
{
	std::vector<float> mid (ir.frames ());
	for (size_t i = 0; i < ir.frames (); ++i)
		mid[i] = 0.5f * (ir.left[i] + ir.right[i]);
	const Spectrogram spectrum = computeSpectrogram (mid, ir.sampleRate);
	const double nyquist = ir.sampleRate / 2.0;
	const Panel& p = kSpectrumPanel;

	fillPanel (cr, p);
	// One image pixel per screen pixel: rows on a log-frequency scale, columns in time.
	const int width = static_cast<int> (p.width), height = static_cast<int> (p.height);
	cairo_surface_t* image = cairo_image_surface_create (CAIRO_FORMAT_RGB24, width, height);
	unsigned char* pixels = cairo_image_surface_get_data (image);
	const int stride = cairo_image_surface_get_stride (image);
	cairo_surface_flush (image);
	for (int row = 0; row < height; ++row)
	{
		const double bin = std::min (frequencyAtRow (row, height, nyquist) / spectrum.binHz,
		                             static_cast<double> (spectrum.bins - 1));
		const int below = static_cast<int> (bin);
		const int above = std::min (below + 1, spectrum.bins - 1);
		const double f = bin - below;
		for (int x = 0; x < width; ++x)
		{
			const double t = seconds * (x + 0.5) / width;
			const int column = static_cast<int> (t / spectrum.hopSeconds + 0.5);
			double level = -kSpectrumRangeDb;
			if (column < spectrum.columns)
				level = (1.0 - f) * spectrum.at (column, below) + f * spectrum.at (column, above);
			unsigned char r, g, b;
			heatColour (1.0 + level / kSpectrumRangeDb, r, g, b);
			auto* pixel = reinterpret_cast<uint32_t*> (pixels + row * stride) + x;
			*pixel = (static_cast<uint32_t> (r) << 16) | (static_cast<uint32_t> (g) << 8) | b;
		}
	}
	cairo_surface_mark_dirty (image);
	cairo_set_source_surface (cr, image, p.x, p.y);
	cairo_paint (cr);
	cairo_surface_destroy (image);

	// Frequency grid and labels.
	for (double hz : {50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0})
	{
		if (hz >= nyquist)
			continue;
		const double y = p.y + p.height * (1.0 - std::log (hz / kLowestHz) / std::log (nyquist / kLowestHz));
		setColour (cr, kText, 0.18);
		cairo_set_line_width (cr, 1.0);
		cairo_move_to (cr, p.x, std::round (y) + 0.5);
		cairo_line_to (cr, p.x + p.width, std::round (y) + 0.5);
		cairo_stroke (cr);
		text (cr, p.x - 8, y + 4, hz >= 1000.0 ? format ("%.0fk", hz / 1000.0) : format ("%.0f", hz), 11,
		      kDimText, 1.0);
	}
	text (cr, p.x - 44, p.y + p.height / 2, "Hz", 11, kDimText, 0.5);
	TimeAxis (p, seconds).draw (cr);
	text (cr, p.x, p.y - 10, "Spectrogram", 15, kText, 0.0, true);
	text (cr, p.x + 112, p.y - 10, "(left + right) / 2, dB relative to the loudest cell", 11, kDimText);

	// Colour scale.
	const double barX = p.x + p.width + 22, barWidth = 16;
	for (int row = 0; row < height; ++row)
	{
		unsigned char r, g, b;
		heatColour (1.0 - (row + 0.5) / height, r, g, b);
		cairo_set_source_rgb (cr, r / 255.0, g / 255.0, b / 255.0);
		cairo_rectangle (cr, barX, p.y + row, barWidth, 1);
		cairo_fill (cr);
	}
	for (double db = 0.0; db >= -kSpectrumRangeDb; db -= 15.0)
		text (cr, barX + barWidth + 6, p.y + p.height * (-db / kSpectrumRangeDb) + 4, format ("%.0f", db), 11,
		      kDimText);
	text (cr, barX, p.y - 10, "dB", 11, kDimText);
}

} // namespace

void drawImpulsePicture (const std::string& path, const StereoAudio& ir, const PictureCaption& caption)
{
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_RGB24, kWidth, kHeight);
	cairo_t* cr = cairo_create (surface);
	setColour (cr, kBackground);
	cairo_paint (cr);

	text (cr, kLeftMargin, 36, caption.title, 22, kText, 0.0, true);
	text (cr, kLeftMargin, 62, caption.subtitle, 13, kDimText);

	const double seconds = static_cast<double> (ir.frames ()) / ir.sampleRate;
	drawDecayPanel (cr, ir, seconds);
	drawSpectrumPanel (cr, ir, seconds);

	cairo_destroy (cr);
	const cairo_status_t status = cairo_surface_write_to_png (surface, path.c_str ());
	cairo_surface_destroy (surface);
	// Text drawing fills cairo's and fontconfig's caches for the life of the program;
	// we draw once, so hand them back rather than leave them to the leak checker.
	cairo_debug_reset_static_data ();
	FcFini ();
	if (status != CAIRO_STATUS_SUCCESS)
		throw ToolError ("cannot write " + path + ": " + cairo_status_to_string (status));
}

} // namespace QuillmereRender
