// Pictures: PNG round trip through a file and memory, rejection of bad data, the decoders'
// limits, and the picture writers' safe saves.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/HostilePictures.h"
#include "tests/support/SaveFaults.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace gfx;

TEST(Picture, PngRoundTripsThroughFileAndMemory) {
    TBitmap bmp(7, 5);
    bmp.GetCanvas().SetPixel(2, 3, clRed);
    const wbtest::TTempFolder folder;
    bmp.SaveToFile(folder.File("picture.png"));

    TPicture pic;
    pic.LoadFromFile(folder.File("picture.png"));
    ASSERT_NE(dynamic_cast<TPngImage *>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetWidth(), 7);
    EXPECT_EQ(pic.GetHeight(), 5);

    const std::string bytes = wbtest::ReadFileBytes(folder / "picture.png");
    TPngImage png;
    png.LoadFromMemory(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    TBitmap back(10, 10);
    back.GetCanvas().Draw(1, 1, png);
    EXPECT_EQ(back.GetCanvas().GetPixel(3, 4), clRed);
    EXPECT_EQ(back.GetCanvas().GetPixel(2, 4), clWhite);
}

TEST(Picture, BadDataIsRejected) {
    const uint8_t junk[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
    TPngImage png;
    EXPECT_THROW(png.LoadFromMemory(junk, sizeof junk), rtl::Exception);
    EXPECT_THROW(png.LoadFromMemory(nullptr, 0), rtl::Exception);
    TPicture pic;
    EXPECT_THROW(pic.LoadFromMemory(junk, sizeof junk), rtl::Exception);
    EXPECT_THROW(pic.LoadFromFile(u"/nonexistent/file.png"), rtl::EFOpenError);
    EXPECT_TRUE(pic.Empty());
}

TEST(Picture, PngRoundTripsThroughStreamsFromTheirPosition) {
    TBitmap bmp(4, 3);
    bmp.GetCanvas().SetPixel(1, 2, clLime);
    const wbtest::TTempFolder folder;
    bmp.SaveToFile(folder.File("picture.png"));
    TPngImage png;
    png.LoadFromFile(folder.File("picture.png"));

    rtl::TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    png.SaveToStream(stream);
    stream.SetPosition(3);
    TPicture pic;
    pic.LoadFromStream(stream);
    ASSERT_EQ(pic.GetWidth(), 4);
    TBitmap back(4, 3);
    back.GetCanvas().Draw(0, 0, *pic.GetGraphic());
    EXPECT_EQ(back.GetCanvas().GetPixel(1, 2), clLime);
}

using wbtest::BmpClaimingHugeDimensions;
using wbtest::GifClaimingHugeDimensions;
using wbtest::PngClaimingAHugeTextChunk;

// Small inputs that claim huge pictures are refused before anything is allocated for them.
TEST(Picture, SmallInputsClaimingHugePicturesAreRefusedWithAReason) {
    const struct {
        const char *Name;
        std::vector<uint8_t> Data;
        const char16_t *Reason;
    } cases[] = {
        {"PNG text chunk of 1.5 GB", PngClaimingAHugeTextChunk(),
         u"Рисунок PNG повреждён: блок данных длиннее файла"},
        {"BMP of 4 x 16580353", BmpClaimingHugeDimensions(),
         u"Размеры рисунка больше, чем допускают его данные или память"},
        {"GIF of 8000 x 8000", GifClaimingHugeDimensions(),
         u"Размеры рисунка больше, чем допускают его данные или память"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TPicture picture;
        try {
            picture.LoadFromMemory(c.Data.data(), c.Data.size());
            ADD_FAILURE() << "loaded";
        } catch (const rtl::Exception &e) {
            EXPECT_EQ(e.Message(), c.Reason);
        }
    }
}

TEST(Picture, FileLoadersRefuseFifosDevicesAndNameTheFileOfBrokenData) {
    const wbtest::TTempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.png").c_str(), 0600), 0);
    wbtest::WriteFileBytes(folder / "broken.bmp", "BM not really a bitmap");
    const rtl::UnicodeString broken = u"Не удалось открыть рисунок \"" + folder.File("broken.bmp") +
                                      u"\". Данные повреждены или это не рисунок BMP, GIF, "
                                      u"JPEG или PNG";
    const std::function<void(const rtl::UnicodeString &)> loaders[] = {
        [](const rtl::UnicodeString &name) { TPicture().LoadFromFile(name); },
        [](const rtl::UnicodeString &name) { TPngImage().LoadFromFile(name); },
        [](const rtl::UnicodeString &name) { TBitmap().LoadFromFile(name); },
    };
    for (const auto &load : loaders) {
        for (const rtl::UnicodeString &device :
             {folder.File("fifo.png"), rtl::UnicodeString(u"/dev/zero")}) {
            try {
                load(device);
                ADD_FAILURE() << "a device was read";
            } catch (const rtl::EFOpenError &e) {
                EXPECT_NE(e.Message().find(u"Это не файл, а устройство или канал"),
                          rtl::UnicodeString::npos);
            }
        }
        try {
            load(folder.File("broken.bmp"));
            ADD_FAILURE() << "broken data was loaded";
        } catch (const rtl::Exception &e) {
            EXPECT_EQ(e.Message(), broken);
        }
    }
}

// Every picture writer of the platform keeps the old file when the save fails.
TEST(Picture, EveryPictureWriterKeepsTheOldFileWhenTheSaveFails) {
    TBitmap bitmap(3, 2);
    bitmap.GetCanvas().SetPixel(1, 1, clRed);
    const std::unique_ptr<TPngImage> png = PngFromPixels(bitmap, false);
    TMetafile metafile;
    metafile.SetWidth(10);
    metafile.SetHeight(10);
    {
        TMetafileCanvas canvas(metafile);
        canvas.Rectangle(1, 1, 8, 8);
    }
    const struct {
        const char *Name;
        std::function<void(const rtl::UnicodeString &)> Save;
    } writers[] = {
        {"bitmap.png", [&](const rtl::UnicodeString &n) { bitmap.SaveToFile(n); }},
        {"bitmap.bmp", [&](const rtl::UnicodeString &n) { bitmap.SaveToFile(n); }},
        {"image.png", [&](const rtl::UnicodeString &n) { png->SaveToFile(n); }},
        {"picture.emf", [&](const rtl::UnicodeString &n) { metafile.SaveToFile(n); }},
    };
    for (const auto &writer : writers) {
        SCOPED_TRACE(writer.Name);
        wbtest::ExpectSaveFailuresKeepTheOldFile(writer.Name, "old picture", writer.Save);
    }
}
