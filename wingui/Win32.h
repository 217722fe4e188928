#pragma once

// <windows.h> for the window program. Its EncryptFile and DecryptFile macros
// would rename the engine's and the flows' functions of the same names.
#include <windows.h>

#undef EncryptFile
#undef DecryptFile
