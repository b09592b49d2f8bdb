/* Starts a program on a named Windows desktop, waits for it and returns its
 * exit status. wine-run uses it for --desktop: Wine shows a desktop other
 * than "Default" as a virtual-desktop window, while "explorer /desktop=..."
 * would start the program the same way but always exits with 0.
 *
 *   desktop-launch DESKTOP PROGRAM [ARGS...]
 */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

/* Returns the command line after its first n arguments, quoting kept, so the
 * program sees its arguments exactly as they were given. */
static wchar_t *skip_args(wchar_t *cmd, int n)
{
   for (int i = 0; i < n; i++) {
      int quoted = 0;
      while (*cmd && (quoted || (*cmd != L' ' && *cmd != L'\t'))) {
         if (*cmd == L'"')
            quoted = !quoted;
         cmd++;
      }
      while (*cmd == L' ' || *cmd == L'\t')
         cmd++;
   }
   return cmd;
}

int wmain(int argc, wchar_t **argv)
{
   STARTUPINFOW si = {sizeof si};
   PROCESS_INFORMATION pi;
   DWORD status;
   wchar_t *cmd;

   if (argc < 3) {
      fwprintf(stderr, L"usage: desktop-launch DESKTOP PROGRAM [ARGS...]\n");
      return 2;
   }
   cmd = skip_args(GetCommandLineW(), 2);
   si.lpDesktop = argv[1];
   if (!CreateProcessW(NULL, cmd, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
      fwprintf(stderr, L"desktop-launch: cannot start %ls (error %lu)\n", cmd,
               GetLastError());
      return 127;
   }
   CloseHandle(pi.hThread);
   WaitForSingleObject(pi.hProcess, INFINITE);
   if (!GetExitCodeProcess(pi.hProcess, &status))
      status = 1;
   CloseHandle(pi.hProcess);
   return (int)status;
}
