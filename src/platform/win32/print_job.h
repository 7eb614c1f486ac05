#pragma once
// A print job on the user's default printer, shared by the printed bill and the printed graph.
// There is no print dialog: a print goes straight to the default printer. Page coordinates are
// printer device units measured from the top-left corner of the printable area, which is the
// drawable area inset by half an inch on every side; the operations that draw add the margins
// themselves. Text is set in a 10-point font chosen when the job opens (a printer's own default
// font may be far larger: Wine's PostScript driver gives a third of an inch, which runs the
// bill's columns into each other); rules use the default pen.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

class PrintJob {
 public:
  // Selects the job's font into the printer's DC.
  PrintJob(ScopedDC printer, ScopedPrintDocument document);
  PrintJob(PrintJob&&) noexcept = default;

  HDC dc() const { return printer_.get(); }

 private:
  friend bool ClosePrintJob(PrintJob& job);
  // Declared before the document so that a job dropped unclosed abandons its document before
  // the printer's DC goes.
  ScopedDC printer_;
  ScopedPrintDocument document_;
  // The font, then its selection, which puts the DC's own font back before the font goes.
  ScopedFont font_;
  ScopedSelection selection_;
};

// The device name of the default printer, read from the "device" entry of win.ini's [windows]
// section ("name,driver,port"): the text up to the first comma. Empty when none is set.
std::string DefaultPrinterName();

// Opens the default printer, starts a document of that name and begins its first page. None when
// there is no default printer, its DC cannot be made, or it refuses the document.
std::optional<PrintJob> OpenPrintJob(const char* documentName);
// Ends the last page and the document and releases the printer. False when the printer refused
// the finished document; the job holds nothing afterwards.
bool ClosePrintJob(PrintJob& job);
// Ends the page and begins the next.
void NextPage(const PrintJob& job);

// The metrics are asked of the device at every call.
int PrintableWidth(const PrintJob& job);   // drawable width less one inch
int PrintableHeight(const PrintJob& job);  // drawable height less one inch
int LeftMargin(const PrintJob& job);       // half an inch
int TopMargin(const PrintJob& job);        // half an inch
int LineHeight(const PrintJob& job);       // height of the job's font
int TextWidth(const PrintJob& job, const char* text);
// A rule between two points of the page.
void DrawRule(const PrintJob& job, int x1, int y1, int x2, int y2);
// The text at (x, y) of the page.
void PrintTextAt(const PrintJob& job, int x, int y, const char* text);
// The text centred across the page at y, as the reports' titles and closing lines stand.
void PrintCentred(const PrintJob& job, int y, const std::string& text);

// What the user is told, in an error box, when no job opens or the printer refuses the finished
// document: printing nothing in silence would pass for success. The pages that print show it.
constexpr const char* kNoPrintJobCaption = "Print";
constexpr const char* kNoPrintJobText =
    "Nothing was printed: no default printer is set, or the printer could not be reached or "
    "refused the document.\n\nChoose a default printer in the Printers settings of Windows and "
    "try again.";

}  // namespace tollwick
