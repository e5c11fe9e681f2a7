// Asks a program's window to close as Windows does when its close box is clicked or the
// session ends: WM_CLOSE to the top-level window with that title, waiting up to ten seconds
// for it to appear. Status 1 when it never does.
//   close_window TITLE
#include <windows.h>

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    for (int i = 0; i < 100; i++) {
        if (const HWND window = FindWindowA(nullptr, argv[1]))
            return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
        Sleep(100);
    }
    return 1;
}
