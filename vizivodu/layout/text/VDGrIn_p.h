// Internals shared by the graphic interface units: text of a run as UTF-16, the character-start
// rule, and the guard that switches the character extra off.
#pragma once

#include "vizivodu/layout/text/VDGrIn.h"

#include <string>
#include <vector>

namespace vizivodu::grin {

// The run's characters as UTF-16: a Unicode run's code units; 8-bit text read in the code page
// of the canvas font's character set (the symbol fonts' private codes for SYMBOL_CHARSET), one
// unit per byte.
std::u16string CanvasText(gfx::TCanvas &canvas, const TVDTextRun &run);

// The code units of a Unicode run (empty for a run without text).
std::u16string UnitsOf(const TVDTextRun &run);

// For each position of the run, whether it starts a character (the platform's next-character
// rule): only for a UTF-16 run with text; otherwise every position counts.
std::vector<uint8_t> CharacterStarts(const TVDTextRun &run);

// Sets the canvas's character extra to 0 through the interface and puts it back on leaving.
class TCharExtraOff {
public:
    TCharExtraOff(TVDGraphicInterface &gi, gfx::TCanvas &canvas)
        : FGI(gi), FCanvas(canvas), FValue(gi.GetTextCharacterExtra(canvas)) {
        if (FValue != 0) {
            gi.SetTextCharacterExtra(canvas, 0);
        }
    }
    ~TCharExtraOff() {
        if (FValue != 0) {
            FGI.SetTextCharacterExtra(FCanvas, FValue);
        }
    }
    TCharExtraOff(const TCharExtraOff &) = delete;
    TCharExtraOff &operator=(const TCharExtraOff &) = delete;
    // The character extra the canvas had.
    int32_t Value() const { return FValue; }

private:
    TVDGraphicInterface &FGI;
    gfx::TCanvas &FCanvas;
    int32_t FValue;
};

// A run of the same treatment over other text (UTF-16 code units).
TVDTextRun RunOf(const std::u16string &units, const TVDTextRun &like);

} // namespace vizivodu::grin
