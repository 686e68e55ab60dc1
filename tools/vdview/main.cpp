// A try-out program (not part of the workbench): one viewer control showing a native-format
// file (or an RTF file, by its ".rtf" ending), with its animated pictures playing, for trying
// selection and copying by hand.
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/System.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vdview FILE.vdf|FILE.rtf\n");
        return 2;
    }
    ui::Application->Initialize();
    vizivodu::InitializeLibrary();
    ui::TForm *form = nullptr;
    ui::Application->CreateForm(form);
    form->SetCaption(u"vdview");
    form->SetBounds(100, 100, 640, 480);
    auto *style = new vizivodu::TVDStyle(form); // owned by the window
    auto *viewer = new vizivodu::TViziVodu(form);
    viewer->SetParent(form);
    viewer->SetAlign(ui::alClient);
    viewer->SetStyle(style);
    const std::string path = argv[1];
    const bool rtf = path.size() > 4 && path.compare(path.size() - 4, 4, ".rtf") == 0;
    const rtl::UnicodeString name = rtl::Utf8ToUtf16(path);
    if (!(rtf ? viewer->LoadRTF(name) : viewer->LoadVDF(name))) {
        std::fprintf(stderr, "vdview: cannot read %s\n", argv[1]);
        return 1;
    }
    viewer->Format();
    viewer->StartAnimation();
    ui::Application->Run();
    return 0;
}
