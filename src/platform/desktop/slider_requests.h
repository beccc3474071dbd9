// The scroll requests (the SB_ codes of WM_VSCROLL and WM_HSCROLL) that the actions of a Qt
// slider or scroll bar stand for. Internal to the platform layer.
#pragma once

#include <QAbstractSlider>
#include <cstdint>

#include "platform/dialog.h"

namespace velcrum::platform {

inline constexpr uint16_t SB_TOP = 6;
inline constexpr uint16_t SB_BOTTOM = 7;

// The request an action (QAbstractSlider::SliderAction) stands for; false for none.
inline bool SliderRequestOf(int action, uint16_t& request) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      request = SB_LINEUP;
      return true;
    case QAbstractSlider::SliderSingleStepAdd:
      request = SB_LINEDOWN;
      return true;
    case QAbstractSlider::SliderPageStepSub:
      request = SB_PAGEUP;
      return true;
    case QAbstractSlider::SliderPageStepAdd:
      request = SB_PAGEDOWN;
      return true;
    case QAbstractSlider::SliderToMinimum:
      request = SB_TOP;
      return true;
    case QAbstractSlider::SliderToMaximum:
      request = SB_BOTTOM;
      return true;
    default:
      return false;
  }
}

}  // namespace velcrum::platform
