// Entry of the monitor: the application object, the nine forms in their
// order, the message loop.
#include "app/Unit1.h"
#include "i18n/gnugettext.h"
#include "classlib/ui/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  InitializeGnuGettext();
  try {
    Application->Initialize();
    Application->SetTitle("Дорнека-ХБВ"_cp);
    CreateMonitorForms();
    Application->Run();
  } catch (Exception& e) {
    Application->ShowException(&e);
  }
  Application->DestroyComponents();
  FinalizeGnuGettext();
  return 0;
}
