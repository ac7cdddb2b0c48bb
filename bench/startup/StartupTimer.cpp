// startup_timer: how long two programs take from CreateProcess to their
// first visible window, started in alternation.
//
//   startup_timer <rounds> <programA> <captionA> <programB> <captionB>
//
// Each round starts A, then B (A, B, A, B, ...). A start is timed with
// QueryPerformanceCounter from just before CreateProcess until a visible
// top-level window of the given caption that belongs to the started process
// exists (polled about every millisecond); the process is then ended with
// TerminateProcess and waited for. A program starts in its own folder, as
// a player starting it from the game folder would.
//
// Prints every round, then per program the median, minimum and maximum in
// milliseconds as a Markdown table, the ratio of the medians A/B and the
// median of the rounds' ratios A/B.
// Exit codes: 0 done, 1 a program failed to start or to show its window,
// 2 bad command line.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// How long a start may take before the round counts as failed.
constexpr double kWindowTimeoutMs = 60000;
// How long an ended process may take to be gone.
constexpr DWORD kExitTimeoutMs = 30000;
// A pause between starts, not timed, for the ended process's remains to settle.
constexpr DWORD kPauseMs = 200;

struct Program {
  std::string path;
  std::string caption;
  std::vector<double> times;
};

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A visible top-level window of that caption owned by the process.
bool WindowShown(const std::string& caption, DWORD processId) {
  for (HWND window = ::FindWindowA(nullptr, caption.c_str()); window;
       window = ::FindWindowExA(nullptr, window, nullptr, caption.c_str())) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && ::IsWindowVisible(window)) return true;
  }
  return false;
}

// One timed start; returns the milliseconds, or a negative value on failure.
double TimeStart(const Program& program) {
  std::string commandLine = "\"" + program.path + "\"";
  const std::string folder = FolderOf(program.path);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};

  const double start = Now();
  if (!::CreateProcessA(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "startup_timer: cannot start %s: error %lu\n", program.path.c_str(), ::GetLastError());
    return -1;
  }
  double elapsed = -1;
  for (;;) {
    if (WindowShown(program.caption, process.dwProcessId)) {
      elapsed = Now() - start;
      break;
    }
    if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(process.hProcess, &code);
      std::fprintf(stderr, "startup_timer: %s ended with exit code %lu before its window \"%s\" showed\n",
                   program.path.c_str(), code, program.caption.c_str());
      break;
    }
    if (Now() - start > kWindowTimeoutMs) {
      std::fprintf(stderr, "startup_timer: no window \"%s\" of %s after %.0f ms\n", program.caption.c_str(),
                   program.path.c_str(), kWindowTimeoutMs);
      break;
    }
    ::Sleep(1);
  }
  ::TerminateProcess(process.hProcess, 0);
  if (::WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "startup_timer: %s did not end\n", program.path.c_str());
    elapsed = -1;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PrintSummary(const Program& a, const Program& b) {
  std::printf("\n| program | window caption | median ms | min ms | max ms |\n");
  std::printf("| --- | --- | ---: | ---: | ---: |\n");
  for (const Program* p : {&a, &b}) {
    const auto [low, high] = std::minmax_element(p->times.begin(), p->times.end());
    std::printf("| %s | %s | %.1f | %.1f | %.1f |\n", NameOf(p->path).c_str(), p->caption.c_str(), Median(p->times),
                *low, *high);
  }
  // Each round's two starts are neighbours in time, so the median of the
  // rounds' ratios is less sensitive to load that drifts during the run.
  std::vector<double> ratios;
  for (size_t i = 0; i < a.times.size(); ++i) ratios.push_back(a.times[i] / b.times[i]);
  std::printf("\nratio of medians %s / %s: %.3f\n", NameOf(a.path).c_str(), NameOf(b.path).c_str(),
              Median(a.times) / Median(b.times));
  std::printf("median of the rounds' ratios: %.3f\n", Median(ratios));
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc == 6 ? std::atoi(argv[1]) : 0;
  if (rounds < 1) {
    std::fputs("usage: startup_timer <rounds> <programA> <captionA> <programB> <captionB>\n", stderr);
    return 2;
  }
  Program a{argv[2], argv[3], {}};
  Program b{argv[4], argv[5], {}};

  // Sleep(1) sleeps about a millisecond.
  ::timeBeginPeriod(1);
  std::printf("startup_timer: %d rounds, A = %s, B = %s; ms from CreateProcess to a visible window\n", rounds,
              NameOf(a.path).c_str(), NameOf(b.path).c_str());
  std::printf("round      A ms      B ms    A/B\n");
  std::fflush(stdout);
  int code = 0;
  for (int round = 1; round <= rounds && code == 0; ++round) {
    double times[2] = {};
    Program* programs[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
      times[i] = TimeStart(*programs[i]);
      if (times[i] < 0) {
        code = 1;
        break;
      }
      programs[i]->times.push_back(times[i]);
      ::Sleep(kPauseMs);
    }
    if (code == 0) std::printf("%5d %9.1f %9.1f %6.3f\n", round, times[0], times[1], times[0] / times[1]);
    std::fflush(stdout);
  }
  ::timeEndPeriod(1);
  if (code == 0) PrintSummary(a, b);
  std::fflush(stdout);
  return code;
}
