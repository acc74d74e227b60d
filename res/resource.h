#pragma once
// Resource identifiers shared by the resource script and the code.
#define IDR_MANIFEST 1
// The program's icon (the window and About box icon).
#define IDI_LUMIVANE 1
