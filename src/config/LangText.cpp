#include "config/LangText.h"

#include "config/ProfileReader.h"
#include "platform/BoundedText.h"
#include "platform/ProgramFolder.h"

#include <cstring>

namespace {

constexpr size_t kTextSize = 2048;

} // namespace

CLangText g_langMsg("Message");

CLangText::CLangText(const char* section)
{
    BuildProgramFilePath("language\\setup.ini", m_szPath);
    CopyText(m_szSection, section);
}

CLangText::~CLangText() = default;

std::string CLangText::GetText(const char* key) const
{
    char text[kTextSize] = {};
    ReadProfileText(m_szPath, m_szSection, key, "", text);
    // Each marker once: the text keeps its length.
    for (const char* marker : {"\\1", "\\2", "\\3"}) {
        char* at = std::strstr(text, marker);
        if (at != nullptr) {
            at[0] = '\r';
            at[1] = '\n';
        }
    }
    return text;
}
