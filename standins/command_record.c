/* Records of the stand-in programs; see command_record.h. */

#include "command_record.h"

#include <stdio.h>
#include <string.h>

const char *CommandParameters(void)
{
    const char *p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t')
            ++p;
    }
    if (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

BOOL PathBesideProgram(const char *name, char *path, DWORD size)
{
    DWORD len = GetModuleFileNameA(NULL, path, size);
    if (len == 0 || len >= size)
        return FALSE;
    char *slash = strrchr(path, '\\');
    if (slash == NULL)
        return FALSE;
    size_t folder = (size_t)(slash + 1 - path);
    if (folder + strlen(name) + 1 > size)
        return FALSE;
    strcpy(path + folder, name);
    return TRUE;
}

BOOL RecordLine(const char *text)
{
    char program[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, program, sizeof(program));
    if (len == 0 || len >= sizeof(program))
        return FALSE;
    const char *base = strrchr(program, '\\');
    base = base != NULL ? base + 1 : program;
    char name[MAX_PATH];
    size_t stem = strcspn(base, ".");
    if (stem + sizeof(".log") > sizeof(name))
        return FALSE;
    memcpy(name, base, stem);
    strcpy(name + stem, ".log");

    char path[MAX_PATH];
    if (!PathBesideProgram(name, path, sizeof(path)))
        return FALSE;
    /* One write per line: a reader polling the record sees whole lines. */
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    size_t textLen = strlen(text);
    char line[4096];
    if (textLen > sizeof(line) - 3)
        textLen = sizeof(line) - 3;
    memcpy(line, text, textLen);
    memcpy(line + textLen, "\r\n", 2);
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, (DWORD)(textLen + 2), &written, NULL) && written == textLen + 2;
    CloseHandle(file);
    return ok;
}
