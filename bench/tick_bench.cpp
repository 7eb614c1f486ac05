// The CPU cost of one tick of the monitor's 500 ms timer beside its floor: the Remote Access Service
// queries a tick cannot do without, and on line one tray change (Shell_NotifyIconA NIM_MODIFY) alone.
// Run under Wine against the RAS simulator, the real registry and the real shell. Prints figures;
// asserts nothing.
//
// Idle, the main window's own tick is measured. On line the same tick function runs with the main
// window's tray, store and profiles but with a clock of its own, so that every tick either counts a new
// second (a new tip: one tray change is due) or counts none (nothing to change); with the real clock,
// ticks sent back to back would count a second only now and then.

#include <windows.h>
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <ras.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "core/monitor_tick.h"
#include "core/win32/connection_win32.h"
#include "core/win32/network_adapters.h"
#include "core/win32/main_window.h"
#include "core/win32/program.h"
#include "resources/resource.h"
#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"
#include "sim_store.h"

namespace {

using namespace tollwick;

// The process CPU clock moves in steps of 10 ms under Wine: each figure runs for at least this much
// CPU time, which keeps the step within 4% of it.
constexpr double kCpuBudgetMicroseconds = 250000.0;
constexpr int kBatch = 100;  // runs between two readings of the clock, which is itself a server call
constexpr int kRounds = 5;

double CpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(value(kernel) + value(user)) / 10.0;  // 100 ns units
}

// CPU microseconds per run of `step`, over as many runs as fill the CPU budget.
double PerRun(const std::function<void()>& step) {
  double start = CpuMicroseconds();
  double now = start;
  long runs = 0;
  do {
    for (int i = 0; i < kBatch; ++i) step();
    runs += kBatch;
    now = CpuMicroseconds();
  } while (now - start < kCpuBudgetMicroseconds);
  return (now - start) / static_cast<double>(runs);
}

// The service calls of a tick and nothing else: the enumeration, and for a listed connection its IP
// projection (the switch "CheckStatus" is off, so no state query).
void RasQueries() {
  static std::vector<RASCONNA> records(12);
  records[0].dwSize = sizeof(RASCONNA);
  DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNA));
  DWORD count = 0;
  RasEnumConnectionsA(records.data(), &bytes, &count);
  if (count == 0) return;
  RASPPPIPA projection{};
  projection.dwSize = sizeof(projection);
  DWORD size = sizeof(projection);
  RasGetProjectionInfoA(records[0].hrasconn, RASP_PppIp, &projection, &size);
}

// One tray change alone: the record the program sends, with an icon made beforehand and a tip that
// differs from the last one, so the shell has something to change.
void TrayModify(HWND window, HICON icon) {
  static int flip = 0;
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  lstrcpynA(data.szTip, (flip ^= 1) ? "Tollwick On - My ISP (IP:10.0.0.1) 0:0:1 - \xA3" "0.05"
                                    : "Tollwick On - My ISP (IP:10.0.0.1) 0:0:2 - \xA3" "0.05",
            sizeof data.szTip);
  Shell_NotifyIconA(NIM_MODIFY, &data);
}

// The real clock and locale, but a tick count that moves by a set step at every reading.
class SteppedClock : public Win32Environment {
 public:
  std::uint32_t step = 0;
  std::uint32_t TickCount() override { return now_ += step; }

 private:
  std::uint32_t now_ = 0;
};

// The tick and its floor, each the best of kRounds rounds; a round measures all three one after the
// other, so that the figures compared saw the same load on the machine.
double Row(const char* label, const std::function<void()>& tick, const std::function<void()>& ras,
         const std::function<void()>& tray) {
  for (int i = 0; i < 50; ++i) tick();  // warm up
  double bestTick = 0, bestRas = 0, bestTray = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t = PerRun(tick);
    double r = PerRun(ras);
    double s = tray ? PerRun(tray) : 0.0;
    bestTick = round == 0 ? t : std::min(bestTick, t);
    bestRas = round == 0 ? r : std::min(bestRas, r);
    bestTray = round == 0 ? s : std::min(bestTray, s);
  }
  double floor = bestRas + bestTray;
  std::printf("%-46s %8.1f %8.1f %8.1f %8.1f %7.2f\n", label, bestTick, floor, bestRas, bestTray,
              bestTick / floor);
  return bestTick;
}

}  // namespace

int main() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Orvo\\Tollwick");
  rassim::ResetState();
  Program program(GetModuleHandleA(nullptr));
  HWND window = CreateMainWindow(program);
  if (window == nullptr) {
    std::printf("cannot create the main window\n");
    return 1;
  }
  std::printf("CPU microseconds per tick, the best of %d rounds of %.0f ms of CPU time each.\n"
              "The floor is what a tick cannot do without: the service queries and, where the tip\n"
              "changes, one tray change. \"A new second\": every tick counts a second, so the tip\n"
              "changes on every tick and the clock face every 60 ticks (on the real 500 ms timer:\n"
              "every other tick, and every 120).\n\n",
              kRounds, kCpuBudgetMicroseconds / 1000.0);
  std::printf("%-46s %8s %8s %8s %8s %7s\n", "", "tick", "floor", "RAS", "tray", "ratio");

  const double idle = Row("idle (the main window's own tick)", [&] { SendMessageA(window, WM_TIMER, kTimerId, 0); },
      RasQueries, nullptr);
  // Two chosen network connections, none up: scripts/bench.sh runs this in a network namespace of
  // its own with two veth pairs down. Elsewhere the first two adapters not up are taken, or two
  // absent ones (the table is then asked for once a second).
  {
    std::vector<std::u16string> down;
    Win32AdapterProbe look;
    const std::vector<std::u16string> aliases = ChoosableAdapterAliases();
    const std::vector<std::optional<AdapterReading>> readings = look.Read(aliases);
    for (std::size_t i = 0; i < aliases.size() && down.size() < 2; ++i) {
      if (readings[i] && !readings[i]->up) down.push_back(aliases[i]);
    }
    const bool present = down.size() == 2;
    if (!present) down = {u"Absent mobile", u"Absent phone"};
    // Its floor adds the two rows' own queries (GetIfEntry2 by LUID) to the service's.
    std::vector<ULONG64> luids;
    MIB_IF_TABLE2* table = nullptr;
    if (GetIfTable2(&table) == NO_ERROR) {
      for (ULONG i = 0; i < table->NumEntries; ++i) {
        const std::u16string alias(reinterpret_cast<const char16_t*>(table->Table[i].Alias));
        if (std::find(down.begin(), down.end(), alias) != down.end()) {
          luids.push_back(table->Table[i].InterfaceLuid.Value);
        }
      }
      FreeMibTable(table);
    }
    program.settings().adapters = down;
    const double chosen = Row(present ? "idle, two chosen adapters down" : "idle, two chosen adapters absent",
        [&] { SendMessageA(window, WM_TIMER, kTimerId, 0); },
        [&] {
          RasQueries();
          for (ULONG64 luid : luids) {
            MIB_IF_ROW2 row{};
            row.InterfaceLuid.Value = luid;
            GetIfEntry2(&row);
          }
        },
        nullptr);
    std::printf("%-46s %8.1f against the idle tick (aim: 1.3)\n", "", chosen / idle);
    program.settings().adapters.clear();
  }

  rassim::SimState sim = rassim::LoadState();
  sim.entries.push_back("My ISP");
  rassim::Connection connection;
  connection.handle = sim.nextHandle++;
  connection.ip = "10.0.0.1";
  connection.entry = "My ISP";
  sim.connections.push_back(connection);
  rassim::SaveState(sim);

  SteppedClock clock;
  CurrentCall call(CallServices{program.store(), clock, program.profiles(), program.bill(),
                                program.alarms(), program.alarmActions()});
  bool online = false;
  ListedConnection timed;
  RasConnectionProbe probe;
  Win32AdapterProbe adapters;
  Monitor monitor{probe, adapters, MainWindowOf(window)->tray(), call, clock, program.settings(),
                  program.flash(), program.planWarnings(), online, timed};
  auto tick = [&] { RunMonitorTick(monitor); };
  HICON onlineIcon = LoadIconA(program.instance(), MAKEINTRESOURCEA(IDI_ONLINE));
  ScopedIcon clockFace = BuildClockIcon(program.instance(), kClockIconSize, kClockIconSize, 1, 0);
  auto resourceTray = [&] { TrayModify(window, onlineIcon); };
  auto clockTray = [&] { TrayModify(window, clockFace.get()); };

  clock.step = 1001;
  Row("on line, a new second every tick", tick, RasQueries, resourceTray);
  clock.step = 0;
  Row("on line, nothing changed", tick, RasQueries, resourceTray);
  program.settings().clockIcon = 1;
  clock.step = 1001;
  Row("on line, clock icon, a new second every tick", tick, RasQueries, clockTray);
  clock.step = 0;
  Row("on line, clock icon, nothing changed", tick, RasQueries, clockTray);

  // An operator's rules: per started minute (the most seconds a step adds to price), a connection
  // fee, the rate at the start, rounding up, and a discount to evaluate for every second priced.
  call.EndCall();
  program.settings().clockIcon = 0;
  ChargeProfile rules;
  std::strcpy(rules.name, kDefaultProfileName);
  rules.isDefaultProfile = 1;
  rules.charge = CallChargeInfo{0x0800, 0x1200, 0.06f, 0.02f, 0.01f};
  rules.rules.firstPeriod = 60;
  rules.rules.increment = 60;
  rules.rules.connectionFee = 0.05f;
  rules.rules.rateAtStart = true;
  rules.rules.roundUp = true;
  Discount discount = NewDiscount();
  discount.percent = 10.0f;
  rules.discounts.push_back(discount);
  program.profiles().SaveChargeProfile(rules);
  online = false;  // the next tick starts a call on them
  clock.step = 1001;
  Row("on line, billing rules, a new second every tick", tick, RasQueries, resourceTray);
  clock.step = 0;
  Row("on line, billing rules, nothing changed", tick, RasQueries, resourceTray);

  call.EndCall();
  DestroyWindow(window);
  UnregisterMainWindowClass(program.instance());
  rassim::ResetState();
  return 0;
}
