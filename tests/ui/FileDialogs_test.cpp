// File dialogs: the class library's filter strings, masks, Execute through the handler, and
// the native dialog's language.
#include "platform/ui/DialogHandler.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Forms.h"
#include "tests/support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace ui;

TEST(FileDialogs, FilterSplitsIntoDescriptionsAndMasks) {
    const auto f = ParseFilter(rtl::U("Текстовые файлы|*.txt; *.log|Все файлы|*.*"));
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].Description, rtl::U("Текстовые файлы"));
    EXPECT_EQ(f[0].Masks, (std::vector<rtl::UnicodeString>{u"*.txt", u"*.log"}));
    EXPECT_EQ(f[1].Masks, (std::vector<rtl::UnicodeString>{u"*.*"}));
    EXPECT_EQ(ParseFilter(u"Only a description").size(), 0u);
    EXPECT_EQ(ParseFilter(u"").size(), 0u);
}

TEST(FileDialogs, MasksMatchNamesIgnoringCase) {
    struct Case {
        const char16_t *name, *mask;
        bool match;
    };
    for (const Case &k :
         {Case{u"Result.txt", u"Result.txt", true}, Case{u"RESULT.TXT", u"Result.txt", true},
          Case{u"Result.txt.bak", u"Result.txt", false},
          Case{u"MyResult.txt", u"Result.txt", false}, Case{u"a.txt", u"*.txt", true},
          Case{u"a.text", u"*.txt", false}, Case{u"noext", u"*.*", true}, Case{u"ab", u"a?", true},
          Case{u"a", u"a?", false}}) {
        EXPECT_EQ(MatchesMask(k.name, k.mask), k.match) << rtl::Utf16ToUtf8(k.name);
    }
}

TEST(FileDialogs, ExecuteThroughTheHandlerAppliesDefaultExtAndFileMustExist) {
    const wbtest::TTempFolder dir;
    const auto existing = dir / "Result.txt";
    wbtest::WriteFileBytes(existing, "x");
    rtl::UnicodeString answer;
    TDialogHandlerScope scope{{nullptr, nullptr, [&](TFileDialog &d) {
                                   d.SetFileName(answer);
                                   d.SetFilterIndex(2);
                                   return !answer.empty();
                               }}};
    TOpenDialog open(nullptr);
    open.SetFilter(rtl::U("resFilter|Result.txt|Все файлы|*.*"));
    open.SetOption(ofFileMustExist, true);
    answer = rtl::Utf8ToUtf16(existing.string());
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.GetFileName(), answer);
    EXPECT_EQ(open.GetFilterIndex(), 2);
    answer = rtl::Utf8ToUtf16((dir / "missing.txt").string());
    EXPECT_FALSE(open.Execute());
    answer.clear();
    EXPECT_FALSE(open.Execute()); // cancelled

    TSaveDialog save(nullptr);
    save.SetDefaultExt(u"png");
    answer = rtl::Utf8ToUtf16((dir / "report").string());
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.GetFileName(), answer + u".png");
}

TEST(FileDialogs, UntitledDialogsShowTheSystemsTitlesAndKnowTheirParentWhileRunning) {
    struct Seen {
        rtl::UnicodeString title;
        TWinControl *parent;
    };
    std::vector<Seen> seen;
    TDialogHandlerScope scope{{nullptr, nullptr, [&](TFileDialog &d) {
                                   seen.push_back({d.GetShownTitle(), d.GetParentWnd()});
                                   return false;
                               }}};
    TForm owner(nullptr);
    TOpenDialog open(nullptr);
    TSaveDialog save(nullptr);
    open.Execute(&owner);
    save.Execute();
    save.SetTitle(rtl::U("Сохранить отчет"));
    save.Execute(&owner);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].title, rtl::U("Открыть"));
    EXPECT_EQ(seen[0].parent, &owner);
    EXPECT_EQ(seen[1].title, rtl::U("Сохранить как"));
    EXPECT_EQ(seen[1].parent, nullptr);
    EXPECT_EQ(seen[2].title, rtl::U("Сохранить отчет"));
    EXPECT_EQ(seen[2].parent, &owner);
    EXPECT_EQ(open.GetParentWnd(), nullptr); // only borrowed while the dialog runs
}

namespace {

// The texts of the labels and buttons of the modal window open now, then closes it.
QStringList TextsOfTheOpenDialogThenClose() {
    QStringList texts;
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog) {
        return texts;
    }
    for (const QLabel *label : dialog->findChildren<QLabel *>()) {
        texts << label->text();
    }
    for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        texts << button->text();
    }
    dialog->close();
    return texts;
}

} // namespace

TEST(FileDialogs, TheOpenAndSaveDialogsSpeakRussian) {
    for (const bool save : {false, true}) {
        std::unique_ptr<TFileDialog> dialog;
        if (save) {
            dialog = std::make_unique<TSaveDialog>(nullptr);
        } else {
            dialog = std::make_unique<TOpenDialog>(nullptr);
        }
        QStringList texts;
        QTimer::singleShot(0, [&] { texts = TextsOfTheOpenDialogThenClose(); });
        EXPECT_FALSE(dialog->Execute());
        const QString all = texts.join(u'|');
        SCOPED_TRACE(all.toStdString());
        EXPECT_TRUE(all.contains(u"Отмена"_qs));
        EXPECT_TRUE(all.contains(save ? u"Сохранить"_qs : u"Открыть"_qs));
        EXPECT_FALSE(all.contains(u"Look in"_qs));
        EXPECT_FALSE(all.contains(u"File name"_qs));
        EXPECT_FALSE(all.contains(u"Cancel"_qs));
    }
}
