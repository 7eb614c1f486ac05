#pragma once
// The alarm actions as a test sees them: every action recorded in order, and a notice that can run
// code while it is "open", as the real notice's modal loop would.

#include <functional>
#include <string>
#include <vector>

#include "alarms/alarm_table.h"

namespace tollwick {

class RecordingAlarmActions : public AlarmActions {
 public:
  std::vector<std::string> events;  // "sound", "flash", "notice <slot>", "closed <slot>"
  std::vector<int> notices;         // the slots of the notices shown
  std::vector<float> noticeCosts;
  std::function<void(int slot, float cost)> whileNoticeOpen;

  void PlayAlarmSound() override { events.push_back("sound"); }
  void FlashTrayIcon() override { events.push_back("flash"); }
  void ShowAlarmNotice(int slot, float cost) override {
    events.push_back("notice " + std::to_string(slot));
    notices.push_back(slot);
    noticeCosts.push_back(cost);
    if (whileNoticeOpen) whileNoticeOpen(slot, cost);
    events.push_back("closed " + std::to_string(slot));
  }
  int Notices(int slot) const {
    int n = 0;
    for (const std::string& e : events) n += e == "notice " + std::to_string(slot);
    return n;
  }
};

}  // namespace tollwick
