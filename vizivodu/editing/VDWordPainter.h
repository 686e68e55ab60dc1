// Word painters: marks drawn over ranges of a text item's characters (misspelt words among
// them), kept per item in a list the item owns. Drawing belongs to the editor.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vizivodu {

// StartOffs and Length are character positions in the item's text, counted from 1.
class TVDWordPainter {
public:
    TVDWordPainter(int32_t startOffs, int32_t length) : StartOffs(startOffs), Length(length) {}
    virtual ~TVDWordPainter() = default;
    // Tells misspelling marks from other painters (the editor's classes answer).
    virtual bool IsMisspelling() const { return false; }

    int32_t StartOffs;
    int32_t Length;
};

// Marks a misspelt word.
class TVDWordMisspellPainter : public TVDWordPainter {
public:
    using TVDWordPainter::TVDWordPainter;
    bool IsMisspelling() const override { return true; }
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
