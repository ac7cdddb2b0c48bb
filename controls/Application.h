// The application object: the hidden application window, the creation of
// the main form, the message loop, and the message box for errors raised out
// of FormCreate or an event handler.
#pragma once

#include <exception>
#include <string>

class TForm;

class TApplication {
 public:
  // Creates the hidden application window.
  void Initialize();
  // The application window's handle (an HWND on Windows); devices take it.
  void* Handle();
  // Runs the form's FormCreate, then creates its windows. An error raised by
  // FormCreate ends it there: its message is shown and the form keeps the
  // state reached. The first form created is the main form.
  void CreateForm(TForm& form);
  // Shows the main form and runs the message loop until it is closed.
  void Run();
  // Shows an error's message in a message box captioned with Title.
  void ShowException(const std::exception& error);

  std::string Title;

 private:
  TForm* mainForm_ = nullptr;
};

extern TApplication Application;
