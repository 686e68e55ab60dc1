// Fuzz target of the graphic handler: any bytes sniffed, loaded through the class of their
// format (with every format given a class, GIF included), read by a plain stream, and taken as
// an enhanced metafile whose one bitmap is extracted. The seeds also run as an ordinary test.
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

#ifdef WB_FUZZ_TARGET
// The decoders allocate and free large pixel buffers on every input; a small quarantine keeps
// the sanitizer's held memory from reaching the fuzzer's memory limit.
extern "C" const char *__asan_default_options() {
    return "quarantine_size_mb=32:allocator_release_to_os_interval_ms=200";
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace vizivodu;
    if (size > (1u << 20)) {
        return 0;
    }
    InitializeGraphicHandler();
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    handler.SetDefaultGraphicClass(vdgtGIF, WICImageGraphicClass());
    TVDGraphicHandler::GetDataGraphicType(data, int32_t(size));

    rtl::TMemoryStream memory;
    memory.Write(data, int32_t(size));
    memory.SetPosition(0);
    if (auto graphic = handler.LoadFromStream(memory)) {
        handler.GetGraphicType(*graphic);
        handler.IsTransparent(*graphic);
        handler.IconToPng(*graphic);
        handler.Clone(graphic.get());
    }
    TPlainStream plain(data, size);
    handler.LoadFromStream(plain);
    handler.ExtractBitmapFromEnhMetafileData(
        std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
