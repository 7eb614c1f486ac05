#pragma once
// The Setup page of the Options dialog: the charges of ".Default" and of every dial-up account,
// edited in memory (SetupEdit) while the page is open and all saved on OK. A call in progress keeps
// the profiles it loaded when it began.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "charging/profile_library.h"
#include "charging/setup_edit.h"
#include "platform/environment.h"
#include "ui/win32/option_page.h"

namespace tollwick {

struct SetupPageSubject {
  ProfileLibrary& profiles;
  Environment& environment;
  std::vector<std::string> entryNames;  // the dial-up entries, one account each
  // Opens the discount editor over the record: true when the user pressed OK and the record holds
  // the new values. Given a copy, so a refused name never reaches the profile.
  std::function<bool(HWND owner, Discount&)> editDiscount;
};

// Made with CreateOptionsPage<SetupPage>(frame, IDD_SETUP_PAGE, subject) (option_page.h).
class SetupPage : public OptionPage {
 public:
  using Subject = SetupPageSubject;
  SetupPage(HWND window, Subject& subject)
      : OptionPage(window, subject.environment), subject_(subject) {}

 private:
  void Fill() override;
  bool MayApply() override;
  void Ok() override;
  void Command(int id, int code, HWND control) override;

  // The account whose settings the controls show, and the controls' values.
  void Show(std::size_t index);
  void SelectShownAccount();
  ShownSettings ReadShown() const;
  // Takes the controls into the shown profile, or tells the user why not.
  bool StoreShown();
  void UpdateEnabled();
  void FillDiscounts();
  std::vector<std::size_t> SelectedDiscounts() const;
  void SwitchAccount();
  void AddDiscount();
  void EditDiscount();
  void RemoveDiscounts();

  Subject& subject_;
  std::unique_ptr<SetupEdit> edit_;
  std::size_t shown_ = 0;
  bool minChargeTyped_ = false;  // since the account was shown
};

}  // namespace tollwick
