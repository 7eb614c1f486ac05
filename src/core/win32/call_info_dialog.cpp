#include "core/win32/call_info_dialog.h"

#include "core/call_length_text.h"
#include "platform/packed_time.h"
#include "resources/call_info_ids.h"
#include "resources/resource.h"
#include "text/volume_text.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kRefreshTimerId = 1000;
constexpr UINT kRefreshPeriodMs = 1000;

struct CallInfoSubject {
  const CurrentCall& call;
  Environment& environment;
};

class CallInfoDialog : public SingleDialog {
 public:
  using Subject = CallInfoSubject;
  static constexpr int kTemplate = IDD_CALL_INFO;
  CallInfoDialog(HWND window, Subject& subject)
      : SingleDialog(window, kTemplate, subject.environment), subject_(subject) {}

 private:
  void Fill() override {
    StartTimer(kRefreshTimerId, kRefreshPeriodMs);
    Refresh();
  }

  void Timer(UINT_PTR /*id*/) override { Refresh(); }

  void Refresh() {
    const CurrentCall& call = subject_.call;
    const PackedTime now = LocalTimeOfDay(subject_.environment);
    if (call.IsCallInProgress()) {
      SetText(IDC_CALL_ACCOUNT, call.CallProfile()->name);
      SetText(IDC_CALL_USER, call.CallUserName());
      SetTimeField(IDC_CALL_START, call.CallStartTime());
      SetTimeField(IDC_CALL_END, now);
      SetCurrencyField(IDC_CALL_COST, call.CurrentCost());
      SetText(IDC_CALL_LENGTH,
              FormatCallLength(call.CallHours(), call.CallMinutes(), call.CallSeconds()).c_str());
      const CallVolume& volume = call.Volume();
      SetVolume(IDC_CALL_RECEIVED, volume.known, volume.received);
      SetVolume(IDC_CALL_SENT, volume.known, volume.sent);
    } else {
      SetText(IDC_CALL_ACCOUNT, "");
      SetText(IDC_CALL_USER, "");
      SetTimeField(IDC_CALL_START, now);
      SetTimeField(IDC_CALL_END, now);
      SetCurrencyField(IDC_CALL_COST, 0.0f);
      SetText(IDC_CALL_LENGTH, "");
      SetText(IDC_CALL_RECEIVED, "");
      SetText(IDC_CALL_SENT, "");
    }
  }

  void SetVolume(int id, bool known, std::uint64_t bytes) {
    char text[kVolumeTextChars] = "";
    if (known) VolumeText(bytes, text);
    SetText(id, known ? text : kUnknownVolumeText);
  }

  Subject& subject_;
};

}  // namespace

void ShowCallInfoDialog(HWND owner, const CurrentCall& call, Environment& environment) {
  CallInfoSubject subject{call, environment};
  RunSingleModal<CallInfoDialog>(owner, subject);
}

}  // namespace tollwick
