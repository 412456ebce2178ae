#pragma once
// Completes the universal printer driver's files for the target system: on
// Windows 98/Me UNIDRV.DLL from the system's backup folder, on Windows 2000 and
// later three support files for drivers built with the Windows 2000 DDK.

#include <string>

// ddk: the model's driver was built with the Windows 2000 DDK. Failures leave
// their texts in result; nothing is returned.
void RestoreSystemFiles(int targetOs, bool ddk, std::string& result);
