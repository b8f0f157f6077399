#include "app/play/play_modes.h"

namespace kestrel {

TPlayModes::TPlayModes(TTimeSource now) : clock_(std::move(now)) { clock_.SetControl(PresetControl(timeIndex_)); }

bool TPlayModes::SetLevel(int index) {
  if (index < 0 || index >= static_cast<int>(Levels.size())) return false;
  levelIndex_ = index;
  return true;
}

bool TPlayModes::SetTimePreset(int index) {
  if (index < 0 || index >= static_cast<int>(TimePresets.size())) return false;
  timeIndex_ = index;
  ApplyTimeControl();
  return true;
}

void TPlayModes::SetCustomTime(const TSetTimeValues& values) {
  setTime_ = values;
  timeIndex_ = SetTimeIndex;
  ApplyTimeControl();
}

void TPlayModes::ApplyTimeControl() {
  clock_.SetControl(timeIndex_ == SetTimeIndex ? ControlFromDialog(setTime_) : PresetControl(timeIndex_));
}

void TPlayModes::ToggleReplay() {
  replayRunning_ = !replayRunning_;
  replayTicks_ = 0;
}

bool TPlayModes::ReplayStepDue() { return replayRunning_ && ++replayTicks_ % 50 == 0; }

}  // namespace kestrel
