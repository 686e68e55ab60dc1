// Image lists: adding and masking images, drawing them enabled and disabled pixel by pixel,
// and telling linked clients about changes.
#include "platform/gfx/ImgList.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace gfx;

namespace {

// A bitmap from rows of letters: each letter a pixel of the palette.
TBitmap Picture(const std::vector<std::string> &rows, TPixelFormat format = pfDevice) {
    TBitmap b(int32_t(rows[0].size()), int32_t(rows.size()));
    b.SetPixelFormat(format);
    for (size_t y = 0; y < rows.size(); ++y) {
        uint32_t *line = b.ScanLine(int32_t(y));
        for (size_t x = 0; x < rows[y].size(); ++x) {
            switch (rows[y][x]) {
            case 'k':
                line[x] = 0xFF000000; // black
                break;
            case 'w':
                line[x] = 0xFFFFFFFF; // white
                break;
            case 'r':
                line[x] = 0xFFFF0000; // red
                break;
            case 'h':
                line[x] = 0x80FF0000; // red, half transparent (in pf32bit)
                break;
            case 'z':
                line[x] = 0x000000FF; // blue, alpha 0
                break;
            default:
                line[x] = 0xFFFF00FF; // fuchsia: the mask colour
                break;
            }
        }
    }
    return b;
}

// The canvas's pixels as $RRGGBB text, one row per line.
std::string Pixels(TBitmap &b) {
    std::string out;
    char cell[8];
    for (int32_t y = 0; y < b.GetHeight(); ++y) {
        for (int32_t x = 0; x < b.GetWidth(); ++x) {
            std::snprintf(cell, sizeof cell, "%06X ", b.ScanLine(y)[x] & 0xFFFFFF);
            out += cell;
        }
        out += "\n";
    }
    return out;
}

// A surface of the button face colour.
TBitmap Face(int32_t w, int32_t h) {
    TBitmap b(w, h);
    b.GetCanvas().GetBrush().SetColor(clBtnFace);
    b.GetCanvas().FillRect(Rect(0, 0, w, h));
    return b;
}

} // namespace

TEST(ImageList, EnabledImageLeavesOutMaskedPixels) {
    TImageList list(nullptr, 3, 2);
    list.AddMasked(Picture({"rfk", "wrf"}), clFuchsia);
    TBitmap target = Face(4, 3);
    list.Draw(target.GetCanvas(), 1, 1, 0);
    EXPECT_EQ(Pixels(target), "F0F0F0 F0F0F0 F0F0F0 F0F0F0 \n"
                              "F0F0F0 FF0000 F0F0F0 000000 \n"
                              "F0F0F0 FFFFFF FF0000 F0F0F0 \n");
}

// The class library's disabled look: the image's ink (opaque pixels that are not white) in
// clBtnHighlight one pixel down and right, then in clBtnShadow in place.
TEST(ImageList, DisabledMaskedImageIsEmbossed) {
    TImageList list(nullptr, 3, 3);
    list.AddMasked(Picture({"kff", "fwf", "ffr"}), clFuchsia);
    TBitmap target = Face(4, 4);
    list.Draw(target.GetCanvas(), 0, 0, 0, deDisabled);
    EXPECT_EQ(Pixels(target), "A0A0A0 F0F0F0 F0F0F0 F0F0F0 \n"
                              "F0F0F0 FFFFFF F0F0F0 F0F0F0 \n"
                              "F0F0F0 F0F0F0 A0A0A0 F0F0F0 \n"
                              "F0F0F0 F0F0F0 F0F0F0 FFFFFF \n");
}

TEST(ImageList, AlphaOf32BitImagesBlendsWithTheCanvas) {
    TImageList list(nullptr, 3, 1);
    list.SetColorDepth(cd32Bit);
    list.Add(Picture({"rhz"}, pf32bit), nullptr);
    TBitmap target = Face(3, 1);
    list.Draw(target.GetCanvas(), 0, 0, 0);
    // Half-transparent red over F0F0F0: (255 x 128 + 240 x 127 + 127) / 255 = 248 and
    // (240 x 127 + 127) / 255 = 120; alpha 0 leaves the face.
    EXPECT_EQ(Pixels(target), "FF0000 F87878 F0F0F0 \n");

    // Disabled, a 32-bit image is grey (luminance) with its alpha.
    TBitmap greyed = Face(3, 1);
    list.Draw(greyed.GetCanvas(), 0, 0, 0, deDisabled);
    EXPECT_EQ(Pixels(greyed), "4D4D4D 9E9E9E F0F0F0 \n");
}

TEST(ImageList, AlphaCountsOnlyWhereTheImageHasSome) {
    // A bitmap whose alpha is all 0 (made without one) is opaque, even in a 32-bit list.
    TImageList list(nullptr, 2, 1);
    list.SetColorDepth(cd32Bit);
    list.Add(Picture({"zz"}, pf32bit), nullptr);
    // Below 32 bits the alpha of a pf32bit bitmap is not kept.
    TImageList masked(nullptr, 2, 1);
    masked.Add(Picture({"hz"}, pf32bit), nullptr);
    TBitmap target = Face(2, 2);
    list.Draw(target.GetCanvas(), 0, 0, 0);
    masked.Draw(target.GetCanvas(), 0, 1, 0);
    EXPECT_EQ(Pixels(target), "0000FF 0000FF \n"
                              "FF0000 0000FF \n");
}

TEST(ImageList, AddSplitsBitmapsAndMasksWhite) {
    TImageList list(nullptr, 2, 2);
    EXPECT_EQ(list.Add(Picture({"rkkr", "krrk"}), nullptr), 0);
    EXPECT_EQ(list.GetCount(), 2);
    // A mask leaves out its white pixels; a narrower bitmap leaves out the rest of the image.
    EXPECT_EQ(list.Add(Picture({"k", "r"}), nullptr), 2);
    const TBitmap mask = Picture({"wk", "kw"});
    EXPECT_EQ(list.Add(Picture({"rr", "rr"}), &mask), 3);
    TBitmap target = Face(8, 2);
    for (int i = 0; i < 4; ++i) {
        list.Draw(target.GetCanvas(), 2 * i, 0, i);
    }
    EXPECT_EQ(Pixels(target), "FF0000 000000 000000 FF0000 000000 F0F0F0 F0F0F0 FF0000 \n"
                              "000000 FF0000 FF0000 000000 FF0000 F0F0F0 FF0000 F0F0F0 \n");
    // Indexes outside the list draw nothing.
    list.Draw(target.GetCanvas(), 0, 0, 4);
    list.Draw(target.GetCanvas(), 0, 0, -1);
    EXPECT_EQ(target.ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);
}

TEST(ImageList, ReplaceAndDeleteCheckTheIndex) {
    TImageList list(nullptr, 1, 1);
    list.Add(Picture({"rk"}), nullptr);
    list.Replace(1, Picture({"w"}), nullptr);
    list.Delete(0);
    ASSERT_EQ(list.GetCount(), 1);
    TBitmap target = Face(1, 1);
    list.Draw(target.GetCanvas(), 0, 0, 0);
    EXPECT_EQ(Pixels(target), "FFFFFF \n");
    struct Case {
        const char *message;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"Unable to Replace Image", [&] { list.Replace(1, Picture({"r"}), nullptr); }},
        {"Unable to Replace Image", [&] { list.ReplaceMasked(-1, Picture({"r"}), clRed); }},
        {"Invalid ImageList Index", [&] { list.Delete(1); }},
        {"Unable to insert an image", [&] { list.Add(TBitmap(), nullptr); }},
        {"Invalid image size", [&] { list.SetWidth(0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        try {
            c.call();
            ADD_FAILURE() << "no error";
        } catch (const rtl::EInvalidOperation &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ImageList, ChangesReachTheLinkedClients) {
    auto list = std::make_unique<TImageList>(nullptr);
    int told = 0;
    int toldAsEvent = 0;
    TChangeLink link;
    link.OnChange = [&](TCustomImageList *sender) {
        EXPECT_EQ(sender, list.get());
        ++told;
    };
    list->OnChange = [&](rtl::TComponent *) { ++toldAsEvent; };
    list->RegisterChanges(&link);
    const TBitmap image = Picture({"r"});
    list->Add(image, nullptr);
    list->AddMasked(image, clRed);
    list->Replace(0, image, nullptr);
    list->Delete(1);
    EXPECT_EQ(told, 4);
    list->BeginUpdate();
    list->Add(image, nullptr);
    list->Clear();
    EXPECT_EQ(told, 4);
    list->EndUpdate();
    EXPECT_EQ(told, 5);
    // A change of size or depth empties the list.
    list->Add(image, nullptr);
    list->SetHeight(8);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(told, 7);
    EXPECT_EQ(toldAsEvent, told);
    // The list going first leaves the link without a sender.
    list.reset();
    EXPECT_EQ(link.GetSender(), nullptr);
}

TEST(ImageList, LinkLeavesItsListWhenDestroyed) {
    TImageList list(nullptr);
    int told = 0;
    {
        TChangeLink link;
        link.OnChange = [&](TCustomImageList *) { ++told; };
        list.RegisterChanges(&link);
    }
    list.Clear();
    EXPECT_EQ(told, 0);
}

// A selected image is drawn half way towards the selection colour; pixels left out stay so.
TEST(ImageList, BlendColourTintsTheDrawnPixelsByHalf) {
    TImageList list(nullptr, 3, 1);
    list.AddMasked(Picture({"rfw"}), clFuchsia);
    TBitmap target = Face(3, 1);
    list.Draw(target.GetCanvas(), 0, 0, 0, deEnabled, TColor(0x00FF0000)); // blue
    EXPECT_EQ(Pixels(target), "800080 F0F0F0 8080FF \n");
}

namespace {

std::unique_ptr<rtl::TMemoryStream> Stored(TImageList &list) {
    auto stream = std::make_unique<rtl::TMemoryStream>();
    rtl::TWriter writer(*stream);
    writer.WriteRootComponent(list);
    return stream;
}

void Load(rtl::TMemoryStream &stream, TImageList &list) {
    stream.SetPosition(0);
    rtl::TReader reader(stream);
    reader.ReadRootComponent(list);
}

} // namespace

TEST(ImageList, ImagesComeBackThroughTheComponentStream) {
    TImageList list(nullptr, 3, 1);
    list.SetColorDepth(cd32Bit);
    list.Add(Picture({"rhk", "kkk"}, pf32bit), nullptr);
    list.Add(Picture({"kwr"}, pf32bit), nullptr);
    auto stream = Stored(list);

    TImageList loaded(nullptr);
    Load(*stream, loaded);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetWidth(), 3);
    EXPECT_EQ(loaded.GetHeight(), 1);
    EXPECT_EQ(loaded.GetColorDepth(), cd32Bit);
    for (int32_t i = 0; i < 2; ++i) {
        TBitmap a = Face(3, 1), b = Face(3, 1);
        list.Draw(a.GetCanvas(), 0, 0, i);
        loaded.Draw(b.GetCanvas(), 0, 0, i);
        EXPECT_EQ(Pixels(a), Pixels(b)) << i;
    }
}

// Sizes in the stored images are checked against the bytes there before anything is taken.
TEST(ImageList, DamagedStoredImagesAreRefusedAndTheListKept) {
    struct Case {
        const char *what;
        size_t offset; // from the "WBIL" mark
        uint8_t value;
    };
    const Case cases[] = {
        {"mark", 0, 'X'},       {"width 0", 4, 0},        {"height grown", 8, 2},
        {"count grown", 12, 3}, {"count huge", 15, 0x40},
    };
    for (const Case &c : cases) {
        TImageList list(nullptr, 2, 1);
        list.AddMasked(Picture({"rk"}), clNone);
        auto stream = Stored(list);
        uint8_t *bytes = stream->GetMemory();
        const std::string all(reinterpret_cast<char *>(bytes), size_t(stream->GetSize()));
        const size_t mark = all.find("WBIL");
        ASSERT_NE(mark, std::string::npos);
        bytes[mark + c.offset] = c.value;

        TImageList loaded(nullptr, 2, 1);
        loaded.AddMasked(Picture({"kk"}), clNone);
        EXPECT_THROW(Load(*stream, loaded), rtl::EReadError) << c.what;
        EXPECT_EQ(loaded.GetCount(), 1) << c.what;
    }
}
