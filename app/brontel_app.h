#pragma once
// The application object of Brontel.exe: chooses the language library, keeps
// the program to one copy and runs the main dialog.

#include "win32/handles.h"
#include "win32/windows_include.h"

#include <string>

namespace brontel {

class CBrontelApp {
 public:
  // COM is initialised for the object's lifetime (apartment model).
  explicit CBrontelApp(HINSTANCE instance);
  ~CBrontelApp();
  CBrontelApp(const CBrontelApp&) = delete;
  CBrontelApp& operator=(const CBrontelApp&) = delete;

  // The whole start sequence with the command line after the program name.
  // Always false: the process ends when the main dialog has closed.
  bool InitInstance(const std::wstring& commandLine);

 private:
  HINSTANCE m_instance;
  HINSTANCE m_savedResourceHandle = nullptr;
  UniqueModule m_languageLibrary;
  bool m_comInitialised = false;
};

}  // namespace brontel
