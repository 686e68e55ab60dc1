// Copying the selection of a formatted document to the clipboard: the native format, 8-bit and
// Unicode text, the selected picture and RTF, in the order other programs expect them.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDClipboardFormats.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Clipbrd.h"
#include "platform/gfx/Graphic.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <functional>

namespace vizivodu {

namespace {

// The chosen sub-document (a cell edited in place) copies instead of its owner.
TCustomVDFormattedData *Chosen(TCustomVDFormattedData &vdData) {
    return dynamic_cast<TCustomVDFormattedData *>(vdData.GetChosenVDData());
}

void PutBlock(uint32_t format, const std::string &bytes) {
    gfx::Clipboard().SetBuffer(format, bytes.data(), bytes.size());
}

void PutTextA(TCustomVDFormattedData &vdData) {
    PutBlock(gfx::CF_TEXT, vdData.GetSelTextR(false) + '\0');
}

void PutTextW(TCustomVDFormattedData &vdData) {
    PutBlock(gfx::CF_UNICODETEXT, vdData.GetSelTextR(true) + std::string(2, '\0'));
}

void PutImage(TCustomVDFormattedData &vdData) {
    if (gfx::TGraphic *image = vdData.GetSelectedImage()) {
        try {
            gfx::Clipboard().Assign(*image);
        } catch (const rtl::Exception &) {
            // A picture the clipboard cannot take is left out; the other formats stay.
        }
    }
}

// A 32-bit little-endian length, then the native document of the selection.
void PutVDF(TCustomVDFormattedData &vdData, gfx::TColor color, TVDBackground *background) {
    rtl::TMemoryStream stream;
    const uint32_t placeholder = 0;
    stream.WriteBuffer(&placeholder, 4);
    vdData.SaveVDFToStream(stream, true, uint32_t(color), background, nullptr, true);
    std::string bytes(size_t(stream.GetSize()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), int32_t(bytes.size()));
    const uint32_t n = uint32_t(bytes.size() - 4);
    for (size_t i = 0; i < 4; ++i) {
        bytes[i] = char((n >> (8 * i)) & 0xFF);
    }
    PutBlock(CF_VDF, bytes);
}

// The RTF of the selection, as many bytes as written.
void PutRTF(TCustomVDFormattedData &vdData, gfx::TColor color, TVDBackground *background) {
    rtl::TMemoryStream stream;
    TVDRTFSavingData savingData;
    vdData.SaveRTFToStream(stream, true, 0, color, background, savingData, vdrtfdtMain, true, false,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    std::string bytes(size_t(stream.GetSize()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), int32_t(bytes.size()));
    PutBlock(CF_RTF, bytes);
}

// Opens the clipboard emptied; false when another program keeps it.
bool OpenEmptied() {
    try {
        if (!OpenClipboardWithRetry()) {
            return false;
        }
    } catch (const rtl::Exception &) {
        return false;
    }
    gfx::Clipboard().Clear();
    return true;
}

// Runs put with the clipboard open and closes it also when put fails; the close publishes.
void WhileOpen(const std::function<void()> &put) {
    try {
        put();
    } catch (...) {
        gfx::Clipboard().Close();
        throw;
    }
    gfx::Clipboard().Close();
}

// One format alone: the clipboard publishes it at once, replacing what it held.
void CopyOne(TCustomVDFormattedData &vdData, const std::function<void()> &put) {
    if (!vdData.SelectionExists(true, true)) {
        return;
    }
    gfx::Clipboard().Open();
    WhileOpen(put);
}

} // namespace

void TCustomVDFormattedData::Copy(gfx::TColor color, TVDBackground *background) {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        chosen->Copy(gfx::clNone, nullptr);
        return;
    }
    if (!SelectionExists(true, true) || !OpenEmptied()) {
        return;
    }
    WhileOpen([&] {
        DoCopy();
        PutVDF(*this, color, background);
        PutTextA(*this);
        PutImage(*this);
        PutTextW(*this);
        PutRTF(*this, color, background);
    });
}

bool TCustomVDFormattedData::CopyDef(gfx::TColor color, TVDBackground *background) {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyDef(gfx::clNone, nullptr);
    }
    const TVDOptions options = GetOptions();
    const bool image = GetSelectedImage() != nullptr;
    const bool text =
        !image && (options.Contains(vdoAutoCopyText) || options.Contains(vdoAutoCopyUnicodeText));
    const bool result = text || options.Contains(vdoAutoCopyVDF) ||
                        options.Contains(vdoAutoCopyRTF) ||
                        (image && options.Contains(vdoAutoCopyImage)) || IsAssignedCopy();
    if (!result || !SelectionExists(true, true) || !OpenEmptied()) {
        return result;
    }
    WhileOpen([&] {
        DoCopy();
        if (options.Contains(vdoAutoCopyVDF)) {
            PutVDF(*this, color, background);
        }
        if (!image) {
            // The desktop converts between the text forms, so Unicode text alone suffices.
            if (options.Contains(vdoAutoCopyText) && !options.Contains(vdoAutoCopyUnicodeText)) {
                PutTextA(*this);
            }
            if (options.Contains(vdoAutoCopyUnicodeText)) {
                PutTextW(*this);
            }
        } else if (options.Contains(vdoAutoCopyImage)) {
            PutImage(*this);
        }
        if (options.Contains(vdoAutoCopyRTF)) {
            PutRTF(*this, color, background);
        }
    });
    return result;
}

void TCustomVDFormattedData::CopyTextA() {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyTextA();
    }
    CopyOne(*this, [this] { PutTextA(*this); });
}

void TCustomVDFormattedData::CopyTextW() {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyTextW();
    }
    CopyOne(*this, [this] { PutTextW(*this); });
}

void TCustomVDFormattedData::CopyImage() {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyImage();
    }
    CopyOne(*this, [this] { PutImage(*this); });
}

void TCustomVDFormattedData::CopyVDF(gfx::TColor color, TVDBackground *background) {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyVDF(gfx::clNone, nullptr);
    }
    CopyOne(*this, [&] { PutVDF(*this, color, background); });
}

void TCustomVDFormattedData::CopyRTF(gfx::TColor color, TVDBackground *background) {
    if (TCustomVDFormattedData *chosen = Chosen(*this)) {
        return chosen->CopyRTF(gfx::clNone, nullptr);
    }
    CopyOne(*this, [&] { PutRTF(*this, color, background); });
}

} // namespace vizivodu
