#include "Application.h"

#include "Form.h"
#include "Platform.h"

TApplication Application;

void TApplication::Initialize() { WidgetSet().Initialize(); }

void* TApplication::Handle() { return WidgetSet().ApplicationHandle(); }

void TApplication::CreateForm(TForm& form) {
  if (!mainForm_) mainForm_ = &form;
  try {
    form.FormCreate();
  } catch (const std::exception& error) {
    ShowException(error);
  }
  form.AttachPeer(WidgetSet().CreateFormPeer(form));
}

void TApplication::Run() {
  if (mainForm_ && !mainForm_->Closed()) WidgetSet().Run(*mainForm_);
}

void TApplication::ShowException(const std::exception& error) {
  platform::ShowMessageBox(error.what(), Title, platform::kMbIconError | platform::kMbOk);
}
