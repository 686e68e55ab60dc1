// TOpenDialog and TSaveDialog: choosing a file, with the class library's filter strings.
#pragma once

#include "platform/rtl/System.h"
#include "platform/ui/Component.h"

#include <vector>

namespace ui {

class TWinControl;

enum TOpenOption : uint8_t {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofAllowMultiSelect,
    ofPathMustExist,
    ofFileMustExist,
    ofEnableSizing
};

// One entry of a filter: "Текстовые файлы|*.txt;*.log|Все файлы|*.*" has two.
struct TFilterEntry {
    rtl::UnicodeString Description;
    std::vector<rtl::UnicodeString> Masks;
};

// Splits a filter at '|' into description/mask pairs; masks are separated by ';' and
// trimmed. A final description without masks is dropped.
std::vector<TFilterEntry> ParseFilter(const rtl::UnicodeString &filter);
// Whether a file name (without folder) matches a mask with '*' and '?', ignoring case.
bool MatchesMask(const rtl::UnicodeString &fileName, const rtl::UnicodeString &mask);

// Execute shows the dialog (through the dialog handler when one is set) and returns whether
// a file was chosen; then FileName is the full path and FilterIndex (from 1) the filter used.
// A chosen name without extension gets DefaultExt. With ofFileMustExist a missing file is
// not accepted (Execute returns false).
class TFileDialog : public TComponent {
public:
    TFileDialog(TComponent *owner, bool save) : TComponent(owner), FSave(save) {}

    // Without a parent the dialog has no owner window; with one it is modal to the parent's
    // window, which GetParentWnd names while the dialog runs (nullptr otherwise).
    bool Execute();
    bool Execute(TWinControl *parentWnd);
    bool IsSaveDialog() const { return FSave; }
    TWinControl *GetParentWnd() const { return FParentWnd; }
    // The caption shown: Title, or the system's "Открыть" / "Сохранить как" when it is empty.
    rtl::UnicodeString GetShownTitle() const;

    const rtl::UnicodeString &GetFileName() const { return FFileName; }
    void SetFileName(const rtl::UnicodeString &v) { FFileName = v; }
    const rtl::UnicodeString &GetFilter() const { return FFilter; }
    void SetFilter(const rtl::UnicodeString &v) { FFilter = v; }
    int32_t GetFilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int32_t v) { FFilterIndex = v; }
    const rtl::UnicodeString &GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const rtl::UnicodeString &v) { FInitialDir = v; }
    const rtl::UnicodeString &GetDefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const rtl::UnicodeString &v) { FDefaultExt = v; }
    const rtl::UnicodeString &GetTitle() const { return FTitle; }
    void SetTitle(const rtl::UnicodeString &v) { FTitle = v; }
    bool GetOption(TOpenOption o) const { return (FOptions >> o) & 1u; }
    void SetOption(TOpenOption o, bool on);

private:
    bool ExecuteNative();
    bool FSave;
    TWinControl *FParentWnd = nullptr;
    rtl::UnicodeString FFileName, FFilter, FInitialDir, FDefaultExt, FTitle;
    int32_t FFilterIndex = 1;
    uint16_t FOptions = (1u << ofHideReadOnly) | (1u << ofEnableSizing);
};

class TOpenDialog : public TFileDialog {
public:
    explicit TOpenDialog(TComponent *owner) : TFileDialog(owner, false) {}
};

class TSaveDialog : public TFileDialog {
public:
    explicit TSaveDialog(TComponent *owner) : TFileDialog(owner, true) {}
};

} // namespace ui
