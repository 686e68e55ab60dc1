// Non-visual pieces of the control set: the settings store over an INI file or a registry key,
// and the frame controller that pushes one set of frame settings into registered controls.
#pragma once

#include "controls/BvCommon.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streaming.h"
#include "platform/ui/Component.h"
#include "platform/ui/Control.h"

#include <memory>
#include <vector>

namespace controls {

enum TBvPathType : uint8_t { ptIniFile, ptRegistry };
enum TBvRegKey : uint8_t {
    hkeyClassesRoot,
    hkeyCurrentUser,
    hkeyLocalMachine,
    hkeyUsers,
    hkeyPerformanceData,
    hkeyCurrentConfig,
    hkeyDynData
};
enum TBvRegAccessItem : uint8_t {
    keyQueryValue,
    keySetValue,
    keyCreateSubKey,
    keyEnumerateSubKeys,
    keyNotify,
    keyCreateLink,
    keyRead,
    keyWrite,
    keyExecute,
    keyAllAccess
};
using TBvRegAccess = TBvSet<TBvRegAccessItem>;
enum TBvSpecialFolder : uint8_t {
    sfNone,
    sfUserAppDataRoaming,
    sfUserAppDataLocal,
    sfUserDocuments,
    sfProgramData
};
enum TBvIniFileEncoding : uint8_t { feDefault, feUTF8, feUnicode };

class ENoRegIniFile : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TBvFrameController;

// One settings interface over an INI file or a registry key. Every operation first prepares
// the backing object when a path setting changed: an INI path resolves against the special
// folder, then the program's folder (an empty path is the program's name with ".ini"); a
// registry path defaults to "\Software\Temp\" + the application title (or program name).
// GetPath then reads back the resolved path. Writes, EraseSection and DeleteKey on an INI file
// are followed by UpdateIniFile when AutoUpdateIniFile is set; otherwise the file is written
// when the store is destroyed. Errors of the INI file or registry propagate.
class TBvRegIniFile : public ui::TComponent {
public:
    explicit TBvRegIniFile(ui::TComponent *owner);
    ~TBvRegIniFile() override;

    const rtl::UnicodeString &GetPath() const { return FPath; }
    void SetPath(const rtl::UnicodeString &v);
    TBvPathType GetPathType() const { return FPathType; }
    void SetPathType(TBvPathType v);
    TBvRegKey GetRegKey() const { return FRegKey; }
    void SetRegKey(TBvRegKey v);
    TBvRegAccess GetRegAccess() const { return FRegAccess; }
    void SetRegAccess(TBvRegAccess v);
    TBvSpecialFolder GetSpecialFolder() const { return FSpecialFolder; }
    void SetSpecialFolder(TBvSpecialFolder v);
    TBvIniFileEncoding GetFileEncoding() const { return FFileEncoding; }
    void SetFileEncoding(TBvIniFileEncoding v);
    bool GetAutoUpdateIniFile() const { return FAutoUpdateIniFile; }
    void SetAutoUpdateIniFile(bool v) { FAutoUpdateIniFile = v; }

    bool SectionExists(const rtl::UnicodeString &section);
    bool ValueExists(const rtl::UnicodeString &section, const rtl::UnicodeString &name);
    bool ReadBool(const rtl::UnicodeString &section, const rtl::UnicodeString &name, bool def);
    void WriteBool(const rtl::UnicodeString &section, const rtl::UnicodeString &name, bool v);
    int32_t ReadInteger(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                        int32_t def);
    void WriteInteger(const rtl::UnicodeString &section, const rtl::UnicodeString &name, int32_t v);
    double ReadFloat(const rtl::UnicodeString &section, const rtl::UnicodeString &name, double def);
    void WriteFloat(const rtl::UnicodeString &section, const rtl::UnicodeString &name, double v);
    rtl::UnicodeString ReadString(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                                  const rtl::UnicodeString &def);
    void WriteString(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                     const rtl::UnicodeString &v);
    rtl::TDateTime ReadDate(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                            rtl::TDateTime def);
    void WriteDate(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                   rtl::TDateTime v);
    rtl::TDateTime ReadTime(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                            rtl::TDateTime def);
    void WriteTime(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                   rtl::TDateTime v);
    rtl::TDateTime ReadDateTime(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                                rtl::TDateTime def);
    void WriteDateTime(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                       rtl::TDateTime v);
    int32_t ReadBinaryStream(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                             rtl::TStream &stream);
    void WriteBinaryStream(const rtl::UnicodeString &section, const rtl::UnicodeString &name,
                           rtl::TStream &stream);
    void ReadSection(const rtl::UnicodeString &section, rtl::TStrings &strings);
    void ReadSections(rtl::TStrings &strings);
    // On the registry: "name=value" lines of the key's values in name order: the default value
    // as "Default", integers in decimal, binary data as hexadecimal bytes each followed by a
    // blank, other types "Unknown Data Type".
    void ReadSectionValues(const rtl::UnicodeString &section, rtl::TStrings &strings);
    void EraseSection(const rtl::UnicodeString &section);
    void DeleteKey(const rtl::UnicodeString &section, const rtl::UnicodeString &name);
    void UpdateIniFile();

    // The program's file name and the application title used for default paths.
    static void SetProgramForTesting(const rtl::UnicodeString &exeName,
                                     const rtl::UnicodeString &title);

private:
    friend class TBvFrameController;
    rtl::TCustomIniFile &Storage();
    void Changed() { FRefreshStorage = true; }
    void AfterWrite();
    void PrepareIniPath(rtl::UnicodeString &path) const;

    rtl::UnicodeString FPath;
    TBvPathType FPathType = ptIniFile;
    TBvRegKey FRegKey = hkeyCurrentUser;
    TBvRegAccess FRegAccess{keyAllAccess};
    TBvSpecialFolder FSpecialFolder = sfNone;
    TBvIniFileEncoding FFileEncoding = feDefault;
    bool FRefreshStorage = true;
    bool FAutoUpdateIniFile = true;
    std::unique_ptr<rtl::TMemIniFile> FIni;
    std::unique_ptr<rtl::TRegistryIniFile> FReg;
    std::vector<TBvFrameController *> FUsers; // controllers to tell when the store goes
};

enum TFramingPreference : uint8_t { fpCustomFraming, fpXPThemes };
enum TBvFrameControllerProperty : uint8_t {
    fcpColor,
    fcpFocusColor,
    fcpDisabledColor,
    fcpReadOnlyColor,
    fcpReadOnlyColorOnFocus,
    fcpParentColor,
    fcpFlatButtonColor,
    fcpFlatButtons,
    fcpFrameColor,
    fcpFrameHotColor,
    fcpFrameHotTrack,
    fcpFrameHotStyle,
    fcpFrameSides,
    fcpFrameStyle,
    fcpFrameVisible,
    fcpFramingPreference,
    fcpAll
};
using TBvFrameControllerNotifications = TBvSet<TBvFrameControllerProperty>;
constexpr TBvFrameControllerNotifications AllFrameNotifications =
    TBvFrameControllerNotifications::FromBits(0xFFFF);

// Controls that read the controller's settings themselves. FrameControllerFreed is the free
// notification: the controller is being destroyed and must be forgotten.
class IBvCustomFramingNotification {
public:
    virtual ~IBvCustomFramingNotification() = default;
    virtual void ApplyFramingSettings() = 0;
    virtual void FrameControllerFreed(TBvFrameController &) {}
};

// Controls without that interface take single settings by name: C++ has no published
// properties, so such a control offers the ones it has through this interface.
class IBvFramingProperties {
public:
    virtual ~IBvFramingProperties() = default;
    virtual TBvFrameControllerNotifications AcceptedFramingSettings() const {
        return AllFrameNotifications;
    }
    // Applies one setting of the controller; false when the control has no such property.
    virtual bool SetFramingProperty(TBvFrameControllerProperty property,
                                    const TBvFrameController &controller) = 0;
};

// Frame and colour settings shared by registered controls; each setter pushes its setting.
class TBvFrameController : public ui::TComponent {
public:
    explicit TBvFrameController(ui::TComponent *owner);
    ~TBvFrameController() override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor v);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    TColor GetFlatButtonColor() const { return FFlatButtonColor; }
    void SetFlatButtonColor(TColor v);
    bool GetFlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool v);
    TColor GetDisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor v);
    TColor GetReadOnlyColor() const { return FReadOnlyColor; }
    void SetReadOnlyColor(TColor v);
    bool GetReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool v);
    TColor GetFocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v);
    TColor GetFrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor v);
    TColor GetFrameHotColor() const { return FFrameHotColor; }
    void SetFrameHotColor(TColor v);
    bool GetFrameHotTrack() const { return FFrameHotTrack; }
    void SetFrameHotTrack(bool v);
    TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
    void SetFrameHotStyle(TFrameStyle v);
    TSides GetFrameSides() const { return FFrameSides; }
    void SetFrameSides(TSides v);
    TFrameStyle GetFrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    bool GetFrameVisible() const { return FFrameVisible; }
    void SetFrameVisible(bool v);
    TFramingPreference GetFramingPreference() const { return FFramingPreference; }
    void SetFramingPreference(TFramingPreference v);
    TBvRegIniFile *GetRegIniFile() const { return FRegIniFile; }
    void SetRegIniFile(TBvRegIniFile *v);

    // Registers once and applies every setting; RemoveControl unregisters.
    void AddControl(ui::TControl *control);
    void RemoveControl(ui::TControl *control);
    int32_t GetControlCount() const { return int32_t(FFrameList.size()); }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void UpdateControls() { UpdateControlsFor(fcpAll); }
    // From another controller: its sixteen settings, applied once; from anything else the
    // class library's assignment (EConvertError).
    void Assign(const rtl::TPersistent &source) override;
    // ENoRegIniFile without a store; reads inside an update bracket.
    void Load(const rtl::UnicodeString &section);
    void Save(const rtl::UnicodeString &section);

protected:
    // Obsolete stored names, read only: "FrameFlat" (a Boolean: FrameHotTrack; True also gives
    // FrameStyle fsStatus and FrameHotStyle fsLowered), "FrameFocusStyle" (a frame style's
    // name: FrameHotStyle), "FrameFlatStyle" (read and dropped).
    void DefineProperties(rtl::TFiler &filer) override;
    virtual void UpdateControl(ui::TControl *control, TBvFrameControllerProperty setting);
    virtual void UpdateControlsFor(TBvFrameControllerProperty setting);

private:
    friend class TBvRegIniFile;
    void LoadValues(const rtl::UnicodeString &section);

    TColor FColor = gfx::clWindow;
    bool FParentColor = false;
    std::vector<ui::TControl *> FFrameList;
    TColor FFlatButtonColor = gfx::clBtnFace;
    bool FFlatButtons = true;
    TColor FDisabledColor = gfx::clBtnFace;
    TColor FReadOnlyColor = gfx::clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    TColor FFocusColor = gfx::clWindow;
    TColor FFrameColor = gfx::clBtnShadow;
    TColor FFrameHotColor = gfx::clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = AllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
    int32_t FUpdateCount = 0;
    TBvRegIniFile *FRegIniFile = nullptr;
};

// Readers for stored properties that no longer exist: each reads one value of its kind and
// drops it (EReadError "Invalid property value" for a value of another kind), so stored forms
// holding them still load. Declare them with no writer, or with WriteOldProp, which writes
// nothing.
class TBvOldPropReader {
public:
    static void ReadOldBooleanProp(rtl::TReader &reader) { (void)reader.ReadBoolean(); }
    static void ReadOldEnumProp(rtl::TReader &reader) { (void)reader.ReadIdent(); }
    static void ReadOldIdentProp(rtl::TReader &reader) { (void)reader.ReadIdent(); }
    static void ReadOldIntegerProp(rtl::TReader &reader) { (void)reader.ReadInteger(); }
    // A set value: its tag, then member names up to an empty one.
    static void ReadOldSetProp(rtl::TReader &reader);
    static void ReadOldStringProp(rtl::TReader &reader) { (void)reader.ReadString(); }
    static void WriteOldProp(rtl::TWriter &writer) { (void)writer; }
};

// The frame style of a stored name ("fsNone" .. "fsFlatRounded"); EReadError "Invalid
// property value" for another name.
TFrameStyleEx FrameStyleFromName(const rtl::UnicodeString &name);

} // namespace controls
