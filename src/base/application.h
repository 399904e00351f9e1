#pragma once
#include <memory>
#include <string>
#include <vector>

#include "base/form.h"
#include "base/object.h"

// The application object: owns the forms and runs the message loop.
class TApplication : public TObject {
 public:
  TApplication();
  // Destroys the forms that are left, each after its OnDestroy.
  ~TApplication() override;

  void Initialize() {}
  // Whether the main form's window gets its own task-bar button.
  void SetMainFormOnTaskBar(bool value);

  // Creates a form owned by the application; the first one becomes the main
  // form once it is built.
  template <typename FormClass>
  FormClass* CreateForm() {
    auto form = std::make_unique<FormClass>();
    FormClass* created = form.get();
    forms_.push_back(std::move(form));
    if (mainForm_ == nullptr) MakeMainForm(*created);
    return created;
  }

  // Shows the main form and handles messages until Terminate.
  void Run();
  void Terminate();
  std::wstring ExeName() const;

 private:
  void MakeMainForm(TForm& form);
  void MainFormCloseRequest(TObject* sender);

  std::vector<std::unique_ptr<TForm>> forms_;
  TForm* mainForm_ = nullptr;
  bool mainFormOnTaskBar_ = false;
  bool terminated_ = false;
};

// The running program's application object.
extern TApplication* Application;

// The folder part of a file name, with its trailing separator.
std::wstring ExtractFilePath(const std::wstring& fileName);
