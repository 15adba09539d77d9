#pragma once
// A media player ActiveX control: plays one file at a time through the
// platform's DirectShow and is driven through IDispatch by dispatch id.

#include "win32/windows_include.h"

#include <unknwn.h>

namespace brontel {

// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
extern const CLSID CLSID_MediaPlayerControl;

// The control's dispatch ids.
constexpr long kDispidPlayerFileName = 1026;         // string, get and put
constexpr long kDispidPlayerCurrentPosition = 1027;  // seconds as a double, get and put
constexpr long kDispidPlayerDuration = 1003;         // seconds as a double, get
constexpr long kDispidPlayerPlay = 2001;
constexpr long kDispidPlayerPause = 2002;
constexpr long kDispidPlayerStop = 2003;

// A new control with a count of 1 (for the class factory).
HRESULT CreateMediaPlayerControl(IUnknown** object);

}  // namespace brontel
