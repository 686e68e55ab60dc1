// The graphic handler: tells picture formats from graphic objects and from their first bytes,
// keeps the graphic class made for each format, creates, clones, loads and converts graphics,
// and answers the questions that hide the differences between bitmaps, icons and metafiles.
// Also the registry of graphic classes by name that stored pictures find their class in.
#pragma once

#include "platform/gfx/Graphic.h"
#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx {
class TBitmap;
class TCanvas;
class TIcon;
} // namespace gfx

namespace vizivodu {

enum TVDGraphicType : uint8_t {
    vdgtBitmap,
    vdgtIcon,
    vdgtMetafile,
    vdgtJPEG,
    vdgtPNG,
    vdgtGIF,
    vdgtTIFF,
    vdgtOther
};
constexpr int VDGraphicTypeCount = vdgtOther + 1;

// A graphic class as a class reference: its name (what stored pictures record), the file
// extension the class library registers for it, a factory, and the stream form of its
// instances. One object per class, living for the whole program.
class TVDGraphicClass {
public:
    virtual ~TVDGraphicClass() = default;

    std::string_view GetName() const { return FName; }
    std::string_view GetExtension() const { return FExtension; }

    virtual std::unique_ptr<gfx::TGraphic> Create() const = 0;
    // An instance of this class or of a descendant.
    virtual bool IsInstance(const gfx::TGraphic &graphic) const = 0;
    // An instance of exactly this class.
    virtual bool IsExactly(const gfx::TGraphic &graphic) const = 0;
    // Loads from the stream's position to its end; throws for data the class refuses.
    virtual void LoadFromStream(gfx::TGraphic &graphic, rtl::TStream &stream) const = 0;
    virtual void SaveToStream(const gfx::TGraphic &graphic, rtl::TStream &stream) const = 0;
    // target := source (target is an instance of this class); throws rtl::EConvertError
    // "Cannot assign a <source> to a <target>" for sources the class cannot take.
    virtual void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const = 0;

    // Metafile classes answer these; the defaults are those of every other class.
    virtual bool IsMetafileClass() const { return false; }
    virtual bool IsEnhanced(const gfx::TGraphic &) const { return false; }
    virtual void SetEnhanced(gfx::TGraphic &, bool) const {}
    virtual int32_t GetInch(const gfx::TGraphic &) const { return 0; }
    virtual void SetInch(gfx::TGraphic &, int32_t) const {}
    // MMWidth and MMHeight, in hundredths of a millimetre.
    virtual void GetMMSize(const gfx::TGraphic &, int32_t &cx, int32_t &cy) const { cx = cy = 0; }

protected:
    TVDGraphicClass(std::string_view name, std::string_view extension)
        : FName(name), FExtension(extension) {}

private:
    std::string_view FName;
    std::string_view FExtension;
};

// The classes of the class library's pictures.
const TVDGraphicClass *BitmapGraphicClass();   // gfx::TBitmap, "TBitmap"
const TVDGraphicClass *IconGraphicClass();     // gfx::TIcon, "TIcon"
const TVDGraphicClass *JPEGGraphicClass();     // gfx::TJPEGImage, "TJPEGImage"
const TVDGraphicClass *PngGraphicClass();      // gfx::TPngImage, "TPngImage"
const TVDGraphicClass *WICImageGraphicClass(); // gfx::TWICImage, "TWICImage"
// gfx::TMetafile, "TMetafile": recorded and saved only; loading refuses with the reason. Not
// a default class of the handler unless set.
const TVDGraphicClass *MetafileGraphicClass();

// The registry of graphic classes by name: only graphic classes are in it, so a name read
// from a file can never make anything but a picture. Registering a class twice keeps one
// entry; a second class under a name taken replaces nothing and is refused (false).
bool RegisterGraphicClass(const TVDGraphicClass *graphicClass);
void UnregisterGraphicClass(const TVDGraphicClass *graphicClass);
// The class registered under exactly this name; nullptr when none.
const TVDGraphicClass *FindGraphicClass(std::string_view name);
// The registered class of which the graphic is an instance of exactly; nullptr when none.
const TVDGraphicClass *GraphicClassOf(const gfx::TGraphic &graphic);

// A logical palette (palettes do not exist on this platform; the handler only notes them).
struct TVDLogPalette;

// Every graphic the handler returns is new and belongs to the caller; a graphic passed in is
// never freed or kept. The set operations change the graphic they are given.
class TVDGraphicHandler {
public:
    TVDGraphicHandler();
    virtual ~TVDGraphicHandler();
    TVDGraphicHandler(const TVDGraphicHandler &) = delete;
    TVDGraphicHandler &operator=(const TVDGraphicHandler &) = delete;

    // File extension without the dot ("png", "tif"); empty when the class has none.
    virtual rtl::UnicodeString GetGraphicExt(const gfx::TGraphic &graphic);
    // Never vdgtGIF or vdgtTIFF: those come only from the data.
    virtual TVDGraphicType GetGraphicType(const gfx::TGraphic &graphic);
    virtual const TVDGraphicClass *GetGraphicClassByType(TVDGraphicType graphicType);
    virtual bool IsTransparent(const gfx::TGraphic &graphic);
    virtual bool IsVectorGraphic(const gfx::TGraphic &graphic);
    virtual bool IsResizeable(const gfx::TGraphic &graphic);
    virtual bool IsHTMLGraphic(const gfx::TGraphic &graphic);
    // The class for a class name stored in a file ("TPNGObject" in any case is the PNG
    // class); nullptr for a name that no graphic class has.
    virtual const TVDGraphicClass *GetGraphicClass(const rtl::UnicodeString &className);
    // A new graphic or nullptr: the class is chosen by the file's extension, and when that
    // fails by its content. Nothing is raised; GetLastLoadError says why.
    virtual std::unique_ptr<gfx::TGraphic> LoadFromFile(const rtl::UnicodeString &fileName);
    // A new graphic or nullptr for unknown formats, formats without a class and data the
    // class refuses. Nothing is raised (GetLastLoadError says why); the stream is left
    // untouched for unknown formats.
    virtual std::unique_ptr<gfx::TGraphic> LoadFromStream(rtl::TStream &stream);
    // Why the last LoadFromFile or LoadFromStream gave nullptr, in the user's words; for a
    // file "Не удалось открыть рисунок "<path>". <reason>" (a file that cannot be opened keeps
    // the file stream's message). Empty after a load that succeeded.
    const rtl::UnicodeString &GetLastLoadError() const { return FLastLoadError; }
    virtual void PrepareGraphic(gfx::TGraphic &graphic);
    virtual void AfterImportGraphic(gfx::TGraphic &graphic);
    virtual void SetPalette(gfx::TGraphic &graphic, const TVDLogPalette *logPalette);
    virtual void RegisterPngGraphic(const TVDGraphicClass *graphicClass);
    // The icon itself stands for its handle; nullptr for other graphics and empty icons.
    virtual const gfx::TIcon *GetIconHandle(const gfx::TGraphic &graphic);
    // The metafile itself stands for its handle; nullptr for other graphics.
    virtual const gfx::TGraphic *GetMetafileHandle(const gfx::TGraphic &graphic);
    // A metafile that is not enhanced and has Inch 0 gets 1440.
    virtual void AfterLoadMetafile(gfx::TGraphic &graphic);
    virtual void GetMetafileMMSize(const gfx::TGraphic &graphic, int32_t &cx, int32_t &cy);
    virtual bool IsEnhancedMetafile(const gfx::TGraphic &graphic);
    virtual void SetMetafileEnhanced(gfx::TGraphic &graphic, bool enhanced);
    // A metafile takes the content of another (the handle's owner); nothing for others.
    virtual void SetMetafileHandle(gfx::TGraphic &graphic, const gfx::TGraphic &metafile);
    // A bitmap takes the content of another; nothing for other graphics.
    virtual void SetBitmapHandle(gfx::TGraphic &graphic, const gfx::TBitmap &bitmap);
    virtual int32_t GetBitmapScanLineWidth(const gfx::TGraphic &graphic);
    virtual gfx::TCanvas *GetBitmapCanvas(gfx::TGraphic &graphic);
    virtual bool IsJpegClassAssigned();
    virtual void RegisterJpegGraphic(const TVDGraphicClass *graphicClass);
    virtual bool CanConvertIconToPng();
    // A PNG with the icon's alpha (from its colour bitmap, else from its mask); nullptr when
    // the graphic is no icon or anything fails.
    virtual std::unique_ptr<gfx::TGraphic> IconToPng(const gfx::TGraphic &graphic);
    // A PNG whose alpha copies the bitmap's fourth bytes; the bitmap becomes pf32bit and not
    // transparent. nullptr when anything fails.
    virtual std::unique_ptr<gfx::TGraphic> BitmapToPng(gfx::TBitmap &bitmap);

    void RegisterHTMLGraphicFormat(const TVDGraphicClass *graphicClass);
    bool IsPngClassAssigned() const { return FDefaultGraphicClasses[vdgtPNG] != nullptr; }
    void SetDefaultGraphicClass(TVDGraphicType graphicType, const TVDGraphicClass *graphicClass);
    std::unique_ptr<gfx::TGraphic> CreateGraphicByType(TVDGraphicType graphicType);
    static std::unique_ptr<gfx::TGraphic> CreateGraphic(const TVDGraphicClass &graphicClass);
    // A copy of the graphic in its own class; nullptr for nullptr or an unregistered class.
    std::unique_ptr<gfx::TGraphic> Clone(const gfx::TGraphic *graphic);
    std::unique_ptr<gfx::TBitmap> ToBitmap(const gfx::TGraphic &graphic);
    void AssignToBitmap(const gfx::TGraphic &graphic, gfx::TBitmap &bitmap);
    void MakeBitmapTransparent(gfx::TBitmap &bitmap);
    // The bitmap that a metafile draws when it draws exactly one device-independent bitmap
    // and nothing but state records besides; nullptr otherwise.
    std::unique_ptr<gfx::TGraphic> ExtractBitmapFromMetafile(const gfx::TGraphic &graphic);

    // Format of raw picture data (fewer than 44 bytes are always vdgtOther).
    static TVDGraphicType GetDataGraphicType(const void *buffer, int32_t size);
    // The same for the data at the stream's position; the position is the same afterwards.
    static TVDGraphicType GetStreamGraphicType(rtl::TStream &stream);
    // ExtractBitmapFromMetafile on the bytes of an enhanced metafile; every record size and
    // offset is checked against the data.
    std::unique_ptr<gfx::TGraphic> ExtractBitmapFromEnhMetafileData(std::string_view emf);

private:
    std::vector<const TVDGraphicClass *> FHTMLGraphicFormats;
    bool FHTMLGraphicFormatsMade = false;
    std::array<const TVDGraphicClass *, VDGraphicTypeCount> FDefaultGraphicClasses{};
    rtl::UnicodeString FLastLoadError;
};

// The one handler of the process, made by InitializeGraphicHandler (called by the library's
// start-up) and freed by FinalizeGraphicHandler; nullptr outside that time.
extern TVDGraphicHandler *GlobalGraphicHandler;
// Makes the global handler, registers the PNG class as an HTML format and registers the
// class library's picture classes by name.
void InitializeGraphicHandler();
void FinalizeGraphicHandler();

} // namespace vizivodu
