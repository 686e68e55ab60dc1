// Graphic handler of the document library: any bytes sniffed, loaded through the class of their
// format (with every format given a class, GIF and metafiles included), read by a plain stream,
// and taken as an enhanced metafile whose one bitmap is extracted. The seeds also run as an
// ordinary test.
#include "fuzz/FuzzTarget.h"
#include "platform/gfx/ImageCodecs.h"

#include "vizivodu/document/VDGrHandler.h"

#include "platform/rtl/Classes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

// A stream that is not a memory stream, so sniffing reads and seeks back.
class TPlainStream : public rtl::TStream {
public:
    TPlainStream(const uint8_t *data, size_t size) : FData(data), FSize(int64_t(size)) {}
    int32_t Read(void *buffer, int32_t count) override {
        const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, FSize - FPosition));
        if (n > 0) {
            std::memcpy(buffer, FData + FPosition, size_t(n));
            FPosition += n;
        }
        return int32_t(n);
    }
    int32_t Write(const void *, int32_t) override { return 0; }
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override {
        FPosition = (origin == rtl::soBeginning ? 0
                     : origin == rtl::soEnd     ? FSize
                                                : FPosition) +
                    offset;
        return FPosition;
    }

private:
    const uint8_t *FData;
    int64_t FSize;
    int64_t FPosition = 0;
};

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    // Small pictures only: tiny inputs that claim the largest picture would fill memory
    // instead of exploring the decoders.
    static const bool limited = (gfx::SetMaxPicturePixelsForTesting(1 << 16), true);
    (void)limited;
    using namespace vizivodu;
    const uint8_t *data = input.data();
    const size_t size = input.size();
    if (size > (1u << 20)) {
        return;
    }
    InitializeGraphicHandler();
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    handler.SetDefaultGraphicClass(vdgtGIF, WICImageGraphicClass());
    handler.SetDefaultGraphicClass(vdgtMetafile, MetafileGraphicClass());
    RegisterGraphicClass(MetafileGraphicClass());
    TVDGraphicHandler::GetDataGraphicType(data, int32_t(size));

    rtl::TMemoryStream memory;
    memory.Write(data, int32_t(size));
    memory.SetPosition(0);
    if (auto graphic = handler.LoadFromStream(memory)) {
        handler.GetGraphicType(*graphic);
        handler.IsTransparent(*graphic);
        handler.IconToPng(*graphic);
        handler.Clone(graphic.get());
        handler.IsEnhancedMetafile(*graphic);
    } else if (handler.GetLastLoadError().empty()) {
        __builtin_trap(); // a refusal always says why
    }
    TPlainStream plain(data, size);
    handler.LoadFromStream(plain);
    handler.ExtractBitmapFromEnhMetafileData(
        std::string_view(reinterpret_cast<const char *>(data), size));
}
