#pragma once
// The pages of the Options dialog are modeless child dialogs that the frame knows only through three
// messages:
//  - kActivatePageMessage, wParam 0, lParam 0: the page was brought to the front;
//  - kMayApplyPageMessage, wParam 0, lParam 0: OK was pressed; a page whose edits cannot be kept as
//    they stand answers nonzero (having told the user why), and the dialog stays open on it;
//  - WM_COMMAND IDOK or IDCANCEL, lParam 0: the dialog is closing with OK or Cancel (every page);
//  - WM_COMMAND kPrintPageCommand, lParam 0: "&Print..." was pressed (the page in front only).
// OptionPage turns them into calls on a page object (see dialog.h for the rest).

#include <windows.h>

#include <memory>
#include <utility>

#include "resources/options_frame_ids.h"
#include "ui/win32/dialog.h"

namespace tollwick {

constexpr UINT kActivatePageMessage = WM_USER + 200;
constexpr UINT kMayApplyPageMessage = WM_USER + 201;
constexpr int kPrintPageCommand = IDC_OPTIONS_PRINT;

class OptionPage : public Dialog {
 protected:
  using Dialog::Dialog;

  // The frame's messages.
  virtual void Activated() {}
  // Before Ok: false keeps the dialog open, once the page has told the user what to put right.
  virtual bool MayApply() { return true; }
  virtual void Ok() {}
  virtual void Cancel() {}
  virtual void Print() {}

  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A page window, with what the page works on; whoever holds it (the frame) keeps the subject until
// the page window is gone.
struct OptionsPageWindow {
  HWND window = nullptr;
  std::shared_ptr<void> subject;
};

// The page of type Page (an OptionPage with a Subject) from the given template, as a child of the
// frame, over the given subject.
template <typename Page>
OptionsPageWindow CreateOptionsPage(HWND frame, int dialog, typename Page::Subject&& subject) {
  auto kept = std::make_shared<typename Page::Subject>(std::move(subject));
  HWND window = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(dialog), frame,
                                   DialogProc<Page>, reinterpret_cast<LPARAM>(kept.get()));
  return {window, std::move(kept)};
}

}  // namespace tollwick
