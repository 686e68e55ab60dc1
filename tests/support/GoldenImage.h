// Comparison of pictures we draw ourselves with their golden images in tests/data/golden/.
//
// The tolerance rule, one for every golden: red, green and blue must match exactly (alpha is
// ignored, as pictures are shown without it), except inside the rectangles a test names as text.
// There the font engine antialiases glyphs, and its output may change with its version, so up to
// 2% of the pixels of those rectangles together may differ.
//
// A golden shows only pixels our own code draws (the raster library, own-drawn controls), never
// Qt's native widgets, whose look follows Qt's version and style. Each golden has a line in
// tests/data/golden/checked.txt saying how it was checked: "<file> <how>"; a comparison with a
// golden that has no such line fails.
#pragma once

#include "platform/gfx/Bitmap.h"

#include <string>
#include <vector>

namespace wbtest {

// Expects actual to match tests/data/golden/<name> by the rule above (a non-fatal failure
// otherwise). On a mismatch the actual picture and a difference picture are written to the
// build folder's test-output/golden/ and named in the failure: in the difference picture equal
// pixels are the golden's, faded to a third of their brightness; differing ones are red, or
// yellow inside a text rectangle.
// With the environment variable WB_UPDATE_GOLDEN=1 the picture is written as the golden
// instead, and the test is skipped.
void ExpectMatchesGolden(const gfx::TBitmap &actual, const std::string &name,
                         const std::vector<gfx::TRect> &textAreas = {});

// The number of pixels of a and b whose red, green or blue differ by more than channelTolerance
// (alpha ignored); -1 when their sizes differ. For comparing two drawings made by a test.
int64_t DifferingPixels(const gfx::TBitmap &a, const gfx::TBitmap &b, int channelTolerance = 0);

// The share of the 4 x 4 pixel blocks, of the part both pictures cover and outside the rows
// [skipTop, skipBottom), whose mean colours differ by more than limit in some channel: for
// pictures drawn by renderers that antialias differently.
double DifferingBlockShare(const gfx::TBitmap &a, const gfx::TBitmap &b, int limit, int skipTop = 0,
                           int skipBottom = 0);

// An enhanced metafile as an outside reader draws it: emf2svg's SVG drawn by librsvg on white,
// both files written beside the metafile. An empty bitmap when the tools fail; tests check
// HaveTool("emf2svg-conv") and HaveTool("rsvg-convert") first.
gfx::TBitmap DrawnByEmf2svg(const std::string &emfFile);

// The share of a set of text rectangles' pixels that may differ: 2 in 100.
inline constexpr int kTextAreaTolerancePercent = 2;

} // namespace wbtest
