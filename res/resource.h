#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDR_MANIFEST 1

// The program icon: the lowest icon identifier, so the shell shows it for the exe.
#define IDI_LUMIVANE 1

// The menu pictures, in the image list's order from IDI_MENU_FIRST on.
#define IDI_MENU_FIRST 101
