#include "install/InstallContext.h"

std::string g_szResultMessage;
// Typical until the mode page says otherwise.
int g_bTypical = 1;
