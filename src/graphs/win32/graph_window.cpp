#include "graphs/win32/graph_window.h"

#include <algorithm>
#include <memory>

#include "platform/win32/scoped_handles.h"

namespace tollwick {
namespace {

ScopedFont GraphFont(int points, const DeviceResolution& device, int escapement) {
  return ScopedFont(CreateFontA(GraphFontHeight(points, device), 0, escapement, escapement,
                                FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                nullptr));
}

void TextAt(HDC dc, const GraphPoint& at, const std::string& text) {
  TextOutA(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

void Line(HDC dc, const GraphTick& line) {
  MoveToEx(dc, line.from.x, line.from.y, nullptr);
  LineTo(dc, line.to.x, line.to.y);
}

void Marks(HDC dc, const std::vector<GraphTick>& ticks, const std::vector<GraphLabel>& labels) {
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    Line(dc, ticks[i]);
    TextAt(dc, labels[i].at, labels[i].text);
  }
}

std::string BoundedTitle(LPARAM text) {
  const char* title = reinterpret_cast<const char*>(text);
  if (title == nullptr) return std::string();
  return std::string(title, std::find(title, title + kGraphTitleLimit, '\0'));
}

UsageGraph* GraphOf(HWND window) {
  return reinterpret_cast<UsageGraph*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Repaint(HWND window, const UsageGraph& graph) {
  if (graph.drawingEnabled) InvalidateRect(window, nullptr, FALSE);
}

// A step below 1 would never move on from the first label.
std::int32_t LabelStep(LPARAM step) {
  return static_cast<std::int32_t>(std::clamp<LPARAM>(step, 1, 0x7FFFFFFF));
}

void SetXRange(UsageGraph& graph, WPARAM range, LPARAM step) {
  graph.settings.firstX = LOWORD(range);
  graph.settings.lastX = HIWORD(range);
  graph.settings.xLabelStep = LabelStep(step);
  const std::int32_t count = graph.settings.lastX - graph.settings.firstX + 1;
  graph.values.assign(static_cast<std::size_t>(std::max(count, 0)) + kGraphSpareValues, 0);
}

LRESULT CALLBACK GraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    // The window data holds the graph from here to WM_DESTROY, which takes it back.
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(std::make_unique<UsageGraph>().release()));
    return 0;
  }
  UsageGraph* graph = GraphOf(window);
  if (graph == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY: {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      const std::unique_ptr<UsageGraph> owned(graph);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (graph->drawingEnabled) {
        RECT client;
        GetClientRect(window, &client);
        DrawGraph(*graph, dc, client);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case GM_SETSTYLE:
      graph->settings.style = static_cast<GraphStyle>(static_cast<std::int32_t>(wParam));
      Repaint(window, *graph);
      return 0;
    case GM_DRAWTO: {
      const auto* target = reinterpret_cast<const GraphDrawTarget*>(lParam);
      if (target != nullptr) DrawGraph(*graph, target->dc, target->rect);
      return 0;
    }
    case GM_ENABLEDRAW:
      graph->drawingEnabled = wParam != 0;
      Repaint(window, *graph);
      return 0;
    case GM_GETVALUES:
      return reinterpret_cast<LRESULT>(graph->values.data());
    case GM_GETCOUNT:
      return graph->settings.lastX - graph->settings.firstX + 1;
    case GM_SETXRANGE:
      SetXRange(*graph, wParam, lParam);
      Repaint(window, *graph);
      return 0;
    case GM_SETYRANGE:
      graph->settings.lowestY = LOWORD(wParam);
      graph->settings.highestY = HIWORD(wParam);
      graph->settings.yLabelStep = LabelStep(lParam);
      Repaint(window, *graph);
      return 0;
    case GM_SETXTITLE:
      graph->horizontalTitle = BoundedTitle(lParam);
      return 0;
    case GM_SETYTITLE:
      graph->verticalTitle = BoundedTitle(lParam);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterGraphClass(HINSTANCE instance) {
  WNDCLASSA graphClass{};
  graphClass.style = CS_HREDRAW | CS_VREDRAW;
  graphClass.lpfnWndProc = GraphProc;
  graphClass.hInstance = instance;
  graphClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  graphClass.lpszClassName = kGraphClassName;
  return RegisterClassA(&graphClass) != 0;
}

void UnregisterGraphClass(HINSTANCE instance) { UnregisterClassA(kGraphClassName, instance); }

HWND CreateGraphInPlace(HINSTANCE instance, HWND dialog, int controlId) {
  HWND placeholder = GetDlgItem(dialog, controlId);
  RECT rect;
  GetWindowRect(placeholder, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(dialog, &corner);
  DestroyWindow(placeholder);
  HWND graph = CreateWindowExA(WS_EX_CLIENTEDGE, kGraphClassName, "", WS_CHILD | WS_VISIBLE,
                               corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top,
                               dialog, nullptr, instance, nullptr);
  SetWindowLongPtrA(graph, GWLP_ID, controlId);
  return graph;
}

void DrawGraph(const UsageGraph& graph, HDC dc, const RECT& rect) {
  DrawGraph(graph, dc, rect,
            DeviceResolution{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)});
}

void DrawGraph(const UsageGraph& graph, HDC dc, const RECT& rect, const DeviceResolution& device) {
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // Declared before their selections, so each is deselected before it is deleted.
  const ScopedFont titleFont = GraphFont(kGraphTitlePoints, device, 0);
  const ScopedFont upwardFont = GraphFont(kGraphTitlePoints, device, 900);
  const ScopedFont labelFont = GraphFont(kGraphLabelPoints, device, 0);
  int labelHeight = 0;
  {
    ScopedSelection label(dc, labelFont.get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    labelHeight = metrics.tmHeight;
  }
  const GraphLayout g = LayOutGraph(graph.settings, graph.values,
                                    GraphBox{rect.left, rect.top, rect.right, rect.bottom}, device,
                                    labelHeight);

  MoveToEx(dc, g.plot.left, g.plot.top, nullptr);
  LineTo(dc, g.plot.left, g.plot.bottom);
  LineTo(dc, g.plot.right, g.plot.bottom);
  {
    ScopedSelection title(dc, titleFont.get());
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    TextAt(dc, g.horizontalTitle, graph.horizontalTitle);
    ScopedSelection upward(dc, upwardFont.get());
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    TextAt(dc, g.verticalTitle, graph.verticalTitle);
  }
  ScopedSelection label(dc, labelFont.get());
  Marks(dc, g.xTicks, g.xLabels);
  SetTextAlign(dc, TA_RIGHT | TA_TOP);
  Marks(dc, g.yTicks, g.yLabels);
  for (std::size_t i = 0; i < g.line.size(); ++i) {
    if (i == 0) {
      MoveToEx(dc, g.line[i].x, g.line[i].y, nullptr);
    } else {
      LineTo(dc, g.line[i].x, g.line[i].y);
    }
  }
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (const GraphBox& bar : g.bars) {
    const RECT box{bar.left, bar.top, bar.right, bar.bottom};
    FillRect(dc, &box, black);
  }
}

}  // namespace tollwick
