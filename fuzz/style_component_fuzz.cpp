// Style sheet from a component stream: any bytes read into a sheet; what reads is written
// again, must read again, and the second writing must equal the first.
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "vizivodu/styles/VDStyle.h"

#include <cstdlib>
#include <string>

namespace {

std::string Written(vizivodu::TVDStyle &sheet) {
    rtl::TMemoryStream stream;
    sheet.SaveToComponentStream(stream);
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
    stream.SetPosition(0);
    vizivodu::TVDStyle sheet(nullptr);
    sheet.LoadFromComponentStream(stream);
    const std::string first = Written(sheet);
    rtl::TMemoryStream again;
    again.Write(first.data(), int32_t(first.size()));
    again.SetPosition(0);
    vizivodu::TVDStyle copy(nullptr);
    try {
        copy.LoadFromComponentStream(again);
    } catch (const rtl::Exception &) {
        std::abort(); // what the writer writes, the reader must read
    }
    if (Written(copy) != first) {
        std::abort();
    }
}
