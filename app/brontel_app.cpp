#include "app/brontel_app.h"

#include <objbase.h>
#include <commctrl.h>

#include <memory>

#include "app/brontel_dlg.h"
#include "app/command_line.h"
#include "win32/resource_module.h"
#include "skin/skin_control.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

// The language libraries are looked for next to the program only, never in
// the current folder or along the search path.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  const size_t slash = folder.find_last_of(L"\\/");
  folder.erase(slash == std::wstring::npos ? 0 : slash + 1);
  return folder;
}

}  // namespace

CBrontelApp::CBrontelApp(HINSTANCE instance) : m_instance(instance) {
  m_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

CBrontelApp::~CBrontelApp() {
  m_languageLibrary.Reset();
  if (m_comInitialised) CoUninitialize();
}

bool CBrontelApp::InitInstance(const std::wstring& commandLine) {
  m_savedResourceHandle = ResourceModule();
  const StartOptions options = ParseCommandLine(Narrow(commandLine));
  const std::wstring library = ProgramFolder() + Widen(LanguageLibraryFileName(options.langCode));
  m_languageLibrary.Reset(LoadLibraryExW(library.c_str(), nullptr, 0));
  // No texts exist without the library, so the program ends without a word.
  if (!m_languageLibrary) return false;
  SetResourceModule(m_languageLibrary.Get());

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  skin::RegisterSkinControlClass(m_instance);

  auto dialog = std::make_unique<CBrontelDlg>();
  dialog->SetStartValues(options);

  if (dialog->instanceChecker().PreviousInstanceRunning()) {
    // The second copy brings the first forward and ends; its command line
    // is not passed on.
    dialog->instanceChecker().ActivatePreviousInstance();
    dialog.reset();
  } else {
    dialog->RunModal();
    dialog.reset();
  }

  SetResourceModule(m_savedResourceHandle);
  m_languageLibrary.Reset();
  return false;
}

}  // namespace brontel

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  brontel::CBrontelApp app(instance);
  app.InitInstance(
      brontel::Widen(brontel::ArgumentsAfterProgramName(brontel::Narrow(GetCommandLineW()))));
  return 0;
}
