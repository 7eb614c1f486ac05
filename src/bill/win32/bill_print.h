#pragma once
// The printed bill: a title on the first page, a ruled table of the items of one user (or of all
// users), oldest first, two closing lines with what is owed and the totals, and "Page n of m" at
// the foot of every page, on the default printer.

#include <windows.h>

#include <string>

#include "bill/bill_store.h"
#include "platform/environment.h"
#include "platform/win32/print_job.h"

namespace tollwick {

// Prints the items that pass the filter (all of them when it is null) and closes the document.
// False when no print job could be opened or the printer refused the finished document: nothing
// is printed then, and the caller tells the user.
bool PrintBill(Environment& env, const Bill& bill, const UserKey* filter);

// The header of a page: the title (on page 1, when one is given), the column titles and the rules.
// Returns the y of the page's first row.
int PrintPageHeader(const PrintJob& job, int page, const char* title);
// The text at a column's text x, cut at the column's right edge and the row's bottom.
void PrintCell(const PrintJob& job, int column, int y, const char* text);
// "Page page of pages" at (x, y).
void PrintPageFooter(const PrintJob& job, int x, int y, int page, int pages);

}  // namespace tollwick
