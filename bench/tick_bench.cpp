// The CPU cost of one tick of the monitor's 500 ms timer, with no connection and with one up, run
// against the RAS simulator and the real registry and tray under Wine. Prints figures; asserts nothing.

#include <windows.h>

#include <cstdio>

#include "core/win32/main_window.h"
#include "core/win32/program.h"
#include "sim_store.h"

namespace {

constexpr int kTicks = 2000;

double CpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(value(kernel) + value(user)) / 10.0;  // 100 ns units
}

double WallMicroseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void Measure(const char* label, HWND window) {
  for (int i = 0; i < 50; ++i) SendMessageA(window, WM_TIMER, tollwick::kTimerId, 0);  // warm up
  double cpu = CpuMicroseconds();
  double wall = WallMicroseconds();
  for (int i = 0; i < kTicks; ++i) SendMessageA(window, WM_TIMER, tollwick::kTimerId, 0);
  cpu = CpuMicroseconds() - cpu;
  wall = WallMicroseconds() - wall;
  std::printf("%-34s CPU %8.1f us/tick   wall %8.1f us/tick   (%d ticks; %.3f%% of a 500 ms period)\n",
              label, cpu / kTicks, wall / kTicks, kTicks, 100.0 * (cpu / kTicks) / 500000.0);
}

}  // namespace

int main() {
  using namespace tollwick;
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Orvo\\Tollwick");
  rassim::ResetState();
  Program program(GetModuleHandleA(nullptr));
  HWND window = CreateMainWindow(program.instance);
  if (window == nullptr) {
    std::printf("cannot create the main window\n");
    return 1;
  }
  std::printf("One timer tick, measured over %d ticks sent to the main window:\n", kTicks);
  Measure("no connection", window);

  rassim::SimState sim = rassim::LoadState();
  sim.entries.push_back("My ISP");
  rassim::Connection connection;
  connection.handle = sim.nextHandle++;
  connection.ip = "10.0.0.1";
  connection.entry = "My ISP";
  sim.connections.push_back(connection);
  rassim::SaveState(sim);
  Measure("connection up, resource icon", window);
  program.settings.clockIcon = 1;
  Measure("connection up, clock icon", window);

  DestroyWindow(window);
  UnregisterMainWindowClass(program.instance);
  rassim::ResetState();
  return 0;
}
