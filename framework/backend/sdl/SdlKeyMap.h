// SDL key symbols to the platform's virtual-key codes that the windows test for.
#pragma once

// The virtual-key code of an SDL_Keycode, or 0 for a key the windows have no code for.
int VirtualKeyFromSdl(int sdlKey);
