#include "app/program.h"

#include "app/panel_form.h"
#include "base/application.h"
#include "platform/services.h"
#include "platform/system.h"

namespace {

constexpr wchar_t kMutexName[] = L"KOVA_Zentara_0228943447_5199";
constexpr uint32_t kStartDelayMilliseconds = 500;

}  // namespace

int RunProgram() {
  platform::System& system = platform::GetSystem();
  if (!system.ClaimSingleInstance(kMutexName)) return 0;
  system.Sleep(kStartDelayMilliseconds);

  // The application object outlives the loop: its forms are destroyed last,
  // as part of the program's clean-up.
  TApplication application;
  Application = &application;
  try {
    application.Initialize();
    application.SetMainFormOnTaskBar(true);
    application.CreateForm<TPanelForm>();
    application.Run();
  } catch (...) {
    system.DebugOutput(L"can not execute correctly");
  }
  return 0;
}
