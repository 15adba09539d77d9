#pragma once
// The "Transformation" property page of both filters. kxDIgrab's page shows
// and applies the five settings through IDeinterlaceControl; kxDISnap's page
// shows the same dialog and changes nothing.

#include "deinterlace/filter/deinterlace_control.h"
#include "dshow/property_page.h"

namespace brontel {

class DeinterlacePage : public dshow::PropertyPage {
 public:
  static HRESULT CreateGrabPage(IUnknown** object);
  static HRESULT CreateSnapPage(IUnknown** object);

 protected:
  HRESULT OnConnect(IUnknown* object) override;
  HRESULT OnDisconnect() override;
  HRESULT OnActivate() override;
  HRESULT OnDeactivate() override;
  HRESULT OnApplyChanges() override;
  INT_PTR OnReceiveMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  DeinterlacePage(const IID& controlIid, bool editsSettings);
  ~DeinterlacePage() override;
  void WriteControls();
  void ReadControls();

  const IID& m_controlIid;
  const bool m_editsSettings;
  IDeinterlaceControl* m_control = nullptr;  // AddRef'd between connect and disconnect
  bool m_active = false;
  // The page's copies of the settings.
  LONG m_mode = 0;
  LONG m_filter = 0;
  LONG m_delta1 = 0;
  LONG m_delta2 = 0;
  LONG m_delta3 = 0;
};

}  // namespace brontel
