#include "app/program.h"

#include <optional>

#include "app/artwork_prefetch.h"
#include "app/director.h"
#include "app/display_scale.h"
#include "app/panel_artwork.h"
#include "app/panel_form.h"
#include "base/application.h"
#include "base/screen.h"
#include "gs/image_loader.h"
#include "platform/services.h"
#include "platform/system.h"

namespace {

constexpr wchar_t kMutexName[] = L"KOVA_Zentara_0228943447_5199";
constexpr uint32_t kStartDelayMilliseconds = 500;

// Decodes the pictures the panel is built from at the primary monitor's
// scale, and checks the one it only checks then.
void PrefetchBuildPictures(std::optional<ArtworkPrefetch>& prefetch) {
  const std::wstring set =
      display_scale::ScaleFolder(Director::ScaleFor(TScreen().PixelsPerInch()));
  std::vector<std::wstring> paths = panel_artwork::BuildPictures(set);
  for (std::wstring& path : paths) path.insert(0, gs::ImagesPath());
  prefetch.emplace(std::move(paths), std::vector<std::wstring>{gs::ImagesPath() + set +
                                                               panel_artwork::kExpandedBackground});
}

}  // namespace

int RunProgram() {
  platform::System& system = platform::GetSystem();
  if (!system.ClaimSingleInstance(kMutexName)) return 0;
  // The pause is the panel's to wait out; its pictures are decoded meanwhile.
  std::optional<ArtworkPrefetch> prefetch;
  if (platform::GetImageDecoder().DecodesBeforeStart()) PrefetchBuildPictures(prefetch);
  system.Sleep(kStartDelayMilliseconds);

  // The application object outlives the loop: its forms are destroyed last,
  // as part of the program's clean-up.
  TApplication application;
  Application = &application;
  try {
    application.Initialize();
    application.SetMainFormOnTaskBar(true);
    application.CreateForm<TPanelForm>();
    // What the panel did not take is let go of before it runs.
    prefetch.reset();
    application.Run();
  } catch (...) {
    system.DebugOutput(L"can not execute correctly");
  }
  return 0;
}
