// The program's entry: the application with the main window and the signatories dialog.
#include "app/UContentForm.h"
#include "app/UMainForm.h"
#include "app/UResources.h"
#include "platform/gfx/Picture.h"
#include "platform/ui/Application.h"
#include "vizivodu/VDStartup.h"

namespace workbench {

TVDMainForm *VDMainForm = nullptr;

int RunApplication() {
    ui::Application->Initialize();
    // Before the report's documents exist: without it their pictures are neither saved nor
    // copied.
    vizivodu::InitializeLibrary();
    ui::Application->SetMainFormOnTaskBar(true);
    gfx::TPngImage icon;
    icon.LoadFromMemory(LogoPng, LogoPngSize);
    ui::Application->SetIcon(icon);
    ui::Application->CreateForm(VDMainForm);
    ui::Application->CreateForm(ContentForm);
    ui::Application->Run();
    return 0;
}

} // namespace workbench

int main() {
    return workbench::RunApplication();
}
