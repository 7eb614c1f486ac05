#pragma once
// The one way a dialog is written: a class derived from Dialog (a page of the Options dialog derives
// from OptionPage, a modal dialog from ModalDialog) with a type Subject, what it works on, and a
// constructor (HWND, Subject&). DialogProc<D> makes the object at WM_INITDIALOG from the creation
// parameter, keeps it in the window's data (GWLP_USERDATA) and deletes it with the window; every
// message in between is one call on it. While the dialog fills its controls, their notifications
// (an edit's EN_CHANGE, a list view's LVN_ITEMCHANGED) are held back, so filling never counts as
// an edit. A dialog shows and takes money, plain numbers and times of day only through the base's
// field conversions, so every dialog writes and parses such fields alike.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/environment.h"
#include "platform/packed_time.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {

// The module whose resources (templates, icons, pictures) the dialogs use: the running program.
HINSTANCE DialogInstance();

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  HWND window() const { return window_; }
  bool filling() const { return fillDepth_ > 0; }

  // While one lives, the dialog is filling its controls: their notifications are its own doing and
  // do not reach Command or Notify. Fill runs inside one; use another to refill later (after
  // choosing another item to show, say). They nest.
  class FillScope {
   public:
    explicit FillScope(Dialog& dialog) : dialog_(dialog) { ++dialog_.fillDepth_; }
    ~FillScope() { --dialog_.fillDepth_; }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

   private:
    Dialog& dialog_;
  };

 protected:
  explicit Dialog(HWND window) : window_(window) {}
  // A dialog that shows amounts in the user's currency takes the environment from its subject.
  Dialog(HWND window, Environment& environment) : window_(window), environment_(&environment) {}

  // WM_INITDIALOG: put what the dialog works on into its controls.
  virtual void Fill() {}
  // Any WM_COMMAND the kind of dialog leaves: a control's notification (not while filling) or a
  // menu command.
  virtual void Command(int /*id*/, int /*code*/, HWND /*control*/) {}
  // WM_NOTIFY from a control, not while filling; returns the notification's result.
  virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
  // WM_TIMER of a timer of this window.
  virtual void Timer(UINT_PTR /*id*/) {}
  // Every other message (painting, ...): true when the dialog handled it.
  virtual bool Message(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

  // The one dispatch of every message after WM_INITDIALOG; a kind of dialog takes its own messages
  // first and hands the rest on to this.
  virtual INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  // The controls.
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
  void Check(int id, bool checked) const {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  void Enable(int id, bool enabled) const { EnableWindow(Control(id), enabled); }
  void SetText(int id, const char* text) const { SetDlgItemTextA(window_, id, text); }
  // A strip of 16 x 16 pictures side by side from a bitmap resource, teal (0, 128, 128) as the
  // see-through colour. The caller owns it (or gives it to a control that does).
  HIMAGELIST LoadImageStrip(int bitmap) const;
  // The rows selected in a list view control, top to bottom.
  std::vector<int> SelectedRows(int list) const;

  // The field conversions. A field's text is read up to 99 characters.
  // A decimal number; bad text reads as 0, text after the number is ignored ("1.5p" is 1.5).
  double GetNumberField(int id) const;
  // Exactly two decimals, cut: 1.999 shows "1.99".
  void SetMoneyField(int id, float value) const;
  // Without trailing zeros: 20 shows "20", 10.5 "10.5".
  void SetNumberField(int id, float value) const;
  // "h:mm" read as a PackedTime, or kInvalidTime (-1).
  std::int32_t GetTimeField(int id) const;
  // "h:mm" from bits 8-15 and 0-7.
  void SetTimeField(int id, PackedTime time) const;
  // These two need the environment given to the constructor.
  // The amount in the user's currency format (empty when it cannot be formatted).
  void SetCurrencyField(int id, float value) const;
  // The label format (one "%s") with the user's currency symbol: "Daytime : %s" -> "Daytime : £".
  void SetCurrencyLabel(int id, const char* format) const;

  // A box with the error icon, captioned "Error!" unless told otherwise. It belongs to the
  // top-level window (the Options dialog for a page), which it keeps from input while it is open.
  void ShowError(const char* text, const char* caption = "Error!") const;
  // Refuses what a field holds: "Invalid <what> entered for '<field>'!" in an "Error!" box, then
  // the field takes the focus so the user can put it right. False, for a check to return.
  bool RefuseField(int id, const char* what, const char* field) const;
  // A timer of this window, whose ticks come to Timer; it stops when the window goes.
  void StartTimer(UINT_PTR id, UINT periodMs);
  // A button on the task bar, although the owner is the hidden main window, with this icon
  // there and in the caption (of this window only: the class's icon is every dialog's), each at
  // the size Windows shows it. Returns the large one, which the window keeps.
  HICON ShowOnTaskBar(int icon);

 private:
  friend INT_PTR StartDialog(std::unique_ptr<Dialog> dialog);
  friend INT_PTR DispatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  Environment* environment_ = nullptr;
  int fillDepth_ = 0;
  std::vector<UINT_PTR> timers_;
  ScopedIcon bigIcon_;  // ShowOnTaskBar's, kept while the window shows them
  ScopedIcon smallIcon_;
};

// Keeps a new dialog in its window's data and lets it fill its controls; WM_INITDIALOG's result.
INT_PTR StartDialog(std::unique_ptr<Dialog> dialog);
// Hands every later message to the dialog kept in the window's data; deletes it with the window.
INT_PTR DispatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of a dialog of type D. Create the window with the address of a D::Subject
// as the creation parameter (CreateDialogParamA, DialogBoxParamA); the subject must outlive it.
template <typename D>
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* subject = reinterpret_cast<typename D::Subject*>(lParam);
    if (subject == nullptr) return FALSE;
    return StartDialog(std::make_unique<D>(window, *subject));
  }
  return DispatchDialog(window, message, wParam, lParam);
}

// A dialog that runs its own message loop until OK or Cancel closes it.
class ModalDialog : public Dialog {
 protected:
  using Dialog::Dialog;

  // OK (the button or Enter): true closes the dialog with IDOK; false keeps it open, once the
  // dialog has told the user what to put right.
  virtual bool Accept() { return true; }
  // Cancel (the button, Escape or the close box), just before the dialog closes with IDCANCEL.
  virtual void Dismissed() {}
  // Ends the dialog's loop with this result; the window goes once the loop has ended.
  virtual void Close(INT_PTR result);

  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Runs the modal dialog D (template D::kTemplate) over the subject; returns IDOK or IDCANCEL as it
// closed (or -1 when it could not be made).
template <typename D>
INT_PTR RunModal(HWND owner, typename D::Subject& subject) {
  return DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(D::kTemplate), owner, DialogProc<D>,
                         reinterpret_cast<LPARAM>(&subject));
}

}  // namespace tollwick
