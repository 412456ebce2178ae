/* Reader and writer of the simulated printer list; see simulated_printers.h. */

#include "simulated_printers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define SIM_FILE_NAME "UsbPrinters.txt"
#define SIM_MAX_INDEX 65535u

typedef enum { LINE_EMPTY, LINE_PRINTER, LINE_BAD } LineKind;

static BOOL IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/* Cuts the next blank-separated word out of *cursor (in place). */
static char *NextWord(char **cursor)
{
    char *p = *cursor;
    while (*p != '\0' && IsBlank(*p))
        ++p;
    if (*p == '\0') {
        *cursor = p;
        return NULL;
    }
    char *word = p;
    while (*p != '\0' && !IsBlank(*p))
        ++p;
    if (*p != '\0')
        *p++ = '\0';
    *cursor = p;
    return word;
}

/* A number of at most 65535, decimal or with 0x in hexadecimal. */
static BOOL ParseNumber(const char *word, BOOL allowHex, unsigned *value)
{
    unsigned base = 10;
    if (allowHex && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word += 2;
    }
    if (*word == '\0')
        return FALSE;
    unsigned long n = 0;
    for (; *word != '\0'; ++word) {
        unsigned digit;
        if (*word >= '0' && *word <= '9')
            digit = (unsigned)(*word - '0');
        else if (base == 16 && *word >= 'a' && *word <= 'f')
            digit = (unsigned)(*word - 'a' + 10);
        else if (base == 16 && *word >= 'A' && *word <= 'F')
            digit = (unsigned)(*word - 'A' + 10);
        else
            return FALSE;
        n = n * base + digit;
        if (n > SIM_MAX_INDEX)
            return FALSE;
    }
    *value = (unsigned)n;
    return TRUE;
}

/* Parses one line (without its line break; changed in place). */
static LineKind ParseLine(char *line, SimPrinter *printer)
{
    char *cursor = line;
    while (*cursor != '\0' && IsBlank(*cursor))
        ++cursor;
    if (*cursor == '\0' || *cursor == ';' || *cursor == '#')
        return LINE_EMPTY;

    char *index = NextWord(&cursor);
    char *release = NextWord(&cursor);
    char *model = NextWord(&cursor);
    char *port = NextWord(&cursor);
    if (index == NULL || release == NULL || model == NULL || port == NULL)
        return LINE_BAD;
    memset(printer, 0, sizeof(*printer));
    if (!ParseNumber(index, FALSE, &printer->index) || !ParseNumber(release, TRUE, &printer->release))
        return LINE_BAD;
    if (port[0] < '0' || port[0] > '9' || port[1] != '\0')
        return LINE_BAD;
    printer->port = port[0];
    /* The line fits SIM_LINE_SIZE, so the model does too. */
    strcpy(printer->model, model);
    for (char *flag = NextWord(&cursor); flag != NULL; flag = NextWord(&cursor)) {
        if (strcmp(flag, "nodescriptor") == 0)
            printer->noDescriptor = TRUE;
        else if (strcmp(flag, "nowrite") == 0)
            printer->noWrite = TRUE;
        else
            return LINE_BAD;
    }
    return LINE_PRINTER;
}

BOOL SimPathBeside(HMODULE self, const char *name, char *path, DWORD size)
{
    DWORD len = GetModuleFileNameA(self, path, size);
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

/* Reads the next line into line; FALSE at the end. A line too long for the
 * buffer sets *tooLong. */
static BOOL ReadLine(FILE *file, char *line, BOOL *tooLong)
{
    if (fgets(line, SIM_LINE_SIZE, file) == NULL)
        return FALSE;
    size_t len = strlen(line);
    if (len > 0 && line[len - 1] == '\n')
        line[len - 1] = '\0';
    else if (!feof(file))
        *tooLong = TRUE;
    return TRUE;
}

/* Checks the whole file: every line readable, no index twice. */
static BOOL Readable(FILE *file)
{
    unsigned char seen[(SIM_MAX_INDEX + 1) / 8];
    memset(seen, 0, sizeof(seen));
    char line[SIM_LINE_SIZE];
    SimPrinter printer;
    BOOL tooLong = FALSE;
    while (ReadLine(file, line, &tooLong)) {
        if (tooLong)
            return FALSE;
        LineKind kind = ParseLine(line, &printer);
        if (kind == LINE_BAD)
            return FALSE;
        if (kind == LINE_PRINTER) {
            unsigned char bit = (unsigned char)(1u << (printer.index % 8));
            if (seen[printer.index / 8] & bit)
                return FALSE;
            seen[printer.index / 8] |= bit;
        }
    }
    return TRUE;
}

BOOL SimForEachPrinter(HMODULE self, SimVisit (*visit)(const SimPrinter *printer, void *context),
                       void *context)
{
    char path[MAX_PATH];
    if (!SimPathBeside(self, SIM_FILE_NAME, path, sizeof(path)))
        return FALSE;
    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return TRUE; /* no list: no printers */
    if (!Readable(file)) {
        fclose(file);
        return FALSE;
    }
    rewind(file);
    char line[SIM_LINE_SIZE];
    SimPrinter printer;
    BOOL tooLong = FALSE;
    while (visit != NULL && ReadLine(file, line, &tooLong)) {
        if (ParseLine(line, &printer) == LINE_PRINTER && visit(&printer, context) == SIM_STOP)
            break;
    }
    fclose(file);
    return TRUE;
}

typedef struct {
    unsigned index;
    SimPrinter *found;
    BOOL hit;
} FindContext;

static SimVisit FindVisit(const SimPrinter *printer, void *context)
{
    FindContext *find = (FindContext *)context;
    if (printer->index != find->index)
        return SIM_CONTINUE;
    *find->found = *printer;
    find->hit = TRUE;
    return SIM_STOP;
}

BOOL SimFindPrinter(HMODULE self, unsigned index, SimPrinter *found)
{
    FindContext find = {index, found, FALSE};
    return SimForEachPrinter(self, FindVisit, &find) && find.hit;
}

BOOL SimSetRelease(HMODULE self, unsigned index, unsigned release)
{
    SimPrinter printer;
    if (!SimFindPrinter(self, index, &printer))
        return FALSE;
    char path[MAX_PATH];
    if (!SimPathBeside(self, SIM_FILE_NAME, path, sizeof(path)))
        return FALSE;

    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return FALSE;
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    rewind(file);
    char *text = size >= 0 ? (char *)malloc((size_t)size + 1) : NULL;
    if (text == NULL || fread(text, 1, (size_t)size, file) != (size_t)size) {
        free(text);
        fclose(file);
        return FALSE;
    }
    fclose(file);
    text[size] = '\0';

    file = fopen(path, "wb");
    if (file == NULL) {
        free(text);
        return FALSE;
    }
    char line[SIM_LINE_SIZE];
    SimPrinter current;
    for (char *start = text; *start != '\0';) {
        char *end = strchr(start, '\n');
        size_t len = end != NULL ? (size_t)(end - start) : strlen(start);
        size_t copy = len < SIM_LINE_SIZE ? len : SIM_LINE_SIZE - 1;
        memcpy(line, start, copy);
        line[copy] = '\0';
        if (ParseLine(line, &current) == LINE_PRINTER && current.index == index) {
            fprintf(file, "%u 0x%04X %s %c%s%s\r\n", current.index, release, current.model, current.port,
                    current.noDescriptor ? " nodescriptor" : "", current.noWrite ? " nowrite" : "");
        } else {
            fwrite(start, 1, len, file);
            if (end != NULL)
                fputc('\n', file);
        }
        start = end != NULL ? end + 1 : start + len;
    }
    BOOL written = fclose(file) == 0;
    free(text);
    return written;
}
