// Stands in for rundll32.exe beside the program under test: it opens nothing and adds
// its process id and whole command line, as a line, to the file named by MELODANE_URL_LOG.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("MELODANE_URL_LOG", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  if (FILE* log = std::fopen(path, "ab")) {
    std::fprintf(log, "%lu %s\n", GetCurrentProcessId(), GetCommandLineA());
    std::fclose(log);
  }
  return 0;
}
