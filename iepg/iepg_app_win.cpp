// BrontelIEPG.exe: started by the web browser with the path of an iEPG file.
#include "win32/windows_include.h"

#include <string>

#include "app/vocabulary/program_arguments.h"
#include "iepg/iepg_reserve_dlg_win.h"

namespace brontel {

class CIepgApp {
 public:
  explicit CIepgApp(HINSTANCE instance) : m_instance(instance) {}

  // The whole rest of the command line is the path, quotes and all. An
  // empty one ends the program without showing anything.
  int Run(const std::wstring& commandLine) {
    const std::wstring path = ArgumentsAfterProgramName(commandLine);
    if (path.empty()) return 0;
    CIepgReserveDlg dialog(m_instance, path);
    dialog.DoModal();
    return 0;
  }

 private:
  HINSTANCE m_instance;
};

}  // namespace brontel

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t* commandLine = GetCommandLineW();
  brontel::CIepgApp app(instance);
  return app.Run(commandLine ? commandLine : L"");
}
