#pragma once
// The pages of the Options dialog are modeless child dialogs that the frame knows only through three
// messages:
//  - kActivatePageMessage, wParam 0, lParam 0: the page was brought to the front;
//  - kMayApplyPageMessage, wParam 0, lParam 0: OK was pressed; a page whose edits cannot be kept as
//    they stand answers nonzero (having told the user why), and the dialog stays open on it;
//  - WM_COMMAND IDOK or IDCANCEL, lParam 0: the dialog is closing with OK or Cancel (every page);
//  - WM_COMMAND kPrintPageCommand, lParam 0: "&Print..." was pressed (the page in front only).
// OptionPage turns them into calls on a page object. The object is made when the dialog is created,
// from what the page works on (the creation parameter of CreateDialogParamA), kept in the window's
// data and deleted with the window. While the page fills its controls, their notifications (an
// edit's EN_CHANGE, a list view's LVN_ITEMCHANGED) are held back, so filling never counts as an edit.

#include <windows.h>

#include <memory>

#include "resources/options_frame_ids.h"

namespace tollwick {

constexpr UINT kActivatePageMessage = WM_USER + 200;
constexpr UINT kMayApplyPageMessage = WM_USER + 201;
constexpr int kPrintPageCommand = IDC_OPTIONS_PRINT;

class OptionPage {
 public:
  OptionPage(const OptionPage&) = delete;
  OptionPage& operator=(const OptionPage&) = delete;
  virtual ~OptionPage() = default;

  HWND window() const { return window_; }
  bool filling() const { return fillDepth_ > 0; }

  // While one lives, the page is filling its controls: their notifications are its own doing and
  // do not reach Command or Notify. Fill runs inside one; use another to refill later (after
  // choosing another item to show, say). They nest.
  class FillScope {
   public:
    explicit FillScope(OptionPage& page) : page_(page) { ++page_.fillDepth_; }
    ~FillScope() { --page_.fillDepth_; }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

   private:
    OptionPage& page_;
  };

 protected:
  explicit OptionPage(HWND window) : window_(window) {}

  // WM_INITDIALOG: put what the page works on into its controls.
  virtual void Fill() {}
  // The frame's three messages.
  virtual void Activated() {}
  // Before Ok: false keeps the dialog open, once the page has told the user what to put right.
  virtual bool MayApply() { return true; }
  virtual void Ok() {}
  virtual void Cancel() {}
  virtual void Print() {}
  // Any other WM_COMMAND: a control's notification (not while filling) or a menu command.
  virtual void Command(int /*id*/, int /*code*/, HWND /*control*/) {}
  // WM_NOTIFY from a control, not while filling; returns the notification's result.
  virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
  // Every other message (timers, painting, ...): true when the page handled it.
  virtual bool Message(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

 private:
  friend INT_PTR StartOptionPage(std::unique_ptr<OptionPage> page);
  friend INT_PTR DispatchOptionPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  int fillDepth_ = 0;
};

// Keeps a new page in its window's data and lets it fill its controls; WM_INITDIALOG's result.
INT_PTR StartOptionPage(std::unique_ptr<OptionPage> page);
// Hands every later message to the page kept in the window's data; deletes it with the window.
INT_PTR DispatchOptionPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of a page of type Page, which has a type Subject and a constructor
// Page(HWND, Subject&). Create the page with CreateDialogParamA(..., OptionPageProc<Page>,
// reinterpret_cast<LPARAM>(&subject)); the subject must outlive the page.
template <typename Page>
INT_PTR CALLBACK OptionPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* subject = reinterpret_cast<typename Page::Subject*>(lParam);
    if (subject == nullptr) return FALSE;
    return StartOptionPage(std::make_unique<Page>(window, *subject));
  }
  return DispatchOptionPage(window, message, wParam, lParam);
}

}  // namespace tollwick
