// The graphic classes of the class library's pictures, and the registry of graphic classes by
// name.
#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/JPEGImage.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/WICImage.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <typeinfo>

namespace vizivodu {

namespace {

[[noreturn]] void ThrowCannotAssign(const gfx::TGraphic &source, std::string_view target) {
    const TVDGraphicClass *sourceClass = GraphicClassOf(source);
    const std::string sourceName = sourceClass ? std::string(sourceClass->GetName()) : "TGraphic";
    throw rtl::EConvertError("Cannot assign a " + sourceName + " to a " + std::string(target));
}

// The shared part: creation and class tests of T.
template <class T> class TClassOf : public TVDGraphicClass {
public:
    using TVDGraphicClass::TVDGraphicClass;
    std::unique_ptr<gfx::TGraphic> Create() const override { return std::make_unique<T>(); }
    bool IsInstance(const gfx::TGraphic &g) const override {
        return dynamic_cast<const T *>(&g) != nullptr;
    }
    bool IsExactly(const gfx::TGraphic &g) const override { return typeid(g) == typeid(T); }
    void LoadFromStream(gfx::TGraphic &g, rtl::TStream &stream) const override {
        Load(static_cast<T &>(g), stream);
    }
    void SaveToStream(const gfx::TGraphic &g, rtl::TStream &stream) const override {
        Save(static_cast<const T &>(g), stream);
    }

protected:
    virtual void Load(T &g, rtl::TStream &stream) const = 0;
    virtual void Save(const T &g, rtl::TStream &stream) const = 0;
};

// Classes whose pictures have stream methods of their own.
template <class T> class TStreamingClassOf : public TClassOf<T> {
public:
    using TClassOf<T>::TClassOf;

protected:
    void Load(T &g, rtl::TStream &stream) const override { g.LoadFromStream(stream); }
    void Save(const T &g, rtl::TStream &stream) const override { g.SaveToStream(stream); }
};

class TBitmapClass : public TClassOf<gfx::TBitmap> {
public:
    TBitmapClass() : TClassOf("TBitmap", "bmp") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        static_cast<gfx::TBitmap &>(target).Assign(source);
    }

protected:
    void Load(gfx::TBitmap &g, rtl::TStream &stream) const override {
        gfx::LoadBitmapFromStream(g, stream);
    }
    void Save(const gfx::TBitmap &g, rtl::TStream &stream) const override {
        gfx::SaveBitmapToStream(g, stream);
    }
};

class TPngClass : public TStreamingClassOf<gfx::TPngImage> {
public:
    TPngClass() : TStreamingClassOf("TPngImage", "png") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        auto &png = static_cast<gfx::TPngImage &>(target);
        if (const auto *other = dynamic_cast<const gfx::TPngImage *>(&source)) {
            png = *other;
            return;
        }
        // A bitmap keeps its fourth bytes as alpha only when it is a 32-bit one.
        gfx::TBitmap pixels;
        pixels.Assign(source);
        const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(&source);
        const bool alpha = bitmap && bitmap->GetPixelFormat() == gfx::pf32bit;
        png = *gfx::PngFromPixels(pixels, alpha);
    }
};

class TJPEGClass : public TStreamingClassOf<gfx::TJPEGImage> {
public:
    TJPEGClass() : TStreamingClassOf("TJPEGImage", "jpg") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        static_cast<gfx::TJPEGImage &>(target).Assign(source);
    }
};

class TIconClass : public TStreamingClassOf<gfx::TIcon> {
public:
    TIconClass() : TStreamingClassOf("TIcon", "ico") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        const auto *icon = dynamic_cast<const gfx::TIcon *>(&source);
        if (!icon) {
            ThrowCannotAssign(source, GetName());
        }
        static_cast<gfx::TIcon &>(target).Assign(*icon);
    }
};

class TWICImageClass : public TStreamingClassOf<gfx::TWICImage> {
public:
    TWICImageClass() : TStreamingClassOf("TWICImage", "tif") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        const auto *image = dynamic_cast<const gfx::TWICImage *>(&source);
        if (!image) {
            ThrowCannotAssign(source, GetName());
        }
        static_cast<gfx::TWICImage &>(target).Assign(*image);
    }
};

// The class library's metafiles are recorded and saved, never read: data of a metafile is
// refused with that reason rather than taken for a broken picture.
class TMetafileClass : public TClassOf<gfx::TMetafile> {
public:
    TMetafileClass() : TClassOf("TMetafile", "emf") {}
    void Assign(gfx::TGraphic &target, const gfx::TGraphic &source) const override {
        const auto *metafile = dynamic_cast<const gfx::TMetafile *>(&source);
        if (!metafile) {
            ThrowCannotAssign(source, GetName());
        }
        static_cast<gfx::TMetafile &>(target) = *metafile;
    }
    bool IsMetafileClass() const override { return true; }
    bool IsEnhanced(const gfx::TGraphic &g) const override {
        return static_cast<const gfx::TMetafile &>(g).GetEnhanced();
    }
    void SetEnhanced(gfx::TGraphic &g, bool enhanced) const override {
        static_cast<gfx::TMetafile &>(g).SetEnhanced(enhanced);
    }
    void GetMMSize(const gfx::TGraphic &g, int32_t &cx, int32_t &cy) const override {
        const auto &metafile = static_cast<const gfx::TMetafile &>(g);
        cx = metafile.GetMMWidth();
        cy = metafile.GetMMHeight();
    }

protected:
    void Load(gfx::TMetafile &, rtl::TStream &) const override {
        throw rtl::Exception(rtl::UnicodeString(u"Метафайлы (EMF, WMF) здесь не читаются"));
    }
    void Save(const gfx::TMetafile &g, rtl::TStream &stream) const override {
        g.SaveToStream(stream);
    }
};

std::vector<const TVDGraphicClass *> &Registry() {
    static std::vector<const TVDGraphicClass *> registry;
    return registry;
}

} // namespace

const TVDGraphicClass *BitmapGraphicClass() {
    static const TBitmapClass instance;
    return &instance;
}

const TVDGraphicClass *IconGraphicClass() {
    static const TIconClass instance;
    return &instance;
}

const TVDGraphicClass *JPEGGraphicClass() {
    static const TJPEGClass instance;
    return &instance;
}

const TVDGraphicClass *PngGraphicClass() {
    static const TPngClass instance;
    return &instance;
}

const TVDGraphicClass *MetafileGraphicClass() {
    static const TMetafileClass instance;
    return &instance;
}

const TVDGraphicClass *WICImageGraphicClass() {
    static const TWICImageClass instance;
    return &instance;
}

bool RegisterGraphicClass(const TVDGraphicClass *graphicClass) {
    if (!graphicClass) {
        return false;
    }
    const TVDGraphicClass *existing = FindGraphicClass(graphicClass->GetName());
    if (existing) {
        return existing == graphicClass;
    }
    Registry().push_back(graphicClass);
    return true;
}

void UnregisterGraphicClass(const TVDGraphicClass *graphicClass) {
    auto &registry = Registry();
    registry.erase(std::remove(registry.begin(), registry.end(), graphicClass), registry.end());
}

const TVDGraphicClass *FindGraphicClass(std::string_view name) {
    for (const TVDGraphicClass *c : Registry()) {
        if (c->GetName() == name) {
            return c;
        }
    }
    return nullptr;
}

const TVDGraphicClass *GraphicClassOf(const gfx::TGraphic &graphic) {
    for (const TVDGraphicClass *c : Registry()) {
        if (c->IsExactly(graphic)) {
            return c;
        }
    }
    for (const TVDGraphicClass *c :
         {BitmapGraphicClass(), IconGraphicClass(), JPEGGraphicClass(), PngGraphicClass(),
          WICImageGraphicClass(), MetafileGraphicClass()}) {
        if (c->IsExactly(graphic)) {
            return c;
        }
    }
    return nullptr;
}

} // namespace vizivodu
