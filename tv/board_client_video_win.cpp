// The board client's part in the video window: fitting the picture after
// the window changed, and the picture sizes the board allows.

#include "tv/board_client_win.h"

namespace brontel {

bool CBoardClient::RefreshVideo() {
  ComPtr<IKXVideo> video = AdoptComPtr(Query<IKXVideo>(IID_IKXVideo));
  if (!video) return false;
  LONG result = 0;
  if (FAILED(video->GetVideoInfo(Entry(), &result))) {
    m_host.ShowBoardError();
    return false;
  }
  return true;
}

void CBoardClient::VideoSizeLimits(std::int32_t limits[4]) const {
  for (int i = 0; i < 4; ++i) limits[i] = static_cast<std::int32_t>(m_videoSizeLimits[i]);
}

}  // namespace brontel
