#include "app/panel_form.h"

#include <new>

#include "app/director.h"
#include "platform/image_decoder.h"
#include "platform/services.h"
#include "platform/system.h"

TPanelForm* PanelForm = nullptr;
bool ImagingStarted = false;

namespace {

// The program finds its own window by these two.
constexpr wchar_t kClassName[] = L"TPanelForm";
constexpr wchar_t kTitle[] = L"KOVA Zentara";

TFormResource PanelFormResource() {
  TFormResource resource;
  resource.Left = 0;
  resource.Top = 0;
  resource.BorderStyle = TFormBorderStyle::bsNone;
  resource.Caption = kTitle;
  resource.ClientWidth = 76;
  resource.ClientHeight = 27;
  resource.Color = clBtnFace;
  return resource;
}

}  // namespace

TPanelForm::TPanelForm() : TForm(PanelFormResource()) {
  // Valid for the whole program from here on, the Director's construction included.
  PanelForm = this;
  OnDestroy = TNotifyEvent(this, &TPanelForm::FormDestroy);
  FDirector = nullptr;
  ImagingStarted = platform::GetImageDecoder().Start();
  if (!ImagingStarted) platform::GetSystem().ExitProcess(1);
  try {
    // Allocated apart from being built: only a failed allocation ends the
    // process here; anything the construction throws goes to the caller.
    FDirector.reset(new (std::nothrow) Director(*this));
  } catch (...) {
    // A form whose construction fails is never destroyed as a form.
    platform::GetImageDecoder().Stop();
    ImagingStarted = false;
    PanelForm = nullptr;
    throw;
  }
  if (!FDirector) platform::GetSystem().ExitProcess(1);
}

TPanelForm::~TPanelForm() {
  if (PanelForm == this) PanelForm = nullptr;
}

std::wstring TPanelForm::ClassName() const {
  return kClassName;
}

void TPanelForm::CreateParams(platform::WindowParams& params) {
  TForm::CreateParams(params);
  // A tool panel: above the other windows, and no task-bar button of its own.
  params.onTop = true;
  params.inTaskBar = false;
}

void TPanelForm::FormDestroy(TObject* /*sender*/) {
  // The imaging library goes first; nothing the Director releases needs it.
  if (ImagingStarted) platform::GetImageDecoder().Stop();
  ImagingStarted = false;
  FDirector.reset();
}
