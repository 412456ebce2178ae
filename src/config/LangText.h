#pragma once
// Texts of the language file language\setup.ini beside the program, by
// section and key. Replacing that file translates the program.

#include <string>

class CLangText {
public:
    // Builds the language file's path and fixes the section.
    explicit CLangText(const char* section);
    virtual ~CLangText();

    // Text of key in this object's section; empty when the file, section or key
    // is missing. The first "\1", "\2" and "\3" each become a line break. Each
    // call returns its own copy, so a lookup on another thread cannot change it.
    std::string GetText(const char* key) const;

private:
    char m_szPath[260] = {};
    char m_szSection[256] = {};
};

// Lookups of section Message, for most message-box texts.
extern CLangText g_langMsg;
