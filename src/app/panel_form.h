#pragma once
#include <cstdint>
#include <memory>

#include "base/form.h"

class Director;

// The program's one window. It starts the imaging library, creates the
// Director, which draws the panel and handles its input, and tears both down.
class TPanelForm : public TForm {
 public:
  TPanelForm();
  ~TPanelForm() override;

  std::wstring ClassName() const override;
  void FormDestroy(TObject* sender);

  Director* GetDirector() const { return FDirector.get(); }

 protected:
  void CreateParams(platform::WindowParams& params) override;

 private:
  std::unique_ptr<Director> FDirector;
};

// The running program's panel form; valid from the start of its construction.
extern TPanelForm* PanelForm;
// Whether the panel form started the imaging library and has not stopped it yet.
extern bool ImagingStarted;
