#pragma once
// The graph window ("ORVOGRAPH"): a child control that draws one series of whole numbers against a
// whole-number horizontal axis, as a line or as bars, with axes, tick labels and two titles. Its
// owner sets it up through the GM_ messages; the same drawing serves the screen and a printer.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphs/graph_geometry.h"

namespace tollwick {

constexpr const char* kGraphClassName = "ORVOGRAPH";

// The owner brackets a batch of changes with GM_ENABLEDRAW 0 and 1, so the graph is drawn once.
constexpr UINT GM_SETSTYLE = WM_APP + 100;    // wParam: the style; repaints
constexpr UINT GM_DRAWTO = WM_APP + 101;      // lParam: GraphDrawTarget*; draws now, enabled or not
constexpr UINT GM_ENABLEDRAW = WM_APP + 102;  // wParam: 0 or 1; 1 also repaints
constexpr UINT GM_GETVALUES = WM_APP + 103;   // result: the values (until the next GM_SETXRANGE)
constexpr UINT GM_GETCOUNT = WM_APP + 104;    // result: the point count
// wParam: first x in the low 16 bits, last x in the high 16; lParam: the label step. New zeroed
// values; repaints.
constexpr UINT GM_SETXRANGE = WM_APP + 105;
// wParam: lowest y in the low 16 bits, highest y in the high 16; lParam: the label step. Repaints.
constexpr UINT GM_SETYRANGE = WM_APP + 106;
constexpr UINT GM_SETXTITLE = WM_APP + 107;  // lParam: the text; no repaint
constexpr UINT GM_SETYTITLE = WM_APP + 108;  // lParam: the text; no repaint

// Where GM_DRAWTO draws: a rectangle of a device context.
struct GraphDrawTarget {
  RECT rect;
  HDC dc;
};

// Titles keep at most this many characters.
constexpr std::size_t kGraphTitleLimit = 99;

// The values have room for this many entries past the points, so a series may fill more entries
// than it shows (the day of the year fills its 366th).
constexpr std::size_t kGraphSpareValues = 9;

// What one graph window shows.
struct UsageGraph {
  GraphSettings settings;
  std::vector<std::int32_t> values = std::vector<std::int32_t>(7 + kGraphSpareValues, 0);
  std::string horizontalTitle = "Horizontal";
  std::string verticalTitle = "Vertical";
  bool drawingEnabled = true;
};

bool RegisterGraphClass(HINSTANCE instance);
void UnregisterGraphClass(HINSTANCE instance);

// Replaces the dialog's placeholder control by a graph window of the same place, size and id.
HWND CreateGraphInPlace(HINSTANCE instance, HWND dialog, int controlId);

// Draws the graph within the rectangle, in the device's own units (its pixels per inch).
void DrawGraph(const UsageGraph& graph, HDC dc, const RECT& rect);
// The same at a given resolution, whatever the device says.
void DrawGraph(const UsageGraph& graph, HDC dc, const RECT& rect, const DeviceResolution& device);

}  // namespace tollwick
