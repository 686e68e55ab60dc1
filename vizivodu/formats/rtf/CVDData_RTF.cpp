// A document's RTF loading: the root's reading settings append the RTF, then the new items are
// merged with the one before them.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "platform/rtl/Files.h"

namespace vizivodu {

namespace {

TVDRTFErrorCode LoadRTFWith(TCustomVDData &doc,
                            const std::function<TVDRTFErrorCode(TVDRTFReaderProperties &)> &read) {
    TVDRTFReaderProperties *props = doc.GetRTFReadProperties();
    if (!props) {
        return rtf_ec_Assertion;
    }
    const int32_t oldCount = doc.ItemCount();
    const TVDRTFErrorCode result = read(*props);
    if (doc.ItemCount() > 0) {
        doc.MassSimpleConcate(oldCount > 0 ? oldCount - 1 : 0, doc.ItemCount() - 1);
    }
    return result;
}

} // namespace

TVDRTFErrorCode TCustomVDData::LoadRTF(const rtl::UnicodeString &fileName) {
    return LoadRTFWith(*this, [&](TVDRTFReaderProperties &props) {
        const rtl::UnicodeString oldPath = props.BasePath;
        props.BasePath = rtl::ExtractFilePath(fileName);
        const TVDRTFErrorCode result = props.ReadFromFile(fileName, *this, false);
        props.BasePath = oldPath;
        return result;
    });
}

TVDRTFErrorCode TCustomVDData::LoadRTFFromStream(rtl::TStream &stream) {
    return LoadRTFWith(*this, [&](TVDRTFReaderProperties &props) {
        return props.ReadFromStream(stream, *this, false);
    });
}

} // namespace vizivodu
