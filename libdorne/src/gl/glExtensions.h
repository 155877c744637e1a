// Internal: whether the current GL context offers an extension.
#ifndef DORNE_GL_EXTENSIONS_H
#define DORNE_GL_EXTENSIONS_H

#include <cstring>

// True when the space-separated list holds the name as a whole word
// (preceded by the start or a space, followed by a space or the end). An
// empty name, a name with a space and a null list never match.
inline bool extensionListHas(const char* list, const char* name)
{
    if (list == nullptr || name == nullptr || name[0] == '\0' || std::strchr(name, ' ') != nullptr)
        return false;
    const size_t length = std::strlen(name);
    // Bounded by the list: each step moves past the previous match.
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

// extensionListHas over the current context's GL_EXTENSIONS; false without a
// context or where the profile gives no extension string.
bool glHasExtension(const char* name);

#endif
