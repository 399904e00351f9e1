#include "base/application.h"

#include "platform/services.h"
#include "platform/system.h"
#include "platform/windowing.h"

TApplication* Application = nullptr;

TApplication::TApplication() = default;

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
  // Last created first, as the class library does.
  while (!forms_.empty()) {
    forms_.back()->DoDestroy();
    forms_.pop_back();
  }
  mainForm_ = nullptr;
}

void TApplication::SetMainFormOnTaskBar(bool value) {
  mainFormOnTaskBar_ = value;
  if (mainForm_ != nullptr) mainForm_->SetTaskBarButton(value);
}

void TApplication::MakeMainForm(TForm& form) {
  mainForm_ = &form;
  form.SetTaskBarButton(mainFormOnTaskBar_);
  form.OnCloseRequest = TNotifyEvent(this, &TApplication::MainFormCloseRequest);
}

void TApplication::MainFormCloseRequest(TObject* /*sender*/) {
  Terminate();
}

void TApplication::Run() {
  if (terminated_ || mainForm_ == nullptr) return;
  mainForm_->Show();
  platform::GetWindowing().RunMessageLoop();
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform::GetWindowing().QuitMessageLoop();
}

std::wstring TApplication::ExeName() const {
  return platform::GetSystem().ExecutableName();
}

std::wstring ExtractFilePath(const std::wstring& fileName) {
  const size_t separator = fileName.find_last_of(L"\\/:");
  return separator == std::wstring::npos ? std::wstring() : fileName.substr(0, separator + 1);
}
