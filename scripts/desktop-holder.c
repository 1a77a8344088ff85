/* Keeps Wine's desktop open for as long as the project's Wine environment
   runs: scripts/wine-env.sh builds it, starts it in zo_wine_start and ends it
   by its process id in zo_wine_stop.

   Wine closes a desktop about a second after the last program on it ends.
   The next program that needs the desktop window then starts a new
   "explorer.exe /desktop" as its own child, which inherits that program's
   standard output and error; CTest reads those through a pipe and so waits
   for that explorer.exe to end as well, and each test program pays for a
   desktop of its own. While this program is on the desktop, the desktop
   stays, and every test program shares it.

   It asks for the desktop window (which starts the desktop if there is
   none), prints "ready" and then waits until it is ended. Its own output
   goes to a file, so the explorer.exe it may start holds no pipe open. */
#include <windows.h>
#include <stdio.h>

int main(void)
{
    HWND desktop = GetDesktopWindow();
    if (!desktop)
    {
        fprintf(stderr, "no desktop window (error %lu)\n", GetLastError());
        return 1;
    }
    printf("ready: desktop window %p\n", (void *)desktop);
    fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
