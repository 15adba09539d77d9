#pragma once
// The one place that knows which page classes exist. A page that is not
// built yet gives no object, and its tab is simply absent from the sheet;
// each page joins by adding its case here and its bit to BuiltPagesMask.

#include <cstdint>
#include <memory>

#include "settings/page_selection.h"
#include "settings/settings_page_win.h"

namespace brontel {

// The page object for `page`, editing `working`; null for a page this
// program does not have yet.
std::unique_ptr<SettingsPage> CreateSettingsPage(SheetPage page, CAppSettings& working,
                                                 SettingsSheetHost& host);

// The mask bits of the pages CreateSettingsPage makes (the about page,
// always there, has no bit).
std::uint32_t BuiltPagesMask();

}  // namespace brontel
