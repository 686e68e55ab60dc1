// The application: default error display, message boxes through the handler, posted messages.
#include "UiTestSupport.h"

#include "platform/gfx/ImgList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ui;

namespace {

struct FormWithButton : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TButton *button = new TButton(form.get());
    void SetUp() override {
        Application->SetTitle(u"Workbench");
        button->SetParent(form.get());
        button->SetBounds(10, 10, 75, 25);
        form->Show();
    }
};

} // namespace

TEST_F(FormWithButton, ExceptionLeavingOnClickIsShownAndTheProgramGoesOn) {
    uitest::RecordingHandler h;
    int clicks = 0;
    button->OnClick = [&](TComponent *) {
        ++clicks;
        throw rtl::EConvertError(rtl::U("'abc' is not a valid integer value"));
    };
    button->ClickAtForTesting(5, 5);
    button->ClickAtForTesting(5, 5);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(h.messages.size(), 2u);
    EXPECT_EQ(h.messages[0].text, u"'abc' is not a valid integer value.");
    EXPECT_EQ(h.messages[0].caption, u"Workbench");
    EXPECT_EQ(h.messages[0].flags, uint32_t(MB_OK | MB_ICONSTOP));
}

TEST(ErrorDisplay, AddsAFinalPeriodOnlyAfterCharactersAboveIt) {
    uitest::RecordingHandler h;
    Application->SetTitle(u"T");
    for (const char *m : {"Файл не найден", "Done.", "Ends with !", ""}) {
        Application->HandleException(rtl::Exception(std::string_view(m)));
    }
    Application->HandleException(rtl::EAbort(std::string_view("silent")));
    ASSERT_EQ(h.messages.size(), 4u);
    EXPECT_EQ(h.messages[0].text, rtl::U("Файл не найден."));
    EXPECT_EQ(h.messages[1].text, u"Done.");
    EXPECT_EQ(h.messages[2].text, u"Ends with !");
    EXPECT_EQ(h.messages[3].text, u"");
}

// A program that sets no title has its message boxes titled like its main window, not like its
// executable file.
TEST(MessageBoxes, WithoutATitleCarryTheMainWindowsCaption) {
    Application->SetTitle(u"");
    TForm mainForm(nullptr);
    mainForm.SetCaption(rtl::U("Сравнительный анализ качества"));
    Application->SetMainFormForTesting(&mainForm);
    std::vector<rtl::UnicodeString> captions;
    TDialogHandlerScope scope{
        {[&](const rtl::UnicodeString &, const rtl::UnicodeString &caption, uint32_t) {
             captions.push_back(caption);
             return IDOK;
         },
         nullptr, nullptr}};
    ShowMessage(u"hello");
    Application->HandleException(rtl::Exception(std::string_view("failed")));
    Application->SetTitle(u"Set");
    ShowMessage(u"hello");
    Application->SetMainFormForTesting(nullptr);
    Application->SetTitle(u"");
    EXPECT_EQ(captions,
              (std::vector<rtl::UnicodeString>{rtl::U("Сравнительный анализ качества"),
                                               rtl::U("Сравнительный анализ качества"), u"Set"}));
}

TEST(MessageBoxes, UseTheTitleAsCaptionAndReturnTheAnswer) {
    Application->SetTitle(rtl::U("Сравнительный анализ"));
    std::vector<uint32_t> flags;
    TDialogHandlerScope scope{
        {[&](const rtl::UnicodeString &, const rtl::UnicodeString &caption, uint32_t f) {
             EXPECT_EQ(caption, rtl::U("Сравнительный анализ"));
             flags.push_back(f);
             return f & MB_YESNO ? IDNO : IDOK;
         },
         nullptr, nullptr}};
    ShowMessage(u"hello");
    EXPECT_EQ(MessageDlg(u"sure?", mtConfirmation, {mbYes, mbNo}), mrNo);
    EXPECT_EQ(flags, (std::vector<uint32_t>{MB_OK, MB_YESNO | MB_ICONQUESTION}));
}

namespace {

struct Recorder : TCustomControl {
    using TCustomControl::TCustomControl;
    std::vector<TMessage> got;
    void WndProc(TMessage &m) override {
        if (m.Msg >= WM_USER) {
            got.push_back(m);
        }
        TCustomControl::WndProc(m);
    }
};

} // namespace

TEST(PostedMessages, ArriveInOrderAndNeverReachADestroyedControl) {
    auto a = std::make_unique<Recorder>(nullptr);
    auto b = std::make_unique<Recorder>(nullptr);
    PostMessage(a.get(), WM_USER + 1, 7, 8);
    PostMessage(b.get(), WM_USER + 2);
    PostMessage(a.get(), WM_USER + 3);
    EXPECT_TRUE(a->got.empty()); // nothing is delivered while posting
    b.reset();
    EXPECT_EQ(ProcessPostedMessagesForTesting(), 2);
    ASSERT_EQ(a->got.size(), 2u);
    EXPECT_EQ(a->got[0].Msg, uint32_t(WM_USER + 1));
    EXPECT_EQ(a->got[0].WParam, 7u);
    EXPECT_EQ(a->got[0].LParam, 8);
    EXPECT_EQ(a->got[1].Msg, uint32_t(WM_USER + 3));
}

TEST(Timer, TicksCallOnTimerAndErrorsGoToTheDisplay) {
    uitest::RecordingHandler h;
    TTimer timer(nullptr);
    EXPECT_EQ(timer.GetInterval(), 1000u);
    int ticks = 0;
    timer.OnTimer = [&](TComponent *) {
        if (++ticks == 2) {
            throw rtl::Exception(std::string_view("tick failed"));
        }
    };
    timer.FireForTesting();
    timer.FireForTesting();
    EXPECT_EQ(ticks, 2);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, u"tick failed.");
}

namespace {

// A data module: stores the components it owns that are not stored inside another one.
class TModuleForTesting : public rtl::TComponent {
public:
    using TComponent::TComponent;
    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info = rtl::TClassBuilder<TModuleForTesting>(
                                                "TModuleForTesting", &TComponent::StaticClassInfo())
                                                .Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void GetChildren(const std::function<void(rtl::TComponent *)> &proc,
                     rtl::TComponent *) override {
        for (int32_t i = 0; i < GetComponentCount(); ++i) {
            if (!GetComponent(i)->HasParent()) {
                proc(GetComponent(i));
            }
        }
    }
};

} // namespace

// A form's stream names the platform's components by class; once the application has started
// they are created from it.
TEST(StreamClasses, ImageAndActionListsAreReadByClassNameAfterInitialize) {
    Application->Initialize();
    TModuleForTesting root(nullptr);
    root.SetName(u"Root");
    auto *images = new gfx::TImageList(&root, 4, 4);
    images->SetName(u"Images");
    auto *actions = new TActionList(&root);
    actions->SetName(u"Actions");
    auto *action = new TAction(&root);
    action->SetName(u"OpenAction");
    action->SetCaption(u"Открыть");
    action->SetActionList(actions);

    rtl::TMemoryStream stream;
    rtl::TWriter(stream).WriteRootComponent(root);
    stream.SetPosition(0);
    TModuleForTesting loaded(nullptr);
    rtl::TReader(stream).ReadRootComponent(loaded);

    auto *loadedImages = dynamic_cast<gfx::TImageList *>(loaded.FindComponent(u"Images"));
    ASSERT_NE(loadedImages, nullptr);
    EXPECT_EQ(loadedImages->GetWidth(), 4);
    auto *loadedActions = dynamic_cast<TActionList *>(loaded.FindComponent(u"Actions"));
    auto *loadedAction = dynamic_cast<TAction *>(loaded.FindComponent(u"OpenAction"));
    ASSERT_NE(loadedActions, nullptr);
    ASSERT_NE(loadedAction, nullptr);
    EXPECT_EQ(loadedAction->GetCaption(), u"Открыть");
    EXPECT_EQ(loadedAction->GetActionList(), loadedActions);
}

namespace {

class TThemeListener : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int themeChanges = 0;
    void WndProc(TMessage &m) override {
        themeChanges += m.Msg == WM_THEMECHANGED ? 1 : 0;
        TCustomControl::WndProc(m);
    }
};

} // namespace

// A change of the desktop's colours reaches every control.
TEST(ThemeChange, ReachesTheControlsWhenTheDesktopColoursChange) {
    Application->Initialize();
    TForm form(nullptr);
    auto *listener = new TThemeListener(&form);
    listener->SetParent(&form);
    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Window, QColor(1, 2, 3));
    QApplication::setPalette(changed);
    EXPECT_GE(listener->themeChanges, 1);
    const int before = listener->themeChanges;
    BroadcastThemeChange();
    EXPECT_EQ(listener->themeChanges, before + 1);
    QApplication::setPalette(saved);
}
