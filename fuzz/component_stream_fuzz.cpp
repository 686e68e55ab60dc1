// Component stream reader: any bytes as the stream of a root component of the test classes, read
// without and with an error handler; what reads is written again and must read back. The bytes
// are also skipped as one value.
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"
#include "tests/rtl/StreamingDemo.h"

#include <cstdlib>
#include <memory>

namespace {

void ReadWrittenBack(rtl::TComponent &root) {
    rtl::TMemoryStream written;
    try {
        rtl::TWriter(written).WriteRootComponent(root);
    } catch (const rtl::EWriteError &) {
        return; // a value this stream cannot hold (a currency beyond 64 bits, say)
    }
    written.SetPosition(0);
    try {
        rtl::TReader(written).ReadRootComponent();
    } catch (const rtl::Exception &) {
        std::abort(); // what the writer writes, the reader must read
    }
}

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    static const bool registered = (demo::RegisterDemoClasses(), true);
    (void)registered;
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
    for (const bool handleErrors : {false, true}) {
        stream.SetPosition(0);
        try {
            rtl::TReader reader(stream);
            if (handleErrors) {
                reader.OnError = [](rtl::TReader &, const rtl::UnicodeString &, bool &handled) {
                    handled = true;
                };
            }
            std::unique_ptr<rtl::TComponent> root = reader.ReadRootComponent();
            ReadWrittenBack(*root);
        } catch (const rtl::Exception &) {
            // Refused input is the expected outcome for most mutations.
        }
    }
    stream.SetPosition(0);
    rtl::TReader(stream).SkipValue();
}
