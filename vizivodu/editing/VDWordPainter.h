// Word painters: marks drawn over ranges of a text item's characters (misspelt words among
// them), kept per item in a list the item owns, drawn by the painting of formatted documents.
#pragma once

#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {
class TCanvas;
}

namespace vizivodu {

class TCustomVDData;
class TVDDrawLineInfo;

// StartOffs and Length are character positions in the item's text, counted from 1.
class TVDWordPainter {
public:
    TVDWordPainter(int32_t startOffs, int32_t length) : StartOffs(startOffs), Length(length) {}
    virtual ~TVDWordPainter() = default;
    // Tells misspelling marks from other painters (the editor's classes answer).
    virtual bool IsMisspelling() const { return false; }
    // Draws over r, the rectangle of (a visually contiguous piece of) the painter's characters
    // on draw item ditem of vdData; index: the painter's place in its list. Nothing here.
    virtual void Draw(gfx::TCanvas &canvas, const TVDDrawLineInfo &ditem, TCustomVDData *vdData,
                      const rtl::TRect &r, int32_t index);

    int32_t StartOffs;
    int32_t Length;
};

// Marks a misspelt word with a zigzag along the bottom of its rectangle.
class TVDWordMisspellPainter : public TVDWordPainter {
public:
    using TVDWordPainter::TVDWordPainter;
    bool IsMisspelling() const override { return true; }
    // A point every 2 pixels from r's left (at most 1024), alternately 2 pixels above r's
    // bottom and on it, the last one at r's right; one solid pixel-wide polyline in the style
    // sheet's live-spelling colour; the pen is put back.
    void Draw(gfx::TCanvas &canvas, const TVDDrawLineInfo &ditem, TCustomVDData *vdData,
              const rtl::TRect &r, int32_t index) override;
};

// The painters of one item, in the order they were added; owns them.
class TVDWordPainterList {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVDWordPainter &Get(int32_t index) const { return *FItems[static_cast<size_t>(index)]; }
    void Add(std::unique_ptr<TVDWordPainter> painter) { FItems.push_back(std::move(painter)); }
    void Delete(int32_t index) { FItems.erase(FItems.begin() + index); }

private:
    std::vector<std::unique_ptr<TVDWordPainter>> FItems;
};

} // namespace vizivodu
