#include "settings/sheet_commit.h"

namespace brontel {

void CommitWorkingCopy(const CAppSettings& working, bool scheduleOnSheet, CAppSettings* live) {
  live->tvSet = working.tvSet;
  live->vidClrSet = working.vidClrSet;
  live->vidClrDefSet = working.vidClrDefSet;
  live->snapSet = working.snapSet;
  live->captSet = working.captSet;
  live->rdSet = working.rdSet;
  if (scheduleOnSheet) live->scheSet = working.scheSet;
}

}  // namespace brontel
