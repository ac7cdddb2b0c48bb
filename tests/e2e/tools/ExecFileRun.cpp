// e2e_execfile: runs the launcher's TExecFile once, as the Wine tests ask,
// and prints what came of it as one JSON object.
//
//   e2e_execfile [--wait] [--suspend] [--associate] [--params TEXT] COMMANDLINE
#include <cstdio>
#include <cstring>
#include <string>

#include "Execfile.h"

namespace {

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  TExecFile exec;
  int failures = 0;
  exec.OnFail = [&failures](TExecFile&) { ++failures; };
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string option = argv[i];
    if (option == "--wait") {
      exec.Wait = true;
    } else if (option == "--suspend") {
      exec.WaitStyle = TWaitStyle::wSuspend;
    } else if (option == "--associate") {
      exec.Associate = true;
    } else if (option == "--params" && i + 1 < argc) {
      exec.Parameters = argv[++i];
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (i != argc - 1) {
    std::fprintf(stderr, "usage: e2e_execfile [--wait] [--suspend] [--associate] [--params TEXT] COMMANDLINE\n");
    return 2;
  }
  exec.CommandLine = argv[i];
  const bool result = exec.Execute();
  std::printf("{\"result\": %s, \"failures\": %d, \"error\": %u, \"assoc\": %s, \"ended\": %s}\n", result ? "true" : "false",
              failures, exec.ErrorCode, Json(exec.AssocProgram).c_str(), exec.ProcessEnded ? "true" : "false");
  return 0;
}
