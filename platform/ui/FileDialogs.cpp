// File dialogs: filter parsing, the handler path and the native dialog.
#include "platform/ui/FileDialogs.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QFileDialog>
#include <QFileInfo>

#include <filesystem>

namespace ui {

namespace {

std::vector<rtl::UnicodeString> Split(const rtl::UnicodeString &s, char16_t sep) {
    std::vector<rtl::UnicodeString> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == sep) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

rtl::UnicodeString Trim(const rtl::UnicodeString &s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ') {
        ++b;
    }
    while (e > b && s[e - 1] <= u' ') {
        --e;
    }
    return s.substr(b, e - b);
}

char16_t Fold(char16_t c) {
    return QChar(c).toLower().unicode();
}

bool Match(const char16_t *name, const char16_t *nameEnd, const char16_t *mask,
           const char16_t *maskEnd) {
    while (mask != maskEnd) {
        if (*mask == u'*') {
            for (const char16_t *n = name;; ++n) {
                if (Match(n, nameEnd, mask + 1, maskEnd)) {
                    return true;
                }
                if (n == nameEnd) {
                    return false;
                }
            }
        }
        if (name == nameEnd || (*mask != u'?' && Fold(*mask) != Fold(*name))) {
            return false;
        }
        ++mask;
        ++name;
    }
    return name == nameEnd;
}

} // namespace

std::vector<TFilterEntry> ParseFilter(const rtl::UnicodeString &filter) {
    std::vector<TFilterEntry> entries;
    const std::vector<rtl::UnicodeString> parts = Split(filter, u'|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFilterEntry e{parts[i], {}};
        for (const rtl::UnicodeString &m : Split(parts[i + 1], u';')) {
            if (!Trim(m).empty()) {
                e.Masks.push_back(Trim(m));
            }
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

bool MatchesMask(const rtl::UnicodeString &fileName, const rtl::UnicodeString &mask) {
    // "*.*" matches every name, also one without a dot, as on Windows.
    if (mask == u"*.*") {
        return true;
    }
    return Match(fileName.data(), fileName.data() + fileName.size(), mask.data(),
                 mask.data() + mask.size());
}

void TFileDialog::SetOption(TOpenOption o, bool on) {
    FOptions = on ? uint16_t(FOptions | (1u << o)) : uint16_t(FOptions & ~(1u << o));
}

rtl::UnicodeString TFileDialog::GetShownTitle() const {
    if (!FTitle.empty()) {
        return FTitle;
    }
    return FSave ? u"Сохранить как" : u"Открыть";
}

bool TFileDialog::Execute() {
    return Execute(nullptr);
}

bool TFileDialog::Execute(TWinControl *parentWnd) {
    // The parent is only borrowed for the dialog's run.
    FParentWnd = parentWnd;
    struct ParentReset {
        TWinControl *&parent;
        ~ParentReset() { parent = nullptr; }
    } reset{FParentWnd};
    bool ok;
    if (const auto &handler = GetDialogHandler().FileDialog) {
        ok = handler(*this);
    } else {
        ok = ExecuteNative();
    }
    if (!ok || FFileName.empty()) {
        return false;
    }
    std::filesystem::path p(rtl::Utf16ToUtf8(FFileName));
    if (!p.has_extension() && !FDefaultExt.empty()) {
        FFileName += u"." + FDefaultExt;
        p = rtl::Utf16ToUtf8(FFileName);
    }
    if (!FSave && GetOption(ofFileMustExist) && !std::filesystem::is_regular_file(p)) {
        return false;
    }
    return true;
}

bool TFileDialog::ExecuteNative() {
    gfx::qt::EnsureApplication();
    QWidget *owner = FParentWnd ? qt::WidgetOf(*FParentWnd) : nullptr;
    QWidget *parent = owner ? owner->window() : nullptr;
    QFileDialog dlg(parent, gfx::qt::ToQString(GetShownTitle()), gfx::qt::ToQString(FInitialDir));
    if (parent) {
        dlg.setWindowModality(Qt::WindowModal);
    }
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(FSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(
        FSave ? QFileDialog::AnyFile
              : (GetOption(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !GetOption(ofOverwritePrompt));
    dlg.setDefaultSuffix(gfx::qt::ToQString(FDefaultExt));
    QStringList filters;
    for (const TFilterEntry &e : ParseFilter(FFilter)) {
        QStringList masks;
        for (const auto &m : e.Masks) {
            masks << gfx::qt::ToQString(m);
        }
        filters << gfx::qt::ToQString(e.Description) + u" ("_qs + masks.join(u' ') + u')';
    }
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::max(0, FFilterIndex - 1)));
    }
    if (!FFileName.empty()) {
        dlg.selectFile(gfx::qt::ToQString(FFileName));
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return false;
    }
    FFileName = gfx::qt::FromQString(QFileInfo(dlg.selectedFiles().first()).absoluteFilePath());
    FFilterIndex = int32_t(filters.indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

} // namespace ui
