#include "app/panel_form.h"

#include <new>

#include "app/director.h"
#include "platform/image_decoder.h"
#include "platform/services.h"
#include "platform/system.h"

TPanelForm* PanelForm = nullptr;
uintptr_t GdiplusToken = 0;

namespace {

TFormResource PanelFormResource() {
  TFormResource resource;
  resource.Left = 0;
  resource.Top = 0;
  resource.BorderStyle = TFormBorderStyle::bsNone;
  resource.Caption = L"KOVA Zentara";
  resource.ClientWidth = 76;
  resource.ClientHeight = 27;
  resource.Color = clBtnFace;
  return resource;
}

}  // namespace

TPanelForm::TPanelForm() : TForm(PanelFormResource()) {
  // The Director reaches the form through PanelForm while it is being built.
  PanelForm = this;
  OnDestroy = TNotifyEvent(this, &TPanelForm::FormDestroy);
  FDirector = nullptr;
  GdiplusToken = platform::GetImageDecoder().Startup();
  if (GdiplusToken == 0) platform::GetSystem().ExitProcess(1);
  try {
    // Allocated apart from being built: only a failed allocation ends the
    // process here; anything the construction throws goes to the caller.
    FDirector.reset(new (std::nothrow) Director());
  } catch (...) {
    // A form whose construction fails is never destroyed as a form.
    platform::GetImageDecoder().Shutdown(GdiplusToken);
    GdiplusToken = 0;
    PanelForm = nullptr;
    throw;
  }
  if (!FDirector) platform::GetSystem().ExitProcess(1);
}

TPanelForm::~TPanelForm() {
  if (PanelForm == this) PanelForm = nullptr;
}

void TPanelForm::CreateParams(platform::WindowParams& params) {
  TForm::CreateParams(params);
  params.exStyle |= platform::kExStyleTopmost;
  params.exStyle &= ~platform::kExStyleAppWindow;
}

void TPanelForm::FormDestroy(TObject* /*sender*/) {
  // The imaging library goes first; nothing the Director releases needs it.
  platform::GetImageDecoder().Shutdown(GdiplusToken);
  FDirector.reset();
}
